// A match recorded through posted messages and mouse snapshots, replayed and compared step by step.
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/demo_run.h"
#include "app/match_state.h"
#include "app/random.h"
#include "app/scene_steps.h"
#include "dialogs/settings_apply.h"
#include "persist/masked_file.h"
#include "platform/relative_mouse.h"
#include "scene_fixture.h"

namespace {

constexpr WPARAM ForwardKey = 87;  // W, the first key preset's forward
constexpr WPARAM ReloadKey = 82;   // R
constexpr WPARAM MachineGunKey = 0x31;
constexpr int StepLimit = 30000;

void Post(std::uint32_t message, WPARAM wParam = 0) { PostMessage(MainWindow, message, wParam, 0); }

class DemoMatchTest : public SceneTest {
 protected:
  void SetUp() override {
    SceneTest::SetUp();
    for (int section = 1; section <= 5; ++section) Settings.ResetSection(section, false);
    Settings.ValidateSettings();
    Settings.WindowMode = 1;  // no device: no display switch
    Settings.Difficulty = 2;  // many enemies, quick to come and quick to kill
    Settings.InitialWeapon = 1;
    ApplySettings();
    AcquireRelativeMouseForTests();
  }
  void TearDown() override {
    EndDemoSession();
    SetMouseButton(0, false);
    SceneTest::TearDown();
  }
  // One pass of the main loop: the queued messages, the step, and its frame when drawn. The
  // player acts between (on what the messages did), as the mouse and keys do while the loop runs.
  template <typename F>
  static void Pass(bool onTime, F&& act) {
    Drain();
    act();
    UpdateStep();
    if (DemoFrameAfterStep(onTime)) RenderStep();
  }
};

float Wrap(float degrees) {
  while (degrees > 180) degrees -= 360;
  while (degrees < -180) degrees += 360;
  return degrees;
}

int NearestEnemy() {
  int best = -1;
  float bestDistance = 0;
  for (int i = 0; i < EnemySlots; ++i) {
    const WorldObject& e = World.Enemies[i];
    if (!e.Active) continue;
    const float d = std::hypot(e.X + World.Player.X, e.Z + World.Player.Z);
    if (best < 0 || d < bestDistance) {
      best = i;
      bestDistance = d;
    }
  }
  return best;
}

// A player's hands: reads the screen (the world), answers with messages and mouse motion only.
struct Hands {
  bool Firing = false;
  bool Walking = false;
  bool Reloaded = false;
  bool Changed = false;
  int ScopeWait = 0;

  void Walk(bool on) {
    if (on == Walking) return;
    Post(on ? WM_KEYDOWN : WM_KEYUP, ForwardKey);
    Walking = on;
  }
  void Release() {
    if (!Firing) return;
    SetMouseButton(0, false);
    Post(WM_LBUTTONUP);
    Firing = false;
  }
  void Act() {
    GameWorld& w = World;
    if (!w.Player.Active) return;  // dead: watch the fade
    const int target = NearestEnemy();
    if (Firing || target < 0) {
      Release();
      return;
    }
    const WorldObject& e = w.Enemies[target];
    const float cx = -w.Player.X, cy = -w.Player.Y, cz = -w.Player.Z;
    const float distance = std::hypot(e.X - cx, e.Z - cz);
    if (w.LastGameScore > 0) {
      // After the first kill: reload, change to the machine gun, then stand by an enemy.
      if (!Reloaded && !w.WeaponBusy && RecoilKick <= 0) {
        Post(WM_KEYDOWN, ReloadKey);
        Post(WM_KEYUP, ReloadKey);
        Reloaded = true;
        return;  // a shot now would refuse the reload
      } else if (Reloaded && !Changed && !w.WeaponBusy && RecoilKick <= 0) {
        Post(WM_KEYDOWN, MachineGunKey);
        Post(WM_KEYUP, MachineGunKey);
        Changed = true;
        return;
      }
      Walk(distance > 700);
    } else {
      Walk(distance > 2500);
    }
    // Turn onto where the enemy will be when a shot gets there (300 units a step).
    const float lead = distance / 300 + 2;
    const float sp = static_cast<float>(e.SP);
    const float ex = e.X + std::sin(-e.AngleX * DegreesToRadians) * sp * lead;
    const float ey = e.Y + std::tan(e.AngleY * DegreesToRadians) * sp * lead;
    const float ez = e.Z + std::cos(-e.AngleX * DegreesToRadians) * sp * lead;
    float yaw = std::atan2(-(ex - cx), ez - cz) / DegreesToRadians;
    const float pitch = std::atan2(ey - (cy + 25), std::hypot(ex - cx, ez - cz)) / DegreesToRadians;
    const float perCount = static_cast<float>(Settings.MouseSensitivity) * 0.005f / (w.ScopeOn ? 2 : 1);
    const float yawError = Wrap(w.ViewYaw - yaw);
    const float pitchError = pitch - w.ViewPitch;
    if (std::fabs(yawError) > 0.3f || std::fabs(pitchError) > 0.3f) {
      AddMouseMotion(static_cast<std::int32_t>(std::lround(yawError / perCount)),
                     static_cast<std::int32_t>(std::lround(pitchError / perCount)));
      return;
    }
    // The rifle goes through the scope.
    if (w.CurrentWeapon == WeaponRifle && !w.ScopeOn && !w.WeaponBusy && ++ScopeWait > 3) {
      Post(WM_RBUTTONDOWN);
      ScopeWait = 0;
      return;
    }
    if (!w.WeaponBusy && RecoilKick <= 0 && w.Weapons[w.CurrentWeapon].Ammo > 0) {
      SetMouseButton(0, true);
      Post(WM_LBUTTONDOWN);
      Firing = true;
    }
  }
};

// Which steps are followed by a frame: most, as on a machine that mostly keeps up.
bool OnTime(int step) { return step % 5 != 2 && step % 11 != 0; }

TEST_F(DemoMatchTest, RecordedMatchReplaysWithTheSameWorldAtEveryStep) {
  const std::string path = (Scratch / "match.kvd").string();
  SeedRandom(20261210);  // a match whose course the hands below are known to manage
  ArmDemoRecording(path);
  Enter(StatePlay, 0);
  RenderStep();  // the entering frame: recording starts
  ASSERT_TRUE(Demo.InMatch);

  Hands hands;
  std::vector<std::uint32_t> recorded;
  int deathStep = 0;
  int scopeSteps = 0;
  for (int step = 1; step <= StepLimit; ++step) {
    Pass(OnTime(step), [&] { hands.Act(); });
    recorded.push_back(MatchChecksum());
    scopeSteps += World.ScopeOn;
    if (!World.Player.Active && deathStep == 0) deathStep = step;
    if (deathStep != 0 && step >= deathStep + 40) break;
  }
  ASSERT_NE(deathStep, 0) << "the player never died (score " << World.LastGameScore << ")";
  EXPECT_GE(World.LastGameScore, 1);
  EXPECT_GT(World.Hits, 0);
  EXPECT_GT(scopeSteps, 0);
  EXPECT_TRUE(hands.Reloaded && hands.Changed);
  EXPECT_EQ(World.CurrentWeapon, WeaponMachineGun);
  const DemoResult expected{static_cast<std::uint32_t>(recorded.size()), World.LastGameScore,
                            World.ShotsFired, World.Hits, World.Player.HP, false};
  // Closing the program mid-match writes what was recorded.
  EXPECT_EQ(EndDemoRun(0), 0);
  ASSERT_TRUE(std::filesystem::exists(path));

  // Whatever happened since, and whatever the player's own settings now are.
  for (int i = 0; i < 7; ++i) RandomBelow(100);
  Settings.Difficulty = 0;
  Settings.MouseSensitivity = 200;
  World.ResetMatch();
  SetMouseButton(0, false);

  std::string error;
  ASSERT_TRUE(LoadDemoForReplay(DemoMode::Play, path, 0, 0, error)) << error;
  EXPECT_TRUE(GameFilesUntouched);
  const DemoResult& r = Demo.Demo.Result;
  EXPECT_EQ(r.Steps, expected.Steps);
  EXPECT_EQ(r.Score, expected.Score);
  EXPECT_EQ(r.Hits, expected.Hits);
  EXPECT_EQ(r.Shots, expected.Shots);
  EXPECT_FALSE(r.Finished);
  ApplyDemoSettings();
  EXPECT_EQ(Settings.Difficulty, 2u);
  EXPECT_EQ(Settings.MouseSensitivity, 50u);

  Enter(StatePlay, 0);
  RenderStep();
  ASSERT_TRUE(Demo.InMatch);
  for (std::size_t step = 1; step <= recorded.size(); ++step) {
    // The live input a watching player gives is not taken.
    Pass(true, [] {
      AddMouseMotion(50, -20);
      Post(WM_KEYDOWN, ForwardKey);
    });
    ASSERT_EQ(MatchChecksum(), recorded[step - 1]) << "the world first differs at step " << step;
  }
  UpdateStep();  // the step the recording was closed before
  EXPECT_TRUE(Demo.Done);
  EXPECT_EQ(Demo.DesyncStep, 0u) << Demo.DesyncWhat;
}

TEST_F(DemoMatchTest, ReplayWithOneInputChangedNamesTheCheckThatFirstDiffers) {
  const std::string path = (Scratch / "short.kvd").string();
  ArmDemoRecording(path);
  Enter(StatePlay, 0);
  RenderStep();
  // Turning, walking and a jump: the view and position feed every later step.
  for (int step = 1; step <= 300; ++step) {
    Pass(true, [step] {
      if (step % 7 == 0) AddMouseMotion(9, step % 3 - 1);
      if (step == 40) Post(WM_KEYDOWN, ForwardKey);
      if (step == 200) Post(WM_KEYUP, ForwardKey);
      if (step == 150) Post(WM_KEYDOWN, 32);
    });
  }
  EndDemoRun(0);
  std::ifstream in(path, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  DemoFile demo;
  std::string error;
  ASSERT_TRUE(DecodeDemo(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), demo, error)) << error;
  ASSERT_EQ(demo.Steps.size(), 300u);
  ASSERT_EQ(demo.Checksums.size(), 4u);

  struct Case {
    const char* What;
    std::uint32_t Step;  // the step whose input changes
    std::uint32_t FirstCheck;  // the checkpoint that must report it (0: none)
  };
  const Case cases[] = {{"nothing", 0, 0}, {"a mouse turn", 140, 192}, {"a turn early", 30, 64}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    DemoFile changed = demo;
    if (c.Step) {
      DemoStep& s = changed.Steps[c.Step - 1];
      ASSERT_TRUE(s.Polled);
      s.Mouse.DeltaX += 40;
    }
    ASSERT_TRUE(StartDemoReplay(DemoMode::Play, changed, error)) << error;
    Enter(StatePlay, 0);
    RenderStep();
    for (int step = 1; step <= 301 && !Demo.Done; ++step) Pass(true, [] {});
    EXPECT_TRUE(Demo.Done);
    // A mouse snapshot turns the view before the next step; the first check after that sees it.
    EXPECT_EQ(Demo.DesyncStep, c.FirstCheck) << Demo.DesyncWhat;
    EndDemoSession();
    Queued();  // the replay's close, not taken here
  }
}

}  // namespace

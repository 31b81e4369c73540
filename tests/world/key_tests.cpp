// The play keys: table order, conditions that fall through, releases and the Escape key.
#include "app/app_globals.h"
#include "world_fixture.h"

namespace {

constexpr std::uint32_t KeyW = 0x57;
constexpr std::uint32_t KeySpace = 0x20;
constexpr std::uint32_t KeyEscape = 0x1B;

// Counts WM_CLOSE messages waiting in the queue (and empties it).
int QueuedCloses() {
  int closes = 0;
  Message m;
  while (PeekMessage(m)) closes += m.Id == WM_CLOSE;
  return closes;
}

}  // namespace

class KeyTest : public WorldTest {
 protected:
  Window* FakeWindow = reinterpret_cast<Window*>(&Storage);
  int Storage = 0;

  void SetUp() override {
    WorldTest::SetUp();
    MainWindow = FakeWindow;
    QueuedCloses();
  }
  void TearDown() override {
    MainWindow = nullptr;
    WorldTest::TearDown();
  }
};

TEST_F(KeyTest, SharedBindingActsOnTheFirstRowWhoseConditionHolds) {
  Settings.KeyBindings[KeyForward] = KeyW;
  Settings.KeyBindings[KeyTurnLeft] = KeyW;
  World.OnKeyDown(KeyW);
  EXPECT_EQ(World.KeyForwardHeld, 1);
  EXPECT_EQ(World.KeyTurnLeftHeld, 0);

  // Dead: forward's condition fails and the comparison goes on to turning.
  World.KeyForwardHeld = 0;
  World.Player.Active = 0;
  World.OnKeyDown(KeyW);
  EXPECT_EQ(World.KeyForwardHeld, 0);
  EXPECT_EQ(World.KeyTurnLeftHeld, 1);

  // Release: first match only, without conditions.
  World.KeyForwardHeld = 1;
  World.OnKeyUp(KeyW);
  EXPECT_EQ(World.KeyForwardHeld, 0);
  EXPECT_EQ(World.KeyTurnLeftHeld, 1);
}

TEST_F(KeyTest, EachBindingSetsItsOwnFlagWhileAlive) {
  const std::uint32_t keys[KeyBindingCount] = {0x41, 0x42, 0x43, 0x44, 0x45,
                                               0x46, 0x47, 0x48, 0x49, 0x4A};
  for (int i = 0; i < KeyBindingCount; ++i) Settings.KeyBindings[i] = keys[i];
  for (int i = 0; i < 6; ++i) World.OnKeyDown(keys[i]);
  EXPECT_EQ(World.KeyForwardHeld + World.KeyBackHeld + World.KeyLeftHeld + World.KeyRightHeld +
                World.KeyTurnLeftHeld + World.KeyTurnRightHeld,
            6);
  World.OnKeyDown(keys[KeyAttack]);
  EXPECT_EQ(TriggerHeld, 1);
  World.OnKeyUp(keys[KeyAttack]);
  EXPECT_EQ(TriggerHeld, 0);
  EXPECT_EQ(CountPlayed(SoundHeartbeat, SoundEvent::Stop), 4);

  // Dead: walking, jumping and attacking are refused; turning still works.
  StartTestMatch(0);
  for (int i = 0; i < KeyBindingCount; ++i) Settings.KeyBindings[i] = keys[i];
  World.Player.Active = 0;
  for (std::uint32_t k : keys) World.OnKeyDown(k);
  EXPECT_EQ(World.KeyForwardHeld + World.KeyBackHeld + World.KeyLeftHeld + World.KeyRightHeld, 0);
  EXPECT_EQ(World.KeyTurnLeftHeld + World.KeyTurnRightHeld, 2);
  EXPECT_EQ(World.JumpActive, 0);
  EXPECT_EQ(TriggerHeld, 0);
  EXPECT_FALSE(World.OnPlayLeftButtonDown());
}

TEST_F(KeyTest, JumpStartsOnlyFromIdleAndReleaseKeepsItRunning) {
  Settings.KeyBindings[KeyJump] = KeySpace;
  World.OnKeyDown(KeySpace);
  EXPECT_EQ(World.JumpActive, 1);
  EXPECT_EQ(World.JumpKeyHeld, 1);
  World.OnKeyUp(KeySpace);
  EXPECT_EQ(World.JumpKeyHeld, 0);
  EXPECT_EQ(World.JumpActive, 1);
  World.JumpPhase = 3;
  World.JumpActive = 0;
  World.OnKeyDown(KeySpace);
  EXPECT_EQ(World.JumpActive, 0);
}

TEST_F(KeyTest, BindingOnADigitWinsOverTheWeaponKey) {
  Settings.KeyBindings[KeyJump] = 0x32;  // '2'
  World.OnKeyDown(0x32);
  EXPECT_EQ(World.JumpActive, 1);
  EXPECT_EQ(World.SelectedWeapon, 0);
  World.OnKeyDown(0x62);  // keypad 2 still selects the rifle
  EXPECT_EQ(World.SelectedWeapon, 1);
  EXPECT_EQ(World.WeaponAction, ActionChange);
}

TEST_F(KeyTest, LeftButtonReleaseStopsFiringAndKicksTheMachineGunOnce) {
  EXPECT_TRUE(World.OnPlayLeftButtonDown());
  EXPECT_EQ(TriggerHeld, 1);
  World.BurstCount = 4;
  World.OnPlayLeftButtonUp();
  EXPECT_EQ(TriggerHeld, 0);
  EXPECT_EQ(World.BurstCount, 0);
  EXPECT_EQ(RecoilKick, 1.0f);
  EXPECT_EQ(CountPlayed(SoundHeartbeat, SoundEvent::Stop), 4);

  // No kick with an empty magazine or another weapon; nothing at all outside play.
  RecoilKick = 0;
  World.Weapons[0].Ammo = 0;
  World.OnPlayLeftButtonUp();
  EXPECT_EQ(RecoilKick, 0.0f);
  World.GameState = StateTitle;
  TriggerHeld = 1;
  World.OnPlayLeftButtonUp();
  EXPECT_EQ(TriggerHeld, 1);
  EXPECT_FALSE(World.OnPlayLeftButtonDown());
}

TEST_F(KeyTest, EscapeQuitsExceptInTheFirstTitleFrames) {
  World.GameState = StateTitle;
  World.StateFrameCount = 10;
  World.OnKeyDown(KeyEscape);
  EXPECT_EQ(QueuedCloses(), 0);
  World.StateFrameCount = 11;
  World.OnKeyDown(KeyEscape);
  EXPECT_EQ(QueuedCloses(), 1);
  World.GameState = StatePlay;
  World.StateFrameCount = 0;
  World.OnKeyDown(KeyEscape);
  EXPECT_EQ(QueuedCloses(), 1);
  // Escape still quits when it is also bound to an action.
  Settings.KeyBindings[KeyForward] = KeyEscape;
  World.OnKeyDown(KeyEscape);
  EXPECT_EQ(World.KeyForwardHeld, 1);
  EXPECT_EQ(QueuedCloses(), 1);
}

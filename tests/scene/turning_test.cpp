// Turning right turns the view right: on screen, and for the ears.
#include "audio/audio_fixture.h"
#include "input/dxinput.h"
#include "persist/settings_record.h"
#include "scene/scene_fixture.h"
#include "world/game_world.h"

namespace scene_test {
namespace {

// The enemy ball's picture is the only red on screen.
double EnemyCentreX() {
  const Pixels p = DrawFrame();
  const Box box = BoundsOf(p, [](std::uint32_t c) { return Red(c) > 200 && Green(c) < 60 && Blue(c) < 60; });
  EXPECT_FALSE(box.Empty());
  return (box.Left + box.Right) / 2.0;
}

class TurningTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureDevice();
    UseTestPictures();
    QuietMatch();
    Settings.MouseSensitivity = 50;
    Settings.InvertMouseY = 0;
    Settings.ShowEnemies = 1;
    WorldObject& enemy = World.Enemies[0];
    enemy.Active = 1;
    enemy.Y = 230;
    enemy.Z = 800;
  }
};

TEST_F(TurningTest, TurnKeyAndMouseToTheRightMoveWhatIsAheadToTheLeft) {
  const double ahead = EnemyCentreX();
  EXPECT_NEAR(ahead, 320, 2);

  World.KeyTurnRightHeld = 1;
  for (int step = 0; step < 4; ++step) {
    World.UpdatePlayer();
    World.ClampView();
  }
  World.KeyTurnRightHeld = 0;
  const double afterKey = EnemyCentreX();
  EXPECT_LT(afterKey, ahead - 20);

  Mouse.MouseState = MouseSnapshot{};
  Mouse.MouseState.DeltaX = 20;
  World.OnMouseMove(0);
  World.ClampView();
  EXPECT_LT(EnemyCentreX(), afterKey - 20);

  // Left goes the other way, back to where it started.
  Mouse.MouseState.DeltaX = -20;
  World.OnMouseMove(0);
  World.KeyTurnLeftHeld = 1;
  for (int step = 0; step < 4; ++step) {
    World.UpdatePlayer();
    World.ClampView();
  }
  World.KeyTurnLeftHeld = 0;
  EXPECT_NEAR(EnemyCentreX(), ahead, 2);
}

TEST_F(TurningTest, WalkingForwardStillGoesWhereTheViewLooks) {
  World.KeyTurnRightHeld = 1;
  for (int step = 0; step < 8; ++step) World.UpdatePlayer();
  World.KeyTurnRightHeld = 0;
  World.ClampView();
  // Put the enemy straight ahead of the turned view, in the walking direction.
  const float x0 = World.PlayerBody[0].X, z0 = World.PlayerBody[0].Z;
  World.WalkPlayer(0);
  const float dx = World.PlayerBody[0].X - x0, dz = World.PlayerBody[0].Z - z0;
  World.UpdatePlayer();
  World.Enemies[0].X = -World.Player.X + dx * 60;
  World.Enemies[0].Z = -World.Player.Z + dz * 60;
  EXPECT_NEAR(EnemyCentreX(), 320, 2);
}

class TurningSoundTest : public audio_test::AudioTest {};

TEST_F(TurningSoundTest, SoundOnThePlayersRightIsHeardOnTheRightAfterTurningRight) {
  ASSERT_TRUE(Sound.InitSound());
  Settings.MouseSensitivity = 50;
  World.ResetMatch();
  World.UpdatePlayer();
  World.KeyTurnRightHeld = 1;
  for (int step = 0; step < 72; ++step) {  // 90 degrees at 1.25 a step
    World.UpdatePlayer();
    World.ClampView();
  }
  World.KeyTurnRightHeld = 0;
  // The player's right is where stepping right goes.
  const float x0 = World.PlayerBody[0].X, z0 = World.PlayerBody[0].Z;
  World.WalkPlayer(270);
  const float rx = (World.PlayerBody[0].X - x0) / 15, rz = (World.PlayerBody[0].Z - z0) / 15;
  World.UpdatePlayer();
  const float cx = -World.Player.X, cy = -World.Player.Y, cz = -World.Player.Z;

  Sound.UpdateListener(World.Player.X, World.Player.Y, World.Player.Z, World.ViewYaw, World.ViewPitch, 1000);
  Sound.PlayEnemySound(2, EnemyFiring, cx + rx * 1600, cy, cz + rz * 1600);
  audio_test::Listen(2048);
  const audio_test::Loudness heard = audio_test::Listen(8820);
  Sound.PlayEnemySound(2, EnemyStopFiring, 0, 0, 0);
  EXPECT_GT(heard.Right, 2 * heard.Left);
}

}  // namespace
}  // namespace scene_test

// Player movement and view: walking, wall sliding, the jump curve, turning and view limits.
#include <algorithm>

#include "input/dxinput.h"
#include "world_fixture.h"

using PlayerTest = WorldTest;

TEST_F(PlayerTest, WalkingFollowsTheViewHeading) {
  World.KeyForwardHeld = 1;
  World.UpdatePlayer();
  EXPECT_EQ(CentreZ(), 15.0f);
  EXPECT_NEAR(CentreX(), 0.0f, 1e-5f);
  EXPECT_EQ(World.Player.Z, -15.0f);
  EXPECT_EQ(World.ViewOffset[1], -(200.0f + 30));

  StartTestMatch(0);
  World.ViewYaw = 90;
  World.KeyForwardHeld = 1;
  World.UpdatePlayer();
  EXPECT_NEAR(CentreX(), -15.0f, 1e-4f);
  EXPECT_NEAR(CentreZ(), 0.0f, 1e-4f);

  // Forward and a side key are two separate walks.
  StartTestMatch(0);
  World.KeyForwardHeld = 1;
  World.KeyLeftHeld = 1;
  World.KeyBackHeld = 1;  // ignored while forward is held
  World.UpdatePlayer();
  EXPECT_NEAR(CentreZ(), 15.0f, 1e-4f);
  EXPECT_NEAR(CentreX(), -15.0f, 1e-4f);
}

TEST_F(PlayerTest, WallStopsTheBlockedAxisAndTheOtherSlides) {
  World.KeyForwardHeld = 1;
  for (int i = 0; i < 1000; ++i) World.UpdatePlayer();
  // The front face stops one step short: the step that would reach 6000 is undone.
  float front = -1e9f;
  for (const auto& v : World.PlayerBody) front = std::max(front, v.Z);
  EXPECT_EQ(front, 5985.0f);
  const float stuckZ = CentreZ();

  World.KeyLeftHeld = 1;
  for (int i = 0; i < 10; ++i) World.UpdatePlayer();
  EXPECT_EQ(CentreZ(), stuckZ);
  EXPECT_NEAR(CentreX(), -150.0f, 1e-3f);
}

TEST_F(PlayerTest, JumpRisesAndFallsSeventeenStepsOf306AndLandsExactly) {
  const float base = World.PlayerBody[0].Y;
  World.JumpActive = 1;
  World.JumpKeyHeld = 1;
  float previous = base;
  float expectedStep = 22;
  for (int i = 1; i <= 17; ++i) {
    World.StepJump();
    EXPECT_EQ(World.PlayerBody[0].Y - previous, expectedStep) << "rising step " << i;
    previous = World.PlayerBody[0].Y;
    expectedStep -= 0.5f;
  }
  EXPECT_EQ(World.PlayerBody[0].Y, base + 306);
  expectedStep = 14;
  for (int i = 18; i <= 34; ++i) {
    World.StepJump();
    EXPECT_EQ(previous - World.PlayerBody[0].Y, expectedStep) << "falling step " << i;
    previous = World.PlayerBody[0].Y;
    expectedStep += 0.5f;
  }
  EXPECT_EQ(World.PlayerBody[0].Y, base);
  EXPECT_EQ(World.JumpPhase, 2);

  // Landed: held in phase 3 until the key is released.
  World.StepJump();
  EXPECT_EQ(World.JumpPhase, 3);
  EXPECT_EQ(World.JumpActive, 1);
  World.StepJump();
  EXPECT_EQ(World.JumpPhase, 3);
  World.JumpKeyHeld = 0;
  World.StepJump();
  EXPECT_EQ(World.JumpPhase, 0);
  EXPECT_EQ(World.JumpActive, 0);
  EXPECT_EQ(World.PlayerBody[0].Y, base);
}

TEST_F(PlayerTest, DeadPlayerTurnsAndFinishesAJumpButDoesNotWalk) {
  World.JumpActive = 1;
  World.UpdatePlayer();  // jump under way
  World.Player.Active = 0;
  World.KeyForwardHeld = 1;
  World.KeyTurnRightHeld = 1;
  for (int i = 0; i < 40; ++i) World.UpdatePlayer();
  EXPECT_EQ(World.JumpActive, 0);
  EXPECT_EQ(CentreZ(), 0.0f);
  EXPECT_EQ(CentreY(), 200.0f);
  EXPECT_EQ(World.ViewYaw, -40 * 5 * 0.25f);  // a right turn lowers the yaw
}

TEST_F(PlayerTest, ClampViewWrapsYawToZeroAndPullsPitchBack) {
  World.ViewYaw = 359.9f;
  World.LookBy(-0.3f / 0.25f, 0);
  World.ClampView();
  EXPECT_EQ(World.ViewYaw, 0.0f);

  World.ViewYaw = -0.3f;
  World.ClampView();
  EXPECT_EQ(World.ViewYaw, 360.0f - 0.3f);

  World.ViewPitch = 80.5f;
  World.ClampView();
  EXPECT_EQ(World.ViewPitch, 79.999f);
  World.ViewPitch = -75;
  World.ClampView();
  EXPECT_EQ(World.ViewPitch, -69.999f);
}

TEST_F(PlayerTest, PitchOutsideItsLimitsIgnoresVerticalMotionUntilClamped) {
  World.ViewPitch = 79;
  World.LookBy(0, 20);  // +5 degrees: past the limit
  EXPECT_EQ(World.ViewPitch, 84.0f);
  World.LookBy(0, -20);
  EXPECT_EQ(World.ViewPitch, 84.0f);
  Settings.InvertMouseY = 1;
  World.ViewPitch = 10;
  World.LookBy(0, 4);
  EXPECT_EQ(World.ViewPitch, 9.0f);
}

TEST_F(PlayerTest, ScopeHalvesMouseTurns) {
  Mouse.MouseState.DeltaX = 8;
  Mouse.MouseState.DeltaY = -4;
  World.OnMouseMove(MakePointParam(320, 240));
  EXPECT_EQ(World.ViewYaw, -2.0f);
  EXPECT_EQ(World.ViewPitch, -1.0f);
  World.ScopeOn = 1;
  World.OnMouseMove(MakePointParam(320, 240));
  EXPECT_EQ(World.ViewYaw, -3.0f);
  EXPECT_EQ(World.ViewPitch, -1.5f);
}

TEST_F(PlayerTest, MouseMoveRecordsCursorAndReappliesTheLastPoll) {
  Mouse.MouseState.DeltaX = 0;
  Mouse.MouseState.DeltaY = 0;
  World.OnMouseMove(MakePointParam(100, 400));
  EXPECT_EQ(WindowCursorX, 100.0f);
  EXPECT_EQ(WindowCursorY, 400.0f);
  EXPECT_EQ(MouseX, -220.0f);
  EXPECT_EQ(MouseY, -160.0f);
  EXPECT_EQ(World.MouseDirX, 0);
  EXPECT_EQ(World.ViewYaw, 0.0f);

  Mouse.MouseState.DeltaX = -2;
  World.OnMouseMove(MakePointParam(320, 240));
  World.OnMouseMove(MakePointParam(320, 240));
  EXPECT_EQ(World.MouseDirX, 2);
  EXPECT_EQ(MouseDeltaX, -2.0f);
  EXPECT_EQ(World.ViewYaw, 1.0f);
}

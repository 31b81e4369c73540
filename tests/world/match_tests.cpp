// The match step as a whole: health under fire, invincibility and the order of the step.
#include "world_fixture.h"

using MatchTest = WorldTest;

TEST_F(MatchTest, StandingNearOneEnemyCostsHalfAPointEachStep) {
  for (int d = 0; d < 3; ++d) {
    StartTestMatch(d);
    World.SpawnTimer = 1 << 30;
    PlaceEnemy(0, 300, 600, -200).SP = 0;
    for (int step = 0; step < 1998; ++step) World.UpdateGame();
    EXPECT_EQ(World.Player.HP, 1.0f) << "difficulty " << d;
    World.UpdateGame();
    EXPECT_EQ(World.Player.HP, 0.5f) << "difficulty " << d;
    // Death itself is decided when the frame is rendered; the step keeps running meanwhile.
    EXPECT_EQ(World.Player.Active, 1);
  }
}

TEST_F(MatchTest, InvincibleHealthNeverFalls) {
  Settings.Invincible = 1;
  World.SpawnTimer = 1 << 30;
  for (int i = 0; i < 5; ++i) PlaceEnemy(i, 100.0f * i, 500, 100).SP = 0;
  for (int step = 0; step < 4000; ++step) World.UpdateGame();
  EXPECT_EQ(World.Player.HP, 1000.0f);
}

TEST_F(MatchTest, ShotFiredThisStepHitsAnEnemyThatThenFiresAndDies) {
  // Enemy 280 ahead of the muzzle: the shot reaches it in the step it is fired.
  World.UpdatePlayer();
  World.CurrentWeapon = World.SelectedWeapon = WeaponRifle;
  Settings.EnemyHealth = 5;
  WorldObject& e = PlaceEnemy(0, 18.79f, 225, 280);
  e.SP = 0;
  TriggerHeld = 1;
  World.UpdateGame();
  EXPECT_EQ(World.Hits, 1);
  EXPECT_EQ(e.Active, 0);
  EXPECT_EQ(World.LastGameScore, 1);
  EXPECT_EQ(World.Player.HP, 999.5f);  // it still fired in its last step
  EXPECT_EQ(World.ShotsFired, 1);
}

TEST_F(MatchTest, TracerCubesFollowTheBodyOfThePreviousStep) {
  World.UpdatePlayer();
  World.KeyForwardHeld = 1;
  const float bodyZ = World.PlayerBody[0].Z;
  World.Shots[0].Active = 1;
  World.Shots[0].Y = 500;
  World.UpdateGame();
  // Built in the shot step, before the player walked 15 units.
  const WorldObject& s = World.Shots[0];
  EXPECT_FLOAT_EQ(World.ShotMeshes[0][0].Z, s.Z + (bodyZ - s.Z) / 15);
  EXPECT_EQ(World.PlayerBody[0].Z, bodyZ + 15);
}

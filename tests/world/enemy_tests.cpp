// Enemies: bouncing and removal, distance bands, damage and flashes, destruction and spawning.
#include <cmath>

#include "world_fixture.h"

class EnemyTest : public WorldTest {
 protected:
  void SetUp() override {
    WorldTest::SetUp();
    World.SpawnTimer = 1 << 30;  // nothing spawns unless a test asks for it
  }

  // Events sent for enemy slot `slot`, in order: 4 firing, 5 stop, 3 kill call, 1 start call.
  std::vector<int> EventsOf(int slot) const {
    std::vector<int> out;
    for (const auto& e : Played) {
      if (e.Copy != slot) continue;
      if (e.Group == SoundEnemyGun) out.push_back(e.Action == SoundEvent::Play ? 4 : 5);
      if (e.Group == SoundCallKill && e.Action == SoundEvent::Play) out.push_back(3);
      if (e.Group == SoundCallStart && e.Action == SoundEvent::Play) out.push_back(1);
    }
    return out;
  }
};

TEST_F(EnemyTest, ClearEnemyMovesAlongItsHeadingAndClimbsByTheTangent) {
  Settings.EnemySpeed = 5;
  WorldObject& e = PlaceEnemy(0, 0, 500, 3000);
  e.AngleX = 90;
  e.AngleY = 45;
  World.UpdateEnemies();
  EXPECT_NEAR(e.X, -5.0f, 1e-4f);
  EXPECT_NEAR(e.Z, 3000.0f, 1e-3f);
  EXPECT_NEAR(e.Y, 505.0f, 1e-3f);
  EXPECT_EQ(e.Active, 1);
}

TEST_F(EnemyTest, EnemyAtAFaceStepsBackAndTakesANewDirection) {
  WorldObject& e = PlaceEnemy(0, 5999.5f, 500, 0);  // within SP (1) of the +X face
  e.AngleX = 270;                                   // heading +X
  SeedRandom(42);
  World.UpdateEnemies();
  SeedRandom(42);
  const float newHeading = static_cast<float>(RandomBelow(360));
  const float newClimb = static_cast<float>(RandomBelow(360));
  EXPECT_NEAR(e.X, 5998.5f, 1e-3f);
  EXPECT_EQ(e.AngleX, newHeading);
  EXPECT_EQ(e.AngleY, newClimb);
  EXPECT_EQ(e.Active, 1);
  EXPECT_EQ(World.SpawnTimer, (1 << 30) - 9);
}

TEST_F(EnemyTest, EnemyStillOutsideAfterSteppingBackIsRemovedWithoutScore) {
  World.SpawnTimer = 4000;
  World.Player.X = -5500;  // the player stands near that wall, well within range
  WorldObject& e = PlaceEnemy(0, 6002, 500, 0);
  e.AngleX = 270;
  World.UpdateEnemies();
  EXPECT_EQ(e.Active, 0);
  EXPECT_EQ(World.EnemiesAlive, 0);
  EXPECT_EQ(World.LastGameScore, 0);
  // Divided by ten first, then the nine empty slots after it count down.
  EXPECT_EQ(World.SpawnTimer, 400 - 9);
  // Its gun is stopped and not restarted, although the player is within range.
  EXPECT_EQ(EventsOf(0), std::vector<int>({5}));
  EXPECT_EQ(World.Player.HP, 1000.0f);
}

TEST_F(EnemyTest, DistanceBandsIncludeTheirOuterEdges) {
  struct Case {
    float X;
    float Loss;
    float Flash;
    int Event;
  };
  // Beginner: R = 1000. Each axis is truncated to whole units before the distance.
  const Case cases[] = {{1000, 0.5f, 192, 4}, {1000.9f, 0.5f, 192, 4}, {1001, 0.25f, 128, 4},
                        {2000, 0.25f, 128, 4}, {2000.9f, 0.25f, 128, 4}, {2001, 0, 0, 5}};
  for (const Case& c : cases) {
    StartTestMatch(0);
    World.SpawnTimer = 1 << 30;
    Played.clear();
    WorldObject& e = PlaceEnemy(0, c.X, 900, 0);
    e.SP = 0;
    World.UpdateEnemies();
    EXPECT_EQ(World.Player.HP, 1000.0f - c.Loss) << c.X;
    EXPECT_EQ(World.FlashLevel, c.Flash) << c.X;
    EXPECT_EQ(World.FlashActive, c.Event == 4 ? 1 : 0) << c.X;
    EXPECT_EQ(EventsOf(0), std::vector<int>({c.Event})) << c.X;
  }
  // Height does not count: straight above the player is distance 0.
  StartTestMatch(0);
  World.SpawnTimer = 1 << 30;
  PlaceEnemy(0, 0, 1400, 0).SP = 0;
  World.UpdateEnemies();
  EXPECT_EQ(World.EnemyDistance, 0.0f);
  EXPECT_EQ(World.Player.HP, 999.5f);
}

TEST_F(EnemyTest, DamageDependsOnWhatThePlayerIsDoing) {
  struct Case {
    int Jump;
    int Walk;
    int Scope;
    float NearLoss;
    float FarLoss;
  };
  const Case cases[] = {{1, 1, 0, 0.15f, 0.1f}, {0, 1, 0, 0.25f, 0.15f}, {0, 0, 0, 0.5f, 0.25f},
                        {0, 0, 1, 1.0f, 0.5f}, {2, 0, 1, 0.3f, 0.2f}};
  for (const Case& c : cases) {
    for (int far = 0; far < 2; ++far) {
      StartTestMatch(2);  // R = 2000
      World.SpawnTimer = 1 << 30;
      World.JumpPhase = c.Jump;
      World.KeyRightHeld = static_cast<std::uint8_t>(c.Walk);
      World.ScopeOn = static_cast<std::uint8_t>(c.Scope);
      PlaceEnemy(7, 0, 500, far ? 3000.0f : 1500.0f).SP = 0;
      World.UpdateEnemies();
      EXPECT_NEAR(1000.0f - World.Player.HP, far ? c.FarLoss : c.NearLoss, 1e-4f)
          << c.Jump << c.Walk << c.Scope << far;
    }
  }
}

TEST_F(EnemyTest, DamageFlashReplacesOnlyTheStartAndScopeFlashes) {
  struct Case {
    std::uint8_t Active;
    int Kind;
    int KindAfter;
    float LevelAfter;
  };
  const Case cases[] = {{0, 0, 1, 192}, {1, 9, 1, 192}, {1, 2, 1, 192}, {1, 1, 1, 40},
                        {1, 10, 10, 40}};
  for (const Case& c : cases) {
    StartTestMatch(0);
    World.SpawnTimer = 1 << 30;
    World.FlashActive = c.Active;
    World.FlashKind = c.Kind;
    World.FlashLevel = 40;
    PlaceEnemy(0, 100, 500, 100).SP = 0;
    World.UpdateEnemies();
    EXPECT_EQ(World.FlashKind, c.KindAfter) << c.Kind;
    EXPECT_EQ(World.FlashLevel, c.LevelAfter) << c.Kind;
    EXPECT_EQ(World.FlashActive, 1);
  }
}

TEST_F(EnemyTest, InvincibleAndDeadPlayersLoseNothingButScopeFlashTurnsRed) {
  Settings.Invincible = 1;
  World.FlashActive = 1;
  World.FlashKind = 2;
  World.FlashLevel = 255;
  PlaceEnemy(0, 100, 500, 100).SP = 0;
  for (int i = 0; i < 3000; ++i) World.UpdateEnemies();
  EXPECT_EQ(World.Player.HP, 1000.0f);
  EXPECT_EQ(World.FlashKind, 1);
  EXPECT_EQ(World.FlashLevel, 255.0f);

  Settings.Invincible = 0;
  World.Player.Active = 0;
  World.ScopeOn = 1;
  World.UpdateEnemies();
  EXPECT_EQ(World.Player.HP, 1000.0f);
}

TEST_F(EnemyTest, DestroyedEnemyFiresLastThenScoresAndCutsTheCountdown) {
  World.SpawnTimer = 5000;
  WorldObject& e = PlaceEnemy(0, 500, 500, 0);
  e.SP = 0;
  e.HP = 0;
  World.UpdateEnemies();
  EXPECT_EQ(e.Active, 0);
  EXPECT_EQ(World.LastGameScore, 1);
  EXPECT_EQ(World.EnemiesAlive, 0);
  EXPECT_EQ(World.SpawnTimer, 5000 - 50 - 9);
  EXPECT_EQ(World.Player.HP, 999.5f);
  EXPECT_EQ(EventsOf(0), std::vector<int>({4, 5, 3}));
}

TEST_F(EnemyTest, FirstEnemyArrivesAfter400StepsInTheLastSlot) {
  for (int d = 0; d < 3; ++d) {
    StartTestMatch(d);
    for (int step = 0; step < 399; ++step) World.UpdateEnemies();
    for (const auto& e : World.Enemies) ASSERT_EQ(e.Active, 0);
    World.UpdateEnemies();
    const int last = DifficultyTable[d].EnemyCount - 1;
    for (int i = 0; i < EnemySlots; ++i) EXPECT_EQ(World.Enemies[i].Active, i == last ? 1 : 0);
    EXPECT_EQ(World.Enemies[last].HP, DifficultyTable[d].EnemyHealth);
    EXPECT_EQ(World.EnemiesAlive, 1);
  }
}

TEST_F(EnemyTest, SpawnsLandInsideTheirRangesAndNeverSteep) {
  int steepFirstDraws = 0;
  for (std::uint32_t seed = 1; seed <= 600; ++seed) {
    StartTestMatch(1);
    World.SpawnTimer = 1;
    SeedRandom(seed);
    World.UpdateEnemies();
    const WorldObject& e = World.Enemies[0];
    ASSERT_EQ(e.Active, 1);
    EXPECT_GE(e.X, -5500.0f);
    EXPECT_LE(e.X, 5499.0f);
    EXPECT_GE(e.Z, -5500.0f);
    EXPECT_LE(e.Z, 5499.0f);
    EXPECT_GE(e.Y, 100.0f);
    EXPECT_LE(e.Y, 1099.0f);
    const int climb = static_cast<int>(e.AngleY);
    EXPECT_FALSE((climb >= 85 && climb <= 95) || (climb >= 265 && climb <= 275)) << seed;
    // The fifth draw of the spawn is its first climb angle.
    SeedRandom(seed);
    for (int k = 0; k < 4; ++k) RandomBelow(360);
    const std::uint32_t first = RandomBelow(360);
    steepFirstDraws += (first >= 85 && first <= 95) || (first >= 265 && first <= 275);
  }
  EXPECT_GT(steepFirstDraws, 0);  // the redraw was exercised
}

TEST_F(EnemyTest, CountdownAfterASpawnShrinksWithPlayTimeAndFallsBack) {
  // Early: (r + 750 - 0) * 15, a multiple of 15 from 11250.
  StartTestMatch(1);
  World.SpawnTimer = 1;
  World.UpdateEnemies();
  const std::int32_t early = World.SpawnTimer + 14;  // the 14 empty slots after slot 0
  EXPECT_EQ(early % 15, 0);
  EXPECT_GE(early, 750 * 15);
  EXPECT_LT(early, 1500 * 15);

  // Late: PlayFrameCount / 10 far beyond the base gives r + base / 2, never a wrapped count.
  for (std::uint32_t frames : {15000u, 20000u, 4000000000u}) {
    StartTestMatch(1);
    World.PlayFrameCount = frames;
    World.SpawnTimer = 1;
    World.UpdateEnemies();
    const std::int32_t late = World.SpawnTimer + 14;
    EXPECT_GE(late, 375) << frames;
    EXPECT_LT(late, 750 + 375) << frames;
  }
}

// Whole matches with a scripted player: deterministic, scored, and ending when the rules say.
#include <cstdio>

#include "match_simulator.h"
#include "world_fixture.h"

using SimulatorTest = WorldTest;

TEST_F(SimulatorTest, EveryDifficultyEndsByDeathAtThePredictedStep) {
  for (int d = 0; d < 3; ++d) {
    const SimulatedMatch m = SimulateMatch(d, 2024 + d, 400000);
    ASSERT_GT(m.DeathStep, 0) << "difficulty " << d;
    EXPECT_EQ(m.DeathStep, m.PredictedDeathStep) << "difficulty " << d;
    EXPECT_GT(m.Score, 0) << "difficulty " << d;
    EXPECT_GT(m.Hits, 0);
    EXPECT_LE(m.Hits, m.ShotsFired);
    EXPECT_GE(m.Spawns, m.Score);
    EXPECT_EQ(World.Player.HP, 0.0f);
    EXPECT_EQ(World.FlashKind, FlashDeath);
    printf("difficulty %d: death at step %d, score %d, hits %d/%d\n", d, m.DeathStep, m.Score,
           m.Hits, m.ShotsFired);
  }
}

TEST_F(SimulatorTest, SameSeedSameMatchOtherSeedOtherMatch) {
  const SimulatedMatch a = SimulateMatch(1, 77, 400000);
  const SimulatedMatch b = SimulateMatch(1, 77, 400000);
  const SimulatedMatch c = SimulateMatch(1, 78, 400000);
  EXPECT_EQ(a.Fingerprint, b.Fingerprint);
  EXPECT_EQ(a.DeathStep, b.DeathStep);
  EXPECT_EQ(a.Score, b.Score);
  EXPECT_NE(a.Fingerprint, c.Fingerprint);
}

// RandomBelow: range, seeding and repeatability.
#include <gtest/gtest.h>

#include <set>

#include "app/random.h"

TEST(RandomBelow, StaysBelowNAndNeverAbove32767) {
  SeedRandom(12345);
  std::uint32_t largest = 0;
  for (int i = 0; i < 200000; ++i) {
    std::uint32_t v = RandomBelow(0xFFFFFFFFu);
    largest = std::max(largest, v);
    ASSERT_LE(v, 32767u);
  }
  EXPECT_GT(largest, 32000u);  // the whole 15-bit range is reached
  for (std::uint32_t n : {1u, 2u, 9u, 360u, 32768u}) {
    for (int i = 0; i < 1000; ++i) ASSERT_LT(RandomBelow(n), n);
  }
}

TEST(RandomBelow, SameSeedSameSequenceAndDigitsSpreadEvenly) {
  SeedRandom(77);
  std::vector<std::uint32_t> first;
  for (int i = 0; i < 50; ++i) first.push_back(RandomBelow(1000));
  SeedRandom(77);
  for (int i = 0; i < 50; ++i) EXPECT_EQ(RandomBelow(1000), first[i]);

  int counts[9] = {};
  for (int i = 0; i < 90000; ++i) ++counts[RandomBelow(9)];
  for (int c : counts) {
    EXPECT_GT(c, 9000);
    EXPECT_LT(c, 11000);
  }
}

TEST(RandomBelow, KnownFirstValuesOfSeedOne) {
  // The classic 15-bit generator: seed 1 starts 41, 18467, 6334.
  SeedRandom(1);
  EXPECT_EQ(RandomBelow(32768), 41u);
  EXPECT_EQ(RandomBelow(32768), 18467u);
  EXPECT_EQ(RandomBelow(32768), 6334u);
}

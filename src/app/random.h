// RandomBelow: the program's one source of random numbers.
#pragma once

#include <cstdint>

// A whole number in 0..n-1 (never above 32767); seeded from the time on first use. n >= 1.
std::uint32_t RandomBelow(std::uint32_t n);

// Seeds the generator explicitly (tests, replays); the time seed is then skipped.
void SeedRandom(std::uint32_t seed);

// The generator's state: the seed its next values follow from (seeded from the time first if
// nothing has drawn yet). Seeding with it later repeats the same sequence.
std::uint32_t RandomState();

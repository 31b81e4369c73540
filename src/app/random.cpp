// RandomBelow: a 15-bit linear congruential generator, seeded once from the time.
#include "app/random.h"

#include <ctime>

namespace {
// Same recurrence and 15-bit output as the C runtime the game was made with, so a seed
// gives the same sequence on every platform, whatever this C library's RAND_MAX is.
std::uint32_t State = 1;
bool NeedsSeed = true;

std::uint32_t NextValue() {
  State = State * 214013u + 2531011u;
  return (State >> 16) & 0x7FFFu;
}
}  // namespace

void SeedRandom(std::uint32_t seed) {
  State = seed;
  NeedsSeed = false;
}

std::uint32_t RandomState() {
  if (NeedsSeed) SeedRandom(static_cast<std::uint32_t>(std::time(nullptr)));
  return State;
}

std::uint32_t RandomBelow(std::uint32_t n) {
  if (NeedsSeed) SeedRandom(static_cast<std::uint32_t>(std::time(nullptr)));
  return NextValue() % n;
}

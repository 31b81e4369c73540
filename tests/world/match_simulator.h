// A headless match driven by a scripted player, deterministic from its seed.
#pragma once

#include <cstdint>

struct SimulatedMatch {
  int Steps = 0;                // update steps run
  int DeathStep = -1;           // the step after which the player died; -1 if alive at the end
  int PredictedDeathStep = -1;  // the same, from a separate ledger of enemy fire
  int Score = 0;
  int ShotsFired = 0;
  int Hits = 0;
  int Spawns = 0;
  std::uint64_t Fingerprint = 0;  // hash of the whole course of the match
};

// Plays a match on `difficulty` (0..2): the player stands at the centre with the machine gun,
// aims at the nearest enemy, fires in bursts and reloads when empty. One frame per step.
SimulatedMatch SimulateMatch(int difficulty, std::uint32_t seed, int maxSteps);

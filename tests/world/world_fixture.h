// Test fixture for the match rules: a fresh world on a chosen difficulty, sounds recorded.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "app/random.h"
#include "audio/sound_engine.h"
#include "persist/settings_record.h"
#include "world/game_world.h"
#include "world/match_values.h"

struct DifficultyValues {
  int EnemyCount;
  float EnemyHealth;
  int EnemySpeed;
  int RespawnDelayBase;
  int EngagementDistance;
};

// Beginner, normal, expert, as the settings application derives them.
constexpr DifficultyValues DifficultyTable[3] = {
    {10, 5.0f, 1, 900, 1000},
    {15, 7.0f, 3, 750, 1500},
    {20, 10.0f, 5, 600, 2000},
};

inline void ApplyDifficulty(int difficulty) {
  const DifficultyValues& d = DifficultyTable[difficulty];
  Settings.Difficulty = static_cast<std::uint32_t>(difficulty);
  Settings.EnemyCount = d.EnemyCount;
  Settings.EnemyHealth = d.EnemyHealth;
  Settings.EnemySpeed = d.EnemySpeed;
  Settings.RespawnDelayBase = d.RespawnDelayBase;
  Settings.EngagementDistance = d.EngagementDistance;
}

// Puts every value the rules read into a known state and starts a match.
inline void StartTestMatch(int difficulty, std::uint32_t seed = 1) {
  ApplyDifficulty(difficulty);
  Settings.InitialWeapon = 0;
  Settings.Invincible = 0;
  Settings.Recoil = 0;
  Settings.MouseSensitivity = 50;
  Settings.InvertMouseY = 0;
  Settings.WheelWeaponChange = 1;
  Settings.ScreenWidth = 640;
  Settings.ScreenHeight = 480;
  Settings.EffectsOn = 1;
  Settings.VoiceOn = 1;
  Settings.SoundDistanceScale = 1;
  Settings.SoundDistanceQuarter = 1;
  for (int i = 0; i < KeyBindingCount; ++i) Settings.KeyBindings[i] = 0;
  SeedRandom(seed);
  World.ConstructWorld();
  World.ResetMatch();
  World.GameState = StatePlay;
  World.StateFrameCount = 11;
  RecoilKick = 0;
  ActionProgress = 0;
  MuzzleFlash = 0;
  MuzzleFlashPhase = 0;
  ImpactSoundSlot = 0;
  JumpBaseY = JumpSpeed = 0;
}

class WorldTest : public ::testing::Test {
 protected:
  std::vector<SoundEvent> Played;

  void SetUp() override {
    StartTestMatch(0);
    Played.clear();
    Sound.PlayLog = &Played;
  }
  void TearDown() override { Sound.PlayLog = nullptr; }

  // The body centre (the player's record holds it negated).
  static float CentreX() { return World.PlayerBody[0].X - 30; }
  static float CentreY() { return World.PlayerBody[0].Y + 30; }
  static float CentreZ() { return World.PlayerBody[0].Z - 30; }

  // Puts enemy slot i at a point, active, flying level along +Z.
  static WorldObject& PlaceEnemy(int i, float x, float y, float z) {
    WorldObject& e = World.Enemies[i];
    e = WorldObject{};
    e.X = x;
    e.Y = y;
    e.Z = z;
    e.HP = Settings.EnemyHealth;
    e.SP = Settings.EnemySpeed;
    e.Active = 1;
    World.EnemiesAlive += 1;
    return e;
  }

  int CountPlayed(SoundGroupId group, SoundEvent::Kind action = SoundEvent::Play) const {
    int n = 0;
    for (const auto& e : Played) n += e.Group == group && e.Action == action;
    return n;
  }
};

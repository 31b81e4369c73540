// UpdateGame at full load: every enemy slot active, 30 shots in flight, puffs running.
#include <benchmark/benchmark.h>

#include "app/random.h"
#include "audio/sound_engine.h"
#include "persist/settings_record.h"
#include "world/game_world.h"
#include "world/match_values.h"

namespace {

void ArmShot(int i) {
  WorldObject& s = World.Shots[i];
  s = WorldObject{};
  s.X = -4350.0f + 300.0f * i;
  s.Y = 700;
  s.Z = -5900;
  s.SP = 150;
  s.Active = 1;
}

void SetUpFullLoad() {
  // Expert: 20 enemies, the largest engagement range.
  Settings.EnemyCount = 20;
  Settings.EnemyHealth = 10;
  Settings.EnemySpeed = 5;
  Settings.RespawnDelayBase = 600;
  Settings.EngagementDistance = 2000;
  Settings.InitialWeapon = 0;
  Settings.Invincible = 1;  // the match must not end under the benchmark
  Settings.EffectsOn = 1;
  Settings.VoiceOn = 1;
  Settings.SoundDistanceScale = 1;
  Settings.SoundDistanceQuarter = 1;
  SeedRandom(7);
  World.ResetMatch();
  World.GameState = StatePlay;
  World.UpdatePlayer();
  for (int i = 0; i < EnemySlots; ++i) {
    WorldObject& e = World.Enemies[i];
    e.X = -4750.0f + 500.0f * i;
    e.Y = 300.0f + 40.0f * i;
    e.Z = (i % 2 ? 1 : -1) * (500.0f + 150.0f * i);
    e.AngleX = static_cast<float>((i * 37) % 360);
    e.AngleY = (i % 3) * 10.0f;
    e.HP = 1e9f;  // shots land but never destroy
    e.SP = 5;
    e.Active = 1;
  }
  World.EnemiesAlive = EnemySlots;
  for (int i = 0; i < ShotSlots; ++i) ArmShot(i);
  for (auto& puff : World.Smokes) {
    puff.Active = 1;
    puff.SP = 3;
  }
  TriggerHeld = 1;
}

void UpdateGameFullLoad(benchmark::State& state) {
  SetUpFullLoad();
  for (auto _ : state) {
    World.UpdateGame();
    // Keep the load full: refill the magazine, re-arm spent shots, revive lost enemies.
    World.Weapons[World.CurrentWeapon].Ammo = 30;
    TriggerHeld = 1;
    for (int i = 0; i < ShotSlots; ++i) {
      if (!World.Shots[i].Active) ArmShot(i);
    }
    for (auto& e : World.Enemies) {
      if (!e.Active) {
        e.Active = 1;
        e.X = e.Y = e.Z = 500;
      }
    }
    benchmark::DoNotOptimize(World.Player.HP);
  }
}
BENCHMARK(UpdateGameFullLoad)->Repetitions(10)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();

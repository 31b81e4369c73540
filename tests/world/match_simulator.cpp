// A headless match driven by a scripted player, with a separate ledger of the player's health.
#include "match_simulator.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "app/scene_steps.h"
#include "world_fixture.h"

namespace {

constexpr std::uint32_t ReloadKey = 0x52;

void Mix(std::uint64_t& hash, const void* data, std::size_t size) {
  const auto* bytes = static_cast<const unsigned char*>(data);
  for (std::size_t i = 0; i < size; ++i) hash = (hash ^ bytes[i]) * 1099511628211ull;
}

int NearestEnemy(float cx, float cz) {
  int best = -1;
  float bestDistance = 0;
  for (int i = 0; i < Settings.EnemyCount; ++i) {
    const WorldObject& e = World.Enemies[i];
    if (!e.Active) continue;
    const float d = std::hypot(e.X - cx, e.Z - cz);
    if (best < 0 || d < bestDistance) {
      best = i;
      bestDistance = d;
    }
  }
  return best;
}

// Points the view at enemy `i` and decides whether to shoot, like a steady hand on the mouse.
void ScriptPlayer(int step) {
  const float cx = -World.Player.X, cy = -World.Player.Y, cz = -World.Player.Z;
  WeaponSpec& gun = World.Weapons[World.CurrentWeapon];
  if (gun.Ammo == 0) {
    if (TriggerHeld) World.OnPlayLeftButtonUp();
    if (!World.WeaponBusy && RecoilKick <= 0) World.OnKeyDown(ReloadKey);
    return;
  }
  const int target = NearestEnemy(cx, cz);
  if (target < 0) {
    if (TriggerHeld) World.OnPlayLeftButtonUp();
    return;
  }
  const WorldObject& e = World.Enemies[target];
  const float dx = e.X - cx, dz = e.Z - cz;
  float yaw = std::atan2(-dx, dz) / DegreesToRadians;
  if (yaw < 0) yaw += 360;
  const float pitch = std::atan2(e.Y - (cy + 25), std::hypot(dx, dz)) / DegreesToRadians;
  World.ViewYaw = yaw;
  World.ViewPitch = std::fmax(-69.0f, std::fmin(79.0f, pitch));
  // Bursts of about two seconds with a pause, so the spread narrows again.
  const bool burst = (step / 60) % 3 != 2;
  if (burst && !TriggerHeld) {
    World.OnPlayLeftButtonDown();
  } else if (!burst && TriggerHeld) {
    World.OnPlayLeftButtonUp();
  }
}

}  // namespace

SimulatedMatch SimulateMatch(int difficulty, std::uint32_t seed, int maxSteps) {
  StartTestMatch(difficulty, seed);
  Settings.KeyBindings[KeyReload] = ReloadKey;
  World.UpdatePlayer();  // the player's record now holds the body centre

  SimulatedMatch result;
  const float range = static_cast<float>(Settings.EngagementDistance);
  double ledger = 1000;  // health as the fire bands say it should be
  for (int step = 1; step <= maxSteps; ++step) {
    std::uint8_t wasActive[EnemySlots];
    for (int i = 0; i < EnemySlots; ++i) wasActive[i] = World.Enemies[i].Active;
    const int aliveBefore = World.EnemiesAlive;
    const int scoreBefore = World.LastGameScore;

    ScriptPlayer(step);
    World.UpdateGame();
    World.PlayFrameCount += 1;

    // Every enemy that was there at the start of the step and did not leave over the edge
    // fired once from where it ended up; the player stands still without the scope.
    const float cx = -World.Player.X, cz = -World.Player.Z;
    for (int i = 0; i < Settings.EnemyCount; ++i) {
      const WorldObject& e = World.Enemies[i];
      if (!wasActive[i] || !(e.Active || e.HP <= 0)) continue;
      const double dx = std::trunc(std::fabs(cx - e.X));
      const double dz = std::trunc(std::fabs(cz - e.Z));
      const double distance = std::sqrt(dx * dx + dz * dz);
      if (distance <= range) {
        ledger -= 0.5;
      } else if (distance <= 2 * range) {
        ledger -= 0.25;
      }
    }
    result.Spawns += World.EnemiesAlive - aliveBefore + (World.LastGameScore - scoreBefore);
    if (result.PredictedDeathStep < 0 && ledger < 1) result.PredictedDeathStep = step;

    Mix(result.Fingerprint, &World.Player.HP, sizeof(float));
    Mix(result.Fingerprint, World.Enemies, sizeof World.Enemies);
    Mix(result.Fingerprint, World.Shots, sizeof World.Shots);
    result.Steps = step;
    if (CheckPlayerDeath(World)) {  // the frame's own death check
      result.DeathStep = step;
      break;
    }
  }
  result.Score = World.LastGameScore;
  result.ShotsFired = World.ShotsFired;
  result.Hits = World.Hits;
  return result;
}

// Enemies: drifting, bouncing at the arena faces, firing at the player, dying and respawning.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "app/random.h"
#include "audio/sound_engine.h"
#include "input/pad_input.h"
#include "persist/settings_record.h"
#include "world/game_world.h"

namespace {

struct FireBand {
  float Damage;
  float FlashLevel;
};

// By the player's state (jumping, walking, standing): near band, then far band.
constexpr FireBand NearBand[3] = {{0.3f, 64}, {0.5f, 128}, {1.0f, 192}};
constexpr FireBand FarBand[3] = {{0.2f, 32}, {0.3f, 64}, {0.5f, 128}};

bool AtSteepAngle(std::uint32_t a) { return (a >= 85 && a <= 95) || (a >= 265 && a <= 275); }

}  // namespace

void GameWorld::UpdateEnemies() {
  const int count = std::clamp(Settings.EnemyCount, 0, EnemySlots);
  for (int i = 0; i < count; ++i) {
    WorldObject& e = Enemies[i];
    if (!e.Active) {
      // Every empty slot takes one off the shared countdown.
      SpawnTimer -= 1;
      if (SpawnTimer > 0) continue;
      const auto spanX = static_cast<std::int32_t>(ArenaMaxX - 500);
      const auto spanY = static_cast<std::int32_t>(ArenaCeiling - 500);
      const auto spanZ = static_cast<std::int32_t>(ArenaMaxZ - 500);
      e.X = static_cast<float>(static_cast<std::int32_t>(RandomBelow(2 * spanX)) - spanX);
      e.Y = static_cast<float>(static_cast<std::int32_t>(RandomBelow(spanY)) + 100);
      e.Z = static_cast<float>(static_cast<std::int32_t>(RandomBelow(2 * spanZ)) - spanZ);
      e.AngleX = static_cast<float>(RandomBelow(360));
      std::uint32_t climb = RandomBelow(360);
      Sound.PlayEnemySound(i, EnemySpawned, e.X, e.Y, e.Z);
      while (AtSteepAngle(climb)) climb = RandomBelow(360);
      e.AngleY = static_cast<float>(climb);
      e.HP = Settings.EnemyHealth;
      e.SP = Settings.EnemySpeed;
      e.Active = 1;
      EnemiesAlive += 1;
      // Wide signed arithmetic: late in a match the frame term outgrows the base.
      const std::int64_t base = std::max(Settings.RespawnDelayBase, 1);
      const std::int64_t late = static_cast<std::int64_t>(PlayFrameCount / 10u);
      const std::int64_t next =
          (static_cast<std::int64_t>(RandomBelow(static_cast<std::uint32_t>(base))) + base - late) *
          Settings.EnemyCount;
      if (next > 0) {
        SpawnTimer = static_cast<std::int32_t>(std::min<std::int64_t>(next, INT32_MAX));
      } else {
        SpawnTimer = static_cast<std::int32_t>(
            RandomBelow(static_cast<std::uint32_t>(base)) + base / 2);
      }
      continue;
    }

    const float sp = static_cast<float>(e.SP);
    const bool clear = ArenaMinX + sp < e.X && e.X < ArenaMaxX - sp && ArenaMinZ + sp < e.Z &&
                       e.Z < ArenaMaxZ - sp && ArenaFloor + sp < e.Y && e.Y < ArenaCeiling - sp;
    const float stepX = std::sin(-e.AngleX * DegreesToRadians) * sp;
    const float stepY = std::tan(e.AngleY * DegreesToRadians) * sp;
    const float stepZ = std::cos(-e.AngleX * DegreesToRadians) * sp;
    if (clear) {
      e.X += stepX;
      e.Y += stepY;
      e.Z += stepZ;
    } else {
      e.X -= stepX;
      e.Y -= stepY;
      e.Z -= stepZ;
      e.AngleX = static_cast<float>(RandomBelow(360));
      e.AngleY = static_cast<float>(RandomBelow(360));
      const bool outside = e.X <= ArenaMinX || e.X >= ArenaMaxX || e.Z <= ArenaMinZ ||
                           e.Z >= ArenaMaxZ || e.Y <= ArenaFloor || e.Y >= ArenaCeiling;
      if (outside) {
        // Lost at the edge: not a kill, but the countdown is cut short.
        Sound.PlayEnemySound(i, EnemyStopFiring, e.X, e.Y, e.Z);
        e.Active = 0;
        EnemiesAlive -= 1;
        SpawnTimer = SpawnTimer / 10;
      }
    }

    // Horizontal distance only, each axis truncated to whole units first.
    const float cx = -Player.X;
    const float cz = -Player.Z;
    const auto dx = static_cast<std::int64_t>(std::fabs(cx - e.X));
    const auto dz = static_cast<std::int64_t>(std::fabs(cz - e.Z));
    EnemyDistance = static_cast<float>(std::sqrt(static_cast<double>(dx * dx + dz * dz)));

    // An enemy just lost at the edge has had its gun stopped; firing now would restart that
    // looping sound for an empty slot.
    if (!e.Active) continue;

    const float range = static_cast<float>(Settings.EngagementDistance);
    if (EnemyDistance <= 2 * range) {
      const bool near = EnemyDistance <= range;
      Sound.PlayEnemySound(i, EnemyFiring, e.X, e.Y, e.Z);
      const bool replaceable = FlashActive == 0 || FlashKind == FlashFadeIn || FlashKind == FlashZoom;
      float d = 0;
      if (!Settings.Invincible && Player.Active == 1) {
        int state = 2;  // standing
        if (JumpPhase != 0) {
          state = 0;
        } else if (KeyForwardHeld || KeyBackHeld || KeyLeftHeld || KeyRightHeld) {
          state = 1;
        }
        const FireBand& band = near ? NearBand[state] : FarBand[state];
        d = band.Damage;
        if (replaceable) FlashLevel = band.FlashLevel;
      }
      if (ScopeOn) d = 2 * d;
      Player.HP -= d / 2;
      if (replaceable) {
        FlashKind = FlashDamage;
        FlashActive = 1;
        Pad.RumbleDamage();
      }
    } else {
      Sound.PlayEnemySound(i, EnemyStopFiring, e.X, e.Y, e.Z);
    }

    if (e.HP <= 0) {
      e.Active = 0;
      EnemiesAlive -= 1;
      LastGameScore += 1;
      SpawnTimer -= 50;
      Sound.PlayEnemySound(i, EnemyStopFiring, e.X, e.Y, e.Z);
      Sound.PlayEnemySound(i, EnemyDestroyed, e.X, e.Y, e.Z);
    }
  }
}

// The records shared by everything in the arena: WorldObject, SceneVertex, WeaponSpec.
#pragma once

#include <cstdint>

// Player, enemies, shots, smoke puffs, trees and title-menu items all use this one record.
struct WorldObject {
  float X = 0;
  float Y = 0;
  float Z = 0;
  float AngleX = 0;  // heading, degrees; 0 looks along +Z
  float AngleY = 0;  // elevation, degrees; used through its tangent
  float HP = 0;
  std::int32_t SP = 0;
  std::uint8_t Active = 0;
};

// Position, ARGB colour, one texture coordinate pair: the vertex of every hand-built shape.
struct SceneVertex {
  float X = 0;
  float Y = 0;
  float Z = 0;
  std::uint32_t Colour = 0;
  float U = 0;
  float V = 0;
};
static_assert(sizeof(SceneVertex) == 24, "SceneVertex is streamed to the device as 24 bytes");

struct WeaponSpec {
  std::uint8_t HasKick = 0;
  std::int32_t FireInterval = 0;  // steps between shots
  float ActionRate = 0;
  std::int32_t Ammo = 0;  // rounds left in the magazine
  std::int32_t MagazineSize = 0;
};

enum WeaponId : std::int32_t {
  WeaponMachineGun = 0,
  WeaponRifle = 1,
  WeaponHandgun = 2,
  WeaponCount = 3,
};

// WeaponAction values.
enum WeaponActionId : std::int32_t {
  ActionNone = 0,
  ActionChange = 1,
  ActionReloadMachineGun = 2,
  ActionReloadRifle = 3,
  ActionReloadHandgun = 4,
  ActionBolt = 8,
};

// FlashKind values of the full-screen flash.
enum FlashKindId : std::int32_t {
  FlashNone = 0,
  FlashDamage = 1,
  FlashZoom = 2,
  FlashFadeIn = 9,
  FlashDeath = 10,
};

// Enemy sound events sent to the sound engine.
enum EnemySoundEvent : int {
  EnemySpawned = 1,
  EnemyHit = 2,
  EnemyDestroyed = 3,
  EnemyFiring = 4,
  EnemyStopFiring = 5,
};

constexpr int EnemySlots = 20;
constexpr int ShotSlots = 30;
constexpr int SmokeSlots = 30;
constexpr int TreeCount = 40;
constexpr int MenuItemCount = 6;
constexpr int CubeVertexCount = 24;
constexpr int SmokeVertexCount = 12;

// Degrees to radians, as the game has always rounded it.
constexpr float DegreesToRadians = 0.017453292f;

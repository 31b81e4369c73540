// The match state as bytes: one list of fields serves saving, restoring and the checksum.
#include "app/match_state.h"

#include <cstring>

#include "app/random.h"
#include "world/game_world.h"
#include "world/match_values.h"

namespace {

// Calls `field(pointer, size)` for each value, in one fixed order. Records are taken field by
// field, so padding never reaches the bytes.
template <typename F>
void VisitMatchState(GameWorld& w, F&& field) {
  auto value = [&](auto& v) { field(&v, sizeof v); };
  auto object = [&](WorldObject& o) {
    value(o.X);
    value(o.Y);
    value(o.Z);
    value(o.AngleX);
    value(o.AngleY);
    value(o.HP);
    value(o.SP);
    value(o.Active);
  };
  // Scene counters: the frozen frames, the enemies' late-match term, the flash.
  value(w.GameState);
  value(w.StateFrameCount);
  value(w.TransitionActive);
  value(w.PlayFrameCount);
  value(w.FlashActive);
  value(w.FlashLevel);
  value(w.FlashKind);

  object(w.Player);
  for (WorldObject& e : w.Enemies) object(e);
  for (WorldObject& s : w.Shots) object(s);
  for (WorldObject& s : w.Smokes) object(s);
  // The body's corners carry the player's position from step to step.
  for (SceneVertex& v : w.PlayerBody) {
    value(v.X);
    value(v.Y);
    value(v.Z);
  }
  for (WeaponSpec& g : w.Weapons) {
    value(g.HasKick);
    value(g.FireInterval);
    value(g.ActionRate);
    value(g.Ammo);
    value(g.MagazineSize);
  }

  value(w.KeyForwardHeld);
  value(w.KeyBackHeld);
  value(w.KeyLeftHeld);
  value(w.KeyRightHeld);
  value(w.KeyTurnLeftHeld);
  value(w.KeyTurnRightHeld);
  value(w.JumpActive);
  value(w.JumpKeyHeld);
  value(w.JumpPhase);
  value(w.ViewYaw);
  value(w.ViewPitch);
  value(w.ViewOffset);
  value(w.MouseDirX);
  value(w.MouseDirY);
  value(w.SpawnTimer);
  value(w.EnemiesAlive);
  value(w.EnemyDistance);
  value(w.CurrentWeapon);
  value(w.SelectedWeapon);
  value(w.BurstCount);
  value(w.FireCooldown);
  value(w.WeaponBusy);
  value(w.ActionRising);
  value(w.WeaponAction);
  value(w.ScopeOn);
  value(w.OverlayDepthOffset);
  value(w.ShotsFired);
  value(w.Hits);
  value(w.SmokeNext);
  value(w.WheelDir);
  value(w.LastGameScore);

  value(TriggerHeld);
  value(RecoilKick);
  value(ActionProgress);
  value(MuzzleFlash);
  value(MuzzleFlashPhase);
  value(WheelDelta);
  value(ImpactSoundSlot);
  value(JumpBaseY);
  value(JumpSpeed);
  value(MouseDeltaX);
  value(MouseDeltaY);
  // The cursor position in client pixels; MouseX and MouseY follow from it and the back-buffer
  // size, which a replay may change, and only the debug lines show them.
  value(WindowCursorX);
  value(WindowCursorY);
}

std::uint32_t Fnv(std::uint32_t hash, const void* data, std::size_t size) {
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  for (std::size_t i = 0; i < size; ++i) hash = (hash ^ bytes[i]) * 16777619u;
  return hash;
}

}  // namespace

std::vector<std::uint8_t> SaveMatchState() {
  std::vector<std::uint8_t> bytes;
  VisitMatchState(World, [&](const void* p, std::size_t n) {
    const auto* b = static_cast<const std::uint8_t*>(p);
    bytes.insert(bytes.end(), b, b + n);
  });
  return bytes;
}

bool RestoreMatchState(const std::vector<std::uint8_t>& bytes) {
  std::size_t size = 0;
  VisitMatchState(World, [&](const void*, std::size_t n) { size += n; });
  if (size != bytes.size()) return false;
  std::size_t at = 0;
  VisitMatchState(World, [&](void* p, std::size_t n) {
    std::memcpy(p, bytes.data() + at, n);
    at += n;
  });
  // The camera follows the scope.
  World.SetupCamera(World.ScopeOn ? 15.0f : 45.0f);
  return true;
}

std::uint32_t MatchChecksum() { return MatchChecksum(RandomState()); }

std::uint32_t MatchChecksum(std::uint32_t randomState) {
  std::uint32_t hash = 2166136261u;
  VisitMatchState(World, [&](const void* p, std::size_t n) { hash = Fnv(hash, p, n); });
  return Fnv(hash, &randomState, sizeof randomState);
}

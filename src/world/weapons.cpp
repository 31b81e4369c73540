// Weapons: the trigger, shots in flight and their hits, weapon actions, kick and the scope.
#include <cmath>

#include "app/random.h"
#include "audio/sound_engine.h"
#include "input/dxinput.h"
#include "persist/settings_record.h"
#include "world/game_world.h"
#include "world/match_values.h"

namespace {

constexpr float EnemyDamage[WeaponCount] = {1, 5, 2};

float ActionTarget(std::int32_t action) {
  switch (action) {
    case ActionChange: return 5.0f;
    case ActionReloadMachineGun:
    case ActionReloadRifle: return 9.0f;
    case ActionReloadHandgun: return 7.0f;
    case ActionBolt: return 6.0f;
    default: return 0.0f;
  }
}

bool IsReload(std::int32_t action) {
  return action == ActionReloadMachineGun || action == ActionReloadRifle ||
         action == ActionReloadHandgun;
}

}  // namespace

void GameWorld::UpdateTrigger() {
  if (TriggerHeld == 0) BurstCount = 0;
  if (TriggerHeld == 1 && Player.Active == 1) {
    if (FireCooldown > 0) {
      FireCooldown -= 1;
      return;
    }
    WeaponSpec& w = Weapons[CurrentWeapon];
    FireCooldown = w.FireInterval;
    BurstCount += 1;
    if (w.Ammo >= 1 && WeaponBusy == 0 && RecoilKick == 0) {
      Sound.PlayShot(CurrentWeapon);
      FireShot();
      ShotsFired += 1;
      w.Ammo -= 1;
      if (CurrentWeapon == WeaponRifle) {
        RecoilKick = 2.0f;
        if (Settings.Recoil) ViewPitch += 1.0f;
      } else if (CurrentWeapon == WeaponHandgun) {
        RecoilKick = 1.2f;
        if (Settings.Recoil) ViewPitch += 0.5f;
      }
    } else {
      BurstCount = 0;
    }
  } else {
    FireCooldown = 0;
  }
}

void GameWorld::FireShot() {
  int slot = 0;
  while (slot < ShotSlots && Shots[slot].Active != 0) ++slot;
  if (slot == ShotSlots) return;

  std::int32_t sx = 0;
  std::int32_t sy = 0;
  if (CurrentWeapon == WeaponMachineGun) {
    // The spread widens by 2 every 3 attempts of a burst.
    const auto n = static_cast<std::int32_t>(BurstCount / 1.5) + 10;
    sx = static_cast<std::int32_t>(RandomBelow(static_cast<std::uint32_t>(n))) - n / 2;
    sy = static_cast<std::int32_t>(RandomBelow(static_cast<std::uint32_t>(n))) - n / 2;
  } else if (CurrentWeapon == WeaponRifle && !ScopeOn) {
    sx = static_cast<std::int32_t>(RandomBelow(4)) - 2;
    sy = static_cast<std::int32_t>(RandomBelow(4)) - 2;
  }
  const float spreadX = static_cast<float>(sx * 0.1);
  const float spreadY = static_cast<float>(sy * 0.1);

  const float cx = -Player.X;
  const float cy = -Player.Y;
  const float cz = -Player.Z;
  WorldObject& s = Shots[slot];
  if (ScopeOn) {
    // Straight ahead of the eye.
    s.X = cx + std::sin(-ViewYaw * DegreesToRadians) * 20;
    s.Z = cz + std::cos(-ViewYaw * DegreesToRadians) * 20;
  } else {
    // From the weapon, held out to the right of the view.
    s.X = cx + std::sin((70 - ViewYaw) * DegreesToRadians) * 20;
    s.Z = cz + std::cos((70 - ViewYaw) * DegreesToRadians) * 20;
  }
  s.Y = cy + 25 + std::tan(ViewPitch * DegreesToRadians) * 20;
  s.AngleX = ViewYaw + spreadX;
  s.AngleY = ViewPitch + spreadY;
  s.SP = 150;
  s.Active = 1;
}

void GameWorld::UpdateShots() {
  const int enemyCount = Settings.EnemyCount < EnemySlots ? Settings.EnemyCount : EnemySlots;
  for (int i = 0; i < ShotSlots; ++i) {
    WorldObject& s = Shots[i];
    if (s.SP >= 15000) s.Active = 0;
    if (s.Active) {
      s.SP += 300;
      const float stepX = std::sin(-s.AngleX * DegreesToRadians) * 30;
      const float stepY = std::tan(s.AngleY * DegreesToRadians) * 30;
      const float stepZ = std::cos(-s.AngleX * DegreesToRadians) * 30;
      int surface = 0;  // 1 wall, 2 ground
      int enemy = -1;
      for (int sub = 0; sub < 10; ++sub) {
        s.X += stepX;
        s.Y += stepY;
        s.Z += stepZ;
        if (s.X <= ArenaMinX || s.X >= ArenaMaxX || s.Z >= ArenaMaxZ || s.Z <= ArenaMinZ) {
          s.Active = 0;
          surface = 1;
          break;
        }
        if (s.Y <= ArenaFloor) {
          s.Active = 0;
          surface = 2;
          break;
        }
        if (s.Y >= ArenaCeiling) {
          s.Active = 0;  // lost in the sky: no puff, no sound
          break;
        }
        for (int j = 0; j < enemyCount; ++j) {
          const WorldObject& e = Enemies[j];
          if (e.Active == 1 && std::fabs(s.X - e.X) <= 40 && std::fabs(s.Y - e.Y) <= 40 &&
              std::fabs(s.Z - e.Z) <= 40) {
            enemy = j;
            break;
          }
        }
        if (enemy >= 0) {
          s.Active = 0;
          Hits += 1;
          // The weapon in hand now decides the damage, not the one that fired.
          Enemies[enemy].HP -= EnemyDamage[CurrentWeapon];
          break;
        }
      }
      if (surface != 0 || enemy >= 0) {
        SmokeNext = SmokeNext == SmokeSlots - 1 ? 0 : SmokeNext + 1;
        WorldObject& puff = Smokes[SmokeNext];
        puff.Active = 1;
        puff.HP = 0;
        puff.SP = 3;
        for (int v = 0; v < SmokeVertexCount; ++v) {
          SmokeVertices[SmokeNext][v].X = SmokeTemplate[v].X + s.X;
          SmokeVertices[SmokeNext][v].Y = SmokeTemplate[v].Y + s.Y;
          SmokeVertices[SmokeNext][v].Z = SmokeTemplate[v].Z + s.Z;
        }
        if (surface != 0) {
          Sound.PlayImpact(ImpactSoundSlot, surface, s.X, s.Y, s.Z);
          ImpactSoundSlot = ImpactSoundSlot + 1 == 20 ? 0 : ImpactSoundSlot + 1;
        } else {
          const WorldObject& e = Enemies[enemy];
          Sound.PlayEnemySound(0, EnemyHit, e.X, e.Y, e.Z);
        }
      }
    }
    for (int v = 0; v < CubeVertexCount; ++v) {
      const SceneVertex& b = PlayerBody[v];
      SceneVertex& m = ShotMeshes[i][v];
      m.X = s.X + (b.X - s.X) / 15;
      m.Y = s.Y + (b.Y - s.Y) / 15;
      m.Z = s.Z + (b.Z - s.Z) / 15;
    }
  }
}

void GameWorld::UpdateWeapon() {
  const float target = ActionTarget(WeaponAction);
  const float px = Player.X, py = Player.Y, pz = Player.Z;

  if (TriggerHeld && Weapons[CurrentWeapon].Ammo >= 1 && WeaponBusy == 0 && Player.Active == 1) {
    if (MuzzleFlashPhase == 1) {
      MuzzleFlash = 0.4f;
      MuzzleFlashPhase = 0;
    } else {
      MuzzleFlash = 0;
      MuzzleFlashPhase = 1;
    }
    if (Settings.Recoil) ViewPitch += static_cast<float>(RandomBelow(10)) * 0.01f;
  } else {
    MuzzleFlash = 0;
    MuzzleFlashPhase = 1;
  }

  const float rate = Weapons[CurrentWeapon].ActionRate;
  if (WeaponBusy == 0 || WeaponAction == 0) {
    ActionProgress = 0;
  } else if (ActionRising) {
    if (ActionProgress >= target) {
      // The top of the action: the bolt cycles, the magazine fills, the weapon changes hands.
      ActionRising = 0;
      if (WeaponAction == ActionBolt) Sound.PlayShellSound(px, py, pz);
      if (IsReload(WeaponAction)) {
        Sound.PlayReload(CurrentWeapon, px, py, pz);
        Weapons[CurrentWeapon].Ammo = Weapons[CurrentWeapon].MagazineSize;
      }
      if (CurrentWeapon != SelectedWeapon) {
        Sound.PlayReload(CurrentWeapon, px, py, pz);
        CurrentWeapon = SelectedWeapon;
      }
    } else {
      ActionProgress += rate / 2;
    }
  } else if (ActionProgress > 0) {
    ActionProgress -= rate;
  } else {
    WeaponBusy = 0;
    WeaponAction = 0;
  }

  if (Weapons[CurrentWeapon].HasKick == 1 && WeaponBusy == 0) {
    if (RecoilKick >= 0.1f) {
      RecoilKick -= 0.1f;
      if (Settings.Recoil) ViewPitch += 0.1f;
      if (CurrentWeapon == WeaponRifle && RecoilKick <= 0.1f) StartWeaponAction(ActionBolt);
    } else {
      RecoilKick = 0;
    }
  } else {
    RecoilKick = 0;
  }
}

void GameWorld::StartWeaponAction(std::int32_t action) {
  // A change or a reload lowers the scope; the bolt keeps it up.
  if (ScopeOn && action != ActionBolt) {
    ScopeOn = 0;
    SetScope(0);
  }
  TriggerHeld = 0;
  WeaponBusy = 1;
  ActionRising = 1;
  WeaponAction = action;
}

void GameWorld::SelectWeapon(std::int32_t kind, std::int32_t value) {
  if (WeaponBusy == 1 || GameState != StatePlay || RecoilKick > 0) return;
  SelectedWeapon = CurrentWeapon;
  if (kind == 1) {
    SelectedWeapon += 1;
  } else if (kind == 2) {
    SelectedWeapon -= 1;
  } else if (kind == -1) {
    SelectedWeapon = value;
  }
  if (SelectedWeapon >= WeaponCount) SelectedWeapon = 0;
  if (SelectedWeapon < 0) SelectedWeapon = WeaponCount - 1;
  if (SelectedWeapon != CurrentWeapon) StartWeaponAction(ActionChange);
}

void GameWorld::SetScope(std::uint8_t on) {
  if (on) {
    OverlayDepthOffset = 2.79f;
    SetupCamera(15);
    FlashLevel = 255;
  } else {
    OverlayDepthOffset = 0;
    SetupCamera(45);
    FlashLevel = 128;
  }
  FlashActive = 1;
  FlashKind = FlashZoom;
}

void GameWorld::OnMouseWheel() {
  WheelDelta = static_cast<float>(Mouse.MouseState.Wheel);
  WheelDir = WheelDelta >= 1 ? 1 : (WheelDelta <= -1 ? 2 : 0);
  if (Settings.WheelWeaponChange && WheelDir != 0 && Player.Active == 1) SelectWeapon(WheelDir, 0);
}

void GameWorld::OnMouseButtons() {
  // Only sets the latch; releases arrive as window messages.
  if (Mouse.MouseState.Buttons[0] & 0x80) TriggerHeld = 1;
}

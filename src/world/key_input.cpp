// The play keys and mouse buttons as the window procedure hands them over.
#include "app/app_globals.h"
#include "app/frame_timer.h"
#include "audio/sound_engine.h"
#include "persist/settings_record.h"
#include "world/game_world.h"
#include "world/match_values.h"

namespace {
constexpr std::uint32_t KeyEscape = 0x1B;
}  // namespace

void GameWorld::OnKeyDown(std::uint32_t key) {
  const std::uint32_t* bound = Settings.KeyBindings;
  const bool alive = Player.Active == 1;
  // First binding whose key and condition both hold wins; a failed condition falls through.
  if (key == bound[KeyForward] && alive) {
    KeyForwardHeld = 1;
  } else if (key == bound[KeyBack] && alive) {
    KeyBackHeld = 1;
  } else if (key == bound[KeyLeft] && alive) {
    KeyLeftHeld = 1;
  } else if (key == bound[KeyRight] && alive) {
    KeyRightHeld = 1;
  } else if (key == bound[KeyTurnLeft]) {
    KeyTurnLeftHeld = 1;
  } else if (key == bound[KeyTurnRight]) {
    KeyTurnRightHeld = 1;
  } else if (key == bound[KeyJump] && alive) {
    if (JumpPhase == 0 && JumpActive == 0) {
      JumpKeyHeld = 1;
      JumpActive = 1;
    }
  } else if (key == bound[KeyAttack] && alive) {
    if (GameState == StatePlay) TriggerHeld = 1;
  } else if (key == bound[KeyWeapon] && alive) {
    SelectWeapon(1, 0);
  } else if (key == bound[KeyReload] && alive) {
    if (GameState == StatePlay && Weapons[CurrentWeapon].Ammo != Weapons[CurrentWeapon].MagazineSize &&
        WeaponBusy == 0 && TriggerHeld == 0 && RecoilKick <= 0) {
      StartWeaponAction(CurrentWeapon + 2);
    }
  } else if ((key == 0x31 || key == 0x61) && alive) {
    SelectWeapon(-1, WeaponMachineGun);
  } else if ((key == 0x32 || key == 0x62) && alive) {
    SelectWeapon(-1, WeaponRifle);
  } else if ((key == 0x33 || key == 0x63) && alive) {
    SelectWeapon(-1, WeaponHandgun);
  }

  // Escape quits from anywhere, except during the first frames of the title.
  if (key == KeyEscape && (GameState != StateTitle || StateFrameCount > 10)) {
    StopFrameTimer();
    PostMessage(MainWindow, WM_CLOSE, 0, 0);
  }
}

void GameWorld::OnKeyUp(std::uint32_t key) {
  const std::uint32_t* bound = Settings.KeyBindings;
  if (key == bound[KeyForward]) {
    KeyForwardHeld = 0;
  } else if (key == bound[KeyBack]) {
    KeyBackHeld = 0;
  } else if (key == bound[KeyLeft]) {
    KeyLeftHeld = 0;
  } else if (key == bound[KeyRight]) {
    KeyRightHeld = 0;
  } else if (key == bound[KeyTurnLeft]) {
    KeyTurnLeftHeld = 0;
  } else if (key == bound[KeyTurnRight]) {
    KeyTurnRightHeld = 0;
  } else if (key == bound[KeyJump]) {
    JumpKeyHeld = 0;  // the jump itself runs on
  } else if (key == bound[KeyAttack]) {
    if (GameState == StatePlay) {
      TriggerHeld = 0;
      BurstCount = 0;
      Sound.StopHeartbeat();
    }
  }
}

bool GameWorld::OnPlayLeftButtonDown() {
  if (GameState != StatePlay || Player.Active != 1) return false;
  TriggerHeld = 1;
  return true;
}

void GameWorld::OnPlayLeftButtonUp() {
  if (GameState != StatePlay) return;
  TriggerHeld = 0;
  // Letting go of the machine gun kicks it once (which also holds off the next burst).
  if (CurrentWeapon == WeaponMachineGun && RecoilKick <= 0 && Weapons[WeaponMachineGun].Ammo != 0 &&
      Player.Active == 1) {
    RecoilKick = 1.0f;
  }
  BurstCount = 0;
  Sound.StopHeartbeat();
}

bool GameWorld::OnPlayRightButtonDown() {
  if (GameState != StatePlay || Player.Active != 1 || CurrentWeapon != WeaponRifle ||
      SelectedWeapon != WeaponRifle || WeaponAction == ActionReloadRifle) {
    return false;
  }
  ScopeOn = ScopeOn ? 0 : 1;
  SetScope(ScopeOn);
  return true;
}

// The player: walking with wall sliding, the fixed jump curve, turning and the view limits.
#include <cmath>

#include "input/dxinput.h"
#include "persist/settings_record.h"
#include "world/game_world.h"
#include "world/match_values.h"

void GameWorld::UpdatePlayer() {
  if (Player.Active == 1) {
    if (KeyForwardHeld) {
      WalkPlayer(0);
    } else if (KeyBackHeld) {
      WalkPlayer(180);
    }
    if (KeyLeftHeld) {
      WalkPlayer(90);
    } else if (KeyRightHeld) {
      WalkPlayer(270);
    }
  }
  if (JumpActive) StepJump();
  if (KeyTurnLeftHeld) {
    LookBy(-5, 0);
  } else if (KeyTurnRightHeld) {
    LookBy(5, 0);
  }

  // Vertex 0 is the corner (+30, -30, +30) from the body centre.
  const SceneVertex& b = PlayerBody[0];
  Player.X = -(b.X - 30);
  Player.Y = -(b.Y + 30);
  Player.Z = -(b.Z - 30);
  ViewOffset[0] = -(b.X - 30);
  ViewOffset[1] = -(b.Y + 30) - 30;
  ViewOffset[2] = -(b.Z - 30);
}

void GameWorld::WalkPlayer(float offset) {
  float a = offset + ViewYaw;
  if (a >= 360) a -= 360;
  const float speed = static_cast<float>(Player.SP);
  const float dx = std::sin(-a * DegreesToRadians) * speed;
  const float dz = std::cos(-a * DegreesToRadians) * speed;
  bool blockedX = false;
  bool blockedZ = false;
  for (auto& v : PlayerBody) {
    v.X += dx;
    if (v.X <= ArenaMinX || v.X >= ArenaMaxX) blockedX = true;
    v.Z += dz;
    if (v.Z >= ArenaMaxZ || v.Z <= ArenaMinZ) blockedZ = true;
  }
  // Undoing only the blocked axis lets the body slide along a wall.
  for (auto& v : PlayerBody) {
    if (blockedX) v.X -= dx;
    if (blockedZ) v.Z -= dz;
  }
}

void GameWorld::StepJump() {
  const float walkSpeed = static_cast<float>(Player.SP);
  if (JumpPhase == 0) {
    JumpBaseY = PlayerBody[0].Y;
    JumpPhase = 1;
    JumpSpeed = walkSpeed * 1.5f;
  }
  if (JumpPhase == 1) {
    if (JumpBaseY + 300 > PlayerBody[0].Y) {
      if (JumpSpeed >= 1) JumpSpeed -= 0.5f;
      bool hitCeiling = false;
      for (auto& v : PlayerBody) {
        v.Y += JumpSpeed;
        if (v.Y > ArenaCeiling) hitCeiling = true;
      }
      if (hitCeiling) {
        for (auto& v : PlayerBody) v.Y -= JumpSpeed;
      }
    } else {
      JumpPhase = 2;
    }
  }
  if (JumpPhase == 2) {
    if (PlayerBody[0].Y > JumpBaseY) {
      bool belowFloor = false;
      for (auto& v : PlayerBody) {
        v.Y -= JumpSpeed;
        if (v.Y < ArenaFloor + 200) belowFloor = true;
      }
      if (belowFloor) {
        for (auto& v : PlayerBody) v.Y += JumpSpeed;
      }
      if (walkSpeed * 1.5f >= JumpSpeed) JumpSpeed += 0.5f;
    } else {
      JumpPhase = 3;
    }
  }
  if (JumpPhase == 3) {
    // A new jump needs the key released after landing.
    if (JumpKeyHeld == 0) {
      JumpPhase = 0;
      JumpActive = 0;
    }
  }
}

void GameWorld::LookBy(float dx, float dy) {
  const float s = static_cast<float>(Settings.MouseSensitivity) * 0.005f;
  const float sy = Settings.InvertMouseY ? -s : s;
  if (ViewPitch >= -70 && ViewPitch <= 80) {
    float turn = dy * sy;
    if (ScopeOn) turn /= 2;
    ViewPitch += turn;
  }
  float turn = dx * s;
  if (ScopeOn) turn /= 2;
  // The scene turns by RotationY(ViewYaw), so a turn to the right lowers the yaw.
  ViewYaw -= turn;
}

void GameWorld::ClampView() {
  if (ViewPitch > 80) {
    ViewPitch = 79.999f;
  } else if (ViewPitch < -70) {
    ViewPitch = -69.999f;
  }
  if (ViewYaw > 360) {
    ViewYaw = 0;
  } else if (ViewYaw < 0) {
    ViewYaw = 360 + ViewYaw;
  }
}

void GameWorld::OnMouseMove(LPARAM position) {
  MouseDeltaX = static_cast<float>(Mouse.MouseState.DeltaX);
  MouseDeltaY = static_cast<float>(Mouse.MouseState.DeltaY);
  const auto packed = static_cast<std::uint32_t>(position);
  WindowCursorX = static_cast<float>(packed & 0xFFFFu);
  WindowCursorY = static_cast<float>(packed >> 16);
  MouseX = WindowCursorX - static_cast<float>(Settings.ScreenWidth) / 2;
  MouseY = static_cast<float>(Settings.ScreenHeight) / 2 - WindowCursorY;
  MouseDirX = MouseDeltaX >= 1 ? 1 : (MouseDeltaX <= -1 ? 2 : 0);
  MouseDirY = MouseDeltaY >= 1 ? 1 : (MouseDeltaY <= -1 ? 2 : 0);
  if (MouseDirX != 0 || MouseDirY != 0) LookBy(MouseDeltaX, MouseDeltaY);
}

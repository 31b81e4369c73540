// The heaviest play frame, shared by the benchmarks: every effect on, the arena full, the scope up.
#pragma once

#include <unistd.h>

#include <string>

#include "bench_device.h"
#include "dialogs/settings_apply.h"
#include "graphics/mesh_models.h"
#include "scene/play_scene.h"

namespace heaviest {

inline bool Loaded = false;

// The device at the asked size, the default pack loaded once, every display switch on.
inline bool EnsureMatch(int width, int height) {
  if (!Loaded) {
    std::string folder;
    if (!FindPackFolder(folder) || chdir(folder.c_str()) != 0) return false;
  }
  if (!OpenBenchDevice(width, height)) return false;
  if (!Loaded) {
    if (!World.LoadTextures() || !Models.LoadModels()) return false;
    Loaded = true;
  }
  World.ApplyViewSettings();
  Settings.Difficulty = 2;
  Settings.CursorStyle = 1;
  Settings.CursorAlpha = Settings.CursorRed = 255;
  Settings.UseMipmaps = 1;
  Settings.MipmapLevel = 3;
  Settings.ShowGun = Settings.ShowEnemies = Settings.ShowBullets = Settings.ShowTrees = 1;
  Settings.ShowAimCursor = Settings.ShowStatus = Settings.UseFog = Settings.ShowFps = 1;
  Settings.ShowSelf = Settings.ShowPosition = Settings.ShowEnemyInfo = 0;
  ApplySettings();
  World.ResetMatch();
  World.UpdatePlayer();
  // A benchmark before may have left the scope up: its camera and overlay depth go together.
  World.ScopeOn = 0;
  World.SetScope(0);
  return true;
}

// Everything in the arena at once, spread through the view ahead; the scope as asked.
inline void FillTheArena(bool scope) {
  for (int i = 0; i < EnemySlots; ++i) {
    WorldObject& e = World.Enemies[i];
    e.Active = 1;
    e.X = static_cast<float>((i % 5) - 2) * 150;
    e.Y = 150 + static_cast<float>(i / 5) * 60;
    e.Z = 900 + static_cast<float>(i) * 40;
    e.AngleX = static_cast<float>(i * 17);
  }
  for (int i = 0; i < ShotSlots; ++i) {
    World.Shots[i].Active = 1;
    for (SceneVertex& v : World.ShotMeshes[i]) {
      v.X += static_cast<float>((i % 6) - 3) * 40;
      v.Z += 300 + static_cast<float>(i) * 20;
    }
  }
  for (int i = 0; i < SmokeSlots; ++i) {
    for (int v = 0; v < SmokeVertexCount; ++v) {
      World.SmokeVertices[i][v].X = World.SmokeTemplate[v].X + static_cast<float>((i % 6) - 3) * 120;
      World.SmokeVertices[i][v].Y = World.SmokeTemplate[v].Y + 100;
      World.SmokeVertices[i][v].Z = World.SmokeTemplate[v].Z + 700 + static_cast<float>(i) * 30;
    }
  }
  for (WorldObject& tree : World.Trees) tree.Active = 1;
  World.ScopeOn = scope ? 1 : 0;
  World.SetScope(scope ? 1 : 0);
}

// Keeps every puff and the flash running, so each frame draws all of them.
inline void KeepEffectsRunning() {
  for (WorldObject& puff : World.Smokes) {
    puff.Active = 1;
    puff.HP = 3;
    puff.SP = 3;
  }
  World.FlashActive = 1;
  World.FlashKind = FlashDamage;
  World.FlashLevel = 192;
}

}  // namespace heaviest

// The heaviest play frame on the default pack against the fill-rate floor of its full-screen layers.
#include <benchmark/benchmark.h>

#include "bench_device.h"

#include <unistd.h>

#include <cstdlib>
#include <string>
#include <sys/stat.h>

#include "app/app_globals.h"
#include "dialogs/settings_apply.h"
#include "graphics/mesh_models.h"
#include "graphics/text_renderer.h"
#include "persist/settings_record.h"
#include "platform/render/render_device.h"
#include "scene/play_scene.h"
#include "world/game_world.h"

// Offscreen frames are timed up to a finish: swaps there do not wait for the drawing.
namespace {

bool Ready = false;

bool EnterPack() {
  std::string folder;
  return FindPackFolder(folder) && chdir(folder.c_str()) == 0;
}

// The device at the asked size, the default pack loaded once, every display switch on.
bool EnsureMatch(int width, int height) {
  if (!Ready && !EnterPack()) return false;
  if (!OpenBenchDevice(width, height)) return false;
  if (!Ready) {
    if (!World.LoadTextures() || !Models.LoadModels()) return false;
    Ready = true;
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
  return true;
}

// Everything in the arena at once, spread through the view ahead.
void FillTheArena() {
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
  World.ScopeOn = 1;
  World.SetScope(1);
}

void BM_HeaviestPlayFrame(benchmark::State& state) {
  if (!EnsureMatch(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)))) {
    state.SkipWithError("no device or no default pack (set KORVID_GAME_DIR)");
    return;
  }
  FillTheArena();
  // The first frames compile the shader variants; they are not what a match frame costs.
  for (int i = 0; i < 5; ++i) World.RenderPlayFrame();
  World.Device->Finish();
  for (auto _ : state) {
    // Keep every puff and the flash running.
    for (WorldObject& puff : World.Smokes) {
      puff.Active = 1;
      puff.HP = 3;
      puff.SP = 3;
    }
    World.FlashActive = 1;
    World.FlashKind = FlashDamage;
    World.FlashLevel = 192;
    World.RenderPlayFrame();
    World.Device->Finish();
  }
  World.SetFog(false);
}

// Clearing and drawing the frame's full-screen layers: the sky, the arena, the flash, the scope
// and the status frame, with their own pictures.
void BM_PlayFillFloor(benchmark::State& state) {
  if (!EnsureMatch(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)))) {
    state.SkipWithError("no device or no default pack (set KORVID_GAME_DIR)");
    return;
  }
  World.SetScope(1);
  RenderDevice* device = World.Device;
  const int layers[5] = {TexSky, TexGround, TexBlank, TexScope, TexWindow};
  auto frame = [&] {
    World.BeginFrame(World.FogColour);
    device->SetRenderState(D3DRS_LIGHTING, 0);
    for (int layer : layers) {
      World.SetSpriteTransform(1, 0, 0, 1.3f + World.OverlayDepthOffset, 0, 0, 0);
      device->SetVertexShader(SceneVertexFormat);
      device->SetTexture(0, World.Textures[layer]);
      device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, World.ScreenQuad, sizeof(SceneVertex));
    }
    World.EndFrame();
    device->Finish();
  };
  for (int i = 0; i < 5; ++i) frame();
  for (auto _ : state) frame();
}

BENCHMARK(BM_PlayFillFloor)->Args({640, 480})->Args({1600, 1200})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_HeaviestPlayFrame)->Args({640, 480})->Args({1600, 1200})->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();

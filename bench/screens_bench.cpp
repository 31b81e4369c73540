// Screens benchmark: one title frame with the menu in place against its fill-rate floor.
#include <benchmark/benchmark.h>

#include "bench_device.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "app/app_globals.h"
#include "graphics/text_renderer.h"
#include "persist/settings_record.h"
#include "platform/render/render_device.h"
#include "platform/render/texture.h"
#include "world/game_world.h"

// Offscreen frames are timed up to a finish: swaps there do not wait for the drawing.
namespace {

bool PackLoaded = false;

bool EnsureDevice(int width, int height) {
  if (!OpenBenchDevice(width, height)) return false;
  Text.CreateBaseFont();
  Text.SetFontHeight(19);
  World.ApplyRenderStates();
  World.SetupCamera(45);
  return true;
}

bool EnsurePack() {
  if (PackLoaded) return true;
  std::string folder;
  char here[4096];
  if (!FindPackFolder(folder) || !getcwd(here, sizeof here) || chdir(folder.c_str()) != 0) return false;
  PackLoaded = World.LoadTextures();
  return chdir(here) == 0 && PackLoaded;
}

bool Prepare(benchmark::State& state) {
  const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
  if (!EnsureDevice(width, height) || !EnsurePack()) {
    state.SkipWithError("no device or no default pack (set KORVID_GAME_DIR)");
    return false;
  }
  return true;
}

// The title as a player sees it once the menu is in place, FPS badge shown.
void BM_TitleFrame(benchmark::State& state) {
  if (!Prepare(state)) return;
  Settings.ShowFps = 1;
  Settings.ShowPosition = 0;
  Settings.CursorStyle = 1;
  World.MenuShown = 1;
  World.Fps = 60;
  for (auto _ : state) {
    World.DrawTitle();
    World.Device->Finish();
  }
}

// The floor: clearing and the title's two full-screen layers, drawn plainly.
void BM_TitleFillFloor(benchmark::State& state) {
  if (!Prepare(state)) return;
  RenderDevice* device = World.Device;
  for (auto _ : state) {
    World.BeginFrame(0xFF141414u);
    device->SetVertexShader(SceneVertexFormat);
    device->SetTransform(D3DTS_WORLD, MatrixTranslation(0, 0, 12000));
    device->SetTexture(0, World.Textures[TexTitleBack]);
    device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, World.BackdropQuad, sizeof(SceneVertex));
    device->SetTexture(0, World.Textures[TexTitle]);
    device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, World.BackdropQuad, sizeof(SceneVertex));
    World.EndFrame();
    device->Finish();
  }
}

BENCHMARK(BM_TitleFillFloor)->Args({640, 480})->Args({1600, 1200})->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TitleFrame)->Args({640, 480})->Args({1600, 1200})->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

// Graphics benchmarks: pack loading, the model reader, a text panel, and a busy frame against its floor.
#include <benchmark/benchmark.h>

#include "bench_device.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "app/app_globals.h"
#include "graphics/mesh_models.h"
#include "graphics/text_renderer.h"
#include "persist/settings_record.h"
#include "platform/render/render_device.h"
#include "platform/file_read.h"
#include "platform/render/texture.h"
#include "platform/render/x_file.h"
#include "world/game_world.h"

// Offscreen frames are timed up to a finish: swaps there do not wait for the drawing.
namespace {

struct BenchVertex {
  float X, Y, Z;
  std::uint32_t Colour;
  float U, V;
};

std::string PackFolder;

bool FindPack() { return FindPackFolder(PackFolder); }

bool EnsureDevice(int width, int height) { return OpenBenchDevice(width, height); }

void ReleaseLoaded() {
  for (Texture*& t : World.Textures) {
    ReleaseTexture(t);
    t = nullptr;
  }
  Models.ReleaseModels();
}

void BM_LoadDefaultPack(benchmark::State& state) {
  if (!EnsureDevice(640, 480) || !FindPack()) {
    state.SkipWithError("no device or no default pack (set KORVID_GAME_DIR)");
    return;
  }
  char here[4096];
  if (!getcwd(here, sizeof here) || chdir(PackFolder.c_str()) != 0) return;
  for (auto _ : state) {
    World.LoadPercent = 0;
    const bool ok = World.LoadTextures() && Models.LoadModels();
    World.Device->Finish();
    state.PauseTiming();
    if (!ok) state.SkipWithError("the pack did not load");
    ReleaseLoaded();
    state.ResumeTiming();
  }
  if (chdir(here) != 0) state.SkipWithError("could not return to the working folder");
}
BENCHMARK(BM_LoadDefaultPack)->Unit(benchmark::kMillisecond)->Iterations(3);

// The seven model files of the pack through the .x reader alone, their bytes already read.
void BM_ReadModelFiles(benchmark::State& state) {
  std::vector<std::vector<std::uint8_t>> files(ModelCount);
  for (int id = 0; id < ModelCount; ++id) {
    std::string path = ModelCatalogue[id].MeshPath;
    for (char& c : path)
      if (c == '\\') c = '/';
    if (!FindPack() || !ReadFileBytes(PackFolder + "/" + path, files[id], ModelFileLimit)) {
      state.SkipWithError("no default pack (set KORVID_GAME_DIR)");
      return;
    }
  }
  for (auto _ : state)
    for (const std::vector<std::uint8_t>& bytes : files) {
      XMeshData mesh;
      if (!ReadXFile(bytes.data(), bytes.size(), mesh)) state.SkipWithError("a model was refused");
      benchmark::DoNotOptimize(mesh.Vertices.data());
    }
}
BENCHMARK(BM_ReadModelFiles)->Unit(benchmark::kMillisecond);

void BM_RenderTextPanel(benchmark::State& state) {
  if (!EnsureDevice(640, 480)) {
    state.SkipWithError("no device");
    return;
  }
  int number = 0;
  for (auto _ : state) {
    World.RenderTextPanel(1, PanelAmmo, 70, 10, 0, 0, number++ % 1000, "", 100, TexAmmoPanel, 0xFFFFFFFF);
    World.Device->Finish();
  }
}
BENCHMARK(BM_RenderTextPanel)->Unit(benchmark::kMicrosecond);

// The game names a font height before every draw; a cached height must cost next to nothing.
void BM_SetFontHeight(benchmark::State& state) {
  if (!EnsureDevice(640, 480)) {
    state.SkipWithError("no device");
    return;
  }
  const int heights[5] = {15, 19, 24, 60, 120};
  int i = 0;
  for (auto _ : state) Text.SetFontHeight(heights[i++ % 5]);
}
BENCHMARK(BM_SetFontHeight)->Unit(benchmark::kNanosecond);

Texture* BenchTexture() {
  static Texture* texture = nullptr;
  if (texture) return texture;
  char path[] = "/tmp/korvid_bench_XXXXXX";
  const int fd = mkstemp(path);
  if (fd < 0) return nullptr;
  // A 64 x 64 grey true-colour picture.
  std::string bmp = "BM";
  auto put32 = [&bmp](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bmp.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  };
  put32(54 + 64 * 64 * 3);
  put32(0);
  put32(54);
  put32(40);
  put32(64);
  put32(64);
  bmp += std::string("\x01\x00\x18\x00", 4);
  for (int i = 0; i < 6; ++i) put32(0);
  bmp += std::string(64 * 64 * 3, '\x80');
  if (write(fd, bmp.data(), bmp.size()) != static_cast<ssize_t>(bmp.size())) return nullptr;
  close(fd);
  CreateTextureFromFile(World.Device, path, &texture);
  unlink(path);
  return texture;
}

// Four full-screen blended layers at the overlay depth, as the play frame's overlays are.
void DrawFullScreenLayers(RenderDevice* device, Texture* texture) {
  const BenchVertex quad[4] = {{-0.675f, -0.542f, 0, 0xAAFFFFFF, 0, 1},
                               {0.675f, -0.542f, 0, 0xAAFFFFFF, 1, 1},
                               {0.675f, 0.542f, 0, 0xAAFFFFFF, 1, 0},
                               {-0.675f, 0.542f, 0, 0xAAFFFFFF, 0, 0}};
  device->SetTransform(D3DTS_WORLD, MatrixTranslation(0, 0, 1.3f));
  device->SetTexture(0, texture);
  for (int layer = 0; layer < 4; ++layer) device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, quad, sizeof(BenchVertex));
}

void FrameBench(benchmark::State& state, bool busy) {
  const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
  if (!EnsureDevice(width, height)) {
    state.SkipWithError("no device");
    return;
  }
  World.ApplyRenderStates();
  World.SetupCamera(45);
  RenderDevice* device = World.Device;
  Texture* texture = BenchTexture();
  device->SetVertexShader(SceneVertexFormat);
  device->SetRenderState(D3DRS_LIGHTING, 0);
  // 300 small textured squares spread through the view, like puffs, boxes and shots.
  BenchVertex fans[300][4];
  for (int i = 0; i < 300; ++i) {
    const float x = static_cast<float>((i % 20) - 10) * 150, y = static_cast<float>((i / 20) - 7) * 120;
    const float z = 2000 + static_cast<float>(i % 7) * 300;
    fans[i][0] = {x - 30, y - 30, z, 0x33FFFFFF, 0, 1};
    fans[i][1] = {x + 30, y - 30, z, 0x33FFFFFF, 1, 1};
    fans[i][2] = {x + 30, y + 30, z, 0x33FFFFFF, 1, 0};
    fans[i][3] = {x - 30, y + 30, z, 0x33FFFFFF, 0, 0};
  }
  for (auto _ : state) {
    World.BeginFrame(0xFF141414);
    if (busy) {
      device->SetTransform(D3DTS_WORLD, MatrixIdentity());
      device->SetTexture(0, texture);
      for (auto& fan : fans) device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, fan, sizeof(BenchVertex));
    }
    DrawFullScreenLayers(device, texture);
    World.EndFrame();
    device->Finish();
  }
}

void BM_FrameFillFloor(benchmark::State& state) { FrameBench(state, false); }
void BM_Frame300Fans(benchmark::State& state) { FrameBench(state, true); }
BENCHMARK(BM_FrameFillFloor)->Args({640, 480})->Args({1600, 1200})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Frame300Fans)->Args({640, 480})->Args({1600, 1200})->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

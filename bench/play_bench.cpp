// The heaviest play frame on the default pack against the fill-rate floors of its layers.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>

#include "heaviest_frame.h"
#include "platform/render/draw_records.h"
#include "platform/render/render_device.h"

// Offscreen frames are timed up to a finish: swaps there do not wait for the drawing.
namespace {

bool Enter(benchmark::State& state) {
  if (heaviest::EnsureMatch(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)))) return true;
  state.SkipWithError("no device or no default pack (set KORVID_GAME_DIR)");
  return false;
}

// Third argument: 1 with the rifle's scope up (the default), 0 without.
void BM_HeaviestPlayFrame(benchmark::State& state) {
  if (!Enter(state)) return;
  heaviest::FillTheArena(state.range(2) != 0);
  // The first frames compile the shader variants; they are not what a match frame costs.
  for (int i = 0; i < 5; ++i) World.RenderPlayFrame();
  World.Device->Finish();
  for (auto _ : state) {
    heaviest::KeepEffectsRunning();
    World.RenderPlayFrame();
    World.Device->Finish();
  }
  World.SetFog(false);
}

// Full-screen layers drawn as plainly as the device can: one clear, then `layers` quads (the
// last one cut to the fraction left) at the overlay depth with the arena's ground picture,
// depth-tested as every play draw is, no alpha test, no fog. `hidden` more layers come after
// them, twice as far, so that the depth test rejects every one of their fragments.
void DrawLayers(double layers, bool blend, double hidden = 0) {
  RenderDevice* device = World.Device;
  World.BeginFrame(World.FogColour);
  device->SetRenderState(D3DRS_LIGHTING, 0);
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, blend ? 1 : 0);
  device->SetVertexShader(SceneVertexFormat);
  device->SetTexture(0, World.Textures[TexGround]);
  const auto draw = [&](double count, int scale) {
    World.SetSpriteTransform(scale, 0, 0, static_cast<float>(scale) * (1.3f + World.OverlayDepthOffset), 0, 0, 0);
    for (int i = 0; i < static_cast<int>(count); ++i)
      device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, World.ScreenQuad, sizeof(SceneVertex));
    const double part = count - std::floor(count);
    if (part > 0) {
      SceneVertex cut[4];
      std::copy(World.ScreenQuad, World.ScreenQuad + 4, cut);
      float top = cut[0].Y, bottom = cut[0].Y;
      for (const SceneVertex& v : cut) top = std::fmax(top, v.Y), bottom = std::fmin(bottom, v.Y);
      for (SceneVertex& v : cut)
        if (v.Y == bottom) v.Y = top - static_cast<float>(part) * (top - bottom);
      device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, cut, sizeof(SceneVertex));
    }
  };
  draw(layers, 1);
  if (hidden > 0) draw(hidden, 2);
  World.EndFrame();
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
  device->Finish();
}

// The fragments one run of `frame` produces per pixel of the target, and the samples of them
// that pass the depth test (0 where the driver does not count them), so each floor shows how
// many layers it really drew.
struct Layers {
  double Drawn = 0, Passed = 0;
};

template <typename Frame>
Layers LayersOf(Frame frame) {
  if (!CountsFragments()) return {};
  StartDrawRecords(World.Device);
  frame();
  Layers layers;
  for (const DrawRecord& r : TakeDrawRecords(World.Device)) {
    layers.Drawn += static_cast<double>(r.Fragments);
    layers.Passed += static_cast<double>(r.Passed);
  }
  const double pixels = static_cast<double>(World.Device->BackBufferWidth()) * World.Device->BackBufferHeight();
  layers.Drawn /= pixels;
  layers.Passed /= pixels;
  return layers;
}

// The heaviest frame's overdraw: the fragments its draws produce per pixel of the target, and
// how many of them pass the depth test.
Layers MeasuredLayers(bool scope) {
  heaviest::FillTheArena(scope);
  for (int i = 0; i < 3; ++i) World.RenderPlayFrame();
  heaviest::KeepEffectsRunning();
  const Layers layers = LayersOf([] { World.RenderPlayFrame(); });
  World.SetFog(false);
  // The floor's layers lie where the overlays do with the scope down.
  World.ScopeOn = 0;
  World.SetScope(0);
  return layers;
}

// Opens a floor measured against the heaviest frame (scope as the third argument): its
// layers, or false, the benchmark skipped, where the driver does not count fragments.
bool FloorLayers(benchmark::State& state, Layers& layers) {
  if (!Enter(state)) return false;
  if (!CountsFragments()) {
    state.SkipWithError("the driver does not count fragments");
    return false;
  }
  layers = MeasuredLayers(state.range(2) != 0);
  state.counters["layers"] = layers.Drawn;
  state.counters["passing"] = layers.Passed;
  return true;
}

// The old floor: clearing and drawing five full-screen layers, the sky, the arena, the flash,
// the scope and the status frame, with their own pictures and the frame's states.
void BM_PlayFillFloor(benchmark::State& state) {
  if (!Enter(state)) return;
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
  state.counters["drawn"] = LayersOf(frame).Drawn;
  for (auto _ : state) frame();
}

// The fill floor in layers: the third argument is the number of full-screen layers, the
// fourth whether they blend.
void BM_PlayLayers(benchmark::State& state) {
  if (!Enter(state)) return;
  const int layers = static_cast<int>(state.range(2));
  const bool blend = state.range(3) != 0;
  for (int i = 0; i < 5; ++i) DrawLayers(layers, blend);
  state.counters["drawn"] = LayersOf([&] { DrawLayers(layers, blend); }).Drawn;
  for (auto _ : state) DrawLayers(layers, blend);
}

// The honest floor: as many plain layers as the heaviest frame (scope as the third argument)
// produces fragments, measured on this device just before.
void BM_PlayHonestFloor(benchmark::State& state) {
  Layers layers;
  if (!FloorLayers(state, layers)) return;
  for (int i = 0; i < 5; ++i) DrawLayers(layers.Drawn, false);
  state.counters["drawn"] = LayersOf([&] { DrawLayers(layers.Drawn, false); }).Drawn;
  for (auto _ : state) DrawLayers(layers.Drawn, false);
}

// The depth-aware floor: as many layers as the heaviest frame passes the depth test drawn as
// the honest floor draws them, and the rest of its fragments drawn behind them, rejected by
// the depth test before shading as the frame's hidden fragments are.
void BM_PlayDepthFloor(benchmark::State& state) {
  Layers layers;
  if (!FloorLayers(state, layers)) return;
  const double hidden = std::max(0.0, layers.Drawn - layers.Passed);
  for (int i = 0; i < 5; ++i) DrawLayers(layers.Passed, false, hidden);
  const Layers drawn = LayersOf([&] { DrawLayers(layers.Passed, false, hidden); });
  state.counters["drawn"] = drawn.Drawn;
  state.counters["drawn_passing"] = drawn.Passed;
  for (auto _ : state) DrawLayers(layers.Passed, false, hidden);
}

BENCHMARK(BM_PlayFillFloor)->Args({640, 480})->Args({1600, 1200})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlayLayers)
    ->ArgsProduct({{640}, {480}, {0, 1, 4, 7}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_PlayHonestFloor)
    ->ArgsProduct({{640}, {480}, {1, 0}})
    ->Args({1600, 1200, 1})->Args({1600, 1200, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_PlayDepthFloor)
    ->ArgsProduct({{640}, {480}, {1, 0}})
    ->Args({1600, 1200, 1})->Args({1600, 1200, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_HeaviestPlayFrame)
    ->ArgsProduct({{640}, {480}, {1, 0}})
    ->Args({1600, 1200, 1})->Args({1600, 1200, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();

// The play frame drawn with the device's shortcuts (states left out, covered and clear pixels
// skipped) against the same frame with every state run as given: the pixels must not change.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "../../bench/heaviest_frame.h"
#include "platform/render/draw_records.h"
#include "platform/render/render_device.h"

namespace {

struct Drawn {
  std::vector<std::uint32_t> Pixels;
  std::vector<DrawRecord> Records;
};

Drawn DrawHeaviest(bool shortcuts) {
  World.Device->SetShortcuts(shortcuts);
  heaviest::KeepEffectsRunning();
  Drawn d;
  StartDrawRecords(World.Device);
  World.RenderPlayFrame();
  d.Records = TakeDrawRecords(World.Device);
  int w = 0, h = 0;
  World.Device->ReadBackBuffer(d.Pixels, w, h);
  World.Device->SetShortcuts(true);
  return d;
}

std::uint64_t SamplesPassed(const Drawn& d, const Texture* picture) {
  std::uint64_t passed = 0;
  for (const DrawRecord& r : d.Records)
    if (r.Bound == picture) passed += r.Passed;
  return passed;
}

std::uint64_t Fragments(const Drawn& d, const Texture* picture) {
  std::uint64_t fragments = 0;
  for (const DrawRecord& r : d.Records)
    if (r.Bound == picture) fragments += r.Fragments;
  return fragments;
}

std::size_t FoggedModels(const Drawn& d) {
  std::size_t fogged = 0;
  for (const DrawRecord& r : d.Records) fogged += r.Mesh && r.Fog;
  return fogged;
}

// Puts a smoke puff, or an enemy, just ahead of the eye: in front of the scope's plane.
void PuffAtTheEye() {
  ASSERT_EQ(World.ViewYaw, 0.0f);
  ASSERT_EQ(World.ViewPitch, 0.0f);
  for (int v = 0; v < SmokeVertexCount; ++v) {
    World.SmokeVertices[0][v] = World.SmokeTemplate[v];
    World.SmokeVertices[0][v].X -= World.ViewOffset[0];
    World.SmokeVertices[0][v].Y -= World.ViewOffset[1];
    World.SmokeVertices[0][v].Z -= World.ViewOffset[2] - 3;
  }
}

void EnemyAtTheEye() {
  World.Enemies[0].X = -World.ViewOffset[0];
  World.Enemies[0].Y = -World.ViewOffset[1];
  World.Enemies[0].Z = -World.ViewOffset[2] + 20;
}

struct Case {
  const char* Name;
  int Width, Height;
  bool Scope, Fog;
  void (*Arrange)();
  bool CoverTaken;  // whether the world is expected to leave the scope's covered pixels out
};

class FrameShortcuts : public testing::TestWithParam<Case> {};

TEST_P(FrameShortcuts, LeaveEveryPixelAsTheFullDrawLeavesIt) {
  const Case& c = GetParam();
  ASSERT_TRUE(heaviest::EnsureMatch(c.Width, c.Height)) << "no device or no default pack";
  Settings.UseFog = c.Fog ? 1 : 0;
  World.SetFog(false);
  heaviest::FillTheArena(c.Scope);
  if (c.Arrange) c.Arrange();
  for (int i = 0; i < 3; ++i) DrawHeaviest(true);  // fog is switched on by the first frame

  const Drawn fast = DrawHeaviest(true);
  const Drawn plain = DrawHeaviest(false);
  ASSERT_EQ(fast.Pixels.size(), plain.Pixels.size());
  std::size_t differing = 0, first = 0;
  for (std::size_t i = 0; i < fast.Pixels.size(); ++i)
    if (fast.Pixels[i] != plain.Pixels[i] && differing++ == 0) first = i;
  EXPECT_EQ(differing, 0u) << "first at (" << first % c.Width << ", " << first / c.Width << "): "
                           << std::hex << fast.Pixels[first] << " against " << plain.Pixels[first];

  // The shortcuts did take effect: models wholly out of sight are not sent, the status frame
  // skips its clear middle, the sky comes after the arena so that its hidden part is rejected
  // early, and the ground is left out under the scope only where nothing blends in front of it.
  EXPECT_LT(fast.Records.size(), plain.Records.size());
  // Models wholly nearer than the fog's start (the enemies, the weapon) are drawn unfogged.
  if (c.Fog) {
    EXPECT_LT(FoggedModels(fast), FoggedModels(plain));
  }
  const auto pixels = static_cast<std::uint64_t>(c.Width) * c.Height;
  if (CountsFragments()) {
    EXPECT_LT(Fragments(fast, World.Textures[TexWindow]), pixels / 2);
    EXPECT_GE(Fragments(plain, World.Textures[TexWindow]), pixels);
  }
  const Texture* sky = Models.SkyDome.Textures.empty() ? nullptr : Models.SkyDome.Textures[0];
  EXPECT_LT(SamplesPassed(fast, sky), SamplesPassed(plain, sky) / 2);
  const Texture* ground = World.Textures[TexGround];
  if (c.CoverTaken) {
    EXPECT_LT(SamplesPassed(fast, ground), SamplesPassed(plain, ground) * 3 / 4);
  } else {
    EXPECT_EQ(SamplesPassed(fast, ground), SamplesPassed(plain, ground));
  }
  World.SetFog(false);
}

INSTANTIATE_TEST_SUITE_P(
    HeaviestFrame, FrameShortcuts,
    testing::Values(Case{"Scoped", 640, 480, true, true, nullptr, true},
                    Case{"ScopedWithoutFog", 640, 480, true, false, nullptr, true},
                    Case{"Unscoped", 640, 480, false, true, nullptr, false},
                    Case{"ScopedLarge", 1600, 1200, true, true, nullptr, true},
                    Case{"PuffBlendedInFrontOfTheScope", 640, 480, true, true, PuffAtTheEye, false},
                    Case{"EnemyOpaqueInFrontOfTheScope", 640, 480, true, true, EnemyAtTheEye, true}),
    [](const testing::TestParamInfo<Case>& info) { return std::string(info.param.Name); });

}  // namespace

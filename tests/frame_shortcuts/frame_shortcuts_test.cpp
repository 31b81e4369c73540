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

Drawn DrawHeaviest(bool shortcuts, bool flash = true) {
  World.Device->SetShortcuts(shortcuts);
  heaviest::KeepEffectsRunning();
  World.FlashActive = flash ? 1 : 0;
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

std::uint64_t Triangles(const Drawn& d, const Texture* picture) {
  std::uint64_t triangles = 0;
  for (const DrawRecord& r : d.Records)
    if (r.Bound == picture) triangles += r.Triangles;
  return triangles;
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
  // Only the sky seen through the arena's open top is rasterised at all.
  if (CountsFragments()) {
    EXPECT_LT(Fragments(fast, sky), Fragments(plain, sky) / 2);
  }
  // The enemies' balls leave out the far side that their near side hides.
  const Texture* ball = Models.Ball.Textures.empty() ? nullptr : Models.Ball.Textures[0];
  EXPECT_LT(Triangles(fast, ball), Triangles(plain, ball) * 3 / 4);
  const Texture* ground = World.Textures[TexGround];
  if (c.CoverTaken) {
    EXPECT_LT(SamplesPassed(fast, ground), SamplesPassed(plain, ground) * 3 / 4);
  } else {
    EXPECT_EQ(SamplesPassed(fast, ground), SamplesPassed(plain, ground));
  }
  World.SetFog(false);
}

// The arena's open top seen from where its rim crosses the picture: near a corner, along a
// wall, looking up and across, with the scope down and up, with and without fog. No flash
// tints the picture, so that a sky pixel lost under the rim would show.
TEST(FrameShortcutsAtTheRim, LeaveEveryPixelAsTheFullDrawLeavesIt) {
  struct View {
    float Eye[3], Yaw, Pitch;
    bool Scope, Fog;
  };
  const View views[] = {
      {{5600, 200, 5600}, 45, 35, false, false},  {{5600, 200, 5600}, 45, 35, true, true},
      {{-5900, 1400, 0}, -90, 10, false, true},  {{0, 100, 0}, 30, 45, false, false},
      {{3000, 1000, -5000}, 160, 5, false, false}, {{-5000, 0, 5000}, -45, 60, true, false},
  };
  ASSERT_TRUE(heaviest::EnsureMatch(640, 480)) << "no device or no default pack";
  const Texture* sky = Models.SkyDome.Textures.empty() ? nullptr : Models.SkyDome.Textures[0];
  std::uint64_t fastSky = 0, plainSky = 0;
  for (const View& v : views) {
    Settings.UseFog = v.Fog ? 1 : 0;
    World.SetFog(false);
    heaviest::FillTheArena(v.Scope);
    for (int k = 0; k < 3; ++k) World.ViewOffset[k] = -v.Eye[k];
    World.ViewYaw = v.Yaw;
    World.ViewPitch = v.Pitch;
    for (int i = 0; i < 2; ++i) DrawHeaviest(true, false);
    const Drawn fast = DrawHeaviest(true, false);
    const Drawn plain = DrawHeaviest(false, false);
    ASSERT_EQ(fast.Pixels.size(), plain.Pixels.size());
    std::size_t differing = 0;
    for (std::size_t i = 0; i < fast.Pixels.size(); ++i) differing += fast.Pixels[i] != plain.Pixels[i];
    EXPECT_EQ(differing, 0u) << "eye " << v.Eye[0] << ", " << v.Eye[1] << ", " << v.Eye[2] << " yaw " << v.Yaw
                             << " pitch " << v.Pitch;
    // Never more of the sky rasterised; over all the views, much less.
    EXPECT_LE(Fragments(fast, sky), Fragments(plain, sky)) << "yaw " << v.Yaw << " pitch " << v.Pitch;
    fastSky += Fragments(fast, sky);
    plainSky += Fragments(plain, sky);
  }
  if (CountsFragments()) {
    EXPECT_LT(fastSky, plainSky / 2);
  }
  World.ViewOffset[0] = World.ViewOffset[1] = World.ViewOffset[2] = 0;
  World.ViewYaw = World.ViewPitch = 0;
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

// What a draw can reach in front of a cover: triangles and spheres against the view's near slab.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "platform/render/render_state.h"

namespace {

// The scope's view: 15 degrees high at 4:3, the game's near plane; the cover 4.09 ahead.
DeviceState ScopedView() {
  DeviceState s;
  s.Projection = MatrixPerspectiveFovLH(15 * 3.14159265f / 180, 4.0f / 3, 1.24f, 140000);
  return s;
}

constexpr float CoverDepth = 4.09f;

TEST(CoverReach, TrianglesCountOnlyWhereTheyMeetTheViewNearerThanTheCover) {
  struct Case {
    const char* What;
    std::vector<float> Corners;  // x, y, z of three corners, in eye space
    bool Reaches;
  };
  const Case cases[] = {
      {"far ahead", {-1, -1, 100, 1, -1, 100, 0, 1, 100}, false},
      {"just beyond the cover", {-1, -1, 4.2f, 1, -1, 4.2f, 0, 1, 4.2f}, false},
      {"ahead, nearer than the cover", {-0.1f, -0.1f, 3, 0.1f, -0.1f, 3, 0, 0.1f, 3}, true},
      {"as near, but beside the view", {10, -0.1f, 3, 11, -0.1f, 3, 10.5f, 0.1f, 3}, false},
      {"behind the eye", {-1, -1, -5, 1, -1, -5, 0, 1, -5}, false},
      {"nearer than the near plane", {-0.1f, -0.1f, 0.5f, 0.1f, -0.1f, 0.5f, 0, 0.1f, 0.5f}, false},
      {"from behind the eye to far ahead, through the view", {0, -1, -10, 0, 1, -10, 0, 0, 100}, true},
      {"from behind the eye to ahead, beside the view", {50, -1, -10, 50, 1, -10, 50, 0, 10}, false},
      {"wider than the view, nearer than the cover", {-100, -100, 2, 100, -100, 2, 0, 100, 2}, true},
  };
  const DeviceState s = ScopedView();
  for (const Case& c : cases) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(c.Corners.data());
    EXPECT_EQ(MayReachNearer(s, bytes, 3, 12, nullptr, 0, CoverDepth), c.Reaches) << c.What;
    const std::uint32_t reversed[3] = {2, 1, 0};
    EXPECT_EQ(MayReachNearer(s, bytes, 3, 12, reversed, 3, CoverDepth), c.Reaches) << c.What << ", indexed";
  }
  // An index past the corners is never trusted.
  const float corners[9] = {0, 0, 100, 1, 0, 100, 0, 1, 100};
  const std::uint32_t beyond[3] = {0, 1, 3};
  EXPECT_TRUE(MayReachNearer(s, reinterpret_cast<const std::uint8_t*>(corners), 3, 12, beyond, 3, CoverDepth));
}

TEST(CoverReach, SpheresAreRuledOutOnlyWhenWhollyOutsideTheSlab) {
  struct Case {
    const char* What;
    Vector3 Centre;
    float Radius;
    bool Reaches;
  };
  const Case cases[] = {
      {"far ahead", {0, 0, 100}, 10, false},
      {"ahead, reaching nearer than the cover", {0, 0, 10}, 7, true},
      {"around the eye", {0, 0, 0}, 10000, true},
      {"behind the eye", {0, 0, -50}, 10, false},
      {"beside the view", {100, 0, 3}, 1, false},
  };
  DeviceState s = ScopedView();
  for (const Case& c : cases) EXPECT_EQ(SphereMayReachNearer(s, c.Centre, c.Radius, CoverDepth), c.Reaches) << c.What;
  // The draw's own scale grows the sphere.
  s.World = MatrixIdentity();
  s.World.M[3][2] = 10;
  EXPECT_FALSE(SphereMayReachNearer(s, {0, 0, 0}, 2, CoverDepth));
  s.World = MatrixScaling(4, 4, 4);
  s.World.M[3][2] = 10;
  EXPECT_TRUE(SphereMayReachNearer(s, {0, 0, 0}, 2, CoverDepth));
}

// Models wholly outside what can still show are not sent: spheres placed by the pixel their
// centre lands on, `pixels` wide in radius, 100 ahead.
TEST(CoverReach, SpheresShowOnlyWhereTheyReachTheRectangle) {
  DeviceState s = ScopedView();
  s.Width = 640;
  s.Height = 480;
  const float depth = 100;
  const auto at = [&](float px, float py, float pixels) {
    return std::pair<Vector3, float>{{(2 * px / s.Width - 1) * depth / s.Projection.M[0][0],
                                      (1 - 2 * py / s.Height) * depth / s.Projection.M[1][1], depth},
                                     pixels * 2 * depth / (s.Projection.M[0][0] * s.Width)};
  };
  const PixelRect right{320, 0, 320, 480}, top{0, 0, 640, 240}, all{0, 0, 640, 480};
  struct Case {
    const char* What;
    std::pair<Vector3, float> Sphere;
    PixelRect Rect;
    bool Shows;
  };
  const Case cases[] = {
      {"well left of the right half", at(100, 240, 20), right, false},
      {"reaching over into it", at(310, 240, 20), right, true},
      {"ten pixels short of it", at(290, 240, 20), right, false},
      {"below the top half", at(320, 400, 20), top, false},
      {"reaching up into it", at(320, 250, 20), top, true},
      {"off the view's left edge", at(-60, 240, 20), all, false},
      {"on the view's edge", at(-10, 240, 20), all, true},
      {"behind the eye", {{0, 0, -50}, 10}, all, false},
      {"around the eye", {{0, 0, 0}, 10}, all, true},
      {"nothing left open", at(320, 240, 20), PixelRect{0, 0, 0, 0}, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SphereMayShowIn(s, c.Sphere.first, c.Sphere.second, c.Rect), c.Shows) << c.What;
  // An off-centre projection is never judged.
  s.Projection.M[2][0] = 0.1f;
  EXPECT_TRUE(SphereMayShowIn(s, at(100, 240, 20).first, at(100, 240, 20).second, right));
}

// The scissor a covered draw gets: the bounds of whatever the covering rectangles leave open.
TEST(CoverReach, OpenBoundsHoldEveryPixelTheCoverLeavesOpen) {
  struct Case {
    const char* Name;
    std::vector<PixelRect> Covered;
    PixelRect Open;
  };
  const Case cases[] = {
      {"nothing covered", {}, {0, 0, 64, 48}},
      {"all covered", {{0, 0, 64, 48}}, {0, 0, 0, 0}},
      {"all covered, past the edges", {{-8, -8, 80, 30}, {-8, 22, 80, 40}}, {0, 0, 0, 0}},
      // A scope-like frame of bands around a hole.
      {"frame", {{0, 0, 64, 8}, {0, 40, 64, 8}, {0, 8, 16, 32}, {56, 8, 8, 32}}, {16, 8, 40, 32}},
      // A row closed in two pieces with nothing between them stays closed; a one-pixel gap opens it.
      {"split rows", {{0, 0, 30, 10}, {30, 0, 34, 10}, {0, 10, 31, 38}, {32, 10, 32, 38}}, {31, 10, 1, 38}},
      {"open corner", {{0, 0, 64, 40}, {0, 40, 60, 8}}, {60, 40, 4, 8}},
  };
  for (const Case& c : cases) {
    const PixelRect open = OpenBounds(c.Covered, 64, 48);
    EXPECT_EQ(open.X, c.Open.X) << c.Name;
    EXPECT_EQ(open.Y, c.Open.Y) << c.Name;
    EXPECT_EQ(open.Width, c.Open.Width) << c.Name;
    EXPECT_EQ(open.Height, c.Open.Height) << c.Name;
  }
}

}  // namespace

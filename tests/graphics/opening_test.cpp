// The opening: which boxes qualify, where the open face shows, and which triangles lie outside.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "platform/render/render_opening.h"
#include "platform/render/render_state.h"

namespace {

// A box as six fans of four corners (x, y, z), the faces in the order -x, +x, +y, -y, -z, +z.
std::vector<float> Box(float x0, float x1, float y0, float y1, float z0, float z1) {
  const float faces[6][4][3] = {
      {{x0, y0, z0}, {x0, y1, z0}, {x0, y1, z1}, {x0, y0, z1}}, {{x1, y0, z0}, {x1, y0, z1}, {x1, y1, z1}, {x1, y1, z0}},
      {{x0, y1, z0}, {x1, y1, z0}, {x1, y1, z1}, {x0, y1, z1}}, {{x0, y0, z0}, {x0, y0, z1}, {x1, y0, z1}, {x1, y0, z0}},
      {{x0, y0, z0}, {x1, y0, z0}, {x1, y1, z0}, {x0, y1, z0}}, {{x0, y0, z1}, {x0, y1, z1}, {x1, y1, z1}, {x1, y0, z1}},
  };
  std::vector<float> out;
  for (const auto& face : faces)
    for (const auto& corner : face) out.insert(out.end(), corner, corner + 3);
  return out;
}
constexpr int Top = 2;

// The eye at the origin looking along +z through a 60-degree view at 4:3, 640 x 480.
DeviceState View(float pitchDegrees = 0) {
  DeviceState s;
  s.Width = 640;
  s.Height = 480;
  s.Projection = MatrixPerspectiveFovLH(60 * 3.14159265f / 180, 4.0f / 3, 1.24f, 140000);
  s.View = MatrixRotationX(pitchDegrees * 3.14159265f / 180);
  return s;
}

bool Take(DeviceState& s, const std::vector<float>& box) {
  return TakeOpening(s, reinterpret_cast<const std::uint8_t*>(box.data()), 12, Top);
}

TEST(Opening, OnlyAClosedConvexBoxAroundTheEyeQualifies) {
  struct Case {
    const char* What;
    std::vector<float> Box;
    bool Taken;
  };
  std::vector<float> cracked = Box(-6000, 6000, -30, 1500, -6000, 6000);
  cracked[4 * 12 + 3] += 0.5f;  // one corner of the near wall moved off its neighbours'
  std::vector<float> bent = Box(-6000, 6000, -30, 1500, -6000, 6000);
  bent[5 * 12 + 2 * 3 + 2] += 500;  // one corner of the far wall out of its plane
  const Case cases[] = {
      {"the arena around the eye", Box(-6000, 6000, -30, 1500, -6000, 6000), true},
      {"the eye outside", Box(100, 6000, -30, 1500, -6000, 6000), false},
      {"a wall nearer than the near plane reaches", Box(-6000, 6000, -1, 1500, -6000, 6000), false},
      {"the far wall past the far plane", Box(-6000, 6000, -30, 1500, -6000, 200000), false},
      {"a crack between two walls", cracked, false},
      {"a face that is not flat", bent, false},
  };
  for (const Case& c : cases) {
    DeviceState s = View();
    EXPECT_EQ(Take(s, c.Box), c.Taken) << c.What;
    EXPECT_EQ(s.OpeningOn, c.Taken) << c.What;
  }
}

TEST(Opening, BoundsHoldWhereTheOpenFaceShowsAndNothingElse) {
  const std::vector<float> arena = Box(-6000, 6000, -30, 1500, -6000, 6000);
  // Looking ahead: the open top shows above the far wall's rim, across the whole width.
  DeviceState ahead = View();
  ASSERT_TRUE(Take(ahead, arena));
  const PixelRect b = ahead.OpeningBounds;
  EXPECT_EQ(b.X, 0);
  EXPECT_EQ(b.Width, 640);
  EXPECT_EQ(b.Y, 0);
  // The far wall's rim lies 1500 up at 6000 ahead: its row, and the ground's rows stay out.
  const float rimRow = (1 - 1500.0f / 6000 / std::tan(30 * 3.14159265f / 180)) * 240;
  EXPECT_GE(b.Height, static_cast<int>(rimRow));
  EXPECT_LT(b.Height, static_cast<int>(rimRow) + 8);

  // Looking steeply down, the top is out of view: nothing of it shows.
  DeviceState down = View(-80);
  ASSERT_TRUE(Take(down, arena));
  EXPECT_EQ(down.OpeningBounds.Width * down.OpeningBounds.Height, 0);
  // Looking straight up, it fills the view.
  DeviceState up = View(89);
  ASSERT_TRUE(Take(up, arena));
  EXPECT_EQ(up.OpeningBounds.Width, 640);
  EXPECT_EQ(up.OpeningBounds.Height, 480);
}

TEST(Opening, TrianglesCountAsOutsideOnlyWhenWhollyBeyondTheBoxByAMargin) {
  struct Case {
    const char* What;
    std::vector<float> Corners;  // three corners, x, y, z
    bool Outside;
  };
  const Case cases[] = {
      {"high above the top", {-100, 9000, 100, 100, 9000, 100, 0, 9000, 300}, true},
      {"beyond a wall", {7000, 0, 0, 7000, 800, 0, 7000, 0, 800}, true},
      {"round the rim, beyond no single face", {5000, 2500, 7500, 7500, 2500, 5000, 7500, 1000, 7500}, true},
      {"round a top corner", {6500, 2000, 8000, 8000, 2000, 6500, 8000, 1200, 8000}, true},
      {"dipping into the box", {5000, 1000, 5000, 8000, 2000, 8000, 8000, 3000, 5000}, false},
      {"beyond a wall, but too close to round apart", {6000.5f, 0, 0, 6000.5f, 800, 0, 6000.5f, 0, 800}, false},
      {"around the eye", {-9000, -9000, 9000, 9000, -9000, 9000, 0, 9000, -9000}, false},
  };
  const std::vector<float> arena = Box(-6000, 6000, -30, 1500, -6000, 6000);
  DeviceState s = View();
  ASSERT_TRUE(Take(s, arena));
  const std::uint32_t order[3] = {0, 1, 2};
  for (const Case& c : cases) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(c.Corners.data());
    EXPECT_EQ(OutsideOpeningBox(s, bytes, 3, 12, order, 3), c.Outside) << c.What;
  }
  // An index past the corners is never trusted, and without an opening nothing is outside.
  const float far[9] = {-100, 9000, 100, 100, 9000, 100, 0, 9000, 300};
  const std::uint32_t beyond[3] = {0, 1, 3};
  EXPECT_FALSE(OutsideOpeningBox(s, reinterpret_cast<const std::uint8_t*>(far), 3, 12, beyond, 3));
  s.OpeningOn = false;
  EXPECT_FALSE(OutsideOpeningBox(s, reinterpret_cast<const std::uint8_t*>(far), 3, 12, order, 3));
}

}  // namespace

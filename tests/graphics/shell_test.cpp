// Closed convex shells: which models qualify, and which of their far-side triangles a draw may
// leave out because the near side hides them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "platform/render/render_shell.h"
#include "platform/render/render_state.h"

namespace {

constexpr float Pi = 3.14159265f;

struct Model {
  std::vector<Vector3> Positions;
  std::vector<std::uint32_t> Indices;
};

// A ball as the game's enemies are built: rings of corners with the seam's corners repeated,
// one corner per segment at each pole, wound one way round.
Model Ball(float radius, int rings = 14, int segments = 24) {
  Model m;
  for (int r = 0; r <= rings; ++r)
    for (int s = 0; s <= segments; ++s) {
      const float lat = Pi * static_cast<float>(r) / static_cast<float>(rings);
      const float lon = 2 * Pi * static_cast<float>(s % segments) / static_cast<float>(segments);
      const float across = r == 0 || r == rings ? 0 : radius * std::sin(lat);
      m.Positions.push_back({across * std::cos(lon), r == rings ? -radius : radius * std::cos(lat),
                             across * std::sin(lon)});
    }
  const auto at = [&](int r, int s) { return static_cast<std::uint32_t>(r * (segments + 1) + s); };
  for (int r = 0; r < rings; ++r)
    for (int s = 0; s < segments; ++s) {
      if (r != 0) m.Indices.insert(m.Indices.end(), {at(r, s), at(r, s + 1), at(r + 1, s)});
      if (r != rings - 1) m.Indices.insert(m.Indices.end(), {at(r, s + 1), at(r + 1, s + 1), at(r + 1, s)});
    }
  return m;
}

ConvexShell Shell(const Model& m, Vector3 centre = {}) { return ShellOf(m.Positions, m.Indices, centre); }

TEST(Shell, OnlyAClosedConvexConsistentlyWoundModelQualifies) {
  struct Case {
    const char* What;
    Model M;
    Vector3 Centre;
    bool Closed;
  };
  Model holed = Ball(1.6f);
  holed.Indices.resize(holed.Indices.size() - 3);
  Model cracked = Ball(1.6f);
  cracked.Positions[7 * 25 + 24].X = std::nextafter(cracked.Positions[7 * 25 + 24].X, 9.0f);  // the seam split
  Model dented = Ball(1.6f);
  for (int s = 0; s <= 24; ++s) dented.Positions[7 * 25 + s].X *= s == 5 ? 0.9f : 1.0f;
  Model flipped = Ball(1.6f);
  std::swap(flipped.Indices[300], flipped.Indices[301]);
  Model stray = Ball(1.6f);
  stray.Indices.back() = static_cast<std::uint32_t>(stray.Positions.size());
  const Case cases[] = {
      {"the ball", Ball(1.6f), {}, true},
      {"a ball with a triangle missing", holed, {}, false},
      {"a seam whose corners differ by one step", cracked, {}, false},
      {"a ball dented in", dented, {}, false},
      {"one triangle wound the other way", flipped, {}, false},
      {"the centre outside", Ball(1.6f), {0, 3, 0}, false},
      {"an index past the corners", stray, {}, false},
  };
  for (const Case& c : cases) EXPECT_EQ(Shell(c.M, c.Centre).Closed, c.Closed) << c.What;

  // The inner ball lies within the corners, but not far within: the faces are small.
  const ConvexShell ball = Shell(Ball(1.6f));
  EXPECT_LT(ball.InRadius, 1.6f * std::cos(Pi / 28));
  EXPECT_GT(ball.InRadius, 1.6f * 0.97f);
}

// The eye at the origin looking along +z through a 60-degree view at 4:3, as the game sets it.
DeviceState View() {
  DeviceState s;
  SetDefaultStates(s);
  s.Width = 640;
  s.Height = 480;
  s.Projection = MatrixPerspectiveFovLH(60 * Pi / 180, 4.0f / 3, 1.24f, 140000);
  s.RenderStates[D3DRS_CULLMODE] = D3DCULL_NONE;  // as the game sets it
  return s;
}

TEST(Shell, OnlyFarSideTrianglesWellInsideTheOutlineAreLeftOut) {
  const Model ball = Ball(1.6f);
  const ConvexShell shell = Shell(ball);
  ASSERT_TRUE(shell.Closed);
  const float bound = 1.6f * 1.0001f;
  struct Case {
    const char* What;
    Matrix World;
    bool SomeLeftOut;
  };
  const Matrix scaled = MatrixScaling(25, 25, 25);
  const Matrix turned = MatrixMultiply(scaled, MatrixRotationY(0.7f));
  const Case cases[] = {
      {"ahead, as an enemy", MatrixMultiply(turned, MatrixTranslation(40, 60, 900)), true},
      {"close ahead", MatrixMultiply(scaled, MatrixTranslation(0, 0, 200)), true},
      {"across the view's edge", MatrixMultiply(scaled, MatrixTranslation(690, 0, 900)), false},
      {"through the near plane", MatrixMultiply(scaled, MatrixTranslation(0, 0, 30)), false},
      {"squashed", MatrixMultiply(MatrixScaling(25, 12, 25), MatrixTranslation(0, 0, 900)), false},
      {"so far that depth cannot tell its sides apart", MatrixMultiply(scaled, MatrixTranslation(0, 0, 120000)), false},
  };
  for (const Case& c : cases) {
    DeviceState s = View();
    s.World = c.World;
    std::vector<std::uint32_t> kept;
    const std::size_t left = LeaveOutHiddenBacks(s, shell, ball.Positions, ball.Indices, {}, bound, kept);
    EXPECT_EQ(left > 0, c.SomeLeftOut) << c.What;
    if (left == 0) {
      EXPECT_TRUE(kept.empty()) << c.What;
      continue;
    }
    EXPECT_EQ(kept.size() + 3 * left, ball.Indices.size()) << c.What;
    // What is left out faces away, and its corners lie inside the outline of the inner ball, seen
    // from the eye; what is kept keeps its order.
    const Matrix wv = MatrixMultiply(s.World, s.View);
    const auto eye = [&](std::uint32_t i) {
      const Vector3& p = ball.Positions[i];
      return TransformCoord(p, wv);
    };
    const Vector3 centre = TransformCoord({}, wv);
    std::size_t k = 0;
    for (std::size_t t = 0; t < ball.Indices.size(); t += 3) {
      if (k < kept.size() && std::memcmp(&kept[k], &ball.Indices[t], 3 * sizeof(std::uint32_t)) == 0) {
        k += 3;
        continue;
      }
      const Vector3 a = eye(ball.Indices[t]), b = eye(ball.Indices[t + 1]), d = eye(ball.Indices[t + 2]);
      const Vector3 n{(b.Y - a.Y) * (d.Z - a.Z) - (b.Z - a.Z) * (d.Y - a.Y),
                      (b.Z - a.Z) * (d.X - a.X) - (b.X - a.X) * (d.Z - a.Z),
                      (b.X - a.X) * (d.Y - a.Y) - (b.Y - a.Y) * (d.X - a.X)};
      const float outward = n.X * (a.X - centre.X) + n.Y * (a.Y - centre.Y) + n.Z * (a.Z - centre.Z);
      const float towardEye = n.X * a.X + n.Y * a.Y + n.Z * a.Z;
      EXPECT_GT(outward * towardEye, 0) << c.What << ": triangle " << t / 3 << " faces the eye";
      for (const Vector3& p : {a, b, d}) {
        const float along = (p.X * centre.X + p.Y * centre.Y + p.Z * centre.Z) /
                            std::sqrt(p.X * p.X + p.Y * p.Y + p.Z * p.Z);
        const float centreLength2 = centre.X * centre.X + centre.Y * centre.Y + centre.Z * centre.Z;
        EXPECT_LT(std::sqrt(centreLength2 - along * along), shell.InRadius * 25) << c.What << ": triangle " << t / 3;
      }
    }
    EXPECT_EQ(k, kept.size()) << c.What << ": the kept triangles out of order";
  }
}

TEST(Shell, OnlyOpaqueDepthWrittenDrawsToTheBackBufferMayLoseTriangles) {
  struct Case {
    const char* What;
    void (*Change)(DeviceState&);
    bool May;
  };
  const Case cases[] = {
      {"as the game draws its models", [](DeviceState&) {}, true},
      {"a strict depth test", [](DeviceState& s) { s.RenderStates[D3DRS_ZFUNC] = D3DCMP_LESS; }, true},
      {"culling by winding", [](DeviceState& s) { s.RenderStates[D3DRS_CULLMODE] = D3DCULL_CCW; }, false},
      {"depth writes off", [](DeviceState& s) { s.RenderStates[D3DRS_ZWRITEENABLE] = 0; }, false},
      {"no depth test", [](DeviceState& s) { s.RenderStates[D3DRS_ZENABLE] = D3DZB_FALSE; }, false},
      {"the greater draws", [](DeviceState& s) { s.RenderStates[D3DRS_ZFUNC] = D3DCMP_GREATER; }, false},
      {"blended", [](DeviceState& s) { s.RenderStates[D3DRS_ALPHABLENDENABLE] = 1; }, false},
      {"blended by an alpha of 1",
       [](DeviceState& s) {
         s.RenderStates[D3DRS_ALPHABLENDENABLE] = 1;
         s.LastCut.NoBlend = true;
       },
       true},
      {"alpha tested", [](DeviceState& s) { s.RenderStates[D3DRS_ALPHATESTENABLE] = 1; }, false},
      {"shortcuts off", [](DeviceState& s) { s.ShortcutsOn = false; }, false},
      {"into a picture",
       [](DeviceState& s) {
         static Texture picture;
         s.Target = &picture;
       },
       false},
  };
  for (const Case& c : cases) {
    DeviceState s = View();
    c.Change(s);
    EXPECT_EQ(HiddenBacksMayGo(s), c.May) << c.What;
  }
}

}  // namespace

// The opening: seen from inside a box whose other faces are drawn, a model wholly outside it
// shows only through the open face.
//
// Every ray from an eye inside a convex box leaves it through exactly one face. Where that face
// is drawn, the pixel holds the face's depth; a model outside the box lies farther along the
// same ray, so under a strict depth test it loses there. What is left is where rays leave
// through the open face, and the scissor keeps the model's draw to the bounds of that face.
#include "platform/render/render_opening.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/render/render_state.h"

namespace {

constexpr int BoxFaces = 6;
constexpr int FaceCorners = 4;
// Pixels added around the open face's bounds: its rim is shared with drawn faces, and a pixel
// whose centre lies on it may go either way.
constexpr int RimMargin = 2;
// Depth steps (of the 24-bit buffer) a model must lie beyond the box, well past rounding.
constexpr float DepthSteps = 32;

Vector3 Sub(const Vector3& a, const Vector3& b) { return {a.X - b.X, a.Y - b.Y, a.Z - b.Z}; }
Vector3 Cross(const Vector3& a, const Vector3& b) {
  return {a.Y * b.Z - a.Z * b.Y, a.Z * b.X - a.X * b.Z, a.X * b.Y - a.Y * b.X};
}
float Dot(const Vector3& a, const Vector3& b) { return a.X * b.X + a.Y * b.Y + a.Z * b.Z; }
float Length(const Vector3& a) { return std::sqrt(Dot(a, a)); }

// A plane as inward unit normal and offset: Dot(n, p) + d >= 0 inside.
bool PlaneOf(const Vector3& n, const Vector3& through, float* plane) {
  const float length = Length(n);
  if (!(length > 0)) return false;
  plane[0] = n.X / length, plane[1] = n.Y / length, plane[2] = n.Z / length;
  plane[3] = -(plane[0] * through.X + plane[1] * through.Y + plane[2] * through.Z);
  return true;
}

float SideOf(const float* plane, const Vector3& p) {
  return plane[0] * p.X + plane[1] * p.Y + plane[2] * p.Z + plane[3];
}

bool AddPlane(DeviceState& s, const float* plane) {
  if (s.OpeningPlaneCount >= MaxOpeningPlanes) return false;
  std::memcpy(s.OpeningPlanes[s.OpeningPlaneCount++], plane, 4 * sizeof(float));
  return true;
}

// Half the view's diagonal slope, squared and plus one: how much farther than its depth a point
// in the view may lie from the eye.
float DiagonalFactor(const Matrix& p) {
  const float tx = 1 / p.M[0][0], ty = 1 / p.M[1][1];
  return std::sqrt(1 + tx * tx + ty * ty);
}

// The bounds, as slopes x/z and y/z within the view's (+-xMax, +-yMax), of the open face
// clipped to z >= zMin and to the view; false when nothing of it is left.
bool OpenFaceSlopes(const Vector3* face, float zMin, float xMax, float yMax, float& left, float& right,
                    float& bottom, float& top) {
  struct Point {
    float X, Y;
  };
  // A convex quad cut by five lines gains at most one corner per cut; a face that is not
  // convex could gain more, and then the whole view stands for its bounds.
  struct Polygon {
    Point Corners[FaceCorners + 5];
    int Count = 0;
    bool Overflow = false;
    void Add(const Point& p) {
      if (Count < static_cast<int>(sizeof Corners / sizeof Corners[0])) Corners[Count++] = p;
      else Overflow = true;
    }
  };
  // Clips a convex polygon to one side: inside where `side` is positive.
  const auto clip = [](Polygon& poly, auto side) {
    Polygon kept;
    for (int i = 0; i < poly.Count; ++i) {
      const Point a = poly.Corners[i], b = poly.Corners[(i + 1) % poly.Count];
      const float sa = side(a), sb = side(b);
      if (sa >= 0) kept.Add(a);
      if ((sa >= 0) != (sb >= 0)) {
        const float t = sa / (sa - sb);
        kept.Add({a.X + t * (b.X - a.X), a.Y + t * (b.Y - a.Y)});
      }
    }
    kept.Overflow = kept.Overflow || poly.Overflow;
    poly = kept;
  };
  // In front of the eye first: there the face projects to a convex polygon of slopes.
  Polygon slopes;
  for (int i = 0; i < FaceCorners; ++i) {
    const Vector3& a = face[i];
    const Vector3& b = face[(i + 1) % FaceCorners];
    if (a.Z >= zMin) slopes.Add({a.X / a.Z, a.Y / a.Z});
    if ((a.Z >= zMin) != (b.Z >= zMin)) {
      const float t = (zMin - a.Z) / (b.Z - a.Z);
      slopes.Add({(a.X + t * (b.X - a.X)) / zMin, (a.Y + t * (b.Y - a.Y)) / zMin});
    }
  }
  clip(slopes, [&](Point p) { return p.X + xMax; });
  clip(slopes, [&](Point p) { return xMax - p.X; });
  clip(slopes, [&](Point p) { return p.Y + yMax; });
  clip(slopes, [&](Point p) { return yMax - p.Y; });
  if (slopes.Overflow) {
    left = -xMax, right = xMax, bottom = -yMax, top = yMax;
    return true;
  }
  if (slopes.Count == 0) return false;
  left = bottom = 1e30f;
  right = top = -1e30f;
  for (int i = 0; i < slopes.Count; ++i) {
    const Point& p = slopes.Corners[i];
    left = std::min(left, p.X), right = std::max(right, p.X);
    bottom = std::min(bottom, p.Y), top = std::max(top, p.Y);
  }
  return true;
}

}  // namespace

PixelRect Intersect(const PixelRect& a, const PixelRect& b) {
  const int x0 = std::max(a.X, b.X), y0 = std::max(a.Y, b.Y);
  const int x1 = std::min(a.X + a.Width, b.X + b.Width), y1 = std::min(a.Y + a.Height, b.Y + b.Height);
  if (x1 <= x0 || y1 <= y0) return {};
  return {x0, y0, x1 - x0, y1 - y0};
}

bool TakeOpening(DeviceState& s, const std::uint8_t* box, std::uint32_t stride, int openFace) {
  s.OpeningOn = false;
  s.OpeningPlaneCount = 0;
  const Matrix& p = s.Projection;
  if (!box || openFace < 0 || openFace >= BoxFaces || !PlainPerspective(p) || s.Width <= 0 || s.Height <= 0)
    return false;
  const Matrix worldView = MatrixMultiply(s.World, s.View);
  float source[BoxFaces * FaceCorners][3];
  Vector3 eye[BoxFaces * FaceCorners];
  Vector3 centre;
  for (int i = 0; i < BoxFaces * FaceCorners; ++i) {
    std::memcpy(source[i], box + i * stride, sizeof source[i]);
    eye[i] = ToEye(source[i], worldView);
    if (!(std::isfinite(eye[i].X) && std::isfinite(eye[i].Y) && std::isfinite(eye[i].Z))) return false;
    centre.X += eye[i].X / (BoxFaces * FaceCorners);
    centre.Y += eye[i].Y / (BoxFaces * FaceCorners);
    centre.Z += eye[i].Z / (BoxFaces * FaceCorners);
  }
  float size = 0;
  for (const Vector3& e : eye) size = std::max(size, Length(Sub(e, centre)));
  const float flat = size * 1e-4f;

  // The faces' planes, inward; every corner must lie on or inside each (convex, each face flat).
  float faces[BoxFaces][4];
  for (int f = 0; f < BoxFaces; ++f) {
    const Vector3* c = eye + f * FaceCorners;
    if (!PlaneOf(Cross(Sub(c[1], c[0]), Sub(c[2], c[0])), c[0], faces[f])) return false;
    if (SideOf(faces[f], centre) < 0)
      for (float& v : faces[f]) v = -v;
    for (const Vector3& e : eye)
      if (SideOf(faces[f], e) < -flat) return false;
    if (std::fabs(SideOf(faces[f], c[3])) > flat) return false;
  }

  for (const auto& face : faces)
    if (!AddPlane(s, face)) return false;

  // Each edge of a face is the edge of exactly one other face, corner for corner: the drawn
  // faces then meet without a crack. Where two faces meet, a bevel plane between them keeps
  // triangles that pass round the edge outside.
  auto same = [&](int a, int b) { return std::memcmp(source[a], source[b], sizeof source[a]) == 0; };
  for (int f = 0; f < BoxFaces; ++f) {
    for (int k = 0; k < FaceCorners; ++k) {
      const int a = f * FaceCorners + k, b = f * FaceCorners + (k + 1) % FaceCorners;
      int neighbour = -1, matches = 0;
      for (int g = 0; g < BoxFaces; ++g) {
        if (g == f) continue;
        for (int j = 0; j < FaceCorners; ++j) {
          const int c = g * FaceCorners + j, d = g * FaceCorners + (j + 1) % FaceCorners;
          if ((same(a, c) && same(b, d)) || (same(a, d) && same(b, c))) neighbour = g, ++matches;
        }
      }
      if (matches != 1) return false;
      if (neighbour > f) {
        const Vector3 n{faces[f][0] + faces[neighbour][0], faces[f][1] + faces[neighbour][1],
                        faces[f][2] + faces[neighbour][2]};
        float bevel[4];
        if (PlaneOf(n, eye[a], bevel) && !AddPlane(s, bevel)) return false;
      }
    }
  }
  // Each corner is shared by three faces: a bevel there too.
  for (int i = 0; i < BoxFaces * FaceCorners; ++i) {
    bool first = true;
    for (int j = 0; j < i; ++j) first = first && !same(i, j);
    if (!first) continue;
    Vector3 n;
    for (int f = 0; f < BoxFaces; ++f) {
      bool holds = false;
      for (int k = 0; k < FaceCorners; ++k) holds = holds || same(i, f * FaceCorners + k);
      if (holds) n = {n.X + faces[f][0], n.Y + faces[f][1], n.Z + faces[f][2]};
    }
    float bevel[4];
    if (PlaneOf(n, eye[i], bevel) && !AddPlane(s, bevel)) return false;
  }
  for (int i = 0; i < s.OpeningPlaneCount; ++i)
    for (const Vector3& e : eye)
      if (SideOf(s.OpeningPlanes[i], e) < -flat) return false;

  // The eye inside, every face farther than any point of the near plane in view; the box short
  // of the far plane. Then each ray in view leaves the box at a point the rasteriser keeps.
  const float nearPlane = NearPlaneOf(p), farPlane = FarPlaneOf(p);
  const float clearance = nearPlane * DiagonalFactor(p) * 1.01f;
  for (const auto& face : faces)
    if (!(face[3] > clearance)) return false;
  for (const Vector3& e : eye)
    if (!(e.Z < farPlane / 1.001f)) return false;

  // The open face's bounds on the target, rows from the top, with the rim's margin.
  float left, right, bottom, top;
  // The view's edges a little widened, so that the clip itself rounds safely.
  const float xMax = 1.01f / p.M[0][0], yMax = 1.01f / p.M[1][1];
  if (!OpenFaceSlopes(eye + openFace * FaceCorners, nearPlane * 0.5f, xMax, yMax, left, right, bottom, top)) {
    s.OpeningBounds = {};
  } else {
    const float w = static_cast<float>(s.Width), h = static_cast<float>(s.Height);
    const auto column = [&](float slope) { return (slope * p.M[0][0] + 1) * 0.5f * w; };
    const auto row = [&](float slope) { return (1 - slope * p.M[1][1]) * 0.5f * h; };
    const float x0 = std::clamp(std::floor(column(left)) - RimMargin, -1.0f, w + 1);
    const float x1 = std::clamp(std::ceil(column(right)) + RimMargin, -1.0f, w + 1);
    const float y0 = std::clamp(std::floor(row(top)) - RimMargin, -1.0f, h + 1);
    const float y1 = std::clamp(std::ceil(row(bottom)) + RimMargin, -1.0f, h + 1);
    s.OpeningBounds = Intersect({static_cast<int>(x0), static_cast<int>(y0), static_cast<int>(x1 - x0),
                                 static_cast<int>(y1 - y0)},
                                {0, 0, s.Width, s.Height});
  }
  s.OpeningOn = true;
  return true;
}

bool OutsideOpeningBox(const DeviceState& s, const std::uint8_t* corners, std::size_t cornerCount,
                       std::uint32_t stride, const std::uint32_t* indices, std::size_t indexCount) {
  if (!s.OpeningOn || !corners || !indices || !PlainPerspective(s.Projection)) return false;
  const Matrix& p = s.Projection;
  const float nearPlane = NearPlaneOf(p);
  // Depth runs as 1 - near / z (scaled a little past one), so a step along a ray of length d
  // beyond a point at distance L changes it by at least near * d / (L^2 * diagonal factor).
  const float perDistanceSquared = DepthSteps * static_cast<float>(DepthBufferStep) * DiagonalFactor(p) / nearPlane;
  const Matrix worldView = MatrixMultiply(s.World, s.View);
  for (std::size_t t = 0; t + 2 < indexCount; t += 3) {
    Vector3 v[3];
    float farthest = 0;
    for (int k = 0; k < 3; ++k) {
      const std::uint32_t i = indices[t + k];
      if (i >= cornerCount) return false;
      float q[3];
      std::memcpy(q, corners + static_cast<std::size_t>(i) * stride, sizeof q);
      v[k] = ToEye(q, worldView);
      if (!(std::isfinite(v[k].X) && std::isfinite(v[k].Y) && std::isfinite(v[k].Z))) return false;
      farthest = std::max(farthest, Dot(v[k], v[k]));
    }
    const float gap = farthest * perDistanceSquared;
    bool outside = false;
    for (int i = 0; i < s.OpeningPlaneCount && !outside; ++i) {
      const float* plane = s.OpeningPlanes[i];
      outside = -SideOf(plane, v[0]) > gap && -SideOf(plane, v[1]) > gap && -SideOf(plane, v[2]) > gap;
    }
    if (!outside) return false;
  }
  return true;
}

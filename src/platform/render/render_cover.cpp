// Covers and clear pictures: which pixels a draw may leave out, and whether a draw can reach them.
#include "platform/render/render_cover.h"

#include <algorithm>
#include <cmath>

#include "platform/render/render_opening.h"
#include "platform/render/render_state.h"

namespace {

// Margins that keep every test on the safe side of rounding.
constexpr float DepthMargin = 1.001f;
constexpr float SideMargin = 1.01f;
constexpr float SideSlack = 0.001f;

}  // namespace

Vector3 ToEye(const float* p, const Matrix& m) {
  Vector3 e;
  e.X = p[0] * m.M[0][0] + p[1] * m.M[1][0] + p[2] * m.M[2][0] + m.M[3][0];
  e.Y = p[0] * m.M[0][1] + p[1] * m.M[1][1] + p[2] * m.M[2][1] + m.M[3][1];
  e.Z = p[0] * m.M[0][2] + p[1] * m.M[1][2] + p[2] * m.M[2][2] + m.M[3][2];
  return e;
}

namespace {

// The part of the view nearer than a depth: near <= z <= far and within the side planes,
// each plane written as a.x + b.y + c.z + d >= 0.
struct Slab {
  float Plane[6][4];
};

Slab SlabFor(const DeviceState& s, float depth) {
  const Matrix& p = s.Projection;
  const float nearPlane = NearPlaneOf(p);
  const float kx = p.M[0][0] != 0 ? SideMargin / std::fabs(p.M[0][0]) : 1e30f;
  const float ky = p.M[1][1] != 0 ? SideMargin / std::fabs(p.M[1][1]) : 1e30f;
  return {{{0, 0, 1, -nearPlane / DepthMargin},
           {0, 0, -1, depth * DepthMargin},
           {-1, 0, kx, SideSlack},
           {1, 0, kx, SideSlack},
           {0, -1, ky, SideSlack},
           {0, 1, ky, SideSlack}}};
}

float Side(const float* plane, const Vector3& v) { return plane[0] * v.X + plane[1] * v.Y + plane[2] * v.Z + plane[3]; }

// Whether the sphere lies wholly on the outer side of one of the planes (inside where the
// plane's value is positive), by more than `margin` times its radius.
template <std::size_t N>
bool SphereOutsideAny(const float (&planes)[N][4], const Vector3& centre, float radius, float margin) {
  for (const auto& plane : planes) {
    const float length = std::sqrt(plane[0] * plane[0] + plane[1] * plane[1] + plane[2] * plane[2]);
    if (Side(plane, centre) < -radius * length * margin) return true;
  }
  return false;
}

// Whether any part of the triangle survives clipping by the slab's planes.
bool TriangleMeetsSlab(const Slab& slab, const Vector3& a, const Vector3& b, const Vector3& c) {
  Vector3 polygon[12] = {a, b, c};
  Vector3 clipped[12];
  int count = 3;
  for (const auto& plane : slab.Plane) {
    int kept = 0;
    for (int i = 0; i < count; ++i) {
      const Vector3& from = polygon[i];
      const Vector3& to = polygon[(i + 1) % count];
      const float f = Side(plane, from), t = Side(plane, to);
      if (f >= 0) clipped[kept++] = from;
      if ((f >= 0) != (t >= 0)) {
        const float k = f / (f - t);
        clipped[kept++] = {from.X + (to.X - from.X) * k, from.Y + (to.Y - from.Y) * k, from.Z + (to.Z - from.Z) * k};
      }
    }
    if (kept == 0) return false;
    count = kept;
    for (int i = 0; i < count; ++i) polygon[i] = clipped[i];
  }
  return true;
}

// Texels of level 0 that are not of the asked alpha, summed from the top-left corner.
std::vector<std::uint32_t> MismatchSums(Texture* picture, std::uint8_t alpha) {
  std::vector<std::uint32_t> sums;
  // Read straight from GL: this runs inside a draw, with the draw's own texture bound.
  const int w = picture->Width, h = picture->Height;
  std::vector<std::uint8_t> rgba(static_cast<std::size_t>(w) * h * 4);
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  glBindTexture(GL_TEXTURE_2D, picture->Id);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
  if (glGetError() != GL_NO_ERROR) return sums;
  sums.assign(static_cast<std::size_t>(w + 1) * (h + 1), 0);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const std::uint32_t miss = rgba[(static_cast<std::size_t>(y) * w + x) * 4 + 3] != alpha ? 1 : 0;
      sums[static_cast<std::size_t>(y + 1) * (w + 1) + x + 1] = miss + sums[static_cast<std::size_t>(y) * (w + 1) + x + 1] +
                                                                sums[static_cast<std::size_t>(y + 1) * (w + 1) + x] -
                                                                sums[static_cast<std::size_t>(y) * (w + 1) + x];
    }
  return sums;
}

// Up to two pieces of [first, last] wrapped onto [0, size).
int WrapPieces(long first, long last, int size, long pieces[2][2]) {
  if (last - first + 1 >= size) {
    pieces[0][0] = 0, pieces[0][1] = size - 1;
    return 1;
  }
  const long start = ((first % size) + size) % size;
  const long end = start + (last - first);
  if (end < size) {
    pieces[0][0] = start, pieces[0][1] = end;
    return 1;
  }
  pieces[0][0] = start, pieces[0][1] = size - 1;
  pieces[1][0] = 0, pieces[1][1] = end - size;
  return 2;
}

// The texels a span of pixel centres reads along one axis, with a texel to spare each side
// for either filter; false when the span holds no pixel the quad touches.
bool TexelSpan(float firstCentre, float lastCentre, float low, float high, float uLow, float uHigh, int size,
               bool inside, long& first, long& last) {
  if (inside) {
    if (firstCentre < low + 1 || lastCentre > high - 1) return false;
  } else {
    firstCentre = std::fmax(firstCentre, low - 1);
    lastCentre = std::fmin(lastCentre, high + 1);
    if (firstCentre > lastCentre) return false;
  }
  const auto texel = [&](float centre) { return (uLow + (centre - low) / (high - low) * (uHigh - uLow)) * size - 0.5f; };
  const float a = texel(firstCentre), b = texel(lastCentre);
  first = static_cast<long>(std::floor(std::fmin(a, b))) - 1;
  last = static_cast<long>(std::floor(std::fmax(a, b))) + 2;
  return true;
}

}  // namespace

bool PlaceQuad(const DeviceState& s, const std::uint8_t* corners, std::uint32_t stride, QuadPlacement& placed) {
  const Matrix all = MatrixMultiply(MatrixMultiply(s.World, s.View), s.Projection);
  float x[4], y[4], u[4], v[4], w0 = 0;
  for (int i = 0; i < 4; ++i) {
    float p[5];
    std::memcpy(p, corners + i * stride, 12);
    std::memcpy(p + 3, corners + i * stride + 16, 8);
    float clip[4];
    for (int c = 0; c < 4; ++c) clip[c] = p[0] * all.M[0][c] + p[1] * all.M[1][c] + p[2] * all.M[2][c] + all.M[3][c];
    if (i == 0) w0 = clip[3];
    if (!(clip[3] > 0) || std::fabs(clip[3] - w0) > 1e-6f * w0) return false;
    x[i] = (clip[0] / clip[3] + 1) * 0.5f * static_cast<float>(s.Width);
    y[i] = (1 - clip[1] / clip[3]) * 0.5f * static_cast<float>(s.Height);
    u[i] = p[3];
    v[i] = p[4];
  }
  placed.Left = std::fmin(std::fmin(x[0], x[1]), std::fmin(x[2], x[3]));
  placed.Right = std::fmax(std::fmax(x[0], x[1]), std::fmax(x[2], x[3]));
  placed.Top = std::fmin(std::fmin(y[0], y[1]), std::fmin(y[2], y[3]));
  placed.Bottom = std::fmax(std::fmax(y[0], y[1]), std::fmax(y[2], y[3]));
  if (!(placed.Right - placed.Left > 1) || !(placed.Bottom - placed.Top > 1)) return false;
  int seen = 0;
  for (int i = 0; i < 4; ++i) {
    const bool left = std::fabs(x[i] - placed.Left) < 1e-3f, right = std::fabs(x[i] - placed.Right) < 1e-3f;
    const bool top = std::fabs(y[i] - placed.Top) < 1e-3f, bottom = std::fabs(y[i] - placed.Bottom) < 1e-3f;
    if (left == right || top == bottom) return false;
    seen |= 1 << ((left ? 0 : 1) + (top ? 0 : 2));
    float& edgeU = left ? placed.ULeft : placed.URight;
    float& edgeV = top ? placed.VTop : placed.VBottom;
    if (seen & (1 << (4 + (left ? 0 : 1)))) {
      if (edgeU != u[i]) return false;
    } else {
      edgeU = u[i];
      seen |= 1 << (4 + (left ? 0 : 1));
    }
    if (seen & (1 << (6 + (top ? 0 : 1)))) {
      if (edgeV != v[i]) return false;
    } else {
      edgeV = v[i];
      seen |= 1 << (6 + (top ? 0 : 1));
    }
  }
  return (seen & 0xF) == 0xF;
}

bool TileRects(const QuadPlacement& placed, Texture* picture, std::uint8_t alpha, bool inside, bool matching,
               int width, int height, std::size_t limit, std::vector<PixelRect>& rects, int tileSide) {
  const int TileSide = tileSide;
  rects.clear();
  // Render targets change their texels; mip levels would need sums of their own.
  if (!picture || picture->RenderTarget || picture->Levels != 1 || width <= 0 || height <= 0) return false;
  const std::vector<std::uint32_t> sums = MismatchSums(picture, alpha);
  if (sums.empty()) return false;
  const int tw = picture->Width, th = picture->Height;
  const auto mismatches = [&](long x0, long x1, long y0, long y1) {
    const auto at = [&](long x, long y) { return sums[static_cast<std::size_t>(y) * (tw + 1) + x]; };
    return at(x1 + 1, y1 + 1) - at(x0, y1 + 1) - at(x1 + 1, y0) + at(x0, y0);
  };
  const int tilesX = (width + TileSide - 1) / TileSide, tilesY = (height + TileSide - 1) / TileSide;
  // Per tile column and row: whether the quad touches it, and the texels it reads there.
  struct Span {
    bool Touched;
    int Count;
    long Pieces[2][2];
  };
  const auto spans = [&](int tiles, int extent, float low, float high, float uLow, float uHigh, int size) {
    std::vector<Span> out(tiles);
    for (int t = 0; t < tiles; ++t) {
      const float first = t * TileSide + 0.5f;
      const float last = std::fmin(static_cast<float>(extent), static_cast<float>((t + 1) * TileSide)) - 0.5f;
      long a = 0, b = 0;
      out[t].Touched = TexelSpan(first, last, low, high, uLow, uHigh, size, inside, a, b);
      out[t].Count = out[t].Touched ? WrapPieces(a, b, size, out[t].Pieces) : 0;
    }
    return out;
  };
  const std::vector<Span> columns = spans(tilesX, width, placed.Left, placed.Right, placed.ULeft, placed.URight, tw);
  const std::vector<Span> rows = spans(tilesY, height, placed.Top, placed.Bottom, placed.VTop, placed.VBottom, th);
  const auto matches = [&](int tx, int ty) {
    const Span& c = columns[tx];
    const Span& r = rows[ty];
    // Away from the quad, a clear picture draws nothing; an opaque cover covers nothing.
    if (!c.Touched || !r.Touched) return !inside;
    for (int i = 0; i < c.Count; ++i)
      for (int j = 0; j < r.Count; ++j)
        if (mismatches(c.Pieces[i][0], c.Pieces[i][1], r.Pieces[j][0], r.Pieces[j][1]) != 0) return false;
    return true;
  };
  // Runs of tiles wanted, merged down the rows while they keep their columns.
  struct Open {
    int First, Last, Top;
  };
  std::vector<Open> open, next;
  const auto close = [&](const Open& o, int bottomTile) {
    const int x = o.First * TileSide, y = o.Top * TileSide;
    rects.push_back({x, y, std::min(width, (o.Last + 1) * TileSide) - x, std::min(height, bottomTile * TileSide) - y});
  };
  for (int ty = 0; ty <= tilesY; ++ty) {
    next.clear();
    for (int tx = 0; ty < tilesY && tx < tilesX;) {
      if (matches(tx, ty) != matching) {
        ++tx;
        continue;
      }
      const int first = tx;
      while (tx < tilesX && matches(tx, ty) == matching) ++tx;
      next.push_back({first, tx - 1, ty});
    }
    for (const Open& o : open) {
      bool continued = false;
      for (Open& n : next)
        if (n.First == o.First && n.Last == o.Last) {
          n.Top = o.Top;
          continued = true;
        }
      if (!continued) close(o, ty);
    }
    open.swap(next);
    if (rects.size() > limit) return false;
  }
  // Nothing left out is no gain; no rectangle at all means the draw leaves every pixel out.
  return !(rects.size() == 1 && rects[0].Width == width && rects[0].Height == height);
}

bool MayReachNearer(const DeviceState& s, const std::uint8_t* corners, std::size_t cornerCount, std::uint32_t stride,
                    const std::uint32_t* indices, std::size_t indexCount, float depth) {
  const Matrix worldView = MatrixMultiply(s.World, s.View);
  const Slab slab = SlabFor(s, depth);
  const float far = depth * DepthMargin;
  const std::size_t triangles = (indices ? indexCount : cornerCount) / 3;
  for (std::size_t t = 0; t < triangles; ++t) {
    Vector3 e[3];
    for (int k = 0; k < 3; ++k) {
      const std::size_t i = indices ? indices[t * 3 + k] : t * 3 + k;
      if (i >= cornerCount) return true;
      float p[3];
      std::memcpy(p, corners + i * stride, sizeof p);
      e[k] = ToEye(p, worldView);
      if (e[k].Z != e[k].Z) return true;
    }
    if (e[0].Z > far && e[1].Z > far && e[2].Z > far) continue;
    if (TriangleMeetsSlab(slab, e[0], e[1], e[2])) return true;
  }
  return false;
}

bool EyeSphere(const DeviceState& s, const Vector3& centre, float radius, Vector3& eye, float& eyeRadius) {
  const Matrix worldView = MatrixMultiply(s.World, s.View);
  float scale = 0;
  for (int r = 0; r < 3; ++r)
    scale = std::fmax(scale, std::sqrt(worldView.M[r][0] * worldView.M[r][0] + worldView.M[r][1] * worldView.M[r][1] +
                                       worldView.M[r][2] * worldView.M[r][2]));
  const float c[3] = {centre.X, centre.Y, centre.Z};
  eye = ToEye(c, worldView);
  eyeRadius = radius * scale * 1.001f;
  return eyeRadius == eyeRadius && eye.X == eye.X && eye.Y == eye.Y && eye.Z == eye.Z;
}

bool SphereMayReachNearer(const DeviceState& s, const Vector3& centre, float radius, float depth) {
  Vector3 e;
  float r = 0;
  if (!EyeSphere(s, centre, radius, e, r)) return true;
  return !SphereOutsideAny(SlabFor(s, depth).Plane, e, r, 1);
}

bool PlainPerspective(const Matrix& p) {
  return p.M[0][0] > 0 && p.M[1][1] > 0 && p.M[2][3] == 1 && p.M[3][3] == 0 && p.M[0][1] == 0 && p.M[0][2] == 0 &&
         p.M[0][3] == 0 && p.M[1][0] == 0 && p.M[1][2] == 0 && p.M[1][3] == 0 && p.M[2][0] == 0 &&
         p.M[2][1] == 0 && p.M[3][0] == 0 && p.M[3][1] == 0 && p.M[2][2] > 1 && p.M[3][2] < 0;
}

float NearPlaneOf(const Matrix& p) { return p.M[2][2] != 0 ? -p.M[3][2] / p.M[2][2] : 0; }
float FarPlaneOf(const Matrix& p) { return p.M[2][2] != 1 ? p.M[3][2] / (1 - p.M[2][2]) : 0; }

bool SphereMayShowIn(const DeviceState& s, const Vector3& centre, float radius, const PixelRect& rect) {
  if (rect.Width <= 0 || rect.Height <= 0) return false;
  const Matrix& p = s.Projection;
  Vector3 e;
  float r = 0;
  if (!PlainPerspective(p) || s.Width <= 0 || s.Height <= 0 || !EyeSphere(s, centre, radius, e, r)) return true;
  // The rectangle two pixels wider each way, as slopes x/z and y/z of the view: rows count
  // from the top, as the picture is kept.
  constexpr float Margin = 2;
  const float w = static_cast<float>(s.Width), h = static_cast<float>(s.Height);
  const float left = (2 * (static_cast<float>(rect.X) - Margin) / w - 1) / p.M[0][0];
  const float right = (2 * (static_cast<float>(rect.X + rect.Width) + Margin) / w - 1) / p.M[0][0];
  const float bottom = (1 - 2 * (static_cast<float>(rect.Y + rect.Height) + Margin) / h) / p.M[1][1];
  const float top = (1 - 2 * (static_cast<float>(rect.Y) - Margin) / h) / p.M[1][1];
  const float nearPlane = NearPlaneOf(p);
  // Each side as a.x + b.y + c.z >= 0 inside; the sphere shows nowhere when wholly outside one.
  const float sides[5][4] = {{1, 0, -left, 0}, {-1, 0, right, 0}, {0, 1, -bottom, 0}, {0, -1, top, 0},
                             {0, 0, 1, -nearPlane / DepthMargin}};
  return !SphereOutsideAny(sides, e, r, SideMargin);
}

bool SameQuadAsCover(const DeviceState& s, const std::uint8_t* corners, std::uint32_t stride) {
  const Matrix worldView = MatrixMultiply(s.World, s.View);
  for (int i = 0; i < 4; ++i) {
    float p[3];
    std::memcpy(p, corners + i * stride, sizeof p);
    const Vector3 e = ToEye(p, worldView);
    if (e.X != s.CoverCorners[i].X || e.Y != s.CoverCorners[i].Y || e.Z != s.CoverCorners[i].Z) return false;
  }
  return true;
}

const std::vector<PixelRect>* RememberedRects(DeviceState& s, Texture* picture, const QuadPlacement& placed,
                                              std::uint8_t alpha, bool inside, bool matching, std::size_t limit) {
  for (auto& [key, rects] : s.Remembered)
    if (key.Picture == picture->Serial && std::memcmp(&key.Placed, &placed, sizeof placed) == 0 &&
        key.Width == s.Width && key.Height == s.Height && key.Alpha == alpha && key.Inside == inside &&
        key.Matching == matching)
      return key.Found ? &rects : nullptr;
  // Finer tiles leave out more pixels but may need more rectangles than are worth drawing.
  std::vector<PixelRect> rects;
  bool found = false;
  for (int side = 8; side <= 32 && !found; side *= 2)
    found = TileRects(placed, picture, alpha, inside, matching, s.Width, s.Height, limit, rects, side);
  if (s.Remembered.size() >= 8) s.Remembered.erase(s.Remembered.begin());
  s.Remembered.push_back({{picture->Serial, placed, s.Width, s.Height, alpha, inside, matching, found}, std::move(rects)});
  return found ? &s.Remembered.back().second : nullptr;
}

const std::vector<PixelRect>* ClearRectsFor(DeviceState& s, const std::uint8_t* corners, std::uint32_t stride) {
  QuadPlacement placed;
  if (!PlaceQuad(s, corners, stride, placed)) return nullptr;
  return RememberedRects(s, s.Bound, placed, 0, false, false, ClearRectLimit);
}

bool AlphaComesFromPicture(const DeviceState& s) {
  const std::uint32_t* ts = s.StageStates;
  const std::uint32_t op = ts[D3DTSS_ALPHAOP], a1 = ts[D3DTSS_ALPHAARG1], a2 = ts[D3DTSS_ALPHAARG2];
  if (op == D3DTOP_SELECTARG1) return a1 == D3DTA_TEXTURE;
  if (op == D3DTOP_SELECTARG2) return a2 == D3DTA_TEXTURE;
  return op == D3DTOP_MODULATE && (a1 == D3DTA_TEXTURE || a2 == D3DTA_TEXTURE) &&
         (a1 == D3DTA_DIFFUSE || a1 == D3DTA_CURRENT || a2 == D3DTA_DIFFUSE || a2 == D3DTA_CURRENT);
}

void ProbeDraw(DeviceState& s, const DrawFacts& facts, bool vertexColour, bool mayReach) {
  const std::uint32_t* rs = s.RenderStates;
  const std::uint32_t func = rs[D3DRS_ZFUNC];
  const DrawShortcuts cut = ShortcutsFor(s, facts, vertexColour);
  // Whether the draw writes colour and depth outright: then where it lands depends on depths
  // alone, not on what was drawn before it. Short of the far plane, none of its fragments
  // ties with the cleared depth.
  const Matrix& p = s.Projection;
  const float farPlane = FarPlaneOf(p);
  const bool replaces = rs[D3DRS_ZENABLE] != D3DZB_FALSE && func == D3DCMP_LESSEQUAL && rs[D3DRS_ZWRITEENABLE] &&
                        (!rs[D3DRS_ALPHABLENDENABLE] || cut.NoBlend) && (!rs[D3DRS_ALPHATESTENABLE] || cut.NoAlphaTest) &&
                        facts.DepthKnown && facts.FarthestDepth * DepthMargin < farPlane;
  if (!replaces) s.ProbeReplaces = false;
  // A draw that ignores depth could paint over what is in front of the cover.
  if (rs[D3DRS_ZENABLE] == D3DZB_FALSE || (func != D3DCMP_LESS && func != D3DCMP_LESSEQUAL)) {
    s.ProbeBlocked = true;
    return;
  }
  if (!mayReach) return;
  // In front of the cover only what replaces the pixel outright is sure to look the same
  // over the pixels the cover saves: a blend would mix in what was left out.
  if ((rs[D3DRS_ALPHABLENDENABLE] && !cut.NoBlend) || !rs[D3DRS_ZWRITEENABLE]) s.ProbeBlocked = true;
}

PixelRect OpenBounds(const std::vector<PixelRect>& covered, int width, int height) {
  if (width <= 0 || height <= 0) return {};
  // The covered pixels of each row and of each column: the rectangles do not overlap, so a
  // line is closed exactly when they add up to its length.
  std::vector<long> rows(static_cast<std::size_t>(height) + 1, 0), columns(static_cast<std::size_t>(width) + 1, 0);
  for (const PixelRect& r : covered) {
    const int x0 = std::max(r.X, 0), x1 = std::min(r.X + r.Width, width);
    const int y0 = std::max(r.Y, 0), y1 = std::min(r.Y + r.Height, height);
    if (x0 >= x1 || y0 >= y1) continue;
    rows[y0] += x1 - x0, rows[y1] -= x1 - x0;
    columns[x0] += y1 - y0, columns[x1] -= y1 - y0;
  }
  const auto openSpan = [](std::vector<long>& lines, int length, int& first, int& last) {
    long running = 0;
    first = -1;
    for (int i = 0; i + 1 < static_cast<int>(lines.size()); ++i) {
      running += lines[i];
      if (running >= length) continue;
      if (first < 0) first = i;
      last = i;
    }
  };
  int top = 0, bottom = 0, left = 0, right = 0;
  openSpan(rows, width, top, bottom);
  openSpan(columns, height, left, right);
  if (top < 0 || left < 0) return {};
  return {left, top, right - left + 1, bottom - top + 1};
}

void UseCoverStencil(DeviceState& s, bool on, const PixelRect* limit) {
  if (on && !s.StencilOn) {
    glEnable(GL_STENCIL_TEST);
    glStencilFunc(GL_EQUAL, 0, 0xFF);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    glStencilMask(0);
  } else if (!on && s.StencilOn) {
    glDisable(GL_STENCIL_TEST);
  }
  s.StencilOn = on;
  // Set on every scissored draw: other passes (clears, clear-texel rectangles) move the scissor.
  // Outside the cover's open bounds every pixel is covered, outside a limit the draw puts no
  // pixel, and a scissored-out triangle is never even rasterised.
  if (on || limit) {
    const PixelRect r = on && limit ? Intersect(s.CoverOpen, *limit) : on ? s.CoverOpen : *limit;
    glEnable(GL_SCISSOR_TEST);
    glScissor(r.X, r.Y, r.Width, r.Height);
  } else if (s.ScissorOn) {
    glDisable(GL_SCISSOR_TEST);
  }
  s.ScissorOn = on || limit;
}

// Closed convex shells and the far-side triangles their near side hides.
//
// Why leaving such a triangle out changes no pixel: a draw with depth writes, a less (or equal)
// depth test and nothing blended or discarded leaves at each pixel the fragment of least depth
// (the first or last of equals), and the depth buffer holding that depth once the draw is done.
// Every pixel a far-side triangle touches lies on a ray through the shell's inner ball, and that
// ray enters the shell through the near side first: a triangle of the same draw covers the same
// pixel nearer, by more than rounding can close. The far-side fragment is never the least deep,
// so the draw ends the same without it, and so does everything after it.
#include "platform/render/render_shell.h"

#include <glm/geometric.hpp>
#include <glm/vec3.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <utility>

#include "platform/render/render_cover.h"
#include "platform/render/render_state.h"

namespace {

using Point = glm::dvec3;
Point Of(const Vector3& v) { return {v.X, v.Y, v.Z}; }

// Depth-buffer steps (of 2^-24) by which a hidden fragment must lie behind the one hiding it:
// interpolation and the GL's own transform round by a few.
constexpr double DepthSteps = 64;
// Share of its distance by which the GL's transform of a corner may differ from ours.
constexpr double Slack = 1e-4;
// Face and corner pairs a shell is checked for at most (a few milliseconds' work).
constexpr std::size_t ShellWorkLimit = 16'000'000;

}  // namespace

ConvexShell ShellOf(const std::vector<Vector3>& positions, const std::vector<std::uint32_t>& indices,
                    const Vector3& centre) {
  ConvexShell shell;
  if (indices.empty() || indices.size() % 3 != 0) return shell;
  for (std::uint32_t i : indices)
    if (i >= positions.size()) return shell;
  // Corners by position: a shared edge is shared only where its corners are the same numbers
  // (plus and minus zero alike), so that the rasteriser meets it from both sides exactly.
  std::map<std::array<float, 3>, std::uint32_t> ids;
  std::vector<std::uint32_t> corner(positions.size());
  std::vector<Point> at;
  for (std::size_t i = 0; i < positions.size(); ++i) {
    const std::array<float, 3> key{positions[i].X + 0.0f, positions[i].Y + 0.0f, positions[i].Z + 0.0f};
    const auto [it, added] = ids.emplace(key, static_cast<std::uint32_t>(at.size()));
    if (added) at.push_back(Of(positions[i]));
    corner[i] = it->second;
  }
  // Every face is tried against every corner: a model too large for that at load is left as it is.
  if (indices.size() / 3 * at.size() > ShellWorkLimit) return shell;
  double size = 0;
  const Point c = Of(centre);
  for (const Point& p : at) size = std::max(size, glm::length((p - c)));
  if (!(size > 0)) return shell;
  const double flat = 1e-5 * size;

  std::map<std::pair<std::uint32_t, std::uint32_t>, int> edges;
  double inner = size;
  int outward = 0;
  std::vector<float> faces(indices.size() / 3 * 4, 0.0f);
  for (std::size_t t = 0; t < indices.size(); t += 3) {
    const std::uint32_t a = corner[indices[t]], b = corner[indices[t + 1]], d = corner[indices[t + 2]];
    if (a == b || b == d || d == a) continue;  // no area: it covers no pixel, and has no plane
    const Point n = glm::cross((at[b] - at[a]), (at[d] - at[a]));
    const double length = glm::length(n);
    if (!(length > 1e-9 * size * size)) return shell;  // a sliver: no plane to speak of
    const Point unit = n / length;
    // Every face wound the same way round, facing away from the centre.
    const double distance = glm::dot(unit, (at[a] - c));
    const int facing = distance > 0 ? 1 : -1;
    if (outward == 0) outward = facing;
    if (facing != outward) return shell;
    inner = std::min(inner, std::fabs(distance));
    float* face = &faces[t / 3 * 4];
    for (int k = 0; k < 3; ++k) face[k] = static_cast<float>(outward * (unit[k]));
    face[3] = static_cast<float>(outward * glm::dot(unit, at[a]));
    for (const Point& p : at)
      if (outward * glm::dot(unit, (p - at[a])) > flat) return shell;  // a corner beyond the face
    for (const auto& e : {std::make_pair(a, b), std::make_pair(b, d), std::make_pair(d, a)})
      if (++edges[e] > 1) return shell;
  }
  // Each edge once each way round: closed, with no crack and no fold.
  if (edges.empty()) return shell;
  for (const auto& [edge, count] : edges)
    if (!edges.count({edge.second, edge.first})) return shell;
  if (!(inner > 2 * flat)) return shell;
  shell.Closed = true;
  shell.Centre = centre;
  shell.InRadius = static_cast<float>(inner - 2 * flat);
  shell.Faces = std::move(faces);
  return shell;
}

bool HiddenBacksMayGo(const DeviceState& s) {
  const std::uint32_t* rs = s.RenderStates;
  // Culling by winding could take away the near side itself.
  return s.ShortcutsOn && !s.Target && rs[D3DRS_CULLMODE] == D3DCULL_NONE && rs[D3DRS_ZENABLE] != D3DZB_FALSE &&
         rs[D3DRS_ZWRITEENABLE] &&
         (rs[D3DRS_ZFUNC] == D3DCMP_LESS || rs[D3DRS_ZFUNC] == D3DCMP_LESSEQUAL) &&
         (!rs[D3DRS_ALPHABLENDENABLE] || s.LastCut.NoBlend) && (!rs[D3DRS_ALPHATESTENABLE] || s.LastCut.NoAlphaTest);
}

std::size_t LeaveOutHiddenBacks(const DeviceState& s, const ConvexShell& shell, const std::vector<Vector3>& positions,
                                const std::vector<std::uint32_t>& indices, const Vector3& boundCentre,
                                float boundRadius, std::vector<std::uint32_t>& kept) {
  kept.clear();
  if (!shell.Closed || !PlainPerspective(s.Projection)) return 0;
  const Matrix wv = MatrixMultiply(s.World, s.View);
  // Only turns, one scale and moves keep the inner ball a ball.
  Point rows[3];
  for (int r = 0; r < 3; ++r) rows[r] = Point(wv.M[r][0], wv.M[r][1], wv.M[r][2]);
  const double scale = glm::length(rows[0]);
  for (int r = 0; r < 3; ++r) {
    if (!(std::fabs(glm::length(rows[r]) - scale) <= 1e-5 * scale)) return 0;
    if (!(std::fabs(glm::dot(rows[r], rows[(r + 1) % 3])) <= 1e-5 * scale * scale)) return 0;
  }
  // The whole model well inside the view: the GL clips none of its triangles.
  const Matrix& p = s.Projection;
  const double nearPlane = NearPlaneOf(p), farPlane = FarPlaneOf(p);
  Vector3 bound;
  float boundEye = 0;
  if (!EyeSphere(s, boundCentre, boundRadius, bound, boundEye)) return 0;
  const double r = boundEye * (1 + 1e-3);
  if (!(bound.Z - r > nearPlane * (1 + 1e-3)) || !(bound.Z + r < farPlane * (1 - 1e-3))) return 0;
  const std::pair<double, double> sides[2] = {{p.M[0][0], bound.X}, {p.M[1][1], bound.Y}};
  for (const auto& [k, off] : sides)
    if (!(k * std::fabs(off) - bound.Z <= -r * std::sqrt(k * k + 1))) return 0;

  // The eye in the model's own coordinates: the turn undone is its transpose, over the scale squared.
  const Point move(wv.M[3][0], wv.M[3][1], wv.M[3][2]);
  const Point eye = -Point(glm::dot(rows[0], move), glm::dot(rows[1], move), glm::dot(rows[2], move)) / (scale * scale);
  const Point toCentre = Of(shell.Centre) - eye;
  const double toCentre2 = glm::dot(toCentre, toCentre);
  const double inner = shell.InRadius * (1 - Slack);
  // Depth is p22 + p32 / z: two points on one ray, `gap` apart along it, differ in depth by at
  // least -p32 * gap / (|far one| * its z), in the eye's units; the scale cancels from gap / |far one|.
  // Squared, so that only the triangles that may go take a root.
  struct Corner {
    double Length2 = 0, Off2 = 0;  // from the eye; of the ray through it from the centre
    double Depth = 0;              // in the eye's units
    bool Ahead = false;            // within a right angle of the centre, seen from the eye
  };
  static thread_local std::vector<Corner> corners;
  corners.resize(positions.size());
  for (std::size_t i = 0; i < positions.size(); ++i) {
    const Point q = Of(positions[i]);
    const Point ray = (q - eye);
    Corner& k = corners[i];
    const double along = glm::dot(ray, toCentre);
    k.Length2 = glm::dot(ray, ray);
    k.Ahead = along > 0 && k.Length2 > 0;
    if (k.Ahead) k.Off2 = std::max(0.0, toCentre2 - along * along / k.Length2);
    k.Depth = q.x * wv.M[0][2] + q.y * wv.M[1][2] + q.z * wv.M[2][2] + move.z;
  }
  std::size_t left = 0;
  kept.reserve(indices.size());
  for (std::size_t t = 0; t + 2 < indices.size(); t += 3) {
    const Corner* k[3] = {&corners[indices[t]], &corners[indices[t + 1]], &corners[indices[t + 2]]};
    // Facing away: the eye on the inner side of the face's plane (a face with no area has none).
    const float* face = &shell.Faces[t / 3 * 4];
    bool hidden = k[0]->Ahead && k[1]->Ahead && k[2]->Ahead &&
                  face[0] * eye.x + face[1] * eye.y + face[2] * eye.z < face[3];
    if (hidden) {
      // Rays through the triangle pass the centre no farther off than through its corners (the
      // cone of rays within an angle of the centre's is convex), so each crosses the inner ball
      // along a chord at least `gap` long before it leaves through this triangle.
      // The ball shrunk by the slack allowed for the GL's own rounding of where the rays run.
      const double farthest = std::sqrt(std::max({k[0]->Length2, k[1]->Length2, k[2]->Length2}));
      const double within = inner - Slack * farthest;
      const double off2 = std::max({k[0]->Off2, k[1]->Off2, k[2]->Off2});
      const double deepest = std::max({k[0]->Depth, k[1]->Depth, k[2]->Depth});
      hidden = within > 0 && off2 < within * within && deepest > 0;
      if (hidden) {
        const double gap = 2 * std::sqrt(within * within - off2);
        hidden = -p.M[3][2] * gap / (farthest * deepest) > DepthSteps * DepthBufferStep;
      }
    }
    if (hidden) {
      ++left;
    } else {
      kept.insert(kept.end(), indices.begin() + static_cast<std::ptrdiff_t>(t),
                  indices.begin() + static_cast<std::ptrdiff_t>(t) + 3);
    }
  }
  if (left == 0) kept.clear();
  return left;
}

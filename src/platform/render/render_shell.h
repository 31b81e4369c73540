// Closed convex models (the enemies' balls): the triangles of their far side that their near
// side hides, whatever else is drawn, so that a draw can leave them out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/render/matrix.h"

struct DeviceState;

// What a model's triangles make, found once when it is loaded.
struct ConvexShell {
  // Closed (every edge shared by two triangles, corner for corner), consistently wound and
  // convex, with `Centre` inside.
  bool Closed = false;
  Vector3 Centre;
  // A ball around the centre that lies inside the shell: every face is at least this far off.
  float InRadius = 0;
  // Each triangle's plane, four floats in index order: the outward unit normal and its offset
  // (n.p = offset on the plane); all zero for a triangle with no area.
  std::vector<float> Faces;
};

ConvexShell ShellOf(const std::vector<Vector3>& positions, const std::vector<std::uint32_t>& indices,
                    const Vector3& centre);

// Whether the current states let a draw of a closed shell lose a triangle that a nearer one of
// the same draw hides at every pixel: the back buffer, no culling, depth tested less (or
// equal) with depth writes, and nothing blended or discarded.
bool HiddenBacksMayGo(const DeviceState& s);

// Copies the shell's triangles to `kept` without those of its far side that its near side hides
// by a clear depth margin at every pixel they touch, and returns how many it left out. The
// whole shell, `boundCentre`/`boundRadius` around it, must lie well inside the view, so that
// no triangle is clipped.
std::size_t LeaveOutHiddenBacks(const DeviceState& s, const ConvexShell& shell, const std::vector<Vector3>& positions,
                                const std::vector<std::uint32_t>& indices, const Vector3& boundCentre,
                                float boundRadius, std::vector<std::uint32_t>& kept);

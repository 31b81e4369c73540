// Pixels a draw may leave out: under a picture that will cover them, or where its own picture is clear.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/render/matrix.h"

struct DeviceState;
struct Texture;

// A rectangle of the target in pixels, rows counted from the top.
struct PixelRect {
  int X = 0, Y = 0, Width = 0, Height = 0;
};

// A screen-aligned quad: its pixel span and the picture coordinates at its edges.
struct QuadPlacement {
  float Left = 0, Right = 0, Top = 0, Bottom = 0;
  float ULeft = 0, URight = 0, VTop = 0, VBottom = 0;
};

// A position (three floats) in eye space.
Vector3 ToEye(const float* p, const Matrix& worldView);

// Places the fan of four corners (SceneVertex layout, `stride` bytes apart) with the device's
// transforms; false unless it lands as an axis-aligned rectangle at one depth, its picture
// coordinates running along its sides.
bool PlaceQuad(const DeviceState& s, const std::uint8_t* corners, std::uint32_t stride, QuadPlacement& placed);

// Tiles of the target in which every pixel the quad may touch reads only texels of `alpha`
// (0: clear, 255: opaque) from `picture` match; with `inside`, a tile matches only if each of
// its pixels also lies well inside the quad. `rects` covers the matching tiles (`matching`) or
// the others, in at most `limit` rectangles. False when the picture's texels cannot be told
// (mip levels, render targets), when more rectangles would be needed, or when the rectangles
// would be the whole target.
bool TileRects(const QuadPlacement& placed, Texture* picture, std::uint8_t alpha, bool inside, bool matching,
               int width, int height, std::size_t limit, std::vector<PixelRect>& rects, int tileSide = 8);
inline constexpr std::size_t CoverRectLimit = 256;
inline constexpr std::size_t ClearRectLimit = 32;

// The bounds of the pixels of a width x height target that none of the disjoint `covered`
// rectangles holds; empty (zero size) when they hold every pixel.
PixelRect OpenBounds(const std::vector<PixelRect>& covered, int width, int height);

// Turns the stencil test that keeps draws off the covered pixels on or off, and with it the
// scissor to the cover's open bounds; a limit, where given, scissors the draw to it as well.
void UseCoverStencil(DeviceState& s, bool on, const PixelRect* limit = nullptr);

// Whether some triangle of the draw may reach eye depths below `depth` inside the view.
// `corners` are positions (three floats at the start of each `stride` bytes); `indices`, when
// given, name the triangles' corners, else each three corners make one.
bool MayReachNearer(const DeviceState& s, const std::uint8_t* corners, std::size_t cornerCount, std::uint32_t stride,
                    const std::uint32_t* indices, std::size_t indexCount, float depth);
// Whether the fan of four corners is the cover's own quad, corner for corner.
bool SameQuadAsCover(const DeviceState& s, const std::uint8_t* corners, std::uint32_t stride);
// TileRects' rectangles for the picture so placed, at the first tile size (8, 16 or 32 pixels)
// that needs no more than `limit`; remembered, since the picture's texels are read back to find
// them. Null when there are none to be had.
const std::vector<PixelRect>* RememberedRects(DeviceState& s, Texture* picture, const QuadPlacement& placed,
                                              std::uint8_t alpha, bool inside, bool matching, std::size_t limit);
// The rectangles a blended quad with the bound picture must still draw in; null when the quad is
// not flat on the screen or its picture's clear texels leave too little out.
const std::vector<PixelRect>* ClearRectsFor(DeviceState& s, const std::uint8_t* corners, std::uint32_t stride);
// Whether the fragment's alpha is the picture's alpha, alone or times the colour's.
bool AlphaComesFromPicture(const DeviceState& s);
// Notes in the device whether a probed draw keeps the cover safe.
struct DrawFacts;
void ProbeDraw(DeviceState& s, const DrawFacts& facts, bool vertexColour, bool mayReach);

// A sphere in the draw's own coordinates taken to eye space, its radius grown to hold the
// draw's largest scale and rounding; false when the transforms give no number.
bool EyeSphere(const DeviceState& s, const Vector3& centre, float radius, Vector3& eye, float& eyeRadius);

// Whether the projection is a plain perspective: x and y scaled, depth into w, nothing shifted,
// the near plane in front of the eye and the far plane beyond it.
bool PlainPerspective(const Matrix& projection);
// The eye depths where the projection puts depth 0 and depth 1 (0 where it has none).
float NearPlaneOf(const Matrix& projection);
float FarPlaneOf(const Matrix& projection);
// One step of the 24-bit depth buffer.
inline constexpr double DepthBufferStep = 1.0 / 16777216;

// Whether a sphere, in the draw's own coordinates, may put a fragment inside the pixel
// rectangle: false only when it lies wholly outside the part of the view that shows there.
bool SphereMayShowIn(const DeviceState& s, const Vector3& centre, float radius, const PixelRect& rect);

// The same for a sphere, in the draw's own coordinates: false when it lies wholly beyond.
bool SphereMayReachNearer(const DeviceState& s, const Vector3& centre, float radius, float depth);

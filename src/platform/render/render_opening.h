// An opening: a box drawn around the eye with one face left open. A model wholly outside the
// box, drawn behind what is there already, can show only through that face.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/render/render_cover.h"

struct DeviceState;

// Takes the box (six faces as fans of four corners, positions at the start of each `stride`
// bytes) with the device's transforms. False, and no opening, unless the box is convex, its
// faces meet edge to edge with the very same corners, the eye lies inside it clear of the near
// plane and its far side lies short of the far plane.
bool TakeOpening(DeviceState& s, const std::uint8_t* box, std::uint32_t stride, int openFace);

// Whether every triangle of the draw lies outside the opening's box, far enough beyond it that
// its depth cannot round to the box's. Then the draw, made with a strict depth test, can put
// fragments only within `OpeningBounds` of the device.
bool OutsideOpeningBox(const DeviceState& s, const std::uint8_t* corners, std::size_t cornerCount,
                       std::uint32_t stride, const std::uint32_t* indices, std::size_t indexCount);

// The part two rectangles share; empty (zero size) when none.
PixelRect Intersect(const PixelRect& a, const PixelRect& b);

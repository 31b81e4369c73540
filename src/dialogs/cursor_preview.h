// The game page's aiming-cursor preview: a hatched square in the chosen colour, the picture on top.
#pragma once

#include <cstdint>
#include <vector>

// Where the preview sits in the game page, in page client pixels, and its size.
constexpr int PreviewX = 35;
constexpr int PreviewY = 140;
constexpr int PreviewSize = 40;
// The painted square reaches one pixel beyond the preview on every side (its outline).
constexpr int PreviewPaintedSize = PreviewSize + 2;

// The colour copies the preview paints with (red, green, blue, alpha 0..255).
struct PreviewColour {
  std::uint32_t Red = 0;
  std::uint32_t Green = 0;
  std::uint32_t Blue = 0;
  std::uint32_t Alpha = 0;
};

// The hatch colour: each component scaled by alpha/255 and truncated, as 0xFFRRGGBB.
std::uint32_t PreviewHatchColour(const PreviewColour& colour);

// Loads "File/Bitmap/CursorNN_a.bmp" for style 1..6 as ARGB, top row first; false when the
// picture is missing or damaged (the preview is then the hatched square alone).
bool LoadPreviewPicture(std::uint32_t style, int& width, int& height,
                        std::vector<std::uint32_t>& pixels);

// Paints the PreviewPaintedSize square, top row first, as 0xFFRRGGBB: a black outline, the
// diagonal cross-hatch in the hatch colour on white, and the picture's first 40 x 40 pixels
// over it with white left out. origin is the square's top-left in page pixels: the hatch
// lines stay fixed to the page as a brush pattern does. pixels may be empty (no picture).
void PaintCursorPreview(const PreviewColour& colour, int originX, int originY, int pictureWidth,
                        int pictureHeight, const std::vector<std::uint32_t>& picture,
                        std::vector<std::uint32_t>& out);

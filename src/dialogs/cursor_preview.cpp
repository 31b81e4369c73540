// Painting the cursor preview into a small picture for the game page.
#include "dialogs/cursor_preview.h"

#include <cstdio>

#include "platform/render/image_file.h"

namespace {
constexpr std::uint32_t White = 0xFFFFFFFFu;
constexpr std::uint32_t Black = 0xFF000000u;

bool OnHatch(int x, int y) {
  // Lines both ways every 8 pixels, as the diagonal cross-hatch brush draws them.
  return ((x - y) & 7) == 0 || ((x + y) & 7) == 7;
}
}  // namespace

std::uint32_t PreviewHatchColour(const PreviewColour& colour) {
  const double a = colour.Alpha / 255.0;
  const auto scaled = [a](std::uint32_t c) { return static_cast<std::uint32_t>(c * a) & 0xFFu; };
  return 0xFF000000u | scaled(colour.Red) << 16 | scaled(colour.Green) << 8 | scaled(colour.Blue);
}

bool LoadPreviewPicture(std::uint32_t style, int& width, int& height,
                        std::vector<std::uint32_t>& pixels) {
  pixels.clear();
  width = height = 0;
  if (style < 1 || style > 6) return false;
  char path[64];
  std::snprintf(path, sizeof path, "File/Bitmap/Cursor%02u_a.bmp", style);
  std::vector<ImageLevel> levels;
  if (!DecodeImageFile(path, levels) || levels.empty()) return false;
  width = levels[0].Width;
  height = levels[0].Height;
  pixels = std::move(levels[0].Pixels);
  return true;
}

void PaintCursorPreview(const PreviewColour& colour, int originX, int originY, int pictureWidth,
                        int pictureHeight, const std::vector<std::uint32_t>& picture,
                        std::vector<std::uint32_t>& out) {
  constexpr int n = PreviewPaintedSize;
  out.assign(n * n, White);
  const std::uint32_t hatch = PreviewHatchColour(colour);
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x) {
      std::uint32_t& pixel = out[y * n + x];
      if (x == 0 || y == 0 || x == n - 1 || y == n - 1)
        pixel = Black;
      else if (OnHatch(originX + x, originY + y))
        pixel = hatch;
    }
  if (picture.size() < static_cast<std::size_t>(pictureWidth) * pictureHeight) return;
  // The image list cuts the picture into 40-pixel cells; the preview shows the first.
  const int w = pictureWidth < PreviewSize ? pictureWidth : PreviewSize;
  const int h = pictureHeight < PreviewSize ? pictureHeight : PreviewSize;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const std::uint32_t source = picture[y * pictureWidth + x] | 0xFF000000u;
      if (source != White) out[(y + 1) * n + x + 1] = source;
    }
}

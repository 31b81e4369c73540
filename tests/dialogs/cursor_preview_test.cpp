// The cursor preview's pixels: outline, hatch in the alpha-scaled colour, picture keyed on white.
#include <gtest/gtest.h>

#include "dialogs/cursor_preview.h"

namespace {
constexpr int N = PreviewPaintedSize;

// A 40 x 40 picture: white, with a dark cross through its centre and one near-white pixel.
std::vector<std::uint32_t> CrossPicture() {
  std::vector<std::uint32_t> p(40 * 40, 0xFFFFFFFFu);
  for (int i = 0; i < 40; ++i) p[20 * 40 + i] = p[i * 40 + 20] = 0xFF141418u;
  p[2 * 40 + 2] = 0xFFFFFFFEu;
  return p;
}

struct ColourCase {
  const char* Name;
  PreviewColour Colour;
  std::uint32_t Hatch;
};

class PreviewColours : public testing::TestWithParam<ColourCase> {};

TEST_P(PreviewColours, HatchTakesTheAlphaScaledColourAndThePictureStaysOnTop) {
  const ColourCase& c = GetParam();
  EXPECT_EQ(PreviewHatchColour(c.Colour), c.Hatch);
  std::vector<std::uint32_t> out;
  const std::vector<std::uint32_t> picture = CrossPicture();
  PaintCursorPreview(c.Colour, PreviewX - 1, PreviewY - 1, 40, 40, picture, out);
  ASSERT_EQ(out.size(), static_cast<std::size_t>(N * N));

  int hatched = 0, white = 0;
  for (int y = 0; y < N; ++y)
    for (int x = 0; x < N; ++x) {
      const std::uint32_t pixel = out[y * N + x];
      if (x == 0 || y == 0 || x == N - 1 || y == N - 1) {
        EXPECT_EQ(pixel, 0xFF000000u) << x << "," << y;
      } else if (x == 21 || y == 21) {
        EXPECT_EQ(pixel, 0xFF141418u) << x << "," << y;  // the picture's cross
      } else if (pixel == c.Hatch) {
        ++hatched;
      } else {
        EXPECT_TRUE(pixel == 0xFFFFFFFFu || pixel == 0xFFFFFFFEu) << std::hex << pixel;
        ++white;
      }
    }
  // Two diagonal families every 8 pixels cover about a quarter of the square.
  EXPECT_GT(hatched, 40 * 40 / 6);
  EXPECT_GT(white, 40 * 40 / 2);
  // A pixel that is only nearly white is part of the picture, not of the key.
  EXPECT_EQ(out[3 * N + 3], 0xFFFFFFFEu);
}

INSTANTIATE_TEST_SUITE_P(
    Alphas, PreviewColours,
    testing::Values(ColourCase{"Opaque", {255, 50, 10, 255}, 0xFFFF320Au},
                    ColourCase{"Half", {255, 50, 10, 128}, 0xFF801905u},  // 255*128/255, 25.09, 5.01
                    ColourCase{"Clear", {255, 50, 10, 0}, 0xFF000000u}),
    [](const testing::TestParamInfo<ColourCase>& info) { return std::string(info.param.Name); });

TEST(CursorPreview, HatchLinesStayFixedToThePageAndAMissingPictureLeavesTheSquare) {
  const PreviewColour red{255, 0, 0, 255};
  std::vector<std::uint32_t> a, b;
  PaintCursorPreview(red, 0, 0, 0, 0, {}, a);
  PaintCursorPreview(red, 3, 0, 0, 0, {}, b);
  // Moving the square three pixels right shows the same page pattern three pixels further on.
  for (int y = 1; y < N - 1; ++y)
    for (int x = 1; x + 3 < N - 1; ++x) EXPECT_EQ(a[y * N + x + 3], b[y * N + x]) << x << "," << y;
  EXPECT_EQ(a[1 * N + 1], 0xFFFF0000u);  // (1,1) lies on a falling diagonal
  EXPECT_EQ(a[1 * N + 2], 0xFFFFFFFFu);
}

TEST(CursorPreview, APictureWiderThanOneCellShowsItsFirstCell) {
  std::vector<std::uint32_t> wide(80 * 40, 0xFFFFFFFFu);
  for (int y = 0; y < 40; ++y) wide[y * 80 + 60] = 0xFF00FF00u;  // only in the second cell
  wide[5 * 80 + 5] = 0xFF0000FFu;
  std::vector<std::uint32_t> out;
  PaintCursorPreview({0, 0, 0, 255}, 0, 0, 80, 40, wide, out);
  EXPECT_EQ(out[6 * N + 6], 0xFF0000FFu);
  for (std::uint32_t pixel : out) EXPECT_NE(pixel, 0xFF00FF00u);
}
}  // namespace

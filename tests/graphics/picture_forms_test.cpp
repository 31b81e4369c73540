// Less common picture forms a player's own data may hold: run-length and bit-field BMPs,
// palettes before true-colour pixels, luminance and alpha DDS layouts, cube maps.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>

#include "graphics_fixture.h"
#include "platform/render/image_file.h"

namespace {

void Put(std::string& s, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) s += static_cast<char>(i < 4 ? (v >> (8 * i)) & 0xFF : 0);
}

// A BMP with a 40-byte header; `extra` (masks, palette) sits between header and pixels.
std::string Bmp(int width, int height, int bits, int compression, const std::vector<std::uint32_t>& palette,
                const std::string& pixels, const std::string& masks = {}) {
  const std::uint32_t offset = 54 + static_cast<std::uint32_t>(masks.size() + 4 * palette.size());
  std::string s = "BM";
  Put(s, offset + static_cast<std::uint32_t>(pixels.size()), 4);
  Put(s, 0, 4);
  Put(s, offset, 4);
  Put(s, 40, 4);
  Put(s, static_cast<std::uint32_t>(width), 4);
  Put(s, static_cast<std::uint32_t>(height), 4);
  Put(s, 1, 2);
  Put(s, bits, 2);
  Put(s, compression, 4);
  Put(s, static_cast<std::uint32_t>(pixels.size()), 4);
  Put(s, 0, 8);
  Put(s, static_cast<std::uint32_t>(palette.size()), 4);
  Put(s, 0, 4);
  s += masks;
  for (std::uint32_t c : palette) Put(s, c & 0xFFFFFF, 4);
  return s + pixels;
}

std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s += static_cast<char>(v);
  return s;
}

std::string Dds(int width, int height, std::uint32_t pfFlags, std::uint32_t bits, std::uint32_t r, std::uint32_t g,
                std::uint32_t b, std::uint32_t a, std::uint32_t caps2, const std::string& pixels) {
  std::string s = "DDS ";
  Put(s, 124, 4);
  Put(s, 0x1007, 4);
  Put(s, static_cast<std::uint32_t>(height), 4);
  Put(s, static_cast<std::uint32_t>(width), 4);
  s.append(4 + 4 + 4 + 44, '\0');
  Put(s, 32, 4);
  Put(s, pfFlags, 4);
  Put(s, 0, 4);
  Put(s, bits, 4);
  Put(s, r, 4);
  Put(s, g, 4);
  Put(s, b, 4);
  Put(s, a, 4);
  Put(s, 0x1000, 4);
  Put(s, caps2, 4);
  s.append(12, '\0');
  return s + pixels;
}

std::vector<std::uint32_t> DecodeBytes(const std::string& bytes) {
  std::vector<ImageLevel> levels;
  EXPECT_TRUE(DecodeImageMemory(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), levels));
  return levels.empty() ? std::vector<std::uint32_t>{} : levels[0].Pixels;
}

constexpr std::uint32_t K = 0xFF000000, R = 0xFFFF0000, G = 0xFF00FF00, B = 0xFF0000FF;

}  // namespace

TEST(PictureForms, EveryBmpLayoutReadsTopRowFirst) {
  struct Case {
    const char* Name;
    std::string File;
    std::vector<std::uint32_t> Expected;
  };
  const std::vector<std::uint32_t> palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
  const Case cases[] = {
      // Bottom row a run of red; middle row literal pixels; top row a delta past two pixels.
      {"rle8",
       Bmp(4, 3, 8, 1, palette,
           Bytes({4, 1, 0, 0, 0, 3, 2, 3, 1, 0, 1, 2, 0, 0, 0, 2, 2, 0, 2, 3, 0, 1})),
       {K, K, B, B, G, B, R, G, R, R, R, R}},
      {"rle4", Bmp(4, 2, 4, 2, palette, Bytes({4, 0x12, 0, 0, 0, 4, 0x31, 0x23, 0, 1})),
       {B, R, G, B, R, G, R, G}},
      // True-colour pixels after a palette the header announces: the pixel offset decides.
      {"24-bit with palette", Bmp(2, 1, 24, 0, {0x123456, 0x654321}, Bytes({0, 0, 255, 255, 0, 0, 0, 0})),
       {R, B}},
      {"16-bit 555 with palette", Bmp(2, 1, 16, 0, {0x123456}, Bytes({0x00, 0x7C, 0x1F, 0x00})), {R, B}},
      {"16-bit 565 fields", Bmp(2, 1, 16, 3, {}, Bytes({0xE0, 0x07, 0x1F, 0x00}),
                                Bytes({0, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0})),
       {G, B}},
      {"1-bit", Bmp(3, 1, 1, 0, {0x000000, 0xFFFFFF}, Bytes({0xA0, 0, 0, 0})), {0xFFFFFFFF, K, 0xFFFFFFFF}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(DecodeBytes(c.File), c.Expected);
  }
}

TEST(PictureForms, RunLengthCodesThatRunPastThePictureAreRefusedOrClipped) {
  std::vector<ImageLevel> levels;
  const std::vector<std::uint32_t> palette = {0x000000, 0xFF0000};
  // A literal run longer than the data left.
  const std::string cut = Bmp(4, 2, 8, 1, palette, Bytes({0, 9, 1, 1}));
  EXPECT_FALSE(DecodeImageMemory(reinterpret_cast<const std::uint8_t*>(cut.data()), cut.size(), levels));
  // A run wider than a row and a delta far below the picture draw only inside it.
  const std::string wide = Bmp(2, 1, 8, 1, palette, Bytes({200, 1, 0, 2, 255, 255, 0, 1}));
  EXPECT_EQ(DecodeBytes(wide), (std::vector<std::uint32_t>{R, R}));
}

TEST(PictureForms, LuminanceAlphaAndSmallRgbDdsLayouts) {
  struct Case {
    const char* Name;
    std::uint32_t Flags, Bits, R, G, B, A;
    std::string Pixels;
    std::vector<std::uint32_t> Expected;
  };
  const Case cases[] = {
      {"L8", 0x20000, 8, 0xFF, 0, 0, 0, Bytes({0x80, 0xFF}), {0xFF808080, 0xFFFFFFFF}},
      {"A8L8", 0x20001, 16, 0xFF, 0, 0, 0xFF00, Bytes({0x20, 0x40, 0xFF, 0x00}), {0x40202020, 0x00FFFFFF}},
      {"A8", 0x2, 8, 0, 0, 0, 0xFF, Bytes({0x7F, 0xFF}), {0x7F000000, 0xFF000000}},
      {"R3G3B2", 0x40, 8, 0xE0, 0x1C, 0x03, 0, Bytes({0xE0, 0x03}), {R, B}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(DecodeBytes(Dds(2, 1, c.Flags, c.Bits, c.R, c.G, c.B, c.A, 0, c.Pixels)), c.Expected);
  }
}

TEST(PictureForms, CubeMapsAndVolumesReadAsTheirFirstFaceOrSlice) {
  std::string faces;
  for (std::uint32_t face = 0; face < 6; ++face) Put(faces, 0xFF000000u | face, 4);
  for (std::uint32_t caps2 : {0xFE00u, 0x200000u}) {
    std::vector<ImageLevel> levels;
    const std::string file = Dds(1, 1, 0x41, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000, caps2, faces);
    ASSERT_TRUE(DecodeImageMemory(reinterpret_cast<const std::uint8_t*>(file.data()), file.size(), levels));
    ASSERT_EQ(levels.size(), 1u);
    EXPECT_EQ(levels[0].Pixels[0], 0xFF000000u);
  }
}

TEST(PictureForms, AValidPicturePaddedPastTheCeilingIsRefusedWithoutReadingIt) {
  TempFolder folder;
  const std::string path = folder.Path + "/padded.bmp";
  WriteBmp24(path, 2, 2, {R, G, B, K});
  std::vector<ImageLevel> levels;
  ASSERT_TRUE(DecodeImageFile(path, levels));
  ASSERT_EQ(truncate(path.c_str(), 2LL << 30), 0);  // sparse: costs no disk
  EXPECT_FALSE(DecodeImageFile(path, levels));
}

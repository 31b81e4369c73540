// Picture decoding: BMP and DDS variants, damaged files, the linear mip filter.
#include <gtest/gtest.h>

#include "graphics_fixture.h"
#include "platform/render/image_file.h"

namespace {

std::vector<ImageLevel> Decode(const std::string& path, bool expectOk = true) {
  std::vector<ImageLevel> levels;
  EXPECT_EQ(DecodeImageFile(path, levels), expectOk) << path;
  return levels;
}

}  // namespace

TEST(ImageFile, TrueColourAndPalettisedBmpKeepTheirPixelsTopRowFirst) {
  TempFolder folder;
  const std::vector<std::uint32_t> pixels = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF,
                                             0xFFFFFFFF, 0xFF000000, 0xFF123456};
  WriteBmp24(folder.Path + "/true.bmp", 3, 2, pixels);
  auto levels = Decode(folder.Path + "/true.bmp");
  ASSERT_EQ(levels.size(), 1u);
  EXPECT_EQ(levels[0].Width, 3);
  EXPECT_EQ(levels[0].Height, 2);
  EXPECT_EQ(levels[0].Pixels, pixels);

  WriteBmp8(folder.Path + "/palette.bmp", 3, 2, {0, 1, 2, 2, 1, 0}, {0xFF0000, 0x00FF00, 0xFFFFFF});
  levels = Decode(folder.Path + "/palette.bmp");
  ASSERT_EQ(levels.size(), 1u);
  const std::vector<std::uint32_t> expected = {0xFFFF0000, 0xFF00FF00, 0xFFFFFFFF,
                                               0xFFFFFFFF, 0xFF00FF00, 0xFFFF0000};
  EXPECT_EQ(levels[0].Pixels, expected);
}

TEST(ImageFile, DamagedOrTruncatedPicturesFailInsteadOfLoadingGarbage) {
  TempFolder folder;
  std::vector<std::uint32_t> pixels(64 * 64, 0xFF808080);
  WriteBmp24(folder.Path + "/full.bmp", 64, 64, pixels);
  const std::string bmp = ReadFile(folder.Path + "/full.bmp");
  WriteFile(folder.Path + "/short.bmp", bmp.substr(0, bmp.size() - 100));
  Decode(folder.Path + "/short.bmp", false);
  WriteFile(folder.Path + "/header.bmp", bmp.substr(0, 20));
  Decode(folder.Path + "/header.bmp", false);
  std::string badDepth = bmp;
  badDepth[28] = 7;  // bits per pixel
  WriteFile(folder.Path + "/depth.bmp", badDepth);
  Decode(folder.Path + "/depth.bmp", false);

  WriteDds32(folder.Path + "/full.dds", 8, 8, {0xFF112233, 0xFF445566, 0xFF778899, 0xFFAABBCC});
  const std::string dds = ReadFile(folder.Path + "/full.dds");
  WriteFile(folder.Path + "/short.dds", dds.substr(0, dds.size() - 1));  // last mip incomplete
  Decode(folder.Path + "/short.dds", false);
  WriteFile(folder.Path + "/stub.dds", dds.substr(0, 100));
  Decode(folder.Path + "/stub.dds", false);
  WriteFile(folder.Path + "/text.bmp", "this is not a picture at all");
  Decode(folder.Path + "/text.bmp", false);
  Decode(folder.Path + "/missing.bmp", false);
  WriteFile(folder.Path + "/empty.dds", "");
  Decode(folder.Path + "/empty.dds", false);
}

TEST(ImageFile, UncompressedDdsReadsStoredMipsAndSixteenBitColour) {
  TempFolder folder;
  WriteDds32(folder.Path + "/mips.dds", 8, 4, {0x80112233, 0xFF445566, 0xFF778899, 0xFFAABBCC});
  auto levels = Decode(folder.Path + "/mips.dds");
  ASSERT_EQ(levels.size(), 4u);
  EXPECT_EQ(levels[0].Width, 8);
  EXPECT_EQ(levels[0].Height, 4);
  EXPECT_EQ(levels[0].Pixels[0], 0x80112233u);
  EXPECT_EQ(levels[1].Width, 4);
  EXPECT_EQ(levels[1].Pixels[0], 0xFF445566u);
  EXPECT_EQ(levels[3].Width, 1);
  EXPECT_EQ(levels[3].Height, 1);
  EXPECT_EQ(levels[3].Pixels[0], 0xFFAABBCCu);

  WriteDds565(folder.Path + "/rgb565.dds", 4, 4, 0xF800 | 0x001F);  // full red and blue
  levels = Decode(folder.Path + "/rgb565.dds");
  ASSERT_EQ(levels.size(), 1u);
  EXPECT_EQ(levels[0].Pixels[5], 0xFFFF00FFu);
}

TEST(ImageFile, DxtBlocksDecodeWithTheirAlphaRules) {
  TempFolder folder;
  // Colour 0 pure red, colour 1 pure blue; indices: pixel 0 -> 0, pixel 1 -> 1, pixel 2 -> 2, pixel 3 -> 3.
  const std::uint8_t red[2] = {0x00, 0xF8}, blue[2] = {0x1F, 0x00};
  std::vector<std::uint8_t> colour = {red[0], red[1], blue[0], blue[1], 0xE4, 0, 0, 0};
  WriteDdsDxt(folder.Path + "/dxt1.dds", 4, 4, "DXT1", colour);
  auto levels = Decode(folder.Path + "/dxt1.dds");
  ASSERT_EQ(levels.size(), 1u);
  EXPECT_EQ(levels[0].Pixels[0], 0xFFFF0000u);
  EXPECT_EQ(levels[0].Pixels[1], 0xFF0000FFu);
  EXPECT_EQ(levels[0].Pixels[2], 0xFFAA0055u);  // two thirds red, one third blue
  // Colour 0 not above colour 1: index 3 is transparent black.
  std::vector<std::uint8_t> punch = {blue[0], blue[1], red[0], red[1], 0xE4, 0, 0, 0};
  WriteDdsDxt(folder.Path + "/dxt1a.dds", 4, 4, "DXT1", punch);
  levels = Decode(folder.Path + "/dxt1a.dds");
  EXPECT_EQ(levels[0].Pixels[3], 0x00000000u);
  EXPECT_EQ(levels[0].Pixels[2], 0xFF7F007Fu);

  // DXT3: explicit four-bit alpha 0x8 for every pixel.
  std::vector<std::uint8_t> dxt3(8, 0x88);
  dxt3.insert(dxt3.end(), colour.begin(), colour.end());
  WriteDdsDxt(folder.Path + "/dxt3.dds", 4, 4, "DXT3", dxt3);
  levels = Decode(folder.Path + "/dxt3.dds");
  EXPECT_EQ(levels[0].Pixels[0], 0x88FF0000u);

  // DXT5: alpha endpoints 255 and 0 with every index 1 gives alpha 0.
  std::vector<std::uint8_t> dxt5 = {255, 0, 0x49, 0x92, 0x24, 0x49, 0x92, 0x24};
  dxt5.insert(dxt5.end(), colour.begin(), colour.end());
  WriteDdsDxt(folder.Path + "/dxt5.dds", 4, 4, "DXT5", dxt5);
  levels = Decode(folder.Path + "/dxt5.dds");
  EXPECT_EQ(Alpha(levels[0].Pixels[0]), 0);
  EXPECT_EQ(Red(levels[0].Pixels[0]), 255);

  // A picture not a multiple of four still decodes its visible pixels.
  WriteDdsDxt(folder.Path + "/odd.dds", 6, 3, "DXT1", colour);
  levels = Decode(folder.Path + "/odd.dds");
  EXPECT_EQ(levels[0].Width, 6);
  EXPECT_EQ(levels[0].Pixels[5], 0xFF0000FFu);
}

TEST(ImageFile, LinearMipLevelsAverageAndStopAtOnePixel) {
  ImageLevel source;
  source.Width = 2;
  source.Height = 2;
  source.Pixels = {0xFF000000, 0xFFFFFFFF, 0x00000000, 0xFFFFFFFF};
  const ImageLevel half = DownsampleLinear(source);
  ASSERT_EQ(half.Pixels.size(), 1u);
  EXPECT_EQ(half.Pixels[0], 0xBF808080u);  // (0+255+0+255)/4 colour, (255*3)/4 alpha
  ImageLevel strip;
  strip.Width = 4;
  strip.Height = 1;
  strip.Pixels = {0xFF000000, 0xFF000000, 0xFFFFFFFF, 0xFFFFFFFF};
  const ImageLevel narrow = DownsampleLinear(strip);
  EXPECT_EQ(narrow.Width, 2);
  EXPECT_EQ(narrow.Height, 1);
  EXPECT_EQ(narrow.Pixels[1], 0xFFFFFFFFu);
  EXPECT_EQ(FullMipCount(256, 256), 9);
  EXPECT_EQ(FullMipCount(640, 480), 10);
  EXPECT_EQ(FullMipCount(1, 1), 1);
}

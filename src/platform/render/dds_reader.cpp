// .dds reading: DXT1 to DXT5 blocks and the uncompressed RGB, luminance and alpha layouts.
#include <algorithm>

#include "platform/render/image_readers.h"

namespace image_readers {

std::uint32_t Channel(std::uint32_t value, std::uint32_t mask) {
  if (mask == 0) return 0;
  int shift = 0;
  while (!((mask >> shift) & 1)) ++shift;
  const std::uint32_t max = mask >> shift;
  return (((value & mask) >> shift) * 255 + max / 2) / max;
}

namespace {

constexpr std::uint32_t FourCC(char a, char b, char c, char d) {
  return static_cast<std::uint32_t>(a) | (static_cast<std::uint32_t>(b) << 8) |
         (static_cast<std::uint32_t>(c) << 16) | (static_cast<std::uint32_t>(d) << 24);
}

constexpr std::uint32_t DdpfAlphaPixels = 0x1;
constexpr std::uint32_t DdpfAlpha = 0x2;
constexpr std::uint32_t DdpfLuminance = 0x20000;
constexpr std::uint32_t Caps2CubeMap = 0x200;
constexpr std::uint32_t Caps2Volume = 0x200000;
constexpr std::uint32_t DdpfFourCC = 0x4;
constexpr std::uint32_t DdpfRgb = 0x40;
constexpr std::uint32_t DdsdMipMapCount = 0x20000;

std::uint32_t Expand565(std::uint32_t c) {
  const std::uint32_t r = (c >> 11) & 31, g = (c >> 5) & 63, b = c & 31;
  return ((r * 255 + 15) / 31) << 16 | ((g * 255 + 31) / 63) << 8 | ((b * 255 + 15) / 31);
}

std::uint32_t Mix(std::uint32_t a, std::uint32_t b, int wa, int wb, int div) {
  std::uint32_t out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const std::uint32_t ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
    out |= ((ca * wa + cb * wb) / div) << shift;
  }
  return out;
}

// Decodes the colour half of a DXT block into 16 RGB values and whether each is transparent.
void DecodeColourBlock(const std::uint8_t* block, bool allowTransparent, std::uint32_t out[16],
                       bool transparent[16]) {
  const std::uint32_t c0 = Read16(block), c1 = Read16(block + 2);
  std::uint32_t palette[4];
  palette[0] = Expand565(c0);
  palette[1] = Expand565(c1);
  const bool fourColours = c0 > c1 || !allowTransparent;
  if (fourColours) {
    palette[2] = Mix(palette[0], palette[1], 2, 1, 3);
    palette[3] = Mix(palette[0], palette[1], 1, 2, 3);
  } else {
    palette[2] = Mix(palette[0], palette[1], 1, 1, 2);
    palette[3] = 0;
  }
  const std::uint32_t indices = Read32(block + 4);
  for (int i = 0; i < 16; ++i) {
    const std::uint32_t index = (indices >> (2 * i)) & 3;
    out[i] = palette[index];
    transparent[i] = !fourColours && index == 3;
  }
}

void DecodeAlphaBlock5(const std::uint8_t* block, std::uint8_t alpha[16]) {
  const std::uint32_t a0 = block[0], a1 = block[1];
  std::uint32_t palette[8] = {a0, a1};
  if (a0 > a1) {
    for (int i = 1; i <= 6; ++i) palette[i + 1] = ((7 - i) * a0 + i * a1) / 7;
  } else {
    for (int i = 1; i <= 4; ++i) palette[i + 1] = ((5 - i) * a0 + i * a1) / 5;
    palette[6] = 0;
    palette[7] = 255;
  }
  std::uint64_t bits = 0;
  for (int i = 0; i < 6; ++i) bits |= static_cast<std::uint64_t>(block[2 + i]) << (8 * i);
  for (int i = 0; i < 16; ++i) alpha[i] = static_cast<std::uint8_t>(palette[(bits >> (3 * i)) & 7]);
}

bool DecodeDxtLevel(const std::uint8_t* src, int kind, int width, int height, ImageLevel& level) {
  level.Width = width;
  level.Height = height;
  level.Pixels.assign(static_cast<std::size_t>(width) * height, 0);
  const int blockBytes = kind == 1 ? 8 : 16;
  const int bw = (width + 3) / 4, bh = (height + 3) / 4;
  for (int by = 0; by < bh; ++by) {
    for (int bx = 0; bx < bw; ++bx) {
      const std::uint8_t* block = src + (static_cast<std::size_t>(by) * bw + bx) * blockBytes;
      std::uint8_t alpha[16];
      std::uint32_t colour[16];
      bool transparent[16];
      if (kind == 1) {
        DecodeColourBlock(block, true, colour, transparent);
        for (int i = 0; i < 16; ++i) alpha[i] = transparent[i] ? 0 : 255;
      } else if (kind == 3) {
        for (int i = 0; i < 16; ++i) {
          const std::uint32_t nibble = (block[i / 2] >> ((i & 1) * 4)) & 0xF;
          alpha[i] = static_cast<std::uint8_t>(nibble * 17);
        }
        DecodeColourBlock(block + 8, false, colour, transparent);
      } else {
        DecodeAlphaBlock5(block, alpha);
        DecodeColourBlock(block + 8, false, colour, transparent);
      }
      for (int i = 0; i < 16; ++i) {
        const int x = bx * 4 + (i & 3), y = by * 4 + (i >> 2);
        if (x < width && y < height)
          level.Pixels[static_cast<std::size_t>(y) * width + x] =
              (static_cast<std::uint32_t>(alpha[i]) << 24) | colour[i];
      }
    }
  }
  return true;
}

}  // namespace

bool DecodeDds(const std::uint8_t* data, std::size_t size, std::vector<ImageLevel>& levels) {
  if (size < 128 || Read32(data) != FourCC('D', 'D', 'S', ' ') || Read32(data + 4) != 124)
    return false;
  const std::uint32_t flags = Read32(data + 8);
  const int height = static_cast<int>(Read32(data + 12));
  const int width = static_cast<int>(Read32(data + 16));
  std::uint32_t mipCount = (flags & DdsdMipMapCount) ? Read32(data + 28) : 1;
  if (mipCount == 0) mipCount = 1;
  const std::uint8_t* pf = data + 76;
  if (Read32(pf) != 32) return false;
  const std::uint32_t pfFlags = Read32(pf + 4);
  const std::uint32_t fourCC = Read32(pf + 8);
  const std::uint32_t bitCount = Read32(pf + 12);
  std::uint32_t rMask = Read32(pf + 16), gMask = Read32(pf + 20), bMask = Read32(pf + 24);
  const std::uint32_t aMask = (pfFlags & (DdpfAlphaPixels | DdpfAlpha)) ? Read32(pf + 28) : 0;
  if (width <= 0 || height <= 0 || width > 16384 || height > 16384) return false;
  // A cube map or volume is read as its first face or slice: its top level comes first in
  // the file. Its other levels belong to the whole set, so the loader builds its own chain.
  if (Read32(data + 112) & (Caps2CubeMap | Caps2Volume)) mipCount = 1;

  int dxt = 0;
  bool luminance = false;
  if (pfFlags & DdpfFourCC) {
    if (fourCC == FourCC('D', 'X', 'T', '1')) dxt = 1;
    else if (fourCC == FourCC('D', 'X', 'T', '2') || fourCC == FourCC('D', 'X', 'T', '3')) dxt = 3;
    else if (fourCC == FourCC('D', 'X', 'T', '4') || fourCC == FourCC('D', 'X', 'T', '5')) dxt = 5;
    else return false;
  } else if (pfFlags & DdpfRgb) {
    if (bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32) return false;
    if (rMask == 0 && gMask == 0 && bMask == 0) return false;
  } else if (pfFlags & DdpfLuminance) {
    if ((bitCount != 8 && bitCount != 16) || rMask == 0) return false;
    luminance = true;
  } else if (pfFlags & DdpfAlpha) {
    // Alpha only: the colour reads as black.
    if (bitCount != 8 || aMask == 0) return false;
    rMask = gMask = bMask = 0;
  } else {
    return false;
  }

  levels.clear();
  std::size_t offset = 128;
  int w = width, h = height;
  for (std::uint32_t m = 0; m < mipCount && m < 16; ++m) {
    std::size_t bytes;
    if (dxt) {
      bytes = static_cast<std::size_t>((w + 3) / 4) * ((h + 3) / 4) * (dxt == 1 ? 8 : 16);
    } else {
      bytes = static_cast<std::size_t>(w) * h * (bitCount / 8);
    }
    // A file shorter than the levels its header promises is damaged, not partly usable.
    if (offset + bytes > size) return false;
    ImageLevel level;
    if (dxt) {
      DecodeDxtLevel(data + offset, dxt, w, h, level);
    } else {
      level.Width = w;
      level.Height = h;
      level.Pixels.resize(static_cast<std::size_t>(w) * h);
      const int bpp = static_cast<int>(bitCount / 8);
      for (std::size_t i = 0; i < level.Pixels.size(); ++i) {
        const std::uint8_t* p = data + offset + i * bpp;
        const std::uint32_t v = bpp == 1 ? p[0] : bpp == 2 ? Read16(p)
                              : bpp == 3 ? (p[0] | p[1] << 8 | p[2] << 16) : Read32(p);
        const std::uint32_t a = aMask ? Channel(v, aMask) : 255;
        if (luminance) {
          const std::uint32_t l = Channel(v, rMask);
          level.Pixels[i] = a << 24 | l << 16 | l << 8 | l;
        } else {
          level.Pixels[i] = a << 24 | Channel(v, rMask) << 16 | Channel(v, gMask) << 8 | Channel(v, bMask);
        }
      }
    }
    levels.push_back(std::move(level));
    offset += bytes;
    if (w == 1 && h == 1) break;
    w = std::max(1, w / 2);
    h = std::max(1, h / 2);
  }
  return true;
}

}  // namespace image_readers

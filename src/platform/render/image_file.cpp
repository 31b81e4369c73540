// Picture decoding: .bmp through stb_image after our own bounds checks, .dds by our own reader.
#include "platform/render/image_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include <stb_image.h>

namespace {

std::uint32_t Read16(const std::uint8_t* p) { return p[0] | (p[1] << 8); }
std::uint32_t Read32(const std::uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// stb_image reads past the end of a short file as zeros, so a truncated picture would load
// as a partly black one. Check that the header and the pixel rows fit in the file first.
bool BmpFits(const std::uint8_t* data, std::size_t size) {
  if (size < 26 || data[0] != 'B' || data[1] != 'M') return false;
  const std::uint32_t offset = Read32(data + 10);
  const std::uint32_t headerSize = Read32(data + 14);
  if (headerSize < 12 || 14ull + headerSize > size) return false;
  long long width = 0, height = 0;
  std::uint32_t bits = 0, compression = 0;
  if (headerSize == 12) {
    width = Read16(data + 18);
    height = static_cast<std::int16_t>(Read16(data + 20));
    bits = Read16(data + 24);
  } else {
    if (size < 14 + 20) return false;
    width = static_cast<std::int32_t>(Read32(data + 18));
    height = static_cast<std::int32_t>(Read32(data + 22));
    bits = Read16(data + 28);
    compression = Read32(data + 30);
  }
  if (width <= 0 || height == 0 || width > 16384 || height > 16384 || height < -16384) return false;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
  if (compression != 0 && compression != 3) return false;  // run-length pictures are not read
  const unsigned long long stride = ((static_cast<unsigned long long>(width) * bits + 31) / 32) * 4;
  const unsigned long long rows = static_cast<unsigned long long>(height < 0 ? -height : height);
  return offset >= 14 + headerSize && offset + stride * rows <= size;
}

bool DecodeBmp(const std::uint8_t* data, std::size_t size, std::vector<ImageLevel>& levels) {
  if (!BmpFits(data, size)) return false;
  int w = 0, h = 0, comp = 0;
  stbi_uc* rgba = stbi_load_from_memory(data, static_cast<int>(size), &w, &h, &comp, 4);
  if (!rgba) return false;
  ImageLevel level;
  level.Width = w;
  level.Height = h;
  level.Pixels.resize(static_cast<std::size_t>(w) * h);
  for (std::size_t i = 0; i < level.Pixels.size(); ++i) {
    const stbi_uc* p = rgba + i * 4;
    level.Pixels[i] = (static_cast<std::uint32_t>(p[3]) << 24) | (p[0] << 16) | (p[1] << 8) | p[2];
  }
  stbi_image_free(rgba);
  levels.clear();
  levels.push_back(std::move(level));
  return true;
}

// ---- DDS ----

constexpr std::uint32_t FourCC(char a, char b, char c, char d) {
  return static_cast<std::uint32_t>(a) | (static_cast<std::uint32_t>(b) << 8) |
         (static_cast<std::uint32_t>(c) << 16) | (static_cast<std::uint32_t>(d) << 24);
}

constexpr std::uint32_t DdpfAlphaPixels = 0x1;
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

// Extracts a channel under `mask`, scaled to 0..255.
std::uint32_t Channel(std::uint32_t value, std::uint32_t mask) {
  if (mask == 0) return 0;
  int shift = 0;
  while (!((mask >> shift) & 1)) ++shift;
  const std::uint32_t max = mask >> shift;
  return (((value & mask) >> shift) * 255 + max / 2) / max;
}

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
  const std::uint32_t rMask = Read32(pf + 16), gMask = Read32(pf + 20), bMask = Read32(pf + 24);
  const std::uint32_t aMask = (pfFlags & DdpfAlphaPixels) ? Read32(pf + 28) : 0;
  if (width <= 0 || height <= 0 || width > 16384 || height > 16384) return false;
  if (Read32(data + 108) & 0x200) return false;  // cube maps are not pictures

  int dxt = 0;
  if (pfFlags & DdpfFourCC) {
    if (fourCC == FourCC('D', 'X', 'T', '1')) dxt = 1;
    else if (fourCC == FourCC('D', 'X', 'T', '2') || fourCC == FourCC('D', 'X', 'T', '3')) dxt = 3;
    else if (fourCC == FourCC('D', 'X', 'T', '4') || fourCC == FourCC('D', 'X', 'T', '5')) dxt = 5;
    else return false;
  } else if (pfFlags & DdpfRgb) {
    if (bitCount != 16 && bitCount != 24 && bitCount != 32) return false;
    if (rMask == 0 && gMask == 0 && bMask == 0) return false;
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
        std::uint32_t v = bpp == 2 ? Read16(p) : bpp == 3 ? (p[0] | p[1] << 8 | p[2] << 16) : Read32(p);
        const std::uint32_t a = aMask ? Channel(v, aMask) : 255;
        level.Pixels[i] = a << 24 | Channel(v, rMask) << 16 | Channel(v, gMask) << 8 | Channel(v, bMask);
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

}  // namespace

bool DecodeImageMemory(const std::uint8_t* data, std::size_t size, std::vector<ImageLevel>& levels) {
  levels.clear();
  if (!data || size < 4) return false;
  if (data[0] == 'B' && data[1] == 'M') return DecodeBmp(data, size, levels);
  if (std::memcmp(data, "DDS ", 4) == 0) return DecodeDds(data, size, levels);
  return false;
}

bool DecodeImageFile(const std::string& path, std::vector<ImageLevel>& levels) {
  levels.clear();
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  std::vector<std::uint8_t> bytes;
  std::uint8_t buffer[65536];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.insert(bytes.end(), buffer, buffer + got);
  std::fclose(file);
  return DecodeImageMemory(bytes.data(), bytes.size(), levels);
}

ImageLevel DownsampleLinear(const ImageLevel& source) {
  ImageLevel out;
  out.Width = std::max(1, source.Width / 2);
  out.Height = std::max(1, source.Height / 2);
  out.Pixels.resize(static_cast<std::size_t>(out.Width) * out.Height);
  if (source.Width > 1 && source.Height > 1) {
    // Two by two boxes; an odd last column or row of the source is left out, as halving drops it.
    for (int y = 0; y < out.Height; ++y) {
      const std::uint32_t* row0 = &source.Pixels[static_cast<std::size_t>(2 * y) * source.Width];
      const std::uint32_t* row1 = row0 + source.Width;
      std::uint32_t* target = &out.Pixels[static_cast<std::size_t>(y) * out.Width];
      for (int x = 0; x < out.Width; ++x) {
        const std::uint32_t a = row0[2 * x], b = row0[2 * x + 1], c = row1[2 * x], d = row1[2 * x + 1];
        // Red and blue, then alpha and green, averaged two channels at a time with rounding.
        const std::uint32_t rb = ((a & 0x00FF00FF) + (b & 0x00FF00FF) + (c & 0x00FF00FF) + (d & 0x00FF00FF) +
                                  0x00020002) >> 2;
        const std::uint32_t ag = (((a >> 8) & 0x00FF00FF) + ((b >> 8) & 0x00FF00FF) + ((c >> 8) & 0x00FF00FF) +
                                  ((d >> 8) & 0x00FF00FF) + 0x00020002) >> 2;
        target[x] = (rb & 0x00FF00FF) | ((ag & 0x00FF00FF) << 8);
      }
    }
    return out;
  }
  const int stepX = source.Width > 1 ? 2 : 1, stepY = source.Height > 1 ? 2 : 1;
  for (int y = 0; y < out.Height; ++y) {
    for (int x = 0; x < out.Width; ++x) {
      std::uint32_t sum[4] = {};
      int n = 0;
      for (int dy = 0; dy < stepY; ++dy) {
        for (int dx = 0; dx < stepX; ++dx) {
          const int sx = std::min(source.Width - 1, x * stepX + dx);
          const int sy = std::min(source.Height - 1, y * stepY + dy);
          const std::uint32_t p = source.Pixels[static_cast<std::size_t>(sy) * source.Width + sx];
          for (int c = 0; c < 4; ++c) sum[c] += (p >> (8 * c)) & 0xFF;
          ++n;
        }
      }
      std::uint32_t p = 0;
      for (int c = 0; c < 4; ++c) p |= ((sum[c] + n / 2) / n) << (8 * c);
      out.Pixels[static_cast<std::size_t>(y) * out.Width + x] = p;
    }
  }
  return out;
}

int FullMipCount(int width, int height) {
  int count = 1;
  while (width > 1 || height > 1) {
    width = std::max(1, width / 2);
    height = std::max(1, height / 2);
    ++count;
  }
  return count;
}

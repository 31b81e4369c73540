// .bmp reading: every header size, palettised and run-length coded pictures, bit-field layouts.
#include <algorithm>

#include "platform/render/image_readers.h"

namespace image_readers {
namespace {

constexpr std::uint32_t BiRgb = 0, BiRle8 = 1, BiRle4 = 2, BiBitFields = 3, BiAlphaBitFields = 6;

struct BmpInfo {
  std::uint32_t HeaderSize = 0;
  long long Width = 0, Height = 0;
  std::uint32_t Bits = 0, Compression = 0, ColoursUsed = 0;
  std::uint32_t Masks[4] = {};  // red, green, blue, alpha
  std::size_t PaletteOffset = 0;
};

bool ReadInfo(const std::uint8_t* data, std::size_t size, BmpInfo& info) {
  if (size < 26 || data[0] != 'B' || data[1] != 'M') return false;
  info.HeaderSize = Read32(data + 14);
  if (info.HeaderSize < 12 || 14ull + info.HeaderSize > size) return false;
  if (info.HeaderSize == 12) {
    info.Width = Read16(data + 18);
    info.Height = static_cast<std::int16_t>(Read16(data + 20));
    info.Bits = Read16(data + 24);
  } else {
    if (info.HeaderSize < 40) return false;
    info.Width = static_cast<std::int32_t>(Read32(data + 18));
    info.Height = static_cast<std::int32_t>(Read32(data + 22));
    info.Bits = Read16(data + 28);
    info.Compression = Read32(data + 30);
    info.ColoursUsed = Read32(data + 46);
  }
  info.PaletteOffset = 14 + info.HeaderSize;
  if (info.Compression == BiBitFields || info.Compression == BiAlphaBitFields) {
    // Masks sit inside a larger header, or follow a 40-byte one.
    const int count = info.Compression == BiAlphaBitFields ? 4 : 3;
    const std::size_t at = 54;
    if (at + 4ull * count > size) return false;
    for (int i = 0; i < count; ++i) info.Masks[i] = Read32(data + at + 4 * i);
    if (info.HeaderSize >= 56) info.Masks[3] = Read32(data + 66);
    if (info.HeaderSize == 40) info.PaletteOffset += 4 * count;
  } else if (info.Bits == 16) {
    info.Masks[0] = 0x7C00, info.Masks[1] = 0x03E0, info.Masks[2] = 0x001F;
  } else if (info.Bits == 32) {
    info.Masks[0] = 0xFF0000, info.Masks[1] = 0xFF00, info.Masks[2] = 0xFF;
  }
  if (info.Width <= 0 || info.Height == 0 || info.Width > 16384 || info.Height > 16384 ||
      info.Height < -16384)
    return false;
  switch (info.Compression) {
    case BiRgb: return info.Bits == 1 || info.Bits == 4 || info.Bits == 8 || info.Bits == 16 ||
                       info.Bits == 24 || info.Bits == 32;
    case BiRle8: return info.Bits == 8 && info.Height > 0;
    case BiRle4: return info.Bits == 4 && info.Height > 0;
    case BiBitFields:
    case BiAlphaBitFields: return info.Bits == 16 || info.Bits == 32;
    default: return false;
  }
}

// Palette entries as opaque ARGB; missing entries read as black.
bool ReadPalette(const std::uint8_t* data, std::size_t size, const BmpInfo& info,
                 std::uint32_t offset, std::vector<std::uint32_t>& palette) {
  palette.assign(256, 0xFF000000u);
  if (info.Bits > 8) return true;
  const std::uint32_t maxEntries = 1u << info.Bits;
  std::uint32_t entries = info.ColoursUsed ? std::min(info.ColoursUsed, maxEntries) : maxEntries;
  const std::size_t entrySize = info.HeaderSize == 12 ? 3 : 4;
  // The palette may not run into the pixels; a short one keeps the entries that fit.
  const std::size_t room = offset > info.PaletteOffset ? offset - info.PaletteOffset : 0;
  entries = static_cast<std::uint32_t>(std::min<std::size_t>(entries, room / entrySize));
  if (entries == 0 || info.PaletteOffset + entries * entrySize > size) return false;
  for (std::uint32_t i = 0; i < entries; ++i) {
    const std::uint8_t* p = data + info.PaletteOffset + i * entrySize;
    palette[i] = 0xFF000000u | (p[2] << 16) | (p[1] << 8) | p[0];
  }
  return true;
}

// Expands run-length coded rows into one palette index per pixel, bottom row first.
// Pixels the codes skip keep index 0.
bool DecodeRle(const std::uint8_t* src, std::size_t size, const BmpInfo& info,
               std::vector<std::uint8_t>& indices) {
  const long long width = info.Width, height = info.Height;
  indices.assign(static_cast<std::size_t>(width * height), 0);
  const bool four = info.Compression == BiRle4;
  long long x = 0, y = 0;
  std::size_t i = 0;
  auto put = [&](std::uint8_t value) {
    if (x < width && y < height) indices[static_cast<std::size_t>(y * width + x)] = value;
    ++x;
  };
  while (i + 1 < size) {
    const std::uint8_t count = src[i], value = src[i + 1];
    i += 2;
    if (count > 0) {
      for (int k = 0; k < count; ++k) put(four ? ((k & 1) ? value & 0xF : value >> 4) : value);
      continue;
    }
    if (value == 0) {  // end of line
      x = 0;
      ++y;
    } else if (value == 1) {  // end of picture
      return true;
    } else if (value == 2) {  // move by a delta
      if (i + 1 >= size) return false;
      x += src[i];
      y += src[i + 1];
      i += 2;
    } else {  // a run of literal pixels, padded to a 16-bit boundary
      const std::size_t bytes = four ? (value + 1) / 2 : value;
      if (i + bytes > size) return false;
      for (int k = 0; k < value; ++k)
        put(four ? ((k & 1) ? src[i + k / 2] & 0xF : src[i + k / 2] >> 4) : src[i + k]);
      i += bytes + (bytes & 1);
    }
    if (y >= height) return true;  // nothing further can land inside the picture
  }
  // A coded picture that ends without its end code keeps what it drew.
  return y > 0 || x > 0;
}

}  // namespace

bool DecodeBmp(const std::uint8_t* data, std::size_t size, std::vector<ImageLevel>& levels) {
  BmpInfo info;
  if (!ReadInfo(data, size, info)) return false;
  const std::uint32_t offset = Read32(data + 10);
  if (offset < info.PaletteOffset || offset >= size) return false;
  std::vector<std::uint32_t> palette;
  if (!ReadPalette(data, size, info, offset, palette)) return false;

  const int width = static_cast<int>(info.Width);
  const int height = static_cast<int>(info.Height < 0 ? -info.Height : info.Height);
  const bool topDown = info.Height < 0;
  ImageLevel level;
  level.Width = width;
  level.Height = height;
  level.Pixels.resize(static_cast<std::size_t>(width) * height);

  if (info.Compression == BiRle8 || info.Compression == BiRle4) {
    std::vector<std::uint8_t> indices;
    if (!DecodeRle(data + offset, size - offset, info, indices)) return false;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        level.Pixels[static_cast<std::size_t>(height - 1 - y) * width + x] =
            palette[indices[static_cast<std::size_t>(y) * width + x]];
  } else {
    const unsigned long long stride = ((static_cast<unsigned long long>(width) * info.Bits + 31) / 32) * 4;
    if (offset + stride * height > size) return false;
    const bool hasAlpha = info.Masks[3] != 0;
    for (int row = 0; row < height; ++row) {
      const std::uint8_t* src = data + offset + stride * row;
      std::uint32_t* out = &level.Pixels[static_cast<std::size_t>(topDown ? row : height - 1 - row) * width];
      for (int x = 0; x < width; ++x) {
        switch (info.Bits) {
          case 1: out[x] = palette[(src[x / 8] >> (7 - x % 8)) & 1]; break;
          case 4: out[x] = palette[(src[x / 2] >> ((x & 1) ? 0 : 4)) & 0xF]; break;
          case 8: out[x] = palette[src[x]]; break;
          case 24: out[x] = 0xFF000000u | (src[3 * x + 2] << 16) | (src[3 * x + 1] << 8) | src[3 * x]; break;
          default: {
            const std::uint32_t v = info.Bits == 16 ? Read16(src + 2 * x) : Read32(src + 4 * x);
            const std::uint32_t a = hasAlpha ? Channel(v, info.Masks[3]) : 255;
            out[x] = a << 24 | Channel(v, info.Masks[0]) << 16 | Channel(v, info.Masks[1]) << 8 |
                     Channel(v, info.Masks[2]);
          }
        }
      }
    }
  }
  levels.clear();
  levels.push_back(std::move(level));
  return true;
}

}  // namespace image_readers

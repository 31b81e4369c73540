// Picture decoding: the file's format chosen by its signature, and the linear mip filter.
#include "platform/render/image_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/file_read.h"
#include "platform/render/image_readers.h"

bool DecodeImageMemory(const std::uint8_t* data, std::size_t size, std::vector<ImageLevel>& levels) {
  levels.clear();
  if (!data || size < 4) return false;
  if (data[0] == 'B' && data[1] == 'M') return image_readers::DecodeBmp(data, size, levels);
  if (std::memcmp(data, "DDS ", 4) == 0) return image_readers::DecodeDds(data, size, levels);
  return false;
}

bool DecodeImageFile(const std::string& path, std::vector<ImageLevel>& levels) {
  levels.clear();
  std::vector<std::uint8_t> bytes;
  if (!ReadFileBytes(path, bytes, PictureFileLimit)) return false;
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

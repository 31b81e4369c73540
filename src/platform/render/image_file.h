// Picture decoding: every .bmp form and .dds (DXT1/3/5, RGB, luminance and alpha layouts).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ImageLevel {
  int Width = 0;
  int Height = 0;
  std::vector<std::uint32_t> Pixels;  // ARGB, top row first
};

// Decodes the file's base image and any mip levels it stores; false on anything damaged,
// truncated or unsupported.
bool DecodeImageFile(const std::string& path, std::vector<ImageLevel>& levels);
bool DecodeImageMemory(const std::uint8_t* data, std::size_t size, std::vector<ImageLevel>& levels);

// The next smaller level (halving each side, not below 1) with a linear (box) filter.
ImageLevel DownsampleLinear(const ImageLevel& source);

// Number of levels in a full chain for this size.
int FullMipCount(int width, int height);

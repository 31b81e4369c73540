// The picture readers behind DecodeImageMemory, one per file format.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/render/image_file.h"

namespace image_readers {

inline std::uint32_t Read16(const std::uint8_t* p) { return p[0] | (p[1] << 8); }
inline std::uint32_t Read32(const std::uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// Extracts the bits under `mask` scaled to 0..255 (0 for an empty mask).
std::uint32_t Channel(std::uint32_t value, std::uint32_t mask);

// Every form of .bmp: 1, 4, 8 bit palettised (also run-length coded), 16, 24 and 32 bit.
bool DecodeBmp(const std::uint8_t* data, std::size_t size, std::vector<ImageLevel>& levels);

// .dds: DXT1 to DXT5, RGB and luminance/alpha layouts of 8 to 32 bits, stored mips.
bool DecodeDds(const std::uint8_t* data, std::size_t size, std::vector<ImageLevel>& levels);

}  // namespace image_readers

// Reading a data file whole, with a ceiling on its size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Reads the whole file into `bytes`. False when it is missing, unreadable or larger than
// `limit` bytes: a damaged or padded file must not take all the memory there is.
bool ReadFileBytes(const std::string& path, std::vector<std::uint8_t>& bytes, std::size_t limit);

// Ceilings far above any file the game ships with.
constexpr std::size_t PictureFileLimit = 256u << 20;
// A model takes up to some 25 bytes of memory per byte of its file (a vertex per face corner).
constexpr std::size_t ModelFileLimit = 16u << 20;
constexpr std::size_t MusicFileLimit = 32u << 20;

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
constexpr std::size_t ModelFileLimit = 64u << 20;
constexpr std::size_t MusicFileLimit = 32u << 20;

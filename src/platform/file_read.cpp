// Reading a data file whole, with a ceiling on its size.
#include "platform/file_read.h"

#include <cstdio>

bool ReadFileBytes(const std::string& path, std::vector<std::uint8_t>& bytes, std::size_t limit) {
  bytes.clear();
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  bool ok = std::fseek(file, 0, SEEK_END) == 0;
  const long size = ok ? std::ftell(file) : -1;
  ok = size >= 0 && static_cast<unsigned long>(size) <= limit && std::fseek(file, 0, SEEK_SET) == 0;
  if (ok) {
    bytes.resize(static_cast<std::size_t>(size));
    ok = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
  }
  std::fclose(file);
  if (!ok) bytes.clear();
  return ok;
}

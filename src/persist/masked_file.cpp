// Masked decimal numbers, the file key, and whole-file reads and replacing writes.
#include "persist/masked_file.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "app/random.h"
#include "platform/file_replace.h"

std::uint32_t DrawFileKey() {
  std::uint32_t key = 10000005u;
  std::uint32_t place = 10u;
  for (int digit = 0; digit < 5; ++digit, place *= 10u) key += (1u + RandomBelow(9)) * place;
  return key;
}

void AppendMaskedNumber(std::string& out, std::uint32_t value, std::uint32_t fileKey) {
  out += std::to_string(static_cast<std::int32_t>(value ^ fileKey));
}

std::int32_t MaskedReader::ReadNumber() {
  const std::size_t end = Position + 8 < Bytes.size() ? Position + 8 : Bytes.size();
  std::size_t at = Position;
  Position = end;
  auto blank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
  while (at < end && blank(Bytes[at])) ++at;
  bool negative = false;
  if (at < end && (Bytes[at] == '+' || Bytes[at] == '-')) negative = Bytes[at++] == '-';
  std::int32_t value = 0;  // at most eight digits: no overflow
  while (at < end && Bytes[at] >= '0' && Bytes[at] <= '9') value = value * 10 + (Bytes[at++] - '0');
  return negative ? -value : value;
}

void MaskedReader::Skip(std::size_t count) {
  Position = Position + count < Bytes.size() ? Position + count : Bytes.size();
}

std::string MaskedReader::ReadBytes(std::size_t count) {
  const std::size_t start = Position;
  Skip(count);
  return Bytes.substr(start, Position - start);
}

bool GameFilesUntouched = false;

bool ReadWholeFile(const char* name, std::string& bytes) {
  bytes.clear();
  if (GameFilesUntouched) return false;
  std::error_code error;
  if (!std::filesystem::exists(name, error)) return false;
  // Both files are a few hundred bytes; what lies past the first 64 KiB is never read anyway.
  std::ifstream in(name, std::ios::binary);
  if (in) {
    bytes.resize(64 * 1024);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(in.bad() ? 0 : static_cast<std::size_t>(in.gcount()));
  }
  return true;
}

bool FileIsWritable(const char* name) {
  std::error_code error;
  const auto status = std::filesystem::status(name, error);
  if (error || !std::filesystem::exists(status)) return true;
  if (!std::filesystem::is_regular_file(status)) return false;
  return (status.permissions() & std::filesystem::perms::owner_write) !=
         std::filesystem::perms::none;
}

bool ReplaceFile(const char* name, const std::string& bytes) {
  if (GameFilesUntouched) return true;
  // A read-only file is the player's choice: leave it, whoever runs the game.
  if (!FileIsWritable(name)) return false;
  return ReplaceFileContents(name, bytes);
}

void CutFile(const char* name, std::size_t length) {
  if (GameFilesUntouched) return;
  if (!FileIsWritable(name)) return;
  std::error_code error;
  const auto size = std::filesystem::file_size(name, error);
  if (!error && size > length) std::filesystem::resize_file(name, length, error);
}

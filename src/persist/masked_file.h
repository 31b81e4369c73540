// The masked decimal text shared by Setting.dat and Ranking.dat, and safe whole-file writes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The header line holds FileKey XOR this constant.
constexpr std::uint32_t FileKeyMask = 79876519u;

// A fresh key for one save: 1, 0, five digits 1..9 (tens digit drawn first), then 5.
std::uint32_t DrawFileKey();

// Appends the decimal text of a stored 32-bit value (signed, as the files have always held it).
void AppendMaskedNumber(std::string& out, std::uint32_t value, std::uint32_t fileKey);

// Walks a file's bytes as the loaders read them: past the end there is simply nothing more,
// so a short file reads as missing digits (value 0) and never beyond its bytes.
struct MaskedReader {
  const std::string& Bytes;
  std::size_t Position = 0;

  // Reads up to 8 bytes as a decimal number: leading blanks, optional sign, digits.
  std::int32_t ReadNumber();
  void Skip(std::size_t count);
  // Up to count bytes (fewer at the end of the file).
  std::string ReadBytes(std::size_t count);
};

// While set (a demo replay), Setting.dat and Ranking.dat are neither read nor written: they
// read as missing, and saves succeed without touching the disk.
extern bool GameFilesUntouched;

// Reads the file (its first 64 KiB). False if it does not exist; an unreadable file reads as
// empty.
bool ReadWholeFile(const char* name, std::string& bytes);

// False when a file exists but must not be changed (its owner-write permission is off).
bool FileIsWritable(const char* name);

// Writes the bytes to a new file beside the old one and renames it over, so a failed or
// interrupted save leaves the previous file as it was. False if anything failed.
bool ReplaceFile(const char* name, const std::string& bytes);

// Cuts a writable file to the given length; a file already shorter is left alone.
void CutFile(const char* name, std::size_t length);

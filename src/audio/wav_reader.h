// WaveReader: walks a RIFF WAVE file's chunks and reads its format and samples.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/sound/sound_device.h"

// One file at a time: Open, ReadData, Close.
struct WaveReader {
  std::FILE* File = nullptr;
  std::uint64_t FileSize = 0;
  // The 16 bytes of the PCM part, the extra-size word, then any extra bytes.
  std::vector<std::uint8_t> FormatBlock;
  std::uint64_t RiffDataStart = 0;  // just behind "RIFF" and its size
  std::uint64_t RiffEnd = 0;        // end of the RIFF chunk, never past the end of the file
  std::uint64_t DataStart = 0;
  std::uint32_t DataSize = 0;
  std::uint32_t DataRemaining = 0;  // sample bytes not yet read

  // Checks the structure, keeps the format and stops at the first sample byte.
  bool Open(const std::string& path);
  // Reads up to `count` sample bytes, hands out the 18-byte format record and drops the
  // format block.
  bool ReadData(std::uint32_t count, std::uint8_t* destination, std::uint32_t& bytesRead,
                WaveFormat& format);
  void Close();

 private:
  bool FindChunk(const char id[4], std::uint64_t from, std::uint64_t& start,
                 std::uint32_t& size);
  bool ReadAt(std::uint64_t offset, void* out, std::size_t bytes);
};

extern WaveReader WavReader;

// Open, read every sample, close: the whole file or false.
bool ReadWaveFile(const std::string& path, std::vector<std::uint8_t>& samples,
                  WaveFormat& format);

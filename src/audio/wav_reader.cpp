// The WAV reader over plain file I/O: bounded chunk search, format record, sample data.
#include "audio/wav_reader.h"

#include <algorithm>
#include <cstring>

WaveReader WavReader;

namespace {

std::uint32_t Le32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint16_t Le16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

}  // namespace

bool WaveReader::ReadAt(std::uint64_t offset, void* out, std::size_t bytes) {
  if (offset + bytes > FileSize) return false;
  if (std::fseek(File, static_cast<long>(offset), SEEK_SET) != 0) return false;
  return std::fread(out, 1, bytes, File) == bytes;
}

// Searches the RIFF chunk from `from` for `id`; chunks are padded to even sizes.
bool WaveReader::FindChunk(const char id[4], std::uint64_t from, std::uint64_t& start,
                           std::uint32_t& size) {
  std::uint64_t at = from;
  while (at + 8 <= RiffEnd) {
    std::uint8_t header[8];
    if (!ReadAt(at, header, 8)) return false;
    const std::uint32_t chunkSize = Le32(header + 4);
    if (std::memcmp(header, id, 4) == 0) {
      start = at + 8;
      size = chunkSize;
      return true;
    }
    at += 8 + static_cast<std::uint64_t>(chunkSize) + (chunkSize & 1u);
  }
  return false;
}

bool WaveReader::Open(const std::string& path) {
  Close();
  File = std::fopen(path.c_str(), "rb");
  if (!File) return false;
  bool ok = std::fseek(File, 0, SEEK_END) == 0;
  const long end = ok ? std::ftell(File) : -1;
  FileSize = end > 0 ? static_cast<std::uint64_t>(end) : 0;

  std::uint8_t riff[12];
  ok = ok && ReadAt(0, riff, 12) && std::memcmp(riff, "RIFF", 4) == 0 &&
       std::memcmp(riff + 8, "WAVE", 4) == 0;
  if (ok) {
    RiffDataStart = 8;
    RiffEnd = std::min<std::uint64_t>(8 + static_cast<std::uint64_t>(Le32(riff + 4)), FileSize);
  }

  std::uint64_t fmtStart = 0;
  std::uint32_t fmtSize = 0;
  ok = ok && FindChunk("fmt ", RiffDataStart + 4, fmtStart, fmtSize) && fmtSize >= 16;
  std::uint8_t pcm[16];
  ok = ok && ReadAt(fmtStart, pcm, 16);
  if (ok) {
    FormatBlock.assign(pcm, pcm + 16);
    std::uint16_t extra = 0;
    if (Le16(pcm) != WaveFormatPcm && fmtSize >= 18) {
      std::uint8_t word[2];
      ok = ReadAt(fmtStart + 16, word, 2);
      extra = ok ? Le16(word) : 0;
      // The extra bytes must lie inside the format chunk; never read into the next chunk.
      ok = ok && 18u + extra <= fmtSize;
    }
    FormatBlock.push_back(static_cast<std::uint8_t>(extra & 0xFF));
    FormatBlock.push_back(static_cast<std::uint8_t>(extra >> 8));
    if (ok && extra > 0) {
      FormatBlock.resize(18u + extra);
      ok = ReadAt(fmtStart + 18, FormatBlock.data() + 18, extra);
    }
  }

  std::uint64_t dataStart = 0;
  std::uint32_t dataSize = 0;
  ok = ok && FindChunk("data", RiffDataStart + 4, dataStart, dataSize);
  // A data chunk claiming more than the file holds fails here, before anyone allocates
  // the claimed size.
  ok = ok && dataStart + dataSize <= FileSize;
  if (!ok) {
    Close();
    return false;
  }
  DataStart = dataStart;
  DataSize = dataSize;
  DataRemaining = dataSize;
  return std::fseek(File, static_cast<long>(DataStart), SEEK_SET) == 0 || (Close(), false);
}

bool WaveReader::ReadData(std::uint32_t count, std::uint8_t* destination,
                          std::uint32_t& bytesRead, WaveFormat& format) {
  bytesRead = 0;
  if (!File || FormatBlock.size() < 18) return false;
  const std::uint32_t n = std::min(count, DataRemaining);
  const std::uint64_t offset = DataStart + (DataSize - DataRemaining);
  DataRemaining -= n;
  if (n > 0 && !ReadAt(offset, destination, n)) return false;
  bytesRead = n;
  const std::uint8_t* f = FormatBlock.data();
  format.FormatTag = Le16(f);
  format.Channels = Le16(f + 2);
  format.SamplesPerSec = Le32(f + 4);
  format.AvgBytesPerSec = Le32(f + 8);
  format.BlockAlign = Le16(f + 12);
  format.BitsPerSample = Le16(f + 14);
  format.ExtraSize = Le16(f + 16);
  FormatBlock.clear();
  FormatBlock.shrink_to_fit();
  return true;
}

void WaveReader::Close() {
  if (File) std::fclose(File);
  File = nullptr;
  FileSize = 0;
  FormatBlock.clear();
  RiffDataStart = RiffEnd = DataStart = 0;
  DataSize = DataRemaining = 0;
}

bool ReadWaveFile(const std::string& path, std::vector<std::uint8_t>& samples,
                  WaveFormat& format) {
  // A reader of its own: start-up reads files ahead on a helper thread.
  WaveReader reader;
  if (!reader.Open(path)) return false;
  samples.resize(reader.DataSize);
  std::uint32_t read = 0;
  const bool ok = reader.ReadData(reader.DataSize, samples.data(), read, format);
  reader.Close();
  if (!ok) return false;
  samples.resize(read);
  return true;
}

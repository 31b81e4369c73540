// Entry points taking one input of outside bytes each, shared by the fuzzers and the corpus replay.
#pragma once

#include <cstddef>
#include <cstdint>

struct FuzzTarget {
  const char* Name;  // also the name of its corpus folder
  int (*Run)(const std::uint8_t* data, std::size_t size);
};

extern const FuzzTarget FuzzTargets[];
extern const int FuzzTargetCount;

int FuzzSettingsFile(const std::uint8_t* data, std::size_t size);
int FuzzRankingFile(const std::uint8_t* data, std::size_t size);
int FuzzWaveFile(const std::uint8_t* data, std::size_t size);
int FuzzPicture(const std::uint8_t* data, std::size_t size);
int FuzzModelFile(const std::uint8_t* data, std::size_t size);
int FuzzOptionsFile(const std::uint8_t* data, std::size_t size);
int FuzzDemoFile(const std::uint8_t* data, std::size_t size);

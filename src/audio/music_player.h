// MusicPlayer: the title music (a WAV piece) and the match music (a MIDI piece), both endless.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/sound/sound_device.h"

struct MusicPerformance;  // platform/sound: one piece's player

constexpr int MusicPieceCount = 2;
extern const char* const MusicFilePaths[MusicPieceCount];  // 0 title (WAV), 1 match (MIDI)

// Music volume in hundredths of a decibel: 0 at 100, -1000 at 50, -1800 at 10.
std::int32_t MusicVolumeHundredths(std::uint32_t musicVolume);

// The loaders, shared with the asset check: read and validate one piece's file.
bool LoadWavePiece(const std::string& path, std::vector<std::uint8_t>& samples,
                   WaveFormat& format);
bool LoadMidiPiece(const std::string& path, std::vector<std::uint8_t>& bytes);

class MusicPlayer {
 public:
  MusicPerformance* Performances[MusicPieceCount] = {};

  // Five loading steps of 2 points each; shows its own failure.
  bool InitMusic();
  void ApplyMusicVolume();
  // Every title step: starts the title piece from its beginning unless it plays (MusicOn).
  void KeepTitleMusic();
  // Every play step: the same for the match piece.
  void KeepMatchMusic();
  // Stops both pieces at once; the next Keep call starts from the beginning.
  void StopMusic();
  void ShutdownMusic();

  // Starts recorded by Keep calls (tests): piece numbers, in order. Enable by setting.
  std::vector<int>* StartLog = nullptr;
  // SoundFonts to try instead of the system's General MIDI sets (tests); empty: the system's.
  std::vector<std::string> SoundFonts;
};

extern MusicPlayer Music;

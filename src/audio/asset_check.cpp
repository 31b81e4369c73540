// The sound half of the asset check: the 27 samples and both pieces of music.
#include "audio/asset_check.h"

#include <cstdint>
#include <cstring>

#include "audio/music_player.h"
#include "audio/sound_engine.h"
#include "audio/wav_reader.h"
#include "platform/sound/sample_convert.h"

namespace {

// "File/Sound/x" from the tables becomes `fileFolder`/Sound/x.
std::string InFolder(const std::string& fileFolder, const char* gamePath) {
  const char* rest = std::strncmp(gamePath, "File/", 5) == 0 ? gamePath + 5 : gamePath;
  return fileFolder + "/" + rest;
}

bool CheckWave(const std::string& path, bool positional, std::vector<std::string>& problems) {
  std::vector<std::uint8_t> samples;
  WaveFormat format;
  if (!ReadWaveFile(path, samples, format)) {
    problems.push_back(path + ": not a readable WAV file");
    return false;
  }
  std::vector<std::int16_t> pcm;
  int channels = 0;
  if (!ConvertToPcm16(format, samples.data(), static_cast<std::uint32_t>(samples.size()),
                      positional, pcm, channels)) {
    problems.push_back(path + ": sample format " + std::to_string(format.FormatTag) + " with " +
                       std::to_string(format.BitsPerSample) + " bits and " +
                       std::to_string(format.Channels) + " channels cannot be played");
    return false;
  }
  return true;
}

}  // namespace

bool CheckSoundAssets(const std::string& fileFolder, std::vector<std::string>& problems) {
  bool ok = true;
  for (const char* path : SoundFilePaths) ok = CheckWave(InFolder(fileFolder, path), true, problems) && ok;
  ok = CheckWave(InFolder(fileFolder, MusicFilePaths[0]), false, problems) && ok;
  std::vector<std::uint8_t> midi;
  const std::string midiPath = InFolder(fileFolder, MusicFilePaths[1]);
  if (!LoadMidiPiece(midiPath, midi)) {
    problems.push_back(midiPath + ": not a readable standard MIDI file");
    ok = false;
  }
  return ok;
}

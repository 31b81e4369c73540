// Start-up's audio work done ahead: the sample files read and the SoundFont loaded on a helper.
#include "audio/audio_preparation.h"

#include <condition_variable>
#include <mutex>
#include <thread>

#include "audio/music_player.h"
#include "audio/sound_engine.h"
#include "platform/game_folder.h"
#include "platform/sound/music_device.h"

namespace {

struct WaveAhead {
  std::string Path;
  std::vector<std::uint8_t> Samples;
  WaveFormat Format{};
  bool Ok = false;
};

// Only the helper writes a file's entry, and only before it counts the entry ready; the paths
// are set before it starts.
struct Preparation {
  std::thread Worker;
  std::mutex Lock;
  std::condition_variable Changed;
  std::vector<WaveAhead> Files;
  std::size_t Ready = 0;
  bool StopAsked = false;

  // Start-up ends the helper itself; this only keeps an early exit from leaving it running.
  ~Preparation() {
    {
      std::lock_guard<std::mutex> lock(Lock);
      StopAsked = true;
    }
    if (Worker.joinable()) Worker.join();
  }
};

Preparation Ahead;

void Run(std::vector<std::string> soundFonts) {
  for (std::size_t i = 0; i < Ahead.Files.size(); ++i) {
    {
      std::lock_guard<std::mutex> lock(Ahead.Lock);
      if (Ahead.StopAsked) return;
    }
    WaveAhead& file = Ahead.Files[i];
    std::vector<std::uint8_t> samples;
    WaveFormat format{};
    const bool ok = ReadWaveFile(file.Path, samples, format);
    {
      std::lock_guard<std::mutex> lock(Ahead.Lock);
      file.Samples = std::move(samples);
      file.Format = format;
      file.Ok = ok;
      Ahead.Ready = i + 1;
    }
    Ahead.Changed.notify_all();
  }
  {
    std::lock_guard<std::mutex> lock(Ahead.Lock);
    if (Ahead.StopAsked) return;
  }
  PrepareMusicSynth(soundFonts);
}

}  // namespace

void BeginAudioPreparation() {
  EndAudioPreparation();
  std::vector<std::string> soundFonts = Music.SoundFonts.empty() ? DefaultSoundFonts() : Music.SoundFonts;
  for (const char* path : SoundFilePaths) Ahead.Files.push_back(WaveAhead{ResolveGamePath(path)});
  Ahead.Files.push_back(WaveAhead{ResolveGamePath(MusicFilePaths[0])});
  Ahead.Ready = 0;
  Ahead.StopAsked = false;
  Ahead.Worker = std::thread(Run, std::move(soundFonts));
}

bool ReadWaveAhead(const std::string& path, std::vector<std::uint8_t>& samples, WaveFormat& format) {
  std::unique_lock<std::mutex> lock(Ahead.Lock);
  for (std::size_t i = 0; i < Ahead.Files.size(); ++i) {
    if (Ahead.Files[i].Path != path) continue;
    Ahead.Changed.wait(lock, [&] { return Ahead.Ready > i || Ahead.StopAsked; });
    if (Ahead.Ready <= i) break;
    const WaveAhead& file = Ahead.Files[i];
    if (!file.Ok) return false;
    samples = file.Samples;
    format = file.Format;
    return true;
  }
  lock.unlock();
  return ReadWaveFile(path, samples, format);
}

void JoinAudioPreparation() {
  if (Ahead.Worker.joinable()) Ahead.Worker.join();
}

void EndAudioPreparation() {
  {
    std::lock_guard<std::mutex> lock(Ahead.Lock);
    Ahead.StopAsked = true;
  }
  Ahead.Changed.notify_all();
  JoinAudioPreparation();
  Ahead.Files.clear();
  Ahead.Files.shrink_to_fit();
  Ahead.Ready = 0;
  DropPreparedMusicSynth();
}

// Audio benchmarks: start-up loading of the default pack, the listener step, MIDI streaming.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "audio/music_player.h"
#include "audio/sound_engine.h"
#include "persist/settings_record.h"
#include "platform/message_box.h"

namespace {

// The game folder beside the benchmark's own folder (build/bench -> build/game), unless
// KORVID_GAME_DIR names one.
std::filesystem::path GameFolder() {
  if (const char* dir = std::getenv("KORVID_GAME_DIR")) return dir;
  return std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "game";
}

bool EnterGameFolder(benchmark::State& state) {
  const std::filesystem::path dir = GameFolder();
  if (!std::filesystem::exists(dir / "File/Sound/midi_my.mid")) {
    state.SkipWithError(("no default pack in " + dir.string()).c_str());
    return false;
  }
  std::filesystem::current_path(dir);
  setenv("ALSOFT_DRIVERS", "null", 0);
  Settings.EffectsVolume = Settings.VoiceVolume = Settings.MusicVolume = 100;
  Settings.EffectsOn = Settings.VoiceOn = Settings.MusicOn = 1;
  Settings.SoundDistanceScale = 1600;
  Settings.SoundDistanceQuarter = 400;
  BeginMessageBoxCapture();
  return true;
}

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void BM_InitSoundAndMusic(benchmark::State& state) {
  if (!EnterGameFolder(state)) return;
  for (auto _ : state) {
    if (!Sound.InitSound() || !Music.InitMusic()) {
      state.SkipWithError("loading failed");
      break;
    }
    state.PauseTiming();
    Music.ShutdownMusic();
    Sound.ShutdownSound();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_InitSoundAndMusic)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_UpdateListener(benchmark::State& state) {
  if (!EnterGameFolder(state) || !Sound.InitSound()) return;
  float yaw = 0, x = 1200;
  for (auto _ : state) {
    // A hurt player (heartbeat renewed) walking and turning: every source moves.
    Sound.UpdateListener(x, -90, 800, yaw, 10, 400);
    yaw += 0.5f;
    x += 1.0f;
  }
  Sound.ShutdownSound();
}
BENCHMARK(BM_UpdateListener)->Unit(benchmark::kMicrosecond);

// Process CPU while the match music streams in real time on the null device, over the
// same stretch with the music stopped.
void BM_MidiStreamingCpu(benchmark::State& state) {
  if (!EnterGameFolder(state) || !Sound.InitSound() || !Music.InitMusic()) return;
  const auto seconds = std::chrono::seconds(state.range(0));
  double idle = 0, playing = 0;
  for (auto _ : state) {
    double start = CpuSeconds();
    std::this_thread::sleep_for(seconds);
    idle = CpuSeconds() - start;
    Music.KeepMatchMusic();
    start = CpuSeconds();
    std::this_thread::sleep_for(seconds);
    playing = CpuSeconds() - start;
    Music.StopMusic();
  }
  const double wall = static_cast<double>(state.range(0));
  state.counters["idle_cpu_pct"] = 100 * idle / wall;
  state.counters["music_cpu_pct"] = 100 * playing / wall;
  state.counters["streaming_pct"] = 100 * (playing - idle) / wall;
  Music.ShutdownMusic();
  Sound.ShutdownSound();
}
BENCHMARK(BM_MidiStreamingCpu)->Arg(5)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();

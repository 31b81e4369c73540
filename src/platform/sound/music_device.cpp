// Music on OpenAL Soft and FluidSynth: a static looping source, or a stream fed by one thread.
#define AL_ALEXT_PROTOTYPES
#include "platform/sound/music_device.h"

#include <AL/al.h>
#include <AL/alext.h>
#include <fluidsynth.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>

#include "platform/sound/sample_convert.h"
#include "platform/sound/sound_internal.h"

namespace {

// 32 kHz keeps the synthesiser near 2 % of a core on a dense piece; 44.1 kHz costs a third more.
constexpr int SynthRate = 32000;
// Six buffers of 1024 frames: about 190 ms rendered ahead of the mixer.
constexpr int StreamBuffers = 6;
constexpr int StreamFrames = 1024;
constexpr auto PollInterval = std::chrono::milliseconds(8);

fluid_settings_t* SynthSettings = nullptr;
fluid_synth_t* Synth = nullptr;
bool SynthTaken = false;  // the one synthesiser belongs to one streamed piece

}  // namespace

struct MusicPerformance {
  ALuint Source = 0;
  ALuint Static = 0;  // sampled piece
  bool Streamed = false;
  // Streamed piece, guarded by Lock; the thread owns the synthesiser while it runs.
  std::vector<std::uint8_t> Midi;
  ALuint Buffers[StreamBuffers] = {};
  fluid_player_t* Player = nullptr;
  std::thread Thread;
  std::mutex Lock;
  std::condition_variable Wake;
  std::condition_variable Queued;
  std::atomic<bool> Playing{false};
  bool Quit = false;
  int LastTick = 0;
  std::atomic<int> Loops{0};
  std::vector<std::int16_t> Scratch;
};

namespace {

std::vector<MusicPerformance*> Performances;

// Performances die with the device; a player still holding one must not reach freed memory.
bool Known(MusicPerformance* p) {
  return p && std::find(Performances.begin(), Performances.end(), p) != Performances.end();
}

void QuietSynthLog() {
  for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
    fluid_set_log_function(level, nullptr, nullptr);
}

// Renders one buffer's worth of the piece and notes when it came round to the top.
void RenderInto(MusicPerformance* p, ALuint buffer) {
  p->Scratch.resize(static_cast<std::size_t>(StreamFrames) * 2);
  fluid_synth_write_s16(Synth, StreamFrames, p->Scratch.data(), 0, 2, p->Scratch.data(), 1, 2);
  const int tick = p->Player ? fluid_player_get_current_tick(p->Player) : 0;
  if (tick < p->LastTick) p->Loops.fetch_add(1);
  p->LastTick = tick;
  alBufferData(buffer, AL_FORMAT_STEREO16, p->Scratch.data(),
               static_cast<ALsizei>(p->Scratch.size() * sizeof(std::int16_t)), SynthRate);
}

void DropQueue(MusicPerformance* p) {
  alSourceStop(p->Source);
  alSourcei(p->Source, AL_BUFFER, 0);  // unqueues every buffer of a stopped source
}

void StreamThread(MusicPerformance* p) {
  std::unique_lock<std::mutex> lock(p->Lock);
  while (!p->Quit) {
    if (!p->Playing) {
      p->Wake.wait(lock);
      continue;
    }
    ALint processed = 0;
    alGetSourcei(p->Source, AL_BUFFERS_PROCESSED, &processed);
    for (; processed > 0; --processed) {
      ALuint buffer = 0;
      alSourceUnqueueBuffers(p->Source, 1, &buffer);
      RenderInto(p, buffer);
      alSourceQueueBuffers(p->Source, 1, &buffer);
    }
    ALint state = AL_STOPPED;
    alGetSourcei(p->Source, AL_SOURCE_STATE, &state);
    if (state != AL_PLAYING) alSourcePlay(p->Source);  // ran dry: carry on
    p->Queued.notify_all();
    p->Wake.wait_for(lock, PollInterval);
  }
}

void StopStream(MusicPerformance* p) {
  if (!p->Thread.joinable()) return;
  {
    std::lock_guard<std::mutex> lock(p->Lock);
    p->Quit = true;
    p->Playing = false;
  }
  p->Wake.notify_all();
  p->Thread.join();
}

}  // namespace

std::vector<std::string> DefaultSoundFonts() {
  const std::string dir = KORVID_SOUNDFONT_DIR;
  // The small General MIDI set first: it loads in milliseconds and keeps memory low.
  std::vector<std::string> list = {dir + "/TimGM6mb.sf2", dir + "/default-GM.sf2",
                                   dir + "/FluidR3_GM.sf2"};
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(dir, error)) {
    if (entry.path().extension() == ".sf2") list.push_back(entry.path().string());
  }
  return list;
}

namespace {

struct SynthParts {
  fluid_settings_t* Settings = nullptr;
  fluid_synth_t* Synth = nullptr;
  bool Loaded = false;
  bool Made = false;
  std::vector<std::string> Candidates;
};

SynthParts PreparedSynth;

void FreeParts(SynthParts& parts) {
  if (parts.Synth) delete_fluid_synth(parts.Synth);
  if (parts.Settings) delete_fluid_settings(parts.Settings);
  parts = SynthParts{};
}

SynthParts MakeSynth(const std::vector<std::string>& candidates) {
  QuietSynthLog();
  SynthParts parts;
  parts.Made = true;
  parts.Candidates = candidates;
  fluid_settings_t* settings = new_fluid_settings();
  parts.Settings = settings;
  if (!settings) return parts;
  fluid_settings_setnum(settings, "synth.sample-rate", SynthRate);
  // The default timing source follows the wall clock and stalls when rendering ahead.
  fluid_settings_setstr(settings, "player.timing-source", "sample");
  fluid_settings_setint(settings, "synth.lock-memory", 0);
  // Only the instruments a piece selects are read in, when it selects them: a whole General
  // MIDI set would otherwise sit in memory through every menu.
  fluid_settings_setint(settings, "synth.dynamic-sample-loading", 1);
  // The pieces play on a stereo path with reverb only; chorus would cost a fifth more CPU.
  fluid_settings_setint(settings, "synth.chorus.active", 0);
  // The synthesiser's own default (0.2) leaves a General MIDI piece some 12 dB below sampled
  // music at the same volume; 0.7 brings it level while its loudest chords stay unclipped.
  fluid_settings_setnum(settings, "synth.gain", 0.7);
  parts.Synth = new_fluid_synth(settings);
  if (!parts.Synth) return parts;
  for (const std::string& path : candidates) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) continue;
    if (fluid_synth_sfload(parts.Synth, path.c_str(), 1) != FLUID_FAILED) {
      parts.Loaded = true;
      break;
    }
  }
  return parts;
}

}  // namespace

void PrepareMusicSynth(const std::vector<std::string>& candidates) {
  DropPreparedMusicSynth();
  PreparedSynth = MakeSynth(candidates);
}

void DropPreparedMusicSynth() { FreeParts(PreparedSynth); }

bool OpenMusicSynth(const std::vector<std::string>& candidates) {
  if (Synth) return true;
  if (!SoundContextCurrent()) return false;
  SynthParts parts;
  if (PreparedSynth.Made && PreparedSynth.Candidates == candidates) {
    parts = PreparedSynth;
    PreparedSynth = SynthParts{};
  } else {
    DropPreparedMusicSynth();
    parts = MakeSynth(candidates);
  }
  SynthSettings = parts.Settings;
  Synth = parts.Synth;
  if (!parts.Loaded) CloseMusicSynth();
  return parts.Loaded;
}

void CloseMusicSynth() {
  if (SynthTaken) return;  // a streamed piece still renders with it
  if (Synth) delete_fluid_synth(Synth);
  if (SynthSettings) delete_fluid_settings(SynthSettings);
  Synth = nullptr;
  SynthSettings = nullptr;
  SynthTaken = false;
}

MusicPerformance* CreateMusicPerformance() {
  if (!SoundContextCurrent()) return nullptr;
  alGetError();
  ALuint source = 0;
  alGenSources(1, &source);
  if (alGetError() != AL_NO_ERROR) return nullptr;
  // Music sits on the listener: no position, no distance.
  alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
  alSource3f(source, AL_POSITION, 0, 0, 0);
  alSourcef(source, AL_ROLLOFF_FACTOR, 0);
  auto* p = new MusicPerformance;
  p->Source = source;
  Performances.push_back(p);
  return p;
}

bool LoadMusicWave(MusicPerformance* p, const WaveFormat& format, const void* samples,
                   std::uint32_t bytes) {
  if (!Known(p) || p->Streamed || p->Static) return false;
  std::vector<std::int16_t> pcm;
  int channels = 0;
  if (!ConvertToPcm16(format, samples, bytes, false, pcm, channels) || pcm.empty()) return false;
  alGetError();
  alGenBuffers(1, &p->Static);
  alBufferData(p->Static, channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16, pcm.data(),
               static_cast<ALsizei>(pcm.size() * sizeof(std::int16_t)),
               static_cast<ALsizei>(format.SamplesPerSec));
  alSourcei(p->Source, AL_BUFFER, static_cast<ALint>(p->Static));
  if (alGetError() != AL_NO_ERROR) {
    alSourcei(p->Source, AL_BUFFER, 0);
    alDeleteBuffers(1, &p->Static);
    p->Static = 0;
    return false;
  }
  return true;
}

bool LoadMusicMidi(MusicPerformance* p, const std::vector<std::uint8_t>& file) {
  if (!Known(p) || p->Streamed || p->Static || !Synth || SynthTaken) return false;
  // Parse once now, so a file the synthesiser cannot read fails here and not mid-match.
  fluid_player_t* trial = new_fluid_player(Synth);
  const bool parsed = trial && fluid_player_add_mem(trial, file.data(), file.size()) == FLUID_OK;
  if (trial) delete_fluid_player(trial);
  if (!parsed) return false;
  alGetError();
  alGenBuffers(StreamBuffers, p->Buffers);
  if (alGetError() != AL_NO_ERROR) return false;
  p->Midi = file;
  p->Streamed = true;
  SynthTaken = true;
  p->Thread = std::thread(StreamThread, p);
  return true;
}

void StartMusic(MusicPerformance* p) {
  if (!Known(p)) return;
  if (!p->Streamed) {
    if (!p->Static) return;
    alSourceStop(p->Source);
    alSourceRewind(p->Source);
    alSourcei(p->Source, AL_LOOPING, AL_TRUE);
    alSourcePlay(p->Source);
    return;
  }
  {
    std::lock_guard<std::mutex> lock(p->Lock);
    DropQueue(p);
    if (p->Player) delete_fluid_player(p->Player);
    fluid_synth_system_reset(Synth);
    p->Player = new_fluid_player(Synth);
    fluid_player_add_mem(p->Player, p->Midi.data(), p->Midi.size());
    fluid_player_set_loop(p->Player, -1);
    fluid_player_play(p->Player);
    p->LastTick = 0;
    p->Loops = 0;
    for (ALuint buffer : p->Buffers) RenderInto(p, buffer);
    alSourceQueueBuffers(p->Source, StreamBuffers, p->Buffers);
    alSourcePlay(p->Source);
    p->Playing = true;
  }
  p->Wake.notify_all();
}

void StopMusicPerformance(MusicPerformance* p) {
  if (!Known(p)) return;
  if (!p->Streamed) {
    alSourceStop(p->Source);
    alSourceRewind(p->Source);
    return;
  }
  std::lock_guard<std::mutex> lock(p->Lock);
  p->Playing = false;
  p->Loops = 0;
  DropQueue(p);
  if (p->Player) {
    fluid_player_stop(p->Player);
    delete_fluid_player(p->Player);
    p->Player = nullptr;
  }
  fluid_synth_system_reset(Synth);
}

bool MusicIsPlaying(MusicPerformance* p) {
  if (!Known(p)) return false;
  if (p->Streamed) return p->Playing;
  ALint state = AL_STOPPED;
  alGetSourcei(p->Source, AL_SOURCE_STATE, &state);
  return state == AL_PLAYING;
}

bool SetMusicVolume(MusicPerformance* p, std::int32_t hundredths) {
  if (!Known(p) || !SoundContextCurrent()) return false;
  hundredths = std::clamp<std::int32_t>(hundredths, -10000, 0);
  alGetError();
  alSourcef(p->Source, AL_GAIN, std::pow(10.0f, static_cast<float>(hundredths) / 2000.0f));
  return alGetError() == AL_NO_ERROR;
}

float MusicGain(MusicPerformance* p) {
  if (!Known(p) || !SoundContextCurrent()) return 0;
  ALfloat gain = 0;
  alGetSourcef(p->Source, AL_GAIN, &gain);
  return gain;
}

void ReleaseMusicPerformance(MusicPerformance* p) {
  if (!Known(p)) return;
  StopStream(p);
  if (SoundContextCurrent()) {
    DropQueue(p);
    alDeleteSources(1, &p->Source);
    if (p->Streamed) alDeleteBuffers(StreamBuffers, p->Buffers);
    if (p->Static) alDeleteBuffers(1, &p->Static);
  }
  if (p->Player) delete_fluid_player(p->Player);
  if (p->Streamed) SynthTaken = false;
  Performances.erase(std::find(Performances.begin(), Performances.end(), p));
  delete p;
}

bool WaitMusicQueued(MusicPerformance* p, int timeoutMs) {
  if (!Known(p)) return false;
  if (!p->Streamed) return true;
  std::unique_lock<std::mutex> lock(p->Lock);
  const auto full = [p] {
    if (!p->Playing) return true;
    ALint processed = 0;
    alGetSourcei(p->Source, AL_BUFFERS_PROCESSED, &processed);
    return processed == 0;
  };
  if (full()) return true;
  p->Wake.notify_all();
  return p->Queued.wait_for(lock, std::chrono::milliseconds(timeoutMs), full);
}

int MusicLoopCount(MusicPerformance* p) { return Known(p) ? p->Loops.load() : 0; }

void CloseMusicStreams() {
  while (!Performances.empty()) ReleaseMusicPerformance(Performances.back());
  CloseMusicSynth();
}

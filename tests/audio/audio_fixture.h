// Helpers for the audio tests: WAV and MIDI files made on the spot, a scratch game folder,
// and loudness measured on the loopback device.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "audio/music_player.h"
#include "audio/sound_engine.h"
#include "graphics/text_renderer.h"
#include "persist/settings_record.h"
#include "platform/message_box.h"
#include "platform/sound/sound_device.h"
#include "world/game_world.h"

namespace audio_test {

using Bytes = std::vector<std::uint8_t>;

inline void Put16(Bytes& b, std::uint32_t v) {
  b.push_back(static_cast<std::uint8_t>(v & 0xFF));
  b.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}
inline void Put32(Bytes& b, std::uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

inline Bytes Chunk(const char* id, const Bytes& body, bool pad = true) {
  Bytes b(id, id + 4);
  Put32(b, static_cast<std::uint32_t>(body.size()));
  b.insert(b.end(), body.begin(), body.end());
  if (pad && (body.size() & 1)) b.push_back(0);
  return b;
}

// "fmt " body: the 16-byte PCM part, then (when asked) the extra-size word and extra bytes.
inline Bytes FormatBody(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate,
                        std::uint16_t bits, bool withExtraWord = false, Bytes extra = {}) {
  Bytes b;
  const std::uint16_t align = static_cast<std::uint16_t>(channels * bits / 8);
  Put16(b, tag);
  Put16(b, channels);
  Put32(b, rate);
  Put32(b, rate * align);
  Put16(b, align);
  Put16(b, bits);
  if (withExtraWord) {
    Put16(b, static_cast<std::uint32_t>(extra.size()));
    b.insert(b.end(), extra.begin(), extra.end());
  }
  return b;
}

inline Bytes Riff(const std::vector<Bytes>& chunks) {
  Bytes body = {'W', 'A', 'V', 'E'};
  for (const Bytes& c : chunks) body.insert(body.end(), c.begin(), c.end());
  return Chunk("RIFF", body, false);
}

// Mono 16-bit sine samples.
inline Bytes Sine16(int frames, double hz, int rate = 44100, double amplitude = 0.5) {
  Bytes b;
  for (int i = 0; i < frames; ++i)
    Put16(b, static_cast<std::uint16_t>(static_cast<std::int16_t>(
                 std::lrint(amplitude * 32767 * std::sin(2 * M_PI * hz * i / rate)))));
  return b;
}

inline Bytes ToneWav(int frames = 22050, double hz = 441, int rate = 44100) {
  return Riff({Chunk("fmt ", FormatBody(1, 1, static_cast<std::uint32_t>(rate), 16)),
               Chunk("data", Sine16(frames, hz, rate))});
}

inline void WriteFile(const std::filesystem::path& path, const Bytes& bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A format-0 MIDI file, 480 ticks per quarter at 120 bpm (1 tick = 1/960 s): one note on
// channel 0 held `noteTicks`, the track ending at `endTicks`.
inline Bytes OneNoteMidi(std::uint32_t noteTicks, std::uint32_t endTicks) {
  auto varLen = [](Bytes& b, std::uint32_t v) {
    std::uint8_t tmp[5];
    int n = 0;
    tmp[n++] = v & 0x7F;
    while ((v >>= 7) != 0) tmp[n++] = static_cast<std::uint8_t>(0x80 | (v & 0x7F));
    while (n > 0) b.push_back(tmp[--n]);
  };
  Bytes track;
  varLen(track, 0);
  track.insert(track.end(), {0xC0, 80});  // square lead: loud and steady
  varLen(track, 0);
  track.insert(track.end(), {0x90, 69, 120});
  varLen(track, noteTicks);
  track.insert(track.end(), {0x80, 69, 0});
  varLen(track, endTicks - noteTicks);
  track.insert(track.end(), {0xFF, 0x2F, 0x00});
  Bytes file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xE0};
  file.insert(file.end(), {'M', 'T', 'r', 'k'});
  const auto size = static_cast<std::uint32_t>(track.size());
  file.insert(file.end(), {static_cast<std::uint8_t>(size >> 24), static_cast<std::uint8_t>(size >> 16),
                           static_cast<std::uint8_t>(size >> 8), static_cast<std::uint8_t>(size)});
  file.insert(file.end(), track.begin(), track.end());
  return file;
}

constexpr int Rate = 44100;

struct Loudness {
  double Left = 0, Right = 0;
  double Both() const { return std::sqrt((Left * Left + Right * Right) / 2); }
};

// Renders `frames` frames from the loopback device and returns each side's RMS.
inline Loudness Listen(int frames) {
  std::vector<float> out(static_cast<std::size_t>(frames) * 2);
  EXPECT_TRUE(RenderLoopback(out.data(), frames));
  double l = 0, r = 0;
  for (int i = 0; i < frames; ++i) {
    l += out[2 * i] * out[2 * i];
    r += out[2 * i + 1] * out[2 * i + 1];
  }
  return {std::sqrt(l / frames), std::sqrt(r / frames)};
}

// A scratch game folder (File/Sound with every sample and both pieces) as the working
// directory, the loopback device, and settings at full volume with everything on.
class AudioTest : public ::testing::Test {
 protected:
  void SetUp() override {
    home_ = std::filesystem::current_path();
    dir_ = std::filesystem::temp_directory_path() /
           ("korvid_audio_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    for (const char* path : SoundFilePaths) WriteFile(dir_ / path, ToneWav());
    WriteFile(dir_ / MusicFilePaths[0], ToneWav(44100, 330));
    WriteFile(dir_ / MusicFilePaths[1], OneNoteMidi(240, 480));
    std::filesystem::current_path(dir_);

    Settings.EffectsVolume = 100;
    Settings.VoiceVolume = 100;
    Settings.MusicVolume = 100;
    Settings.EffectsOn = 1;
    Settings.VoiceOn = 1;
    Settings.MusicOn = 1;
    Settings.SoundDistance = 1600;
    Settings.SoundDistanceScale = 1600;
    Settings.SoundDistanceQuarter = 400;
    World.LoadPercent = 0;
    Sound = SoundEngine{};
    Sound.PlayLog = &log_;
    Text.LoadingLineLog = &lines_;
    UseLoopbackSoundDevice(Rate);
    BeginMessageBoxCapture();
  }

  void TearDown() override {
    Music.ShutdownMusic();
    Sound.ShutdownSound();
    Music = MusicPlayer{};
    Sound = SoundEngine{};
    Text.LoadingLineLog = nullptr;
    EndMessageBoxCapture();
    UseLoopbackSoundDevice(0);
    std::filesystem::current_path(home_);
    std::filesystem::remove_all(dir_);
  }

  std::filesystem::path home_, dir_;
  std::vector<SoundEvent> log_;
  std::vector<std::string> lines_;
};

}  // namespace audio_test

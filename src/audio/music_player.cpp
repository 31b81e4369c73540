// MusicPlayer: loading the two pieces, their volume, and keeping the right one going.
#include "audio/music_player.h"

#include <cstdio>
#include <cstdlib>

#include "app/app_globals.h"
#include "audio/audio_preparation.h"
#include "audio/wav_reader.h"
#include "graphics/text_renderer.h"
#include "persist/settings_record.h"
#include "platform/file_read.h"
#include "platform/game_folder.h"
#include "platform/message_box.h"
#include "platform/sound/music_device.h"
#include "world/game_world.h"

MusicPlayer Music;

const char* const MusicFilePaths[MusicPieceCount] = {"File/Sound/MenuMusic.wav",
                                                      "File/Sound/midi_my.mid"};

namespace {

constexpr const char* Caption = "DirectMusic";
constexpr const char* LoadingFormat = "Now Loadind... %d％　ミュージックのロード中";

void AdvanceLoading() {
  World.LoadPercent += 2.0f;
  Text.ShowLoadingLine(LoadingFormat, static_cast<int>(World.LoadPercent));
}

std::uint32_t Be32(const std::uint8_t* p) {
  return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
         (static_cast<std::uint32_t>(p[2]) << 8) | p[3];
}

void Start(int piece) {
  if (Music.StartLog) Music.StartLog->push_back(piece);
  StartMusic(Music.Performances[piece]);
}

void Keep(int piece) {
  MusicPerformance* p = Music.Performances[piece];
  if (!p || MusicIsPlaying(p)) return;
  if (Settings.MusicOn == 1) Start(piece);
}

}  // namespace

std::int32_t MusicVolumeHundredths(std::uint32_t musicVolume) {
  return -static_cast<std::int32_t>(2000 - 2000 * musicVolume / 100);
}

bool LoadWavePiece(const std::string& path, std::vector<std::uint8_t>& samples,
                   WaveFormat& format) {
  return ReadWaveAhead(path, samples, format);
}

// A standard MIDI file: "MThd" of at least six bytes, then chunks that all lie inside the
// file, at least one of them a track.
bool LoadMidiPiece(const std::string& path, std::vector<std::uint8_t>& bytes) {
  if (!ReadFileBytes(path, bytes, MusicFileLimit)) return false;
  if (bytes.size() < 14 || std::string(bytes.begin(), bytes.begin() + 4) != "MThd") return false;
  const std::uint32_t headerSize = Be32(bytes.data() + 4);
  if (headerSize < 6) return false;
  const std::uint8_t* h = bytes.data() + 8;
  const int format = (h[0] << 8) | h[1];
  const int division = (h[4] << 8) | h[5];
  if (format > 2 || division == 0) return false;
  std::uint64_t at = 8 + static_cast<std::uint64_t>(headerSize);
  int tracks = 0;
  while (at + 8 <= bytes.size()) {
    const std::uint32_t size = Be32(bytes.data() + at + 4);
    if (at + 8 + size > bytes.size()) return false;
    if (std::string(bytes.begin() + at, bytes.begin() + at + 4) == "MTrk") ++tracks;
    at += 8 + static_cast<std::uint64_t>(size);
  }
  return tracks > 0;
}

bool MusicPlayer::InitMusic() {
  // The feeding thread must stop before the process tears its statics down.
  static const bool releaseAtExit = std::atexit([] { Music.ShutdownMusic(); }) == 0;
  (void)releaseAtExit;
  AdvanceLoading();
  // The synthesiser may have been made ahead on start-up's helper; it is taken over here.
  JoinAudioPreparation();
  if (!OpenMusicSynth(SoundFonts.empty() ? DefaultSoundFonts() : SoundFonts)) {
    MessageBox(nullptr, "DirectMusicLoader8 オブジェクトの作成に失敗しました。", Caption, MB_OK);
    return false;
  }
  for (MusicPerformance*& p : Performances) {
    AdvanceLoading();
    p = CreateMusicPerformance();
    if (!p) {
      MessageBox(MainWindow, "DirectMusicPerformance8 オブジェクトの作成に失敗しました。", Caption,
                 MB_OK);
      return false;
    }
  }
  for (int piece = 0; piece < MusicPieceCount; ++piece) {
    AdvanceLoading();
    bool loaded = false;
    if (piece == 0) {
      std::vector<std::uint8_t> samples;
      WaveFormat format;
      loaded = LoadWavePiece(ResolveGamePath(MusicFilePaths[0]), samples, format) &&
               LoadMusicWave(Performances[0], format, samples.data(),
                             static_cast<std::uint32_t>(samples.size()));
    } else {
      std::vector<std::uint8_t> midi;
      loaded = LoadMidiPiece(ResolveGamePath(MusicFilePaths[1]), midi) && LoadMusicMidi(Performances[1], midi);
    }
    if (!loaded) {
      MessageBox(MainWindow, "MIDI の読み込みに失敗しました。", Caption, MB_OK);
      return false;
    }
    ApplyMusicVolume();
  }
  return true;
}

void MusicPlayer::ApplyMusicVolume() {
  const std::int32_t volume = MusicVolumeHundredths(Settings.MusicVolume);
  for (MusicPerformance* p : Performances) {
    if (!p) continue;  // not created yet
    if (!SetMusicVolume(p, volume)) {
      MessageBox(MainWindow, "ボリュームの設定に失敗", Caption, MB_OK);
      return;
    }
  }
}

void MusicPlayer::KeepTitleMusic() { Keep(0); }

void MusicPlayer::KeepMatchMusic() { Keep(1); }

void MusicPlayer::StopMusic() {
  for (MusicPerformance* p : Performances) StopMusicPerformance(p);
}

void MusicPlayer::ShutdownMusic() {
  for (MusicPerformance*& p : Performances) {
    StopMusicPerformance(p);
    ReleaseMusicPerformance(p);
    p = nullptr;
  }
  CloseMusicSynth();
}

// The sound page: music, effects and voices, each with its switch and volume, heard as set.
#include "app/random.h"
#include "audio/music_player.h"
#include "audio/sound_engine.h"
#include "dialogs/settings_pages.h"
#include "dialogs/settings_templates.h"
#include "persist/settings_record.h"

namespace {
enum : int {
  IdMusicOn = 1007,
  IdMusicLabel = 1061,
  IdMusicVolume = 1005,
  IdEffectsLabel = 1062,
  IdEffectsVolume = 1009,
  IdVoiceOn = 1011,
  IdVoiceLabel = 1063,
  IdVoiceVolume = 1006,
};
constexpr int VolumeTick = 10;

void EnableVolume(HWND page, int label, int trackbar, bool enable) {
  EnableDlgItem(page, label, enable);
  EnableDlgItem(page, trackbar, enable);
}

// A sample at the origin, where the listener sits outside a match. The kind is drawn first.
void PlayImpactSample(int copy) {
  const int kind = 1 + static_cast<int>(RandomBelow(2));
  if (copy < 0) copy = static_cast<int>(RandomBelow(5));
  Sound.PlayImpact(copy, kind, 0, 0, 0);
}
void PlayVoiceSample(int slot) {
  const int kind = 1 + static_cast<int>(RandomBelow(3));
  if (slot < 0) slot = static_cast<int>(RandomBelow(5));
  Sound.PlayEnemySound(slot, kind, 0, 0, 0);
}

void InitSoundPage(HWND page) {
  SettingsRecord& s = Settings;
  CheckDlgButton(page, IdMusicOn, s.MusicOn != 0);
  CheckDlgButton(page, IdEffectsOn, s.EffectsOn != 0);
  CheckDlgButton(page, IdVoiceOn, s.VoiceOn != 0);
  s.MusicVolume = SetUpTrackbar(page, IdMusicVolume, s.VolumeMin, s.VolumeMax, VolumeTick, s.MusicVolume);
  s.EffectsVolume = SetUpTrackbar(page, IdEffectsVolume, s.VolumeMin, s.VolumeMax, VolumeTick, s.EffectsVolume);
  s.VoiceVolume = SetUpTrackbar(page, IdVoiceVolume, s.VolumeMin, s.VolumeMax, VolumeTick, s.VoiceVolume);
  if (s.MusicOn == 0) EnableVolume(page, IdMusicLabel, IdMusicVolume, false);
  if (s.EffectsOn == 0) EnableVolume(page, IdEffectsLabel, IdEffectsVolume, false);
  if (s.VoiceOn == 0) EnableVolume(page, IdVoiceLabel, IdVoiceVolume, false);
}

void OnSwitch(HWND page, int id) {
  const bool on = IsDlgButtonChecked(page, id);
  switch (id) {
    case IdMusicOn:
      EnableVolume(page, IdMusicLabel, IdMusicVolume, on);
      if (on) {
        Settings.MusicOn = 1;
        Music.ApplyMusicVolume();
        Music.KeepTitleMusic();
      } else {
        Music.StopMusic();
      }
      break;
    case IdEffectsOn:
      EnableVolume(page, IdEffectsLabel, IdEffectsVolume, on);
      if (on) {
        Settings.EffectsOn = 1;
        Sound.ApplyEffectVolumes();
        PlayImpactSample(0);
      }
      break;
    case IdVoiceOn:
      EnableVolume(page, IdVoiceLabel, IdVoiceVolume, on);
      if (on) {
        Settings.VoiceOn = 1;
        Sound.ApplyEffectVolumes();
        PlayVoiceSample(0);
      }
      break;
    default:
      break;
  }
}

// Every step of a volume is heard at once.
void OnVolume(HWND page, int id) {
  const auto position = static_cast<std::uint32_t>(GetTrackbarPosition(page, id));
  switch (id) {
    case IdMusicVolume:
      Settings.MusicVolume = position;
      Music.ApplyMusicVolume();
      break;
    case IdEffectsVolume:
      Settings.EffectsVolume = position;
      Sound.ApplyEffectVolumes();
      PlayImpactSample(-1);
      break;
    case IdVoiceVolume:
      Settings.VoiceVolume = position;
      Sound.ApplyEffectVolumes();
      PlayVoiceSample(-1);
      break;
    default:
      break;
  }
}
}  // namespace

INT_PTR SoundPageProc(HWND page, std::uint32_t message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      InitSoundPage(page);
      return 1;
    case WM_COMMAND:
      if (LowWord(wParam) == IdPageDefaults)
        AskPageDefaults(page, 3);
      else
        OnSwitch(page, LowWord(wParam));
      return 1;
    case WM_HSCROLL:
      OnVolume(page, static_cast<int>(lParam));
      return 1;
    default:
      return 0;
  }
}

void ReadBackSoundPage(HWND page) {
  SettingsRecord& s = Settings;
  s.MusicOn = IsDlgButtonChecked(page, IdMusicOn) ? 1 : 0;
  s.EffectsOn = IsDlgButtonChecked(page, IdEffectsOn) ? 1 : 0;
  s.VoiceOn = IsDlgButtonChecked(page, IdVoiceOn) ? 1 : 0;
  s.MusicVolume = static_cast<std::uint32_t>(GetTrackbarPosition(page, IdMusicVolume));
  s.EffectsVolume = static_cast<std::uint32_t>(GetTrackbarPosition(page, IdEffectsVolume));
  s.VoiceVolume = static_cast<std::uint32_t>(GetTrackbarPosition(page, IdVoiceVolume));
}

void RefreshSoundPage(HWND page) {
  SettingsRecord& s = Settings;
  CheckDlgButton(page, IdMusicOn, s.MusicOn != 0);
  CheckDlgButton(page, IdEffectsOn, s.EffectsOn != 0);
  CheckDlgButton(page, IdVoiceOn, s.VoiceOn != 0);
  SetTrackbarPosition(page, IdMusicVolume, static_cast<int>(s.MusicVolume));
  SetTrackbarPosition(page, IdEffectsVolume, static_cast<int>(s.EffectsVolume));
  SetTrackbarPosition(page, IdVoiceVolume, static_cast<int>(s.VoiceVolume));
  Music.ApplyMusicVolume();
  if (s.MusicOn) Music.KeepTitleMusic();
  Sound.ApplyEffectVolumes();
  // The greying follows the switches as they now stand.
  EnableVolume(page, IdMusicLabel, IdMusicVolume, s.MusicOn != 0);
  EnableVolume(page, IdEffectsLabel, IdEffectsVolume, s.EffectsOn != 0);
  EnableVolume(page, IdVoiceLabel, IdVoiceVolume, s.VoiceOn != 0);
}

// SettingsRecord: every player option, its derived values, and Setting.dat.
#pragma once

#include <cstdint>
#include <string>

enum KeyBindingIndex : int {
  KeyForward = 0,
  KeyBack,
  KeyLeft,
  KeyRight,
  KeyTurnLeft,
  KeyTurnRight,
  KeyJump,
  KeyAttack,
  KeyWeapon,
  KeyReload,
  KeyBindingCount
};

struct SettingsRecord {
  std::uint8_t SettingWindowOpen = 0;
  std::uint8_t ApplyDisplayChange = 1;
  int ScreenWidth = 0;
  int ScreenHeight = 0;
  int DisplayWidth = 0;
  int DisplayHeight = 0;
  int SideTextureRepeatU = 0;
  int SideTextureRepeatV = 0;
  int GroundTextureRepeat = 0;
  float SoundDistanceScale = 0;
  float SoundDistanceQuarter = 0;
  int EnemyCount = 20;
  float EnemyHealth = 0;
  int EnemySpeed = 0;
  int RespawnDelayBase = 0;
  int EngagementDistance = 0;
  int MipLevelCount = 0;
  int KeyCaptureSlot = 0;
  std::uint32_t KeyBindings[KeyBindingCount] = {};
  std::uint32_t CursorStyleMin = 1;
  std::uint32_t CursorStyleMax = 6;
  std::uint32_t CursorStyle = 0;
  std::uint32_t ColourMin = 0;
  std::uint32_t ColourMax = 255;
  std::uint32_t CursorRed = 0;
  std::uint32_t CursorGreen = 0;
  std::uint32_t CursorBlue = 0;
  std::uint32_t CursorAlpha = 0;
  std::uint32_t VolumeMin = 10;
  std::uint32_t VolumeMax = 100;
  std::uint32_t MusicVolume = 0;
  std::uint32_t EffectsVolume = 0;
  std::uint32_t VoiceVolume = 0;
  std::uint32_t MouseSensitivityMin = 10;
  std::uint32_t MouseSensitivityMax = 200;
  std::uint32_t MouseSensitivity = 0;
  std::uint32_t SoundDistanceMin = 100;
  std::uint32_t SoundDistanceMax = 1600;
  std::uint32_t SoundDistance = 0;
  std::uint32_t Difficulty = 0;
  std::uint32_t InitialWeapon = 0;
  std::uint32_t ResolutionIndex = 0;
  std::uint32_t Sharpness = 0;
  std::uint32_t ColourDepth = 0;
  std::uint32_t UseMipmaps = 0;
  std::uint32_t MipmapLevel = 0;
  std::uint32_t WindowMode = 0;
  std::uint32_t MusicOn = 0;
  std::uint32_t EffectsOn = 0;
  std::uint32_t VoiceOn = 0;
  std::uint32_t WheelWeaponChange = 0;
  std::uint32_t InvertMouseY = 0;
  std::uint32_t KeyPreset = 0;
  std::uint32_t ShowFps = 0;
  std::uint32_t DebugMode = 0;
  std::uint32_t Invincible = 0;
  std::uint32_t ShowSelf = 0;
  std::uint32_t ShowGun = 0;
  std::uint32_t ShowBullets = 0;
  std::uint32_t ShowAimCursor = 0;
  std::uint32_t ShowTrees = 0;
  std::uint32_t ShowEnemies = 0;
  std::uint32_t ShowStatus = 0;
  std::uint32_t UseFog = 0;
  std::uint32_t Recoil = 0;
  std::uint32_t ShowPosition = 0;
  std::uint32_t ShowEnemyInfo = 0;

  // Set while the record holds values that the last save could not write to Setting.dat;
  // loading then takes CommittedFields rather than the stale file. The player is told once.
  std::uint8_t SaveFailed = 0;
  std::uint8_t SaveFailureShown = 0;
  // The 48 stored fields, in file order, as the last save was asked to store them: what a
  // load returns to while the file cannot be written, so unsaved edits are still dropped.
  std::uint32_t CommittedFields[48] = {};

  // Writes the 48 stored fields to Setting.dat in the working directory; false if the file
  // could not be written (the previous file is then left as it was).
  bool SaveSettings();
  // 0 valid (or just created), 1 a section was repaired and the player continues, 2 declined.
  int LoadSettings();
  // 0, or the first section (1..5) holding a value out of range; derives as it goes.
  int ValidateSettings();
  void ResetSection(int section, bool refreshPage);
  // The stored fields as Setting.dat's record (header line and 48 fields, no line end), masked
  // with `key`; and such a record read back into this one (ValidateSettings' result: 0 valid).
  std::string StoredRecord(std::uint32_t key);
  int ReadStoredRecord(const std::string& bytes);
  // Presets 1 and 2 overwrite all ten bindings; 0 (custom) and anything else leave them.
  void ApplyKeyPreset(int preset);
};

extern SettingsRecord Settings;

// The settings window sets this while its pages exist, so that a section reset with the
// refresh flag shows the new values on the section's page (1..5).
extern void (*RefreshSettingsPage)(int section);

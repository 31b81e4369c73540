// The global settings record: defaults, checks, derived values and Setting.dat.
#include "persist/settings_record.h"

#include <array>
#include <string>

#include "app/app_globals.h"
#include "persist/masked_file.h"
#include "platform/message_box.h"

SettingsRecord Settings;
void (*RefreshSettingsPage)(int section) = nullptr;

namespace {
constexpr const char* SettingsFileName = "Setting.dat";
constexpr int StoredFieldCount = 48;
// Header line (8 digits, CR LF) and 48 fields of 8 digits and a comma; the loader stops here.
constexpr std::size_t SettingsReadLength = 10 + StoredFieldCount * 9;

constexpr std::uint32_t KeyPresets[2][KeyBindingCount] = {
    {87, 83, 65, 68, 81, 69, 32, 17, 70, 82},
    {38, 40, 37, 39, 46, 34, 17, 97, 16, 96},
};

constexpr int ResolutionSizes[8][2] = {{320, 240},   {512, 384},   {640, 480},   {800, 600},
                                       {1024, 768},  {1152, 864},  {1280, 1024}, {1600, 1200}};
constexpr int TextureRepeats[3][3] = {{2, 1, 3}, {5, 2, 15}, {7, 3, 30}};
constexpr int MipLevelCounts[6] = {2, 2, 4, 4, 8, 8};

constexpr const char* RepairMessages[5] = {
    "ゲーム設定の読み込みエラー！\n設定を改変された可能性があります。\nゲーム設定を初期化しました。\n続けますか？\n",
    "グラフィック設定の読み込みエラー！\n\n設定を改変された可能性があります。\n\nグラフィック設定を初期化しました。\n続けますか？\n",
    "オウディオ設定の読み込みエラー！\n設定を改変された可能性があります。\nオウディオ設定を初期化しました。\n続けますか？\n",
    "キー設定の読み込みエラー！\n設定を改変された可能性があります。\nキー設定を初期化しました。\n続けますか？\n",
    "その他の設定の読み込みエラー！\n設定を改変された可能性があります。\nその他を初期化しました。\n続けますか？\n",
};

constexpr const char* UnsavedMessage =
    "Setting.dat に書き込めませんでした。\n"
    "設定はこの起動の間だけ使われ、保存されません。\n"
    "ファイルが読み取り専用でないか、ディスクに空きがあるかを確かめてください。\n";

// The stored fields in file order.
std::array<std::uint32_t*, StoredFieldCount> StoredFields(SettingsRecord& r) {
  return {&r.Difficulty,       &r.InitialWeapon,  &r.CursorStyle,     &r.CursorRed,
          &r.CursorGreen,      &r.CursorBlue,     &r.CursorAlpha,     &r.ResolutionIndex,
          &r.Sharpness,        &r.ColourDepth,    &r.MipmapLevel,     &r.UseMipmaps,
          &r.WindowMode,       &r.MusicOn,        &r.EffectsOn,       &r.VoiceOn,
          &r.MusicVolume,      &r.EffectsVolume,  &r.VoiceVolume,     &r.KeyPreset,
          &r.WheelWeaponChange, &r.InvertMouseY,  &r.MouseSensitivity, &r.KeyBindings[0],
          &r.KeyBindings[1],   &r.KeyBindings[2], &r.KeyBindings[3],  &r.KeyBindings[4],
          &r.KeyBindings[5],   &r.KeyBindings[6], &r.KeyBindings[7],  &r.KeyBindings[8],
          &r.KeyBindings[9],   &r.ShowFps,        &r.DebugMode,       &r.Invincible,
          &r.ShowSelf,         &r.ShowGun,        &r.ShowBullets,     &r.ShowAimCursor,
          &r.ShowTrees,        &r.ShowEnemies,    &r.ShowStatus,      &r.UseFog,
          &r.Recoil,           &r.ShowPosition,   &r.ShowEnemyInfo,   &r.SoundDistance};
}

// The debug switches and the sound distance as they run while the debug mode is off.
void SetDebugDefaults(SettingsRecord& r) {
  r.Invincible = 0;
  r.ShowSelf = 0;
  r.ShowGun = 1;
  r.ShowBullets = 1;
  r.ShowAimCursor = 1;
  r.ShowTrees = 1;
  r.ShowEnemies = 1;
  r.ShowStatus = 1;
  r.UseFog = 1;
  r.Recoil = 1;
  r.ShowPosition = 0;
  r.ShowEnemyInfo = 0;
  r.SoundDistance = 800;
}

int OutOfRange(std::uint32_t value, std::uint32_t low, std::uint32_t high) {
  return value < low || value > high ? 1 : 0;
}

std::string SettingsFileText(SettingsRecord& r, std::uint32_t key) {
  std::string text;
  text.reserve(SettingsReadLength + 2);
  text += std::to_string(key ^ FileKeyMask);
  text += "\r\n";
  for (std::uint32_t* field : StoredFields(r)) {
    AppendMaskedNumber(text, *field, key);
    text += ',';
  }
  return text;
}

void ReadStoredFields(SettingsRecord& r, const std::string& bytes, std::size_t* end) {
  MaskedReader reader{bytes};
  const std::uint32_t key = static_cast<std::uint32_t>(reader.ReadNumber()) ^ FileKeyMask;
  reader.Skip(2);
  for (std::uint32_t* field : StoredFields(r)) {
    *field = static_cast<std::uint32_t>(reader.ReadNumber()) ^ key;
    reader.Skip(1);
  }
  if (end) *end = reader.Position;
}
}  // namespace

std::string SettingsRecord::StoredRecord(std::uint32_t key) { return SettingsFileText(*this, key); }

int SettingsRecord::ReadStoredRecord(const std::string& bytes) {
  ReadStoredFields(*this, bytes, nullptr);
  return ValidateSettings();
}

void SettingsRecord::ApplyKeyPreset(int preset) {
  if (preset != 1 && preset != 2) return;
  for (int i = 0; i < KeyBindingCount; ++i) KeyBindings[i] = KeyPresets[preset - 1][i];
}

void SettingsRecord::ResetSection(int section, bool refreshPage) {
  switch (section) {
    case 1:
      Difficulty = 1;
      InitialWeapon = 0;
      CursorStyle = 1;
      CursorRed = 255;
      CursorGreen = 50;
      CursorBlue = 10;
      CursorAlpha = 200;
      break;
    case 2:
      ResolutionIndex = 2;
      Sharpness = 1;
      ColourDepth = 0;
      UseMipmaps = 1;
      MipmapLevel = 3;
      WindowMode = 0;
      break;
    case 3:
      MusicOn = 1;
      EffectsOn = 1;
      VoiceOn = 1;
      MusicVolume = 50;
      EffectsVolume = 80;
      VoiceVolume = 100;
      break;
    case 4:
      KeyPreset = 1;
      WheelWeaponChange = 1;
      InvertMouseY = 0;
      MouseSensitivity = 50;
      ApplyKeyPreset(1);
      break;
    case 5:
      ShowFps = 1;
      DebugMode = 0;
      SetDebugDefaults(*this);
      break;
    default:
      return;
  }
  if (refreshPage && RefreshSettingsPage) RefreshSettingsPage(section);
}

int SettingsRecord::ValidateSettings() {
  int errors = OutOfRange(Difficulty, 0, 2) + OutOfRange(InitialWeapon, 0, 2) +
               OutOfRange(CursorRed, ColourMin, ColourMax) +
               OutOfRange(CursorGreen, ColourMin, ColourMax) +
               OutOfRange(CursorBlue, ColourMin, ColourMax) +
               OutOfRange(CursorAlpha, ColourMin, ColourMax);
  // The style is not an error, but it picks a cursor picture: keep it within the pictures.
  if (CursorStyle < CursorStyleMin) CursorStyle = CursorStyleMin;
  if (CursorStyle > CursorStyleMax) CursorStyle = CursorStyleMax;
  if (errors) return 1;

  if (ResolutionIndex <= 7) {
    ScreenWidth = ResolutionSizes[ResolutionIndex][0];
    ScreenHeight = ResolutionSizes[ResolutionIndex][1];
  } else {
    ScreenWidth = 640;
    ScreenHeight = 480;
    ++errors;
  }
  if (Sharpness <= 2) {
    SideTextureRepeatU = TextureRepeats[Sharpness][0];
    SideTextureRepeatV = TextureRepeats[Sharpness][1];
    GroundTextureRepeat = TextureRepeats[Sharpness][2];
  } else {
    ++errors;
  }
  if (MipmapLevel <= 5) {
    MipLevelCount = MipLevelCounts[MipmapLevel];
  } else {
    ++errors;
  }
  errors += OutOfRange(ColourDepth, 0, 3) + OutOfRange(UseMipmaps, 0, 1) +
            OutOfRange(WindowMode, 0, 1);
  if (errors) return 2;

  errors = OutOfRange(MusicOn, 0, 1) + OutOfRange(EffectsOn, 0, 1) + OutOfRange(VoiceOn, 0, 1) +
           OutOfRange(MusicVolume, VolumeMin, VolumeMax) +
           OutOfRange(EffectsVolume, VolumeMin, VolumeMax) +
           OutOfRange(VoiceVolume, VolumeMin, VolumeMax);
  if (errors) return 3;

  errors = OutOfRange(KeyPreset, 0, 2) + OutOfRange(WheelWeaponChange, 0, 1) +
           OutOfRange(InvertMouseY, 0, 1) +
           OutOfRange(MouseSensitivity, MouseSensitivityMin, MouseSensitivityMax);
  for (std::uint32_t code : KeyBindings) errors += OutOfRange(code, 0, 255);
  if (errors) return 4;

  for (std::uint32_t flag : {ShowFps, Invincible, ShowSelf, ShowGun, ShowBullets, ShowAimCursor,
                             ShowTrees, ShowEnemies, ShowStatus, UseFog, Recoil, ShowPosition,
                             ShowEnemyInfo})
    errors += OutOfRange(flag, 0, 1);
  errors += OutOfRange(SoundDistance, SoundDistanceMin, SoundDistanceMax);
  if (DebugMode == 0) {
    SetDebugDefaults(*this);
  } else if (DebugMode != 1) {
    ++errors;
  }
  if (errors) return 5;
  return 0;
}

bool SettingsRecord::SaveSettings() {
  int index = 0;
  for (std::uint32_t* field : StoredFields(*this)) CommittedFields[index++] = *field;
  const bool saved = ReplaceFile(SettingsFileName, SettingsFileText(*this, DrawFileKey()) + "\r\n");
  SaveFailed = saved ? 0 : 1;
  return saved;
}

int SettingsRecord::LoadSettings() {
  // After a failed save the file is stale: what the player last saved is held in memory.
  if (SaveFailed) {
    int index = 0;
    for (std::uint32_t* field : StoredFields(*this)) *field = CommittedFields[index++];
  } else {
    std::string bytes;
    bool present = ReadWholeFile(SettingsFileName, bytes);
    if (!present) {
      for (int section = 1; section <= 5; ++section) ResetSection(section, false);
      if (SaveSettings()) present = ReadWholeFile(SettingsFileName, bytes);
    }
    if (present) {
      std::size_t end = 0;
      ReadStoredFields(*this, bytes, &end);
      // The record ends at the last comma; the next save writes the line end again.
      CutFile(SettingsFileName, end);
    }
  }

  const int section = ValidateSettings();
  int result = 0;
  if (section != 0) {
    ResetSection(section, false);
    SaveSettings();  // stored whatever the answer
    const int answer = MessageBox(MainWindow, RepairMessages[section - 1], "警告", MB_YESNO);
    result = answer == IDYES ? 1 : 2;
  }
  if (SaveFailed && !SaveFailureShown) {
    SaveFailureShown = 1;
    MessageBox(MainWindow, UnsavedMessage, "警告", MB_OK);
  }
  return result;
}

// Setting.dat: format, repair passes and messages, derived values, and failed writes.
#include <array>
#include <vector>

#include "persist/masked_file.h"
#include "persist/settings_record.h"
#include "persist_fixture.h"

namespace {
using Fields = std::array<std::uint32_t, 48>;

// Every default, in the order the file stores them.
constexpr Fields DefaultFields = {1,  0,  1,  255, 50, 10, 200, 2,  1,  0,  3,  1,  0,  1,  1,  1,
                                  50, 80, 100, 1,  1,  0,  50,  87, 83, 65, 68, 81, 69, 32, 17, 70,
                                  82, 1,  0,  0,  0,  1,  1,   1,  1,  1,  1,  1,  1,  0,  0,  800};
const char* const RepairTexts[5] = {
    "ゲーム設定の読み込みエラー！\n設定を改変された可能性があります。\nゲーム設定を初期化しました。\n続けますか？\n",
    "グラフィック設定の読み込みエラー！\n\n設定を改変された可能性があります。\n\nグラフィック設定を初期化しました。\n続けますか？\n",
    "オウディオ設定の読み込みエラー！\n設定を改変された可能性があります。\nオウディオ設定を初期化しました。\n続けますか？\n",
    "キー設定の読み込みエラー！\n設定を改変された可能性があります。\nキー設定を初期化しました。\n続けますか？\n",
    "その他の設定の読み込みエラー！\n設定を改変された可能性があります。\nその他を初期化しました。\n続けますか？\n",
};
// The first file position after each section.
constexpr int SectionEnd[5] = {7, 13, 19, 33, 48};

std::string Encode(const Fields& fields, std::uint32_t key) {
  std::string text = std::to_string(key ^ 79876519u) + "\r\n";
  for (std::uint32_t value : fields) text += std::to_string(value ^ key) + ",";
  return text + "\r\n";
}

Fields Decode(const std::string& file, std::uint32_t key) {
  Fields fields{};
  for (int i = 0; i < 48; ++i) fields[i] = std::stoul(file.substr(10 + 9 * i, 8)) ^ key;
  return fields;
}

int SectionOf(int position) {
  int section = 1;
  while (position >= SectionEnd[section - 1]) ++section;
  return section;
}

// What start-up does: load again while a repair was accepted.
int LoadLikeStartUp(SettingsRecord& record, int& passes) {
  int result = 1;
  for (passes = 0; result == 1 && passes < 20; ++passes) result = record.LoadSettings();
  return result;
}
}  // namespace

using SettingsFile = PersistTest;

TEST_F(SettingsFile, FirstRunCreatesDefaultsSilentlyAndLeavesTheLoadCut) {
  SettingsRecord record;
  EXPECT_EQ(record.LoadSettings(), 0);
  EXPECT_TRUE(CapturedMessageBoxes().empty());
  std::string file = ReadFile("Setting.dat");
  ASSERT_EQ(file.size(), 442u);
  EXPECT_EQ(file.substr(8, 2), "\r\n");
  EXPECT_EQ(Decode(file, HeaderKey(file)), DefaultFields);
  EXPECT_EQ(record.ScreenWidth, 640);
  EXPECT_EQ(record.ScreenHeight, 480);
  EXPECT_EQ(record.MipLevelCount, 4);
  EXPECT_EQ(record.GroundTextureRepeat, 15);

  ASSERT_TRUE(record.SaveSettings());
  file = ReadFile("Setting.dat");
  ASSERT_EQ(file.size(), 444u);
  EXPECT_EQ(file.substr(442), "\r\n");
  EXPECT_EQ(file.find_first_not_of("0123456789,\r\n"), std::string::npos);
}

TEST_F(SettingsFile, EverySaveUsesANewKeyButLoadsTheSameRecord) {
  SettingsRecord record;
  record.LoadSettings();
  record.Difficulty = 2;
  record.KeyBindings[KeyReload] = 255;
  record.SoundDistance = 1600;
  record.DebugMode = 1;
  ASSERT_TRUE(record.SaveSettings());
  const std::string first = ReadFile("Setting.dat");
  ASSERT_TRUE(record.SaveSettings());
  const std::string second = ReadFile("Setting.dat");
  EXPECT_NE(first, second);
  EXPECT_NE(HeaderKey(first), HeaderKey(second));
  EXPECT_EQ(Decode(first, HeaderKey(first)), Decode(second, HeaderKey(second)));

  SettingsRecord reloaded;
  EXPECT_EQ(reloaded.LoadSettings(), 0);
  EXPECT_EQ(reloaded.Difficulty, 2u);
  EXPECT_EQ(reloaded.KeyBindings[KeyReload], 255u);
  EXPECT_EQ(reloaded.SoundDistance, 1600u);
  EXPECT_TRUE(CapturedMessageBoxes().empty());
}

TEST_F(SettingsFile, ReadsAFileWrittenWithAnyKeyInTheSameForm) {
  Fields fields = DefaultFields;
  fields[0] = 2;   // Difficulty
  fields[7] = 6;   // ResolutionIndex
  fields[26] = 39;  // KeyRight
  WriteFile("Setting.dat", Encode(fields, 10987655));
  SettingsRecord record;
  EXPECT_EQ(record.LoadSettings(), 0);
  EXPECT_EQ(record.Difficulty, 2u);
  EXPECT_EQ(record.ScreenWidth, 1280);
  EXPECT_EQ(record.ScreenHeight, 1024);
  EXPECT_EQ(record.KeyBindings[KeyRight], 39u);
}

TEST_F(SettingsFile, OneChangedDigitResetsExactlyItsSection) {
  Fields edited = DefaultFields;
  edited[1] = 2;    // InitialWeapon
  edited[8] = 2;    // Sharpness
  edited[16] = 10;  // MusicVolume
  edited[22] = 200;  // MouseSensitivity
  edited[33] = 0;   // ShowFps
  for (int position : {3, 12, 18, 30, 47}) {
    const int section = SectionOf(position);
    SCOPED_TRACE(position);
    std::string file = Encode(edited, 10555555);
    file[10 + 9 * position] = '9';  // the leading '1' of an eight-digit field
    WriteFile("Setting.dat", file);
    BeginMessageBoxCapture();
    SettingsRecord record;
    EXPECT_EQ(record.LoadSettings(), 1);
    ASSERT_EQ(CapturedMessageBoxes().size(), 1u);
    const ShownMessageBox& box = CapturedMessageBoxes()[0];
    EXPECT_EQ(box.Caption, "警告");
    EXPECT_EQ(box.Type, MB_YESNO);
    EXPECT_EQ(box.Text, RepairTexts[section - 1]);

    // The section is back to its defaults, the others kept, and the repair is on disk.
    const std::string saved = ReadFile("Setting.dat");
    const Fields stored = Decode(saved, HeaderKey(saved));
    for (int i = 0; i < 48; ++i)
      EXPECT_EQ(stored[i], SectionOf(i) == section ? DefaultFields[i] : edited[i]) << i;
    BeginMessageBoxCapture();
    EXPECT_EQ(SettingsRecord().LoadSettings(), 0);
    EXPECT_TRUE(CapturedMessageBoxes().empty());
  }
}

TEST_F(SettingsFile, HeaderOfZerosRepairsInFivePassesOneSectionEach) {
  std::string file = Encode(DefaultFields, 10555555);
  file.replace(0, 8, "00000000");
  WriteFile("Setting.dat", file);
  SettingsRecord record;
  int passes = 0;
  EXPECT_EQ(LoadLikeStartUp(record, passes), 0);
  EXPECT_EQ(passes, 6);
  ASSERT_EQ(CapturedMessageBoxes().size(), 5u);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(CapturedMessageBoxes()[i].Text, RepairTexts[i]);
  EXPECT_FALSE(CapturedMessageBoxes()[0].Owned);
  const std::string saved = ReadFile("Setting.dat");
  EXPECT_EQ(Decode(saved, HeaderKey(saved)), DefaultFields);
}

TEST_F(SettingsFile, AnsweringNoStopsStartUpWithTheRepairAlreadyStored) {
  Fields fields = DefaultFields;
  fields[18] = 5;  // VoiceVolume below its range
  WriteFile("Setting.dat", Encode(fields, 10222225));
  QueueMessageBoxAnswer(IDNO);
  SettingsRecord record;
  int passes = 0;
  EXPECT_EQ(LoadLikeStartUp(record, passes), 2);
  EXPECT_EQ(passes, 1);
  ASSERT_EQ(CapturedMessageBoxes().size(), 1u);
  EXPECT_EQ(CapturedMessageBoxes()[0].Text, RepairTexts[2]);

  BeginMessageBoxCapture();
  SettingsRecord nextStart;
  EXPECT_EQ(nextStart.LoadSettings(), 0);
  EXPECT_TRUE(CapturedMessageBoxes().empty());
  EXPECT_EQ(nextStart.VoiceVolume, 100u);
}

TEST_F(SettingsFile, DebugModeOffForcesTheDebugSwitchesSilently) {
  Fields fields = DefaultFields;
  fields[35] = 1;     // Invincible
  fields[37] = 0;     // ShowGun
  fields[47] = 1600;  // SoundDistance
  WriteFile("Setting.dat", Encode(fields, 10999995));
  SettingsRecord record;
  EXPECT_EQ(record.LoadSettings(), 0);
  EXPECT_TRUE(CapturedMessageBoxes().empty());
  EXPECT_EQ(record.Invincible, 0u);
  EXPECT_EQ(record.ShowGun, 1u);
  EXPECT_EQ(record.SoundDistance, 800u);

  fields[34] = 1;  // DebugMode on keeps them
  WriteFile("Setting.dat", Encode(fields, 10999995));
  EXPECT_EQ(record.LoadSettings(), 0);
  EXPECT_EQ(record.Invincible, 1u);
  EXPECT_EQ(record.ShowGun, 0u);
  EXPECT_EQ(record.SoundDistance, 1600u);

  fields[34] = 2;
  WriteFile("Setting.dat", Encode(fields, 10999995));
  EXPECT_EQ(record.LoadSettings(), 1);
  EXPECT_EQ(record.DebugMode, 0u);
  EXPECT_EQ(record.Invincible, 0u);
}

TEST_F(SettingsFile, GraphicsSectionDerivesSizesAndFallsBackTo640x480) {
  Fields fields = DefaultFields;
  fields[7] = 7;   // ResolutionIndex
  fields[8] = 2;   // Sharpness
  fields[10] = 4;  // MipmapLevel
  WriteFile("Setting.dat", Encode(fields, 10111115));
  SettingsRecord record;
  EXPECT_EQ(record.LoadSettings(), 0);
  EXPECT_EQ(record.ScreenWidth, 1600);
  EXPECT_EQ(record.ScreenHeight, 1200);
  EXPECT_EQ(record.SideTextureRepeatU, 7);
  EXPECT_EQ(record.SideTextureRepeatV, 3);
  EXPECT_EQ(record.GroundTextureRepeat, 30);
  EXPECT_EQ(record.MipLevelCount, 8);

  fields[7] = 9;
  WriteFile("Setting.dat", Encode(fields, 10111115));
  EXPECT_EQ(record.LoadSettings(), 1);
  ASSERT_EQ(CapturedMessageBoxes().size(), 1u);
  EXPECT_EQ(CapturedMessageBoxes()[0].Text, RepairTexts[1]);
  EXPECT_EQ(record.ScreenWidth, 640);
  EXPECT_EQ(record.ScreenHeight, 480);
  EXPECT_EQ(record.ResolutionIndex, 2u);
  EXPECT_EQ(record.Sharpness, 1u);
  EXPECT_EQ(record.MipmapLevel, 3u);
}

TEST_F(SettingsFile, CursorStyleIsNeverAnErrorButStaysWithinItsPictures) {
  Fields fields = DefaultFields;
  for (auto [stored, loaded] : {std::pair{6u, 6u}, {9u, 6u}, {0u, 1u}}) {
    fields[2] = stored;
    WriteFile("Setting.dat", Encode(fields, 10444445));
    SettingsRecord record;
    EXPECT_EQ(record.LoadSettings(), 0);
    EXPECT_EQ(record.CursorStyle, loaded);
  }
  EXPECT_TRUE(CapturedMessageBoxes().empty());
}

TEST_F(SettingsFile, NumbersAreReadFromEightBytesAtMost) {
  const std::string bytes = "  -12ab,+7,,123456789";
  MaskedReader reader{bytes};
  EXPECT_EQ(reader.ReadNumber(), -12);
  EXPECT_EQ(reader.Position, 8u);
  EXPECT_EQ(reader.ReadNumber(), 7);      // "+7,,1234"
  EXPECT_EQ(reader.ReadNumber(), 56789);  // the last five bytes
  EXPECT_EQ(reader.Position, bytes.size());
  EXPECT_EQ(reader.ReadNumber(), 0);  // nothing left
}

TEST_F(SettingsFile, KeySectionDefaultsToPresetOneAndPresetsOverwriteAllKeys) {
  SettingsRecord record;
  int refreshed = 0;
  static int* counter = nullptr;
  counter = &refreshed;
  RefreshSettingsPage = [](int section) { *counter += section; };
  record.ResetSection(4, false);
  EXPECT_EQ(refreshed, 0);
  const std::vector<std::uint32_t> preset1(DefaultFields.begin() + 23, DefaultFields.begin() + 33);
  EXPECT_EQ(std::vector<std::uint32_t>(record.KeyBindings, record.KeyBindings + 10), preset1);
  EXPECT_EQ(record.KeyPreset, 1u);
  record.ApplyKeyPreset(2);
  EXPECT_EQ(std::vector<std::uint32_t>(record.KeyBindings, record.KeyBindings + 10),
            (std::vector<std::uint32_t>{38, 40, 37, 39, 46, 34, 17, 97, 16, 96}));
  record.KeyBindings[KeyJump] = 13;
  record.ApplyKeyPreset(0);
  EXPECT_EQ(record.KeyBindings[KeyJump], 13u);
  record.ResetSection(4, true);
  EXPECT_EQ(refreshed, 4);
  EXPECT_EQ(record.KeyBindings[KeyJump], 32u);
  RefreshSettingsPage = nullptr;
}

TEST_F(SettingsFile, AnUnwritableDamagedFileIsRepairedInMemoryAndSaidOnce) {
  std::string file = Encode(DefaultFields, 10555555);
  file.replace(0, 8, "00000000");
  WriteFile("Setting.dat", file);
  MakeReadOnly("Setting.dat");
  SettingsRecord record;
  int passes = 0;
  EXPECT_EQ(LoadLikeStartUp(record, passes), 0);
  EXPECT_EQ(passes, 6);
  const auto& boxes = CapturedMessageBoxes();
  ASSERT_EQ(boxes.size(), 6u);
  EXPECT_EQ(boxes[0].Text, RepairTexts[0]);
  EXPECT_EQ(boxes[1].Type, MB_OK);
  EXPECT_NE(boxes[1].Text.find("Setting.dat"), std::string::npos);
  EXPECT_EQ(boxes[5].Text, RepairTexts[4]);
  EXPECT_EQ(ReadFile("Setting.dat"), file);
  EXPECT_EQ(record.KeyBindings[KeyForward], 87u);
  EXPECT_EQ(record.ScreenWidth, 640);

  // Later loads (the settings window) keep what the player set and stay quiet.
  record.Difficulty = 2;
  EXPECT_FALSE(record.SaveSettings());
  EXPECT_EQ(record.LoadSettings(), 0);
  EXPECT_EQ(record.Difficulty, 2u);
  EXPECT_EQ(boxes.size(), 6u);
}

TEST_F(SettingsFile, WhileTheFileCannotBeWrittenALoadReturnsToWhatWasLastSaved) {
  SettingsRecord record;
  ASSERT_EQ(record.LoadSettings(), 0);
  MakeReadOnly("Setting.dat");
  const std::string file = ReadFile("Setting.dat");

  // A save that cannot be written still becomes what later loads return to.
  record.Difficulty = 2;
  record.KeyBindings[KeyJump] = 13;
  EXPECT_FALSE(record.SaveSettings());
  record.LoadSettings();
  EXPECT_EQ(record.Difficulty, 2u);
  EXPECT_EQ(record.KeyBindings[KeyJump], 13u);

  // Edits made after it (a cancelled settings window) are dropped by the next load.
  record.Difficulty = 0;
  record.KeyBindings[KeyJump] = 65;
  record.MusicVolume = 10;
  EXPECT_EQ(record.LoadSettings(), 0);
  EXPECT_EQ(record.Difficulty, 2u);
  EXPECT_EQ(record.KeyBindings[KeyJump], 13u);
  EXPECT_EQ(record.MusicVolume, 50u);
  EXPECT_EQ(ReadFile("Setting.dat"), file);
  EXPECT_EQ(CapturedMessageBoxes().size(), 1u);  // the unsaved warning, once
}

TEST_F(SettingsFile, AFailedWriteKeepsThePreviousFile) {
  SettingsRecord record;
  ASSERT_EQ(record.LoadSettings(), 0);
  const std::string before = ReadFile("Setting.dat");
  record.Difficulty = 0;
  WithFileSizeLimit(100, [&] { EXPECT_FALSE(record.SaveSettings()); });
  EXPECT_EQ(ReadFile("Setting.dat"), before);
  EXPECT_FALSE(std::filesystem::exists("Setting.dat.tmp"));

  // Once there is room again, the next save stores the record and loading reads the file.
  ASSERT_TRUE(record.SaveSettings());
  SettingsRecord reloaded;
  EXPECT_EQ(reloaded.LoadSettings(), 0);
  EXPECT_EQ(reloaded.Difficulty, 0u);
  EXPECT_TRUE(CapturedMessageBoxes().empty());
}

TEST_F(SettingsFile, NoRoomForANewFileStillStartsWithDefaults) {
  SettingsRecord record;
  WithFileSizeLimit(100, [&] { EXPECT_EQ(record.LoadSettings(), 0); });
  EXPECT_FALSE(std::filesystem::exists("Setting.dat"));
  ASSERT_EQ(CapturedMessageBoxes().size(), 1u);
  EXPECT_EQ(CapturedMessageBoxes()[0].Type, MB_OK);
  EXPECT_EQ(record.MouseSensitivity, 50u);
  EXPECT_EQ(record.ScreenWidth, 640);
}

TEST_F(SettingsFile, ShortFilesAreReadSafelyAndRepaired) {
  const std::string full = Encode(DefaultFields, 10666665);
  for (std::size_t length : {std::size_t{0}, std::size_t{5}, std::size_t{100}, std::size_t{439}}) {
    SCOPED_TRACE(length);
    WriteFile("Setting.dat", full.substr(0, length));
    BeginMessageBoxCapture();
    SettingsRecord record;
    int passes = 0;
    EXPECT_EQ(LoadLikeStartUp(record, passes), 0);
    EXPECT_GE(CapturedMessageBoxes().size(), 1u);
    EXPECT_LE(passes, 6);
    const std::string saved = ReadFile("Setting.dat");
    ASSERT_EQ(saved.size(), 442u);
    EXPECT_EQ(Decode(saved, HeaderKey(saved)), DefaultFields);
  }
}

// The settings window as a whole: saving what the pages show, cancelling, the display question.
#include <filesystem>

#include "dialogs/key_names.h"
#include "dialogs/settings_pages.h"
#include "dialogs/settings_templates.h"
#include "persist/settings_record.h"
#include "platform/message_box.h"
#include "settings_window_fixture.h"
#include "app/app_globals.h"
#include "world/game_world.h"

namespace {
enum class Kind { List, Check, Track, Scroll };
struct ControlCase {
  int Page;
  Kind Control;
  int Id;
  int Value;
  int FilePosition;
};

// One new value on every control of every page.
constexpr ControlCase EveryControl[] = {
    {PageGame, Kind::List, 1044, 2, 0},         {PageGame, Kind::List, 1045, 2, 1},
    {PageGame, Kind::Scroll, 1055, 4, 2},       {PageGame, Kind::Track, 1007, 12, 3},
    {PageGame, Kind::Track, 1008, 34, 4},       {PageGame, Kind::Track, 1009, 56, 5},
    {PageGame, Kind::Track, 1006, 78, 6},       {PageGraphics, Kind::List, 1023, 4, 7},
    {PageGraphics, Kind::List, 1026, 2, 8},     {PageGraphics, Kind::List, 1025, 3, 9},
    {PageGraphics, Kind::List, 1027, 5, 10},    {PageGraphics, Kind::Check, 1051, 0, 11},
    {PageGraphics, Kind::Check, 1050, 1, 12},   {PageSound, Kind::Check, 1007, 0, 13},
    {PageSound, Kind::Check, 1008, 0, 14},      {PageSound, Kind::Check, 1011, 1, 15},
    {PageSound, Kind::Track, 1005, 20, 16},     {PageSound, Kind::Track, 1009, 30, 17},
    {PageSound, Kind::Track, 1006, 40, 18},     {PageKeys, Kind::Check, 1034, 0, 20},
    {PageKeys, Kind::Check, 1035, 1, 21},       {PageKeys, Kind::Track, 1005, 120, 22},
    {PageOther, Kind::Check, 1046, 0, 33},      {PageOther, Kind::Check, 1051, 1, 34},
    {PageOther, Kind::Check, 1049, 1, 35},      {PageOther, Kind::Check, 1057, 0, 37},
    {PageOther, Kind::Check, 1054, 1, 38},      {PageOther, Kind::Check, 1056, 0, 39},
    {PageOther, Kind::Check, 1070, 1, 40},      {PageOther, Kind::Check, 1059, 0, 41},
    {PageOther, Kind::Check, 1058, 1, 42},      {PageOther, Kind::Check, 1068, 0, 43},
    {PageOther, Kind::Check, 1069, 1, 44},      {PageOther, Kind::Check, 1052, 1, 45},
    {PageOther, Kind::Check, 1053, 1, 46},      {PageOther, Kind::Track, 1060, 1200, 47},
};

void SetControl(const ControlCase& c) {
  const HWND page = SettingsWindow.Pages[c.Page];
  switch (c.Control) {
    case Kind::List: SetListSelection(page, c.Id, c.Value); break;
    case Kind::Check: CheckDlgButton(page, c.Id, c.Value != 0); break;
    case Kind::Track: SetTrackbarPosition(page, c.Id, c.Value); break;
    case Kind::Scroll: SetScrollPosition(page, c.Id, c.Value); break;
  }
}

int ShownValue(const ControlCase& c) {
  const HWND page = SettingsWindow.Pages[c.Page];
  switch (c.Control) {
    case Kind::List: return GetListSelection(page, c.Id);
    case Kind::Check: return IsDlgButtonChecked(page, c.Id) ? 1 : 0;
    case Kind::Track: return GetTrackbarPosition(page, c.Id);
    case Kind::Scroll: return GetScrollPosition(page, c.Id);
  }
  return -1;
}

constexpr int KeyNameIds[10] = {1036, 1037, 1038, 1039, 1048, 1049, 1040, 1041, 1053, 1055};

TEST_F(SettingsWindowTest, SavingWritesExactlyWhatThePagesShow) {
  StoredFields shown{};
  std::vector<std::string> names;
  RunWindow([&](HWND top, int frame) {
    if (frame != 2) return;
    for (int i = 0; i < SettingsPageCount; ++i) ASSERT_NE(SettingsWindow.Pages[i], nullptr) << i;
    for (const ControlCase& c : EveryControl) SetControl(c);
    const HWND keys = SettingsWindow.Pages[PageKeys];
    SetListSelection(keys, 1033, 2);
    Click(keys, 1033, CBN_SELCHANGE);
    shown = DefaultStoredFields;
    for (const ControlCase& c : EveryControl) shown[c.FilePosition] = static_cast<std::uint32_t>(ShownValue(c));
    shown[19] = static_cast<std::uint32_t>(GetListSelection(keys, 1033));
    for (int id : KeyNameIds) names.push_back(GetDlgItemText(keys, id));
    QueueMessageBoxAnswer(IDNO);
    Click(top, IdSave);
  });
  for (const ControlCase& c : EveryControl) EXPECT_EQ(shown[c.FilePosition], static_cast<std::uint32_t>(c.Value)) << c.Id;
  const StoredFields file = DecodeSettingsFile();
  for (int i = 0; i < 48; ++i) {
    if (i >= 23 && i < 33) continue;
    EXPECT_EQ(file[i], shown[i]) << "file position " << i;
  }
  // Preset 2's keys, stored and named on the page.
  const std::uint32_t preset2[10] = {38, 40, 37, 39, 46, 34, 17, 97, 16, 96};
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(file[23 + i], preset2[i]);
    EXPECT_EQ(names[i], KeyName(preset2[i]));
  }
  EXPECT_EQ(RecordFields(), file);  // the live record is what was stored
  ASSERT_EQ(CapturedMessageBoxes().size(), 1u);
  EXPECT_EQ(CapturedMessageBoxes()[0].Text, "画面サイズを今すぐ変更しますか？");
  EXPECT_EQ(Settings.ApplyDisplayChange, 0);
  EXPECT_EQ(Settings.SettingWindowOpen, 0);
  EXPECT_EQ(World.GameState, StateTitle);
  EXPECT_EQ(World.TransitionActive, 1);
}

struct LeaveCase {
  const char* Name;
  std::function<void(HWND top, int frame)> Step;
};

class LeavingWithoutSaving : public SettingsWindowTest,
                             public testing::WithParamInterface<LeaveCase> {};

// Edits on three pages, as a player would make them.
void EditSomething() {
  SetListSelection(SettingsWindow.Pages[PageGame], 1044, 0);
  const HWND sound = SettingsWindow.Pages[PageSound];
  SetTrackbarPosition(sound, 1005, 90);
  SendMessage(sound, WM_HSCROLL, CommandParam(TB_THUMBTRACK, 90), 1005);
  const HWND keys = SettingsWindow.Pages[PageKeys];
  SetListSelection(keys, 1033, 1);
  Click(keys, 1033, CBN_SELCHANGE);
}

TEST_P(LeavingWithoutSaving, LeavesTheRecordAndTheFileAsTheyWere) {
  // A saved state that differs from every default the window could bring back.
  StoredFields saved = DefaultStoredFields;
  saved[0] = 2;    // expert
  saved[16] = 30;  // music volume
  saved[19] = 0;   // custom keys
  saved[23] = 38;  // forward on the up arrow
  saved[34] = 1;   // debug mode
  saved[47] = 400;
  WriteSettingsFile(saved);
  ASSERT_EQ(Settings.LoadSettings(), 0);
  const std::string fileBefore = ReadFile("Setting.dat");
  const StoredFields recordBefore = RecordFields();
  Settings.ApplyDisplayChange = 1;
  RunWindow(GetParam().Step);
  EXPECT_EQ(ReadFile("Setting.dat"), fileBefore);
  EXPECT_EQ(RecordFields(), recordBefore);
  EXPECT_EQ(Settings.ApplyDisplayChange, 0);
  EXPECT_EQ(World.GameState, StateTitle);
}

void ExpectDefaultsShown() {
  EXPECT_EQ(GetListSelection(SettingsWindow.Pages[PageGame], 1044), 1);
  EXPECT_EQ(GetTrackbarPosition(SettingsWindow.Pages[PageSound], 1005), 50);
  EXPECT_EQ(GetDlgItemText(SettingsWindow.Pages[PageKeys], 1036), "W");
  EXPECT_FALSE(IsDlgButtonChecked(SettingsWindow.Pages[PageOther], 1051));
  EXPECT_EQ(Settings.Difficulty, 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, LeavingWithoutSaving,
    testing::Values(
        LeaveCase{"CancelButton",
                  [](HWND top, int frame) {
                    if (frame != 2) return;
                    EditSomething();
                    Click(top, IdCancel, BN_CLICKED);
                  }},
        LeaveCase{"AllDefaultsThenCancel",
                  [](HWND top, int frame) {
                    if (frame != 2) return;
                    QueueMessageBoxAnswer(IDYES);
                    Click(top, IdAllDefaults, BN_CLICKED);
                    ExpectDefaultsShown();
                    Click(top, IdCancel, BN_CLICKED);
                  }},
        LeaveCase{"PageDefaultsThenCloseBox",
                  [](HWND top, int frame) {
                    if (frame != 2) return;
                    for (int page = 0; page < SettingsPageCount; ++page) {
                      QueueMessageBoxAnswer(IDYES);
                      Click(SettingsWindow.Pages[page], IdPageDefaults, BN_CLICKED);
                    }
                    ExpectDefaultsShown();
                    SendMessage(top, WM_CLOSE, 0, 0);
                  }},
        LeaveCase{"EditsThenEscape",
                  [](HWND, int frame) {
                    if (frame == 2) {
                      EditSomething();
                      PostKey(27, true);
                    } else if (frame == 4) {
                      PostKey(27, false);
                    }
                  }}),
    [](const testing::TestParamInfo<LeaveCase>& info) { return std::string(info.param.Name); });

TEST_F(SettingsWindowTest, AllDefaultsAnsweredNoChangesNothing) {
  Settings.Difficulty = 2;
  ASSERT_TRUE(Settings.SaveSettings());
  RunWindow([](HWND top, int frame) {
    if (frame != 2) return;
    QueueMessageBoxAnswer(IDNO);
    Click(top, IdAllDefaults);
    EXPECT_EQ(GetListSelection(SettingsWindow.Pages[PageGame], 1044), 2);
    Click(top, IdCancel);
  });
  ASSERT_EQ(CapturedMessageBoxes().size(), 1u);
  EXPECT_EQ(CapturedMessageBoxes()[0].Text, "全ての設定をディフォルトに戻しますか？");
  EXPECT_EQ(CapturedMessageBoxes()[0].Type, MB_YESNO);
  EXPECT_TRUE(CapturedMessageBoxes()[0].Owned);
}

struct DisplayCase {
  int Resolution;
  int Answer;
  std::size_t Questions;
  int Apply;
};

class DisplayQuestion : public SettingsWindowTest, public testing::WithParamInterface<DisplayCase> {};

TEST_P(DisplayQuestion, AskedOnlyForANewSize) {
  const DisplayCase& c = GetParam();
  Settings.ApplyDisplayChange = 1;
  RunWindow([&](HWND top, int frame) {
    if (frame != 2) return;
    SetListSelection(SettingsWindow.Pages[PageGraphics], 1023, c.Resolution);
    QueueMessageBoxAnswer(c.Answer);
    Click(top, IdSave);
  });
  std::size_t questions = 0;
  for (const ShownMessageBox& box : CapturedMessageBoxes()) {
    if (box.Text != "画面サイズを今すぐ変更しますか？") continue;
    ++questions;
    EXPECT_EQ(box.Caption, "警告");
    EXPECT_EQ(box.Type, MB_YESNO);
  }
  EXPECT_EQ(questions, c.Questions);
  EXPECT_EQ(Settings.ApplyDisplayChange, c.Apply);
  EXPECT_EQ(Settings.ResolutionIndex, static_cast<std::uint32_t>(c.Resolution));
}

INSTANTIATE_TEST_SUITE_P(Sizes, DisplayQuestion,
                         testing::Values(DisplayCase{2, IDYES, 0, 0},  // the size in use
                                         DisplayCase{4, IDYES, 1, 1}, DisplayCase{4, IDNO, 1, 0}));

TEST_F(SettingsWindowTest, AStoredCursorStyleBeyondThePicturesIsShownAndStoredAsTheLast) {
  StoredFields fields = DefaultStoredFields;
  fields[2] = 9;
  WriteSettingsFile(fields);
  ASSERT_EQ(Settings.LoadSettings(), 0);
  int shownStyle = 0;
  RunWindow([&](HWND top, int frame) {
    if (frame != 2) return;
    shownStyle = GetScrollPosition(SettingsWindow.Pages[PageGame], 1055);
    // One step further right stays on the last picture.
    SendMessage(SettingsWindow.Pages[PageGame], WM_HSCROLL, CommandParam(SB_LINERIGHT, 0), 1055);
    Click(top, IdSave);
  });
  EXPECT_EQ(shownStyle, 6);
  EXPECT_EQ(DecodeSettingsFile()[2], 6u);
}

TEST_F(SettingsWindowTest, WithAnUnwritableFileCancelStillDropsTheEdits) {
  std::filesystem::permissions("Setting.dat", std::filesystem::perms::owner_read);
  const std::string file = ReadFile("Setting.dat");
  RunWindow([](HWND top, int frame) {
    if (frame != 2) return;
    SetListSelection(SettingsWindow.Pages[PageGame], 1044, 2);
    Click(top, IdSave);
  });
  EXPECT_EQ(Settings.Difficulty, 2u);  // kept for this run, though not stored
  bool told = false;
  for (const ShownMessageBox& box : CapturedMessageBoxes())
    told = told || box.Text.find("Setting.dat") != std::string::npos;
  EXPECT_TRUE(told);

  RunWindow([](HWND top, int frame) {
    if (frame != 2) return;
    EXPECT_EQ(GetListSelection(SettingsWindow.Pages[PageGame], 1044), 2);
    SetListSelection(SettingsWindow.Pages[PageGame], 1044, 0);
    Click(top, IdCancel);
  });
  EXPECT_EQ(Settings.Difficulty, 2u);
  EXPECT_EQ(ReadFile("Setting.dat"), file);
}
}  // namespace

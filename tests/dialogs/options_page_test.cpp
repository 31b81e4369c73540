// The options page "拡張設定": each control stored in korvid.ini, cancelling, defaults, help under the pointer.
#include <fstream>

#include "dialogs/help_zones.h"
#include "dialogs/settings_pages.h"
#include "dialogs/settings_templates.h"
#include "persist/port_options.h"
#include "persist/port_texts.h"
#include "platform/message_box.h"
#include "platform/translation.h"
#include "settings_window_fixture.h"

namespace {
class OptionsPageTest : public SettingsWindowTest {
 protected:
  void SetUp() override {
    SettingsWindowTest::SetUp();
    Options = PortOptions{};
  }
  void TearDown() override {
    Options = PortOptions{};
    ChooseLanguage(LanguageJapanese);  // a saved language choice applies at once
    SettingsWindowTest::TearDown();
  }
  static HWND Page() { return SettingsWindow.Pages[PageOptions]; }
  static void WriteFile(const char* name, const std::string& bytes) {
    std::ofstream(name, std::ios::binary | std::ios::trunc) << bytes;
  }
};

struct ControlCase {
  const char* Name;
  int Id;
  bool List;
  int Value;
  const char* Stored;  // the line korvid.ini holds afterwards
};

class OptionControlSaved : public OptionsPageTest, public testing::WithParamInterface<ControlCase> {};

TEST_P(OptionControlSaved, WritesItsKeyAndLeavesTheOthersAtTheirDefaults) {
  const ControlCase& c = GetParam();
  const std::string settingsBefore = ReadFile("Setting.dat");
  RunWindow([&](HWND top, int frame) {
    if (frame != 2) return;
    ASSERT_NE(Page(), nullptr);
    if (c.List) SetListSelection(Page(), c.Id, c.Value);
    else if (c.Id == IdPadLookSpeed || c.Id == IdPadDeadZone) SetTrackbarPosition(Page(), c.Id, c.Value);
    else CheckDlgButton(Page(), c.Id, c.Value != 0);
    Click(top, IdSave);
  });
  const std::string ini = ReadFile("korvid.ini");
  EXPECT_NE(ini.find(c.Stored), std::string::npos) << ini;
  // The one control changed: everything else is at its default.
  PortOptions expected;
  if (c.Id == IdPictureShape) expected.PictureShape = static_cast<std::uint32_t>(c.Value);
  if (c.Id == IdScreenshots) expected.Screenshots = static_cast<std::uint32_t>(c.Value);
  if (c.Id == IdLanguage) expected.Language = static_cast<std::uint32_t>(c.Value);
  const std::pair<int, std::uint32_t PortOptions::*> padFields[] = {
      {IdUsePad, &PortOptions::UsePad}, {IdPadInvertY, &PortOptions::PadInvertY},
      {IdPadRumble, &PortOptions::PadRumble}, {IdPadLookSpeed, &PortOptions::PadLookSpeed},
      {IdPadDeadZone, &PortOptions::PadDeadZone}};
  for (const auto& [id, field] : padFields) {
    if (c.Id == id) expected.*field = static_cast<std::uint32_t>(c.Value);
    EXPECT_EQ(Options.*field, expected.*field) << id;
  }
  EXPECT_EQ(Options.PictureShape, expected.PictureShape);
  EXPECT_EQ(Options.Screenshots, expected.Screenshots);
  EXPECT_EQ(Options.Language, expected.Language);
  // The original's file holds the original's fields only (its key changes with every save).
  EXPECT_EQ(ReadFile("Setting.dat").size(), settingsBefore.size());
  EXPECT_EQ(DecodeSettingsFile(), DefaultStoredFields);
}

INSTANTIATE_TEST_SUITE_P(
    Controls, OptionControlSaved,
    testing::Values(ControlCase{"Stretch", IdPictureShape, true, 1, "picture_shape = stretch"},
                    ControlCase{"Keep", IdPictureShape, true, 0, "picture_shape = keep"},
                    ControlCase{"ScreenshotsOff", IdScreenshots, false, 0, "[screenshots]\nenabled = false"},
                    ControlCase{"ScreenshotsOn", IdScreenshots, false, 1, "[screenshots]\nenabled = true"},
                    ControlCase{"PadOff", IdUsePad, false, 0, "[gamepad]\nenabled = false"},
                    ControlCase{"PadInvertY", IdPadInvertY, false, 1, "invert_y = true"},
                    ControlCase{"PadRumbleOff", IdPadRumble, false, 0, "rumble = false"},
                    ControlCase{"PadLookFast", IdPadLookSpeed, false, 20, "look_sensitivity = 20"},
                    ControlCase{"PadDeadZoneWide", IdPadDeadZone, false, 35, "dead_zone = 35"},

                    ControlCase{"Japanese", IdLanguage, true, 1, "[interface]\nlanguage = ja"},
                    ControlCase{"English", IdLanguage, true, 2, "[interface]\nlanguage = en"}),
    [](const testing::TestParamInfo<ControlCase>& info) { return std::string(info.param.Name); });

TEST_F(OptionsPageTest, ThePageIsTheSixthTabAndShowsWhatIsStored) {
  WriteFile("korvid.ini", "[display]\npicture_shape = stretch\n[screenshots]\nenabled = false\n");
  RunWindow([&](HWND top, int frame) {
    if (frame != 2) return;
    EXPECT_EQ(TabGetCount(top, IdTabControl), 6);
    EXPECT_EQ(std::string(SettingsTabTexts[PageOptions]), "拡張設定");
    ASSERT_NE(Page(), nullptr);
    EXPECT_EQ(GetListCount(Page(), IdPictureShape), 2);
    EXPECT_EQ(GetListString(Page(), IdPictureShape, 0), "縦横比を保つ");
    EXPECT_EQ(GetListString(Page(), IdPictureShape, 1), "画面全体に引き伸ばす");
    EXPECT_EQ(GetListSelection(Page(), IdPictureShape), 1);
    EXPECT_FALSE(IsDlgButtonChecked(Page(), IdScreenshots));
    Click(top, IdCancel);
  });
}

struct LeaveCase {
  const char* Name;
  bool AllDefaultsFirst;
  bool CloseBox;
};

class OptionsLeftUnsaved : public OptionsPageTest, public testing::WithParamInterface<LeaveCase> {};

TEST_P(OptionsLeftUnsaved, KeepTheFileAndTheOptionsAsTheyWere) {
  const LeaveCase& c = GetParam();
  const std::string stored = "[display]\npicture_shape = stretch\n[screenshots]\nenabled = false\n[gamepad]\nuse_pad = 1\n";
  WriteFile("korvid.ini", stored);
  Options.Load();
  RunWindow([&](HWND top, int frame) {
    if (frame != 2) return;
    if (c.AllDefaultsFirst) {
      QueueMessageBoxAnswer(IDYES);
      Click(top, IdAllDefaults);
      EXPECT_EQ(GetListSelection(Page(), IdPictureShape), 0);
      EXPECT_TRUE(IsDlgButtonChecked(Page(), IdScreenshots));
    } else {
      SetListSelection(Page(), IdPictureShape, 0);
      CheckDlgButton(Page(), IdScreenshots, true);
    }
    if (c.CloseBox) SendMessage(top, WM_CLOSE, 0, 0);
    else Click(top, IdCancel);
  });
  EXPECT_EQ(ReadFile("korvid.ini"), stored);
  EXPECT_EQ(Options.PictureShape, PictureStretch);
  EXPECT_EQ(Options.Screenshots, 0u);
}

INSTANTIATE_TEST_SUITE_P(Ways, OptionsLeftUnsaved,
                         testing::Values(LeaveCase{"EditsThenCancel", false, false},
                                         LeaveCase{"AllDefaultsThenCancel", true, false},
                                         LeaveCase{"EditsThenCloseBox", false, true}),
                         [](const testing::TestParamInfo<LeaveCase>& info) { return std::string(info.param.Name); });

struct DefaultsCase {
  const char* Name;
  bool AllDefaults;  // the window's button rather than the page's
  int Answer;
  std::uint32_t Shape, Screenshots;
};

class OptionsDefaults : public OptionsPageTest, public testing::WithParamInterface<DefaultsCase> {};

TEST_P(OptionsDefaults, RestoreOnYesAndAreStoredOnlyBySaving) {
  const DefaultsCase& c = GetParam();
  WriteFile("korvid.ini", "[display]\npicture_shape = stretch\n[screenshots]\nenabled = false\n[gamepad]\nuse_pad = 1\n");
  RunWindow([&](HWND top, int frame) {
    if (frame != 2) return;
    QueueMessageBoxAnswer(c.Answer);
    Click(c.AllDefaults ? top : Page(), c.AllDefaults ? IdAllDefaults : IdPageDefaults);
    EXPECT_EQ(GetListSelection(Page(), IdPictureShape), static_cast<int>(c.Shape));
    EXPECT_EQ(IsDlgButtonChecked(Page(), IdScreenshots), c.Screenshots != 0);
    QueueMessageBoxAnswer(IDNO);
    Click(top, IdSave);
  });
  ASSERT_FALSE(CapturedMessageBoxes().empty());
  EXPECT_EQ(CapturedMessageBoxes()[0].Text, c.AllDefaults ? "全ての設定をディフォルトに戻しますか？" : "設定をディフォルトにしますか？");
  Options = PortOptions{};
  Options.Load();
  EXPECT_EQ(Options.PictureShape, c.Shape);
  EXPECT_EQ(Options.Screenshots, c.Screenshots);
  // What this version does not know survives the save.
  EXPECT_NE(ReadFile("korvid.ini").find("[gamepad]\nuse_pad = 1"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Buttons, OptionsDefaults,
                         testing::Values(DefaultsCase{"PageYes", false, IDYES, PictureKeepShape, 1},
                                         DefaultsCase{"PageNo", false, IDNO, PictureStretch, 0},
                                         DefaultsCase{"AllYes", true, IDYES, PictureKeepShape, 1},
                                         DefaultsCase{"AllNo", true, IDNO, PictureStretch, 0}),
                         [](const testing::TestParamInfo<DefaultsCase>& info) { return std::string(info.param.Name); });

TEST_F(OptionsPageTest, HelpFollowsThePointerOverEachGroup) {
  struct Point {
    int X, Y;  // page dialog units
    const char* Text;
  };
  const Point points[] = {{100, 20, PictureShapeHelp}, {30, 70, ScreenshotHelp}, {100, 145, GraphicsHelpIdle},
                          {60, 52, ScreenshotHelp},   {60, 10, PictureShapeHelp}, {100, 110, PadHelp},
                          {60, 35, LanguageHelp}};
  std::vector<std::string> shown;
  RunWindow([&](HWND top, int frame) {
    if (frame != 2) return;
    ShowDialog(Page(), true);
    for (const Point& p : points) {
      DialogRect r{p.X, p.Y, p.X, p.Y};
      MapDialogRect(Page(), r);
      SendMessage(Page(), WM_MOUSEMOVE, 0, MakePointParam(r.Left, r.Top));
      shown.push_back(GetDlgItemText(Page(), IdOptionsHelp));
    }
    Click(top, IdCancel);
  });
  ASSERT_EQ(shown.size(), std::size(points));
  for (std::size_t i = 0; i < shown.size(); ++i) EXPECT_EQ(shown[i], points[i].Text) << i;
}
}  // namespace

namespace {
// The language saved on the page is the language of the next dialog: the window opened again
// after choosing English shows its tabs in English, and Japanese brings the original back.
TEST_F(OptionsPageTest, ASavedLanguageShowsInTheNextWindow) {
  std::vector<std::string> tabs;
  for (int language : {2, 1}) {
    RunWindow([&](HWND top, int frame) {
      if (frame != 2) return;
      SetListSelection(Page(), IdLanguage, language);
      Click(top, IdSave);
    });
    Options.Apply();  // as the game does once the window has closed
    RunWindow([&](HWND top, int frame) {
      if (frame != 2) return;
      EXPECT_EQ(GetListString(Page(), IdLanguage, 0), language == 2 ? "System / システムの設定に従う"
                                                                     : "システムの設定に従う / System");
      tabs.push_back(GetDlgItemText(top, IdSave));
      Click(top, IdCancel);
    });
  }
  EXPECT_EQ(tabs, (std::vector<std::string>{"Save", "設定の保存"}));
}
}  // namespace

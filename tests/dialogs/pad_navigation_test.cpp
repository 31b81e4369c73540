// The settings window worked with the test pad only: tabs, focus, sliders, boxes, saving and cancelling.
#include <functional>

#include "dialogs/settings_pages.h"
#include "dialogs/settings_templates.h"
#include "persist/port_options.h"
#include "persist/port_texts.h"
#include "persist/settings_record.h"
#include "platform/message_box.h"
#include "platform/input/pad.h"
#include "settings_window_fixture.h"

namespace {
struct PadStep {
  PadButton Button;
  std::function<bool(HWND top)> Done;  // checked after the press; a step repeats until it holds
};

class PadNavigationTest : public SettingsWindowTest {
 protected:
  void SetUp() override {
    SettingsWindowTest::SetUp();
    Options = PortOptions{};
    ASSERT_TRUE(OpenPads(""));
    ASSERT_TRUE(AttachTestPad());
  }
  void TearDown() override {
    ClosePads();
    Options = PortOptions{};
    SettingsWindowTest::TearDown();
  }
  static HWND Page(int index) { return SettingsWindow.Pages[index]; }

  // Each step presses its button on one frame and lets go on the next, until its check
  // holds (at most 40 presses). Returns the steps done; a last step that closes the window
  // counts when the window closed on its press.
  std::size_t Drive(const std::vector<PadStep>& steps) {
    std::size_t at = 0;
    int presses = 0;
    bool down = false;
    RunWindow([&](HWND top, int frame) {
      if (frame < 3 || at >= steps.size()) return;
      const PadStep& s = steps[at];
      if (down) {
        SetTestPadButton(s.Button, false);
        down = false;
        if (s.Done(top)) {
          ++at;
          presses = 0;
        } else if (++presses > 40) {
          at = steps.size() + 1;  // stuck: give up, the window is closed by the fixture
        }
        return;
      }
      SetTestPadButton(s.Button, true);
      down = true;
    });
    return down && at + 1 == steps.size() ? steps.size() : at;
  }
};

TEST_F(PadNavigationTest, ShouldersTurnEveryPageAndTheDpadWorksTheOptionsPage) {
  std::vector<PadStep> steps;
  // Through all six pages and back to the first with the shoulders.
  for (int page = 1; page < SettingsPageCount; ++page)
    steps.push_back({PadRightShoulder, [page](HWND top) {
                       return TabGetSelection(top, IdTabControl) == page && IsDialogShown(Page(page));
                     }});
  steps.push_back({PadRightShoulder, [](HWND top) { return TabGetSelection(top, IdTabControl) == 0; }});
  steps.push_back({PadLeftShoulder, [](HWND top) { return TabGetSelection(top, IdTabControl) == PageOptions; }});
  // Down walks the focus to the look speed; right moves its slider one step.
  steps.push_back({PadDown, [](HWND top) { return GetDlgFocusId(top) == IdPadLookSpeed; }});
  steps.push_back({PadRight, [](HWND) { return GetTrackbarPosition(Page(PageOptions), IdPadLookSpeed) == 11; }});
  // Up walks back to the rumble box; A unticks it.
  steps.push_back({PadUp, [](HWND top) { return GetDlgFocusId(top) == IdPadRumble; }});
  steps.push_back({PadA, [](HWND) { return !IsDlgButtonChecked(Page(PageOptions), IdPadRumble); }});
  // On to the save button, which A presses: the window closes.
  steps.push_back({PadDown, [](HWND top) { return GetDlgFocusId(top) == IdSave; }});
  steps.push_back({PadA, [](HWND) { return true; }});
  EXPECT_EQ(Drive(steps), steps.size());
  EXPECT_EQ(Options.PadLookSpeed, 11u);
  EXPECT_EQ(Options.PadRumble, 0u);
  const std::string ini = ReadFile("korvid.ini");
  EXPECT_NE(ini.find("look_sensitivity = 11"), std::string::npos) << ini;
  EXPECT_NE(ini.find("rumble = false"), std::string::npos) << ini;
}

TEST_F(PadNavigationTest, ListsChangeWithLeftAndRightAndBCancels) {
  std::vector<PadStep> steps;
  steps.push_back({PadLeftShoulder, [](HWND top) { return TabGetSelection(top, IdTabControl) == PageOptions; }});
  steps.push_back({PadDown, [](HWND top) { return GetDlgFocusId(top) == IdPictureShape; }});
  steps.push_back({PadRight, [](HWND) { return GetListSelection(Page(PageOptions), IdPictureShape) == 1; }});
  steps.push_back({PadB, [](HWND) { return true; }});
  EXPECT_EQ(Drive(steps), steps.size());
  // Cancelled: nothing was kept.
  EXPECT_EQ(Options.PictureShape, PictureKeepShape);
  EXPECT_EQ(ReadFile("korvid.ini").find("stretch"), std::string::npos);
}
TEST_F(PadNavigationTest, KeyCaptureSaysItWaitsForTheKeyboardAndBCancelsIt) {
  int phase = 0;
  std::string note;
  RunWindow([&](HWND top, int) {
    const bool settingsOnTop = top == SettingsWindow.Window;
    if (phase == 0 && settingsOnTop) {
      PostClick(SettingsWindow.Pages[PageKeys], 1042);  // the forward key's "変更"
      phase = 1;
    } else if (phase == 1 && !settingsOnTop) {
      note = GetDlgItemText(top, IdKeySetNote);
      SetTestPadButton(PadB, true);
      phase = 2;
    } else if (phase == 2) {
      SetTestPadButton(PadB, false);
      if (settingsOnTop) {
        EXPECT_EQ(Settings.KeyBindings[KeyForward], 87u);  // still W
        Click(top, IdCancel);
        phase = 3;
      }
    }
  });
  EXPECT_EQ(phase, 3);
  EXPECT_EQ(note, KeySetPadNote);
  EXPECT_TRUE(CapturedMessageBoxes().empty());
}
}  // namespace

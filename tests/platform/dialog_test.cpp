// Modal dialogs: message flow and result, controls by identifier, keyboard, typing, hook, pages.
#include <SDL.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/dialog_script.h"

namespace {
constexpr int IdEdit = 10, IdCheck = 11, IdCombo = 12, IdTrack = 13, IdScroll = 14, IdButton = 15,
              IdDefault = 16, IdTab = 17, IdPageCheck = 30, IdPageButton = 31;

constexpr DialogControl Controls[] = {
    {ControlKind::Static, -1, "名前：", 5, 5, 40, 10, 0},
    {ControlKind::Edit, IdEdit, "", 50, 5, 80, 12, WS_BORDER | WS_TABSTOP},
    {ControlKind::CheckBox, IdCheck, "効果音", 5, 20, 80, 10, WS_TABSTOP},
    {ControlKind::ComboBox, IdCombo, "", 5, 34, 80, 60, WS_TABSTOP},
    {ControlKind::Trackbar, IdTrack, "", 5, 50, 100, 15, WS_TABSTOP},
    {ControlKind::ScrollBar, IdScroll, "", 110, 50, 60, 10, WS_TABSTOP},
    {ControlKind::PushButton, IdButton, "変更", 5, 70, 50, 14, WS_TABSTOP},
    {ControlKind::PushButton, IdDefault, "決定", 60, 70, 50, 14, WS_TABSTOP | BS_DEFPUSHBUTTON},
    {ControlKind::TabControl, IdTab, "", 5, 90, 190, 60, WS_TABSTOP},
};
const DialogTemplate Dialog{"Test", "IPAPGothic", 9, 0, 0, 200, 160, WS_CAPTION | WS_SYSMENU | DS_CENTER, Controls};

constexpr DialogControl PageControls[] = {
    {ControlKind::CheckBox, IdPageCheck, "ページ", 5, 5, 60, 10, WS_TABSTOP},
    {ControlKind::PushButton, IdPageButton, "押す", 5, 20, 40, 14, WS_TABSTOP},
};
const DialogTemplate Page{"", "IPAPGothic", 9, 0, 0, 180, 40, WS_CHILD, PageControls};

struct Seen {
  std::uint32_t Message;
  WPARAM WParam;
  LPARAM LParam;
  HWND Dialog;
};
std::vector<Seen> Log;
std::vector<HWND> Pages;
LPARAM InitParam = 0;

INT_PTR PageRecord(HWND dialog, std::uint32_t message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_COMMAND && message != WM_DESTROY && message != WM_MOUSEMOVE) return message == WM_INITDIALOG;
  Log.push_back({message, wParam, lParam, dialog});
  return 1;
}

// Commands, scrolls and notifications, in order; tab changes show the page of the tab.
INT_PTR Record(HWND dialog, std::uint32_t message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      InitParam = lParam;
      AddListString(dialog, IdCombo, "初心者");
      AddListString(dialog, IdCombo, "通常者");
      AddListString(dialog, IdCombo, "玄人者");
      SetListSelection(dialog, IdCombo, 0);
      SetTrackbarRange(dialog, IdTrack, 0, 10);
      SetScrollRange(dialog, IdScroll, 1, 6);
      TabInsertItem(dialog, IdTab, 0, "一");
      TabInsertItem(dialog, IdTab, 1, "二");
      Pages.clear();
      for (int i = 0; i < 2; ++i) {
        HWND page = CreateDialogParam(dialog, Page, PageRecord, i);
        DialogRect area;
        GetTabDisplayRect(dialog, IdTab, area);
        SetDialogPosition(page, area.Left, area.Top);
        Pages.push_back(page);
      }
      ShowDialog(Pages[0], true);
      Log.push_back({message, wParam, lParam, dialog});
      return 1;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NotifyHeader*>(lParam);
      Log.push_back({message, static_cast<WPARAM>(header->IdFrom), header->Code, dialog});
      const int shown = TabGetSelection(dialog, IdTab);
      for (std::size_t i = 0; i < Pages.size(); ++i) ShowDialog(Pages[i], static_cast<int>(i) == shown);
      return 1;
    }
    case WM_HSCROLL:
      // The scroll bar is moved by its dialog, as the desktop's are.
      if (lParam == IdScroll && LowWord(wParam) == SB_LINERIGHT)
        SetScrollPosition(dialog, IdScroll, GetScrollPosition(dialog, IdScroll) + 1);
      [[fallthrough]];
    case WM_COMMAND: case WM_CLOSE: case WM_DESTROY: case WM_MOUSEMOVE: case WM_SETFOCUS:
      Log.push_back({message, wParam, lParam, dialog});
      return 1;
    default:
      return 0;
  }
}

std::vector<int> Commands(HWND dialog) {
  std::vector<int> ids;
  for (const Seen& s : Log)
    if (s.Message == WM_COMMAND && s.Dialog == dialog) ids.push_back(LowWord(s.WParam));
  return ids;
}

class DialogTest : public DialogFixture {
 protected:
  void SetUp() override {
    DialogFixture::SetUp();
    Log.clear();
  }
};

TEST_F(DialogTest, ModalLoopFeedsTheMainWindowKeepsItsInputAndReturnsTheResult) {
  DialogScript script(Main);
  HWND opened = nullptr;
  script
      .Then([&](HWND d) {
        opened = d;
        PostMessage(Main, WM_PAINT, 0, 0);
        script.Key(0x1B);  // Escape: the dialog's cancel, not the game's quit
      })
      .Then([&](HWND d) { EndDialog(d, 42); });
  EXPECT_EQ(DialogBoxParam(Main, Dialog, Record, 7), 42);
  EXPECT_EQ(InitParam, 7);
  bool painted = false, keyReachedMain = false;
  for (const Message& m : MainSeen) {
    painted |= m.Id == WM_PAINT;
    keyReachedMain |= m.Id == WM_KEYDOWN || m.Id == WM_KEYUP;
  }
  EXPECT_TRUE(painted);
  EXPECT_FALSE(keyReachedMain);
  EXPECT_EQ(Commands(opened), std::vector<int>{IDCANCEL});
  ASSERT_FALSE(Log.empty());
  EXPECT_EQ(Log.front().Message, WM_INITDIALOG);
  // The dialog is destroyed before its pages, and nothing reaches them afterwards.
  std::vector<HWND> destroyed;
  for (const Seen& s : Log)
    if (s.Message == WM_DESTROY) destroyed.push_back(s.Dialog);
  EXPECT_EQ(destroyed, (std::vector<HWND>{opened, Pages[0], Pages[1]}));
  EXPECT_FALSE(SetDlgItemText(opened, IdEdit, "x"));
}

INT_PTR EndOnCommand(HWND dialog, std::uint32_t message, WPARAM wParam, LPARAM) {
  if (message == WM_COMMAND) EndDialog(dialog, LowWord(wParam));
  return message == WM_INITDIALOG || message == WM_COMMAND;
}

TEST_F(DialogTest, KeyThatClosedTheDialogNeverActsBehindItRepeatsIncluded) {
  constexpr DialogControl OneButton[] = {
      {ControlKind::PushButton, IdDefault, "決定", 5, 5, 50, 14, WS_TABSTOP | BS_DEFPUSHBUTTON}};
  const DialogTemplate small{"Keys", "IPAPGothic", 9, 0, 0, 80, 40, WS_CAPTION | DS_CENTER, OneButton};
  const struct {
    std::uint32_t Key;
    int Result;
  } cases[] = {{0x1B, IDCANCEL}, {0x0D, IdDefault}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Key);
    MainSeen.clear();
    {
      DialogScript script(Main);
      script.Then([&](HWND) { script.KeyDown(c.Key); });
      EXPECT_EQ(DialogBoxParam(Main, small, EndOnCommand, 0), c.Result);
    }
    // Still held after the dialog: repeats, one X11 gives unmarked, the release, then a new
    // press of its own.
    DialogScript keys(Main);
    keys.KeyDown(c.Key, true);
    keys.KeyDown(c.Key);
    keys.KeyDown(c.Key, true);
    keys.KeyUp(c.Key);
    keys.KeyDown(c.Key);
    Message m;
    while (PeekMessage(m)) DispatchMessage(m);
    std::vector<std::pair<std::uint32_t, bool>> keysSeen;
    for (const Message& seen : MainSeen)
      if (seen.Id == WM_KEYDOWN || seen.Id == WM_KEYUP)
        keysSeen.push_back({seen.Id, (static_cast<std::uint32_t>(seen.LParam) & (1u << 30)) != 0});
    EXPECT_EQ(keysSeen, (std::vector<std::pair<std::uint32_t, bool>>{{WM_KEYDOWN, false}}));
  }
}

TEST_F(DialogTest, QuitInsideTheLoopEndsTheDialogAndReachesTheMainLoop) {
  DialogScript script(Main);
  script.Then([](HWND) { PostQuitMessage(5); });
  EXPECT_EQ(DialogBoxParam(Main, Dialog, Record, 0), 0);
  Message m;
  bool quit = false;
  while (PeekMessage(m))
    if (m.Id == WM_QUIT) quit = m.WParam == 5;
  EXPECT_TRUE(quit);
}

TEST_F(DialogTest, EndedDuringInitialisationNeverRuns) {
  DialogScript script(Main);
  const DialogProc endAtOnce = [](HWND d, std::uint32_t m, WPARAM, LPARAM) -> INT_PTR {
    if (m == WM_INITDIALOG) EndDialog(d, 3);
    return m == WM_INITDIALOG;
  };
  const std::uint32_t frames = DialogFrameCount();
  EXPECT_EQ(DialogBoxParam(Main, Dialog, endAtOnce, 0), 3);
  EXPECT_EQ(DialogFrameCount(), frames);
  EXPECT_EQ(script.StepsRun(), 0u);
}

TEST_F(DialogTest, ControlsKeepValuesInsideTheirRanges) {
  DialogScript script(Main);
  script.Then([](HWND d) {
    EXPECT_TRUE(SetTrackbarPosition(d, IdTrack, 99));
    EXPECT_EQ(GetTrackbarPosition(d, IdTrack), 10);
    SetTrackbarRange(d, IdTrack, 3, 8);  // a narrower range pulls the position in
    EXPECT_EQ(GetTrackbarPosition(d, IdTrack), 8);
    EXPECT_EQ(SetScrollPosition(d, IdScroll, 9), 1);  // answers the previous position
    EXPECT_EQ(GetScrollPosition(d, IdScroll), 6);
    EXPECT_EQ(SetScrollPosition(d, IdScroll, -4), 6);
    EXPECT_EQ(GetScrollPosition(d, IdScroll), 1);
    EXPECT_FALSE(SetListSelection(d, IdCombo, 3));  // outside the list: cleared
    EXPECT_EQ(GetListSelection(d, IdCombo), -1);
    EXPECT_EQ(GetListString(d, IdCombo, 2), "玄人者");
    EXPECT_TRUE(SetDlgItemText(d, IdEdit, "%s%n,x"));
    EXPECT_EQ(GetDlgItemText(d, IdEdit), "%s%n,x");
    EXPECT_TRUE(CheckDlgButton(d, IdCheck, true));
    EXPECT_TRUE(IsDlgButtonChecked(d, IdCheck));
    EXPECT_TRUE(EnableDlgItem(d, IdButton, false));
    EXPECT_FALSE(IsDlgItemEnabled(d, IdButton));
    EXPECT_TRUE(ShowDlgItem(d, IdButton, false));
    EXPECT_FALSE(IsDlgItemShown(d, IdButton));
    // Unknown identifiers and wrong kinds change nothing.
    EXPECT_FALSE(SetDlgItemText(d, 999, "x"));
    EXPECT_EQ(GetTrackbarPosition(d, IdCombo), -1);
    EXPECT_EQ(AddListString(d, IdTrack, "x"), -1);
    EXPECT_EQ(TabGetCount(d, IdTab), 2);
    EXPECT_FALSE(TabSetSelection(d, IdTab, 2));
    EndDialog(d, 1);
  });
  EXPECT_EQ(DialogBoxParam(Main, Dialog, Record, 0), 1);
}

TEST_F(DialogTest, KeyboardWorksTheControlsAsOnTheDesktop) {
  DialogScript script(Main);
  HWND dialog = nullptr;
  script
      .Then([&](HWND d) {
        dialog = d;
        EXPECT_EQ(GetDlgFocusId(d), IdEdit);  // the first tab stop after initialisation
        script.Key(9);
        script.Key(32);  // toggles the check box
      })
      .Then([&](HWND d) {
        EXPECT_TRUE(IsDlgButtonChecked(d, IdCheck));
        script.Key(9);
        script.Key(40);  // next list entry
        script.Key(9);
        script.Key(39);
        script.Key(39);
      })
      .Then([&](HWND d) {
        EXPECT_EQ(GetListSelection(d, IdCombo), 1);
        EXPECT_EQ(GetTrackbarPosition(d, IdTrack), 2);
        script.Key(35);  // End
        script.Key(9);
        script.Key(39);  // the scroll bar reports; its dialog moves it
      })
      .Then([&](HWND d) {
        EXPECT_EQ(GetTrackbarPosition(d, IdTrack), 10);
        EXPECT_EQ(GetScrollPosition(d, IdScroll), 2);
        script.KeyDown(0x10);
        script.Key(9);
        script.KeyUp(0x10);
        script.Key(13);  // Enter on a list: the default button
      })
      .Then([&](HWND d) {
        EXPECT_EQ(GetDlgFocusId(d), IdTrack);
        script.Key(9);
        script.Key(9);
        script.Key(13);  // Enter on a push button presses that button
      })
      .Then([&](HWND d) { EndDialog(d, 1); });
  DialogBoxParam(Main, Dialog, Record, 0);
  EXPECT_EQ(Commands(dialog), (std::vector<int>{IdCheck, IdCombo, IdDefault, IdButton}));
  std::vector<std::pair<int, int>> scrolls;  // (code, position) of the trackbar
  for (const Seen& s : Log)
    if (s.Message == WM_HSCROLL && s.LParam == IdTrack) scrolls.push_back({LowWord(s.WParam), HighWord(s.WParam)});
  const std::vector<std::pair<int, int>> expected{{TB_LINEDOWN, 1}, {TB_ENDTRACK, 1}, {TB_LINEDOWN, 2},
                                                  {TB_ENDTRACK, 2}, {TB_BOTTOM, 10}, {TB_ENDTRACK, 10}};
  EXPECT_EQ(scrolls, expected);
}

TEST_F(DialogTest, TypedTextBackspaceAndJapaneseReachTheField) {
  DialogScript script(Main);
  script
      .Then([&](HWND) {
        script.Type(U"ab");
        script.Key(8);  // pressed and released before the next frame: must not be lost
        script.Type(U"c名前");
      })
      .Then([&](HWND d) {
        EXPECT_EQ(GetDlgItemText(d, IdEdit), "ac名前");
        SetDlgItemText(d, IdEdit, "No Name");
      })
      .Then([&](HWND) { script.Type(U"x"); })
      .Then([&](HWND d) {
        // A text the program puts into the focused field is selected, as when tabbing into
        // it: typing replaces it.
        EXPECT_EQ(GetDlgItemText(d, IdEdit), "x");
        EndDialog(d, 1);
      });
  DialogBoxParam(Main, Dialog, Record, 0);
  int changes = 0;
  for (const Seen& s : Log)
    if (s.Message == WM_COMMAND && LowWord(s.WParam) == IdEdit && HighWord(s.WParam) == EN_CHANGE) ++changes;
  EXPECT_GE(changes, 3);
}

TEST_F(DialogTest, EnterBelongsToTheInputMethodWhileItComposes) {
  DialogScript script(Main);
  HWND dialog = nullptr;
  script
      .Then([&](HWND d) {
        dialog = d;
        script.Composing(true);
        script.Key(13);
      })
      .Then([&](HWND) {
        // The composition is committed and its Enter arrives in the same batch.
        script.Composing(false);
        script.Type(U"名");
        script.Key(13);
      })
      .Then([&](HWND) { script.Key(13); })
      .Then([&](HWND d) { EndDialog(d, 1); });
  DialogBoxParam(Main, Dialog, Record, 0);
  EXPECT_EQ(Commands(dialog), (std::vector<int>{IdEdit, IdDefault}));
}

TEST_F(DialogTest, ControlTabSwitchesPagesWhoseControlsJoinTheTabOrder) {
  DialogScript script(Main);
  HWND dialog = nullptr;
  script
      .Then([&](HWND d) {
        dialog = d;
        SetDlgItemFocus(d, IdTab);
        script.Key(9);  // from the tab control into the shown page
      })
      .Then([&](HWND d) {
        EXPECT_EQ(GetDlgFocusId(Pages[0]), IdPageCheck);
        EXPECT_EQ(GetDlgFocusId(d), IdPageCheck);
        script.Key(32);
        script.KeyDown(0x11);
        script.Key(9);
        script.KeyUp(0x11);
      })
      .Then([&](HWND d) {
        EXPECT_TRUE(IsDlgButtonChecked(Pages[0], IdPageCheck));
        EXPECT_EQ(TabGetSelection(d, IdTab), 1);
        EXPECT_FALSE(IsDialogShown(Pages[0]));
        // The focused control went away with its page: the tab control has the focus.
        EXPECT_EQ(GetDlgFocusId(d), IdTab);
        script.KeyDown(0x11);
        script.KeyDown(0x10);
        script.Key(9);  // Ctrl+Shift+Tab: back
        script.KeyUp(0x10);
        script.KeyUp(0x11);
      })
      .Then([&](HWND d) {
        EXPECT_EQ(TabGetSelection(d, IdTab), 0);
        EndDialog(d, 1);
      });
  DialogBoxParam(Main, Dialog, Record, 0);
  std::vector<std::pair<HWND, int>> notes;
  for (const Seen& s : Log)
    if (s.Message == WM_NOTIFY) notes.push_back({s.Dialog, static_cast<int>(s.WParam)});
  EXPECT_EQ(notes.size(), 2u);
  for (const auto& n : notes) EXPECT_EQ(n, std::make_pair(dialog, IdTab));
  ASSERT_EQ(Commands(Pages[0]).size(), 1u);  // the page's own check box told the page
}

HHOOK Hook = nullptr;
std::vector<std::pair<WPARAM, LPARAM>> Hooked;
LRESULT SwallowEnter(int code, WPARAM key, LPARAM flags) {
  Hooked.push_back({key, flags});
  if (key == 13) return 1;
  return CallNextKeyboardHook(Hook, code, key, flags);
}

TEST_F(DialogTest, KeyboardHookSeesKeysFirstWithRepeatAndReleaseFlags) {
  Hooked.clear();
  DialogScript script(Main);
  HWND dialog = nullptr;
  script
      .Then([&](HWND d) {
        dialog = d;
        Hook = SetKeyboardHook(SwallowEnter);
        ASSERT_NE(Hook, nullptr);
        script.KeyDown('A', true);  // held from before: a repeat
        script.Key(13);
      })
      .Then([&](HWND) {
        EXPECT_TRUE(UnhookKeyboardHook(Hook));
        EXPECT_FALSE(UnhookKeyboardHook(Hook));
        script.KeyUp('A');
        script.Key(13);
      })
      .Then([&](HWND d) { EndDialog(d, 1); });
  DialogBoxParam(Main, Dialog, Record, 0);
  ASSERT_EQ(Hooked.size(), 3u);
  EXPECT_EQ(Hooked[0].first, static_cast<WPARAM>('A'));
  EXPECT_NE(Hooked[0].second & (1 << 30), 0);
  EXPECT_EQ(Hooked[1].second & (1 << 30), 0);  // a fresh press
  EXPECT_NE(Hooked[2].second & (1u << 31), 0u);  // the release
  // The swallowed Enter never reached the dialog; the one after the unhook did.
  EXPECT_EQ(Commands(dialog), std::vector<int>{IdDefault});
}

DialogRect CheckInClient;

TEST_F(DialogTest, MouseClicksPressButtonsAndMovesReachTheDialogInClientPixels) {
  DialogScript script(Main);
  HWND dialog = nullptr;
  script
      .Then([&](HWND d) {
        dialog = d;
        script.Click(d, IdButton);
        script.Click(Pages[0], IdPageCheck);
        script.Click(d, IdTrack);  // the thumb jumps to the middle of 0..10
      })
      .Then([&](HWND d) {
        EXPECT_TRUE(IsDlgButtonChecked(Pages[0], IdPageCheck));
        EXPECT_EQ(GetDlgFocusId(d), IdTrack);
        EXPECT_EQ(GetTrackbarPosition(d, IdTrack), 5);
        DialogRect r;
        GetDlgItemWindowRect(d, IdCheck, r);
        CheckInClient = {5, 20, 85, 30};
        MapDialogRect(d, CheckInClient);
        PostMessage(Main, WM_MOUSEMOVE, 0, MakePointParam(r.Left + 1, r.Top + 2));
      })
      .Then([&](HWND d) { EndDialog(d, 1); });
  DialogBoxParam(Main, Dialog, Record, 0);
  EXPECT_EQ(Commands(dialog), std::vector<int>{IdButton});
  std::vector<int> codes;
  for (const Seen& s : Log)
    if (s.Message == WM_HSCROLL && s.LParam == IdTrack) codes.push_back(LowWord(s.WParam));
  EXPECT_EQ(codes, (std::vector<int>{TB_THUMBTRACK, TB_ENDTRACK}));
  // The last move over the dialog itself carries the point in its client pixels.
  const Seen* move = nullptr;
  for (const Seen& s : Log)
    if (s.Message == WM_MOUSEMOVE && s.Dialog == dialog) move = &s;
  ASSERT_NE(move, nullptr);
  EXPECT_EQ(PointParamX(move->LParam), CheckInClient.Left + 1);
  EXPECT_EQ(PointParamY(move->LParam), CheckInClient.Top + 2);
}

TEST_F(DialogTest, MessageBoxesAreOwnedByTheDialogAndNestedDialogsReturnToTheOuterOne) {
  DialogScript script(Main);
  HWND outer = nullptr;
  static HWND inner = nullptr;
  script
      .Then([&](HWND d) {
        outer = d;
        EXPECT_EQ(MessageBox(d, "確認", "警告", MB_YESNO), IDYES);
        const DialogProc nested = [](HWND d2, std::uint32_t m, WPARAM w, LPARAM) -> INT_PTR {
          if (m == WM_INITDIALOG) inner = d2;
          if (m == WM_COMMAND && LowWord(w) == IdDefault) EndDialog(d2, 8);
          return m == WM_INITDIALOG;
        };
        EXPECT_EQ(DialogBoxParam(d, Dialog, nested, 0), 8);
      })
      .Then([&](HWND d) {
        // The nested dialog's frames ran this script's steps too: this one closed it.
        EXPECT_EQ(d, inner);
        script.Key(13);
      })
      .Then([&](HWND d) {
        EXPECT_EQ(d, outer);
        // Taking the focus back gives it to the control that had it.
        SetDialogFocus(d);
        EXPECT_EQ(GetDlgFocusId(d), IdEdit);
        EndDialog(d, 1);
      });
  DialogBoxParam(Main, Dialog, Record, 0);
  ASSERT_EQ(CapturedMessageBoxes().size(), 1u);
  EXPECT_EQ(CapturedMessageBoxes()[0].Owner, outer);
  bool refocused = false;
  for (const Seen& s : Log) refocused |= s.Message == WM_SETFOCUS && s.Dialog == outer;
  EXPECT_TRUE(refocused);
}
}  // namespace

namespace {
TEST_F(DialogTest, TextInputIsOnOnlyWhileAFieldHasTheFocusAndPasteWorks) {
  ASSERT_EQ(SDL_SetClipboardText("貼り付け"), 0);
  DialogScript script(Main);
  script
      .Then([&](HWND) {
        EXPECT_TRUE(SDL_IsTextInputActive());
        script.KeyDown(0x11);
        script.Key('V');
        script.KeyUp(0x11);
      })
      .Then([&](HWND d) {
        EXPECT_EQ(GetDlgItemText(d, IdEdit), "貼り付け");
        script.Key(9);
      })
      .Then([&](HWND d) {
        EXPECT_EQ(GetDlgFocusId(d), IdCheck);
        EXPECT_FALSE(SDL_IsTextInputActive());  // an input method must not take the game's keys
        SetDlgItemFocus(d, IdEdit);
      })
      .Then([&](HWND) {
        EXPECT_TRUE(SDL_IsTextInputActive());
        script.Key(0x1B);
      })
      .Then([&](HWND d) { EndDialog(d, 1); });
  DialogBoxParam(Main, Dialog, Record, 0);
  EXPECT_FALSE(SDL_IsTextInputActive());
}
}  // namespace

// The ranking-entry dialog DLG_RANKINGENTRY, its procedure and OpenRankingEntry.
#include "screens/name_entry.h"

#include <cstdio>
#include <cstring>

#include "app/app_globals.h"
#include "persist/cp932_text.h"
#include "persist/settings_record.h"
#include "platform/input/pad.h"
#include "screens/name_keyboard.h"
#include "platform/translation.h"
#include "world/game_world.h"

namespace {
constexpr int IdName = 1071;
constexpr int IdDecline = 1072;
constexpr int IdConfirm = 1073;
constexpr int IdPadKeyboard = 1074;  // no control: the command that opens the on-screen keyboard

// "決定" is the default button, so Enter in the field confirms (never while an input method
// composes: the dialog layer keeps that Enter for the input method).
constexpr DialogControl RankingEntryControls[] = {
    {ControlKind::Edit, IdName, "", 25, 40, 80, 12, WS_BORDER | WS_TABSTOP},
    {ControlKind::Static, -1, "≪　ランクインおめでとう！　≫\n\nあなたの名前を入力してください。", 5, 5, 120, 25, SS_CENTER},
    {ControlKind::PushButton, IdDecline, "辞退する", 5, 60, 55, 15, WS_TABSTOP},
    {ControlKind::PushButton, IdConfirm, "決定", 70, 60, 55, 15, WS_TABSTOP | BS_DEFPUSHBUTTON},
};

int CurrentLevel() {
  return Settings.Difficulty < RankingLevels ? static_cast<int>(Settings.Difficulty) : RankingLevels - 1;
}

void Confirm(HWND dialog) {
  // The whole text is converted: a cut inside a UTF-8 character would read as an unstorable
  // one, and whatever is longer than the field's bytes is refused as too long anyway.
  const std::string typed = GetDlgItemText(dialog, IdName);
  std::string stored;
  switch (CheckRankingName(typed, stored)) {
    case NameCheck::NotStorable:
      MessageBox(dialog, "名前に使えない文字が含まれています。\n別の文字で入力してください。", "警告", MB_OK);
      return;
    case NameCheck::TooLong: {
      char text[96];
      std::snprintf(text, sizeof text, Translate("全角%d文字(半角%d文字)\nまで有効です。"), RankingNameMaxLength / 2,
                    RankingNameMaxLength);
      MessageBox(dialog, text, "警告", MB_OK);
      return;
    }
    case NameCheck::Accepted:
      break;
  }
  const int level = CurrentLevel();
  // Copied as bytes: a name is never a format.
  char* slot = World.RankingNames[level][RankingSlots - 1];
  std::memset(slot, 0, RankingNameBytes);
  std::memcpy(slot, stored.data(), stored.size());
  World.RankingNameLengths[level][RankingSlots - 1] = static_cast<std::int32_t>(stored.size());
  World.SortRanking(true);
  World.RankingScores[level][RankingSlots - 1] = World.LastGameScore;
  EndDialog(dialog, 1);
}

void FinishEntry() {
  World.LastGameScore = 0;
  World.SaveRanking();
  World.LoadRanking();
}
}  // namespace

const DialogTemplate DLG_RANKINGENTRY{
    "RankingEntry", "IPAPGothic", 9, 0, 0, 129, 79, WS_CAPTION | DS_CENTER, RankingEntryControls};

NameCheck CheckRankingName(std::string_view typed, std::string& stored) {
  stored.clear();
  if (typed.empty()) typed = "No Name";
  std::string bytes;
  if (!Utf8ToCp932(typed, bytes)) return NameCheck::NotStorable;
  if (bytes.size() > static_cast<std::size_t>(RankingNameMaxLength)) return NameCheck::TooLong;
  stored = std::move(bytes);
  return NameCheck::Accepted;
}

INT_PTR RankingEntryProc(HWND dialog, std::uint32_t message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      SetDialogFocus(dialog);
      SetDlgItemText(dialog, IdName, "No Name");
      // With a pad connected the on-screen keyboard opens over the dialog, once it is up.
      if (CurrentPads().Connected > 0) PostMessage(dialog, WM_COMMAND, CommandParam(IdPadKeyboard, BN_CLICKED), 0);
      return 1;
    case WM_COMMAND:
      if (LowWord(wParam) == IdDecline && HighWord(wParam) == BN_CLICKED) {
        World.SortRanking(false);
        EndDialog(dialog, 1);
      } else if (LowWord(wParam) == IdConfirm && HighWord(wParam) == BN_CLICKED) {
        Confirm(dialog);
      } else if (LowWord(wParam) == IdPadKeyboard) {
        // Cancelled, the dialog stays as it was, for the keyboard.
        if (std::string name; RunNameKeyboard(dialog, name)) {
          SetDlgItemText(dialog, IdName, name.c_str());
          Confirm(dialog);
        }
      }
      return 1;
    case WM_CLOSE:
      EndDialog(dialog, 1);
      return 1;
    case WM_DESTROY:
      FinishEntry();
      return 1;
    default:
      return 0;
  }
}

void GameWorld::OpenRankingEntry() {
  if (DialogBoxParam(MainWindow, DLG_RANKINGENTRY, RankingEntryProc, 0) == -1) {
    // No dialog could be shown: the entry is declined, and it still ends as every entry does.
    std::fprintf(stderr, "the ranking entry could not be shown; the score stays unranked\n");
    SortRanking(false);
    FinishEntry();
  }
}

// The options page "拡張設定": the port's own options from korvid.ini, with help under the pointer.
#include "dialogs/help_zones.h"
#include "dialogs/settings_pages.h"
#include "dialogs/settings_templates.h"
#include "persist/port_options.h"
#include "persist/port_texts.h"
#include "platform/translation.h"
#include "world/game_world.h"
#include "world/match_values.h"

namespace {
enum class ControlType : std::uint8_t { List, Check };

struct OptionControl {
  int Id;
  ControlType Type;
  std::uint32_t PortOptions::*Field;
  std::initializer_list<const char*> Entries;  // List only: the entry for each value
};

// Every control of the page, in read-back order.
const OptionControl Controls[] = {
    {IdPictureShape, ControlType::List, &PortOptions::PictureShape, {PictureKeepText, PictureStretchText}},
    {IdScreenshots, ControlType::Check, &PortOptions::Screenshots, {}},
    {IdLanguage, ControlType::List, &PortOptions::Language, {LanguageSystemText, LanguageJapaneseText, LanguageEnglishText}},
};

void ShowOptionValues(HWND page) {
  for (const OptionControl& c : Controls) {
    const std::uint32_t value = Options.*c.Field;
    if (c.Type == ControlType::List) SetListSelection(page, c.Id, static_cast<int>(value));
    else CheckDlgButton(page, c.Id, value != 0);
  }
}

void InitOptionsPage(HWND page) {
  for (const OptionControl& c : Controls)
    for (const char* entry : c.Entries) AddListString(page, c.Id, entry);
  ShowOptionValues(page);
}

void ShowHelpUnderPointer(HWND page, LPARAM position) {
  // The view follows the mouse over every page, as it does over the main window.
  World.OnMouseMove(position);
  const char* text = OptionsHelpText(page, static_cast<int>(WindowCursorX), static_cast<int>(WindowCursorY));
  if (GetDlgItemText(page, IdOptionsHelp) != Translate(text)) SetDlgItemText(page, IdOptionsHelp, text);
}
}  // namespace

INT_PTR OptionsPageProc(HWND page, std::uint32_t message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      InitOptionsPage(page);
      return 1;
    case WM_COMMAND:
      if (LowWord(wParam) == IdPageDefaults && AskDefaultsQuestion(page)) {
        Options.ResetDefaults();
        RefreshOptionsPage(page);
      }
      return 1;
    case WM_MOUSEMOVE:
      ShowHelpUnderPointer(page, lParam);
      return 1;
    default:
      return 0;
  }
}

void ReadBackOptionsPage(HWND page) {
  for (const OptionControl& c : Controls) {
    if (c.Type == ControlType::Check) {
      Options.*c.Field = IsDlgButtonChecked(page, c.Id) ? 1 : 0;
    } else {
      const int selected = GetListSelection(page, c.Id);
      if (selected >= 0) Options.*c.Field = static_cast<std::uint32_t>(selected);
    }
  }
}

void RefreshOptionsPage(HWND page) { ShowOptionValues(page); }

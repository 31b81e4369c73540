// The options page "拡張設定": the port's own options from korvid.ini, with help under the pointer.
#include <span>

#include "dialogs/help_zones.h"
#include "dialogs/settings_pages.h"
#include "dialogs/settings_templates.h"
#include "persist/port_options.h"
#include "persist/port_texts.h"

namespace {
enum class ControlType : std::uint8_t { List, Check, Slider };

struct OptionControl {
  int Id;
  ControlType Type;
  std::uint32_t PortOptions::*Field;
  std::span<const char* const> Entries;  // List only: the entry for each value
  int Minimum = 0, Maximum = 0;          // Slider only
};

constexpr const char* PictureShapeEntries[] = {PictureKeepText, PictureStretchText};
constexpr const char* LanguageEntries[] = {LanguageSystemText, LanguageJapaneseText, LanguageEnglishText};

// Every control of the page, in read-back order.
constexpr OptionControl Controls[] = {
    {IdPictureShape, ControlType::List, &PortOptions::PictureShape, PictureShapeEntries},
    {IdScreenshots, ControlType::Check, &PortOptions::Screenshots, {}},
    {IdUsePad, ControlType::Check, &PortOptions::UsePad, {}},
    {IdPadInvertY, ControlType::Check, &PortOptions::PadInvertY, {}},
    {IdPadRumble, ControlType::Check, &PortOptions::PadRumble, {}},
    {IdPadLookSpeed, ControlType::Slider, &PortOptions::PadLookSpeed, {}, 1, 20},
    {IdPadDeadZone, ControlType::Slider, &PortOptions::PadDeadZone, {}, 5, 50},
    {IdLanguage, ControlType::List, &PortOptions::Language, LanguageEntries},
};

void ShowOptionValues(HWND page) {
  for (const OptionControl& c : Controls) {
    const std::uint32_t value = Options.*c.Field;
    if (c.Type == ControlType::List) SetListSelection(page, c.Id, static_cast<int>(value));
    else if (c.Type == ControlType::Slider) SetTrackbarPosition(page, c.Id, static_cast<int>(value));
    else CheckDlgButton(page, c.Id, value != 0);
  }
}

void InitOptionsPage(HWND page) {
  for (const OptionControl& c : Controls) {
    for (const char* entry : c.Entries) AddListString(page, c.Id, entry);
    if (c.Type == ControlType::Slider) SetTrackbarRange(page, c.Id, c.Minimum, c.Maximum);
  }
  ShowOptionValues(page);
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
      ShowHelpUnderPointer(page, IdOptionsHelp, OptionsHelpText, lParam);
      return 1;
    default:
      return 0;
  }
}

void ReadBackOptionsPage(HWND page) {
  for (const OptionControl& c : Controls) {
    if (c.Type == ControlType::Check) {
      Options.*c.Field = IsDlgButtonChecked(page, c.Id) ? 1 : 0;
    } else if (c.Type == ControlType::Slider) {
      Options.*c.Field = static_cast<std::uint32_t>(GetTrackbarPosition(page, c.Id));
    } else {
      const int selected = GetListSelection(page, c.Id);
      if (selected >= 0) Options.*c.Field = static_cast<std::uint32_t>(selected);
    }
  }
}

void RefreshOptionsPage(HWND page) { ShowOptionValues(page); }

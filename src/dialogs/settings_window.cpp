// The settings window: tabs, pages, saving, cancelling and restoring every default.
#include "dialogs/settings_window.h"

#include "app/app_globals.h"
#include "audio/sound_engine.h"
#include "dialogs/settings_pages.h"
#include "dialogs/settings_templates.h"
#include "dialogs/version_dialog.h"
#include "persist/port_options.h"
#include "persist/settings_record.h"
#include "world/game_world.h"

SettingsWindowState SettingsWindow;

// Set by the apply step's caller while the keys page exists (settings_apply.cpp).
extern void (*RefreshKeyNames)();

namespace {
struct PageEntry {
  const DialogTemplate* Template;
  DialogProc Procedure;
};

// Tab order: game, graphics, sound, keys, other, options.
const PageEntry PageEntries[SettingsPageCount] = {
    {&GamePageTemplate, GamePageProc},   {&GraphicsPageTemplate, GraphicsPageProc},
    {&SoundPageTemplate, SoundPageProc}, {&KeysPageTemplate, KeysPageProc},
    {&OtherPageTemplate, OtherPageProc}, {&OptionsPageTemplate, OptionsPageProc},
};

void RefreshSection(int section) { RefreshPage(section - 1); }
void RefreshKeysPageNames() { ShowKeyNames(SettingsWindow.Pages[PageKeys], Settings.KeyPreset); }

void ShowOnlyPage(int index) {
  for (int i = 0; i < SettingsPageCount; ++i)
    if (SettingsWindow.Pages[i]) ShowDialog(SettingsWindow.Pages[i], i == index);
}

void InitSettingsWindow(HWND window) {
  SetDialogFocus(window);
  for (int i = 0; i < SettingsPageCount; ++i)
    TabInsertItem(window, IdTabControl, i, SettingsTabTexts[i]);
  // The window always starts from what is saved.
  Settings.LoadSettings();
  Options.Load();

  SettingsWindow.Window = window;
  DialogRect area;
  GetTabDisplayRect(window, IdTabControl, area);
  for (int i = 0; i < SettingsPageCount; ++i) {
    HWND page = CreateDialogParam(window, *PageEntries[i].Template, PageEntries[i].Procedure, 0);
    SettingsWindow.Pages[i] = page;
    if (page) SetDialogPosition(page, area.Left, area.Top);
  }
  RefreshSettingsPage = RefreshSection;
  RefreshKeyNames = RefreshKeysPageNames;
  ShowOnlyPage(PageGame);
  Settings.SettingWindowOpen = 1;
}

void Save(HWND window) {
  for (int i = 0; i < SettingsPageCount; ++i) ReadBackPage(i);
  Settings.SaveSettings();
  // The live record becomes exactly what was stored.
  Settings.LoadSettings();
  Options.Save();
  Options.Load();
  if (Settings.ScreenWidth != Settings.DisplayWidth ||
      Settings.ScreenHeight != Settings.DisplayHeight) {
    const int answer = MessageBox(window, "画面サイズを今すぐ変更しますか？", "警告", MB_YESNO);
    Settings.ApplyDisplayChange = answer == IDYES ? 1 : 0;
  } else {
    Settings.ApplyDisplayChange = 0;
  }
  EndDialog(window, 1);
}

void Cancel(HWND window) {
  Settings.ApplyDisplayChange = 0;
  EndDialog(window, 1);
}

void AskAllDefaults(HWND window) {
  if (MessageBox(window, "全ての設定をディフォルトに戻しますか？", "警告", MB_YESNO) != IDYES)
    return;
  for (int section = 1; section <= SettingsSectionCount; ++section) Settings.ResetSection(section, true);
  Options.ResetDefaults();
  RefreshPage(PageOptions);
}

void CloseSettingsWindow() {
  // After a save this changes nothing; after anything else it drops the unsaved edits.
  Settings.LoadSettings();
  Options.Load();
  Settings.SettingWindowOpen = 0;
  RefreshSettingsPage = nullptr;
  RefreshKeyNames = nullptr;
  SettingsWindow = SettingsWindowState{};
  World.TransitionActive = 1;
  World.GameState = StateTitle;
}

INT_PTR SettingsWindowProc(HWND window, std::uint32_t message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      InitSettingsWindow(window);
      return 0;  // the focus is set
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NotifyHeader*>(lParam);
      if (header && header->IdFrom == IdTabControl && header->Code == TCN_SELCHANGE) {
        ShowOnlyPage(TabGetSelection(window, IdTabControl));
        PlayClickSound();
      }
      return 1;
    }
    case WM_COMMAND:
      switch (LowWord(wParam)) {
        case IdSave:
          Save(window);
          return 1;
        case IdCancel:
        case IDCANCEL:  // Escape leaves the window as its cancel button does
          Cancel(window);
          return 1;
        case IdAllDefaults:
          AskAllDefaults(window);
          return 1;
        case IdVersion:
          PlayClickSound();
          RunVersionDialog(window);
          PlayClickSound();
          return 1;
        default:
          return 0;
      }
    case WM_CLOSE:
      // The close box leaves without saving: nothing to change on the screen either.
      Cancel(window);
      return 1;
    case WM_SETFOCUS:
      // Back from a capture or the version dialog: the control that had the focus keeps it.
      SetDialogFocus(window);
      return 1;
    case WM_DESTROY:
      CloseSettingsWindow();
      return 1;
    default:
      return 0;
  }
}
}  // namespace

void PlayClickSound() {
  const HWND sound = SettingsWindow.Pages[PageSound];
  if (sound && IsDlgButtonChecked(sound, IdEffectsOn)) Sound.PlayMenuSound(false, 3);
}

void ReadBackPage(int index) {
  const HWND page = index >= 0 && index < SettingsPageCount ? SettingsWindow.Pages[index] : nullptr;
  if (!page) return;
  switch (index) {
    case PageGame: ReadBackGamePage(page); break;
    case PageGraphics: ReadBackGraphicsPage(page); break;
    case PageSound: ReadBackSoundPage(page); break;
    case PageKeys: ReadBackKeysPage(page); break;
    case PageOther: ReadBackOtherPage(page); break;
    case PageOptions: ReadBackOptionsPage(page); break;
  }
}

void RefreshPage(int index) {
  const HWND page = index >= 0 && index < SettingsPageCount ? SettingsWindow.Pages[index] : nullptr;
  if (!page) return;
  switch (index) {
    case PageGame: RefreshGamePage(page); break;
    case PageGraphics: RefreshGraphicsPage(page); break;
    case PageSound: RefreshSoundPage(page); break;
    case PageKeys: RefreshKeysPage(page); break;
    case PageOther: RefreshOtherPage(page); break;
    case PageOptions: RefreshOptionsPage(page); break;
  }
}

std::uint32_t ClampAndShow(HWND page, bool trackbar, int id, std::uint32_t minimum,
                           std::uint32_t maximum, std::uint32_t value) {
  const std::uint32_t shown = value < minimum ? minimum : (value < maximum ? value : maximum);
  if (trackbar)
    SetTrackbarPosition(page, id, static_cast<int>(shown));
  else
    SetScrollPosition(page, id, static_cast<int>(shown));
  return shown;
}

std::uint32_t SetUpTrackbar(HWND page, int id, std::uint32_t minimum, std::uint32_t maximum,
                            int tick, std::uint32_t value) {
  SetTrackbarRange(page, id, static_cast<int>(minimum), static_cast<int>(maximum));
  SetTrackbarTickFrequency(page, id, tick);
  return ClampAndShow(page, true, id, minimum, maximum, value);
}

bool AskDefaultsQuestion(HWND page) {
  return MessageBox(page, "設定をディフォルトにしますか？", "警告", MB_YESNO) == IDYES;
}

void AskPageDefaults(HWND page, int section) {
  if (AskDefaultsQuestion(page)) Settings.ResetSection(section, true);
}

void RunSettingsWindow() {
  if (DialogBoxParam(MainWindow, SettingWindowTemplate, SettingsWindowProc, 0) != -1) return;
  // No window could be made: back to the title as if it had been cancelled.
  Settings.ApplyDisplayChange = 0;
  World.TransitionActive = 1;
  World.GameState = StateTitle;
}

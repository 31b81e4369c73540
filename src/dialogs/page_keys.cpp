// The keys page: preset, wheel and mouse options, sensitivity, and the ten key bindings.
#include "dialogs/key_names.h"
#include "dialogs/settings_pages.h"
#include "dialogs/settings_templates.h"
#include "persist/settings_record.h"

namespace {
enum : int {
  IdPreset = 1033,
  IdWheel = 1034,
  IdInvertY = 1035,
  IdSensitivity = 1005,
};
constexpr int SensitivityTick = 10;

struct KeyRow {
  int Button;
  int Name;
};
// In binding order: forward, back, left, right, turn left, turn right, jump, attack, weapon,
// reload. A row's slot is its position + 1.
constexpr KeyRow KeyRows[KeyBindingCount] = {
    {1042, 1036}, {1043, 1037}, {1044, 1038}, {1045, 1039}, {1050, 1048},
    {1051, 1049}, {1046, 1040}, {1047, 1041}, {1052, 1053}, {1054, 1055},
};

int SlotOfButton(int id) {
  for (int i = 0; i < KeyBindingCount; ++i)
    if (KeyRows[i].Button == id) return i + 1;
  return 0;
}

void ShowKeysValues(HWND page) {
  const SettingsRecord& s = Settings;
  SetListSelection(page, IdPreset, static_cast<int>(s.KeyPreset));
  CheckDlgButton(page, IdWheel, s.WheelWeaponChange != 0);
  CheckDlgButton(page, IdInvertY, s.InvertMouseY != 0);
}

void InitKeysPage(HWND page) {
  SettingsRecord& s = Settings;
  for (const char* text : {"カスタム", "設定1", "設定2"}) AddListString(page, IdPreset, text);
  ShowKeysValues(page);
  s.MouseSensitivity = SetUpTrackbar(page, IdSensitivity, s.MouseSensitivityMin,
                                     s.MouseSensitivityMax, SensitivityTick, s.MouseSensitivity);
  ShowKeyNames(page, s.KeyPreset);
}

void CaptureKey(HWND page, int slot) {
  Settings.KeyCaptureSlot = slot;
  RunKeyCapture(page);
  // Any stored key makes the bindings the player's own.
  if (Settings.KeyCaptureSlot != -1) {
    Settings.KeyPreset = 0;
    SetListSelection(page, IdPreset, 0);
  }
  Settings.KeyCaptureSlot = 0;
}

void OnKeysCommand(HWND page, WPARAM wParam) {
  const int id = LowWord(wParam);
  if (id == IdPreset) {
    const int selection = GetListSelection(page, IdPreset);
    if (selection >= 0) Settings.KeyPreset = static_cast<std::uint32_t>(selection);
  } else if (id == IdPageDefaults) {
    AskPageDefaults(page, 4);
  } else if (const int slot = SlotOfButton(id)) {
    CaptureKey(page, slot);
  }
  ShowKeyNames(page, Settings.KeyPreset);
}
}  // namespace

INT_PTR KeysPageProc(HWND page, std::uint32_t message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      InitKeysPage(page);
      return 1;
    case WM_COMMAND:
      OnKeysCommand(page, wParam);
      return 1;
    default:
      return 0;
  }
}

void ShowKeyNames(HWND keysPage, std::uint32_t preset) {
  Settings.ApplyKeyPreset(static_cast<int>(preset));
  if (!keysPage) return;
  for (int i = 0; i < KeyBindingCount; ++i)
    SetDlgItemText(keysPage, KeyRows[i].Name, KeyName(Settings.KeyBindings[i]));
}

void ReadBackKeysPage(HWND page) {
  SettingsRecord& s = Settings;
  s.KeyPreset = static_cast<std::uint32_t>(GetListSelection(page, IdPreset));
  s.WheelWeaponChange = IsDlgButtonChecked(page, IdWheel) ? 1 : 0;
  s.InvertMouseY = IsDlgButtonChecked(page, IdInvertY) ? 1 : 0;
  s.MouseSensitivity = static_cast<std::uint32_t>(GetTrackbarPosition(page, IdSensitivity));
}

void RefreshKeysPage(HWND page) {
  ShowKeysValues(page);
  SetTrackbarPosition(page, IdSensitivity, static_cast<int>(Settings.MouseSensitivity));
  // The section's defaults include preset 1's keys: show them at once.
  ShowKeyNames(page, Settings.KeyPreset);
}

// The other page: frame-rate display, the debug mode and its switches, the sound distance.
#include "dialogs/settings_pages.h"
#include "dialogs/settings_templates.h"
#include "persist/settings_record.h"

namespace {
enum : int {
  IdShowFps = 1046,
  IdDebugMode = 1051,
  IdShowSelf = 1055,
  IdSoundDistance = 1060,
};
constexpr int DistanceTick = 100;

struct Switch {
  int Id;
  std::uint32_t SettingsRecord::*Field;
};
// The fourteen switches in the page's order, which is also their read-back order.
constexpr Switch Switches[] = {
    {IdShowFps, &SettingsRecord::ShowFps},      {IdDebugMode, &SettingsRecord::DebugMode},
    {1049, &SettingsRecord::Invincible},        {IdShowSelf, &SettingsRecord::ShowSelf},
    {1057, &SettingsRecord::ShowGun},           {1054, &SettingsRecord::ShowBullets},
    {1056, &SettingsRecord::ShowAimCursor},     {1070, &SettingsRecord::ShowTrees},
    {1059, &SettingsRecord::ShowEnemies},       {1058, &SettingsRecord::ShowStatus},
    {1068, &SettingsRecord::UseFog},            {1069, &SettingsRecord::Recoil},
    {1052, &SettingsRecord::ShowPosition},      {1053, &SettingsRecord::ShowEnemyInfo},
};

// Greyed while the debug mode is off; "自機表示" (1055) is never offered.
constexpr int DebugDependent[] = {1049, 1057, 1054, 1056, 1070, 1059, 1058, 1068, 1069,
                                  1052, 1053, 1060, 1061, 1062, 1063, 1064};

void EnableDebugSwitches(HWND page, bool enable) {
  for (int id : DebugDependent) EnableDlgItem(page, id, enable);
  EnableDlgItem(page, IdShowSelf, false);
}

void ShowSwitches(HWND page) {
  for (const Switch& sw : Switches) CheckDlgButton(page, sw.Id, Settings.*sw.Field != 0);
}
}  // namespace

INT_PTR OtherPageProc(HWND page, std::uint32_t message, WPARAM wParam, LPARAM) {
  SettingsRecord& s = Settings;
  switch (message) {
    case WM_INITDIALOG:
      ShowSwitches(page);
      EnableDebugSwitches(page, s.DebugMode != 0);
      s.SoundDistance = SetUpTrackbar(page, IdSoundDistance, s.SoundDistanceMin, s.SoundDistanceMax,
                                      DistanceTick, s.SoundDistance);
      return 1;
    case WM_COMMAND:
      if (LowWord(wParam) == IdDebugMode) EnableDebugSwitches(page, IsDlgButtonChecked(page, IdDebugMode));
      if (LowWord(wParam) == IdPageDefaults) AskPageDefaults(page, 5);
      return 1;
    default:
      return 0;
  }
}

void ReadBackOtherPage(HWND page) {
  for (const Switch& sw : Switches) Settings.*sw.Field = IsDlgButtonChecked(page, sw.Id) ? 1 : 0;
  Settings.SoundDistance = static_cast<std::uint32_t>(GetTrackbarPosition(page, IdSoundDistance));
}

void RefreshOtherPage(HWND page) {
  ShowSwitches(page);
  SetTrackbarPosition(page, IdSoundDistance, static_cast<int>(Settings.SoundDistance));
  EnableDebugSwitches(page, Settings.DebugMode != 0);
}

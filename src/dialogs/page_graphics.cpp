// The graphics page: resolution, colours, window mode, sharpness, mipmaps and the help box.
#include "dialogs/help_zones.h"
#include "dialogs/settings_pages.h"
#include "dialogs/settings_templates.h"
#include "persist/settings_record.h"

namespace {
enum : int {
  IdResolution = 1023,
  IdColours = 1025,
  IdWindowMode = 1050,
  IdSharpness = 1026,
  IdUseMipmaps = 1051,
  IdMipmapLabel = 1063,
  IdMipmapLevel = 1027,
  IdHelp = 1045,
};

void EnableMipmapLevel(HWND page, bool enable) {
  EnableDlgItem(page, IdMipmapLabel, enable);
  EnableDlgItem(page, IdMipmapLevel, enable);
}

void ShowGraphicsValues(HWND page) {
  const SettingsRecord& s = Settings;
  SetListSelection(page, IdResolution, static_cast<int>(s.ResolutionIndex));
  SetListSelection(page, IdSharpness, static_cast<int>(s.Sharpness));
  SetListSelection(page, IdColours, static_cast<int>(s.ColourDepth));
  SetListSelection(page, IdMipmapLevel, static_cast<int>(s.MipmapLevel));
  CheckDlgButton(page, IdUseMipmaps, s.UseMipmaps != 0);
  CheckDlgButton(page, IdWindowMode, s.WindowMode != 0);
  // A level set while mipmaps are off keeps its value; it is only greyed.
  EnableMipmapLevel(page, s.UseMipmaps != 0);
}

void InitGraphicsPage(HWND page) {
  for (const char* text : {"320×240", "512×384", "640×480", "800×600", "1024×768", "1152×864",
                           "1280×1024", "1600×1200"})
    AddListString(page, IdResolution, text);
  for (const char* text : {"荒い", "普通", "鮮明"}) AddListString(page, IdSharpness, text);
  for (const char* text : {"ディスプレイの設定", "16 ビット", "24 ビット", "32 ビット"})
    AddListString(page, IdColours, text);
  for (const char* text : {"最適-少し適用", "詳細-少し適用", "最適-適用", "詳細-適用", "最適-多く適用",
                           "詳細-多く適用"})
    AddListString(page, IdMipmapLevel, text);
  ShowGraphicsValues(page);
}
}  // namespace

INT_PTR GraphicsPageProc(HWND page, std::uint32_t message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      InitGraphicsPage(page);
      return 1;
    case WM_COMMAND:
      if (LowWord(wParam) == IdUseMipmaps) EnableMipmapLevel(page, IsDlgButtonChecked(page, IdUseMipmaps));
      if (LowWord(wParam) == IdPageDefaults) AskPageDefaults(page, 2);
      return 1;
    case WM_MOUSEMOVE:
      ShowHelpUnderPointer(page, IdHelp, GraphicsHelpText, lParam);
      return 1;
    default:
      return 0;
  }
}

void ReadBackGraphicsPage(HWND page) {
  SettingsRecord& s = Settings;
  s.ResolutionIndex = static_cast<std::uint32_t>(GetListSelection(page, IdResolution));
  s.Sharpness = static_cast<std::uint32_t>(GetListSelection(page, IdSharpness));
  s.ColourDepth = static_cast<std::uint32_t>(GetListSelection(page, IdColours));
  s.MipmapLevel = static_cast<std::uint32_t>(GetListSelection(page, IdMipmapLevel));
  s.UseMipmaps = IsDlgButtonChecked(page, IdUseMipmaps) ? 1 : 0;
  s.WindowMode = IsDlgButtonChecked(page, IdWindowMode) ? 1 : 0;
}

void RefreshGraphicsPage(HWND page) { ShowGraphicsValues(page); }

// The game page: difficulty, first weapon, and the aiming cursor's style and colour.
#include <vector>

#include "dialogs/settings_pages.h"
#include "dialogs/settings_templates.h"
#include "persist/settings_record.h"

namespace {
enum : int {
  IdDifficulty = 1044,
  IdWeapon = 1045,
  IdStyle = 1055,
  IdRed = 1007,
  IdGreen = 1008,
  IdBlue = 1009,
  IdAlpha = 1006,
};
constexpr int ColourTick = 5;

void ReadPreviewCopies(HWND page) {
  PreviewColour& p = SettingsWindow.Preview;
  p.Red = static_cast<std::uint32_t>(GetTrackbarPosition(page, IdRed));
  p.Green = static_cast<std::uint32_t>(GetTrackbarPosition(page, IdGreen));
  p.Blue = static_cast<std::uint32_t>(GetTrackbarPosition(page, IdBlue));
  p.Alpha = static_cast<std::uint32_t>(GetTrackbarPosition(page, IdAlpha));
}

void ShowColours(HWND page) {
  SettingsRecord& s = Settings;
  s.CursorRed = ClampAndShow(page, true, IdRed, s.ColourMin, s.ColourMax, s.CursorRed);
  s.CursorGreen = ClampAndShow(page, true, IdGreen, s.ColourMin, s.ColourMax, s.CursorGreen);
  s.CursorBlue = ClampAndShow(page, true, IdBlue, s.ColourMin, s.ColourMax, s.CursorBlue);
  s.CursorAlpha = ClampAndShow(page, true, IdAlpha, s.ColourMin, s.ColourMax, s.CursorAlpha);
}

void InitGamePage(HWND page) {
  SettingsRecord& s = Settings;
  for (const char* text : {"初心者", "通常者", "玄人者"}) AddListString(page, IdDifficulty, text);
  for (const char* text : {"マシンガン", "ライフル", "ハンドガン"}) AddListString(page, IdWeapon, text);
  SetListSelection(page, IdDifficulty, static_cast<int>(s.Difficulty));
  SetListSelection(page, IdWeapon, static_cast<int>(s.InitialWeapon));
  SetScrollRange(page, IdStyle, static_cast<int>(s.CursorStyleMin), static_cast<int>(s.CursorStyleMax));
  s.CursorStyle = ClampAndShow(page, false, IdStyle, s.CursorStyleMin, s.CursorStyleMax, s.CursorStyle);
  for (int id : {IdRed, IdGreen, IdBlue, IdAlpha}) {
    SetTrackbarRange(page, id, static_cast<int>(s.ColourMin), static_cast<int>(s.ColourMax));
    SetTrackbarTickFrequency(page, id, ColourTick);
  }
  ShowColours(page);
  SettingsWindow.Preview = {s.CursorRed, s.CursorGreen, s.CursorBlue, s.CursorAlpha};
  InvalidateDialog(page);
}

void ScrollStyle(HWND page, WPARAM wParam) {
  SettingsRecord& s = Settings;
  switch (LowWord(wParam)) {
    case SB_LINELEFT:
    case SB_PAGELEFT:
      --s.CursorStyle;
      break;
    case SB_LINERIGHT:
    case SB_PAGERIGHT:
      ++s.CursorStyle;
      break;
    case SB_THUMBTRACK:
      s.CursorStyle = static_cast<std::uint32_t>(HighWord(wParam));
      break;
    default:
      break;
  }
  s.CursorStyle = ClampAndShow(page, false, IdStyle, s.CursorStyleMin, s.CursorStyleMax, s.CursorStyle);
}

void PaintPreview(HWND page) {
  PaintSurface* surface = BeginPaint(page);
  if (!surface) return;
  int width = 0, height = 0;
  std::vector<std::uint32_t> picture, pixels;
  LoadPreviewPicture(Settings.CursorStyle, width, height, picture);
  PaintCursorPreview(SettingsWindow.Preview, PreviewX - 1, PreviewY - 1, width, height, picture, pixels);
  PaintPixels(surface, PreviewX - 1, PreviewY - 1, PreviewPaintedSize, PreviewPaintedSize, pixels.data());
  EndPaint(page, surface);
}
}  // namespace

INT_PTR GamePageProc(HWND page, std::uint32_t message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      InitGamePage(page);
      return 1;
    case WM_HSCROLL:
      if (static_cast<int>(lParam) == IdStyle) ScrollStyle(page, wParam);
      ReadPreviewCopies(page);
      InvalidateDialog(page);
      return 1;
    case WM_PAINT:
      PaintPreview(page);
      return 1;
    case WM_COMMAND:
      if (LowWord(wParam) == IdPageDefaults) AskPageDefaults(page, 1);
      return 1;
    default:
      return 0;
  }
}

void ReadBackGamePage(HWND page) {
  SettingsRecord& s = Settings;
  s.Difficulty = static_cast<std::uint32_t>(GetListSelection(page, IdDifficulty));
  s.InitialWeapon = static_cast<std::uint32_t>(GetListSelection(page, IdWeapon));
  s.CursorStyle = static_cast<std::uint32_t>(GetScrollPosition(page, IdStyle));
  s.CursorRed = static_cast<std::uint32_t>(GetTrackbarPosition(page, IdRed));
  s.CursorGreen = static_cast<std::uint32_t>(GetTrackbarPosition(page, IdGreen));
  s.CursorBlue = static_cast<std::uint32_t>(GetTrackbarPosition(page, IdBlue));
  s.CursorAlpha = static_cast<std::uint32_t>(GetTrackbarPosition(page, IdAlpha));
}

void RefreshGamePage(HWND page) {
  SettingsRecord& s = Settings;
  SetListSelection(page, IdDifficulty, static_cast<int>(s.Difficulty));
  SetListSelection(page, IdWeapon, static_cast<int>(s.InitialWeapon));
  s.CursorStyle = ClampAndShow(page, false, IdStyle, s.CursorStyleMin, s.CursorStyleMax, s.CursorStyle);
  ShowColours(page);
  ReadPreviewCopies(page);
  InvalidateDialog(page);
}

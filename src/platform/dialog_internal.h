// Dialog state shared by the dialog module's files: controls, pages, focus, frames.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "platform/dialog.h"

struct ImFont;

struct ControlState {
  ControlKind Kind = ControlKind::Static;
  int Id = -1;
  std::string Text;
  DialogRect Pixels;  // in the owning dialog's client pixels
  std::uint32_t Style = 0;
  bool Enabled = true;
  bool Shown = true;
  bool Checked = false;
  std::vector<std::string> Items;  // list and combo entries, tab texts
  int Selection = -1;              // list and combo selection, selected tab
  int Minimum = 0, Maximum = 100, Position = 0, TickFrequency = 0;
  int Version = 0;  // bumped when the program sets an edit's text (the field reloads it)
  int DrawnVersion = 0;
  std::uint32_t DrawnId = 0;  // the field's ImGui id, known once drawn
};

struct PaintedImage {
  int X = 0, Y = 0, Width = 0, Height = 0;
  std::vector<std::uint32_t> Argb;
  std::uint32_t Texture = 0;  // uploaded when first drawn
};

struct DialogState {
  HWND Handle = nullptr;
  HWND Parent = nullptr;  // pages: the dialog holding them
  DialogProc Procedure = nullptr;
  std::string Caption;
  std::string FontFace;
  int FontPoints = 9;
  std::uint32_t Style = 0;
  int Font = -1;                 // index into the loaded dialog fonts
  float BaseX = 6, BaseY = 12;   // dialog base units of that font, in pixels
  int X = 0, Y = 0;              // top-levels: main-window pixels; pages: parent client pixels
  int Width = 0, Height = 0;     // client size in pixels
  bool Shown = true;
  std::vector<ControlState> Controls;
  std::vector<HWND> Pages;
  // Modal state (top-levels).
  bool Running = false;
  bool Ended = false;
  INT_PTR Result = 0;
  // Keyboard focus (kept by the top-level for itself and its pages).
  HWND FocusDialog = nullptr;
  int FocusId = 0;
  bool FocusByKeyboard = false;  // an edit reached by Tab or opening selects its text
  bool NeedsPaint = false;
  std::vector<PaintedImage> Painted;
  std::uint32_t Serial = 0;  // distinguishes ImGui windows of successive dialogs
  int FramesDrawn = 0;
};

struct PaintSurface {
  HWND Dialog = nullptr;
  std::vector<PaintedImage> Images;
};

DialogState* StateOf(HWND dialog);
ControlState* FindControl(HWND dialog, int id);
// Top-level dialog of a page (or the dialog itself).
DialogState* TopLevelDialog(HWND dialog);
// Running top-level dialogs, outermost first; the last one takes input.
std::vector<HWND>& DialogStack();

// Delivery of notifications gathered while a frame is drawn (procedures may open dialogs).
void QueueNotification(HWND dialog, std::uint32_t message, WPARAM wParam, LPARAM lParam);
void DeliverNotifications();

// Keyboard navigation and its actions (dialog_keys.cpp).
struct TabStop {
  HWND Dialog = nullptr;
  int Id = 0;
};
std::vector<TabStop> TabOrder(DialogState& top);
void FocusFirstTabStop(DialogState& top);
void KeepFocusValid(DialogState& top);
// Handles a key of the innermost dialog; true when the key was used by navigation.
bool HandleDialogKey(DialogState& top, std::uint32_t key, bool down, bool repeat, bool shift,
                     bool control, bool popupOpen, bool composing);
// The control action shared by mouse and keyboard.
void PressButton(HWND dialog, ControlState& control);
void ToggleCheck(HWND dialog, ControlState& control);
void SelectListItem(HWND dialog, ControlState& control, int index);
void SelectTab(HWND dialog, ControlState& control, int index);
void MoveTrackbar(HWND dialog, ControlState& control, int position, int code);

// ImGui side (dialog_draw.cpp).
bool EnsureDialogFont(DialogState& dialog);  // loads the font and the base units
void DrawDialogFrame();                         // one ImGui frame of every running dialog
void PresentDialogs();                          // the last frame over the last game picture
void FeedMouse(int x, int y);
void FeedMouseButton(int button, bool down);
void FeedMouseWheel(float notches);
void FeedKey(std::uint32_t key, bool down);
void FeedCharacter(std::uint32_t codePoint);
bool DialogPopupOpen();
void ReleaseDialogTextures(DialogState& dialog);
void SyncTextInput(DialogState* top);  // text input on while an edit has the focus

// Height of a top-level dialog's caption bar, in pixels.
inline int CaptionHeight(const DialogState& dialog) {
  return (dialog.Style & WS_CAPTION) == WS_CAPTION ? static_cast<int>(dialog.BaseY) + 8 : 0;
}
// The modal loop (dialog_loop.cpp).
void RunModalLoop(DialogState& dialog);
bool QuitPending();
int QuitCode();
void ClearDialogInput();
void SetKeyboardModifiersUp();
LRESULT RunKeyboardHooks(WPARAM key, LPARAM flags);
DialogFrameHook CurrentFrameHook(void*& user);
void CountDialogFrame();
void CloseDialogPopup();
// Draws the dialogs over every presented frame while any is open.
void SetDialogOverlay(bool on);
// True unless the focused control is an edit field that has not yet taken ImGui's keyboard
// focus (it takes it one frame after being asked): typed text waits for it.
bool FocusedEditReady(DialogState& top);
// Forgets held keys and buttons when the last dialog closes.
void ResetDialogInputState();

// A static text's lines in `font` at `size` pixels: "\n" breaks, then breaks where `width` runs out.
std::vector<std::string> WrapDialogLines(ImFont* font, float size, const std::string& text, float width);

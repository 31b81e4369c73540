// Modal dialogs from templates: procedures, controls by identifier, pages, painting, key hook.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/message_box.h"
#include "platform/window.h"

// A dialog is a window (HWND): messages can be posted to it and it can own message boxes
// (MessageBox(dialog, ...)). Its procedure returns nonzero for a message it handled.
using INT_PTR = std::intptr_t;
using DialogProc = INT_PTR (*)(HWND dialog, std::uint32_t message, WPARAM wParam, LPARAM lParam);

enum : std::uint32_t {
  WM_SETFOCUS = 0x0007,     // the dialog has the focus back after a dialog it owned closed
  WM_NOTIFY = 0x004E,       // wParam: control id; lParam: const NotifyHeader*
  WM_INITDIALOG = 0x0110,   // wParam: 0; lParam: the parameter given to the create/run call
  WM_COMMAND = 0x0111,      // wParam: CommandParam(control id, notification code); lParam: 0
  WM_HSCROLL = 0x0114,      // wParam: CommandParam(scroll code, thumb position); lParam: control id
};

enum : int { IDCANCEL = 2 };  // IDOK (1) is in message_box.h

// wParam packing of WM_COMMAND and WM_HSCROLL.
constexpr WPARAM CommandParam(int low, int high) {
  return (static_cast<WPARAM>(low) & 0xFFFFu) | ((static_cast<WPARAM>(high) & 0xFFFFu) << 16);
}
constexpr int LowWord(WPARAM value) { return static_cast<int>(value & 0xFFFFu); }
constexpr int HighWord(WPARAM value) { return static_cast<int>((value >> 16) & 0xFFFFu); }

// WM_COMMAND notification codes (high word). Buttons and check boxes send BN_CLICKED (a check
// box has already toggled itself); list and combo boxes CBN_SELCHANGE when the user changes
// the selection; an edit EN_CHANGE when the user changes its text. Escape sends IDCANCEL,
// Enter the default button's id (IDOK when there is none), each with BN_CLICKED.
enum : int { BN_CLICKED = 0, CBN_SELCHANGE = 1, LBN_SELCHANGE = 1, EN_CHANGE = 0x0300 };

// WM_HSCROLL codes (low word). A trackbar moves itself before it tells its dialog (and sends
// the new position with every code); a scroll bar does not move: its dialog calls
// SetScrollPosition. TB_THUMBTRACK / SB_THUMBTRACK carry the thumb position in the high word.
enum : int {
  SB_LINELEFT = 0, SB_LINERIGHT = 1, SB_PAGELEFT = 2, SB_PAGERIGHT = 3,
  SB_THUMBPOSITION = 4, SB_THUMBTRACK = 5, SB_LEFT = 6, SB_RIGHT = 7, SB_ENDSCROLL = 8,
  TB_LINEUP = 0, TB_LINEDOWN = 1, TB_PAGEUP = 2, TB_PAGEDOWN = 3,
  TB_THUMBPOSITION = 4, TB_THUMBTRACK = 5, TB_TOP = 6, TB_BOTTOM = 7, TB_ENDTRACK = 8,
};

// WM_NOTIFY from a tab control: TCN_SELCHANGE after the user picked another tab (by mouse or
// Ctrl+Tab / Ctrl+Shift+Tab); the selection has already changed.
struct NotifyHeader {
  HWND From = nullptr;  // the dialog holding the control
  int IdFrom = 0;
  std::uint32_t Code = 0;
};
constexpr std::uint32_t TCN_SELCHANGE = 0u - 551u;

// ---- templates ----

enum class ControlKind : std::uint8_t {
  PushButton,
  CheckBox,   // automatic: toggles on click or Space, then sends BN_CLICKED
  Static,     // text; SS_CENTER / SS_RIGHT align it; "\n" breaks lines
  GroupBox,   // frame with a caption
  Edit,       // one line of text (UTF-8); typed through the input method
  ComboBox,   // drop-down list (no typing)
  ListBox,
  Trackbar,   // horizontal
  ScrollBar,  // horizontal
  TabControl, // pages are child dialogs placed in its display area
  Icon,       // the application's icon
};

// Control and dialog styles (the Windows bit values).
enum : std::uint32_t {
  SS_LEFT = 0x0000,
  SS_CENTER = 0x0001,
  SS_RIGHT = 0x0002,
  BS_DEFPUSHBUTTON = 0x0001,  // the default button: Enter presses it
  CS_HIDDEN = 0x0100,         // created hidden (ShowDlgItem shows it)
  WS_BORDER = 0x00800000,
  WS_TABSTOP = 0x00010000,    // Tab and Shift+Tab stop here
  WS_DISABLED = 0x08000000,
  // Dialog styles.
  DS_CENTER = 0x0800,          // centred on the screen (otherwise at X, Y of the template)
  WS_SYSMENU = 0x00080000,     // caption with a close box (sends WM_CLOSE)
  WS_CAPTION = 0x00C00000,
  WS_CHILD = 0x40000000,       // a page: no border or caption, shown inside its parent
};

// Rectangles are in dialog units: x units are a quarter of the dialog font's average
// character width, y units an eighth of its height.
struct DialogControl {
  ControlKind Kind = ControlKind::Static;
  int Id = -1;  // -1 for controls never addressed
  const char* Text = "";
  int X = 0, Y = 0, Width = 0, Height = 0;
  std::uint32_t Style = 0;
};

struct DialogTemplate {
  const char* Caption = "";
  const char* FontFace = "IPAPGothic";  // matched through fontconfig
  int FontPoints = 9;
  int X = 0, Y = 0;  // used without DS_CENTER
  int Width = 0, Height = 0;
  std::uint32_t Style = WS_CAPTION | DS_CENTER;
  std::span<const DialogControl> Controls;
};

// ---- running dialogs ----

// Creates the dialog, sends WM_INITDIALOG (a nonzero answer puts the focus on the first tab
// stop), and runs the modal loop until EndDialog: the owner chain stays disabled for input,
// other messages keep reaching their windows (so the game redraws behind the dialog), and
// the dialog is drawn over the last presented game frame. Then WM_DESTROY goes to the dialog
// and its pages. Returns EndDialog's result; -1 when the dialog cannot be made. A WM_QUIT
// taken inside the loop ends the dialog with 0 and is posted again.
INT_PTR DialogBoxParam(HWND owner, const DialogTemplate& dialog, DialogProc procedure, LPARAM param);

// Ends the modal loop of the dialog after the current message; false if not a running dialog.
bool EndDialog(HWND dialog, INT_PTR result);

// Creates a page (a WS_CHILD template) inside `parent`, hidden until ShowDialog, at (0, 0) of
// the parent's client area; sends it WM_INITDIALOG. Its controls take part in the parent's
// keyboard navigation while shown. Destroyed with the parent. Null on failure.
HWND CreateDialogParam(HWND parent, const DialogTemplate& page, DialogProc procedure, LPARAM param);

struct DialogRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// Dialog units to the dialog's client pixels, with its font's metrics.
bool MapDialogRect(HWND dialog, DialogRect& rect);
// The display area of a tab control (below the tabs), in the dialog's client pixels.
bool GetTabDisplayRect(HWND dialog, int tabId, DialogRect& rect);
// Moves a page to (x, y) of its parent's client pixels.
bool SetDialogPosition(HWND page, int x, int y);
bool ShowDialog(HWND page, bool show);
bool IsDialogShown(HWND page);
// The dialog's client area in its own pixels ({0, 0, width, height}).
bool GetDialogClientRect(HWND dialog, DialogRect& rect);
// A control's rectangle in the main window's client pixels (tests and pointer placement).
bool GetDlgItemWindowRect(HWND dialog, int id, DialogRect& rect);

// ---- controls by identifier (false, -1 or "" for an unknown id) ----

bool SetDlgItemText(HWND dialog, int id, const char* text);  // UTF-8
std::string GetDlgItemText(HWND dialog, int id);

bool CheckDlgButton(HWND dialog, int id, bool checked);
bool IsDlgButtonChecked(HWND dialog, int id);

// Combo and list boxes. Items are appended; SetListSelection with -1 or an index outside the
// list clears the selection (and returns false for the latter). None of these notify.
int AddListString(HWND dialog, int id, const char* text);  // index of the new item
bool ResetListContent(HWND dialog, int id);
int GetListCount(HWND dialog, int id);
bool SetListSelection(HWND dialog, int id, int index);
int GetListSelection(HWND dialog, int id);  // -1 when nothing is selected
std::string GetListString(HWND dialog, int id, int index);

// Trackbars: positions are kept inside the range. Default range 0..100, no ticks.
bool SetTrackbarRange(HWND dialog, int id, int minimum, int maximum);
bool SetTrackbarTickFrequency(HWND dialog, int id, int frequency);
bool SetTrackbarPosition(HWND dialog, int id, int position);
int GetTrackbarPosition(HWND dialog, int id);

// Scroll bars: positions are kept inside the range. Default range 0..100.
bool SetScrollRange(HWND dialog, int id, int minimum, int maximum);
int SetScrollPosition(HWND dialog, int id, int position);  // returns the previous position
int GetScrollPosition(HWND dialog, int id);

bool EnableDlgItem(HWND dialog, int id, bool enable);  // a disabled control is greyed
bool IsDlgItemEnabled(HWND dialog, int id);
bool ShowDlgItem(HWND dialog, int id, bool show);
bool IsDlgItemShown(HWND dialog, int id);

// Keyboard focus: a control of the dialog or one of its pages, or the dialog itself.
// SetDialogFocus gives the focus to the dialog, which hands it back to its last focused
// control (none before the first). GetDlgFocusId answers the focused control's id, 0 when none.
bool SetDlgItemFocus(HWND dialog, int id);
bool SetDialogFocus(HWND dialog);
int GetDlgFocusId(HWND dialog);

// Tab controls. TabSetSelection does not notify.
bool TabInsertItem(HWND dialog, int tabId, int index, const char* text);
int TabGetCount(HWND dialog, int tabId);
std::string TabGetItemText(HWND dialog, int tabId, int index);  // as shown; empty outside
int TabGetSelection(HWND dialog, int tabId);
bool TabSetSelection(HWND dialog, int tabId, int index);

// ---- painting ----

// Marks the dialog for painting: it receives WM_PAINT before its next frame is drawn. What it
// paints between BeginPaint and EndPaint stays on its surface (under its controls) until the
// next paint.
bool InvalidateDialog(HWND dialog);
struct PaintSurface;
PaintSurface* BeginPaint(HWND dialog);
// Draws ARGB pixels (top row first, width * height of them) at (x, y) of the dialog's client
// pixels; alpha 0 leaves the surface as it was.
void PaintPixels(PaintSurface* surface, int x, int y, int width, int height,
                 const std::uint32_t* argb);
void EndPaint(HWND dialog, PaintSurface* surface);
// The pixels of what the dialog last painted, all its PaintPixels calls in order (tests).
std::vector<std::uint32_t> PaintedPixels(HWND dialog);

// ---- keyboard hook ----

// While installed, the hook sees every key message the program takes inside a modal dialog,
// whatever has the focus, before the dialog does: code HC_ACTION, the Windows virtual-key
// code, and flags with bit 30 set when the key was already down (auto-repeat, release) and
// bit 31 set on release. A nonzero answer swallows the key.
using KeyboardHookProc = LRESULT (*)(int code, WPARAM virtualKey, LPARAM flags);
struct KeyboardHook;
using HHOOK = KeyboardHook*;
constexpr int HC_ACTION = 0;
HHOOK SetKeyboardHook(KeyboardHookProc procedure);  // null on failure
bool UnhookKeyboardHook(HHOOK hook);
// Passes the key to the hooks installed before this one; 0 when there are none.
LRESULT CallNextKeyboardHook(HHOOK hook, int code, WPARAM virtualKey, LPARAM flags);

// ---- test seams ----

// Called at the start of every frame of every modal loop with the innermost running dialog;
// tests post input (PostMessage to the main window: WM_KEYDOWN/WM_KEYUP/WM_CHAR/mouse) and
// end dialogs from here. Null removes it.
using DialogFrameHook = void (*)(HWND dialog, void* user);
void SetDialogFrameHook(DialogFrameHook hook, void* user);
// Frames drawn by modal loops since the program started.
std::uint32_t DialogFrameCount();

// A control whose text needs more room than its rectangle gives, in the dialog's pixels.
struct TextOverflow {
  int Id = -1;
  std::string Text;
  int Needed = 0;
  int Available = 0;
};
// Every control of the dialog and of its pages, shown or not, whose text would be cut: a
// static's wrapped lines beyond its height, or the text of a caption, button, check box, group
// box, list entry or the row of tabs beyond its width. Measured with each dialog's own font.
std::vector<TextOverflow> FindTextOverflows(HWND dialog);

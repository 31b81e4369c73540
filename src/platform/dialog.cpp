// Dialog creation, the modal run, controls by identifier, pages, painting and keyboard hooks.
#include "platform/dialog.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

#include "platform/dialog_internal.h"
#include "platform/translation.h"
#include "platform/relative_mouse.h"
#include "platform/window_internal.h"

struct KeyboardHook {
  int Unused = 0;
};

namespace {
std::vector<HWND> Stack;
std::uint32_t NextSerial = 1;

struct HookEntry {
  KeyboardHookProc Procedure = nullptr;
  std::unique_ptr<KeyboardHook> Handle;
};
std::vector<HookEntry> Hooks;

DialogFrameHook FrameHook = nullptr;
void* FrameHookUser = nullptr;
std::uint32_t Frames = 0;

int Scale(int units, float base, int divisor) {
  return static_cast<int>(std::lround(units * base / divisor));
}

LRESULT DialogWindowProc(HWND window, std::uint32_t message, WPARAM wParam, LPARAM lParam) {
  DialogState* state = StateOf(window);
  if (!state) return 0;
  const INT_PTR handled = state->Procedure ? state->Procedure(window, message, wParam, lParam) : 0;
  // As the desktop's default dialog handling: an unanswered close is a cancel.
  if (!handled && message == WM_CLOSE && !state->Parent)
    SendMessage(window, WM_COMMAND, CommandParam(IDCANCEL, BN_CLICKED), 0);
  return handled;
}

void MainWindowSize(HWND owner, int& width, int& height) {
  width = 640;
  height = 480;
  if (SDL_Window* sdl = SdlWindowOf(owner)) SDL_GetWindowSize(sdl, &width, &height);
}

HWND CreateDialogCore(HWND owner, const DialogTemplate& tpl, DialogProc procedure, bool page) {
  auto state = std::make_unique<DialogState>();
  state->Procedure = procedure;
  state->Caption = tpl.Caption ? Translate(tpl.Caption) : "";
  state->FontFace = tpl.FontFace ? tpl.FontFace : "IPAPGothic";
  state->FontPoints = tpl.FontPoints > 0 ? tpl.FontPoints : 9;
  state->Style = tpl.Style;
  state->Serial = NextSerial++;
  if (!EnsureDialogFont(*state)) {
    std::fprintf(stderr, "dialog \"%s\": no font for \"%s\"\n", state->Caption.c_str(),
                 state->FontFace.c_str());
    return nullptr;
  }
  state->Width = Scale(tpl.Width, state->BaseX, 4);
  state->Height = Scale(tpl.Height, state->BaseY, 8);
  for (const DialogControl& c : tpl.Controls) {
    ControlState control;
    control.Kind = c.Kind;
    control.Id = c.Id;
    // An edit holds the player's text; every other control's text is shown translated.
    control.Text = !c.Text ? "" : c.Kind == ControlKind::Edit ? c.Text : Translate(c.Text);
    control.Pixels = {Scale(c.X, state->BaseX, 4), Scale(c.Y, state->BaseY, 8),
                      Scale(c.X + c.Width, state->BaseX, 4), Scale(c.Y + c.Height, state->BaseY, 8)};
    control.Style = c.Style;
    control.Enabled = (c.Style & WS_DISABLED) == 0;
    control.Shown = (c.Style & CS_HIDDEN) == 0;
    if (c.Kind == ControlKind::Edit || c.Kind == ControlKind::ComboBox ||
        c.Kind == ControlKind::ListBox || c.Kind == ControlKind::TabControl)
      control.Text = c.Kind == ControlKind::Edit ? control.Text : "";
    state->Controls.push_back(std::move(control));
  }
  state->NeedsPaint = true;
  if (page) {
    state->Parent = owner;
    state->Shown = false;
  } else {
    int width = 0, height = 0;
    MainWindowSize(owner, width, height);
    if (tpl.Style & DS_CENTER) {
      state->X = (width - state->Width) / 2;
      state->Y = (height - state->Height - CaptionHeight(*state)) / 2 + CaptionHeight(*state);
    } else {
      state->X = Scale(tpl.X, state->BaseX, 4);
      state->Y = Scale(tpl.Y, state->BaseY, 8) + CaptionHeight(*state);
    }
  }
  DialogState* raw = state.release();
  HWND handle = CreateDialogWindow(owner, DialogWindowProc, raw);
  if (!handle) {
    delete raw;
    return nullptr;
  }
  raw->Handle = handle;
  return handle;
}

void DestroyDialog(HWND dialog) {
  DialogState* state = StateOf(dialog);
  if (!state) return;
  const std::vector<HWND> pages = state->Pages;
  DestroyWindow(dialog);  // WM_DESTROY to the dialog, then to its pages
  for (HWND page : pages) {
    DialogState* pageState = StateOf(page);
    DestroyWindow(page);
    if (pageState) {
      ReleaseDialogTextures(*pageState);
      delete pageState;
    }
  }
  ReleaseDialogTextures(*state);
  delete state;
}
}  // namespace

DialogState* StateOf(HWND dialog) { return static_cast<DialogState*>(DialogDataOf(dialog)); }

ControlState* FindControl(HWND dialog, int id) {
  DialogState* state = StateOf(dialog);
  if (!state || id == -1) return nullptr;
  for (ControlState& c : state->Controls)
    if (c.Id == id) return &c;
  return nullptr;
}

DialogState* TopLevelDialog(HWND dialog) {
  DialogState* state = StateOf(dialog);
  while (state && state->Parent) state = StateOf(state->Parent);
  return state;
}

std::vector<HWND>& DialogStack() { return Stack; }

INT_PTR DialogBoxParam(HWND owner, const DialogTemplate& tpl, DialogProc procedure, LPARAM param) {
  if (!procedure || (tpl.Style & WS_CHILD)) return -1;
  HWND dialog = CreateDialogCore(owner, tpl, procedure, false);
  if (!dialog) return -1;
  DialogState* state = StateOf(dialog);
  // The pointer is the player's again while a dialog is up (the game takes it back when it
  // next polls).
  if (Stack.empty() && RelativeMouseAcquired()) UnacquireRelativeMouse();
  Stack.push_back(dialog);
  SetDialogOverlay(true);
  state->Running = true;
  // A nonzero answer asks for the focus on the first tab stop, whatever the procedure did.
  if (SendMessage(dialog, WM_INITDIALOG, 0, param) != 0) FocusFirstTabStop(*state);
  if (!state->Ended && !QuitPending()) RunModalLoop(*state);
  const INT_PTR result = state->Ended ? state->Result : 0;
  state->Running = false;
  Stack.pop_back();
  DestroyDialog(dialog);
  if (Stack.empty()) {
    const bool quit = QuitPending();
    SetDialogOverlay(false);
    SyncTextInput(nullptr);
    ClearDialogInput();
    // The loop swallowed WM_QUIT; the main loop must still see it.
    if (quit) PostQuitMessage(QuitCode());
  } else if (!QuitPending()) {
    SendMessage(Stack.back(), WM_SETFOCUS, 0, 0);
  }
  return result;
}

bool EndDialog(HWND dialog, INT_PTR result) {
  DialogState* state = StateOf(dialog);
  if (!state || state->Parent) return false;
  state->Ended = true;
  state->Result = result;
  return true;
}

HWND CreateDialogParam(HWND parent, const DialogTemplate& tpl, DialogProc procedure, LPARAM param) {
  DialogState* parentState = StateOf(parent);
  if (!parentState || !procedure) return nullptr;
  HWND page = CreateDialogCore(parent, tpl, procedure, true);
  if (!page) return nullptr;
  parentState->Pages.push_back(page);
  SendMessage(page, WM_INITDIALOG, 0, param);
  return page;
}

bool MapDialogRect(HWND dialog, DialogRect& rect) {
  DialogState* state = StateOf(dialog);
  if (!state) return false;
  rect = {Scale(rect.Left, state->BaseX, 4), Scale(rect.Top, state->BaseY, 8),
          Scale(rect.Right, state->BaseX, 4), Scale(rect.Bottom, state->BaseY, 8)};
  return true;
}

bool GetTabDisplayRect(HWND dialog, int tabId, DialogRect& rect) {
  ControlState* tab = FindControl(dialog, tabId);
  DialogState* state = StateOf(dialog);
  if (!tab || tab->Kind != ControlKind::TabControl) return false;
  const int header = static_cast<int>(state->BaseY) + 8;
  rect = {tab->Pixels.Left + 3, tab->Pixels.Top + header + 2, tab->Pixels.Right - 3,
          tab->Pixels.Bottom - 3};
  return true;
}

bool SetDialogPosition(HWND page, int x, int y) {
  DialogState* state = StateOf(page);
  if (!state) return false;
  state->X = x;
  state->Y = y;
  return true;
}

bool ShowDialog(HWND page, bool show) {
  DialogState* state = StateOf(page);
  if (!state) return false;
  if (show && !state->Shown) state->NeedsPaint = true;
  state->Shown = show;
  return true;
}

bool IsDialogShown(HWND page) {
  DialogState* state = StateOf(page);
  return state && state->Shown;
}

bool GetDialogClientRect(HWND dialog, DialogRect& rect) {
  DialogState* state = StateOf(dialog);
  if (!state) return false;
  rect = {0, 0, state->Width, state->Height};
  return true;
}

bool GetDlgItemWindowRect(HWND dialog, int id, DialogRect& rect) {
  ControlState* control = FindControl(dialog, id);
  if (!control) return false;
  int x = 0, y = 0;
  for (DialogState* s = StateOf(dialog); s; s = StateOf(s->Parent)) {
    x += s->X;
    y += s->Y;
  }
  rect = {control->Pixels.Left + x, control->Pixels.Top + y, control->Pixels.Right + x,
          control->Pixels.Bottom + y};
  return true;
}

bool SetDlgItemText(HWND dialog, int id, const char* text) {
  ControlState* control = FindControl(dialog, id);
  if (!control) return false;
  control->Text = !text ? "" : control->Kind == ControlKind::Edit ? text : Translate(text);
  ++control->Version;
  return true;
}

std::string GetDlgItemText(HWND dialog, int id) {
  ControlState* control = FindControl(dialog, id);
  return control ? control->Text : std::string();
}

bool CheckDlgButton(HWND dialog, int id, bool checked) {
  ControlState* control = FindControl(dialog, id);
  if (!control) return false;
  control->Checked = checked;
  return true;
}

bool IsDlgButtonChecked(HWND dialog, int id) {
  ControlState* control = FindControl(dialog, id);
  return control && control->Checked;
}

namespace {
ControlState* FindList(HWND dialog, int id) {
  ControlState* control = FindControl(dialog, id);
  if (!control || (control->Kind != ControlKind::ComboBox && control->Kind != ControlKind::ListBox))
    return nullptr;
  return control;
}
ControlState* FindKind(HWND dialog, int id, ControlKind kind) {
  ControlState* control = FindControl(dialog, id);
  return control && control->Kind == kind ? control : nullptr;
}
}  // namespace

int AddListString(HWND dialog, int id, const char* text) {
  ControlState* list = FindList(dialog, id);
  if (!list) return -1;
  list->Items.emplace_back(text ? Translate(text) : "");
  return static_cast<int>(list->Items.size()) - 1;
}

bool ResetListContent(HWND dialog, int id) {
  ControlState* list = FindList(dialog, id);
  if (!list) return false;
  list->Items.clear();
  list->Selection = -1;
  return true;
}

int GetListCount(HWND dialog, int id) {
  ControlState* list = FindList(dialog, id);
  return list ? static_cast<int>(list->Items.size()) : -1;
}

bool SetListSelection(HWND dialog, int id, int index) {
  ControlState* list = FindList(dialog, id);
  if (!list) return false;
  const bool valid = index >= 0 && index < static_cast<int>(list->Items.size());
  list->Selection = valid ? index : -1;
  return valid || index == -1;
}

int GetListSelection(HWND dialog, int id) {
  ControlState* list = FindList(dialog, id);
  return list ? list->Selection : -1;
}

std::string GetListString(HWND dialog, int id, int index) {
  ControlState* list = FindList(dialog, id);
  if (!list || index < 0 || index >= static_cast<int>(list->Items.size())) return {};
  return list->Items[index];
}

namespace {
bool SetRange(ControlState* control, int minimum, int maximum) {
  if (!control) return false;
  control->Minimum = std::min(minimum, maximum);
  control->Maximum = std::max(minimum, maximum);
  control->Position = std::clamp(control->Position, control->Minimum, control->Maximum);
  return true;
}
}  // namespace

bool SetTrackbarRange(HWND dialog, int id, int minimum, int maximum) {
  return SetRange(FindKind(dialog, id, ControlKind::Trackbar), minimum, maximum);
}

bool SetTrackbarTickFrequency(HWND dialog, int id, int frequency) {
  ControlState* bar = FindKind(dialog, id, ControlKind::Trackbar);
  if (!bar) return false;
  bar->TickFrequency = std::max(frequency, 0);
  return true;
}

bool SetTrackbarPosition(HWND dialog, int id, int position) {
  ControlState* bar = FindKind(dialog, id, ControlKind::Trackbar);
  if (!bar) return false;
  bar->Position = std::clamp(position, bar->Minimum, bar->Maximum);
  return true;
}

int GetTrackbarPosition(HWND dialog, int id) {
  ControlState* bar = FindKind(dialog, id, ControlKind::Trackbar);
  return bar ? bar->Position : -1;
}

bool SetScrollRange(HWND dialog, int id, int minimum, int maximum) {
  return SetRange(FindKind(dialog, id, ControlKind::ScrollBar), minimum, maximum);
}

int SetScrollPosition(HWND dialog, int id, int position) {
  ControlState* bar = FindKind(dialog, id, ControlKind::ScrollBar);
  if (!bar) return -1;
  const int previous = bar->Position;
  bar->Position = std::clamp(position, bar->Minimum, bar->Maximum);
  return previous;
}

int GetScrollPosition(HWND dialog, int id) {
  ControlState* bar = FindKind(dialog, id, ControlKind::ScrollBar);
  return bar ? bar->Position : -1;
}

bool EnableDlgItem(HWND dialog, int id, bool enable) {
  ControlState* control = FindControl(dialog, id);
  if (!control) return false;
  control->Enabled = enable;
  return true;
}

bool IsDlgItemEnabled(HWND dialog, int id) {
  ControlState* control = FindControl(dialog, id);
  return control && control->Enabled;
}

bool ShowDlgItem(HWND dialog, int id, bool show) {
  ControlState* control = FindControl(dialog, id);
  if (!control) return false;
  control->Shown = show;
  return true;
}

bool IsDlgItemShown(HWND dialog, int id) {
  ControlState* control = FindControl(dialog, id);
  return control && control->Shown;
}

bool SetDlgItemFocus(HWND dialog, int id) {
  ControlState* control = FindControl(dialog, id);
  DialogState* top = TopLevelDialog(dialog);
  if (!control || !top) return false;
  top->FocusDialog = dialog;
  top->FocusId = id;
  top->FocusByKeyboard = true;
  return true;
}

bool SetDialogFocus(HWND dialog) {
  DialogState* top = TopLevelDialog(dialog);
  if (!top) return false;
  // As on the desktop, a dialog taking the focus gives it back to its last focused control.
  if (top->FocusId != 0 && FindControl(top->FocusDialog, top->FocusId)) return true;
  top->FocusDialog = top->Handle;
  top->FocusId = 0;
  return true;
}

int GetDlgFocusId(HWND dialog) {
  DialogState* top = TopLevelDialog(dialog);
  if (!top || top->FocusId == 0) return 0;
  if (top->FocusDialog == dialog) return top->FocusId;
  // Asked of the top-level: a control of one of its pages counts too.
  if (dialog == top->Handle) return top->FocusId;
  return 0;
}

bool TabInsertItem(HWND dialog, int tabId, int index, const char* text) {
  ControlState* tab = FindKind(dialog, tabId, ControlKind::TabControl);
  if (!tab || index < 0) return false;
  index = std::min(index, static_cast<int>(tab->Items.size()));
  tab->Items.insert(tab->Items.begin() + index, text ? Translate(text) : "");
  if (tab->Selection < 0) tab->Selection = 0;
  else if (index <= tab->Selection && tab->Items.size() > 1) ++tab->Selection;
  return true;
}

int TabGetCount(HWND dialog, int tabId) {
  ControlState* tab = FindKind(dialog, tabId, ControlKind::TabControl);
  return tab ? static_cast<int>(tab->Items.size()) : -1;
}

std::string TabGetItemText(HWND dialog, int tabId, int index) {
  ControlState* tab = FindKind(dialog, tabId, ControlKind::TabControl);
  if (!tab || index < 0 || index >= static_cast<int>(tab->Items.size())) return "";
  return tab->Items[static_cast<std::size_t>(index)];
}

int TabGetSelection(HWND dialog, int tabId) {
  ControlState* tab = FindKind(dialog, tabId, ControlKind::TabControl);
  return tab ? tab->Selection : -1;
}

bool TabSetSelection(HWND dialog, int tabId, int index) {
  ControlState* tab = FindKind(dialog, tabId, ControlKind::TabControl);
  if (!tab || index < 0 || index >= static_cast<int>(tab->Items.size())) return false;
  tab->Selection = index;
  return true;
}

bool InvalidateDialog(HWND dialog) {
  DialogState* state = StateOf(dialog);
  if (!state) return false;
  state->NeedsPaint = true;
  return true;
}

PaintSurface* BeginPaint(HWND dialog) {
  DialogState* state = StateOf(dialog);
  if (!state) return nullptr;
  state->NeedsPaint = false;
  auto* surface = new PaintSurface;
  surface->Dialog = dialog;
  return surface;
}

void PaintPixels(PaintSurface* surface, int x, int y, int width, int height, const std::uint32_t* argb) {
  if (!surface || !argb || width <= 0 || height <= 0) return;
  PaintedImage image;
  image.X = x;
  image.Y = y;
  image.Width = width;
  image.Height = height;
  image.Argb.assign(argb, argb + static_cast<std::size_t>(width) * height);
  surface->Images.push_back(std::move(image));
}

std::vector<std::uint32_t> PaintedPixels(HWND dialog) {
  std::vector<std::uint32_t> pixels;
  if (const DialogState* state = StateOf(dialog))
    for (const PaintedImage& image : state->Painted) pixels.insert(pixels.end(), image.Argb.begin(), image.Argb.end());
  return pixels;
}

void EndPaint(HWND dialog, PaintSurface* surface) {
  DialogState* state = StateOf(dialog);
  if (state && surface && surface->Dialog == dialog) {
    ReleaseDialogTextures(*state);
    state->Painted = std::move(surface->Images);
  }
  delete surface;
}

HHOOK SetKeyboardHook(KeyboardHookProc procedure) {
  if (!procedure) return nullptr;
  HookEntry entry;
  entry.Procedure = procedure;
  entry.Handle = std::make_unique<KeyboardHook>();
  HHOOK handle = entry.Handle.get();
  Hooks.push_back(std::move(entry));
  return handle;
}

bool UnhookKeyboardHook(HHOOK hook) {
  for (auto it = Hooks.begin(); it != Hooks.end(); ++it)
    if (it->Handle.get() == hook) {
      Hooks.erase(it);
      return true;
    }
  return false;
}

namespace {
// Calls the hooks installed before position `below` (newest first), as a chain.
LRESULT CallHooksBelow(std::size_t below, int code, WPARAM key, LPARAM flags) {
  if (below == 0 || below > Hooks.size()) return 0;
  return Hooks[below - 1].Procedure(code, key, flags);
}
}  // namespace

LRESULT CallNextKeyboardHook(HHOOK hook, int code, WPARAM key, LPARAM flags) {
  for (std::size_t i = 0; i < Hooks.size(); ++i)
    if (Hooks[i].Handle.get() == hook) return CallHooksBelow(i, code, key, flags);
  return 0;
}

LRESULT RunKeyboardHooks(WPARAM key, LPARAM flags) {
  return CallHooksBelow(Hooks.size(), HC_ACTION, key, flags);
}

void SetDialogFrameHook(DialogFrameHook hook, void* user) {
  FrameHook = hook;
  FrameHookUser = user;
}

DialogFrameHook CurrentFrameHook(void*& user) {
  user = FrameHookUser;
  return FrameHook;
}

void CountDialogFrame() { ++Frames; }

std::uint32_t DialogFrameCount() { return Frames; }

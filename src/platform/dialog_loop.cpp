// The modal loop: messages to their windows, input to the innermost dialog, frames on demand.
#include <chrono>
#include <deque>

#include "platform/dialog_internal.h"
#include "platform/dialog_pad.h"
#include "platform/window_internal.h"

namespace {
struct InputEvent {
  std::uint32_t Id = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  std::uint32_t Pump = 0;
};

std::deque<InputEvent> Input;
bool Quit = false;
int QuitExitCode = 0;
std::uint32_t PumpSerial = 0;
std::uint32_t CommitPump = 0;
bool Composing = false;
bool Shift = false, Control = false;
int WaitedForEdit = 0;

struct Pending {
  HWND Dialog = nullptr;
  std::uint32_t Message = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  NotifyHeader Header;
};
std::vector<Pending> Notifications;

using Clock = std::chrono::steady_clock;

bool IsInput(std::uint32_t id) {
  switch (id) {
    case WM_KEYDOWN: case WM_KEYUP: case WM_CHAR: case WM_IME_COMPOSITION:
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_RBUTTONDOWN: case WM_RBUTTONUP:
    case WM_MOUSEMOVE: case WM_MOUSEWHEEL:
      return true;
    default:
      return false;
  }
}

// The dialog or shown page under a point of the main window, for WM_MOUSEMOVE.
HWND DialogAt(DialogState& top, int x, int y, int& clientX, int& clientY) {
  for (HWND page : top.Pages) {
    DialogState* p = StateOf(page);
    if (!p || !p->Shown) continue;
    const int left = top.X + p->X, upper = top.Y + p->Y;
    if (x >= left && y >= upper && x < left + p->Width && y < upper + p->Height) {
      clientX = x - left;
      clientY = y - upper;
      return page;
    }
  }
  if (x >= top.X && y >= top.Y && x < top.X + top.Width && y < top.Y + top.Height) {
    clientX = x - top.X;
    clientY = y - top.Y;
    return top.Handle;
  }
  return nullptr;
}

bool ButtonConflict(std::uint32_t id, unsigned& changed) {
  const unsigned bit = (id == WM_LBUTTONDOWN || id == WM_LBUTTONUP) ? 1u : 2u;
  if (changed & bit) return true;
  changed |= bit;
  return false;
}

// Hands ImGui one frame's worth of input: never a press and release of the same key or
// button in one frame (ImGui 1.86 would lose it), and typed characters apart from keys.
void FeedOneFrame(DialogState& top) {
  bool keySeen = false, charsSeen = false;
  unsigned buttons = 0;
  while (!Input.empty() && !top.Ended && !Quit) {
    const InputEvent e = Input.front();
    // While a field is still taking the focus (ImGui needs a frame or two), text and clicks
    // wait: text would be lost, and the field would take a click's press from its control.
    if (e.Id != WM_MOUSEMOVE && e.Id != WM_MOUSEWHEEL && e.Id != WM_IME_COMPOSITION &&
        !FocusedEditReady(top) && WaitedForEdit < 4) {
      ++WaitedForEdit;
      return;
    }
    WaitedForEdit = 0;
    switch (e.Id) {
      case WM_MOUSEMOVE: {
        // ImGui has one pointer position a frame: a press or release keeps its own.
        if (buttons) return;
        const int x = PointParamX(e.LParam), y = PointParamY(e.LParam);
        FeedMouse(x, y);
        int cx = 0, cy = 0;
        if (HWND under = DialogAt(top, x, y, cx, cy)) {
          Input.pop_front();
          SendMessage(under, WM_MOUSEMOVE, 0, MakePointParam(cx, cy));
          continue;
        }
        break;
      }
      case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_RBUTTONDOWN: case WM_RBUTTONUP:
        if (ButtonConflict(e.Id, buttons)) return;
        FeedMouse(PointParamX(e.LParam), PointParamY(e.LParam));
        FeedMouseButton(e.Id == WM_LBUTTONDOWN || e.Id == WM_LBUTTONUP ? 0 : 1,
                        e.Id == WM_LBUTTONDOWN || e.Id == WM_RBUTTONDOWN);
        break;
      case WM_MOUSEWHEEL:
        FeedMouseWheel(static_cast<std::int16_t>(HighWord(e.WParam)) / 120.0f);
        break;
      case WM_CHAR:
        if (keySeen) return;
        FeedCharacter(static_cast<std::uint32_t>(e.WParam));
        charsSeen = true;
        break;
      case WM_IME_COMPOSITION:
        if (Composing && e.WParam == 0) CommitPump = e.Pump;
        Composing = e.WParam != 0;
        break;
      case WM_KEYDOWN: case WM_KEYUP: {
        if (keySeen || charsSeen) return;
        keySeen = true;
        Input.pop_front();
        const bool down = e.Id == WM_KEYDOWN;
        const auto key = static_cast<std::uint32_t>(e.WParam);
        if (RunKeyboardHooks(e.WParam, e.LParam) != 0) continue;
        if (key == 0x10) Shift = down;
        if (key == 0x11) Control = down;
        const bool repeat = down && (e.LParam & (1 << 30)) != 0;
        // An Enter that finishes a composition belongs to the input method.
        const bool composing = Composing || CommitPump == e.Pump;
        if (!HandleDialogKey(top, key, down, repeat, Shift, Control, DialogPopupOpen(), composing))
          FeedKey(key, down);
        DeliverNotifications();
        continue;
      }
      default:
        break;
    }
    Input.pop_front();
  }
}

void SendPaints() {
  for (HWND dialog : DialogStack()) {
    DialogState* top = StateOf(dialog);
    if (!top) continue;
    std::vector<HWND> targets{dialog};
    targets.insert(targets.end(), top->Pages.begin(), top->Pages.end());
    for (HWND target : targets) {
      DialogState* s = StateOf(target);
      if (s && s->Shown && s->NeedsPaint) {
        s->NeedsPaint = false;
        SendMessage(target, WM_PAINT, 0, 0);
      }
    }
  }
}

void RunFrame(DialogState& top) {
  SendPaints();
  DrawDialogFrame();
  CountDialogFrame();
  DeliverNotifications();
  KeepFocusValid(top);
  SyncTextInput(&top);
}
}  // namespace

void QueueNotification(HWND dialog, std::uint32_t message, WPARAM wParam, LPARAM lParam) {
  Pending p;
  p.Dialog = dialog;
  p.Message = message;
  p.WParam = wParam;
  p.LParam = lParam;
  if (message == WM_NOTIFY) p.Header = {dialog, LowWord(wParam), static_cast<std::uint32_t>(lParam)};
  Notifications.push_back(p);
}

void DeliverNotifications() {
  std::vector<Pending> now;
  now.swap(Notifications);
  for (Pending& p : now) {
    if (!IsWindowAlive(p.Dialog)) continue;
    const LPARAM lParam = p.Message == WM_NOTIFY ? reinterpret_cast<LPARAM>(&p.Header) : p.LParam;
    SendMessage(p.Dialog, p.Message, p.WParam, lParam);
  }
}

bool QuitPending() { return Quit; }
int QuitCode() { return QuitExitCode; }

void ClearDialogInput() {
  ResetDialogInputState();
  Input.clear();
  Notifications.clear();
  Quit = false;
  Composing = false;
  Shift = Control = false;
}

void RunModalLoop(DialogState& dialog) {
  auto lastFrame = Clock::now() - std::chrono::seconds(1);
  bool dirty = true;
  // ImGui places input by the last frame's windows: the dialog is laid out before any input.
  RunFrame(dialog);
  ForgetDialogPad();
  while (!dialog.Ended && !Quit) {
    void* user = nullptr;
    if (DialogFrameHook hook = CurrentFrameHook(user)) hook(DialogStack().back(), user);
    ++PumpSerial;
    Message message;
    while (!dialog.Ended && PeekMessage(message)) {
      if (message.Id == WM_QUIT) {
        Quit = true;
        QuitExitCode = static_cast<int>(message.WParam);
        break;
      }
      // The owner chain is disabled: its input belongs to the dialog.
      if (!DialogDataOf(message.Window) && message.Window && IsInput(message.Id)) {
        NoteDialogKey(message.Id, message.WParam);
        Input.push_back({message.Id, message.WParam, message.LParam, PumpSerial});
        continue;
      }
      DispatchMessage(message);
      dirty = true;
    }
    if (Quit) {
      for (HWND open : DialogStack()) EndDialog(open, 0);
      break;
    }
    if (!dialog.Ended && FeedPadToDialog(dialog)) dirty = true;
    bool framed = false;
    while (!Input.empty() && !dialog.Ended && !Quit) {
      FeedOneFrame(dialog);
      if (dialog.Ended || Quit) break;
      RunFrame(dialog);
      framed = true;
    }
    const bool byInput = framed;
    if (dialog.Ended || Quit) break;
    const auto now = Clock::now();
    // Frames come with input; otherwise a few a second keep the caret blinking.
    if (!framed && (dirty || now - lastFrame > std::chrono::milliseconds(250))) {
      RunFrame(dialog);
      framed = true;
    }
    if (framed) {
      PresentDialogs();
      lastFrame = now;
    }
    // What the procedures did with this frame's notifications shows in the next one.
    dirty = byInput;
    WaitMessage(framed ? 16 : 50);
  }
}

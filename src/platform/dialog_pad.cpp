// The pads in dialogs: they walk the focus, change lists and sliders and press, through the keyboard's own handling.
#include "platform/dialog_pad.h"

#include <cstdlib>

#include "platform/clock.h"
#include "platform/dialog_internal.h"
#include "platform/input/pad.h"

namespace {
constexpr std::uint32_t KeyTab = 9, KeyEnter = 13, KeyEscape = 27, KeySpace = 32;
constexpr std::uint32_t KeyLeft = 37, KeyRight = 39;
constexpr int StickPress = 16384;  // half a stick's travel counts as the D-pad
constexpr std::uint32_t RepeatDelay = 400, RepeatInterval = 100;

enum Direction { Up, Down, Left, Right, DirectionCount };

struct Held {
  bool Down = false;
  std::uint32_t Next = 0;  // clock time of the next repeat
};
Held Directions[DirectionCount];

void Press(DialogState& top, std::uint32_t key, bool down, bool shift = false, bool control = false) {
  HandleDialogKey(top, key, down, false, shift, control, DialogPopupOpen(), false);
  DeliverNotifications();
}

// From a push button, the nearest push button of the same dialog that way (a grid of keys is
// walked as it is drawn); null when there is none and the tab order steps instead.
ControlState* ButtonToward(DialogState& top, Direction d) {
  ControlState* from = top.FocusId ? FindControl(top.FocusDialog, top.FocusId) : nullptr;
  DialogState* owner = StateOf(top.FocusDialog);
  if (!from || !owner || from->Kind != ControlKind::PushButton) return nullptr;
  const auto centre = [](const ControlState& c, bool x) {
    return x ? (c.Pixels.Left + c.Pixels.Right) / 2 : (c.Pixels.Top + c.Pixels.Bottom) / 2;
  };
  ControlState* best = nullptr;
  long bestScore = 0;
  for (ControlState& c : owner->Controls) {
    if (&c == from || c.Kind != ControlKind::PushButton || !c.Enabled || !c.Shown || !(c.Style & WS_TABSTOP)) continue;
    const long dx = centre(c, true) - centre(*from, true), dy = centre(c, false) - centre(*from, false);
    const long along = d == Up ? -dy : d == Down ? dy : d == Left ? -dx : dx;
    const long across = d == Up || d == Down ? std::labs(dx) : std::labs(dy);
    if (along <= 0) continue;
    const long score = along + 3 * across;  // stay in the row or column when one is there
    if (!best || score < bestScore) {
      best = &c;
      bestScore = score;
    }
  }
  return best;
}

void Move(DialogState& top, Direction d, bool down) {
  if (ControlState* to = ButtonToward(top, d)) {
    if (down) {
      top.FocusId = to->Id;
      top.FocusByKeyboard = true;
    }
    return;
  }
  switch (d) {
    case Up: if (down) Press(top, KeyTab, true, true); break;
    case Down: if (down) Press(top, KeyTab, true); break;
    case Left: Press(top, KeyLeft, down); break;
    case Right: Press(top, KeyRight, down); break;
    default: break;
  }
}

// A: presses the focused button or ticks the box; anywhere else it is Enter, the default button.
void Accept(DialogState& top) {
  ControlState* c = top.FocusId ? FindControl(top.FocusDialog, top.FocusId) : nullptr;
  const bool pressable = c && c->Enabled && (c->Kind == ControlKind::PushButton || c->Kind == ControlKind::CheckBox);
  Press(top, pressable ? KeySpace : KeyEnter, true);
  Press(top, pressable ? KeySpace : KeyEnter, false);
}

bool DirectionHeld(const PadState& pad, Direction d) {
  switch (d) {
    case Up: return pad.Buttons[PadUp] || pad.Axes[PadLeftY] <= -StickPress;
    case Down: return pad.Buttons[PadDown] || pad.Axes[PadLeftY] >= StickPress;
    case Left: return pad.Buttons[PadLeft] || pad.Axes[PadLeftX] <= -StickPress;
    case Right: return pad.Buttons[PadRight] || pad.Axes[PadLeftX] >= StickPress;
    default: return false;
  }
}
}  // namespace

bool FeedPadToDialog(DialogState& top) {
  UpdatePads();
  bool acted = false;
  PadEvent e;
  while (!top.Ended && TakePadEvent(e)) {
    if (!e.Down) continue;
    acted = true;
    switch (e.Button) {
      case PadA: Accept(top); break;
      case PadB: Press(top, KeyEscape, true); Press(top, KeyEscape, false); break;
      case PadLeftShoulder: Press(top, KeyTab, true, true, true); break;
      case PadRightShoulder: Press(top, KeyTab, true, false, true); break;
      default: acted = false; break;
    }
  }
  // The D-pad and the left stick step, and repeat while held.
  const PadState& pad = CurrentPads();
  const std::uint32_t now = TimeGetTime();
  for (int d = 0; d < DirectionCount && !top.Ended; ++d) {
    Held& h = Directions[d];
    const bool held = DirectionHeld(pad, static_cast<Direction>(d));
    if (held && h.Next == 0 && h.Down) continue;  // held since the dialog opened
    if (held && (!h.Down || static_cast<std::int32_t>(now - h.Next) >= 0)) {
      h.Next = now + (h.Down ? RepeatInterval : RepeatDelay);
      h.Down = true;
      Move(top, static_cast<Direction>(d), true);
      acted = true;
    } else if (!held && h.Down) {
      const bool stepped = h.Next != 0;
      h = Held{};
      if (stepped) Move(top, static_cast<Direction>(d), false);
      acted = acted || stepped;
    }
  }
  return acted;
}

void ForgetDialogPad() {
  UpdatePads();
  for (int d = 0; d < DirectionCount; ++d) Directions[d] = Held{DirectionHeld(CurrentPads(), static_cast<Direction>(d)), 0};
}

// Keyboard navigation of dialogs as on the desktop, and the control actions it shares with the mouse.
#include <algorithm>

#include "platform/dialog_internal.h"

namespace {
constexpr std::uint32_t KeyTab = 9, KeyEnter = 13, KeyEscape = 27, KeySpace = 32;
constexpr std::uint32_t KeyPageUp = 33, KeyPageDown = 34, KeyEnd = 35, KeyHome = 36;
constexpr std::uint32_t KeyLeft = 37, KeyUp = 38, KeyRight = 39, KeyDown = 40;

bool Focusable(const ControlState& c) {
  return (c.Style & WS_TABSTOP) && c.Enabled && c.Shown && c.Id != -1;
}

bool IsMoveKey(std::uint32_t key) {
  return key == KeyLeft || key == KeyUp || key == KeyRight || key == KeyDown || key == KeyPageUp ||
         key == KeyPageDown || key == KeyHome || key == KeyEnd;
}

void MoveFocus(DialogState& top, int step) {
  const std::vector<TabStop> order = TabOrder(top);
  if (order.empty()) return;
  int at = -1;
  for (std::size_t i = 0; i < order.size(); ++i)
    if (order[i].Dialog == top.FocusDialog && order[i].Id == top.FocusId) at = static_cast<int>(i);
  const int n = static_cast<int>(order.size());
  const int next = at < 0 ? (step > 0 ? 0 : n - 1) : ((at + step) % n + n) % n;
  top.FocusDialog = order[next].Dialog;
  top.FocusId = order[next].Id;
  top.FocusByKeyboard = true;
}

ControlState* FirstTabControl(DialogState& top) {
  for (ControlState& c : top.Controls)
    if (c.Kind == ControlKind::TabControl && c.Shown && c.Enabled) return &c;
  return nullptr;
}

ControlState* DefaultButton(DialogState& top, HWND& owner) {
  auto find = [](DialogState& d) -> ControlState* {
    for (ControlState& c : d.Controls)
      if (c.Kind == ControlKind::PushButton && (c.Style & BS_DEFPUSHBUTTON) && c.Enabled && c.Shown)
        return &c;
    return nullptr;
  };
  if (ControlState* c = find(top)) {
    owner = top.Handle;
    return c;
  }
  for (HWND page : top.Pages) {
    DialogState* p = StateOf(page);
    if (!p || !p->Shown) continue;
    if (ControlState* c = find(*p)) {
      owner = page;
      return c;
    }
  }
  return nullptr;
}

bool MoveInRange(HWND dialog, ControlState& c, std::uint32_t key) {
  const bool trackbar = c.Kind == ControlKind::Trackbar;
  const int page = std::max(1, (c.Maximum - c.Minimum) / 5);
  int position = c.Position, code = 0;
  switch (key) {
    case KeyLeft: case KeyUp: position -= 1; code = trackbar ? TB_LINEUP : SB_LINELEFT; break;
    case KeyRight: case KeyDown: position += 1; code = trackbar ? TB_LINEDOWN : SB_LINERIGHT; break;
    case KeyPageUp: position -= page; code = trackbar ? TB_PAGEUP : SB_PAGELEFT; break;
    case KeyPageDown: position += page; code = trackbar ? TB_PAGEDOWN : SB_PAGERIGHT; break;
    case KeyHome: position = c.Minimum; code = trackbar ? TB_TOP : SB_LEFT; break;
    case KeyEnd: position = c.Maximum; code = trackbar ? TB_BOTTOM : SB_RIGHT; break;
    default: return false;
  }
  if (trackbar) {
    MoveTrackbar(dialog, c, position, code);
  } else {
    // A scroll bar only reports; its dialog moves it.
    QueueNotification(dialog, WM_HSCROLL, CommandParam(code, 0), c.Id);
  }
  return true;
}

bool MoveInList(HWND dialog, ControlState& c, std::uint32_t key) {
  const int count = static_cast<int>(c.Items.size());
  if (count == 0) return true;
  int index = c.Selection;
  switch (key) {
    case KeyLeft: case KeyUp: index = index < 0 ? 0 : index - 1; break;
    case KeyRight: case KeyDown: index = index + 1; break;
    case KeyPageUp: index -= 8; break;
    case KeyPageDown: index += 8; break;
    case KeyHome: index = 0; break;
    case KeyEnd: index = count - 1; break;
    default: return false;
  }
  index = std::clamp(index, 0, count - 1);
  if (index != c.Selection) SelectListItem(dialog, c, index);
  return true;
}
}  // namespace

std::vector<TabStop> TabOrder(DialogState& top) {
  std::vector<TabStop> order;
  bool pagesAdded = false;
  // Pages sit in the tab order right after their tab control.
  auto addPages = [&] {
    pagesAdded = true;
    for (HWND page : top.Pages) {
      DialogState* p = StateOf(page);
      if (!p || !p->Shown) continue;
      for (const ControlState& c : p->Controls)
        if (Focusable(c)) order.push_back({page, c.Id});
    }
  };
  for (const ControlState& c : top.Controls) {
    if (Focusable(c)) order.push_back({top.Handle, c.Id});
    if (c.Kind == ControlKind::TabControl && !pagesAdded) addPages();
  }
  if (!pagesAdded) addPages();
  return order;
}

void FocusFirstTabStop(DialogState& top) {
  const std::vector<TabStop> order = TabOrder(top);
  top.FocusDialog = order.empty() ? top.Handle : order.front().Dialog;
  top.FocusId = order.empty() ? 0 : order.front().Id;
  top.FocusByKeyboard = true;
}

void KeepFocusValid(DialogState& top) {
  if (top.FocusId == 0) return;
  DialogState* owner = StateOf(top.FocusDialog);
  ControlState* c = FindControl(top.FocusDialog, top.FocusId);
  const bool visible = owner && (owner == &top || owner->Shown);
  if (c && c->Enabled && c->Shown && visible) return;
  // The focused control went away (a page was switched, a control disabled): the tab
  // control keeps the focus if there is one, as on the desktop.
  if (ControlState* tab = FirstTabControl(top); tab && Focusable(*tab)) {
    top.FocusDialog = top.Handle;
    top.FocusId = tab->Id;
    return;
  }
  FocusFirstTabStop(top);
}

bool HandleDialogKey(DialogState& top, std::uint32_t key, bool down, bool repeat, bool shift,
                     bool control, bool popupOpen, bool composing) {
  ControlState* focused = top.FocusId ? FindControl(top.FocusDialog, top.FocusId) : nullptr;
  HWND owner = top.FocusDialog;
  const bool inEdit = focused && focused->Kind == ControlKind::Edit;
  if (!down) {
    if (focused && !inEdit && IsMoveKey(key)) {
      if (focused->Kind == ControlKind::Trackbar)
        QueueNotification(owner, WM_HSCROLL, CommandParam(TB_ENDTRACK, focused->Position), focused->Id);
      else if (focused->Kind == ControlKind::ScrollBar)
        QueueNotification(owner, WM_HSCROLL, CommandParam(SB_ENDSCROLL, 0), focused->Id);
    }
    return key == KeyTab || key == KeyEnter || key == KeyEscape;
  }
  switch (key) {
    case KeyTab:
      if (control) {
        if (ControlState* tab = FirstTabControl(top); tab && !tab->Items.empty()) {
          const int n = static_cast<int>(tab->Items.size());
          SelectTab(top.Handle, *tab, ((tab->Selection + (shift ? -1 : 1)) % n + n) % n);
        }
      } else {
        MoveFocus(top, shift ? -1 : 1);
      }
      return true;
    case KeyEnter: {
      if (repeat || composing || popupOpen) return true;
      if (focused && focused->Kind == ControlKind::PushButton && focused->Enabled) {
        PressButton(owner, *focused);
        return true;
      }
      HWND defaultOwner = nullptr;
      if (ControlState* button = DefaultButton(top, defaultOwner)) PressButton(defaultOwner, *button);
      else QueueNotification(top.Handle, WM_COMMAND, CommandParam(IDOK, BN_CLICKED), 0);
      return true;
    }
    case KeyEscape:
      if (repeat || composing) return true;
      if (popupOpen) CloseDialogPopup();
      else QueueNotification(top.Handle, WM_COMMAND, CommandParam(IDCANCEL, BN_CLICKED), 0);
      return true;
    default:
      break;
  }
  if (!focused || inEdit || !focused->Enabled) return false;
  if (key == KeySpace) {
    if (repeat) return true;
    if (focused->Kind == ControlKind::PushButton) PressButton(owner, *focused);
    else if (focused->Kind == ControlKind::CheckBox) ToggleCheck(owner, *focused);
    else return false;
    return true;
  }
  if (!IsMoveKey(key)) return false;
  switch (focused->Kind) {
    case ControlKind::Trackbar:
    case ControlKind::ScrollBar:
      return MoveInRange(owner, *focused, key);
    case ControlKind::ComboBox:
    case ControlKind::ListBox:
      return !popupOpen && MoveInList(owner, *focused, key);
    case ControlKind::TabControl:
      if (key == KeyLeft || key == KeyRight) {
        const int index = focused->Selection + (key == KeyLeft ? -1 : 1);
        if (index >= 0 && index < static_cast<int>(focused->Items.size()))
          SelectTab(owner, *focused, index);
      }
      return true;
    case ControlKind::PushButton:
    case ControlKind::CheckBox:
      if (key == KeyLeft || key == KeyUp) MoveFocus(top, -1);
      else if (key == KeyRight || key == KeyDown) MoveFocus(top, 1);
      return true;
    default:
      return false;
  }
}

void PressButton(HWND dialog, ControlState& control) {
  QueueNotification(dialog, WM_COMMAND, CommandParam(control.Id, BN_CLICKED), 0);
}

void ToggleCheck(HWND dialog, ControlState& control) {
  control.Checked = !control.Checked;
  QueueNotification(dialog, WM_COMMAND, CommandParam(control.Id, BN_CLICKED), 0);
}

void SelectListItem(HWND dialog, ControlState& control, int index) {
  control.Selection = index;
  QueueNotification(dialog, WM_COMMAND, CommandParam(control.Id, CBN_SELCHANGE), 0);
}

void SelectTab(HWND dialog, ControlState& control, int index) {
  control.Selection = index;
  QueueNotification(dialog, WM_NOTIFY, static_cast<WPARAM>(control.Id), static_cast<LPARAM>(TCN_SELCHANGE));
}

void MoveTrackbar(HWND dialog, ControlState& control, int position, int code) {
  control.Position = std::clamp(position, control.Minimum, control.Maximum);
  QueueNotification(dialog, WM_HSCROLL, CommandParam(code, control.Position), control.Id);
}

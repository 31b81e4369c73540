// Key capture: the "KeySet" window takes the first fresh key press through a keyboard hook.
#include "dialogs/key_names.h"
#include "dialogs/settings_pages.h"
#include "dialogs/settings_templates.h"
#include "persist/port_texts.h"
#include "persist/settings_record.h"
#include "platform/input/pad.h"

namespace {
HWND CaptureDialog = nullptr;
HHOOK CaptureHook = nullptr;

constexpr std::uint32_t KeyEscape = 27;
constexpr LPARAM KeyWasDown = LPARAM{1} << 30;

void RemoveHook() {
  if (CaptureHook) UnhookKeyboardHook(CaptureHook);
  CaptureHook = nullptr;
}

LRESULT CaptureHookProc(int code, WPARAM virtualKey, LPARAM flags) {
  if (code < 0) return CallNextKeyboardHook(CaptureHook, code, virtualKey, flags);
  // A repeat or a release: a key held when the window opened counts only when pressed again.
  if (flags & KeyWasDown) return 0;
  RemoveHook();
  const auto key = static_cast<std::uint32_t>(virtualKey);
  SettingsRecord& s = Settings;
  if (key == KeyEscape) {
    s.KeyCaptureSlot = -1;
  } else if (IsRefusedKey(key)) {
    MessageBox(CaptureDialog, "無効なキーです", "警告", MB_OK);
    s.KeyCaptureSlot = -1;
  } else if (s.KeyCaptureSlot >= 1 && s.KeyCaptureSlot <= KeyBindingCount) {
    s.KeyBindings[s.KeyCaptureSlot - 1] = key;
    s.KeyCaptureSlot = 0;
  }
  PostMessage(CaptureDialog, WM_CLOSE, 0, 0);
  return 0;
}

void CancelCapture(HWND dialog) {
  if (Settings.KeyCaptureSlot != 0) {
    RemoveHook();
    Settings.KeyCaptureSlot = -1;
  }
  EndDialog(dialog, 1);
}

INT_PTR KeySetProc(HWND dialog, std::uint32_t message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      SetDialogFocus(dialog);
      // A pad's buttons are not keys: the window says so, and B cancels (IDCANCEL below).
      if (CurrentPads().Connected > 0) SetDlgItemText(dialog, IdKeySetNote, KeySetPadNote);
      CaptureDialog = dialog;
      CaptureHook = SetKeyboardHook(CaptureHookProc);
      if (!CaptureHook || Settings.KeyCaptureSlot == 0) {
        RemoveHook();
        MessageBox(dialog, "キー変更できません。", "警告", MB_OK);
        // Nothing was captured: the preset stays as it was.
        Settings.KeyCaptureSlot = -1;
        EndDialog(dialog, 1);
      }
      return 0;
    case WM_COMMAND:
      if (LowWord(wParam) == IDCANCEL) CancelCapture(dialog);
      return 1;
    case WM_CLOSE:
      CancelCapture(dialog);
      return 1;
    case WM_DESTROY:
      RemoveHook();
      CaptureDialog = nullptr;
      return 1;
    default:
      return 0;
  }
}
}  // namespace

void RunKeyCapture(HWND owner) {
  if (DialogBoxParam(owner, KeySetTemplate, KeySetProc, 0) == -1) {
    RemoveHook();
    Settings.KeyCaptureSlot = -1;
  }
}

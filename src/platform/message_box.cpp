// Message boxes through SDL's native boxes; tests capture them instead.
#include "platform/message_box.h"

#include <SDL.h>

#include <cstdio>
#include <deque>
#include <string>

#include "platform/message_box_internal.h"
#include "platform/translation.h"
#include "platform/window_internal.h"

namespace {
// Shown again when closed without a button; past this, the box is taken as not showable.
constexpr int MostShowings = 20;
NativeMessageBox ShowNative = SDL_ShowMessageBox;
bool Capturing = false;
std::deque<int> Answers;
std::vector<ShownMessageBox> Captured;

int DefaultAnswer(std::uint32_t type) { return (type & 0xF) == MB_YESNO ? IDYES : IDOK; }

std::uint32_t IconFlags(std::uint32_t type) {
  if ((type & 0xF0) == MB_ICONERROR) return SDL_MESSAGEBOX_ERROR;
  if ((type & 0xF0) == MB_ICONWARNING) return SDL_MESSAGEBOX_WARNING;
  return SDL_MESSAGEBOX_INFORMATION;
}
}  // namespace

int MessageBox(HWND owner, const char* text, const char* caption, std::uint32_t type) {
  // The game names its texts in Japanese; the box shows them in the player's language.
  text = Translate(text);
  caption = Translate(caption);
  if (Capturing) {
    Captured.push_back({text ? text : "", caption ? caption : "", type, owner != nullptr, owner});
    if (Answers.empty()) return DefaultAnswer(type);
    int answer = Answers.front();
    Answers.pop_front();
    return answer;
  }

  const bool yesNo = (type & 0xF) == MB_YESNO;
  SDL_MessageBoxButtonData buttons[2];
  int count = 0;
  if (yesNo) {
    buttons[count++] = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDYES, Translate("はい")};
    buttons[count++] = {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDNO, Translate("いいえ")};
  } else {
    buttons[count++] = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT |
                            SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT,
                        IDOK, "OK"};
  }
  SDL_MessageBoxData data{};
  data.flags = IconFlags(type);
  data.window = owner ? SdlWindowOf(owner) : nullptr;
  data.title = caption ? caption : "";
  data.message = text ? text : "";
  data.numbuttons = count;
  data.buttons = buttons;
  // Each box is named on standard error, so a run can be followed from its log.
  const std::string message = data.message;
  std::fprintf(stderr, "Korvid: message box \"%s\": %s\n", data.title,
               message.substr(0, message.find('\n')).c_str());
  // A box closed by the window manager, with no button, is shown again: as on the desktop,
  // a box the player has seen is answered only by one of its buttons.
  for (int showing = 0; showing < MostShowings; ++showing) {
    int pressed = -1;
    if (ShowNative(&data, &pressed) != 0) break;
    if (pressed >= 0) return pressed;
  }
  // No way to ask (no display at all): report on the terminal and take the default.
  SDL_Log("%s: %s (no answer; taking the default button)", data.title, data.message);
  return DefaultAnswer(type);
}

NativeMessageBox SetNativeMessageBox(NativeMessageBox show) {
  NativeMessageBox previous = ShowNative;
  ShowNative = show ? show : SDL_ShowMessageBox;
  return previous;
}

void BeginMessageBoxCapture() {
  Capturing = true;
  Answers.clear();
  Captured.clear();
}

void QueueMessageBoxAnswer(int answer) { Answers.push_back(answer); }

const std::vector<ShownMessageBox>& CapturedMessageBoxes() { return Captured; }

void EndMessageBoxCapture() {
  Capturing = false;
  Answers.clear();
}

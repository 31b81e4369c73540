// Message boxes through SDL's native boxes; tests capture them instead.
#include "platform/message_box.h"

#include <SDL.h>

#include <deque>

#include "platform/translation.h"
#include "platform/window_internal.h"

namespace {
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
  int pressed = -1;
  if (SDL_ShowMessageBox(&data, &pressed) != 0 || pressed < 0) {
    // No way to ask (no display at all): report on the terminal and take the default.
    SDL_Log("%s: %s", data.title, data.message);
    return DefaultAnswer(type);
  }
  return pressed;
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

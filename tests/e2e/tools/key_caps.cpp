// Sets a keyboard layout, presses keys on the X server by keycode (XTest) into the game's own
// main window and prints, for each, the virtual-key code the window received and the name the
// keys page gives it.
//
//   e2e_key_caps LAYOUT KEYCODE...   one line "KEYCODE CODE NAME" per key, in order
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "dialogs/key_names.h"
#include "platform/window.h"

// X's own Window type under another name: the platform has one too.
#define Window XWindow
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#undef Window

namespace {
std::vector<std::uint32_t> Codes;

LRESULT RecordKeys(HWND w, std::uint32_t m, WPARAM wp, LPARAM lp) {
  if (m == WM_KEYDOWN) Codes.push_back(static_cast<std::uint32_t>(wp));
  return DefWindowProc(w, m, wp, lp);
}

// Dispatches messages for a while.
void Pump(int milliseconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (std::chrono::steady_clock::now() < end) {
    Message m;
    while (PeekMessage(m)) DispatchMessage(m);
    usleep(5000);
  }
}
}  // namespace

int main(int argc, char** argv) {
  // The connection is held first: a server with no client left resets, layout and all.
  Display* display = XOpenDisplay(nullptr);
  if (argc < 2 || !display || !RegisterWindowClass("Main Window", RecordKeys)) return 2;
  const std::string layout = std::string("setxkbmap ") + argv[1];
  if (std::system(layout.c_str()) != 0) return 2;
  HWND window = CreateMainWindow("Main Window", "Korvid");
  if (!window) return 2;
  Pump(1500);  // mapped and focused
  int failures = 0;
  for (int i = 2; i < argc; ++i) {
    const unsigned keycode = static_cast<unsigned>(std::atoi(argv[i]));
    Codes.clear();
    XTestFakeKeyEvent(display, keycode, True, 0);
    XTestFakeKeyEvent(display, keycode, False, 0);
    XFlush(display);
    Pump(300);
    if (Codes.size() != 1) {
      std::printf("%u none\n", keycode);
      ++failures;
      continue;
    }
    std::printf("%u %u %s\n", keycode, Codes[0], KeyName(Codes[0]));
  }
  XCloseDisplay(display);
  return failures == 0 ? 0 : 1;
}

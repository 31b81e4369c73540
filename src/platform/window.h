// The main window and its message queue, in the game's Windows-style vocabulary.
#pragma once

#include <cstdint>

struct Window;
using HWND = Window*;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using WindowProc = LRESULT (*)(HWND window, std::uint32_t message, WPARAM wParam, LPARAM lParam);

enum : std::uint32_t {
  WM_DESTROY = 0x0002,
  WM_ACTIVATE = 0x0006,
  WM_PAINT = 0x000F,
  WM_CLOSE = 0x0010,
  WM_QUIT = 0x0012,
  WM_KEYDOWN = 0x0100,
  WM_KEYUP = 0x0101,
  WM_CHAR = 0x0102,             // wParam: a Unicode code point of typed text
  WM_IME_COMPOSITION = 0x010F,  // wParam: 1 while an input method composes, 0 when it ends
  WM_TIMER = 0x0113,
  WM_MOUSEMOVE = 0x0200,
  WM_LBUTTONDOWN = 0x0201,
  WM_LBUTTONUP = 0x0202,
  WM_RBUTTONDOWN = 0x0204,
  WM_RBUTTONUP = 0x0205,
  WM_MOUSEWHEEL = 0x020A,  // high word of wParam: signed motion, 120 per notch, forward positive
};

constexpr WPARAM WA_INACTIVE = 0;
constexpr WPARAM WA_ACTIVE = 1;

struct Message {
  HWND Window = nullptr;
  std::uint32_t Id = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
};

// Packs client coordinates the way mouse messages carry them: x low word, y high word.
constexpr LPARAM MakePointParam(int x, int y) {
  return static_cast<LPARAM>((static_cast<std::uint32_t>(x) & 0xFFFFu) |
                             ((static_cast<std::uint32_t>(y) & 0xFFFFu) << 16));
}
constexpr int PointParamX(LPARAM p) { return static_cast<std::int16_t>(p & 0xFFFF); }
constexpr int PointParamY(LPARAM p) { return static_cast<std::int16_t>((p >> 16) & 0xFFFF); }

// Registers the procedure that receives the messages of windows of this class.
bool RegisterWindowClass(const char* className, WindowProc procedure);

// Creates the borderless window covering the screen, shown and on top; null on failure.
HWND CreateMainWindow(const char* className, const char* title);

// Sends WM_DESTROY to the window's procedure and closes it; false if it is already gone.
bool DestroyWindow(HWND window);

// Takes the next message for any window, pumping the display server's events first.
bool PeekMessage(Message& message);

// Blocks until a message or display event may be waiting, or the timeout passes.
void WaitMessage(std::uint32_t timeoutMilliseconds);

// Hands a message to its window's procedure (a message for no window is dropped).
LRESULT DispatchMessage(const Message& message);

// Calls the window's procedure at once, as a sent message.
LRESULT SendMessage(HWND window, std::uint32_t message, WPARAM wParam, LPARAM lParam);

// Queues a message; safe to call from any thread.
bool PostMessage(HWND window, std::uint32_t message, WPARAM wParam, LPARAM lParam);

// Queues WM_QUIT carrying the exit code.
void PostQuitMessage(int exitCode);

// Default handling: WM_CLOSE destroys the window; everything else is ignored.
LRESULT DefWindowProc(HWND window, std::uint32_t message, WPARAM wParam, LPARAM lParam);

// Moves the system cursor to client coordinates and delivers the matching WM_MOUSEMOVE.
void SetCursorPos(int x, int y);

// Display counter as on Windows: the cursor shows while the counter is 0 or more.
int ShowCursor(bool show);

// Size of the screen in pixels.
int ScreenPixelWidth();
int ScreenPixelHeight();

// True while the window has the input focus.
bool WindowHasFocus(HWND window);

// Drops every queued message and forgets registered classes and windows (tests).
void ResetWindowSystem();

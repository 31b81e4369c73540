// The main window and the message queue: SDL events become Windows-style messages.
#include "platform/window.h"

#include <SDL.h>

#include <bitset>
#include <cstdlib>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/relative_mouse.h"
#include "platform/virtual_keys.h"
#include "platform/window_internal.h"

struct Window {
  SDL_Window* Sdl = nullptr;
  WindowProc Procedure = nullptr;
  bool Alive = false;
  // Dialogs have no display window: they are drawn inside their owner chain's top window.
  HWND Owner = nullptr;
  void* DialogData = nullptr;
};

namespace {
std::map<std::string, WindowProc> Classes;
std::vector<std::unique_ptr<Window>> Windows;
std::mutex QueueLock;
std::deque<Message> Queue;
int CursorCounter = 0;
std::string Composition;
bool Composing = false;

std::bitset<256> DialogHeldKeys;

// True for every press and the release of a key whose press a dialog took. Only the release
// frees the key: under X11 a repeat can arrive unmarked, as a fresh press.
bool LeftOverDialogKey(const Message& message) {
  if (message.Id != WM_KEYDOWN && message.Id != WM_KEYUP) return false;
  const std::size_t key = message.WParam & 0xFF;
  if (!DialogHeldKeys[key]) return false;
  if (message.Id == WM_KEYUP) DialogHeldKeys[key] = false;
  return true;
}

struct PendingWarp {
  bool Active = false;
  int X = 0;
  int Y = 0;
} Warp;

bool EnsureVideo() {
  if (SDL_WasInit(SDL_INIT_VIDEO)) return true;
  // Long compositions arrive whole; the input method shows its own candidate list.
  SDL_SetHint(SDL_HINT_IME_SUPPORT_EXTENDED_TEXT, "1");
  SDL_SetHint(SDL_HINT_IME_SHOW_UI, "1");
  return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
}

HWND WindowFromSdlId(std::uint32_t id) {
  SDL_Window* sdl = SDL_GetWindowFromID(id);
  for (auto& w : Windows)
    if (w->Alive && w->Sdl == sdl) return w.get();
  return nullptr;
}

HWND FirstLiveWindow() {
  for (auto& w : Windows)
    if (w->Alive && !w->DialogData) return w.get();
  return nullptr;
}

void Enqueue(HWND window, std::uint32_t id, WPARAM wParam, LPARAM lParam) {
  std::lock_guard<std::mutex> hold(QueueLock);
  Queue.push_back(Message{window, id, wParam, lParam});
}

HWND TextTarget(std::uint32_t windowId) {
  HWND target = WindowFromSdlId(windowId);
  return target ? target : FirstLiveWindow();
}

void SetComposition(HWND target, const char* text) {
  const std::string now = text ? text : "";
  const bool composing = !now.empty();
  if (now == Composition && composing == Composing) return;
  Composition = now;
  Composing = composing;
  if (target) Enqueue(target, WM_IME_COMPOSITION, composing ? 1 : 0, 0);
}

void EnqueueText(HWND target, const char* text) {
  if (!target || !text) return;
  // Committed text ends any composition before its characters arrive.
  SetComposition(target, "");
  const auto* p = reinterpret_cast<const unsigned char*>(text);
  while (*p) {
    const unsigned char c = *p++;
    int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    std::uint32_t cp = c < 0x80 ? c : (c & (0x3F >> extra));
    while (extra-- > 0 && (*p & 0xC0) == 0x80) cp = (cp << 6) | (*p++ & 0x3F);
    Enqueue(target, WM_CHAR, cp, 0);
  }
}

LPARAM KeyParam(const SDL_KeyboardEvent& key, bool down) {
  std::uint32_t bits = 1u | ((static_cast<std::uint32_t>(key.keysym.scancode) & 0xFF) << 16);
  if (down && key.repeat) bits |= 1u << 30;
  if (!down) bits |= (1u << 30) | (1u << 31);
  return static_cast<LPARAM>(bits);
}

void TranslateEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      HWND target = WindowFromSdlId(event.key.windowID);
      if (!target) target = FirstLiveWindow();
      std::uint32_t code = VirtualKeyFromSdl(event.key.keysym);
      if (!target || code == 0) return;
      const bool down = event.type == SDL_KEYDOWN;
      Enqueue(target, down ? WM_KEYDOWN : WM_KEYUP, code, KeyParam(event.key, down));
      return;
    }
    case SDL_MOUSEMOTION: {
      if (Warp.Active && event.motion.x == Warp.X && event.motion.y == Warp.Y) {
        // The echo of our own warp: already delivered by SetCursorPos, and no real motion.
        Warp.Active = false;
        return;
      }
      AddMouseMotion(event.motion.xrel, event.motion.yrel);
      HWND target = WindowFromSdlId(event.motion.windowID);
      if (target)
        Enqueue(target, WM_MOUSEMOVE, 0, MakePointParam(event.motion.x, event.motion.y));
      return;
    }
    case SDL_MOUSEWHEEL: {
      int notches = event.wheel.y;
      if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
      AddMouseWheel(notches * 120);
      if (HWND target = WindowFromSdlId(event.wheel.windowID); target && notches != 0)
        Enqueue(target, WM_MOUSEWHEEL, (static_cast<WPARAM>(notches * 120) & 0xFFFFu) << 16, 0);
      return;
    }
    case SDL_TEXTINPUT:
      EnqueueText(TextTarget(event.text.windowID), event.text.text);
      return;
    case SDL_TEXTEDITING:
      SetComposition(TextTarget(event.edit.windowID), event.edit.text);
      return;
    case SDL_TEXTEDITING_EXT:
      SetComposition(TextTarget(event.editExt.windowID), event.editExt.text);
      SDL_free(event.editExt.text);
      return;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      const bool down = event.type == SDL_MOUSEBUTTONDOWN;
      int index = -1;
      std::uint32_t id = 0;
      switch (event.button.button) {
        case SDL_BUTTON_LEFT: index = 0; id = down ? WM_LBUTTONDOWN : WM_LBUTTONUP; break;
        case SDL_BUTTON_RIGHT: index = 1; id = down ? WM_RBUTTONDOWN : WM_RBUTTONUP; break;
        case SDL_BUTTON_MIDDLE: index = 2; break;
        case SDL_BUTTON_X1: index = 3; break;
        default: break;
      }
      if (index >= 0) SetMouseButton(index, down);
      HWND target = WindowFromSdlId(event.button.windowID);
      if (target && id != 0)
        Enqueue(target, id, down ? (index == 0 ? 0x1 : 0x2) : 0,
                MakePointParam(event.button.x, event.button.y));
      return;
    }
    case SDL_WINDOWEVENT: {
      HWND target = WindowFromSdlId(event.window.windowID);
      if (!target) return;
      switch (event.window.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED: Enqueue(target, WM_ACTIVATE, WA_ACTIVE, 0); break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
          LoseRelativeMouse();
          Enqueue(target, WM_ACTIVATE, WA_INACTIVE, 0);
          break;
        case SDL_WINDOWEVENT_EXPOSED: Enqueue(target, WM_PAINT, 0, 0); break;
        case SDL_WINDOWEVENT_CLOSE: Enqueue(target, WM_CLOSE, 0, 0); break;
        default: break;
      }
      return;
    }
    case SDL_QUIT: {
      // The session asks the program to end (window manager, Ctrl+C): close as the game does.
      if (HWND target = FirstLiveWindow()) Enqueue(target, WM_CLOSE, 0, 0);
      return;
    }
    default: return;
  }
}
}  // namespace

SDL_Window* SdlWindowOf(HWND window) {
  // A dialog answers with the display window of its owner chain (message box parents).
  while (window && window->Alive && !window->Sdl) window = window->Owner;
  return window && window->Alive ? window->Sdl : nullptr;
}

HWND CreateDialogWindow(HWND owner, WindowProc procedure, void* data) {
  if (!procedure || !data) return nullptr;
  auto window = std::make_unique<Window>();
  window->Procedure = procedure;
  window->Alive = true;
  window->Owner = owner;
  window->DialogData = data;
  Windows.push_back(std::move(window));
  return Windows.back().get();
}

void* DialogDataOf(HWND window) { return window && window->Alive ? window->DialogData : nullptr; }

HWND TopLevelOf(HWND window) {
  while (window && window->Alive && !window->Sdl) window = window->Owner;
  return window && window->Alive ? window : nullptr;
}

bool IsWindowAlive(HWND window) {
  for (auto& w : Windows)
    if (w.get() == window) return w->Alive;
  return false;
}

const std::string& CompositionText() { return Composition; }
bool CompositionActive() { return Composing; }

bool RegisterWindowClass(const char* className, WindowProc procedure) {
  if (!className || !procedure) return false;
  Classes[className] = procedure;
  return true;
}

HWND CreateMainWindow(const char* className, const char* title) {
  auto found = Classes.find(className ? className : "");
  if (found == Classes.end()) return nullptr;
  // The window manager sees the class name as the window's class.
  setenv("SDL_VIDEO_X11_WMCLASS", className, 0);
  if (!EnsureVideo()) return nullptr;

  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  // Scenes render into the device's own back buffer, which has the depth buffer; the window
  // only receives finished frames and dialogs, so it needs none (a software driver would
  // otherwise hold a screen-sized one for nothing).
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);

  SDL_Window* sdl = SDL_CreateWindow(title, 0, 0, ScreenPixelWidth(), ScreenPixelHeight(),
                                     SDL_WINDOW_BORDERLESS | SDL_WINDOW_OPENGL |
                                         SDL_WINDOW_SHOWN | SDL_WINDOW_ALLOW_HIGHDPI);
  if (!sdl) return nullptr;
  SDL_RaiseWindow(sdl);
  // Typed text is wanted only while a dialog's edit field has the focus: an input method left
  // on would take the game's keys.
  SDL_StopTextInput();
  auto window = std::make_unique<Window>();
  window->Sdl = sdl;
  window->Procedure = found->second;
  window->Alive = true;
  Windows.push_back(std::move(window));
  return Windows.back().get();
}

bool DestroyWindow(HWND window) {
  if (!window || !window->Alive) return false;
  if (window->Procedure) window->Procedure(window, WM_DESTROY, 0, 0);
  window->Alive = false;
  window->DialogData = nullptr;
  if (window->Sdl) SDL_DestroyWindow(window->Sdl);
  window->Sdl = nullptr;
  return true;
}

bool PeekMessage(Message& message) {
  if (SDL_WasInit(SDL_INIT_VIDEO)) {
    SDL_Event event;
    while (SDL_PollEvent(&event)) TranslateEvent(event);
  }
  std::lock_guard<std::mutex> hold(QueueLock);
  if (Queue.empty()) return false;
  message = Queue.front();
  Queue.pop_front();
  return true;
}

void WaitMessage(std::uint32_t timeoutMilliseconds) {
  {
    std::lock_guard<std::mutex> hold(QueueLock);
    if (!Queue.empty()) return;
  }
  if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_WaitEventTimeout(nullptr, static_cast<int>(timeoutMilliseconds));
}

LRESULT DispatchMessage(const Message& message) {
  if (!message.Window || !message.Window->Alive || !message.Window->Procedure) return 0;
  if (!message.Window->DialogData && LeftOverDialogKey(message)) return 0;
  return message.Window->Procedure(message.Window, message.Id, message.WParam, message.LParam);
}

LRESULT SendMessage(HWND window, std::uint32_t message, WPARAM wParam, LPARAM lParam) {
  return DispatchMessage(Message{window, message, wParam, lParam});
}

bool PostMessage(HWND window, std::uint32_t message, WPARAM wParam, LPARAM lParam) {
  if (!window) return false;
  Enqueue(window, message, wParam, lParam);
  return true;
}

void PostQuitMessage(int exitCode) {
  Enqueue(nullptr, WM_QUIT, static_cast<WPARAM>(exitCode), 0);
}

LRESULT DefWindowProc(HWND window, std::uint32_t message, WPARAM, LPARAM) {
  if (message == WM_CLOSE) DestroyWindow(window);
  return 0;
}

void SetCursorPos(int x, int y) {
  HWND target = FirstLiveWindow();
  if (SDL_Window* sdl = SdlWindowOf(target); sdl && CanWarpPointer()) {
    Warp = PendingWarp{true, x, y};
    SDL_WarpMouseInWindow(sdl, x, y);
  }
  if (target) Enqueue(target, WM_MOUSEMOVE, 0, MakePointParam(x, y));
}

int ShowCursor(bool show) {
  CursorCounter += show ? 1 : -1;
  if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_ShowCursor(CursorCounter >= 0 ? SDL_ENABLE : SDL_DISABLE);
  return CursorCounter;
}

int ScreenPixelWidth() {
  SDL_DisplayMode mode;
  if (EnsureVideo() && SDL_GetDesktopDisplayMode(0, &mode) == 0) return mode.w;
  return 640;
}

int ScreenPixelHeight() {
  SDL_DisplayMode mode;
  if (EnsureVideo() && SDL_GetDesktopDisplayMode(0, &mode) == 0) return mode.h;
  return 480;
}

bool WindowHasFocus(HWND window) {
  SDL_Window* sdl = SdlWindowOf(window);
  return sdl && (SDL_GetWindowFlags(sdl) & SDL_WINDOW_INPUT_FOCUS) != 0;
}

void NoteDialogKey(std::uint32_t message, WPARAM key) {
  if (message == WM_KEYDOWN) DialogHeldKeys[key & 0xFF] = true;
  if (message == WM_KEYUP) DialogHeldKeys[key & 0xFF] = false;
}

void ResetWindowSystem() {
  DialogHeldKeys.reset();
  for (auto& w : Windows)
    if (w->Alive && w->Sdl) SDL_DestroyWindow(w->Sdl);
  Windows.clear();
  Classes.clear();
  std::lock_guard<std::mutex> hold(QueueLock);
  Queue.clear();
  Warp = PendingWarp{};
  CursorCounter = 0;
  Composition.clear();
  Composing = false;
}

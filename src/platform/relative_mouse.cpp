// The relative mouse: motion, wheel and buttons gathered by the event pump between polls.
#include "platform/relative_mouse.h"

#include <SDL.h>

#include <mutex>

namespace {
std::mutex Lock;
bool Acquired = false;
MouseSnapshot Pending;
std::uint8_t Held[4] = {};
}  // namespace

bool AcquireRelativeMouse() {
  std::lock_guard<std::mutex> hold(Lock);
  SDL_Window* focus = SDL_WasInit(SDL_INIT_VIDEO) ? SDL_GetKeyboardFocus() : nullptr;
  if (SDL_WasInit(SDL_INIT_VIDEO) && !focus) return false;
  Acquired = true;
  Pending = MouseSnapshot{};
  // Where the display server cannot warp the pointer, SDL's relative mode carries the motion.
  if (focus && !CanWarpPointer()) SDL_SetRelativeMouseMode(SDL_TRUE);
  return true;
}

bool CanWarpPointer() {
  const char* driver = SDL_WasInit(SDL_INIT_VIDEO) ? SDL_GetCurrentVideoDriver() : nullptr;
  return !driver || SDL_strcmp(driver, "wayland") != 0;
}

void UnacquireRelativeMouse() {
  std::lock_guard<std::mutex> hold(Lock);
  Acquired = false;
  if (SDL_WasInit(SDL_INIT_VIDEO) && SDL_GetRelativeMouseMode()) SDL_SetRelativeMouseMode(SDL_FALSE);
}

bool RelativeMouseAcquired() {
  std::lock_guard<std::mutex> hold(Lock);
  return Acquired;
}

bool PollRelativeMouse(MouseSnapshot& snapshot) {
  std::lock_guard<std::mutex> hold(Lock);
  if (!Acquired) return false;
  snapshot = Pending;
  for (int i = 0; i < 4; ++i) snapshot.Buttons[i] = Held[i];
  Pending = MouseSnapshot{};
  return true;
}

void AddMouseMotion(std::int32_t dx, std::int32_t dy) {
  std::lock_guard<std::mutex> hold(Lock);
  if (!Acquired) return;
  Pending.DeltaX += dx;
  Pending.DeltaY += dy;
}

void AddMouseWheel(std::int32_t delta) {
  std::lock_guard<std::mutex> hold(Lock);
  if (!Acquired) return;
  Pending.Wheel += delta;
}

void SetMouseButton(int index, bool down) {
  std::lock_guard<std::mutex> hold(Lock);
  if (index >= 0 && index < 4) Held[index] = down ? 0x80 : 0;
}

void LoseRelativeMouse() {
  std::lock_guard<std::mutex> hold(Lock);
  Acquired = false;
  Pending = MouseSnapshot{};
  for (auto& b : Held) b = 0;
  // A window in the background must not keep the pointer captured.
  if (SDL_WasInit(SDL_INIT_VIDEO) && SDL_GetRelativeMouseMode()) SDL_SetRelativeMouseMode(SDL_FALSE);
}

void AcquireRelativeMouseForTests() {
  std::lock_guard<std::mutex> hold(Lock);
  Acquired = true;
  Pending = MouseSnapshot{};
}

// The relative mouse: motion, wheel and buttons accumulated between polls.
#pragma once

#include <cstdint>

struct MouseSnapshot {
  std::int32_t DeltaX = 0;
  std::int32_t DeltaY = 0;
  std::int32_t Wheel = 0;       // 120 per notch, forward positive
  std::uint8_t Buttons[4] = {};  // 0x80 while held: left, right, middle, fourth
};

// Starts delivering relative motion; false while the window is not active.
bool AcquireRelativeMouse();
void UnacquireRelativeMouse();
bool RelativeMouseAcquired();

// Moves what has accumulated since the last poll into `snapshot`; false when not acquired
// (the caller re-acquires), leaving `snapshot` untouched.
bool PollRelativeMouse(MouseSnapshot& snapshot);

// False where the display server does not let a program move the pointer (Wayland).
bool CanWarpPointer();

// Fed by the event pump (and by tests).
void AddMouseMotion(std::int32_t dx, std::int32_t dy);
void AddMouseWheel(std::int32_t delta);
void SetMouseButton(int index, bool down);
void LoseRelativeMouse();  // focus lost: the next poll fails until re-acquired

// Test seam: acquired whatever holds the keyboard focus (a headless window never gets it).
void AcquireRelativeMouseForTests();

// MouseInput: the relative mouse read once per update step (motion, wheel, buttons).
#pragma once

#include <cstdint>

#include "platform/relative_mouse.h"

struct MouseInput {
  bool DirectInput = false;  // the mouse service is open
  bool MouseDevice = false;  // the system mouse is set up
  MouseSnapshot MouseState;  // last snapshot: DeltaX, DeltaY, Wheel, Buttons (0x80 = down)

  // Tests set this to the number (1..6) of a set-up step that should fail, to see its report.
  int FailStepForTest = 0;

  ~MouseInput();

  // Six set-up steps, each failure reported with this file's name and line; then acquires.
  bool InitMouse();
  // One snapshot; hands the buttons and the wheel to the match. Re-acquires when input is lost.
  void PollMouse();
  void ReleaseMouse();
};

extern MouseInput Mouse;

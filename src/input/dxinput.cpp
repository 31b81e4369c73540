// MouseInput: set-up with its error reports, the per-step poll and release.
#include "input/dxinput.h"

#include <cstdio>

#include "app/app_globals.h"
#include "app/demo_run.h"
#include "platform/message_box.h"
#include "world/game_world.h"

MouseInput Mouse;

namespace {

struct SetupStep {
  int Line;
  const char* Message;
};

// Lines and messages of the reports, by set-up step 1..6.
constexpr SetupStep SetupSteps[6] = {
    {47, "DirectInput8オブジェクトの作成に失敗"},
    {55, "DirectInputDevice8オブジェクトの作成に失敗"},
    {62, "c_dfDIMouse2形式の設定に失敗"},
    {69, "フォアグラウンド＆非排他モードの設定に失敗"},
    {83, "軸モードの設定に失敗"},
    {91, "バッファ・サイズの設定に失敗"},
};

constexpr std::uint32_t FailureCode = 0x80004005u;  // generic failure
constexpr std::uint32_t InvalidParameterCode = 0x80070057u;

// The error trace: source file, line, result code and what failed, shown in a message box.
void ReportSetupFailure(int step, std::uint32_t code) {
  const SetupStep& s = SetupSteps[step - 1];
  char text[256];
  std::snprintf(text, sizeof text, "dxinput(%d): %s\nhr=0x%08X", s.Line, s.Message,
                static_cast<unsigned>(code));
  MessageBox(nullptr, text, "エラー", MB_OK | MB_ICONERROR);
}

}  // namespace

MouseInput::~MouseInput() { ReleaseMouse(); }

bool MouseInput::InitMouse() {
  for (int step = 1; step <= 6; ++step) {
    std::uint32_t code = 0;
    if (FailStepForTest == step) code = FailureCode;
    // Foreground cooperation needs the window the mouse belongs to.
    if (step == 4 && MainWindow == nullptr) code = InvalidParameterCode;
    if (code != 0) {
      ReportSetupFailure(step, code);
      return false;
    }
    if (step == 1) DirectInput = true;
    if (step == 2) {
      MouseDevice = true;
      MouseState = MouseSnapshot{};
    }
  }
  // May fail while the window is in the background; the first poll re-acquires.
  AcquireRelativeMouse();
  return true;
}

void MouseInput::PollMouse() {
  if (!PollRelativeMouse(MouseState)) {
    AcquireRelativeMouse();
    // Nothing was read: acting on the previous snapshot again would repeat its wheel turn and
    // re-latch its buttons, so a lost poll reads as no input.
    MouseState = MouseSnapshot{};
  }
  DemoMousePolled(MouseState);
  World.OnMouseButtons();
  World.OnMouseWheel();
}

void MouseInput::ReleaseMouse() {
  if (MouseDevice) {
    UnacquireRelativeMouse();
    MouseDevice = false;
  }
  DirectInput = false;
}

// The virtual test pad (SDL's virtual joystick) and the FIFO whose lines drive it.
#include <SDL.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sstream>

#include "platform/input/pad.h"
#include "platform/input/pad_internal.h"

namespace {
SDL_Joystick* TestJoystick = nullptr;
std::uint16_t LastRumble = 0;
int FifoRead = -1;
int FifoKeepOpen = -1;  // our own writer: the FIFO never reads as ended between writers
std::string FifoPending;

int SDLCALL RecordRumble(void*, Uint16 low, Uint16) {
  LastRumble = low;
  return 0;
}

SDL_JoystickID TestInstance() { return TestJoystick ? SDL_JoystickInstanceID(TestJoystick) : -1; }

int DeviceIndexOf(SDL_JoystickID instance) {
  for (int i = 0; i < SDL_NumJoysticks(); ++i)
    if (SDL_JoystickGetDeviceInstanceID(i) == instance) return i;
  return -1;
}
}  // namespace

bool AttachTestPad() {
  if (TestJoystick) return true;
  if (!SDL_WasInit(SDL_INIT_GAMECONTROLLER)) return false;
  SDL_VirtualJoystickDesc desc;
  SDL_zero(desc);
  desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
  desc.naxes = PadAxisCount;
  desc.nbuttons = PadButtonCount;
  // Joystick button and axis n are the controller's button and axis n.
  desc.button_mask = (1u << PadButtonCount) - 1;
  desc.axis_mask = (1u << PadAxisCount) - 1;
  desc.name = "Korvid test pad";
  desc.Rumble = RecordRumble;
  const int index = SDL_JoystickAttachVirtualEx(&desc);
  if (index < 0) {
    std::fprintf(stderr, "korvid: the test pad could not be attached: %s\n", SDL_GetError());
    return false;
  }
  TestJoystick = SDL_JoystickOpen(index);
  if (!TestJoystick) {
    SDL_JoystickDetachVirtual(index);
    return false;
  }
  // A trigger at rest is the joystick axis at its minimum.
  SDL_JoystickSetVirtualAxis(TestJoystick, PadLeftTrigger, SDL_JOYSTICK_AXIS_MIN);
  SDL_JoystickSetVirtualAxis(TestJoystick, PadRightTrigger, SDL_JOYSTICK_AXIS_MIN);
  return true;
}

bool DetachTestPad() {
  if (!TestJoystick) return false;
  const int index = DeviceIndexOf(TestInstance());
  SDL_JoystickClose(TestJoystick);
  TestJoystick = nullptr;
  return index >= 0 && SDL_JoystickDetachVirtual(index) == 0;
}

bool TestPadAttached() { return TestJoystick != nullptr; }

bool SetTestPadAxis(PadAxis axis, int value) {
  if (!TestJoystick || axis < 0 || axis >= PadAxisCount) return false;
  if (axis == PadLeftTrigger || axis == PadRightTrigger) {
    // The controller reads a trigger's joystick axis from its minimum (0) to its maximum.
    value = std::max(0, std::min(value, 32767)) * 2 - 32768;
  }
  value = std::max(-32768, std::min(value, 32767));
  return SDL_JoystickSetVirtualAxis(TestJoystick, axis, static_cast<Sint16>(value)) == 0;
}

bool SetTestPadButton(PadButton button, bool down) {
  if (!TestJoystick || button < 0 || button >= PadButtonCount) return false;
  return SDL_JoystickSetVirtualButton(TestJoystick, button, down ? 1 : 0) == 0;
}

std::uint16_t TestPadRumble() { return LastRumble; }
void ClearTestPadRumble() { LastRumble = 0; }

bool RunTestPadLine(const std::string& line) {
  std::istringstream in(line);
  std::string word, name;
  if (!(in >> word)) return true;  // blank lines are allowed
  if (word == "plug") return AttachTestPad();
  if (word == "unplug") return DetachTestPad();
  long value = 0;
  if (!(in >> name >> value)) return false;
  if (word == "axis") {
    PadAxis axis;
    return PadAxisFromName(name, axis) && value >= -32768 && value <= 32767 && SetTestPadAxis(axis, static_cast<int>(value));
  }
  if (word == "button") {
    PadButton button;
    return PadButtonFromName(name, button) && (value == 0 || value == 1) && SetTestPadButton(button, value == 1);
  }
  return false;
}

bool OpenTestPadFifo(const std::string& path) {
  CloseTestPadFifo();
  FifoRead = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (FifoRead < 0) {
    std::fprintf(stderr, "korvid: KORVID_TEST_PAD %s cannot be opened: %s\n", path.c_str(), std::strerror(errno));
    return false;
  }
  FifoKeepOpen = open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
  return true;
}

void CloseTestPadFifo() {
  if (FifoRead >= 0) close(FifoRead);
  if (FifoKeepOpen >= 0) close(FifoKeepOpen);
  FifoRead = FifoKeepOpen = -1;
  FifoPending.clear();
}

void ReadTestPadFifo() {
  if (FifoRead < 0) return;
  char buffer[512];
  for (;;) {
    const ssize_t n = read(FifoRead, buffer, sizeof buffer);
    if (n <= 0) break;
    FifoPending.append(buffer, static_cast<std::size_t>(n));
  }
  // Axes run on to the next button line, which ends this update's share: a press and its
  // release written together still reach the game as two states.
  for (std::size_t end; (end = FifoPending.find('\n')) != std::string::npos;) {
    const std::string line = FifoPending.substr(0, end);
    FifoPending.erase(0, end + 1);
    if (!RunTestPadLine(line)) std::fprintf(stderr, "korvid: test pad: \"%s\" is not understood\n", line.c_str());
    if (line.rfind("axis", 0) != 0 && line.find_first_not_of(" \t\r") != std::string::npos) break;
  }
}

// Game controllers: every connected pad merged into one state, button presses in order, rumble.
#pragma once

#include <cstdint>
#include <string>

// Buttons and axes in the order of SDL's GameController layer, which the test pad's names follow.
enum PadButton : int {
  PadA = 0, PadB, PadX, PadY, PadBack, PadGuide, PadStart, PadLeftStick, PadRightStick,
  PadLeftShoulder, PadRightShoulder, PadUp, PadDown, PadLeft, PadRight, PadButtonCount
};
enum PadAxis : int {
  PadLeftX = 0, PadLeftY, PadRightX, PadRightY, PadLeftTrigger, PadRightTrigger, PadAxisCount
};

// Sticks run -32768..32767 (down and right positive), triggers 0..32767.
struct PadState {
  std::int16_t Axes[PadAxisCount] = {};
  bool Buttons[PadButtonCount] = {};
  int Connected = 0;  // pads open now
};

// A button going down or up; a pad that goes away releases what it held.
struct PadEvent {
  PadButton Button = PadA;
  bool Down = false;
};

// Starts the controller layer: SDL_GAMECONTROLLERCONFIG first, then `mappingFile` when it
// exists (a mapping in the variable wins over the file's for the same pad). False, told on
// standard error, when the layer cannot start: the game then plays without pads.
bool OpenPads(const std::string& mappingFile);
void ClosePads();

// Switched off, the pads read as released and their presses are dropped (korvid.ini).
void EnablePads(bool on);

// Opens pads plugged in since the last call, closes removed ones, reads the test pad's FIFO,
// and works out the merged state and the presses and releases since the last call.
void UpdatePads();
const PadState& CurrentPads();
// The oldest press or release not yet taken; false when none is waiting.
bool TakePadEvent(PadEvent& event);
// Forgets presses not yet taken (a screen that should not see what was pressed before it).
void DropPadEvents();

// Both motors of every open pad, strength 0..65535, for `milliseconds`.
void RumblePads(std::uint16_t strength, std::uint32_t milliseconds);

// The virtual controller of tests and of KORVID_TEST_PAD: attached as any pad would be.
bool AttachTestPad();
bool DetachTestPad();
bool TestPadAttached();
// Trigger values run 0..32767 as they read back.
bool SetTestPadAxis(PadAxis axis, int value);
bool SetTestPadButton(PadButton button, bool down);
// The last rumble asked of the test pad (strength of the low-frequency motor), 0 when none.
std::uint16_t TestPadRumble();
void ClearTestPadRumble();
// One line of the test pad's language: "axis rightx -20000", "button a 1", "unplug", "plug".
bool RunTestPadLine(const std::string& line);
// Reads lines from a FIFO at every UpdatePads; false when it cannot be opened.
bool OpenTestPadFifo(const std::string& path);

// SDL's names ("a", "dpup", "leftx", "righttrigger"); false for an unknown name.
bool PadButtonFromName(const std::string& name, PadButton& button);
bool PadAxisFromName(const std::string& name, PadAxis& axis);

// The pads through SDL's GameController layer: hot-plug, mappings, the merged state, rumble.
#include "platform/input/pad.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <vector>

#include "platform/input/pad_internal.h"

namespace {
struct OpenPad {
  SDL_GameController* Controller = nullptr;
  SDL_JoystickID Instance = -1;
};

bool Started = false;
bool Enabled = true;
std::vector<OpenPad> Pads;
PadState Merged;
std::deque<PadEvent> Events;
constexpr std::size_t EventLimit = 256;  // nobody taking them: the oldest go

bool IsOpen(SDL_JoystickID instance) {
  return std::any_of(Pads.begin(), Pads.end(), [&](const OpenPad& p) { return p.Instance == instance; });
}

void OpenNewPads() {
  for (int i = 0; i < SDL_NumJoysticks(); ++i) {
    if (!SDL_IsGameController(i) || IsOpen(SDL_JoystickGetDeviceInstanceID(i))) continue;
    SDL_GameController* c = SDL_GameControllerOpen(i);
    if (!c) {
      std::fprintf(stderr, "korvid: a game controller could not be opened: %s\n", SDL_GetError());
      continue;
    }
    Pads.push_back({c, SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(c))});
  }
}

void CloseRemovedPads() {
  for (auto it = Pads.begin(); it != Pads.end();) {
    if (SDL_GameControllerGetAttached(it->Controller)) {
      ++it;
      continue;
    }
    SDL_GameControllerClose(it->Controller);
    it = Pads.erase(it);
  }
}

// Of several pads, each axis follows the one pushed furthest and each button is held while
// any pad holds it.
PadState ReadMerged() {
  PadState s;
  s.Connected = static_cast<int>(Pads.size());
  if (!Enabled) return s;
  for (const OpenPad& p : Pads) {
    for (int a = 0; a < PadAxisCount; ++a) {
      const int v = SDL_GameControllerGetAxis(p.Controller, static_cast<SDL_GameControllerAxis>(a));
      if (std::abs(v) > std::abs(static_cast<int>(s.Axes[a]))) s.Axes[a] = static_cast<std::int16_t>(v);
    }
    for (int b = 0; b < PadButtonCount; ++b)
      if (SDL_GameControllerGetButton(p.Controller, static_cast<SDL_GameControllerButton>(b))) s.Buttons[b] = true;
  }
  return s;
}

void Push(PadButton button, bool down) {
  if (Events.size() >= EventLimit) Events.pop_front();
  Events.push_back({button, down});
}

void AddMappings(const std::string& mappingFile) {
  if (!mappingFile.empty()) {
    if (SDL_RWops* rw = SDL_RWFromFile(mappingFile.c_str(), "rb")) {
      if (SDL_GameControllerAddMappingsFromRW(rw, 1) < 0)
        std::fprintf(stderr, "korvid: %s: %s\n", mappingFile.c_str(), SDL_GetError());
    }
  }
  // SDL read the variable when it started; read again so that it wins over the file.
  if (const char* env = std::getenv("SDL_GAMECONTROLLERCONFIG"); env && *env) {
    std::string text(env);
    if (SDL_RWops* rw = SDL_RWFromConstMem(text.data(), static_cast<int>(text.size())))
      SDL_GameControllerAddMappingsFromRW(rw, 1);
  }
}
}  // namespace

bool OpenPads(const std::string& mappingFile) {
  if (Started) return true;
  // The game decides itself when it reads (while its window is active); SDL must not drop a
  // pad's input because another window holds the focus for a moment.
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
    std::fprintf(stderr, "korvid: game controllers are not available: %s\n", SDL_GetError());
    return false;
  }
  Started = true;
  AddMappings(mappingFile);
  OpenNewPads();
  Merged = ReadMerged();
  return true;
}

void ClosePads() {
  if (!Started) return;
  CloseTestPadFifo();
  DetachTestPad();
  for (OpenPad& p : Pads) SDL_GameControllerClose(p.Controller);
  Pads.clear();
  Merged = PadState{};
  Events.clear();
  SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
  Started = false;
}

void EnablePads(bool on) { Enabled = on; }

void UpdatePads() {
  if (!Started) return;
  ReadTestPadFifo();
  SDL_GameControllerUpdate();
  CloseRemovedPads();
  OpenNewPads();
  const PadState now = ReadMerged();
  for (int b = 0; b < PadButtonCount; ++b)
    if (now.Buttons[b] != Merged.Buttons[b]) Push(static_cast<PadButton>(b), now.Buttons[b]);
  Merged = now;
}

const PadState& CurrentPads() { return Merged; }

bool TakePadEvent(PadEvent& event) {
  if (Events.empty()) return false;
  event = Events.front();
  Events.pop_front();
  return true;
}

void DropPadEvents() { Events.clear(); }

void RumblePads(std::uint16_t strength, std::uint32_t milliseconds) {
  if (!Enabled) return;
  // A pad without motors refuses; nothing to tell.
  for (OpenPad& p : Pads) SDL_GameControllerRumble(p.Controller, strength, strength, milliseconds);
}

bool PadButtonFromName(const std::string& name, PadButton& button) {
  const SDL_GameControllerButton b = SDL_GameControllerGetButtonFromString(name.c_str());
  if (b == SDL_CONTROLLER_BUTTON_INVALID || static_cast<int>(b) >= PadButtonCount) return false;
  button = static_cast<PadButton>(b);
  return true;
}

bool PadAxisFromName(const std::string& name, PadAxis& axis) {
  const SDL_GameControllerAxis a = SDL_GameControllerGetAxisFromString(name.c_str());
  if (a == SDL_CONTROLLER_AXIS_INVALID || static_cast<int>(a) >= PadAxisCount) return false;
  axis = static_cast<PadAxis>(a);
  return true;
}

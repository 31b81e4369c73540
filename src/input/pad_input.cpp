// PadInput: sticks, triggers and buttons turned into the keys, mouse motion and clicks the game already takes.
#include "input/pad_input.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "app/app_globals.h"
#include "input/dxinput.h"
#include "persist/port_options.h"
#include "persist/settings_record.h"
#include "platform/input/pad.h"
#include "world/game_world.h"
#include "world/match_values.h"

PadInput Pad;

namespace {
constexpr const char* PadMappingFile = "gamecontrollerdb.txt";  // beside Setting.dat
constexpr float FullTravel = 32767.0f;
constexpr float DiagonalShare = 0.3827f;   // sin 22.5°
constexpr float LookCountsPerSpeed = 1.2f;  // mouse counts a step, full push, per sensitivity step
constexpr float CursorCountsFull = 16.0f;   // MenuSpace units a step, full push
constexpr float CursorCountsPad = 10.0f;    // the D-pad moves the cursor at one pace
constexpr int TriggerPress = 16384, TriggerLetGo = 8192;  // with a gap, so a trigger held half way does not chatter
constexpr std::uint16_t DamageStrength = 0x6000, DeathStrength = 0xFFFF;
constexpr std::uint32_t DamageMilliseconds = 120, DeathMilliseconds = 700;
constexpr std::uint32_t WeaponKeys[] = {0x31, 0x32, 0x33};  // the number keys: machine gun, rifle, handgun

bool InLiveMatch(const GameWorld& w) { return w.GameState == StatePlay && !w.TransitionActive; }

void Key(std::uint32_t key, bool down) {
  if (down) World.OnKeyDown(key);
  else World.OnKeyUp(key);
}

// Whole counts of a motion, the fraction kept for the next step.
std::int32_t TakeCounts(float& carry, float motion) {
  carry += motion;
  const float whole = std::trunc(carry);
  carry -= whole;
  return static_cast<std::int32_t>(whole);
}

void MatchButton(const PadEvent& e) {
  const std::uint32_t* bound = Settings.KeyBindings;
  const bool alive = World.Player.Active == 1;
  switch (e.Button) {
    case PadA: Key(bound[KeyJump], e.Down); break;
    case PadX: Key(bound[KeyReload], e.Down); break;
    case PadY: Key(bound[KeyWeapon], e.Down); break;
    case PadRightShoulder:
      if (e.Down && alive) World.SelectWeapon(1, 0);
      break;
    case PadLeftShoulder:
      if (e.Down && alive) World.SelectWeapon(2, 0);
      break;
    case PadLeft: Key(WeaponKeys[WeaponMachineGun], e.Down); break;
    case PadUp: Key(WeaponKeys[WeaponRifle], e.Down); break;
    case PadRight: Key(WeaponKeys[WeaponHandgun], e.Down); break;
    default:
      // Start, Back and the guide do nothing: no pad button quits or leaves a match.
      break;
  }
}

void MenuButton(const PadEvent& e) {
  const LPARAM at = MakePointParam(static_cast<int>(WindowCursorX), static_cast<int>(WindowCursorY));
  if (e.Button == PadA || e.Button == PadStart)
    PostMessage(MainWindow, e.Down ? WM_LBUTTONDOWN : WM_LBUTTONUP, 0, at);
  else if (e.Button == PadB)
    PostMessage(MainWindow, e.Down ? WM_RBUTTONDOWN : WM_RBUTTONUP, 0, at);
}

void SetWalking(StickWalk& held, const StickWalk& want) {
  const std::uint32_t* bound = Settings.KeyBindings;
  if (held.Forward != want.Forward) Key(bound[KeyForward], want.Forward);
  if (held.Back != want.Back) Key(bound[KeyBack], want.Back);
  if (held.Left != want.Left) Key(bound[KeyLeft], want.Left);
  if (held.Right != want.Right) Key(bound[KeyRight], want.Right);
  held = want;
}
}  // namespace

StickWalk WalkFromStick(int x, int y, std::uint32_t deadZonePercent) {
  StickWalk walk;
  const float fx = static_cast<float>(x) / FullTravel, fy = static_cast<float>(y) / FullTravel;
  const float length = std::sqrt(fx * fx + fy * fy);
  if (length <= static_cast<float>(deadZonePercent) / 100.0f) return walk;
  walk.Forward = fy < -DiagonalShare * length;
  walk.Back = fy > DiagonalShare * length;
  walk.Left = fx < -DiagonalShare * length;
  walk.Right = fx > DiagonalShare * length;
  return walk;
}

float StickResponse(int value, std::uint32_t deadZonePercent) {
  const float zone = static_cast<float>(deadZonePercent) / 100.0f;
  const float push = std::min(std::abs(static_cast<float>(value)) / FullTravel, 1.0f);
  if (push <= zone) return 0;
  const float t = (push - zone) / (1 - zone);
  return value < 0 ? -t * t : t * t;
}

bool PadInput::StartPads() {
  // Pads are an addition: without the controller layer the game plays on with mouse and keys.
  if (!OpenPads(PadMappingFile)) return true;
  const char* fifo = std::getenv("KORVID_TEST_PAD");
  if (!fifo || !*fifo) return true;
  if (AttachTestPad() && OpenTestPadFifo(fifo)) return true;
  std::fprintf(stderr, "korvid: KORVID_TEST_PAD is set but the test pad could not be started\n");
  return false;
}

void PadInput::PollPad() {
  UpdatePads();
  GameWorld& w = World;
  const bool match = InLiveMatch(w);
  if (InMatch && !match) ReleaseMatchInput();
  InMatch = match;
  const PadState& pad = CurrentPads();
  const std::uint32_t zone = Options.PadDeadZone;
  MouseSnapshot& mouse = Mouse.MouseState;
  PadEvent e;
  if (match) {
    while (TakePadEvent(e)) MatchButton(e);
    StickWalk want = WalkFromStick(pad.Axes[PadLeftX], pad.Axes[PadLeftY], zone);
    if (w.Player.Active != 1) want = StickWalk{};
    SetWalking(Walking, want);
    const float speed = static_cast<float>(Options.PadLookSpeed) * LookCountsPerSpeed;
    const float dy = StickResponse(pad.Axes[PadRightY], zone) * speed;
    mouse.DeltaX += TakeCounts(LookCarryX, StickResponse(pad.Axes[PadRightX], zone) * speed);
    mouse.DeltaY += TakeCounts(LookCarryY, Options.PadInvertY ? -dy : dy);
    const int fire = pad.Axes[PadRightTrigger];
    if (!Firing && fire >= TriggerPress && w.OnPlayLeftButtonDown()) {
      Firing = true;
    } else if (Firing && fire < TriggerLetGo) {
      Firing = false;
      w.OnPlayLeftButtonUp();
    }
    const int scope = pad.Axes[PadLeftTrigger];
    if (!Scoping && scope >= TriggerPress) {
      Scoping = true;
      w.OnPlayRightButtonDown();  // the right button: raises or lowers the rifle's scope
    } else if (Scoping && scope < TriggerLetGo) {
      Scoping = false;
    }
    return;
  }
  while (TakePadEvent(e)) MenuButton(e);
  float cx = StickResponse(pad.Axes[PadLeftX], zone) * CursorCountsFull;
  float cy = StickResponse(pad.Axes[PadLeftY], zone) * CursorCountsFull;
  cx += (pad.Buttons[PadRight] - pad.Buttons[PadLeft]) * CursorCountsPad;
  cy += (pad.Buttons[PadDown] - pad.Buttons[PadUp]) * CursorCountsPad;
  const std::int32_t mx = TakeCounts(CursorCarryX, cx), my = TakeCounts(CursorCarryY, cy);
  if (mx == 0 && my == 0) return;
  mouse.DeltaX += mx;
  mouse.DeltaY += my;
  // The menus move their cursor on the mouse-move message, as for the mouse's own motion.
  PostMessage(MainWindow, WM_MOUSEMOVE, 0,
              MakePointParam(static_cast<int>(WindowCursorX), static_cast<int>(WindowCursorY)));
}

void PadInput::ReleaseMatchInput() {
  SetWalking(Walking, StickWalk{});
  if (Firing) {
    World.OnPlayLeftButtonUp();
    TriggerHeld = 0;  // the match has ended already: the button's own release no longer clears it
  }
  Firing = Scoping = false;
  LookCarryX = LookCarryY = 0;
}

void PadInput::RumbleDamage() {
  if (Options.PadRumble && InLiveMatch(World)) RumblePads(DamageStrength, DamageMilliseconds);
}

void PadInput::RumbleDeath() {
  if (Options.PadRumble && InLiveMatch(World)) RumblePads(DeathStrength, DeathMilliseconds);
}

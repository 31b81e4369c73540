// The pads through SDL's virtual controller: walking, looking, triggers, buttons, unplugging, menus, rumble.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "app/app_globals.h"
#include "input/dxinput.h"
#include "input/pad_input.h"
#include "persist/port_options.h"
#include "persist/settings_record.h"
#include "platform/input/pad.h"
#include "world/game_world.h"
#include "world/match_values.h"

namespace {
int Storage = 0;

std::vector<Message> TakeMessages() {
  std::vector<Message> out;
  Message m;
  while (PeekMessage(m)) out.push_back(m);
  return out;
}

class PadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MainWindow = reinterpret_cast<Window*>(&Storage);
    Options = PortOptions{};
    Options.Apply();
    ASSERT_TRUE(OpenPads(""));
    ASSERT_TRUE(AttachTestPad());
    Settings = SettingsRecord{};
    for (int section = 1; section <= 5; ++section) Settings.ResetSection(section, false);
    World.ResetMatch();
    TriggerHeld = 0;
    World.JumpActive = World.JumpKeyHeld = 0;
    World.KeyForwardHeld = World.KeyBackHeld = World.KeyLeftHeld = World.KeyRightHeld = 0;
    RecoilKick = 0;
    World.JumpPhase = 0;
    World.GameState = StatePlay;
    World.TransitionActive = 0;
    World.Player.Active = 1;
    Settings.InitialWeapon = 0;
    Pad = PadInput{};
    Mouse.MouseState = MouseSnapshot{};
    Step();  // the pad's first state: nothing held
    TakeMessages();
  }
  void TearDown() override {
    ClosePads();
    Options = PortOptions{};
    Options.Apply();
    TakeMessages();
    MainWindow = nullptr;
  }
  // One update step as the game runs it: a fresh mouse snapshot, then the pad.
  static void Step() {
    Mouse.MouseState = MouseSnapshot{};
    Pad.PollPad();
  }
  static void Axis(PadAxis a, int v) { ASSERT_TRUE(SetTestPadAxis(a, v)); }
  static void Button(PadButton b, bool down) { ASSERT_TRUE(SetTestPadButton(b, down)); }
};

struct WalkCase {
  const char* Name;
  int X, Y;
  bool Forward, Back, Left, Right;
};

class StickWalks : public PadTest, public testing::WithParamInterface<WalkCase> {};

TEST_P(StickWalks, HoldsTheWalkingKeysFlags) {
  const WalkCase& c = GetParam();
  Axis(PadLeftX, c.X);
  Axis(PadLeftY, c.Y);
  Step();
  EXPECT_EQ(World.KeyForwardHeld, c.Forward);
  EXPECT_EQ(World.KeyBackHeld, c.Back);
  EXPECT_EQ(World.KeyLeftHeld, c.Left);
  EXPECT_EQ(World.KeyRightHeld, c.Right);
  // Back to the centre lets go of all of them.
  Axis(PadLeftX, 0);
  Axis(PadLeftY, 0);
  Step();
  EXPECT_FALSE(World.KeyForwardHeld || World.KeyBackHeld || World.KeyLeftHeld || World.KeyRightHeld);
}

// The default dead zone is 15 % of the travel: 4915.
INSTANTIATE_TEST_SUITE_P(
    Directions, StickWalks,
    testing::Values(WalkCase{"Forward", 0, -32768, true, false, false, false},
                    WalkCase{"Back", 0, 32767, false, true, false, false},
                    WalkCase{"Left", -32768, 0, false, false, true, false},
                    WalkCase{"Right", 32767, 0, false, false, false, true},
                    WalkCase{"ForwardRight", 23000, -23000, true, false, false, true},
                    WalkCase{"BackLeft", -23000, 23000, false, true, true, false},
                    WalkCase{"MostlyForward", 6000, -30000, true, false, false, false},
                    WalkCase{"InsideDeadZone", 0, -4900, false, false, false, false},
                    WalkCase{"PastDeadZone", 0, -5000, true, false, false, false},
                    // Radial: each axis alone is inside the zone, the push is not.
                    WalkCase{"RadialDiagonal", 4000, -4000, true, false, false, true},
                    WalkCase{"RadialInside", 3000, -3000, false, false, false, false}),
    [](const testing::TestParamInfo<WalkCase>& info) { return std::string(info.param.Name); });

TEST_F(PadTest, ADeadPlayerDoesNotWalk) {
  World.Player.Active = 0;
  Axis(PadLeftY, -32768);
  Step();
  EXPECT_EQ(World.KeyForwardHeld, 0);
}

struct LookCase {
  const char* Name;
  int X, Y;
  bool Invert, Scope;
  int CountsX, CountsY;  // mouse counts the step hands to OnMouseMove
};

class StickLooks : public PadTest, public testing::WithParamInterface<LookCase> {};

TEST_P(StickLooks, TurnsAsTheMouseWould) {
  const LookCase& c = GetParam();
  Options.PadInvertY = c.Invert ? 1 : 0;
  World.ScopeOn = c.Scope ? 1 : 0;
  World.ViewYaw = 180;
  World.ViewPitch = 0;
  Axis(PadRightX, c.X);
  Axis(PadRightY, c.Y);
  Step();
  EXPECT_EQ(Mouse.MouseState.DeltaX, c.CountsX);
  EXPECT_EQ(Mouse.MouseState.DeltaY, c.CountsY);
  // The same turn a mouse moving by those counts gives, through the same message.
  World.OnMouseMove(MakePointParam(320, 240));
  const float perCount = static_cast<float>(Settings.MouseSensitivity) * 0.005f / (c.Scope ? 2.0f : 1.0f);
  const float pitchSign = Settings.InvertMouseY ? -1.0f : 1.0f;
  EXPECT_NEAR(World.ViewYaw, 180 - c.CountsX * perCount, 1e-3);
  EXPECT_NEAR(World.ViewPitch, c.CountsY * perCount * pitchSign, 1e-3);
}

// Sensitivity 10: a full push is 12 counts a step; half way past the dead zone a quarter of it.
INSTANTIATE_TEST_SUITE_P(
    Directions, StickLooks,
    testing::Values(LookCase{"Right", 32767, 0, false, false, 12, 0},
                    LookCase{"Left", -32768, 0, false, false, -12, 0},
                    LookCase{"Up", 0, -32768, false, false, 0, -12},
                    LookCase{"DownInverted", 0, 32767, true, false, 0, -12},
                    LookCase{"ScopeHalves", 32767, 0, false, true, 12, 0},
                    LookCase{"Curve", 18900, 0, false, false, 3, 0},
                    LookCase{"InsideDeadZone", 4900, -4900, false, false, 0, 0}),
    [](const testing::TestParamInfo<LookCase>& info) { return std::string(info.param.Name); });

TEST_F(PadTest, SmallPushesAddUpAcrossSteps) {
  Axis(PadRightX, 9000);  // well under one count a step
  int total = 0;
  for (int i = 0; i < 40; ++i) {
    Step();
    total += Mouse.MouseState.DeltaX;
  }
  const float share = (9000.0f / 32767 - 0.15f) / 0.85f;
  EXPECT_NEAR(total, 40 * 12 * share * share, 1.0);
}

TEST_F(PadTest, RightTriggerFiresAndLetsGoLikeTheLeftButton) {
  Axis(PadRightTrigger, 10000);  // not yet past the press point
  Step();
  EXPECT_EQ(TriggerHeld, 0);
  Axis(PadRightTrigger, 32767);
  Step();
  EXPECT_EQ(TriggerHeld, 1);
  Axis(PadRightTrigger, 12000);  // between the points: still held
  Step();
  EXPECT_EQ(TriggerHeld, 1);
  Axis(PadRightTrigger, 0);
  Step();
  EXPECT_EQ(TriggerHeld, 0);
}

TEST_F(PadTest, LeftTriggerRaisesAndLowersTheRiflesScope) {
  World.CurrentWeapon = World.SelectedWeapon = WeaponRifle;
  Axis(PadLeftTrigger, 32767);
  Step();
  EXPECT_EQ(World.ScopeOn, 1);
  Step();  // held: no second toggle
  EXPECT_EQ(World.ScopeOn, 1);
  Axis(PadLeftTrigger, 0);
  Step();
  Axis(PadLeftTrigger, 32767);
  Step();
  EXPECT_EQ(World.ScopeOn, 0);
  // Not the rifle: as the right button, nothing.
  World.CurrentWeapon = World.SelectedWeapon = WeaponHandgun;
  Axis(PadLeftTrigger, 0);
  Step();
  Axis(PadLeftTrigger, 32767);
  Step();
  EXPECT_EQ(World.ScopeOn, 0);
}

struct ButtonCase {
  const char* Name;
  PadButton Button;
  int StartWeapon;
  int WantAction;    // WeaponAction after the press (-1: not checked)
  int WantSelected;  // SelectedWeapon after the press (-1: not checked)
  bool Jumps;
};

class ButtonActs : public PadTest, public testing::WithParamInterface<ButtonCase> {};

TEST_P(ButtonActs, DoesItsAction) {
  const ButtonCase& c = GetParam();
  World.CurrentWeapon = World.SelectedWeapon = c.StartWeapon;
  World.Weapons[c.StartWeapon].Ammo = 1;  // a reload has something to do
  World.WeaponBusy = 0;
  World.WeaponAction = 0;
  const float yaw = World.ViewYaw;
  Button(c.Button, true);
  Step();
  EXPECT_EQ(World.JumpActive, c.Jumps ? 1 : 0);
  if (c.WantAction >= 0) {
    EXPECT_EQ(World.WeaponAction, c.WantAction);
  }
  if (c.WantSelected >= 0) {
    EXPECT_EQ(World.SelectedWeapon, c.WantSelected);
  }
  Button(c.Button, false);
  Step();
  EXPECT_EQ(World.ViewYaw, yaw);
  // No button closes the game.
  for (const Message& m : TakeMessages()) EXPECT_NE(m.Id, WM_CLOSE) << c.Name;
  EXPECT_EQ(World.GameState, StatePlay);
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, ButtonActs,
    testing::Values(ButtonCase{"AJumps", PadA, 0, 0, 0, true},
                    ButtonCase{"XReloads", PadX, WeaponHandgun, ActionReloadHandgun, -1, false},
                    ButtonCase{"YNextWeapon", PadY, WeaponMachineGun, ActionChange, WeaponRifle, false},
                    ButtonCase{"RightShoulderNext", PadRightShoulder, WeaponRifle, ActionChange, WeaponHandgun, false},
                    ButtonCase{"LeftShoulderPrevious", PadLeftShoulder, WeaponMachineGun, ActionChange, WeaponHandgun, false},
                    ButtonCase{"DpadLeftMachineGun", PadLeft, WeaponHandgun, ActionChange, WeaponMachineGun, false},
                    ButtonCase{"DpadUpRifle", PadUp, WeaponHandgun, ActionChange, WeaponRifle, false},
                    ButtonCase{"DpadRightHandgun", PadRight, WeaponMachineGun, ActionChange, WeaponHandgun, false},
                    ButtonCase{"StartNothing", PadStart, WeaponMachineGun, 0, WeaponMachineGun, false},
                    ButtonCase{"BackNothing", PadBack, WeaponMachineGun, 0, WeaponMachineGun, false},
                    ButtonCase{"BNothing", PadB, WeaponMachineGun, 0, WeaponMachineGun, false}),
    [](const testing::TestParamInfo<ButtonCase>& info) { return std::string(info.param.Name); });

TEST_F(PadTest, UnpluggedMidMatchNothingStaysHeld) {
  Axis(PadLeftX, -32768);
  Axis(PadLeftY, -32768);
  Axis(PadRightTrigger, 32767);
  Axis(PadRightX, 32767);
  Button(PadA, true);
  Step();
  ASSERT_TRUE(World.KeyForwardHeld && World.KeyLeftHeld);
  ASSERT_EQ(TriggerHeld, 1);
  ASSERT_EQ(World.JumpKeyHeld, 1);
  ASSERT_TRUE(DetachTestPad());
  Step();
  EXPECT_EQ(CurrentPads().Connected, 0);
  EXPECT_FALSE(World.KeyForwardHeld || World.KeyLeftHeld || World.KeyBackHeld || World.KeyRightHeld);
  EXPECT_EQ(TriggerHeld, 0);
  EXPECT_EQ(World.JumpKeyHeld, 0);
  EXPECT_EQ(Mouse.MouseState.DeltaX, 0);
  // Plugged in again, it plays from a clean state.
  ASSERT_TRUE(AttachTestPad());
  Axis(PadLeftY, 32767);
  Step();
  EXPECT_EQ(CurrentPads().Connected, 1);
  EXPECT_EQ(World.KeyBackHeld, 1);
  EXPECT_EQ(World.KeyForwardHeld, 0);
}

TEST_F(PadTest, KeyboardWalkingKeepsWorkingBesideThePad) {
  World.OnKeyDown(Settings.KeyBindings[KeyForward]);
  Step();  // the pad at rest does not let go of a key it never held
  EXPECT_EQ(World.KeyForwardHeld, 1);
  World.OnKeyUp(Settings.KeyBindings[KeyForward]);
  EXPECT_EQ(World.KeyForwardHeld, 0);
}

TEST_F(PadTest, SwitchedOffThePadDoesNothing) {
  Options.UsePad = 0;
  Options.Apply();
  Axis(PadLeftY, -32768);
  Axis(PadRightTrigger, 32767);
  Step();
  EXPECT_EQ(World.KeyForwardHeld, 0);
  EXPECT_EQ(TriggerHeld, 0);
}

TEST_F(PadTest, LeavingTheMatchLetsGoOfWhatThePadHeld) {
  Axis(PadLeftY, -32768);
  Axis(PadRightTrigger, 32767);
  Step();
  ASSERT_EQ(World.KeyForwardHeld, 1);
  World.GameState = StateGameOver;
  Step();
  EXPECT_EQ(World.KeyForwardHeld, 0);
  EXPECT_EQ(TriggerHeld, 0);
}

struct MenuCase {
  const char* Name;
  PadButton Button;
  std::uint32_t Down, Up;
};

class MenuClicks : public PadTest, public testing::WithParamInterface<MenuCase> {};

TEST_P(MenuClicks, PostTheMouseButtonAtTheCursor) {
  const MenuCase& c = GetParam();
  World.GameState = StateTitle;
  WindowCursorX = 300;
  WindowCursorY = 200;
  Button(c.Button, true);
  Step();
  std::vector<Message> m = TakeMessages();
  ASSERT_EQ(m.size(), 1u);
  EXPECT_EQ(m[0].Id, c.Down);
  EXPECT_EQ(m[0].LParam, MakePointParam(300, 200));
  Button(c.Button, false);
  Step();
  m = TakeMessages();
  ASSERT_EQ(m.size(), 1u);
  EXPECT_EQ(m[0].Id, c.Up);
}

INSTANTIATE_TEST_SUITE_P(Buttons, MenuClicks,
                         testing::Values(MenuCase{"ALeft", PadA, WM_LBUTTONDOWN, WM_LBUTTONUP},
                                         MenuCase{"StartLeft", PadStart, WM_LBUTTONDOWN, WM_LBUTTONUP},
                                         MenuCase{"BRight", PadB, WM_RBUTTONDOWN, WM_RBUTTONUP}),
                         [](const testing::TestParamInfo<MenuCase>& info) { return std::string(info.param.Name); });

TEST_F(PadTest, StickAndDpadMoveTheMenuCursorThroughTheMouseMessage) {
  World.GameState = StateRanking;
  WindowCursorX = 320;
  WindowCursorY = 240;
  Axis(PadLeftX, 32767);
  Step();
  EXPECT_EQ(Mouse.MouseState.DeltaX, 16);
  std::vector<Message> m = TakeMessages();
  ASSERT_EQ(m.size(), 1u);
  EXPECT_EQ(m[0].Id, WM_MOUSEMOVE);
  World.OnMouseMove(m[0].LParam);
  EXPECT_EQ(MouseDeltaX, 16);
  Axis(PadLeftX, 0);
  Button(PadUp, true);
  Step();
  EXPECT_EQ(Mouse.MouseState.DeltaY, -10);
  Button(PadUp, false);
  Step();
  EXPECT_EQ(Mouse.MouseState.DeltaY, 0);
  EXPECT_EQ(TakeMessages().size(), 1u);  // no motion, no message
}

TEST_F(PadTest, RumblesOnDamageAndDeathInAMatchOnly) {
  ClearTestPadRumble();
  Pad.RumbleDamage();
  UpdatePads();
  const std::uint16_t damage = TestPadRumble();
  EXPECT_GT(damage, 0);
  Pad.RumbleDeath();
  EXPECT_GT(TestPadRumble(), damage);  // the death is the stronger
  ClearTestPadRumble();
  World.GameState = StateTitle;
  Pad.RumbleDamage();
  EXPECT_EQ(TestPadRumble(), 0);
  World.GameState = StatePlay;
  Options.PadRumble = 0;
  Pad.RumbleDeath();
  EXPECT_EQ(TestPadRumble(), 0);
}

struct LineCase {
  const char* Line;
  bool Understood;
};

class TestPadLines : public PadTest, public testing::WithParamInterface<LineCase> {};

TEST_P(TestPadLines, AreUnderstoodOrRefused) { EXPECT_EQ(RunTestPadLine(GetParam().Line), GetParam().Understood); }

INSTANTIATE_TEST_SUITE_P(Lines, TestPadLines,
                         testing::Values(LineCase{"axis rightx -20000", true}, LineCase{"axis righttrigger 32767", true},
                                         LineCase{"button a 1", true}, LineCase{"button dpup 0", true},
                                         LineCase{"button start 1", true}, LineCase{"", true},
                                         LineCase{"axis rightx 40000", false}, LineCase{"axis sideways 5", false},
                                         LineCase{"button a 2", false}, LineCase{"button a", false},
                                         LineCase{"press a", false}, LineCase{"button misc1 1", false}));

TEST_F(PadTest, UnplugAndPlugLinesDetachAndAttach) {
  EXPECT_TRUE(RunTestPadLine("unplug"));
  UpdatePads();
  EXPECT_EQ(CurrentPads().Connected, 0);
  EXPECT_FALSE(RunTestPadLine("button a 1"));  // nothing to press
  EXPECT_TRUE(RunTestPadLine("plug"));
  UpdatePads();
  EXPECT_EQ(CurrentPads().Connected, 1);
}
}  // namespace

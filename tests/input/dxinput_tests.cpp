// The mouse: set-up reports, polling into the match and recovery when input is lost.
#include <gtest/gtest.h>

#include <string>

#include "app/app_globals.h"
#include "input/dxinput.h"
#include "persist/settings_record.h"
#include "platform/message_box.h"
#include "world/game_world.h"
#include "world/match_values.h"

namespace {

int Storage = 0;

class MouseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MainWindow = reinterpret_cast<Window*>(&Storage);
    Mouse.ReleaseMouse();
    Mouse.FailStepForTest = 0;
    BeginMessageBoxCapture();
    World.ResetMatch();
    World.GameState = StatePlay;
    Settings.WheelWeaponChange = 1;
    Settings.InitialWeapon = 0;
  }
  void TearDown() override {
    EndMessageBoxCapture();
    Mouse.ReleaseMouse();
    LoseRelativeMouse();
    MainWindow = nullptr;
  }
};

}  // namespace

TEST_F(MouseTest, EachSetUpStepReportsItsOwnLineAndMessage) {
  const struct {
    int Line;
    const char* Message;
  } reports[6] = {{47, "DirectInput8オブジェクトの作成に失敗"},
                  {55, "DirectInputDevice8オブジェクトの作成に失敗"},
                  {62, "c_dfDIMouse2形式の設定に失敗"},
                  {69, "フォアグラウンド＆非排他モードの設定に失敗"},
                  {83, "軸モードの設定に失敗"},
                  {91, "バッファ・サイズの設定に失敗"}};
  for (int step = 1; step <= 6; ++step) {
    EndMessageBoxCapture();
    BeginMessageBoxCapture();
    Mouse.FailStepForTest = step;
    EXPECT_FALSE(Mouse.InitMouse());
    ASSERT_EQ(CapturedMessageBoxes().size(), 1u);
    const std::string& text = CapturedMessageBoxes()[0].Text;
    const std::string where = "dxinput(" + std::to_string(reports[step - 1].Line) + ")";
    EXPECT_NE(text.find(where), std::string::npos) << text;
    EXPECT_NE(text.find(reports[step - 1].Message), std::string::npos) << text;
    EXPECT_FALSE(RelativeMouseAcquired());
  }
}

TEST_F(MouseTest, NoWindowFailsTheCooperationStep) {
  MainWindow = nullptr;
  EXPECT_FALSE(Mouse.InitMouse());
  ASSERT_EQ(CapturedMessageBoxes().size(), 1u);
  EXPECT_NE(CapturedMessageBoxes()[0].Text.find("dxinput(69)"), std::string::npos);
}

TEST_F(MouseTest, PollHandsMotionWheelAndButtonToTheMatch) {
  ASSERT_TRUE(Mouse.InitMouse());
  EXPECT_TRUE(CapturedMessageBoxes().empty());
  AddMouseMotion(7, -3);
  AddMouseWheel(360);  // three notches: still one weapon step
  SetMouseButton(0, true);
  Mouse.PollMouse();
  EXPECT_EQ(Mouse.MouseState.DeltaX, 7);
  EXPECT_EQ(Mouse.MouseState.DeltaY, -3);
  EXPECT_EQ(TriggerHeld, 0);  // the weapon change lowered the latch
  EXPECT_EQ(World.SelectedWeapon, 1);
  EXPECT_EQ(WheelDelta, 360.0f);

  // The next poll: motion consumed, button still down, so the latch is set again.
  Mouse.PollMouse();
  EXPECT_EQ(Mouse.MouseState.DeltaX, 0);
  EXPECT_EQ(Mouse.MouseState.Wheel, 0);
  EXPECT_EQ(TriggerHeld, 1);
  // Releasing the button does not clear the latch: only the window message does.
  SetMouseButton(0, false);
  Mouse.PollMouse();
  EXPECT_EQ(TriggerHeld, 1);
}

TEST_F(MouseTest, LostInputIsReacquiredAndReadsAsNoInput) {
  ASSERT_TRUE(Mouse.InitMouse());
  AddMouseWheel(120);
  SetMouseButton(0, true);
  Mouse.PollMouse();
  ASSERT_EQ(World.SelectedWeapon, 1);
  World.WeaponBusy = 0;
  World.WeaponAction = 0;
  World.CurrentWeapon = 1;
  TriggerHeld = 0;

  LoseRelativeMouse();
  Mouse.PollMouse();
  EXPECT_TRUE(RelativeMouseAcquired());
  EXPECT_EQ(World.SelectedWeapon, 1);  // the old wheel turn is not replayed
  EXPECT_EQ(TriggerHeld, 0);
  EXPECT_EQ(Mouse.MouseState.Wheel, 0);

  AddMouseMotion(4, 0);
  Mouse.PollMouse();
  EXPECT_EQ(Mouse.MouseState.DeltaX, 4);
}

TEST_F(MouseTest, ReleaseIsSafeTwice) {
  ASSERT_TRUE(Mouse.InitMouse());
  Mouse.ReleaseMouse();
  EXPECT_FALSE(RelativeMouseAcquired());
  Mouse.ReleaseMouse();
  EXPECT_FALSE(Mouse.MouseDevice);
}

// MainWndProc: activation, destruction, Escape and the play mouse cases.
#include <gtest/gtest.h>

#include "app/app_globals.h"
#include "app/frame_timer.h"
#include "app/window_procedure.h"
#include "platform/window.h"
#include "world/game_world.h"
#include "world/match_values.h"

namespace {
class WindowProcedureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetWindowSystem();
    ASSERT_TRUE(RegisterWindowClass("Main Window", MainWndProc));
    MainWindow = CreateMainWindow("Main Window", "Korvid");
    ASSERT_NE(MainWindow, nullptr);
    Drain();
    AppActive = 1;
  }
  void TearDown() override {
    MainWindow = nullptr;
    ResetWindowSystem();
    World.GameState = StateTitle;
    World.StateFrameCount = 0;
  }
  // Dispatches what is queued; true when WM_QUIT arrived.
  bool Drain() {
    Message m;
    while (PeekMessage(m)) {
      if (m.Id == WM_QUIT) return true;
      DispatchMessage(m);
    }
    return false;
  }
};

TEST_F(WindowProcedureTest, ActivationLooksOnlyAtTheLowWord) {
  MainWndProc(MainWindow, WM_ACTIVATE, WA_INACTIVE, 0);
  EXPECT_EQ(AppActive, 0);
  MainWndProc(MainWindow, WM_ACTIVATE, WA_ACTIVE | (1u << 16), 0);  // active, minimised
  EXPECT_EQ(AppActive, 1);
  MainWndProc(MainWindow, WM_ACTIVATE, 0x10000u, 0);  // inactive, minimised flag only
  EXPECT_EQ(AppActive, 0);
}

TEST_F(WindowProcedureTest, EscapeOnTheTitleWaitsForItsFirstTenFrames) {
  World.GameState = StateTitle;
  World.StateFrameCount = 10;
  PostMessage(MainWindow, WM_KEYDOWN, 0x1B, 0);
  EXPECT_FALSE(Drain());
  World.StateFrameCount = 11;
  StartFrameTimer();
  PostMessage(MainWindow, WM_KEYDOWN, 0x1B, 0);
  // Escape stops the timer and closes: the window is destroyed and the loop told to quit.
  EXPECT_TRUE(Drain());
  EXPECT_EQ(GameFrameTimer.TimerId, 0u);
  EXPECT_FALSE(DestroyWindow(MainWindow));
}

TEST_F(WindowProcedureTest, EscapeQuitsAtOnceOnAnyOtherScreen) {
  World.GameState = StateRanking;
  World.StateFrameCount = 0;
  PostMessage(MainWindow, WM_KEYDOWN, 0x1B, 0);
  EXPECT_TRUE(Drain());
}

TEST_F(WindowProcedureTest, LeftButtonLatchesTheTriggerOnlyInPlayWhileAlive) {
  World.GameState = StatePlay;
  World.Player.Active = 1;
  TriggerHeld = 0;
  MainWndProc(MainWindow, WM_LBUTTONDOWN, 1, 0);
  EXPECT_EQ(TriggerHeld, 1);
  MainWndProc(MainWindow, WM_LBUTTONUP, 0, 0);
  EXPECT_EQ(TriggerHeld, 0);
  World.Player.Active = 0;
  MainWndProc(MainWindow, WM_LBUTTONDOWN, 1, 0);
  EXPECT_EQ(TriggerHeld, 0);
  World.GameState = StateTitle;
  World.Player.Active = 1;
  MainWndProc(MainWindow, WM_LBUTTONDOWN, 1, 0);
  EXPECT_EQ(TriggerHeld, 0);
}
}  // namespace

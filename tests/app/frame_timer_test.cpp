// The frame timer: starts once, posts a single WM_TIMER in the program's life, stops cleanly.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "app/app_globals.h"
#include "app/frame_timer.h"
#include "platform/window.h"

namespace {
int TimerMessages = 0;
LRESULT CountTimers(HWND w, std::uint32_t m, WPARAM wp, LPARAM lp) {
  if (m == WM_TIMER) ++TimerMessages;
  return DefWindowProc(w, m, wp, lp);
}
}  // namespace

TEST(FrameTimer, PostsOneTimerMessageAndStopsIdempotently) {
  ResetWindowSystem();
  ASSERT_TRUE(RegisterWindowClass("Main Window", CountTimers));
  MainWindow = CreateMainWindow("Main Window", "Korvid");
  ASSERT_NE(MainWindow, nullptr);
  GameFrameTimer = FrameTimer{};
  TimerMessages = 0;

  StartFrameTimer();
  const std::uint32_t id = GameFrameTimer.TimerId;
  EXPECT_NE(id, 0u);
  StartFrameTimer();  // already running: unchanged
  EXPECT_EQ(GameFrameTimer.TimerId, id);

  // A busy machine may hold the timer's thread back: wait for the message, within reason, and
  // then a while longer to see that no second one follows.
  Message m;
  for (int i = 0; i < 200 && TimerMessages == 0; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    while (PeekMessage(m)) DispatchMessage(m);
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(40));
  while (PeekMessage(m)) DispatchMessage(m);
  EXPECT_EQ(TimerMessages, 1);
  EXPECT_EQ(GameFrameTimer.Posted, 1);

  StopFrameTimer();
  EXPECT_EQ(GameFrameTimer.TimerId, 0u);
  StopFrameTimer();
  EXPECT_EQ(GameFrameTimer.TimerId, 0u);
  DestroyWindow(MainWindow);
  MainWindow = nullptr;
  ResetWindowSystem();
}

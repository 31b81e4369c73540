// The main loop's schedule against the test clock.
#include <gtest/gtest.h>

#include <vector>

#include "app/app_globals.h"
#include "app/main_loop.h"
#include "platform/clock.h"
#include "platform/window.h"
#include "world/game_world.h"

namespace {

struct Recorder {
  TestClock Clock;
  std::vector<std::uint32_t> Updates;  // clock time of each update
  std::vector<std::uint32_t> Renders;  // clock time of each render
  std::vector<char> Order;             // 'u' and 'r' in the order they ran
  std::uint32_t RenderCost = 0;        // milliseconds a render takes
  std::uint32_t StopAfterUpdates = 0;
  // A modal dialog inside render number `GapAt` holds the loop for `Gap` milliseconds.
  std::uint32_t GapAt = 0;
  std::uint32_t Gap = 0;
};

Recorder* R = nullptr;

void Update() {
  R->Updates.push_back(R->Clock.Now);
  R->Order.push_back('u');
  if (R->Updates.size() == R->StopAfterUpdates) PostQuitMessage(7);
}

void Render() {
  R->Renders.push_back(R->Clock.Now);
  R->Order.push_back('r');
  R->Clock.Now += R->RenderCost;
  if (R->Gap && R->Renders.size() == R->GapAt) R->Clock.Now += R->Gap;
}

class MainLoopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetWindowSystem();
    rec.Clock.Now = 1000;
    R = &rec;
    InstallTestClock(&rec.Clock);
    AppActive = 1;
    MainWindow = nullptr;
    World.Fps = 0;
  }
  void TearDown() override {
    InstallTestClock(nullptr);
    R = nullptr;
  }
  int Run() { return RunMainLoop(MainLoopSteps{Update, Render}); }
  Recorder rec;
};

TEST_F(MainLoopTest, FirstPassUpdatesAndRendersAtOnceAndQuitCodeIsReturned) {
  rec.StopAfterUpdates = 3;
  EXPECT_EQ(Run(), 7);
  ASSERT_GE(rec.Order.size(), 2u);
  EXPECT_EQ(rec.Order[0], 'u');
  EXPECT_EQ(rec.Order[1], 'r');
  EXPECT_EQ(rec.Updates[0], 1000u);
  EXPECT_EQ(rec.Renders[0], 1000u);
}

TEST_F(MainLoopTest, KeepsSixtyTwoAndAHalfUpdatesPerSecondWhileRenderingIsSlow) {
  rec.RenderCost = 40;  // each frame costs two and a half steps
  rec.StopAfterUpdates = 625;
  Run();
  // 625 updates at 16 ms each span 10 s of clock time, whatever the render cost.
  const std::uint32_t span = rec.Updates.back() - rec.Updates.front();
  EXPECT_GE(span, 9984u - 40u);
  EXPECT_LE(span, 9984u + 40u);
  // Never two renders without an update between them.
  for (std::size_t i = 1; i < rec.Order.size(); ++i)
    EXPECT_FALSE(rec.Order[i] == 'r' && rec.Order[i - 1] == 'r') << "at " << i;
  // Renders were skipped while behind.
  EXPECT_LT(rec.Renders.size(), rec.Updates.size() / 2);
}

TEST_F(MainLoopTest, FastFramesRenderOncePerUpdate) {
  rec.StopAfterUpdates = 100;
  Run();
  EXPECT_EQ(rec.Renders.size(), 100u);  // the quit is only read on the next pass
  for (std::size_t i = 1; i < rec.Updates.size(); ++i)
    EXPECT_EQ(rec.Updates[i] - rec.Updates[i - 1], 16u);
}

TEST_F(MainLoopTest, LongStallRunsTheMissedStepsBackToBackBeforeTheNextFrame) {
  // A modal dialog holding the loop for 1600 ms inside frame 5 (rendered at 1064).
  rec.GapAt = 5;
  rec.Gap = 1600;
  rec.StopAfterUpdates = 200;
  Run();
  // After the stall, the steps of 1080 .. 2664 (100 of them) run before the next frame.
  std::size_t updatesAfterGap = 0;
  std::size_t i = 0;
  std::size_t seen = 0;
  for (; i < rec.Order.size(); ++i) {
    if (rec.Order[i] == 'r' && ++seen == 5) break;
  }
  for (++i; i < rec.Order.size() && rec.Order[i] == 'u'; ++i) ++updatesAfterGap;
  EXPECT_EQ(updatesAfterGap, 100u);
}

TEST_F(MainLoopTest, FpsIsZeroUntilTheFirstSecondClosesThenCountsFrames) {
  rec.StopAfterUpdates = 62;  // 62 * 16 = 992 ms: the window has not closed yet
  Run();
  EXPECT_EQ(World.Fps, 0);

  rec = Recorder{};
  rec.Clock.Now = 1000;
  InstallTestClock(&rec.Clock);
  rec.StopAfterUpdates = 100;
  Run();
  // The first window closes at the first frame 1000 ms on (t = 2008) and counts it too:
  // the frames of 1000 .. 2008, 64 of them.
  EXPECT_EQ(World.Fps, 64);

  rec = Recorder{};
  rec.Clock.Now = 1000;
  InstallTestClock(&rec.Clock);
  rec.StopAfterUpdates = 140;
  Run();
  // The second window runs from the frame after 2008 to the close at 3016: 63 frames.
  EXPECT_EQ(World.Fps, 63);
}

TEST_F(MainLoopTest, SurvivesTheClockWrap) {
  rec.Clock.Now = 0xFFFFFFFFu - 100;
  rec.StopAfterUpdates = 50;
  Run();
  ASSERT_EQ(rec.Updates.size(), 50u);
  for (std::size_t i = 1; i < rec.Updates.size(); ++i)
    EXPECT_EQ(static_cast<std::uint32_t>(rec.Updates[i] - rec.Updates[i - 1]), 16u);
  EXPECT_EQ(rec.Renders.size(), 50u);
}

TEST_F(MainLoopTest, WaitsWithOneMillisecondSleepsWhileAhead) {
  rec.StopAfterUpdates = 11;
  Run();
  // Ten full steps of 16 one-millisecond sleeps each.
  EXPECT_EQ(rec.Clock.SleepCalls, 160u);
}

// Inactivity: the window procedure is told the game went inactive and, later, active again.
TestClock* InactiveClock = nullptr;
LRESULT ReactivateAfterAWhile(HWND w, std::uint32_t m, WPARAM wp, LPARAM lp) {
  if (m == WM_TIMER) {
    // Time passes while inactive; nothing may run meanwhile.
    InactiveClock->Now += 1600;
    AppActive = 1;
    return 0;
  }
  return DefWindowProc(w, m, wp, lp);
}

void UpdateThenGoInactive() {
  Update();
  if (R->Updates.size() == 5) {
    AppActive = 0;
    PostMessage(MainWindow, WM_TIMER, 0, 0);
  }
}

TEST_F(MainLoopTest, InactivityFreezesTheScheduleAndCatchesUpInABurst) {
  ASSERT_TRUE(RegisterWindowClass("Main Window", ReactivateAfterAWhile));
  MainWindow = CreateMainWindow("Main Window", "Korvid");
  ASSERT_NE(MainWindow, nullptr);
  InactiveClock = &rec.Clock;
  rec.StopAfterUpdates = 200;
  RunMainLoop(MainLoopSteps{UpdateThenGoInactive, Render});
  // Update 5 ran at 1064; the 1600 ms away are made up by 100 updates before the next frame.
  std::size_t seen = 0, i = 0, burst = 0;
  for (; i < rec.Order.size(); ++i)
    if (rec.Order[i] == 'u' && ++seen == 5) break;
  ASSERT_EQ(rec.Order[i + 1], 'r');  // update 5's own frame was rendered before going away
  for (i += 2; i < rec.Order.size() && rec.Order[i] == 'u'; ++i) ++burst;
  EXPECT_EQ(burst, 100u);
  MainWindow = nullptr;
}

}  // namespace

// Against the real clock: about 62.5 updates per second (a wide band; this is no benchmark).
TEST(MainLoopRealClock, RunsSixtyTwoAndAHalfStepsPerSecond) {
  static std::vector<std::uint32_t> times;
  times.clear();
  ResetWindowSystem();
  AppActive = 1;
  MainLoopSteps steps;
  steps.Update = [] {
    times.push_back(TimeGetTime());
    if (times.size() == 32) PostQuitMessage(0);
  };
  steps.Render = [] {};
  RunMainLoop(steps);
  const std::uint32_t span = times.back() - times.front();
  EXPECT_GE(span, 31u * 16u - 2u);
  EXPECT_LE(span, 31u * 16u + 250u);  // room for a busy machine
}

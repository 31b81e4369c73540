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
  // Optional scripted events: after update number `At`, advance the clock by `Gap`.
  std::uint32_t GapAt = 0;
  std::uint32_t Gap = 0;
};

Recorder* R = nullptr;

void Update() {
  R->Updates.push_back(R->Clock.Now);
  R->Order.push_back('u');
  if (R->Gap && R->Updates.size() == R->GapAt) R->Clock.Now += R->Gap;
  if (R->Updates.size() == R->StopAfterUpdates) PostQuitMessage(7);
}

void Render() {
  R->Renders.push_back(R->Clock.Now);
  R->Order.push_back('r');
  R->Clock.Now += R->RenderCost;
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
  // A modal dialog holding the loop for 1600 ms inside update 5.
  rec.GapAt = 5;
  rec.Gap = 1600;
  rec.StopAfterUpdates = 200;
  Run();
  // After the stall, 100 updates run before any further render.
  std::size_t updatesAfterGap = 0;
  std::size_t i = 0;
  std::size_t seen = 0;
  for (; i < rec.Order.size(); ++i) {
    if (rec.Order[i] == 'u' && ++seen == 5) break;
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

}  // namespace

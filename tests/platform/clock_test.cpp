// The clock: wrap-safe comparison, the test clock seam and the periodic timer.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/clock.h"

TEST(Clock, ComparesAcrossTheWrap) {
  EXPECT_TRUE(TimeAfter(5, 0xFFFFFFF0u));
  EXPECT_FALSE(TimeAfter(0xFFFFFFF0u, 5));
  EXPECT_FALSE(TimeAfter(100, 100));
  EXPECT_TRUE(TimeAfter(101, 100));
}

TEST(Clock, RealClockAdvancesWithSleep) {
  const std::uint32_t start = TimeGetTime();
  Sleep(20);
  const std::uint32_t elapsed = TimeGetTime() - start;
  EXPECT_GE(elapsed, 19u);
  EXPECT_LT(elapsed, 1000u);
}

TEST(Clock, TestClockIsAdvancedOnlyBySleep) {
  TestClock clock;
  clock.Now = 0xFFFFFFFEu;
  std::uint32_t slept = 0;
  clock.OnSleep = [&](std::uint32_t ms) { slept += ms; };
  InstallTestClock(&clock);
  EXPECT_EQ(TimeGetTime(), 0xFFFFFFFEu);
  Sleep(3);
  EXPECT_EQ(TimeGetTime(), 1u);
  EXPECT_EQ(slept, 3u);
  EXPECT_EQ(clock.SleepCalls, 1u);
  InstallTestClock(nullptr);
}

namespace {
std::atomic<int> Ticks{0};
void Tick(std::uint32_t, std::uint32_t, std::uintptr_t user, std::uintptr_t, std::uintptr_t) {
  Ticks += static_cast<int>(user);
}
}  // namespace

TEST(Clock, PeriodicTimerRunsUntilKilled) {
  Ticks = 0;
  const std::uint32_t id = TimeSetEvent(1, 1, Tick, 1);
  ASSERT_NE(id, 0u);
  // A busy machine may hold the timer's thread back: wait for the ticks, within reason.
  for (int i = 0; i < 400 && Ticks.load() <= 5; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  TimeKillEvent(id);
  const int atKill = Ticks.load();
  EXPECT_GT(atKill, 5);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(Ticks.load(), atKill);
  TimeKillEvent(id);  // a second kill is harmless
  EXPECT_EQ(TimeSetEvent(1, 1, nullptr, 0), 0u);
}

TEST(ClockDeathTest, ExitingWithATimerStillRunningEndsCleanly) {
  // The program may end (signal, early return) without killing its timer.
  EXPECT_EXIT(
      {
        TimeSetEvent(1, 1, Tick, 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "");
}

// The 32-bit millisecond clock, Sleep and the periodic timer, with a test clock seam.
#pragma once

#include <cstdint>
#include <functional>

// Milliseconds since an arbitrary start; wraps after about 49.7 days, so compare by difference.
std::uint32_t TimeGetTime();
void Sleep(std::uint32_t milliseconds);

// True when `a` is later than `b`, across the wrap.
constexpr bool TimeAfter(std::uint32_t a, std::uint32_t b) {
  return static_cast<std::int32_t>(a - b) > 0;
}

struct TimerCaps {
  std::uint32_t PeriodMin = 1;
  std::uint32_t PeriodMax = 1000000;
};

using TimerCallback = void (*)(std::uint32_t timerId, std::uint32_t message, std::uintptr_t user,
                               std::uintptr_t reserved1, std::uintptr_t reserved2);

TimerCaps TimeGetDevCaps();
void TimeBeginPeriod(std::uint32_t period);
void TimeEndPeriod(std::uint32_t period);
// Starts a periodic timer on its own thread; returns its id, 0 on failure.
std::uint32_t TimeSetEvent(std::uint32_t delay, std::uint32_t resolution, TimerCallback callback,
                           std::uintptr_t user);
void TimeKillEvent(std::uint32_t timerId);

// While installed, TimeGetTime returns Now and Sleep advances it (then calls OnSleep).
struct TestClock {
  std::uint32_t Now = 0;
  std::uint32_t SleepCalls = 0;
  std::function<void(std::uint32_t)> OnSleep;
};
void InstallTestClock(TestClock* clock);  // null restores the real clock

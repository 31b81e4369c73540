// The millisecond clock, Sleep and the periodic timer on std::chrono and threads.
#include "platform/clock.h"

#include <atomic>
#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

namespace {
TestClock* Installed = nullptr;

struct PeriodicTimer {
  std::atomic<bool> Stop{false};
  std::thread Thread;
};

// Timers still running when the program ends are stopped and joined, never left to abort.
struct TimerTable {
  std::map<std::uint32_t, std::unique_ptr<PeriodicTimer>> Entries;
  ~TimerTable() {
    for (auto& entry : Entries) {
      entry.second->Stop.store(true);
      if (entry.second->Thread.joinable()) entry.second->Thread.join();
    }
  }
};

std::mutex TimersLock;
TimerTable Timers;
std::uint32_t NextTimerId = 1;
}  // namespace

std::uint32_t TimeGetTime() {
  if (Installed) return Installed->Now;
  using namespace std::chrono;
  return static_cast<std::uint32_t>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void Sleep(std::uint32_t milliseconds) {
  if (Installed) {
    Installed->Now += milliseconds;
    ++Installed->SleepCalls;
    if (Installed->OnSleep) Installed->OnSleep(milliseconds);
    return;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void InstallTestClock(TestClock* clock) { Installed = clock; }

TimerCaps TimeGetDevCaps() { return TimerCaps{}; }

// The kernel's timers are already fine-grained; there is no period to raise.
void TimeBeginPeriod(std::uint32_t) {}
void TimeEndPeriod(std::uint32_t) {}

std::uint32_t TimeSetEvent(std::uint32_t delay, std::uint32_t, TimerCallback callback,
                           std::uintptr_t user) {
  if (!callback) return 0;
  std::lock_guard<std::mutex> hold(TimersLock);
  const std::uint32_t id = NextTimerId++;
  auto timer = std::make_unique<PeriodicTimer>();
  PeriodicTimer* raw = timer.get();
  const auto period = std::chrono::milliseconds(delay == 0 ? 1 : delay);
  raw->Thread = std::thread([raw, period, callback, id, user] {
    auto next = std::chrono::steady_clock::now() + period;
    while (!raw->Stop.load()) {
      std::this_thread::sleep_until(next);
      if (raw->Stop.load()) break;
      callback(id, 0, user, 0, 0);
      next += period;
    }
  });
  Timers.Entries.emplace(id, std::move(timer));
  return id;
}

void TimeKillEvent(std::uint32_t timerId) {
  std::unique_ptr<PeriodicTimer> timer;
  {
    std::lock_guard<std::mutex> hold(TimersLock);
    auto found = Timers.Entries.find(timerId);
    if (found == Timers.Entries.end()) return;
    timer = std::move(found->second);
    Timers.Entries.erase(found);
  }
  timer->Stop.store(true);
  if (timer->Thread.joinable()) timer->Thread.join();
}

// FrameTimer: raises the timer resolution for the run and posts one WM_TIMER.
#include "app/frame_timer.h"

#include "app/app_globals.h"
#include "platform/window.h"

FrameTimer GameFrameTimer;

void StartFrameTimer() {
  FrameTimer& t = GameFrameTimer;
  if (t.TimerId != 0) return;
  t.Caps = TimeGetDevCaps();
  TimeBeginPeriod(t.Caps.PeriodMin);
  t.TimerId = TimeSetEvent(1, t.Caps.PeriodMin, FrameTimerProc, 0);
}

void StopFrameTimer() {
  FrameTimer& t = GameFrameTimer;
  if (t.TimerId == 0) return;
  TimeKillEvent(t.TimerId);
  TimeEndPeriod(t.Caps.PeriodMin);
  t.TimerId = 0;
}

void FrameTimerProc(std::uint32_t, std::uint32_t, std::uintptr_t, std::uintptr_t, std::uintptr_t) {
  if (GameFrameTimer.Posted == 0) {
    PostMessage(MainWindow, WM_TIMER, 0, 0);
    GameFrameTimer.Posted = 1;
  }
}

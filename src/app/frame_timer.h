// FrameTimer: keeps the system timer fine-grained while the program runs.
#pragma once

#include <cstdint>

#include "platform/clock.h"

struct FrameTimer {
  TimerCaps Caps;
  std::uint32_t TimerId = 0;
  std::int32_t Posted = 0;
};

extern FrameTimer GameFrameTimer;

void StartFrameTimer();
void StopFrameTimer();
void FrameTimerProc(std::uint32_t timerId, std::uint32_t message, std::uintptr_t user,
                    std::uintptr_t reserved1, std::uintptr_t reserved2);

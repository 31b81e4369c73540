// The fixed-step main loop: one update per 16 ms of wall time, a frame whenever not behind.
#pragma once

#include <cstdint>

constexpr std::uint32_t StepMilliseconds = 16;
constexpr std::uint32_t FpsWindowMilliseconds = 1000;

struct MainLoopSteps {
  void (*Update)() = nullptr;
  void (*Render)() = nullptr;
};

// Runs until WM_QUIT, then destroys MainWindow and returns the quit message's code.
int RunMainLoop(const MainLoopSteps& steps);

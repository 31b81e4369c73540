// What the fixed-step loop costs while it waits: the loop runs 125 steps (two seconds of game
// time) with steps that do nothing, so its CPU time is the waiting between steps alone.
// The "cpu_share" counter is that CPU time over the wall time: the share of one core.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>

#include "app/app_globals.h"
#include "app/main_loop.h"
#include "platform/window.h"

namespace {

constexpr int Steps = 125;
int StepsLeft = 0;

void CountDownStep() {
  if (--StepsLeft == 0) PostQuitMessage(0);
}
void NoRender() {}

double ProcessCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void BM_IdleWaitBetweenSteps(benchmark::State& state) {
  AppActive = 1;
  double cpu = 0, wall = 0;
  for (auto _ : state) {
    StepsLeft = Steps;
    const double cpuBefore = ProcessCpuSeconds();
    const auto wallBefore = std::chrono::steady_clock::now();
    RunMainLoop(MainLoopSteps{CountDownStep, NoRender});
    cpu += ProcessCpuSeconds() - cpuBefore;
    wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - wallBefore).count();
  }
  state.counters["cpu_share"] = wall > 0 ? cpu / wall : 0;
}
BENCHMARK(BM_IdleWaitBetweenSteps)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();

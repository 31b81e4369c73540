// Periodic step-rate, sound-source and memory figures, printed on request.
#include "platform/run_stats.h"

#include <time.h>

#include <cstdio>
#include <cstdlib>

#include "platform/process_memory.h"
#include "platform/sound/sound_device.h"

namespace {

double NowSeconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

double Period() {
  const char* value = std::getenv("KORVID_STATS");
  if (!value) return 0;
  const double seconds = std::atof(value);
  return seconds > 0 ? seconds : 0;
}

}  // namespace

void NoteRunStep(bool drawn) {
  static const double period = Period();
  if (period == 0) return;
  static double start = NowSeconds();
  static long steps = 0, frames = 0;
  ++steps;
  if (drawn) ++frames;
  const double now = NowSeconds();
  if (now - start < period) return;
  const double elapsed = now - start;
  std::fprintf(stderr, "korvid: stats %.2f steps/s %.2f frames/s %d sources %.1f MB\n",
               static_cast<double>(steps) / elapsed, static_cast<double>(frames) / elapsed,
               LiveSoundSources(), ResidentMegabytes());
  start = now;
  steps = frames = 0;
}

// Periodic step-rate, sound-source and memory figures, printed on request.
#include "platform/run_stats.h"

#include <cstdio>
#include <cstdlib>

#include "platform/clock.h"
#include "platform/process_memory.h"
#include "platform/sound/sound_device.h"

namespace {

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
  static std::uint32_t start = TimeGetTime();
  static long steps = 0, frames = 0;
  ++steps;
  if (drawn) ++frames;
  const std::uint32_t now = TimeGetTime();
  const double elapsed = static_cast<double>(now - start) / 1000.0;
  if (elapsed < period) return;
  std::fprintf(stderr, "korvid: stats %.2f steps/s %.2f frames/s %d sources %.1f MB\n",
               static_cast<double>(steps) / elapsed, static_cast<double>(frames) / elapsed,
               LiveSoundSources(), ResidentMegabytes());
  start = now;
  steps = frames = 0;
}

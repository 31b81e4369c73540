// Start-up step timings and resident memory, printed on request.
#include "platform/startup_timing.h"

#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/process_memory.h"

namespace {

// When the process began, in milliseconds since boot: field 22 of /proc/self/stat.
double ProcessStartMilliseconds() {
  FILE* file = std::fopen("/proc/self/stat", "r");
  if (!file) return -1;
  char line[1024] = {};
  const bool read = std::fgets(line, sizeof line, file) != nullptr;
  std::fclose(file);
  // The command name may hold spaces: fields are counted after its closing parenthesis.
  const char* at = read ? std::strrchr(line, ')') : nullptr;
  if (!at) return -1;
  unsigned long long ticks = 0;
  if (std::sscanf(at + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %*u %*u %*d %*d %*d %*d %*d %*d %llu",
                  &ticks) != 1)
    return -1;
  return static_cast<double>(ticks) * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

double NowSinceBootMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_BOOTTIME, &now);
  return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}


}  // namespace

void NoteStartupStep(const char* what) {
  static const bool enabled = std::getenv("KORVID_TIMINGS") != nullptr;
  if (!enabled) return;
  static const double start = ProcessStartMilliseconds();
  if (start < 0) return;
  std::fprintf(stderr, "korvid: %7.1f ms %6.1f MB  %s\n", NowSinceBootMilliseconds() - start,
               ResidentMegabytes(), what);
}

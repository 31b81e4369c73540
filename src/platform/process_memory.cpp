// Resident memory read from /proc/self/statm.
#include "platform/process_memory.h"

#include <unistd.h>

#include <cstdio>

double ResidentMegabytes() {
  FILE* file = std::fopen("/proc/self/statm", "r");
  if (!file) return 0;
  unsigned long long size = 0, resident = 0;
  const bool read = std::fscanf(file, "%llu %llu", &size, &resident) == 2;
  std::fclose(file);
  return read ? static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1048576.0 : 0;
}

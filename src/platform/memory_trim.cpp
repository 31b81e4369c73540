// The allocator's settings for loading, and the trim after it.
#include "platform/memory_trim.h"

#include <malloc.h>

namespace {
// The C library's own defaults: buffers from 128 KiB on are mapped apart, and the top of the
// pool goes back to the system from 128 KiB on.
constexpr int DefaultMapThreshold = 128 * 1024;
constexpr int DefaultTrimThreshold = 128 * 1024;
}  // namespace

void KeepFreedMemoryWhileLoading() {
  // One pool for every thread, so what a helper thread frees the main thread can reuse;
  // buffers up to 64 MiB from the pool rather than mapped apart; nothing trimmed meanwhile.
  mallopt(M_ARENA_MAX, 1);
  mallopt(M_MMAP_THRESHOLD, 64 * 1024 * 1024);
  mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
}

void ReleaseFreedMemory() {
  mallopt(M_MMAP_THRESHOLD, DefaultMapThreshold);
  mallopt(M_TRIM_THRESHOLD, DefaultTrimThreshold);
  malloc_trim(0);
}

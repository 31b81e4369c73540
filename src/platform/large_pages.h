// Restarting the program once so that its large allocations come in large pages.
#pragma once

// When the kernel hands out large pages only on request and the C library has not been asked
// yet, replaces the process with the same program (same arguments, same process id), asked
// for them. Returns only when it did not restart, with the environment as it was.
void RestartWithLargePages(char** argv);

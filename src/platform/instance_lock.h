// The single-instance guard: a named lock held until the process ends, however it ends.
#pragma once

// True when this process now holds the lock of that name; false when another process does.
bool AcquireInstanceLock(const char* name);

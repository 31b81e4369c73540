#include "platform/memory_trim.h"

#include <malloc.h>

void ReleaseFreedMemory() { malloc_trim(0); }

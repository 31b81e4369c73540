// How the C library's allocator holds memory while loading, and handing it back afterwards.
#pragma once

// Loading frees big buffers (decoded pictures, mip chains, sound data) while the driver
// allocates as big ones for the textures. Kept for reuse in one pool, freed memory serves the
// next buffer without the system first mapping and zeroing fresh pages, which costs a software
// renderer's start-up dearly. Call before any thread starts.
void KeepFreedMemoryWhileLoading();

// Returns what is free to the system and lets the allocator hand back freed memory as usual
// from then on; meant for when loading is over and for pauses between scenes.
void ReleaseFreedMemory();

// Handing memory freed after loading back to the system.
#pragma once

// Loading builds big temporary buffers (decoded pictures, mip chains, sound data) that the C
// library keeps for reuse once freed; this returns what it can, and is meant for after loading.
void ReleaseFreedMemory();

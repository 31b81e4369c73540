// The process's own resident memory, for the figures printed on request.
#pragma once

// Resident memory in MB (0 when it cannot be read).
double ResidentMegabytes();

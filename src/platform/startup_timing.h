// Start-up timings for whoever tunes loading: with KORVID_TIMINGS set in the environment, each
// loading step and the first title frame are written to standard error, with the milliseconds
// since the process began (program loading included) and the resident memory at that point.
#pragma once

void NoteStartupStep(const char* what);

// Running figures for long play sessions: with KORVID_STATS=<seconds> in the environment, the
// steps and frames per second, live sound sources and resident memory of each period are
// written to standard error.
#pragma once

// Called once per game step; `drawn` says whether the step was also drawn.
void NoteRunStep(bool drawn);

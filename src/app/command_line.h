// The program's command-line options: --help and --version print and exit, nothing else is taken.
#pragma once

#include <string>

struct CommandLineOutcome {
  bool StartGame = true;  // no arguments: the game starts as it always has
  int ExitCode = 0;       // when not starting
  std::string Output;     // for standard output
  std::string Error;      // for standard error
};

CommandLineOutcome ReadCommandLine(int argc, const char* const* argv);

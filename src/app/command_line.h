// The program's command-line options: --help and --version print and exit; the demo options start the game.
#pragma once

#include <string>

enum class DemoOption { None, Record, Play, Timedemo };

struct CommandLineOutcome {
  bool StartGame = true;  // no arguments: the game starts as it always has
  int ExitCode = 0;       // when not starting
  std::string Output;     // for standard output
  std::string Error;      // for standard error
  DemoOption Demo = DemoOption::None;
  std::string DemoPath;
  int Width = 0;  // --size of a timedemo; 0 when not given
  int Height = 0;
};

CommandLineOutcome ReadCommandLine(int argc, const char* const* argv);

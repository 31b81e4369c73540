// The game program: reads its options, finds its game folder, then runs WinMain there.
#include <cstdio>
#include <string>

#include "app/command_line.h"
#include "app/win_main.h"
#include "platform/game_folder.h"
#include "platform/memory_trim.h"
#include "platform/message_box.h"

// The sound, music and mouse objects release their devices at exit; the picture and model
// objects live in the GL context, which goes with the window and the process.
int main(int argc, char** argv) {
  KeepFreedMemoryWhileLoading();
  const CommandLineOutcome options = ReadCommandLine(argc, argv);
  std::fputs(options.Output.c_str(), stdout);
  std::fputs(options.Error.c_str(), stderr);
  if (!options.StartGame) return options.ExitCode;

  std::string error;
  if (!EnterGameFolder(error)) {
    // Started from a menu there is no terminal: show it as well.
    std::fprintf(stderr, "korvid: %s\n", error.c_str());
    MessageBox(nullptr, ("Korvid cannot start: " + error).c_str(), "Korvid", MB_OK | MB_ICONERROR);
    return 1;
  }
  return WinMain();
}

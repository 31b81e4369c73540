// The game program: reads its options, finds its game folder, then runs WinMain there.
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/command_line.h"
#include "app/demo_run.h"
#include "app/win_main.h"
#include "platform/game_folder.h"
#include "platform/memory_trim.h"
#include "platform/message_box.h"

namespace {

// Before the game folder becomes the working directory, a demo's name is taken as given.
bool PrepareDemo(const CommandLineOutcome& options) {
  if (options.Demo == DemoOption::None) return true;
  std::error_code failed;
  std::string path = std::filesystem::absolute(options.DemoPath, failed).string();
  if (failed) path = options.DemoPath;
  std::string error;
  if (options.Demo == DemoOption::Record) {
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (std::filesystem::is_directory(folder, failed)) {
      ArmDemoRecording(path);
      return true;
    }
    error = "cannot record to " + options.DemoPath + ": no such folder";
  } else {
    const DemoMode mode = options.Demo == DemoOption::Play ? DemoMode::Play : DemoMode::Timedemo;
    if (LoadDemoForReplay(mode, path, options.Width, options.Height, error)) return true;
    error = "cannot replay " + options.DemoPath + ": " + error;
  }
  // Started from a menu there is no terminal: show it as well.
  std::fprintf(stderr, "korvid: %s\n", error.c_str());
  MessageBox(nullptr, ("korvid: " + error).c_str(), "Korvid", MB_OK | MB_ICONERROR);
  return false;
}

}  // namespace

// The sound, music and mouse objects release their devices at exit; the picture and model
// objects live in the GL context, which goes with the window and the process.
int main(int argc, char** argv) {
  KeepFreedMemoryWhileLoading();
  const CommandLineOutcome options = ReadCommandLine(argc, argv);
  std::fputs(options.Output.c_str(), stdout);
  std::fputs(options.Error.c_str(), stderr);
  if (!options.StartGame) return options.ExitCode;
  if (!PrepareDemo(options)) return 2;

  std::string error;
  if (!EnterGameFolder(error)) {
    // Started from a menu there is no terminal: show it as well.
    std::fprintf(stderr, "korvid: %s\n", error.c_str());
    MessageBox(nullptr, ("Korvid cannot start: " + error).c_str(), "Korvid", MB_OK | MB_ICONERROR);
    return 1;
  }
  return EndDemoRun(WinMain());
}

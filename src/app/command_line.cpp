// Reading the command line: the informational options, the demo options, a clear refusal of anything else.
#include "app/command_line.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr const char* HelpText =
    "Usage: korvid [OPTION]\n"
    "A first-person arena shooter built around positional sound.\n"
    "\n"
    "  -h, --help            show this help and exit\n"
    "      --version         show the version and exit\n"
    "      --record FILE     play as usual and record the next match into the demo FILE\n"
    "      --play FILE       play back the demo FILE in real time, with its own settings;\n"
    "                        Setting.dat and Ranking.dat are neither read nor written,\n"
    "                        and only Escape is taken from the keyboard and mouse\n"
    "      --timedemo FILE   replay the demo FILE as fast as possible, print the frames,\n"
    "                        seconds and frame rates, and check that the replay matches\n"
    "                        the recording (exit status 0 when it does, 3 when not)\n"
    "      --size WxH        with --timedemo: the size of the picture drawn (e.g. 1600x1200)\n"
    "\n"
    "A demo file that cannot be read ends the program with exit status 2.\n"
    "\n"
    "Started in a folder that holds a File folder, the game runs there and keeps\n"
    "Setting.dat and Ranking.dat beside it. Otherwise it keeps them in\n"
    "$XDG_DATA_HOME/korvid (~/.local/share/korvid), and reads each picture, model,\n"
    "sound and music file from the File folder there when it holds one, else from\n"
    "the installed default pack.\n"
    "\n"
    "The port's own options (the picture's shape, the screenshot key) are set on the\n"
    "settings window's last page and kept in korvid.ini beside Setting.dat. F12\n"
    "saves a PNG screenshot in $XDG_PICTURES_DIR/Korvid, else beside Setting.dat.\n"
    "\n"
    "The texts are Japanese, or English when chosen on that page; its default,\n"
    "System, follows LANGUAGE, LC_ALL, LC_MESSAGES and LANG (Japanese for a C\n"
    "locale or a language without a translation).\n"
    "\n"
    "Without a sound device, run it silently with ALSOFT_DRIVERS=null.\n"
    "\n"
    "Game controllers work when plugged in; SDL_GAMECONTROLLERCONFIG and\n"
    "gamecontrollerdb.txt beside Setting.dat add mappings. For tests,\n"
    "KORVID_TEST_PAD=FIFO attaches a virtual controller driven by lines such as\n"
    "'axis rightx -20000', 'button a 1', 'unplug' and 'plug' written to FIFO.\n";

CommandLineOutcome Refuse(const std::string& what) {
  CommandLineOutcome outcome;
  outcome.StartGame = false;
  outcome.ExitCode = 2;
  outcome.Error = "korvid: " + what + "\nTry 'korvid --help' for more information.\n";
  return outcome;
}

bool ReadSize(const char* text, int& width, int& height) {
  int w = 0, h = 0;
  char x = 0, rest = 0;
  if (std::sscanf(text, "%d%c%d%c", &w, &x, &h, &rest) != 3 || (x != 'x' && x != 'X')) return false;
  if (w < 64 || h < 64 || w > 8192 || h > 8192) return false;
  width = w;
  height = h;
  return true;
}

CommandLineOutcome ReadDemoOptions(int argc, const char* const* argv) {
  CommandLineOutcome outcome;
  bool sized = false;
  for (int i = 1; i < argc; ++i) {
    const char* option = argv[i];
    DemoOption kind = DemoOption::None;
    if (std::strcmp(option, "--record") == 0) kind = DemoOption::Record;
    if (std::strcmp(option, "--play") == 0) kind = DemoOption::Play;
    if (std::strcmp(option, "--timedemo") == 0) kind = DemoOption::Timedemo;
    const bool size = std::strcmp(option, "--size") == 0;
    if (kind == DemoOption::None && !size) {
      if (option[0] == '-') return Refuse(std::string("unknown option '") + option + "'");
      return Refuse(std::string("unexpected argument '") + option + "'");
    }
    if (i + 1 >= argc) return Refuse(std::string("option '") + option + "' needs an argument");
    const char* value = argv[++i];
    if (size) {
      if (sized) return Refuse("'--size' given twice");
      if (!ReadSize(value, outcome.Width, outcome.Height))
        return Refuse(std::string("'--size' wants WIDTHxHEIGHT (64 to 8192 each), not '") + value + "'");
      sized = true;
      continue;
    }
    if (outcome.Demo != DemoOption::None) return Refuse(std::string("unexpected argument '") + option + "'");
    if (!*value) return Refuse(std::string("option '") + option + "' needs a file name");
    outcome.Demo = kind;
    outcome.DemoPath = value;
  }
  if (sized && outcome.Demo != DemoOption::Timedemo) return Refuse("'--size' goes with '--timedemo' only");
  return outcome;
}

}  // namespace

CommandLineOutcome ReadCommandLine(int argc, const char* const* argv) {
  CommandLineOutcome outcome;
  if (argc <= 1) return outcome;
  const char* option = argv[1];
  const bool informational = std::strcmp(option, "--help") == 0 || std::strcmp(option, "-h") == 0 ||
                             std::strcmp(option, "--version") == 0;
  if (!informational && option[0] == '-') return ReadDemoOptions(argc, argv);
  // One informational option alone; anything beside it is as wrong as an unknown option.
  if (argc > 2) return Refuse(std::string("unexpected argument '") + argv[2] + "'");
  outcome.StartGame = false;
  if (std::strcmp(option, "--help") == 0 || std::strcmp(option, "-h") == 0) {
    outcome.Output = HelpText;
  } else if (std::strcmp(option, "--version") == 0) {
    outcome.Output = std::string("Korvid ") + KORVID_VERSION_STRING + "\n";
  } else {
    return Refuse(std::string("unexpected argument '") + option + "'");
  }
  return outcome;
}

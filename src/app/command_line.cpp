// Reading the command line: the two informational options and a clear refusal of anything else.
#include "app/command_line.h"

#include <cstring>

namespace {

constexpr const char* HelpText =
    "Usage: korvid [OPTION]\n"
    "A first-person arena shooter built around positional sound.\n"
    "\n"
    "  -h, --help     show this help and exit\n"
    "      --version  show the version and exit\n"
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
    "Without a sound device, run it silently with ALSOFT_DRIVERS=null.\n";

CommandLineOutcome Refuse(const std::string& what) {
  CommandLineOutcome outcome;
  outcome.StartGame = false;
  outcome.ExitCode = 2;
  outcome.Error = "korvid: " + what + "\nTry 'korvid --help' for more information.\n";
  return outcome;
}

}  // namespace

CommandLineOutcome ReadCommandLine(int argc, const char* const* argv) {
  CommandLineOutcome outcome;
  if (argc <= 1) return outcome;
  // One option alone; anything beside it is as wrong as an unknown option.
  const char* option = argv[1];
  if (argc > 2) return Refuse(std::string("unexpected argument '") + argv[2] + "'");
  outcome.StartGame = false;
  if (std::strcmp(option, "--help") == 0 || std::strcmp(option, "-h") == 0) {
    outcome.Output = HelpText;
  } else if (std::strcmp(option, "--version") == 0) {
    outcome.Output = std::string("Korvid ") + KORVID_VERSION_STRING + "\n";
  } else if (option[0] == '-') {
    return Refuse(std::string("unknown option '") + option + "'");
  } else {
    return Refuse(std::string("unexpected argument '") + option + "'");
  }
  return outcome;
}

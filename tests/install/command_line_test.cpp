// The options: what starts the game, what prints and exits, and what is refused with status 2.
#include <gtest/gtest.h>

#include <vector>

#include "app/command_line.h"

namespace {

struct Case {
  std::vector<const char*> Args;
  bool Starts;
  int Code;
  const char* OutHas;  // empty: nothing printed there
  const char* ErrHas;
};

TEST(CommandLine, EachArgumentListStartsPrintsOrRefuses) {
  const std::string version = std::string("Korvid ") + KORVID_VERSION_STRING + "\n";
  const Case cases[] = {
      {{"korvid"}, true, 0, "", ""},
      {{"korvid", "--version"}, false, 0, version.c_str(), ""},
      {{"korvid", "--help"}, false, 0, "Usage: korvid [OPTION]", ""},
      {{"korvid", "-h"}, false, 0, "--version", ""},
      {{"korvid", "--fullscreen"}, false, 2, "", "unknown option '--fullscreen'"},
      {{"korvid", "-v"}, false, 2, "", "unknown option '-v'"},
      {{"korvid", "File"}, false, 2, "", "unexpected argument 'File'"},
      {{"korvid", "--help", "extra"}, false, 2, "", "unexpected argument 'extra'"},
      {{"korvid", "--version", "--help"}, false, 2, "", "unexpected argument '--help'"},
  };
  for (const Case& c : cases) {
    const std::string label = c.Args.size() > 1 ? c.Args[1] : "(none)";
    const CommandLineOutcome outcome = ReadCommandLine(static_cast<int>(c.Args.size()), c.Args.data());
    EXPECT_EQ(outcome.StartGame, c.Starts) << label;
    EXPECT_EQ(outcome.ExitCode, c.Code) << label;
    if (*c.OutHas) {
      EXPECT_NE(outcome.Output.find(c.OutHas), std::string::npos) << label << ": " << outcome.Output;
    } else {
      EXPECT_TRUE(outcome.Output.empty()) << label;
    }
    if (*c.ErrHas) {
      EXPECT_NE(outcome.Error.find(c.ErrHas), std::string::npos) << label << ": " << outcome.Error;
      EXPECT_NE(outcome.Error.find("korvid --help"), std::string::npos) << label;
    } else {
      EXPECT_TRUE(outcome.Error.empty()) << label;
    }
  }
}

}  // namespace

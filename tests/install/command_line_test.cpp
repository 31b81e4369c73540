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
      {{"korvid", "--record", "a.kvd"}, true, 0, "", ""},
      {{"korvid", "--play", "a.kvd"}, true, 0, "", ""},
      {{"korvid", "--timedemo", "a.kvd", "--size", "1600x1200"}, true, 0, "", ""},
      {{"korvid", "--size", "640x480", "--timedemo", "a.kvd"}, true, 0, "", ""},
      {{"korvid", "--play"}, false, 2, "", "'--play' needs an argument"},
      {{"korvid", "--record", ""}, false, 2, "", "needs a file name"},
      {{"korvid", "--play", "a.kvd", "--record", "b.kvd"}, false, 2, "", "unexpected argument '--record'"},
      {{"korvid", "--play", "a.kvd", "--size", "640x480"}, false, 2, "", "with '--timedemo' only"},
      {{"korvid", "--timedemo", "a.kvd", "--size", "640"}, false, 2, "", "wants WIDTHxHEIGHT"},
      {{"korvid", "--timedemo", "a.kvd", "--size", "0x480"}, false, 2, "", "wants WIDTHxHEIGHT"},
      {{"korvid", "--timedemo", "a.kvd", "--size", "640x480x2"}, false, 2, "", "wants WIDTHxHEIGHT"},
      {{"korvid", "--timedemo", "a.kvd", "extra"}, false, 2, "", "unexpected argument 'extra'"},
  };
  for (const Case& c : cases) {
    std::string label;
    for (const char* a : c.Args) label += std::string(a) + " ";
    const CommandLineOutcome outcome = ReadCommandLine(static_cast<int>(c.Args.size()), c.Args.data());
    EXPECT_EQ(outcome.StartGame, c.Starts) << label;
    if (c.Starts && c.Args.size() > 2) EXPECT_EQ(outcome.DemoPath, "a.kvd") << label;
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

TEST(CommandLine, DemoOptionsSayWhatToRecordOrReplayAndAtWhatSize) {
  const char* timedemo[] = {"korvid", "--timedemo", "x.kvd", "--size", "1600X1200"};
  const CommandLineOutcome t = ReadCommandLine(5, timedemo);
  EXPECT_EQ(t.Demo, DemoOption::Timedemo);
  EXPECT_EQ(t.Width, 1600);
  EXPECT_EQ(t.Height, 1200);
  const char* record[] = {"korvid", "--record", "x.kvd"};
  const CommandLineOutcome r = ReadCommandLine(3, record);
  EXPECT_EQ(r.Demo, DemoOption::Record);
  EXPECT_EQ(r.Width, 0);
  const char* play[] = {"korvid", "--play", "x.kvd"};
  EXPECT_EQ(ReadCommandLine(3, play).Demo, DemoOption::Play);
  const char* help[] = {"korvid", "--help"};
  const std::string text = ReadCommandLine(2, help).Output;
  for (const char* option : {"--record FILE", "--play FILE", "--timedemo FILE", "--size WxH"})
    EXPECT_NE(text.find(option), std::string::npos) << option;
}

}  // namespace

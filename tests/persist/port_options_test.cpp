// korvid.ini: defaults, damaged files told once, unknown entries kept across a save, atomic writing.
#include <string>

#include "persist/port_options.h"
#include "persist_fixture.h"
#include "platform/file_replace.h"
#include "platform/ini_file.h"

namespace {

class PortOptionsTest : public PersistTest {
 protected:
  void SetUp() override {
    PersistTest::SetUp();
    Options = PortOptions{};
  }
  void TearDown() override {
    Options = PortOptions{};
    PersistTest::TearDown();
  }
  // Loads the options and returns what was written to standard error.
  static std::string LoadTold() {
    testing::internal::CaptureStderr();
    Options.Load();
    return testing::internal::GetCapturedStderr();
  }
  static int Lines(const std::string& text) {
    int n = 0;
    for (char c : text) n += c == '\n';
    return n;
  }
};

TEST_F(PortOptionsTest, AMissingFileGivesTheDefaultsWithoutAWordAndASaveCreatesIt) {
  Options.PictureShape = PictureStretch;
  Options.Screenshots = 0;
  EXPECT_EQ(LoadTold(), "");
  EXPECT_EQ(Options.PictureShape, PictureKeepShape);
  EXPECT_EQ(Options.Screenshots, 1u);
  Options.PictureShape = PictureStretch;
  ASSERT_TRUE(Options.Save());
  EXPECT_EQ(ReadFile("korvid.ini"),
            "[display]\npicture_shape = stretch\n\n[screenshots]\nenabled = true\n\n[gamepad]\nenabled = true\n"
            "look_sensitivity = 10\ninvert_y = false\ndead_zone = 15\nrumble = true\n\n[interface]\nlanguage = system\n");
  Options = PortOptions{};
  EXPECT_EQ(LoadTold(), "");
  EXPECT_EQ(Options.PictureShape, PictureStretch);
}

struct PadValueCase {
  const char* Line;
  std::uint32_t PortOptions::*Field;
  std::uint32_t Value;
  bool Told;
};

class PadValue : public PortOptionsTest, public testing::WithParamInterface<PadValueCase> {};

TEST_P(PadValue, IsReadWithinItsRangeOrFallsBack) {
  const PadValueCase& c = GetParam();
  WriteFile("korvid.ini", std::string("[gamepad]\n") + c.Line + "\n");
  EXPECT_EQ(!LoadTold().empty(), c.Told) << c.Line;
  EXPECT_EQ(Options.*c.Field, c.Value) << c.Line;
}

INSTANTIATE_TEST_SUITE_P(
    Gamepad, PadValue,
    testing::Values(PadValueCase{"look_sensitivity = 1", &PortOptions::PadLookSpeed, 1, false},
                    PadValueCase{"look_sensitivity = 20", &PortOptions::PadLookSpeed, 20, false},
                    PadValueCase{"look_sensitivity = 0", &PortOptions::PadLookSpeed, 10, true},
                    PadValueCase{"look_sensitivity = 21", &PortOptions::PadLookSpeed, 10, true},
                    PadValueCase{"dead_zone = 5", &PortOptions::PadDeadZone, 5, false},
                    PadValueCase{"dead_zone = 50", &PortOptions::PadDeadZone, 50, false},
                    PadValueCase{"dead_zone = 51", &PortOptions::PadDeadZone, 15, true},
                    PadValueCase{"invert_y = yes", &PortOptions::PadInvertY, 1, false},
                    PadValueCase{"enabled = off", &PortOptions::UsePad, 0, false},
                    PadValueCase{"rumble = maybe", &PortOptions::PadRumble, 1, true}));

struct DamageCase {
  const char* Name;
  std::string File;
  std::uint32_t Shape, Screenshots;
  const char* Told;  // what the one line on standard error names
  std::vector<std::string> KeptAfterSave;
};

class DamagedFile : public PortOptionsTest, public testing::WithParamInterface<DamageCase> {};

TEST_P(DamagedFile, FallsBackToTheDefaultTellsOneLineAndLosesNothingOnSave) {
  const DamageCase& c = GetParam();
  WriteFile("korvid.ini", c.File);
  const std::string told = LoadTold();
  EXPECT_EQ(Lines(told), 1) << told;
  EXPECT_NE(told.find(c.Told), std::string::npos) << told;
  EXPECT_EQ(Options.PictureShape, c.Shape);
  EXPECT_EQ(Options.Screenshots, c.Screenshots);
  // The settings window loads again on every open, save and close: no second line.
  EXPECT_EQ(LoadTold(), "");

  ASSERT_TRUE(Options.Save());
  const std::string saved = ReadFile("korvid.ini");
  for (const std::string& kept : c.KeptAfterSave) EXPECT_NE(saved.find(kept), std::string::npos) << saved;
  // What was saved reads back whole, with at most the unknown entries still named.
  Options = PortOptions{};
  const std::string again = LoadTold();
  EXPECT_EQ(again.find("not a valid value"), std::string::npos) << again;
  EXPECT_EQ(again.find("line"), std::string::npos) << again;
  EXPECT_EQ(Options.PictureShape, c.Shape);
  EXPECT_EQ(Options.Screenshots, c.Screenshots);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, DamagedFile,
    testing::Values(
        DamageCase{"BadNumber", "[display]\npicture_shape = stretch\n[screenshots]\nenabled = 7\n", PictureStretch, 1,
                   "enabled = \"7\"", {"picture_shape = stretch", "enabled = true"}},
        DamageCase{"BadName", "[display]\npicture_shape = oval\n[screenshots]\nenabled = off\n", PictureKeepShape, 0,
                   "picture_shape = \"oval\"", {"picture_shape = keep", "enabled = false"}},
        DamageCase{"UnknownKey",
                   "; written by a later version\n[display]\npicture_shape = Stretch\n[gamepad]\nuse_pad = true\n",
                   PictureStretch, 1, "[gamepad] use_pad", {"[gamepad]\nuse_pad = true", "picture_shape = stretch"}},
        DamageCase{"TruncatedInAHeading", "[screenshots]\nenabled = no\n[displ", PictureKeepShape, 0, "line 3",
                   {"enabled = false"}},
        DamageCase{"TruncatedInAValue", "[screenshots]\nenabled = false\n[display]\npicture_shape = stre",
                   PictureKeepShape, 0, "picture_shape = \"stre\"", {"enabled = false"}},
        DamageCase{"Binary", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR[display]\npicture_shape=stretch", 34),
                   PictureKeepShape, 1, "not a text file", {"picture_shape = keep", "enabled = true"}}),
    [](const testing::TestParamInfo<DamageCase>& info) { return std::string(info.param.Name); });

TEST_F(PortOptionsTest, AFailedSaveKeepsTheValuesForThisRunAndLeavesTheFile) {
  WriteFile("korvid.ini", "[display]\npicture_shape = keep\n");
  LoadTold();
  Options.PictureShape = PictureStretch;
  InjectFileFault(0, EACCES, false);  // the temporary file cannot be opened
  testing::internal::CaptureStderr();
  EXPECT_FALSE(Options.Save());
  EXPECT_NE(testing::internal::GetCapturedStderr().find("could not be saved"), std::string::npos);
  InjectFileFault(-1, 0, false);
  EXPECT_EQ(ReadFile("korvid.ini"), "[display]\npicture_shape = keep\n");
  // Later loads (the settings window's) keep what the player chose rather than the stale file.
  Options.PictureShape = PictureKeepShape;
  Options.Load();
  EXPECT_EQ(Options.PictureShape, PictureStretch);
}

TEST_F(PortOptionsTest, AFileThatCannotBeReadIsToldAndTheChoiceHoldsForTheRun) {
  // Something there by that name that reads as no file does.
  std::filesystem::create_directory("korvid.ini");
  std::filesystem::create_directory("korvid.ini/inside");
  EXPECT_NE(LoadTold().find("cannot be read"), std::string::npos);
  EXPECT_EQ(Options.PictureShape, PictureKeepShape);
  Options.PictureShape = PictureStretch;
  testing::internal::CaptureStderr();
  EXPECT_FALSE(Options.Save());
  EXPECT_NE(testing::internal::GetCapturedStderr().find("could not be saved"), std::string::npos);
  EXPECT_TRUE(std::filesystem::is_directory("korvid.ini/inside"));
  Options.Load();
  EXPECT_EQ(Options.PictureShape, PictureStretch);
}

struct ValueCase {
  OptionKind Kind;
  const char* Text;
  bool Valid;
  std::uint32_t Value;
};

TEST(PortOptionValues, EveryKindReadsItsWordsAndRefusesTheRest) {
  constexpr const char* names[] = {"system", "ja", "en"};
  const ValueCase cases[] = {
      {OptionKind::Switch, "TRUE", true, 1},  {OptionKind::Switch, "on", true, 1},
      {OptionKind::Switch, "0", true, 0},     {OptionKind::Switch, "No", true, 0},
      {OptionKind::Switch, "2", false, 0},    {OptionKind::Switch, "", false, 0},
      {OptionKind::Choice, "EN", true, 2},    {OptionKind::Choice, "jap", false, 0},
      {OptionKind::Number, "15", true, 15},   {OptionKind::Number, "4", false, 0},
      {OptionKind::Number, "31", false, 0},   {OptionKind::Number, "-5", false, 0},
      {OptionKind::Number, "1e1", false, 0},  {OptionKind::Number, "99999999999", false, 0},
  };
  for (const ValueCase& c : cases) {
    const PortOptionInfo info{"s", "k", c.Kind, &PortOptions::Screenshots, 0, 5, 30, names};
    std::uint32_t value = 0;
    EXPECT_EQ(ParseOptionValue(info, c.Text, value), c.Valid) << c.Text;
    if (!c.Valid) continue;
    EXPECT_EQ(value, c.Value) << c.Text;
    // What is written reads back as the same value.
    std::uint32_t back = 99;
    EXPECT_TRUE(ParseOptionValue(info, FormatOptionValue(info, value), back));
    EXPECT_EQ(back, value);
  }
}

TEST(IniText, KeysBeforeAnyHeadingStayFirstAndSectionsStayTogether) {
  IniFile file = ParseIniText("top = 1\n[b]\nx = 1\n[a]\ny = 2\n[B]\nz = 3\n");
  ASSERT_EQ(file.FirstBadLine, 0);
  SetIniValue(file, "b", "new", "4");
  SetIniValue(file, "", "first", "5");
  SetIniValue(file, "A", "Y", "6");
  EXPECT_EQ(FormatIniText(file), "top = 1\nfirst = 5\n\n[b]\nx = 1\nz = 3\nnew = 4\n\n[a]\ny = 6\n");
  const IniFile back = ParseIniText(FormatIniText(file));
  ASSERT_NE(FindIniEntry(back, "B", "NEW"), nullptr);
  EXPECT_EQ(FindIniEntry(back, "B", "NEW")->Value, "4");
  EXPECT_EQ(FindIniEntry(back, "", "top")->Value, "1");
}
}  // namespace

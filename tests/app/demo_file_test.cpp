// Demo file bytes: a round trip with folded runs, and every kind of damage refused with its reason.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "app/demo_file.h"
#include "app/match_state.h"
#include "persist/settings_record.h"
#include "platform/window.h"

namespace {

DemoFile SampleDemo(std::uint32_t steps) {
  DemoFile d;
  d.ProgramVersion = "1.2.3";
  d.Seed = 0xDEADBEEF;
  d.SettingsRecord = std::string(DemoSettingsBytes, '7');
  d.EntryState = {1, 2, 3, 4, 5};
  for (std::uint32_t i = 0; i < steps; ++i) {
    DemoStep s;
    s.Framed = i % 3 != 0;
    s.Polled = i >= 10;
    // Long stretches of the same step, as a player standing still gives.
    if (i % 50 == 7) s.Mouse.DeltaX = -static_cast<std::int32_t>(i);
    if (i % 50 == 8) s.Mouse.Wheel = 120;
    if (i % 90 == 9) s.Mouse.Buttons[0] = 0x80;
    s.Messages.push_back({WM_MOUSEMOVE, 0, 0x01E00280u});
    if (i % 40 == 5) s.Messages.push_back({WM_KEYUP, 87, 0xC0110001u});
    d.Steps.push_back(s);
  }
  d.Result = {steps, 2, 30, 9, 0.0f, true};
  d.Checksums.assign(steps / DemoChecksumInterval, 0x12345678u);
  d.FinalChecksum = 42;
  return d;
}

bool Decode(const std::string& bytes, DemoFile& out, std::string& error) {
  return DecodeDemo(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), out, error);
}

TEST(DemoFile, RoundTripKeepsEveryStepAndFoldsRepeatedOnes) {
  const DemoFile d = SampleDemo(1000);
  const std::string bytes = EncodeDemo(d);
  // About five bytes a distinct step; the repeats cost almost nothing.
  EXPECT_LT(bytes.size(), 3000u);
  DemoFile back;
  std::string error;
  ASSERT_TRUE(Decode(bytes, back, error)) << error;
  ASSERT_EQ(back.Steps.size(), d.Steps.size());
  for (std::size_t i = 0; i < d.Steps.size(); ++i) ASSERT_TRUE(SameStep(back.Steps[i], d.Steps[i])) << i;
  EXPECT_EQ(back.ProgramVersion, d.ProgramVersion);
  EXPECT_EQ(back.Seed, d.Seed);
  EXPECT_EQ(back.SettingsRecord, d.SettingsRecord);
  EXPECT_EQ(back.EntryState, d.EntryState);
  EXPECT_EQ(back.Result.Steps, 1000u);
  EXPECT_EQ(back.Result.Hits, 9);
  EXPECT_EQ(back.Checksums, d.Checksums);
  EXPECT_EQ(back.FinalChecksum, 42u);
  EXPECT_EQ(EncodeDemo(back), bytes);
}

TEST(DemoFile, DamagedFilesAreRefusedWithTheirReason) {
  const std::string good = EncodeDemo(SampleDemo(200));
  const std::size_t stepsAt = 8 + 2 + 1 + 5 + 4 + DemoSettingsBytes + 4 + 5;
  auto with = [&](std::size_t at, std::initializer_list<std::uint8_t> bytes) {
    std::string s = good;
    std::size_t i = at;
    for (std::uint8_t b : bytes) s[i++] = static_cast<char>(b);
    return s;
  };
  struct Case {
    const char* What;
    std::string Bytes;
    const char* Reason;
  };
  const Case cases[] = {
      {"empty", "", "not a Korvid demo"},
      {"wrong magic", "KORVDEMX" + good.substr(8), "not a Korvid demo"},
      {"a future version", with(8, {9, 0}), "newer Korvid (demo format 9"},
      {"cut in the header", good.substr(0, 100), "cut short"},
      {"cut in the steps", good.substr(0, good.size() / 2), "cut short"},
      {"cut in the trailer", good.substr(0, good.size() - 3), "cut short"},
      {"bytes after the end", good + "x", "goes on past its end"},
      {"a starting state past the end", with(stepsAt - 9, {0xFF, 0xFF, 0xFF, 0x7F}), "starting state runs past"},
      {"a step count past any match", with(stepsAt, {0xFF, 0xFF, 0xFF, 0x7F}), "past any match"},
      {"a step count past the steps", with(stepsAt, {0xF0, 0, 0, 0}), ""},
      {"an unknown step tag", with(stepsAt + 4, {0x40}), "is damaged"},
  };
  for (const Case& c : cases) {
    DemoFile out;
    std::string error;
    EXPECT_FALSE(Decode(c.Bytes, out, error)) << c.What;
    EXPECT_FALSE(error.empty()) << c.What;
    EXPECT_NE(error.find(c.Reason), std::string::npos) << c.What << ": " << error;
  }
}

TEST(DemoFile, RandomBytesAndRandomDamageNeverReadPastTheEnd) {
  const std::string good = EncodeDemo(SampleDemo(300));
  std::mt19937 random(7);
  for (int trial = 0; trial < 3000; ++trial) {
    std::string s = good;
    if (trial % 3 == 0) {
      s.resize(random() % 600);
      for (char& c : s) c = static_cast<char>(random());
      if (trial % 2) std::memcpy(s.data(), "KORVDEMO\x01\x00", std::min<std::size_t>(s.size(), 10));
    } else {
      for (int flips = 1 + trial % 5; flips > 0; --flips) s[random() % s.size()] = static_cast<char>(random());
      if (trial % 7 == 0) s.resize(random() % s.size());
    }
    DemoFile out;
    std::string error;
    if (!Decode(s, out, error)) {
      EXPECT_FALSE(error.empty()) << trial;
    }
  }
}

TEST(DemoFile, SettingsRecordIsTheFileRecordAndReadsBack) {
  SettingsRecord a;
  for (int section = 1; section <= 5; ++section) a.ResetSection(section, false);
  a.Difficulty = 2;
  a.MouseSensitivity = 123;
  a.KeyBindings[KeyJump] = 77;
  const std::string record = a.StoredRecord(10111115u);
  ASSERT_EQ(record.size(), DemoSettingsBytes);
  SettingsRecord b;
  EXPECT_EQ(b.ReadStoredRecord(record), 0);
  EXPECT_EQ(b.Difficulty, 2u);
  EXPECT_EQ(b.MouseSensitivity, 123u);
  EXPECT_EQ(b.KeyBindings[KeyJump], 77u);
  EXPECT_EQ(b.StoredRecord(10111115u), record);
}

TEST(DemoFile, MatchStateRestoresWhatItSaved) {
  const std::vector<std::uint8_t> saved = SaveMatchState();
  const std::uint32_t before = MatchChecksum();
  std::vector<std::uint8_t> changed = saved;
  changed[changed.size() / 2] ^= 0x5A;
  ASSERT_TRUE(RestoreMatchState(changed));
  EXPECT_NE(MatchChecksum(), before);
  ASSERT_TRUE(RestoreMatchState(saved));
  EXPECT_EQ(MatchChecksum(), before);
  EXPECT_FALSE(RestoreMatchState(std::vector<std::uint8_t>(saved.size() + 1)));
}

}  // namespace

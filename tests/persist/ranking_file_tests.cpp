// Ranking.dat: the default table, names kept byte for byte, the check, and failed writes.
#include <cstring>

#include "persist_fixture.h"
#include "world/game_world.h"

namespace {
const char* const InvalidText =
    "スコアの読み込みエラー！\n設定を改変された可能性があります。\n設定を初期化しました。\n";
// "[初] 名無し 一郎" in CP932.
const char FirstDefaultName[] = "[\x8f\x89] \x96\xbc\x96\xb3\x82\xb5 \x88\xea\x98Y";

struct Slot {
  std::uint32_t Score;
  std::uint32_t Length;
  std::string Name;
};

// Ranking.dat as the game writes it, built independently of the saver.
std::string Encode(const std::vector<Slot>& slots, std::uint32_t key) {
  std::string text = std::to_string(key ^ 79876519u) + "\r\n";
  for (const Slot& slot : slots)
    text += std::to_string(slot.Score ^ key) + "," + std::to_string(slot.Length ^ key) + "," +
            slot.Name + "\r\n";
  return text;
}

std::vector<Slot> DecodeAll(const std::string& file, std::uint32_t key) {
  std::vector<Slot> slots;
  std::size_t at = 10;
  for (int i = 0; i < 18; ++i) {
    Slot slot{static_cast<std::uint32_t>(std::stoul(file.substr(at, 8))) ^ key,
              static_cast<std::uint32_t>(std::stoul(file.substr(at + 9, 8))) ^ key, ""};
    slot.Name = file.substr(at + 18, slot.Length);
    EXPECT_EQ(file.substr(at + 18 + slot.Length, 2), "\r\n");
    at += 20 + slot.Length;
    slots.push_back(slot);
  }
  EXPECT_EQ(at, file.size());
  return slots;
}

std::vector<Slot> DefaultSlots(const GameWorld& world) {
  std::vector<Slot> slots;
  for (int level = 0; level < 3; ++level)
    for (int slot = 0; slot < 6; ++slot) {
      const char* name = world.RankingNames[level][slot];
      slots.push_back({static_cast<std::uint32_t>(world.RankingScores[level][slot]),
                       static_cast<std::uint32_t>(std::strlen(name)), name});
    }
  return slots;
}
}  // namespace

using RankingFile = PersistTest;

TEST_F(RankingFile, FirstRunWritesTheDefaultTable) {
  GameWorld world;
  world.LastGameScore = 7;
  world.LoadRanking();
  EXPECT_TRUE(CapturedMessageBoxes().empty());
  EXPECT_EQ(world.LastGameScore, 0);
  const std::string file = ReadFile("Ranking.dat");
  ASSERT_EQ(file.size(), 631u);
  const std::vector<Slot> slots = DecodeAll(file, HeaderKey(file));
  const int expected[3][6] = {{15, 12, 9, 6, 3, 0}, {10, 8, 6, 4, 2, 0}, {5, 4, 3, 2, 1, 0}};
  for (int i = 0; i < 18; ++i) {
    EXPECT_EQ(slots[i].Score, static_cast<std::uint32_t>(expected[i / 6][i % 6])) << i;
    EXPECT_EQ(slots[i].Length, i % 6 == 5 ? 7u : 16u) << i;
  }
  EXPECT_EQ(slots[0].Name, FirstDefaultName);
  EXPECT_EQ(slots[5].Name, "No Name");
  EXPECT_EQ(slots[7].Name.substr(0, 4), "[\x92\xca]");  // 通
  EXPECT_EQ(slots[13].Name.substr(0, 4), "[\x8c\xba]");  // 玄
  EXPECT_STREQ(world.RankingNames[0][0], FirstDefaultName);
}

TEST_F(RankingFile, NamesSurviveByteForByte) {
  GameWorld world;
  world.LoadRanking();
  const char* names[] = {"a,b,,c", "trailing  ", "\x82\xa0\x82\xa2\x82\xa4\x82\xa6\x82\xa8\x82\xa9\x82\xab\x82\xad",
                         "", " lead"};
  for (int i = 0; i < 5; ++i) std::strcpy(world.RankingNames[1][i], names[i]);
  ASSERT_TRUE(world.SaveRanking());

  GameWorld reloaded;
  reloaded.LoadRanking();
  EXPECT_TRUE(CapturedMessageBoxes().empty());
  for (int i = 0; i < 5; ++i) EXPECT_STREQ(reloaded.RankingNames[1][i], names[i]) << i;
  EXPECT_EQ(reloaded.RankingNameLengths[1][2], 16);
  EXPECT_EQ(reloaded.RankingScores[1][0], 10);
}

TEST_F(RankingFile, OutOfRangeLengthsOrScoresResetEveryTableWithTheWarning) {
  GameWorld reference;
  reference.ResetRanking();
  std::vector<Slot> slots = DefaultSlots(reference);
  slots[17].Score = 999;
  slots[3] = {1000, 16, "0123456789abcdef"};
  WriteFile("Ranking.dat", Encode(slots, 10333335));
  GameWorld world;
  world.LoadRanking();
  EXPECT_TRUE(CapturedMessageBoxes().empty());
  EXPECT_EQ(world.RankingScores[0][3], 1000);
  EXPECT_EQ(world.RankingScores[2][5], 999);

  for (Slot bad : {Slot{5, 17, "0123456789abcdefg"}, Slot{1001, 2, "ab"}}) {
    std::vector<Slot> edited = slots;
    edited[8] = bad;
    WriteFile("Ranking.dat", Encode(edited, 10333335));
    BeginMessageBoxCapture();
    world.LoadRanking();
    ASSERT_EQ(CapturedMessageBoxes().size(), 1u);
    EXPECT_EQ(CapturedMessageBoxes()[0].Text, InvalidText);
    EXPECT_EQ(CapturedMessageBoxes()[0].Caption, "警告");
    EXPECT_EQ(CapturedMessageBoxes()[0].Type, MB_OK);
    EXPECT_EQ(world.RankingScores[0][3], 6);
    EXPECT_EQ(world.RankingScores[2][5], 0);
    EXPECT_EQ(ReadFile("Ranking.dat").size(), 631u);
  }
}

TEST_F(RankingFile, AScoreAboveTheRangeIsStoredAsTheTopOfTheRange) {
  GameWorld world;
  world.LoadRanking();
  world.RankingScores[1][0] = 1234;
  world.RankingScores[1][5] = 1001;
  ASSERT_TRUE(world.SaveRanking());
  world.LoadRanking();
  EXPECT_TRUE(CapturedMessageBoxes().empty());
  EXPECT_EQ(world.RankingScores[1][0], 1000);
  EXPECT_EQ(world.RankingScores[1][5], 1000);
  EXPECT_EQ(world.RankingScores[0][0], 15);
}

TEST_F(RankingFile, ShortFilesAreReadSafelyAndReplaced) {
  GameWorld reference;
  reference.ResetRanking();
  const std::string full = Encode(DefaultSlots(reference), 10777775);
  for (std::size_t length : {std::size_t{0}, std::size_t{9}, std::size_t{300}, std::size_t{629}}) {
    SCOPED_TRACE(length);
    WriteFile("Ranking.dat", full.substr(0, length));
    BeginMessageBoxCapture();
    GameWorld world;
    world.LoadRanking();
    EXPECT_LE(CapturedMessageBoxes().size(), 1u);
    EXPECT_EQ(world.RankingScores[0][0], 15);
    EXPECT_TRUE(world.ValidateRanking());
  }
}

TEST_F(RankingFile, AnUnwritableFileKeepsThisRunsScoresAndIsSaidOnce) {
  GameWorld world;
  world.LoadRanking();
  const std::string before = ReadFile("Ranking.dat");
  MakeReadOnly("Ranking.dat");
  world.RankingScores[2][0] = 42;
  EXPECT_FALSE(world.SaveRanking());
  world.LoadRanking();
  ASSERT_EQ(CapturedMessageBoxes().size(), 1u);
  EXPECT_NE(CapturedMessageBoxes()[0].Text.find("Ranking.dat"), std::string::npos);
  EXPECT_EQ(world.RankingScores[2][0], 42);
  world.RankingScores[2][1] = 2000;
  world.SaveRanking();
  world.LoadRanking();
  EXPECT_EQ(CapturedMessageBoxes().size(), 1u);
  EXPECT_EQ(world.RankingScores[2][0], 42);
  EXPECT_EQ(world.RankingScores[2][1], 1000);
  EXPECT_EQ(ReadFile("Ranking.dat"), before);
}

TEST_F(RankingFile, AFailedWriteKeepsThePreviousFile) {
  GameWorld world;
  world.LoadRanking();
  const std::string before = ReadFile("Ranking.dat");
  world.RankingScores[0][0] = 99;
  WithFileSizeLimit(200, [&] { EXPECT_FALSE(world.SaveRanking()); });
  EXPECT_EQ(ReadFile("Ranking.dat"), before);
}

// The ranking: sorting, the table saved after a sort, and the ranking screen.
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "persist/cp932_text.h"
#include "persist/masked_file.h"
#include "results_fixture.h"

namespace results_test {
namespace {

constexpr std::uint32_t PlaceColours[5] = {0xFFFF0000, 0xFFFF1E0F, 0xFFFF3C1E, 0xFFFF5A2D, 0xFFFF783C};

struct Entry {
  int Score;
  const char* Name;
};

void SetLevel(int level, const std::vector<Entry>& entries) {
  for (int slot = 0; slot < RankingSlots; ++slot) {
    std::string bytes;
    ASSERT_TRUE(Utf8ToCp932(entries[slot].Name, bytes));
    std::memset(World.RankingNames[level][slot], 0, RankingNameBytes);
    std::memcpy(World.RankingNames[level][slot], bytes.data(), bytes.size());
    World.RankingScores[level][slot] = entries[slot].Score;
  }
}

using RankingTest = ScreenTest;

TEST_F(RankingTest, SortKeepsEqualScoresInOrderAndNamesEveryCandidateSlot) {
  struct Case {
    bool WithCandidate;
    std::vector<Entry> Before, After;
  };
  const Case cases[] = {
      {false,
       {{3, "C"}, {5, "A"}, {1, "E"}, {4, "B"}, {2, "D"}, {99, "X"}},
       {{5, "A"}, {4, "B"}, {3, "C"}, {2, "D"}, {1, "E"}, {99, "No Name"}}},
      {true,
       {{9, "A"}, {7, "B"}, {5, "C"}, {3, "D"}, {1, "E"}, {6, "新人"}},
       {{9, "A"}, {7, "B"}, {6, "新人"}, {5, "C"}, {3, "D"}, {1, "No Name"}}},
      // A new score enters below its equals; equal scores never change places.
      {true,
       {{5, "A"}, {3, "B"}, {3, "C"}, {3, "D"}, {1, "E"}, {3, "N"}},
       {{5, "A"}, {3, "B"}, {3, "C"}, {3, "D"}, {3, "N"}, {1, "No Name"}}},
      {false,
       {{2, "A"}, {2, "B"}, {3, "C"}, {2, "D"}, {2, "E"}, {0, "X"}},
       {{3, "C"}, {2, "A"}, {2, "B"}, {2, "D"}, {2, "E"}, {0, "No Name"}}},
  };
  Settings.Difficulty = 1;
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    SetLevel(1, c.Before);
    SetLevel(0, {{0, "Z"}, {0, "Z"}, {0, "Z"}, {0, "Z"}, {0, "Z"}, {0, "Y"}});
    World.SortRanking(c.WithCandidate);
    for (int slot = 0; slot < RankingSlots; ++slot) {
      EXPECT_EQ(World.RankingScores[1][slot], c.After[slot].Score) << slot;
      EXPECT_EQ(Cp932ToUtf8(World.RankingNames[1][slot]), c.After[slot].Name) << slot;
    }
    EXPECT_STREQ(World.RankingNames[0][0], "Z");  // only the current difficulty is sorted
    for (int level = 0; level < RankingLevels; ++level)
      EXPECT_EQ(std::string(World.RankingNames[level][5], RankingNameBytes), "No Name" + std::string(25, '\0'));
  }
}

TEST_F(RankingTest, SortWorksOnItsOwnTableAndLeavesTheGlobalOneAlone) {
  Settings.Difficulty = 0;
  SetLevel(0, {{1, "A"}, {2, "B"}, {3, "C"}, {4, "D"}, {5, "E"}, {0, "X"}});
  auto other = std::make_unique<GameWorld>();
  other->RankingScores[0][0] = 1;
  other->RankingScores[0][1] = 9;
  std::strcpy(other->RankingNames[0][1], "top");
  other->SortRanking(false);
  EXPECT_EQ(other->RankingScores[0][0], 9);
  EXPECT_STREQ(other->RankingNames[0][0], "top");
  EXPECT_EQ(World.RankingScores[0][0], 1);
  EXPECT_STREQ(World.RankingNames[0][0], "A");
}

TEST_F(RankingTest, SavedTableAfterASortReadsBackByteForByte) {
  Settings.Difficulty = 2;
  SetLevel(2, {{10, "山田　太郎"}, {8, "a,b"}, {8, "%s%n"}, {3, "ｶﾀｶﾅ①"}, {1, "E"}, {9, "x"}});
  World.SortRanking(true);
  ASSERT_TRUE(World.SaveRanking());

  std::ifstream in("Ranking.dat", std::ios::binary);
  const std::string file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  std::vector<std::string> lines;
  for (std::size_t at = 0, end; (end = file.find("\r\n", at)) != std::string::npos; at = end + 2)
    lines.push_back(file.substr(at, end - at));
  ASSERT_EQ(lines.size(), 1u + RankingLevels * RankingSlots);
  const std::uint32_t key = static_cast<std::uint32_t>(std::stol(lines[0])) ^ FileKeyMask;
  auto unmask = [key](const std::string& digits) { return static_cast<std::uint32_t>(std::stol(digits)) ^ key; };
  for (int i = 0; i < RankingLevels * RankingSlots; ++i) {
    const std::string& line = lines[1 + i];
    const std::size_t first = line.find(','), second = line.find(',', first + 1);
    const std::string name = line.substr(second + 1);
    EXPECT_EQ(unmask(line.substr(0, first)), static_cast<std::uint32_t>(World.RankingScores[i / 6][i % 6])) << i;
    EXPECT_EQ(unmask(line.substr(first + 1, second - first - 1)), name.size()) << i;
    EXPECT_EQ(name, World.RankingNames[i / 6][i % 6]) << i;
  }
  const char* sorted[] = {"山田　太郎", "x", "a,b", "%s%n", "ｶﾀｶﾅ①", "No Name"};
  for (int slot = 0; slot < RankingSlots; ++slot) EXPECT_EQ(Cp932ToUtf8(World.RankingNames[2][slot]), sorted[slot]);

  const GameWorld saved = World;
  World.ResetRanking();
  World.LoadRanking();
  EXPECT_EQ(std::memcmp(saved.RankingScores, World.RankingScores, sizeof World.RankingScores), 0);
  EXPECT_EQ(std::memcmp(saved.RankingNames, World.RankingNames, sizeof World.RankingNames), 0);
  EXPECT_TRUE(CapturedMessageBoxes().empty());
}

TEST_F(RankingTest, StoredBytesThatAreNoCharacterShowAsQuestionMarks) {
  EXPECT_EQ(Cp932ToUtf8("\x82\xa0\x83\x41"), "あア");
  EXPECT_EQ(Cp932ToUtf8("A\xff" "B"), "A?B");
  EXPECT_EQ(Cp932ToUtf8("AB\x82"), "AB?");
}

TEST_F(RankingTest, ScreenShowsTheCurrentDifficultyInItsPanelsAndColours) {
  const std::vector<Entry> entries = {{50, "Alpha"}, {40, "a,b"}, {30, "%s%n"}, {20, "山田太郎"}, {10, "No5"}, {7, "x"}};
  Settings.Difficulty = 2;
  SetLevel(2, entries);
  World.PrepareRanking();

  // Each name panel holds the name as given, verbatim, in its place's colour only.
  for (int place = 0; place < 5; ++place) {
    const std::vector<std::uint32_t> shown = PanelPixels(7 + 2 * place);
    EXPECT_GT(std::count(shown.begin(), shown.end(), PlaceColours[place]), 40) << place;
    EXPECT_EQ(std::count(shown.begin(), shown.end(), 0u) + std::count(shown.begin(), shown.end(), PlaceColours[place]),
              static_cast<long>(shown.size()));
    World.RenderTextPanel(2, 7 + 2 * place, 10, 5, 0, 0, 0, entries[place].Name, 60, TexBlankKeyed, PlaceColours[place]);
    EXPECT_TRUE(PanelPixels(7 + 2 * place) == shown) << place;
  }
  for (int slot = 0; slot < RankingSlots; ++slot) {
    const std::vector<std::uint32_t> shown = PanelPixels(6 + 2 * slot);
    World.RenderTextPanel(1, 6 + 2 * slot, 20, 15, 0, 0, entries[slot].Score, "", 120, TexMenu0, 0xFFFF0000);
    EXPECT_TRUE(PanelPixels(6 + 2 * slot) == shown) << slot;
  }

  ASSERT_TRUE(World.DrawRanking());
  const float heights[5] = {900, 425, -50, -525, -1000};
  auto showing = [](std::uint32_t colour) { return [colour](std::uint32_t p) { return Shows(p, colour); }; };
  for (int place = 0; place < 5; ++place) {
    for (int other = 0; other < 5; ++other) {
      const int found = CountIn(-200, heights[place], 4500, 1400, 200, showing(PlaceColours[other]));
      EXPECT_TRUE(other == place ? found > 20 : found == 0) << place << " shows colour " << other << ": " << found;
    }
    EXPECT_GT(CountIn(1800, heights[place], 4500, 400, 200, showing(0xFFFF0000)), 20) << place;
    EXPECT_GT(CountIn(1800, heights[place], 4500, 400, 200, showing(ScoreBackColour)), 200) << place;
  }
  EXPECT_GT(CountIn(-600, -1350, 4000, 400, 200, showing(0xFFFF0000)), 20);
  EXPECT_GT(CountIn(-600, -1350, 4000, 400, 200, showing(ScoreBackColour)), 200);
}

}  // namespace
}  // namespace results_test

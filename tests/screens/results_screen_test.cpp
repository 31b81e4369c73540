// The game-over screen: the three result texts, a match without a shot, and where they show.
#include "results_fixture.h"

namespace results_test {
namespace {

using ResultScreenTest = ScreenTest;

// Panel 7 (a ranking name) has the size of the two result text panels and is free here for a
// reference.
std::vector<std::uint32_t> Reference(const char* text) {
  World.RenderTextPanel(2, 7, 0, 0, 0, 0, 0, text, 50, TexBlankKeyed, 0xFFFF0000);
  return PanelPixels(7);
}

TEST_F(ResultScreenTest, ResultTextsIncludingAMatchWithoutAShot) {
  struct Case {
    int Hits, Shots;
    const char* Ratio;
    const char* Rate;
  };
  const Case cases[] = {
      {0, 0, "0/0", " 0.00％"}, {1, 3, "1/3", "33.33％"}, {2, 3, "2/3", "66.67％"}, {250, 250, "250/250", "100.00％"}};
  Settings.Difficulty = 1;
  for (const Case& c : cases) {
    World.Hits = c.Hits;
    World.ShotsFired = c.Shots;
    World.RankingScores[1][5] = c.Hits;
    World.PrepareResults();
    EXPECT_TRUE(PanelPixels(4) == Reference(c.Ratio)) << c.Ratio;
    EXPECT_TRUE(PanelPixels(5) == Reference(c.Rate)) << c.Rate;
    const std::vector<std::uint32_t> score = PanelPixels(16);
    World.RenderTextPanel(1, 16, 20, 15, 0, 0, c.Hits, "", 120, TexMenu0, 0xFFFF0000);
    EXPECT_TRUE(PanelPixels(16) == score) << c.Hits;
  }
}

TEST_F(ResultScreenTest, GameOverScreenShowsEachResultInItsPanel) {
  World.Hits = 5;
  World.ShotsFired = 20;
  World.PrepareResults();
  ASSERT_TRUE(World.DrawGameOver());
  auto red = [](std::uint32_t p) { return Shows(p, 0xFFFF0000); };
  EXPECT_GT(CountIn(800, -850, 3000, 400, 200, red), 100) << "score";
  EXPECT_GT(CountIn(800, -850, 3000, 400, 200, [](std::uint32_t p) { return Shows(p, ScoreBackColour); }), 1000);
  EXPECT_GT(CountIn(1500, 230, 3000, 1400, 200, red), 50) << "hits over shots";
  EXPECT_GT(CountIn(1500, -330, 3000, 1400, 200, red), 50) << "hit rate";
  // Nothing red anywhere else: the whole screen holds no more than the three panels.
  const int all = CountIn(0, 0, 3000, 2000, 2000, red);
  EXPECT_EQ(all, CountIn(800, -850, 3000, 400, 200, red) + CountIn(1500, 230, 3000, 1400, 200, red) +
                     CountIn(1500, -330, 3000, 1400, 200, red));
}

}  // namespace
}  // namespace results_test

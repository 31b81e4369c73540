// The game-over screen: score, hits over shots and hit rate of the match just finished.
#include "screens/results_screen.h"

#include <cstdio>

#include "persist/settings_record.h"
#include "platform/translation.h"
#include "screens/screen_quads.h"
#include "world/game_world.h"

namespace {
constexpr int PanelHitsOverShots = 4;
constexpr int PanelHitRate = 5;
constexpr int PanelLastScore = 16;
constexpr std::uint32_t ResultColour = 0xFFFF0000;
}  // namespace

float HitRatePercent(std::int32_t hits, std::int32_t shotsFired) {
  if (shotsFired <= 0) return 0.0f;
  return static_cast<float>(hits) / static_cast<float>(shotsFired) * 100.0f;
}

int RankingLevel() {
  // The settings check keeps the difficulty in range; an index past the table never reads.
  return Settings.Difficulty < RankingLevels ? static_cast<int>(Settings.Difficulty) : RankingLevels - 1;
}

void GameWorld::PrepareResults() {
  RenderTextPanel(1, PanelLastScore, 20, 15, 0, 0, RankingScores[RankingLevel()][RankingSlots - 1], "", 120,
                  TexMenu0, ResultColour);
  char text[64];
  std::snprintf(text, sizeof text, "%d/%d", Hits, ShotsFired);
  RenderTextPanel(2, PanelHitsOverShots, 0, 0, 0, 0, 0, text, 50, TexBlankKeyed, ResultColour);
  std::snprintf(text, sizeof text, Translate("%5.2f％"), HitRatePercent(Hits, ShotsFired));
  RenderTextPanel(2, PanelHitRate, 0, 0, 0, 0, 0, text, 50, TexBlankKeyed, ResultColour);
}

bool GameWorld::DrawGameOver() {
  if (!BeginFrame(0xFF141414)) return false;
  DrawScreenQuad(BackdropQuad, TexGameOver, 1, 0, 0, 12200);
  DrawScreenQuad(RankingPanelQuad, TextPanels[PanelLastScore], 1, 800, -850, 3000);
  DrawScreenQuad(WidePanelQuad, TextPanels[PanelHitsOverShots], 1, 1500, 230, 3000);
  DrawScreenQuad(WidePanelQuad, TextPanels[PanelHitRate], 1, 1500, -330, 3000);
  DrawCursor();
  DrawMenuCorner();
  return EndFrame();
}

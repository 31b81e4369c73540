// The ranking: sorting the table of the current difficulty and the screen that shows it.
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

#include "persist/cp932_text.h"
#include "screens/results_screen.h"
#include "screens/screen_quads.h"
#include "world/game_world.h"

namespace {
constexpr int RankedPlaces = RankingSlots - 1;
constexpr int CandidateSlot = RankingSlots - 1;
constexpr int PanelLastScore = 16;
constexpr std::uint32_t ScoreColour = 0xFFFF0000;
// First to fifth place, from red towards orange.
constexpr std::uint32_t PlaceColours[RankedPlaces] = {0xFFFF0000, 0xFFFF1E0F, 0xFFFF3C1E, 0xFFFF5A2D,
                                                      0xFFFF783C};
constexpr float PlaceHeights[RankedPlaces] = {900, 425, -50, -525, -1000};

int ScorePanel(int slot) { return 6 + 2 * slot; }
int NamePanel(int place) { return 7 + 2 * place; }

std::size_t NameLength(const char (&name)[RankingNameBytes]) { return strnlen(name, RankingNameBytes - 1); }

// Copied as a zero-filled string: nothing of a longer former name survives behind it.
void CopyName(char (&to)[RankingNameBytes], const char* text, std::size_t length) {
  std::memset(to, 0, sizeof to);
  std::memcpy(to, text, length < sizeof to - 1 ? length : sizeof to - 1);
}

void SwapSlots(GameWorld& w, int level, int a, int b) {
  char held[RankingNameBytes];
  std::memcpy(held, w.RankingNames[level][a], sizeof held);
  CopyName(w.RankingNames[level][a], w.RankingNames[level][b], NameLength(w.RankingNames[level][b]));
  CopyName(w.RankingNames[level][b], held, NameLength(held));
  std::swap(w.RankingScores[level][a], w.RankingScores[level][b]);
}
}  // namespace

void GameWorld::SortRanking(bool includeCandidate) {
  const int level = RankingLevel();
  const int count = includeCandidate ? RankingSlots : RankedPlaces;
  // Neighbours only, and only a strictly higher score moves up: entries with equal scores
  // keep their order, so a new score never pushes an earlier equal one further down.
  for (bool swapped = true; swapped;) {
    swapped = false;
    for (int i = 0; i + 1 < count; ++i) {
      if (RankingScores[level][i] < RankingScores[level][i + 1]) {
        SwapSlots(*this, level, i, i + 1);
        swapped = true;
      }
    }
  }
  for (int each = 0; each < RankingLevels; ++each)
    CopyName(RankingNames[each][CandidateSlot], "No Name", 7);
  for (int each = 0; each < RankingLevels; ++each)
    for (int slot = 0; slot < RankingSlots; ++slot)
      RankingNameLengths[each][slot] = static_cast<std::int32_t>(NameLength(RankingNames[each][slot]));
}

void GameWorld::PrepareRanking() {
  SortRanking(false);
  SaveRanking();
  LoadRanking();
  const int level = RankingLevel();
  for (int place = 0; place < RankedPlaces; ++place) {
    // Drawn as plain text, never read as a format.
    const char* name = RankingNames[level][place];
    const std::string shown = Cp932ToUtf8(std::string_view(name, NameLength(RankingNames[level][place])));
    RenderTextPanel(2, NamePanel(place), 10, 5, 0, 0, 0, shown.c_str(), 60, TexBlankKeyed, PlaceColours[place]);
  }
  for (int slot = 0; slot < RankingSlots; ++slot)
    RenderTextPanel(1, ScorePanel(slot), 20, 15, 0, 0, RankingScores[level][slot], "", 120, TexMenu0,
                    ScoreColour);
}

bool GameWorld::DrawRanking() {
  if (!BeginFrame(0xFF141414)) return false;
  DrawScreenQuad(BackdropQuad, TexRecord, 1, 0, 0, 12200);
  for (int place = 0; place < RankedPlaces; ++place) {
    DrawScreenQuad(WidePanelQuad, TextPanels[NamePanel(place)], 1, -200, PlaceHeights[place], 4500);
    DrawScreenQuad(RankingPanelQuad, TextPanels[ScorePanel(place)], 1, 1800, PlaceHeights[place], 4500);
  }
  DrawScreenQuad(RankingPanelQuad, TextPanels[PanelLastScore], 1, -600, -1350, 4000);
  DrawCursor();
  DrawMenuCorner();
  return EndFrame();
}

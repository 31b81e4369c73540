// GameWorld: the one object holding the device, the catalogues, the world state and the scene.
#pragma once

#include <cstdint>

enum GameStateValue : std::int32_t {
  StateTitle = 0,
  StatePlay = 1,
  StateRanking = 2,
  StateOperation = 3,
  StateSettings = 4,
  StateGameOver = 5,
  StateCredits = 6,
  StateQuit = 10,
};

constexpr int RankingLevels = 3;
constexpr int RankingSlots = 6;
constexpr int RankingNameBytes = 32;
constexpr int RankingNameMaxLength = 16;
constexpr int RankingScoreMax = 1000;

class GameWorld {
 public:
  // ---- shell: main loop and scene state ----
  std::int32_t Fps = 0;
  float LoadPercent = 0;
  std::int32_t GameState = StateTitle;
  std::uint32_t StateFrameCount = 0;
  std::uint8_t TransitionActive = 0;
  std::uint8_t MenuShown = 0;
  std::uint8_t TitleRestart = 0;
  std::int32_t PageIndex = 0;
  std::uint32_t PlayFrameCount = 0;

  // ---- ranking table and Ranking.dat ----
  std::int32_t RankingScores[RankingLevels][RankingSlots] = {};
  char RankingNames[RankingLevels][RankingSlots][RankingNameBytes] = {};
  std::int32_t RankingNameLengths[RankingLevels][RankingSlots] = {};
  std::int32_t LastGameScore = 0;

  bool SaveRanking();
  void LoadRanking();
  void ResetRanking();
  bool ValidateRanking() const;

  // ---- graphics: device, display modes, camera, textures, text panels ----

  // ---- world: arena, player, enemies, weapons, shots, match ----

  // ---- input handlers (window procedure) ----
};

extern GameWorld World;

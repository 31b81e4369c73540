// Shared pieces of the result and ranking screens.
#pragma once

#include <cstdint>

// The hit rate in per cent; a match without a shot fired has hit nothing and shows 0.
float HitRatePercent(std::int32_t hits, std::int32_t shotsFired);
// The ranking table row of the current difficulty.
int RankingLevel();

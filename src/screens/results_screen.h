// Shared pieces of the result and ranking screens.
#pragma once

#include <cstdint>

struct SceneVertex;
struct Texture;

// The hit rate in per cent; a match without a shot fired has hit nothing and shows 0.
float HitRatePercent(std::int32_t hits, std::int32_t shotsFired);
// The ranking table row of the current difficulty.
int RankingLevel();
// Places one of the world's flat quads in the view and draws it with `texture`.
void DrawScreenQuad(const SceneVertex* quad, float x, float y, float z, Texture* texture);
// The debug lines when the position display is on, otherwise the FPS badge when that is on.
void DrawMenuCorner();

// The software cursor of the menu screens and the FPS badge.
#include <algorithm>

#include "persist/settings_record.h"
#include "screens/screen_quads.h"
#include "world/game_world.h"
#include "world/match_values.h"

namespace {
constexpr float MenuHalfWidth = 640;
constexpr float MenuHalfHeight = 512;
constexpr std::int32_t MenuPlaneScale = 1237;  // depth at which MenuSpace units are pixels of a 1280-wide view
constexpr float MenuPlaneDepth = 1237;

// A cursor past an edge is pulled back instead of moved: it may stand outside for one frame.
float MoveOrClamp(float position, float limit, float delta) {
  if (position < -limit) return -limit;
  if (position > limit) return limit;
  return position + delta;
}
}  // namespace

void GameWorld::DrawCursor() {
  CursorX = MoveOrClamp(CursorX, MenuHalfWidth, MouseDeltaX);
  CursorY = MoveOrClamp(CursorY, MenuHalfHeight, MouseDeltaY);
  MouseDeltaX = MouseDeltaY = 0;  // consumed
  const int style = static_cast<int>(std::clamp<std::uint32_t>(Settings.CursorStyle, 1, 6));
  DrawScreenQuad(CursorQuad, TexCursor1 + style - 1, MenuPlaneScale, CursorX, -CursorY, MenuPlaneDepth);
}

void GameWorld::DrawFpsBadge() {
  DrawScreenQuad(FpsBadgeQuad, TextPanels[PanelFps], 1, -0.6f, 0.5f, 1.25f + 0.96f * OverlayDepthOffset);
}

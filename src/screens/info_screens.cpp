// The operation pages with their label, the credits, the settings backdrop and the noise transition.
#include <cstdio>

#include "platform/translation.h"
#include "screens/screen_quads.h"
#include "world/game_world.h"

namespace {
constexpr std::uint32_t ScreenClear = 0xFF141414u;
constexpr float PageDepth = 12200;
constexpr int PageCount = 3;
constexpr int PageLabelPanel = 3;
constexpr int NoiseFrames = 3;

// A full-screen picture far behind everything else.
void DrawPage(const GameWorld& w, int textureId) {
  DrawScreenQuad(w.BackdropQuad, textureId, 1, 0, 0, PageDepth);
}
}  // namespace

bool GameWorld::DrawOperation() {
  if (!BeginFrame(ScreenClear)) return false;
  const int page = PageIndex >= 0 && PageIndex < PageCount ? PageIndex : 0;
  DrawPage(*this, TexOperation1 + page);
  DrawScreenQuad(PageLabelQuad, TextPanels[PageLabelPanel], 1, 0, -1800, 4500);
  DrawCursor();
  DrawMenuCorner();
  return EndFrame();
}

void GameWorld::RenderPageLabel() {
  char label[96];
  std::snprintf(label, sizeof label, Translate("←右クリック　左クリック→　[ %d / %d ]"), PageIndex + 1, PageCount);
  RenderTextPanel(2, PageLabelPanel, 0, 0, 0, 0, 0, label, 28, TexBlank, 0xFFFFFF00u);
}

bool GameWorld::DrawCredits() {
  if (!BeginFrame(ScreenClear)) return false;
  DrawPage(*this, TexCredit);
  DrawCursor();
  DrawMenuCorner();
  return EndFrame();
}

bool GameWorld::DrawSettingsBackdrop() {
  // No software cursor: the system cursor serves the settings window.
  if (!BeginFrame(ScreenClear)) return false;
  DrawPage(*this, TexSetting);
  return EndFrame();
}

bool GameWorld::DrawTransition() {
  if (!BeginFrame(ScreenClear)) return false;
  // One picture per frame in turn, so no picture shows twice running.
  NoiseFrame = NoiseFrame < NoiseFrames - 1 ? NoiseFrame + 1 : 0;
  DrawPage(*this, TexNoise1 + NoiseFrame);
  return EndFrame();
}

// The title: approaching background, receding logo, the six sliding menu items and their hover.
#include "graphics/text_renderer.h"
#include "screens/screen_quads.h"
#include "world/game_world.h"

namespace {
constexpr float TitleBackDepth = 12000;
constexpr float TitleBackApproach = 1200;
constexpr float TitleBackStep = 5;
constexpr float TitleLogoFinalDepth = 12000;
constexpr float TitleLogoStep = 50;
constexpr float MenuStartX = 800;
constexpr std::int32_t MenuSlideStep = 5;

constexpr int MenuTextures[MenuItemCount][2] = {
    {TexMenu1a, TexMenu1b}, {TexMenu2a, TexMenu2b}, {TexMenu3a, TexMenu3b},
    {TexMenu4a, TexMenu4b}, {TexMenu5a, TexMenu5b}, {TexMenu6a, TexMenu6b},
};

// Hit boxes in MenuSpace, x relative to the item's current X; all bounds inclusive.
struct HitBox {
  float Left, Right, Top, Bottom;
};
constexpr HitBox MenuHitBoxes[MenuItemCount] = {
    {-51, 278, 108, 272},  {-140, 189, 108, 272}, {-228, 102, 108, 272},
    {-51, 278, 296, 463},  {-140, 189, 296, 463}, {-228, 102, 296, 463},
};
// The part of the cursor that points, relative to its position.
constexpr float CursorHitFrom = 23;
constexpr float CursorHitTo = 27;

void MoveItemQuad(GameWorld& w, int item, float dx) {
  for (SceneVertex& v : w.MenuItemQuads[item]) v.X += dx;
}
}  // namespace

bool GameWorld::DrawTitle() {
  if (!BeginFrame(0xFF141414u)) return false;
  DrawTitleBack();
  DrawTitleLogo();
  for (int k = 0; k < MenuItemCount; ++k) DrawMenuItem(k);
  Text.DrawVersion();
  DrawCursor();
  TitleRestart = 0;  // every layer has seen it by now
  DrawMenuCorner();
  return EndFrame();
}

void GameWorld::DrawTitleBack() {
  if (TitleRestart) TitleBackOffset = TitleBackApproach;
  if (MenuShown) TitleBackOffset = 0;
  if (TitleBackOffset > 0) TitleBackOffset -= TitleBackStep;
  DrawScreenQuad(BackdropQuad, TexTitleBack, 1, 0, 0, TitleBackDepth + TitleBackOffset);
}

void GameWorld::DrawTitleLogo() {
  if (TitleRestart) TitleLogoDepth = 0;
  if (MenuShown) TitleLogoDepth = TitleLogoFinalDepth;
  if (TitleLogoDepth < TitleLogoFinalDepth) TitleLogoDepth += TitleLogoStep;
  DrawScreenQuad(BackdropQuad, TexTitle, 1, 0, 0, TitleLogoDepth);
}

void GameWorld::DrawMenuItem(int index) {
  if (TitleRestart) {
    for (int j = 0; j < MenuItemCount; ++j) {
      MoveItemQuad(*this, j, static_cast<float>(MenuSlide[j]));
      MenuPos[j].X = MenuStartX;
      MenuSlide[j] = 0;
    }
  }
  if (MenuShown) {
    for (int j = 0; j < MenuItemCount; ++j) {
      const std::int32_t rest = MenuSlideTarget[j] - MenuSlide[j];
      MoveItemQuad(*this, j, static_cast<float>(-rest));
      MenuPos[j].X -= static_cast<float>(rest);
      MenuSlide[j] = MenuSlideTarget[j];
    }
  }
  if (MenuSlide[index] < MenuSlideTarget[index] && !MenuShown) {
    MenuSlide[index] += MenuSlideStep;
    MenuPos[index].X -= MenuSlideStep;
    MoveItemQuad(*this, index, -MenuSlideStep);
  } else if (index == 0) {
    // Item 0 slides furthest: the menu is in place when it has arrived.
    MenuShown = 1;
  }
  // The quad's own vertices carry its position and depth.
  DrawScreenQuad(MenuItemQuads[index], MenuTextures[index][MenuPos[index].Active ? 1 : 0], 1, 0, 0, 1);
}

void GameWorld::UpdateMenuHover() {
  for (WorldObject& item : MenuPos) item.Active = 0;
  const float left = CursorX + CursorHitFrom, right = CursorX + CursorHitTo;
  const float top = CursorY + CursorHitFrom, bottom = CursorY + CursorHitTo;
  for (int k = 0; k < MenuItemCount; ++k) {
    const HitBox& box = MenuHitBoxes[k];
    const float x = MenuPos[k].X;
    if (right >= x + box.Left && left <= x + box.Right && bottom >= box.Top && top <= box.Bottom) {
      MenuPos[k].Active = 1;
      return;
    }
  }
}

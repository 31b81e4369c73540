// Text panels: small render targets holding numbers and short texts over a background picture.
#include <cstdio>
#include <string>

#include "graphics/text_renderer.h"
#include "platform/render/render_device.h"
#include "platform/render/sprite.h"
#include "platform/render/texture.h"
#include "scene/play_scene.h"
#include "scene/text_panels.h"
#include "world/game_world.h"

int PanelSide(int requested) {
  if (requested > 2048) return requested;
  int side = 2;
  while (side < requested) side *= 2;
  return side;
}

bool GameWorld::CreateTextPanel(int slot, int width, int height) {
  if (slot < 0 || slot >= TextPanelCount) return false;
  ReleaseTexture(TextPanels[slot]);
  TextPanels[slot] = nullptr;
  return CreateRenderTargetTexture(Device, PanelSide(width), PanelSide(height), &TextPanels[slot]);
}

void GameWorld::CreateTextPanels() {
  // New panels are empty, so the caches start again as at start-up; kept, a match entered
  // through a display reset would show no count while its magazine held the last one shown.
  ShownAmmo = 0;
  ShownHealth = 0;
  ReleaseSprite(PanelSprite);
  PanelSprite = CreateSprite(Device);
  CreateTextPanel(0, 171, 67);
  CreateTextPanel(1, 85, 24);
  CreateTextPanel(2, 100, 30);
  CreateTextPanel(3, 600, 50);  // the operation label runs past 512 pixels
  CreateTextPanel(4, 400, 50);
  CreateTextPanel(5, 400, 50);
  for (int slot = 6; slot <= 16; slot += 2) CreateTextPanel(slot, 150, 70);
  for (int slot = 7; slot <= 15; slot += 2) CreateTextPanel(slot, 400, 50);
}

void GameWorld::ReleaseTextPanels() {
  ReleaseSprite(PanelSprite);
  PanelSprite = nullptr;
  for (Texture*& panel : TextPanels) {
    ReleaseTexture(panel);
    panel = nullptr;
  }
}

void GameWorld::RenderTextPanel(int kind, int slot, int left, int top, int right, int bottom, int number,
                                const char* text, int fontHeight, int background, std::uint32_t colour) {
  if (!Device) return;
  Texture* const savedTarget = Device->GetRenderTarget();
  const bool savedDepth = Device->GetDepthEnabled();
  Texture* panel = slot >= 0 && slot < TextPanelCount ? TextPanels[slot] : nullptr;
  if (panel && Device->SetRenderTarget(panel, false)) {
    Device->BeginScene();
    Device->Clear(D3DCLEAR_TARGET, 0x00000000, 1.0f, 0);
    if (background >= 0 && background < TextureCount)
      SpriteDraw(PanelSprite, Textures[background], 0, 0, 0xFFFFFFFF);
    Text.SetFontHeight(fontHeight);
    char formatted[32];
    std::snprintf(formatted, sizeof formatted, "%d", number);
    if (slot == PanelFps) {
      // A white outline around a doubled, bold-looking number.
      static const int whiteOffsets[4][2] = {{-2, -2}, {4, 3}, {-2, 3}, {4, -2}};
      for (const auto& offset : whiteOffsets)
        Text.DrawTextAt(left + offset[0], top + offset[1], right + offset[0], bottom + offset[1], 0xFFFFFFFF, -1,
                        formatted);
      Text.DrawTextAt(left, top, right, bottom, colour, -1, formatted);
      Text.DrawTextAt(left + 2, top + 1, right + 2, bottom + 1, colour, -1, formatted);
    } else {
      // Texts arrive formatted: a player's name is never read as a format.
      const char* shown = kind == 1 ? formatted : kind == 2 && text ? text : "";
      Text.DrawTextAt(left, top, right, bottom, colour, -1, shown);
    }
    Device->EndScene();
    Device->SetRenderTarget(savedTarget, savedDepth);
  }
  Device->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
}

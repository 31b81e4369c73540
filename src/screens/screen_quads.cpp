// Drawing the flat quads of the menu screens, and the corner every menu screen shares.
#include "screens/screen_quads.h"

#include "graphics/screen_pictures.h"
#include "graphics/text_renderer.h"
#include "persist/settings_record.h"
#include "platform/render/render_device.h"
#include "world/game_world.h"

void DrawScreenQuad(const SceneVertex (&quad)[4], Texture* texture, std::int32_t scale, float x,
                    float y, float z) {
  World.SetSpriteTransform(scale, x, y, z, 0, 0, 0);
  RenderDevice* device = World.Device;
  device->SetVertexShader(SceneVertexFormat);
  device->SetTexture(0, texture);
  device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, quad, sizeof(SceneVertex));
}

void DrawScreenQuad(const SceneVertex (&quad)[4], int textureId, std::int32_t scale, float x,
                    float y, float z) {
  Texture* texture = World.SlotTexture(textureId);
  // A screen picture that could not be read leaves the screen's clear colour.
  if (!texture && IsScreenPicture(textureId)) return;
  DrawScreenQuad(quad, texture, scale, x, y, z);
}

void DrawMenuCorner() {
  if (Settings.ShowPosition) {
    Text.DrawMenuDebug();
  } else if (Settings.ShowFps) {
    World.DrawFpsBadge();
  }
}

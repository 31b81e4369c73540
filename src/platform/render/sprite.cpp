// The sprite: one textured pixel-space quad per draw.
#include "platform/render/sprite.h"

#include "platform/render/render_internal.h"

Sprite* CreateSprite(RenderDevice* device) {
  if (!device) return nullptr;
  auto* sprite = new Sprite;
  sprite->Device = device;
  return sprite;
}

bool SpriteDraw(Sprite* sprite, Texture* texture, float x, float y, std::uint32_t colour) {
  if (!sprite || !sprite->Device || !texture) return false;
  const float x1 = x + static_cast<float>(texture->Width), y1 = y + static_cast<float>(texture->Height);
  const std::vector<float> corners = {x, y, 0, 0, x1, y, 1, 0, x1, y1, 1, 1, x, y1, 0, 1};
  DrawFlat2D(sprite->Device, texture->Id, corners, colour, Flat2DMode::Picture);
  return true;
}

void ReleaseSprite(Sprite* sprite) { delete sprite; }

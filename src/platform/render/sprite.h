// The sprite: copies a whole picture, unscaled, onto the current render target.
#pragma once

#include <cstdint>

struct RenderDevice;
struct Texture;

struct Sprite {
  RenderDevice* Device = nullptr;
};

Sprite* CreateSprite(RenderDevice* device);
// Draws the texture's top-left at pixel (x, y), modulated by `colour`, alpha-blended.
bool SpriteDraw(Sprite* sprite, Texture* texture, float x, float y, std::uint32_t colour);
void ReleaseSprite(Sprite* sprite);

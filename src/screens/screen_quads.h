// Drawing the flat quads of the menu screens, and the corner every menu screen shares.
#pragma once

#include <cstdint>

#include "world/world_types.h"

struct Texture;

// Places the quad with the sprite transform (scale, then position) and draws it as one fan.
void DrawScreenQuad(const SceneVertex (&quad)[4], Texture* texture, std::int32_t scale, float x,
                    float y, float z);
// The same with a catalogue picture.
void DrawScreenQuad(const SceneVertex (&quad)[4], int textureId, std::int32_t scale, float x,
                    float y, float z);

// The debug lines when positions are shown, else the FPS badge when it is asked for.
void DrawMenuCorner();

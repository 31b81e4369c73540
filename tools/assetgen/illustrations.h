// Small illustrations reused across pictures: weapons, keys, the mouse, the enemy orb, trees.
#pragma once

#include "image.h"

#include <string>

namespace assetgen {

// Side view, muzzle to the right; (x, y) is the left end of the bore line, length in pixels.
void DrawWeaponSide(Image& img, int weapon, float x, float y, float length, Colour body, Colour detail);
void DrawKey(Image& img, float x, float y, float w, float h, const std::string& label, bool lit);
// Mouse seen from above; highlights: bit 0 left button, bit 1 right button, bit 2 wheel.
void DrawMouse(Image& img, float cx, float cy, float h, int highlights);
void DrawOrb(Image& img, float cx, float cy, float r, float eyeAngle);
void DrawConifer(Image& img, float x, float baseY, float h, Colour c);

}  // namespace assetgen

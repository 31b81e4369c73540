// Shared look of the painted pictures: palette, backdrops and framed panels.
#pragma once

#include "font.h"
#include "image.h"

namespace assetgen {

namespace Palette {
const Colour Night = Rgb(10, 14, 22);
const Colour Deep = Rgb(20, 28, 44);
const Colour Steel = Rgb(58, 72, 92);
const Colour Accent = Rgb(80, 208, 255);
const Colour Warm = Rgb(255, 150, 64);
const Colour Danger = Rgb(230, 52, 52);
const Colour Text = Rgb(232, 238, 246);
const Colour Dim = Rgb(150, 164, 184);
} // namespace Palette

// Dark gradient with a faint grid, a few sound rings and a vignette.
void PaintBackdrop(Image& img, Colour top, Colour bottom, uint32_t seed, bool rings = true);
// Darkens towards the corners.
void Vignette(Image& img, float strength);
// A translucent plate with a thin accent border.
void Plate(Image& img, float x0, float y0, float x1, float y1, Colour fill, Colour border, float radius = 6);
// Page heading: large title with an underline in the accent colour.
// The language being painted: the Japanese pictures, or their English copies for File/Bitmap/en/.
extern bool PaintEnglish;
inline const char* Say(const char* japanese, const char* english) { return PaintEnglish ? english : japanese; }
// Where the pictures being painted go: "File/Bitmap/" or its English folder "File/Bitmap/en/".
inline std::string LanguageFolder() { return PaintEnglish ? "File/Bitmap/en/" : "File/Bitmap/"; }

void Heading(Image& img, const std::string& title, const std::string& sub, float y, Colour accent);
// Concentric rings that fade outwards: the game's picture of a sound.
void SoundRings(Image& img, float cx, float cy, float r0, float step, int count, Colour c);

}  // namespace assetgen

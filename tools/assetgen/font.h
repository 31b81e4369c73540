// Japanese text drawn into pictures with the IPA fonts, found through fontconfig.
#pragma once

#include "image.h"

#include <string>

namespace assetgen {

enum FontFace { FontGothic = 0, FontPGothic = 1 };

bool LoadFonts();
void UnloadFonts();

struct TextStyle {
    float Size = 24;              // pixel height of the em square
    Colour Fill = Colour{1, 1, 1, 1};
    FontFace Face = FontGothic;   // IPAGothic, the game's own face
    float Bold = 0;               // extra stroke, in pixels
    float Outline = 0;            // outline width, in pixels, 0 for none
    Colour OutlineColour = Colour{0, 0, 0, 1};
    float Shadow = 0;             // drop-shadow offset, 0 for none
    Colour ShadowColour = Colour{0, 0, 0, 0.6f};
};

// x is the left edge, y the baseline. Returns the advance width.
float DrawText(Image& img, const std::string& utf8, float x, float y, const TextStyle& style);
float TextWidth(const std::string& utf8, const TextStyle& style);
void DrawTextCentred(Image& img, const std::string& utf8, float cx, float y, const TextStyle& style);
// The whole text painted with a vertical gradient from top to bottom of the glyph box.
void DrawTextGradient(Image& img, const std::string& utf8, float x, float y, const TextStyle& style, Colour top,
                      Colour bottom);

}  // namespace assetgen

// Shared set-up for the play-scene tests: one device, solid pictures, a quad model, read-back.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

struct Texture;

namespace scene_test {

// Window and device once per program (640 x 480), the font, lights and render states.
void EnsureDevice();

// A picture of one colour; `keyed` loads it with white as the colour key (white: transparent).
Texture* SolidTexture(std::uint32_t argb, int side = 8, bool keyed = false);
// A texture whose mip levels are each filled with one colour, largest first.
Texture* LevelTexture(int side, const std::vector<std::uint32_t>& levelColours);

// Loads a quad model (corners at +-1 in the XY plane, `depth` along z) into the model set's
// slot `id`, with `picture` as the texture of its one subset.
void LoadQuadModel(int id, Texture* picture, float depth = 0);

// Every catalogue slot and play panel transparent; models pictured in their own colours.
void UseTestPictures();

// A match at rest: reset world, no flash, no puffs, every display switch off.
void QuietMatch();
void AllSwitches(std::uint32_t on);

struct Pixels {
  std::vector<std::uint32_t> Data;
  int Width = 0;
  int Height = 0;
  std::uint32_t At(int x, int y) const { return Data[static_cast<std::size_t>(y) * Width + x]; }
  int Differences(const Pixels& other) const;
};
Pixels ReadBack();
// RenderPlayFrame and the back buffer it drew.
Pixels DrawFrame();

struct Box {
  int Left = 1 << 30, Top = 1 << 30, Right = -1, Bottom = -1;
  bool Empty() const { return Right < Left; }
};
// The bounding box of the pixels for which `match` holds.
template <typename F>
Box BoundsOf(const Pixels& p, F match) {
  Box b;
  for (int y = 0; y < p.Height; ++y)
    for (int x = 0; x < p.Width; ++x)
      if (match(p.At(x, y))) {
        if (x < b.Left) b.Left = x;
        if (x > b.Right) b.Right = x;
        if (y < b.Top) b.Top = y;
        if (y > b.Bottom) b.Bottom = y;
      }
  return b;
}

inline int Alpha(std::uint32_t c) { return static_cast<int>(c >> 24); }
inline int Red(std::uint32_t c) { return static_cast<int>((c >> 16) & 0xFF); }
inline int Green(std::uint32_t c) { return static_cast<int>((c >> 8) & 0xFF); }
inline int Blue(std::uint32_t c) { return static_cast<int>(c & 0xFF); }

}  // namespace scene_test

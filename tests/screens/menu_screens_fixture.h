// Menu screen test set-up: a 640 x 480 device whose catalogue is one plain colour per picture.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace menu_screens {

constexpr int Width = 640;
constexpr int Height = 480;

// The opaque colour of catalogue picture `slot` (distinct for every slot).
std::uint32_t SlotColour(int slot);

// Creates the window, device, font and coloured catalogue once per program.
void EnsureScreenDevice();

// The back buffer after the last frame, top row first.
struct Frame {
  std::vector<std::uint32_t> Pixels;
  int W = 0, H = 0;
  std::uint32_t At(int x, int y) const { return Pixels[static_cast<std::size_t>(y) * W + x]; }
};
Frame Capture();

// Where a view-space point at depth z lands in the back buffer.
int PixelX(float x, float z);
int PixelY(float y, float z);

// True when every channel of `a` is within `tolerance` of `b` (alpha ignored).
bool Near(std::uint32_t a, std::uint32_t b, int tolerance = 6);

class MenuScreenTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
};

}  // namespace menu_screens

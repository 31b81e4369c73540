// Set-up for the result and ranking screen tests: one device, plain pictures in place of the
// catalogue, a scratch folder for Ranking.dat, and reading panels and the screen back.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "app/app_globals.h"
#include "graphics/text_renderer.h"
#include "persist/settings_record.h"
#include "platform/message_box.h"
#include "platform/render/render_device.h"
#include "platform/render/texture.h"
#include "world/game_world.h"
#include "world/match_values.h"

namespace results_test {

constexpr std::uint32_t BackdropColour = 0xFF202060;
constexpr std::uint32_t ScoreBackColour = 0xFF00A000;
constexpr int Pictures[] = {TexGameOver, TexRecord, TexMenu0, TexBlankKeyed};

inline std::vector<std::uint32_t> PanelPixels(int slot) {
  std::vector<std::uint32_t> argb;
  int width = 0, height = 0;
  EXPECT_TRUE(ReadTextureLevel(World.TextPanels[slot], 0, argb, width, height));
  return argb;
}

// True when `p` shows `colour` through a panel's 0xCC alpha over the backdrop.
inline bool Shows(std::uint32_t p, std::uint32_t colour) {
  for (int shift : {0, 8, 16}) {
    const double expected = ((colour >> shift) & 0xFF) * 0.8 + ((BackdropColour >> shift) & 0xFF) * 0.2;
    if (std::abs(static_cast<double>((p >> shift) & 0xFF) - expected) > 4) return false;
  }
  return true;
}

class ScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!World.Device) {
      // Registered again each time: a dialog test may have cleared the window classes.
      ASSERT_TRUE(RegisterWindowClass("Main Window", DefWindowProc));
      if (!MainWindow) MainWindow = CreateMainWindow("Main Window", "Korvid");
      Settings.ScreenWidth = 640;
      Settings.ScreenHeight = 480;
      ASSERT_TRUE(World.InitDirect3D());
      Text.CreateBaseFont();
    }
    home_ = std::filesystem::current_path();
    dir_ = std::filesystem::temp_directory_path() / ("korvid_results_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
    std::filesystem::current_path(dir_);
    BeginMessageBoxCapture();
    Settings.Difficulty = 0;
    Settings.ShowFps = 0;
    Settings.ShowPosition = 0;
    World.ResetRanking();
    World.CursorX = 640;  // the cursor rests in the bottom-right corner, clear of every panel
    World.CursorY = 512;
    MouseDeltaX = MouseDeltaY = 0;
    const std::uint32_t colours[] = {BackdropColour, BackdropColour, ScoreBackColour, 0};
    for (int i = 0; i < 4; ++i) {
      saved_[i] = World.Textures[Pictures[i]];
      Texture*& picture = World.Textures[Pictures[i]];
      ASSERT_TRUE(CreateRenderTargetTexture(World.Device, 256, 128, &picture));
      World.Device->SetRenderTarget(picture, false);
      World.Device->Clear(D3DCLEAR_TARGET, colours[i], 1, 0);
      World.Device->SetRenderTarget(nullptr, true);
    }
  }

  void TearDown() override {
    for (int i = 0; i < 4; ++i) {
      ReleaseTexture(World.Textures[Pictures[i]]);
      World.Textures[Pictures[i]] = saved_[i];
    }
    EndMessageBoxCapture();
    std::filesystem::current_path(home_);
    std::filesystem::remove_all(dir_);
  }

  // Pixels matching `test` inside the back-buffer rectangle of a quad of half-size (hw, hh)
  // placed at (x, y, z) in the view (45 degrees, aspect 1.25).
  template <typename Test>
  int CountIn(float x, float y, float z, float hw, float hh, Test test) {
    std::vector<std::uint32_t> screen;
    int w = 0, h = 0;
    EXPECT_TRUE(World.Device->ReadBackBuffer(screen, w, h));
    const float halfHeight = z * std::tan(22.5f * 0.017453292f), halfWidth = halfHeight * 1.25f;
    auto px = [&](float v) { return std::clamp(static_cast<int>((v / halfWidth + 1) / 2 * w), 0, w); };
    auto py = [&](float v) { return std::clamp(static_cast<int>((1 - v / halfHeight) / 2 * h), 0, h); };
    int n = 0;
    for (int row = py(y + hh); row < py(y - hh); ++row)
      for (int col = px(x - hw); col < px(x + hw); ++col) n += test(screen[static_cast<std::size_t>(row) * w + col]);
    return n;
  }

  std::filesystem::path home_, dir_;
  Texture* saved_[4] = {};
};

}  // namespace results_test

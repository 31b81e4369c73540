// Display modes: window and full-screen resets, their failure messages, and a failed device.
#include <gtest/gtest.h>

#include <memory>

#include "app/app_globals.h"
#include "graphics_fixture.h"
#include "persist/settings_record.h"
#include "platform/message_box.h"
#include "platform/render/render_device.h"
#include "platform/render/texture.h"
#include "world/game_world.h"

namespace {

class DisplayModeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureDevice();
    ASSERT_NE(World.Device, nullptr);
    BeginMessageBoxCapture();
  }
  void TearDown() override {
    EndMessageBoxCapture();
    Settings.ColourDepth = 0;
    Settings.ScreenWidth = 640;
    Settings.ScreenHeight = 480;
    World.ResetDisplay(0);
  }
};

}  // namespace

TEST_F(DisplayModeTest, FullScreenAndBackKeepTheChosenBackBufferAndParameters) {
  Settings.ScreenWidth = 800;
  Settings.ScreenHeight = 600;
  Settings.ColourDepth = 1;
  ASSERT_TRUE(World.ResetDisplay(1));
  EXPECT_TRUE(World.Device->FullScreen());
  EXPECT_EQ(World.Device->BackBufferWidth(), 800);
  EXPECT_EQ(World.FullScreenParams.BackBufferFormat, static_cast<std::uint32_t>(D3DFMT_R5G6B5));
  EXPECT_EQ(World.FullScreenParams.BackBufferCount, 1u);
  EXPECT_EQ(World.FullScreenParams.SwapEffect, static_cast<std::uint32_t>(D3DSWAPEFFECT_DISCARD));
  EXPECT_EQ(World.FullScreenParams.FullScreenRefreshRateInHz, 60u);
  ASSERT_TRUE(World.BeginFrame(0xFF204080));
  const Pixels p = ReadBack();
  EXPECT_EQ(p.Width, 800);
  EXPECT_NEAR(Blue(p.At(10, 10)), 0x80, 4);  // a 16-bit back buffer keeps five or six bits
  EXPECT_TRUE(World.EndFrame());

  ASSERT_TRUE(World.ResetDisplay(0));
  EXPECT_FALSE(World.Device->FullScreen());
  EXPECT_EQ(World.WindowedParams.BackBufferFormat, World.DesktopMode.Format);
  EXPECT_EQ(World.WindowedParams.BackBufferCount, 0u);
  EXPECT_EQ(World.WindowedParams.SwapEffect, static_cast<std::uint32_t>(D3DSWAPEFFECT_FLIP));
  EXPECT_TRUE(World.WindowedParams.Windowed);
  EXPECT_TRUE(CapturedMessageBoxes().empty());
}

TEST_F(DisplayModeTest, UnknownColourDepthFailsTheSwitchWithItsMessage) {
  Settings.ColourDepth = 7;
  EXPECT_FALSE(World.ResetDisplay(1));
  ASSERT_EQ(CapturedMessageBoxes().size(), 1u);
  EXPECT_EQ(CapturedMessageBoxes()[0].Text, "切り替えに失敗");
  EXPECT_EQ(CapturedMessageBoxes()[0].Caption, "Window -> Full");
  EXPECT_EQ(World.FullScreenParams.BackBufferFormat, static_cast<std::uint32_t>(D3DFMT_UNKNOWN));
}

TEST_F(DisplayModeTest, OtherModesOnlyRemakeThePanelsStatesAndCamera) {
  World.Device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
  World.SetupCamera(15);
  ASSERT_TRUE(World.ResetDisplay(5));
  EXPECT_EQ(World.Device->GetRenderState(D3DRS_CULLMODE), static_cast<std::uint32_t>(D3DCULL_NONE));
  EXPECT_EQ(World.Device->GetRenderState(D3DRS_AMBIENT), 0x808080u);
  EXPECT_NE(World.TextPanels[PanelFps], nullptr);
  World.SetupCamera(45);
  const Matrix expected = World.ProjectionMatrix;
  World.SetupCamera(15);
  ASSERT_TRUE(World.ResetDisplay(2));
  EXPECT_FLOAT_EQ(World.ProjectionMatrix.M[1][1], expected.M[1][1]);
}

TEST_F(DisplayModeTest, DeviceThatCannotBeMadeShowsTheDirect3DMessage) {
  auto other = std::make_unique<GameWorld>();
  const HWND window = MainWindow;
  MainWindow = nullptr;  // no window to draw on
  const int cursorBefore = ShowCursor(false);
  EXPECT_FALSE(other->InitDirect3D());
  MainWindow = window;
  EXPECT_EQ(other->Device, nullptr);
  ASSERT_EQ(CapturedMessageBoxes().size(), 1u);
  EXPECT_EQ(CapturedMessageBoxes()[0].Text,
            "Direct3Dの初期化に失敗。\nグラフィックボードが対応していないか、\n設定の誤りかと思われます。");
  EXPECT_EQ(CapturedMessageBoxes()[0].Caption, "Direct3D");
  EXPECT_EQ(ShowCursor(false), cursorBefore);  // the failure had shown the cursor once
  ShowCursor(true);
  // Without a device the frame bracket does nothing.
  EXPECT_FALSE(other->BeginFrame(0xFF000000));
  other->ReleaseGraphics();
}

TEST_F(DisplayModeTest, ResourcesOutlivingTheDeviceReleaseSafely) {
  TempFolder folder;
  WriteBmp24(folder.Path + "/p.bmp", 4, 4, std::vector<std::uint32_t>(16, 0xFF102030));
  Texture* texture = nullptr;
  ASSERT_TRUE(CreateTextureFromFile(World.Device, folder.Path + "/p.bmp", &texture));
  World.ReleaseGraphics();
  EXPECT_EQ(World.Device, nullptr);
  EXPECT_EQ(World.TextPanels[PanelFps], nullptr);
  ReleaseTexture(texture);  // the context is gone: only our record is freed
  EnsureDevice();           // later tests get a fresh device
  ASSERT_NE(World.Device, nullptr);
  ASSERT_TRUE(World.BeginFrame(0xFF00FF00));
  EXPECT_EQ(ReadBack().At(1, 1) & 0xFFFFFF, 0x00FF00u);
  World.EndFrame();
}

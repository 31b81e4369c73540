// Presenting onto windows of other shapes: the picture's area, the black bars, and a ball that stays round.
#include <gtest/gtest.h>

#include <cmath>

#include "graphics_fixture.h"
#include "persist/settings_record.h"
#include "platform/render/render_device.h"
#include "world/game_world.h"

namespace {
constexpr std::uint32_t Backdrop = 0xFF3060C0u;
constexpr std::uint32_t Ball = 0xFFF0A020u;

class PresentShapeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureDevice();
    ASSERT_NE(World.Device, nullptr);
    device = World.Device;
    World.ApplyRenderStates();
    device->SetRenderState(D3DRS_FOGENABLE, 0);
    device->SetRenderState(D3DRS_ALPHATESTENABLE, 0);
    device->SetRenderState(D3DRS_LIGHTING, 0);
    device->SetTexture(0, nullptr);
    device->SetVertexShader(SceneVertexFormat);
  }
  void TearDown() override {
    SetPresentKeepsShape(true);
    World.SetupCamera(45);
  }

  // A ball in the middle of the back buffer, round in its pixels: `radius` of its height.
  void DrawBall(float radius) {
    // Positions are taken as they are: x and y across the back buffer from -1 to 1.
    device->SetTransform(D3DTS_WORLD, MatrixIdentity());
    device->SetTransform(D3DTS_VIEW, MatrixIdentity());
    device->SetTransform(D3DTS_PROJECTION, MatrixIdentity());
    constexpr int Rim = 64;
    FanVertex fan[Rim + 2];
    const float aspect = static_cast<float>(device->BackBufferHeight()) / static_cast<float>(device->BackBufferWidth());
    fan[0] = {0, 0, 0.5f, Ball, 0, 0};
    for (int i = 0; i <= Rim; ++i) {
      const float a = 6.2831853f * static_cast<float>(i) / Rim;
      fan[i + 1] = {radius * aspect * std::cos(a), radius * std::sin(a), 0.5f, Ball, 0, 0};
    }
    ASSERT_TRUE(device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, Rim, fan, sizeof(FanVertex)));
  }

  Pixels Compose(int width, int height) {
    Pixels p;
    p.Width = width;
    p.Height = height;
    EXPECT_TRUE(device->ComposeWindowPicture(width, height, p.Data));
    return p;
  }

  RenderDevice* device = nullptr;
};

struct ShapeCase {
  int WindowWidth, WindowHeight;
  bool Keep;
  int Left, Top, Right, Bottom;  // the picture, inclusive; black everywhere else
};

// The back buffer is 640 x 480.
constexpr ShapeCase ShapeCases[] = {
    {1280, 720, true, 160, 0, 1119, 719},    {1280, 720, false, 0, 0, 1279, 719},
    {1280, 800, true, 106, 0, 1172, 799},    {1280, 800, false, 0, 0, 1279, 799},
    {1280, 1024, true, 0, 32, 1279, 991},    {1280, 1024, false, 0, 0, 1279, 1023},
    {800, 600, true, 0, 0, 799, 599},        {800, 600, false, 0, 0, 799, 599},
};

class PictureArea : public PresentShapeTest, public testing::WithParamInterface<ShapeCase> {};

TEST_P(PictureArea, CoversItsRectangleAndLeavesBlackBarsAround) {
  const ShapeCase& c = GetParam();
  SetPresentKeepsShape(c.Keep);
  ASSERT_TRUE(World.BeginFrame(Backdrop));
  const Pixels p = Compose(c.WindowWidth, c.WindowHeight);
  World.EndFrame();
  int left = c.WindowWidth, right = -1, top = c.WindowHeight, bottom = -1, strays = 0;
  for (int y = 0; y < p.Height; ++y) {
    for (int x = 0; x < p.Width; ++x) {
      const std::uint32_t colour = p.At(x, y) & 0xFFFFFFu;
      if (colour == (Backdrop & 0xFFFFFFu)) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      } else if (colour != 0) {
        ++strays;
      }
    }
  }
  EXPECT_EQ(strays, 0);  // nothing but the picture and black: no old window contents
  EXPECT_EQ(left, c.Left);
  EXPECT_EQ(right, c.Right);
  EXPECT_EQ(top, c.Top);
  EXPECT_EQ(bottom, c.Bottom);
  // The bars are black, the picture whole inside its rectangle.
  if (c.Left > 0) {
    EXPECT_EQ(p.At(c.Left - 1, c.WindowHeight / 2) & 0xFFFFFFu, 0u);
  }
  if (c.Top > 0) {
    EXPECT_EQ(p.At(c.WindowWidth / 2, c.Top - 1) & 0xFFFFFFu, 0u);
  }
  EXPECT_EQ(p.At(c.Left, c.Top) & 0xFFFFFFu, Backdrop & 0xFFFFFFu);
  EXPECT_EQ(p.At(c.Right, c.Bottom) & 0xFFFFFFu, Backdrop & 0xFFFFFFu);
}

INSTANTIATE_TEST_SUITE_P(Windows, PictureArea, testing::ValuesIn(ShapeCases),
                         [](const testing::TestParamInfo<ShapeCase>& info) {
                           const ShapeCase& c = info.param;
                           return std::to_string(c.WindowWidth) + "x" + std::to_string(c.WindowHeight) +
                                  (c.Keep ? "_keep" : "_stretch");
                         });

struct BallCase {
  int WindowWidth, WindowHeight;
  bool Keep;
  double Ratio;  // measured width over height
};

class BallShape : public PresentShapeTest, public testing::WithParamInterface<BallCase> {};

TEST_P(BallShape, MeasuresAsItsShapeSays) {
  const BallCase& c = GetParam();
  SetPresentKeepsShape(c.Keep);
  ASSERT_TRUE(World.BeginFrame(Backdrop));
  DrawBall(0.5f);
  const Pixels p = Compose(c.WindowWidth, c.WindowHeight);
  World.EndFrame();
  // Across and down through the middle: pixels closer to the ball's colour than the backdrop's.
  const auto isBall = [&](int x, int y) { return Red(p.At(x, y)) > 0x90; };
  int across = 0, down = 0;
  for (int x = 0; x < p.Width; ++x) across += isBall(x, p.Height / 2);
  for (int y = 0; y < p.Height; ++y) down += isBall(p.Width / 2, y);
  ASSERT_GT(down, 100);
  EXPECT_NEAR(static_cast<double>(across) / down, c.Ratio, 0.01) << across << " x " << down;
}

INSTANTIATE_TEST_SUITE_P(Windows, BallShape,
                         testing::Values(BallCase{1280, 720, true, 1.0}, BallCase{1280, 800, true, 1.0},
                                         BallCase{1280, 1024, true, 1.0}, BallCase{1280, 720, false, 4.0 / 3.0},
                                         BallCase{1280, 1024, false, 0.9375}),
                         [](const testing::TestParamInfo<BallCase>& info) {
                           const BallCase& c = info.param;
                           return std::to_string(c.WindowWidth) + "x" + std::to_string(c.WindowHeight) +
                                  (c.Keep ? "_keep" : "_stretch");
                         });
}  // namespace

namespace {
// A 5:4 back buffer after display switches, full screen and back: the shape is the back
// buffer's, whichever mode and size the switches leave.
TEST_F(PresentShapeTest, EveryDisplaySwitchKeepsTheBackBuffersOwnShape) {
  SetPresentKeepsShape(true);
  Settings.ScreenWidth = 1280;
  Settings.ScreenHeight = 1024;
  for (int mode : {1, 0}) {
    ASSERT_TRUE(World.ResetDisplay(mode));
    ASSERT_TRUE(World.BeginFrame(Backdrop));
    const Pixels p = Compose(1280, 720);
    World.EndFrame();
    // 900 x 720 in the middle of 1280: bars of 190 either side.
    EXPECT_EQ(p.At(189, 360) & 0xFFFFFFu, 0u) << mode;
    EXPECT_EQ(p.At(190, 360) & 0xFFFFFFu, Backdrop & 0xFFFFFFu) << mode;
    EXPECT_EQ(p.At(1089, 360) & 0xFFFFFFu, Backdrop & 0xFFFFFFu) << mode;
    EXPECT_EQ(p.At(1090, 360) & 0xFFFFFFu, 0u) << mode;
  }
  Settings.ScreenWidth = 640;
  Settings.ScreenHeight = 480;
  ASSERT_TRUE(World.ResetDisplay(0));
}
}  // namespace

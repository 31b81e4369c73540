// Set-up for the menu screen tests: a device with a catalogue of plain colours.
#include "menu_screens_fixture.h"

#include <cmath>
#include <cstdlib>

#include "app/app_globals.h"
#include "graphics/text_renderer.h"
#include "persist/settings_record.h"
#include "platform/render/render_device.h"
#include "platform/render/texture.h"
#include "platform/window.h"
#include "world/game_world.h"
#include "world/match_values.h"

namespace menu_screens {

namespace {
constexpr float HalfViewTangent = 0.41421356f;  // tan(22.5 degrees)
constexpr float Aspect = 1.25f;

Texture* PlainTexture(std::uint32_t argb) {
  PreparedPicture picture;
  ImageLevel level;
  // As large as the FPS panel, which the sprite copies the picture into unscaled.
  level.Width = 128;
  level.Height = 64;
  level.Pixels.assign(128 * 64, argb);
  picture.Levels.push_back(level);
  Texture* texture = nullptr;
  CreateTextureFromPrepared(World.Device, picture, &texture);
  return texture;
}
}  // namespace

std::uint32_t SlotColour(int slot) {
  // The blank picture is white, as the real one is: text panels are drawn over it.
  if (slot == TexBlank) return 0xFFFFFFFFu;
  const std::uint32_t r = (37u * slot + 60) % 200 + 40;
  const std::uint32_t g = (91u * slot + 20) % 200 + 40;
  const std::uint32_t b = (53u * slot + 110) % 200 + 40;
  return 0xFF000000u | r << 16 | g << 8 | b;
}

void EnsureScreenDevice() {
  // The device and its plain pictures are made once; one made by another fixture is replaced.
  static RenderDevice* made = nullptr;
  static Texture* firstPicture = nullptr;
  if (World.Device && World.Device == made && World.Textures[0] == firstPicture) return;
  if (World.Device) World.ReleaseGraphics();
  // Registered again each time: a dialog test may have cleared the window classes.
  ASSERT_TRUE(RegisterWindowClass("Main Window", DefWindowProc));
  if (!MainWindow) MainWindow = CreateMainWindow("Main Window", "Korvid");
  ASSERT_NE(MainWindow, nullptr);
  Settings.ScreenWidth = Width;
  Settings.ScreenHeight = Height;
  ASSERT_TRUE(World.InitDirect3D());
  Text.CreateBaseFont();
  Text.SetFontHeight(19);
  for (int slot = 0; slot < TextureCount; ++slot) {
    World.Textures[slot] = PlainTexture(SlotColour(slot));
    ASSERT_NE(World.Textures[slot], nullptr);
  }
  World.ApplyRenderStates();
  made = World.Device;
  firstPicture = World.Textures[0];
  World.SetupCamera(45);
}

Frame Capture() {
  Frame f;
  World.Device->ReadBackBuffer(f.Pixels, f.W, f.H);
  return f;
}

int PixelX(float x, float z) {
  return static_cast<int>(std::lround(Width / 2.0f * (1 + x / (z * HalfViewTangent * Aspect))));
}
int PixelY(float y, float z) {
  return static_cast<int>(std::lround(Height / 2.0f * (1 - y / (z * HalfViewTangent))));
}

bool Near(std::uint32_t a, std::uint32_t b, int tolerance) {
  for (int shift : {16, 8, 0}) {
    const int ca = static_cast<int>((a >> shift) & 0xFF), cb = static_cast<int>((b >> shift) & 0xFF);
    if (std::abs(ca - cb) > tolerance) return false;
  }
  return true;
}

void MenuScreenTest::SetUp() {
  EnsureScreenDevice();
  World.ConstructWorld();
  for (int j = 0; j < MenuItemCount; ++j) World.MenuSlide[j] = 0;
  World.TitleLogoDepth = 0;
  World.TitleBackOffset = 1200;
  World.NoiseFrame = 0;
  World.MenuShown = World.TitleRestart = 0;
  World.PageIndex = 0;
  World.CursorX = World.CursorY = 0;
  World.OverlayDepthOffset = 0;
  MouseDeltaX = MouseDeltaY = 0;
  Settings.CursorStyle = 2;
  Settings.ShowFps = 0;
  Settings.ShowPosition = 0;
}

void MenuScreenTest::TearDown() {
  World.GameState = StateTitle;
  World.StateFrameCount = 0;
}

}  // namespace menu_screens

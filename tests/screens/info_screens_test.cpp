// Operation pages and label, credits, settings backdrop, noise transition, FPS or debug corner.
#include <algorithm>
#include <vector>

#include "menu_screens_fixture.h"
#include "persist/settings_record.h"
#include "platform/render/texture.h"
#include "world/game_world.h"

namespace menu_screens {
namespace {

using InfoScreenTest = MenuScreenTest;

constexpr float PageDepth = 12200;
constexpr float CursorDepth = 1237 + 0.02f * 1237;

std::vector<std::uint32_t> PanelPixels(int slot) {
  std::vector<std::uint32_t> argb;
  int w = 0, h = 0;
  ReadTextureLevel(World.TextPanels[slot], 0, argb, w, h);
  return argb;
}

bool Yellow(std::uint32_t c) {
  return ((c >> 16) & 0xFF) > 200 && ((c >> 8) & 0xFF) > 200 && (c & 0xFF) < 110;
}

TEST_F(InfoScreenTest, EachOperationPageShowsItsPictureTheCursorAndTheYellowLabelBelow) {
  World.CursorX = 200;
  World.CursorY = -100;
  for (int page = 0; page < 3; ++page) {
    World.PageIndex = page;
    World.RenderPageLabel();
    ASSERT_TRUE(World.DrawOperation());
    const Frame f = Capture();
    EXPECT_TRUE(Near(f.At(Width / 4, Height / 3), SlotColour(TexOperation1 + page))) << "page " << page;
    EXPECT_TRUE(Near(f.At(PixelX(200, CursorDepth), PixelY(100, CursorDepth)), SlotColour(TexCursor2)));
    // The label lies in a band at the bottom, centred, under the page picture.
    int yellowInBand = 0, yellowElsewhere = 0;
    const int bandTop = PixelY(-1600, 4500);
    for (int y = 0; y < f.H; ++y)
      for (int x = 0; x < f.W; ++x)
        if (Yellow(f.At(x, y))) (y >= bandTop && x > PixelX(-1400, 4500) && x < PixelX(1500, 4500) ? yellowInBand : yellowElsewhere)++;
    EXPECT_GT(yellowInBand, 200) << "page " << page;
    EXPECT_EQ(yellowElsewhere, 0) << "page " << page;
  }
}

TEST_F(InfoScreenTest, PageLabelReadsThePageNumberOutOfThreeAndFitsItsPanel) {
  const int width = TextureWidth(World.TextPanels[3]);
  std::vector<std::vector<std::uint32_t>> labels;
  for (int page = 0; page < 3; ++page) {
    World.PageIndex = page;
    World.RenderPageLabel();
    labels.push_back(PanelPixels(3));
    // The closing bracket, the text's last column, lies well inside the panel.
    int lastColumn = -1;
    for (std::size_t i = 0; i < labels.back().size(); ++i)
      if (labels.back()[i] == 0xFFFFFF00u) lastColumn = std::max(lastColumn, static_cast<int>(i) % width);
    EXPECT_GT(lastColumn, 480) << "page " << page;
    EXPECT_LT(lastColumn, width - 8) << "page " << page;
  }
  EXPECT_NE(labels[0], labels[1]);
  EXPECT_NE(labels[1], labels[2]);
  int yellow = 0;
  for (std::uint32_t c : labels[1]) yellow += c == 0xFFFFFF00u;
  EXPECT_GT(yellow, 300);
}

struct PageCase {
  const char* Name;
  bool (GameWorld::*Draw)();
  int Picture;
  bool Cursor;
};

class FullScreenPage : public MenuScreenTest, public ::testing::WithParamInterface<PageCase> {};

TEST_P(FullScreenPage, ShowsItsPictureAndTheCursorWhereItHasOne) {
  const PageCase& c = GetParam();
  World.CursorX = -250;
  World.CursorY = 200;
  ASSERT_TRUE((World.*c.Draw)());
  const Frame f = Capture();
  EXPECT_TRUE(Near(f.At(Width * 3 / 4, Height / 4), SlotColour(c.Picture)));
  const std::uint32_t atCursor = f.At(PixelX(-250, CursorDepth), PixelY(-200, CursorDepth));
  EXPECT_EQ(Near(atCursor, SlotColour(TexCursor2)), c.Cursor);
  EXPECT_EQ(Near(atCursor, SlotColour(c.Picture)), !c.Cursor);
}

INSTANTIATE_TEST_SUITE_P(Screens, FullScreenPage,
                         ::testing::Values(PageCase{"credits", &GameWorld::DrawCredits, TexCredit, true},
                                           PageCase{"settings", &GameWorld::DrawSettingsBackdrop, TexSetting, false}),
                         [](const ::testing::TestParamInfo<PageCase>& info) { return std::string(info.param.Name); });

TEST_F(InfoScreenTest, TransitionCyclesTheNoisePicturesNeverShowingOneTwiceRunning) {
  World.NoiseFrame = 2;
  int previous = -1;
  for (int frame = 0; frame < 21; ++frame) {
    ASSERT_TRUE(World.DrawTransition());
    const std::uint32_t shown = Capture().At(Width / 2, Height / 2);
    int picture = -1;
    for (int k = 0; k < 3; ++k)
      if (Near(shown, SlotColour(TexNoise1 + k))) picture = k;
    ASSERT_NE(picture, -1) << "frame " << frame;
    EXPECT_EQ(picture, frame % 3) << "frame " << frame;
    EXPECT_NE(picture, previous);
    previous = picture;
  }
}

struct CornerCase {
  const char* Name;
  std::uint32_t ShowFps, ShowPosition;
  bool Badge;
};

class MenuCorner : public MenuScreenTest, public ::testing::WithParamInterface<CornerCase> {};

TEST_P(MenuCorner, ShowsTheFpsBadgeOnlyWhenAskedAndNoDebugLines) {
  const CornerCase& c = GetParam();
  Settings.ShowFps = c.ShowFps;
  Settings.ShowPosition = c.ShowPosition;
  World.Fps = 57;  // a new figure: the badge's panel is drawn afresh
  for (bool (GameWorld::*draw)() : {&GameWorld::DrawCredits, &GameWorld::DrawOperation}) {
    ASSERT_TRUE((World.*draw)());
    const Frame f = Capture();
    // Left part of the badge (x -0.63..-0.5, y 0.47..0.515 at depth 1.25), clear of its digits.
    const std::uint32_t badge = f.At(PixelX(-0.62f, 1.25f), PixelY(0.49f, 1.25f));
    EXPECT_EQ(Near(badge, SlotColour(TexFps), 40), c.Badge) << std::hex << badge;
  }
  World.Fps = 0;
}

INSTANTIATE_TEST_SUITE_P(Settings, MenuCorner,
                         ::testing::Values(CornerCase{"nothing", 0, 0, false}, CornerCase{"fps", 1, 0, true},
                                           CornerCase{"debug_lines_win", 1, 1, false}),
                         [](const ::testing::TestParamInfo<CornerCase>& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace menu_screens

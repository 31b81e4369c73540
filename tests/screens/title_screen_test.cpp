// The title: intro timing, the menu's pictures and places, hover boxes and the software cursor.
#include <random>

#include "menu_screens_fixture.h"
#include "input/dxinput.h"
#include "persist/settings_record.h"
#include "world/game_world.h"
#include "world/match_values.h"

namespace menu_screens {
namespace {

constexpr float ItemDepth = 1500;
constexpr float ItemCentreX[MenuItemCount] = {-500, 0, 500, -500, 0, 500};
constexpr float ItemCentreY[MenuItemCount] = {-200, -200, -200, -430, -430, -430};
constexpr int ItemNormal[MenuItemCount] = {TexMenu1a, TexMenu2a, TexMenu3a, TexMenu4a, TexMenu5a, TexMenu6a};
constexpr int ItemLit[MenuItemCount] = {TexMenu1b, TexMenu2b, TexMenu3b, TexMenu4b, TexMenu5b, TexMenu6b};
constexpr float FinalX[MenuItemCount] = {-500, 0, 500, -500, 0, 500};

using TitleTest = MenuScreenTest;

TEST_F(TitleTest, ItemsArriveAfter60_160_260FramesAndTheMenuIsShownOnThe261st) {
  int arrived[MenuItemCount] = {};
  int shownAt = 0;
  for (int frame = 1; frame <= 270; ++frame) {
    ASSERT_TRUE(World.DrawTitle());
    for (int k = 0; k < MenuItemCount; ++k)
      if (!arrived[k] && World.MenuPos[k].X == FinalX[k]) arrived[k] = frame;
    if (!shownAt && World.MenuShown) shownAt = frame;
  }
  const int expected[MenuItemCount] = {260, 160, 60, 260, 160, 60};
  for (int k = 0; k < MenuItemCount; ++k) EXPECT_EQ(arrived[k], expected[k]) << "item " << k;
  EXPECT_EQ(shownAt, 261);
  // The logo has receded onto the background, which has finished approaching.
  EXPECT_EQ(World.TitleLogoDepth, 12000.0f);
  EXPECT_EQ(World.TitleBackOffset, 0.0f);
}

TEST_F(TitleTest, ShowingTheMenuSnapsEveryLayerOnTheNextFrame) {
  for (int frame = 0; frame < 25; ++frame) World.DrawTitle();
  EXPECT_LT(World.TitleLogoDepth, 12000.0f);
  World.MenuShown = 1;  // as a click after the 20th frame sets it
  World.DrawTitle();
  EXPECT_EQ(World.TitleLogoDepth, 12000.0f);
  EXPECT_EQ(World.TitleBackOffset, 0.0f);
  for (int k = 0; k < MenuItemCount; ++k) {
    EXPECT_EQ(World.MenuPos[k].X, FinalX[k]);
    EXPECT_EQ(World.MenuSlide[k], World.MenuSlideTarget[k]);
  }
  // The quads moved with the items.
  EXPECT_EQ(World.MenuItemQuads[0][0].X, -700.0f);
  EXPECT_EQ(World.MenuItemQuads[5][1].X, 700.0f);
}

TEST_F(TitleTest, RestartPutsTheIntroBackToItsBeginning) {
  World.MenuShown = 1;
  World.DrawTitle();
  World.MenuShown = 0;
  World.TitleRestart = 1;
  World.DrawTitle();
  EXPECT_EQ(World.TitleRestart, 0);
  EXPECT_EQ(World.TitleLogoDepth, 50.0f);
  EXPECT_EQ(World.TitleBackOffset, 1195.0f);
  // Each item's call restarts all six, so only the last has moved on this frame.
  for (int k = 0; k < MenuItemCount - 1; ++k) EXPECT_EQ(World.MenuPos[k].X, 800.0f) << k;
  EXPECT_EQ(World.MenuPos[5].X, 795.0f);
  EXPECT_EQ(World.MenuItemQuads[0][0].X, 600.0f);
}

TEST_F(TitleTest, MenuInPlaceShowsEachItemAndTheHoveredOneLit) {
  World.MenuShown = 1;
  World.DrawTitle();  // snaps the items into place
  World.MenuPos[4].Active = 1;
  World.CursorX = -400;
  World.CursorY = -300;
  ASSERT_TRUE(World.DrawTitle());
  const Frame f = Capture();
  for (int k = 0; k < MenuItemCount; ++k) {
    const int picture = k == 4 ? ItemLit[k] : ItemNormal[k];
    const std::uint32_t got = f.At(PixelX(ItemCentreX[k], ItemDepth), PixelY(ItemCentreY[k], ItemDepth));
    EXPECT_TRUE(Near(got, SlotColour(picture))) << "item " << k << " shows " << std::hex << got;
  }
  // The cursor over the logo, which lies in front of the background.
  const float cursorDepth = 1237 + 0.02f * 1237;
  EXPECT_TRUE(Near(f.At(PixelX(-400, cursorDepth), PixelY(300, cursorDepth)), SlotColour(TexCursor2)));
  EXPECT_TRUE(Near(f.At(PixelX(300, 12000), PixelY(3000, 12000)), SlotColour(TexTitle)));
}

TEST_F(TitleTest, IntroLogoStartsInFrontOfEverythingAndRecedesBehindTheItems) {
  ASSERT_TRUE(World.DrawTitle());
  Frame f = Capture();
  EXPECT_TRUE(Near(f.At(Width / 2, Height / 4), SlotColour(TexTitle)));
  EXPECT_TRUE(Near(f.At(Width / 2, Height * 3 / 4), SlotColour(TexTitle)));
  for (int frame = 2; frame <= 40; ++frame) World.DrawTitle();
  // Frame 40: the logo is at depth 2000, item 2 has slid 200 and stands in front of it.
  f = Capture();
  EXPECT_TRUE(Near(f.At(PixelX(600, ItemDepth), PixelY(-200, ItemDepth)), SlotColour(TexMenu3a)));
  EXPECT_TRUE(Near(f.At(PixelX(-300, 2000), PixelY(300, 2000)), SlotColour(TexTitle)));
}

struct HoverCase {
  const char* Name;
  float CursorX, CursorY;
  int Hovered;  // -1: none
};

// With the menu in place: item X -500, 0, 500; the cursor's own box spans +23..+27.
const HoverCase HoverCases[] = {
    {"item0_left_edge_touching", -551 - 27, 150, 0},
    {"item0_left_edge_apart", -551 - 27.5f, 150, -1},
    {"item0_right_edge_touching", -222 - 23, 150, 0},
    {"item1_top_edge_touching", 0, 108 - 27, 1},
    {"item1_top_edge_apart", 0, 108 - 27.5f, -1},
    {"item1_bottom_edge_touching", 0, 272 - 23, 1},
    {"between_the_rows", 0, 272 - 22.5f, -1},
    {"item4_top_edge_touching", 0, 296 - 27, 4},
    {"item5_bottom_right_corner", 602 - 23, 463 - 23, 5},
    {"below_the_menu", 602 - 23, 463 - 22.5f, -1},
    {"on_the_logo", -300, -300, -1},
};

class MenuHover : public MenuScreenTest, public ::testing::WithParamInterface<HoverCase> {};

TEST_P(MenuHover, CountsTouchingEdgesAsInside) {
  const HoverCase& c = GetParam();
  for (int k = 0; k < MenuItemCount; ++k) World.MenuPos[k].X = FinalX[k];
  World.MenuPos[3].Active = 1;  // stale from an earlier step
  World.CursorX = c.CursorX;
  World.CursorY = c.CursorY;
  World.UpdateMenuHover();
  for (int k = 0; k < MenuItemCount; ++k) EXPECT_EQ(World.MenuPos[k].Active, k == c.Hovered ? 1 : 0) << k;
}

INSTANTIATE_TEST_SUITE_P(Boxes, MenuHover, ::testing::ValuesIn(HoverCases),
                         [](const ::testing::TestParamInfo<HoverCase>& info) {
                           return std::string(info.param.Name);
                         });

TEST_F(TitleTest, OverlappingBoxesGoToTheLowerIndex) {
  // Mid-slide, item 0 (box X-51..X+278) has come level with item 2 (X-228..X+102).
  World.MenuPos[0].X = 300;
  World.MenuPos[1].X = 600;
  World.MenuPos[2].X = 500;
  World.CursorX = 300 - 23;
  World.CursorY = 150;
  World.UpdateMenuHover();
  EXPECT_EQ(World.MenuPos[0].Active, 1);
  EXPECT_EQ(World.MenuPos[2].Active, 0);
}

struct ClampCase {
  const char* Name;
  float Start, Delta, After;
};

const ClampCase ClampCases[] = {
    {"moves_inside", 100, 30, 130},
    {"may_step_past_the_edge", 630, 30, 660},
    {"pulled_back_without_moving", 660, -5, 640},
    {"pulled_back_on_the_left", -700, 50, -640},
    {"edge_itself_moves_on", 640, 10, 650},
};

class CursorClamp : public MenuScreenTest, public ::testing::WithParamInterface<ClampCase> {};

TEST_P(CursorClamp, ClampAndMotionExcludeEachOther) {
  const ClampCase& c = GetParam();
  World.CursorX = c.Start;
  World.CursorY = c.Start * 0.8f;
  MouseDeltaX = c.Delta;
  MouseDeltaY = c.Delta;
  World.DrawCursor();
  EXPECT_EQ(World.CursorX, c.After);
  EXPECT_EQ(MouseDeltaX, 0.0f);  // consumed
  EXPECT_EQ(MouseDeltaY, 0.0f);
}

INSTANTIATE_TEST_SUITE_P(Edges, CursorClamp, ::testing::ValuesIn(ClampCases),
                         [](const ::testing::TestParamInfo<ClampCase>& info) {
                           return std::string(info.param.Name);
                         });

TEST_F(TitleTest, CursorNeverStaysOutsideTheMenuSpaceForTwoFrames) {
  std::mt19937 random(7);
  std::uniform_real_distribution<float> swing(-400, 400);
  bool outsideXBefore = false, outsideYBefore = false;
  for (int frame = 0; frame < 2000; ++frame) {
    MouseDeltaX = swing(random);
    MouseDeltaY = swing(random);
    World.DrawCursor();
    // Each axis on its own: one may step out while the other is pulled back.
    const bool outsideX = World.CursorX < -640 || World.CursorX > 640;
    const bool outsideY = World.CursorY < -512 || World.CursorY > 512;
    ASSERT_FALSE(outsideX && outsideXBefore) << "frame " << frame;
    ASSERT_FALSE(outsideY && outsideYBefore) << "frame " << frame;
    outsideXBefore = outsideX;
    outsideYBefore = outsideY;
  }
}

TEST_F(TitleTest, MouseMotionReachesTheCursorThroughTheMoveMessage) {
  Mouse.MouseState.DeltaX = 12;
  Mouse.MouseState.DeltaY = -7;
  World.OnMouseMove(MakePointParam(300, 200));
  EXPECT_EQ(WindowCursorX, 300.0f);
  EXPECT_EQ(WindowCursorY, 200.0f);
  EXPECT_EQ(MouseX, 300.0f - Width / 2.0f);
  EXPECT_EQ(MouseY, Height / 2.0f - 200.0f);
  World.DrawCursor();
  EXPECT_EQ(World.CursorX, 12.0f);
  EXPECT_EQ(World.CursorY, -7.0f);
  Mouse.MouseState = MouseSnapshot{};
}

}  // namespace
}  // namespace menu_screens

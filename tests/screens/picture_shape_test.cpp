// The title menu on a 16:9 window in either picture shape: the cursor is seen over the item it lights and clicks.
#include "menu_screens_fixture.h"
#include "persist/settings_record.h"
#include "platform/render/render_device.h"
#include "world/game_world.h"
#include "world/match_values.h"

namespace menu_screens {
namespace {

struct Box {
  int Left = 1 << 30, Top = 1 << 30, Right = -1, Bottom = -1;
  void Add(int x, int y) {
    Left = std::min(Left, x);
    Right = std::max(Right, x);
    Top = std::min(Top, y);
    Bottom = std::max(Bottom, y);
  }
  bool Holds(int x, int y) const { return x >= Left && x <= Right && y >= Top && y <= Bottom; }
};

class PictureShapeMenu : public MenuScreenTest, public testing::WithParamInterface<bool> {
 protected:
  void TearDown() override {
    SetPresentKeepsShape(true);
    MenuScreenTest::TearDown();
  }
};

TEST_P(PictureShapeMenu, TheCursorIsSeenOverTheItemItLightsAndClicks) {
  SetPresentKeepsShape(GetParam());
  World.MenuShown = 1;
  World.StateFrameCount = 100;
  World.CursorX = World.CursorY = 0;
  ASSERT_TRUE(World.DrawTitle());
  // The player moves the mouse down and left towards "クレジット" (item 4) in relative motion.
  int lit = -1;
  for (int step = 0; step < 80 && lit != 4; ++step) {
    MouseDeltaX = -2;
    MouseDeltaY = 6;
    ASSERT_TRUE(World.DrawTitle());
    World.UpdateMenuHover();
    lit = -1;
    for (int k = 0; k < MenuItemCount; ++k)
      if (World.MenuPos[k].Active) lit = k;
  }
  ASSERT_EQ(lit, 4);
  // On into the item, as a player's hand goes on past its edge.
  for (int step = 0; step < 10; ++step) {
    MouseDeltaX = -2;
    MouseDeltaY = 6;
    ASSERT_TRUE(World.DrawTitle());
    World.UpdateMenuHover();
  }
  ASSERT_EQ(World.MenuPos[4].Active, 1);
  ASSERT_TRUE(World.DrawTitle());  // the lit picture
  std::vector<std::uint32_t> window;
  ASSERT_TRUE(World.Device->ComposeWindowPicture(1280, 720, window));
  const std::uint32_t cursorColour = SlotColour(TexCursor1 + static_cast<int>(Settings.CursorStyle) - 1) & 0xFFFFFF;
  const std::uint32_t litColour = SlotColour(TexMenu5b) & 0xFFFFFF;
  Box cursor, item;
  for (int y = 0; y < 720; ++y) {
    for (int x = 0; x < 1280; ++x) {
      const std::uint32_t c = window[static_cast<std::size_t>(y) * 1280 + x];
      if (Near(c, cursorColour, 2)) cursor.Add(x, y);
      if (Near(c, litColour, 2)) item.Add(x, y);
    }
  }
  ASSERT_GE(cursor.Right, 0);
  ASSERT_GE(item.Right, 0);
  // Where the player sees the cursor, the lit item is under it.
  EXPECT_TRUE(item.Holds((cursor.Left + cursor.Right) / 2, (cursor.Top + cursor.Bottom) / 2))
      << "cursor " << cursor.Left << "," << cursor.Top << ".." << cursor.Right << "," << cursor.Bottom << " item " << item.Left << "," << item.Top << ".."
      << item.Right << "," << item.Bottom;
  World.OnMenuClick();
  EXPECT_EQ(World.GameState, StateCredits);
}

INSTANTIATE_TEST_SUITE_P(Shapes, PictureShapeMenu, testing::Values(true, false),
                         [](const testing::TestParamInfo<bool>& info) { return info.param ? "keep" : "stretch"; });
}  // namespace
}  // namespace menu_screens

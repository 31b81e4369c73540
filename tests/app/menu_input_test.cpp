// The mouse buttons outside a match, the title menu's choice and the redraw behind dialogs.
#include "scene_fixture.h"

namespace {

struct ClickCase {
  const char* Name;
  std::int32_t State;
  std::uint32_t Frames;
  std::uint8_t MenuShown;
  std::int32_t Page;
  std::uint32_t Button;
  // What the click leaves behind.
  std::int32_t WantState;
  std::uint32_t WantFrames;
  std::uint8_t WantTransition;
  std::uint8_t WantMenuShown;
  std::int32_t WantPage;
};

const ClickCase ClickCases[] = {
    {"title intro ignores early clicks", StateTitle, 20, 0, 0, WM_LBUTTONDOWN, StateTitle, 20, 0, 0, 0},
    {"title intro skipped after 20 frames", StateTitle, 21, 0, 0, WM_LBUTTONDOWN, StateTitle, 0, 0, 1, 0},
    {"right click on the title intro", StateTitle, 50, 0, 0, WM_RBUTTONDOWN, StateTitle, 50, 0, 0, 0},
    {"right click on the shown menu", StateTitle, 50, 1, 0, WM_RBUTTONDOWN, StateTitle, 50, 0, 1, 0},
    {"ranking waits 10 frames", StateRanking, 10, 1, 0, WM_LBUTTONDOWN, StateRanking, 10, 0, 1, 0},
    {"ranking back to the title", StateRanking, 11, 1, 0, WM_LBUTTONDOWN, StateTitle, 0, 1, 0, 0},
    {"credits back to the title", StateCredits, 11, 1, 0, WM_LBUTTONDOWN, StateTitle, 0, 1, 0, 0},
    {"right click on the credits", StateCredits, 50, 1, 0, WM_RBUTTONDOWN, StateCredits, 50, 0, 1, 0},
    {"operation waits 10 frames", StateOperation, 10, 1, 1, WM_LBUTTONDOWN, StateOperation, 10, 0, 1, 1},
    {"operation page 1 to 2", StateOperation, 11, 1, 0, WM_LBUTTONDOWN, StateOperation, 0, 1, 1, 1},
    {"operation page 2 to 3", StateOperation, 11, 1, 1, WM_LBUTTONDOWN, StateOperation, 0, 1, 1, 2},
    {"operation past the last page", StateOperation, 11, 1, 2, WM_LBUTTONDOWN, StateTitle, 0, 1, 0, 0},
    {"operation page 3 back to 2", StateOperation, 11, 1, 2, WM_RBUTTONDOWN, StateOperation, 0, 1, 1, 1},
    {"operation page 2 back to 1", StateOperation, 11, 1, 1, WM_RBUTTONDOWN, StateOperation, 0, 1, 1, 0},
    {"operation before the first page", StateOperation, 11, 1, 0, WM_RBUTTONDOWN, StateTitle, 0, 1, 0, 0},
    {"operation right click waits too", StateOperation, 10, 1, 2, WM_RBUTTONDOWN, StateOperation, 10, 0, 1, 2},
    {"game over waits 20 frames", StateGameOver, 20, 1, 0, WM_LBUTTONDOWN, StateGameOver, 20, 0, 1, 0},
    {"game over back to the title", StateGameOver, 21, 1, 0, WM_LBUTTONDOWN, StateTitle, 0, 1, 0, 0},
};

class ClickRules : public SceneTest, public ::testing::WithParamInterface<ClickCase> {};

TEST_P(ClickRules, LeaveTheSceneAsTheRulesSay) {
  const ClickCase& c = GetParam();
  Enter(c.State, c.Frames);
  World.MenuShown = c.MenuShown;
  World.PageIndex = c.Page;
  Send(c.Button, 1);
  EXPECT_EQ(World.GameState, c.WantState);
  EXPECT_EQ(World.StateFrameCount, c.WantFrames);
  EXPECT_EQ(World.TransitionActive, c.WantTransition);
  EXPECT_EQ(World.MenuShown, c.WantMenuShown);
  EXPECT_EQ(World.PageIndex, c.WantPage);
}

INSTANTIATE_TEST_SUITE_P(Buttons, ClickRules, ::testing::ValuesIn(ClickCases),
                         [](const ::testing::TestParamInfo<ClickCase>& info) {
                           std::string name = info.param.Name;
                           for (char& ch : name)
                             if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           return name;
                         });

TEST_F(SceneTest, SkippingTheIntroFiresTheMenuShot) {
  Enter(StateTitle, 21);
  Send(WM_LBUTTONDOWN, 1);
  EXPECT_EQ(CountSounds(SoundHandgun, SoundEvent::Play), 1);
}

TEST_F(SceneTest, LeavingTheGameOverScreenResetsTheMatchAndReplaysTheIntro) {
  Enter(StateGameOver, 21);
  World.Player.HP = 0;
  World.Player.Active = 0;
  World.LastGameScore = 12;
  World.CursorX = 300;
  Send(WM_LBUTTONDOWN, 1);
  EXPECT_EQ(World.TitleRestart, 1);
  EXPECT_EQ(World.Player.HP, 1000);
  EXPECT_EQ(World.Player.Active, 1);
  EXPECT_EQ(World.LastGameScore, 0);
  EXPECT_EQ(World.CursorX, 0);
}

TEST_F(SceneTest, ClicksCountDuringTheLaterFramesOfATransition) {
  // The credits were entered through a transition that is now on its eleventh frame.
  World.GameState = StateCredits;
  World.StateFrameCount = 11;
  World.TransitionActive = 1;
  Send(WM_LBUTTONDOWN, 1);
  EXPECT_EQ(World.GameState, StateTitle);
  EXPECT_EQ(World.StateFrameCount, 0u);
}

struct MenuChoice {
  int Item;
  std::int32_t State;
};

class MenuChoices : public SceneTest, public ::testing::WithParamInterface<MenuChoice> {};

TEST_P(MenuChoices, StartATransitionAfterTheMenuShot) {
  const MenuChoice c = GetParam();
  Enter(StateTitle, 11);
  World.MenuShown = 1;
  World.PageIndex = 2;
  World.MenuPos[c.Item].Active = 1;
  Send(WM_LBUTTONDOWN, 1);
  EXPECT_EQ(World.GameState, c.State);
  EXPECT_EQ(World.StateFrameCount, 0u);
  EXPECT_EQ(World.TransitionActive, 1);
  EXPECT_EQ(World.MenuPos[c.Item].Active, 0);
  EXPECT_EQ(CountSounds(SoundHandgun, SoundEvent::Play), 1);
  if (c.State == StateOperation) {
    EXPECT_EQ(World.PageIndex, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Items, MenuChoices,
                         ::testing::Values(MenuChoice{0, StatePlay}, MenuChoice{1, StateOperation},
                                           MenuChoice{2, StateRanking}, MenuChoice{3, StateSettings},
                                           MenuChoice{4, StateCredits}, MenuChoice{5, StateQuit}));

TEST_F(SceneTest, MenuClickWaitsTenFramesAndIgnoresTheBareBackground) {
  Enter(StateTitle, 10);
  World.MenuShown = 1;
  World.MenuPos[4].Active = 1;
  Send(WM_LBUTTONDOWN, 1);
  EXPECT_EQ(World.GameState, StateTitle);
  EXPECT_EQ(World.MenuPos[4].Active, 1);
  EXPECT_TRUE(Played.empty());

  // Nothing hovered: only the shot sounds.
  World.MenuPos[4].Active = 0;
  World.StateFrameCount = 11;
  Send(WM_LBUTTONDOWN, 1);
  EXPECT_EQ(World.GameState, StateTitle);
  EXPECT_EQ(World.TransitionActive, 0);
  EXPECT_EQ(World.StateFrameCount, 11u);
  EXPECT_EQ(CountSounds(SoundHandgun, SoundEvent::Play), 1);
}

TEST_F(SceneTest, MenuClickTakesTheLowestHoveredItem) {
  World.MenuPos[2].Active = 1;
  World.MenuPos[4].Active = 1;
  World.OnMenuClick();
  EXPECT_EQ(World.GameState, StateRanking);
  EXPECT_EQ(World.MenuPos[2].Active, 0);
  EXPECT_EQ(World.MenuPos[4].Active, 1);
}

struct RedrawCase {
  const char* Name;
  std::uint8_t SettingsOpen;
  std::uint8_t RankingOpen;
  std::int32_t State;
  bool Counts;
};

class ModalRedraw : public SceneTest, public ::testing::WithParamInterface<RedrawCase> {};

TEST_P(ModalRedraw, EverySeventhMessageRedrawsBehindAnOpenDialog) {
  const RedrawCase& c = GetParam();
  Settings.SettingWindowOpen = c.SettingsOpen;
  RankingDialogOpen = c.RankingOpen;
  World.GameState = c.State;
  std::vector<std::uint32_t> counts;
  for (int i = 0; i < 14; ++i) {
    Send(WM_TIMER);
    counts.push_back(World.ModalRedrawCount);
  }
  Settings.SettingWindowOpen = 0;
  RankingDialogOpen = 0;
  if (c.Counts) {
    const std::vector<std::uint32_t> cycle = {1, 2, 3, 4, 5, 6, 0, 1, 2, 3, 4, 5, 6, 0};
    EXPECT_EQ(counts, cycle);
  } else {
    EXPECT_EQ(counts, std::vector<std::uint32_t>(14, 0));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Dialogs, ModalRedraw,
    ::testing::Values(RedrawCase{"settings", 1, 0, StateSettings, true},
                      RedrawCase{"ranking_entry", 0, 1, StateGameOver, true},
                      RedrawCase{"ranking_flag_elsewhere", 0, 1, StateTitle, false},
                      RedrawCase{"no_dialog", 0, 0, StateGameOver, false}),
    [](const ::testing::TestParamInfo<RedrawCase>& info) { return std::string(info.param.Name); });

}  // namespace

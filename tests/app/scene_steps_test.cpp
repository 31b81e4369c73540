// RenderStep and UpdateStep: transitions, entering and ending a match, the cursor recentring.
#include "app/frame_timer.h"
#include "app/scene_steps.h"
#include "dialogs/settings_pages.h"
#include "dialogs/settings_templates.h"
#include "scene_fixture.h"
#include "support/dialog_script.h"

namespace {

void StartTransitionTo(std::int32_t state, std::uint32_t from = 0) {
  World.GameState = state;
  World.StateFrameCount = from;
  World.TransitionActive = 1;
}

// Renders until the transition is over; the number of frames it took.
int RunTransition() {
  int frames = 0;
  while (World.TransitionActive && frames < 100) {
    RenderStep();
    ++frames;
  }
  return frames;
}

TEST_F(SceneTest, TransitionShowsTwentyOneFramesWithTheNoiseLoopingThenEntersTheState) {
  StartTransitionTo(StateCredits);
  EXPECT_EQ(RunTransition(), 21);
  EXPECT_EQ(World.StateFrameCount, 0u);
  // Renewed on each counting frame, stopped on the closing one.
  ASSERT_EQ(Played.size(), 21u);
  for (int i = 0; i < 20; ++i) {
    EXPECT_EQ(Played[i].Action, SoundEvent::Play);
    EXPECT_EQ(Played[i].Group, SoundPage);
    EXPECT_TRUE(Played[i].Looping);
  }
  EXPECT_EQ(Played[20].Action, SoundEvent::Stop);
  RenderStep();  // the credits' own first frame
  EXPECT_EQ(World.StateFrameCount, 1u);
}

TEST_F(SceneTest, TransitionAfterTheSettingsWindowIsOneFrameShorter) {
  StartTransitionTo(StateTitle, 1);
  EXPECT_EQ(RunTransition(), 20);
}

TEST_F(SceneTest, QuitItemClosesTheProgramOnlyAfterTheWholeTransition) {
  StartFrameTimer();
  StartTransitionTo(StateQuit);
  for (int i = 0; i < 21; ++i) {
    RenderStep();
    ASSERT_FALSE(Drain()) << "closed during transition frame " << i + 1;
  }
  RenderStep();
  EXPECT_EQ(GameFrameTimer.TimerId, 0u);
  EXPECT_TRUE(Drain());
}

TEST_F(SceneTest, EnteringFrameOfAMatchResetsItStartsTheFadeAndCentresTheCursor) {
  World.Player.HP = 3;
  World.Player.Active = 0;
  World.CursorX = 200;
  World.LastGameScore = 9;
  StartTransitionTo(StatePlay);
  RunTransition();
  Queued();  // whatever the transition left
  RenderStep();
  EXPECT_EQ(World.GameState, StatePlay);
  EXPECT_EQ(World.StateFrameCount, 1u);
  EXPECT_EQ(World.Player.HP, 1000);
  EXPECT_EQ(World.Player.Active, 1);
  EXPECT_EQ(World.LastGameScore, 0);
  EXPECT_EQ(World.FlashKind, FlashFadeIn);
  EXPECT_EQ(World.FlashLevel, 255.0f);
  EXPECT_EQ(World.FlashActive, 1);
  const std::vector<Message> queued = Queued();
  ASSERT_EQ(queued.size(), 1u);
  EXPECT_EQ(queued[0].Id, static_cast<std::uint32_t>(WM_MOUSEMOVE));
  EXPECT_EQ(PointParamX(queued[0].LParam), ScreenPixelWidth() / 2);
  EXPECT_EQ(PointParamY(queued[0].LParam), ScreenPixelHeight() / 2);
}

TEST_F(SceneTest, FirstTenFramesOfAMatchRunNoMatchLogicAndLeaveTheMouseAlone) {
  Enter(StatePlay, 10);
  World.Player.Active = 1;
  World.KeyTurnRightHeld = 1;
  World.ViewYaw = 0;
  Settings.MouseSensitivity = 50;
  Queued();
  UpdateStep();
  EXPECT_EQ(World.ViewYaw, 0.0f);
  EXPECT_TRUE(Queued().empty());  // no poll, so no recentring either
  World.StateFrameCount = 11;
  UpdateStep();
  EXPECT_GT(World.ViewYaw, 0.0f);
  const std::vector<Message> queued = Queued();
  ASSERT_EQ(queued.size(), 1u);
  EXPECT_EQ(queued[0].Id, static_cast<std::uint32_t>(WM_MOUSEMOVE));
  World.KeyTurnRightHeld = 0;
}

TEST_F(SceneTest, GameOverOpensTheEntryForAStrictlyHigherScoreOutsideDebugModeWithTheCursorShown) {
  const struct {
    const char* Name;
    int Score;
    int Debug;
    bool Opens;
  } cases[] = {{"higher", 11, 0, true}, {"equal", 10, 0, false}, {"debug", 11, 1, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    World.ResetRanking();
    World.RankingScores[1][4] = 10;
    World.LastGameScore = c.Score;
    Settings.DebugMode = c.Debug;
    Enter(StateGameOver, 0);
    const int cursorBefore = ShowCursor(true) - 1;
    ShowCursor(false);
    int openFlag = -1, cursorInside = 0;
    DialogScript script(MainWindow);
    if (c.Opens)
      script.Then([&](HWND d) {
        openFlag = RankingDialogOpen;
        cursorInside = ShowCursor(true) - 1;
        ShowCursor(false);
        PostMessage(d, WM_CLOSE, 0, 0);
      });
    RenderStep();
    EXPECT_EQ(World.StateFrameCount, 1u);
    EXPECT_EQ(script.StepsRun(), c.Opens ? 1u : 0u);
    if (c.Opens) {
      EXPECT_EQ(openFlag, 1);
      EXPECT_EQ(cursorInside, cursorBefore + 1);
      EXPECT_EQ(World.LastGameScore, 0);  // the entry ended as every entry does
    }
    EXPECT_EQ(RankingDialogOpen, 0);
    EXPECT_EQ(ShowCursor(true) - 1, cursorBefore);
    ShowCursor(false);
    RenderStep();  // later frames never open it
    EXPECT_EQ(script.StepsRun(), c.Opens ? 1u : 0u);
  }
  Settings.DebugMode = 0;
}

TEST_F(SceneTest, MatchEndsOnlyAfterTheDeathFlashHasFaded) {
  Settings.Difficulty = 2;
  Enter(StatePlay, 40);
  World.Player.HP = 0.5f;
  World.Player.Active = 1;
  World.ScopeOn = 1;
  RenderStep();
  EXPECT_EQ(World.Player.HP, 0.0f);
  EXPECT_EQ(World.Player.Active, 0);
  EXPECT_EQ(World.ScopeOn, 0);
  EXPECT_EQ(World.FlashKind, FlashDeath);
  EXPECT_EQ(World.FlashLevel, 255.0f);
  EXPECT_EQ(World.GameState, StatePlay);

  World.FlashLevel = 100;  // still fading
  RenderStep();
  EXPECT_EQ(World.GameState, StatePlay);

  const int active[] = {0, 7, 19};
  for (int slot : active) World.Enemies[slot].Active = 1;
  World.LastGameScore = 17;
  World.FlashLevel = 0.5f;
  Played.clear();
  RenderStep();
  EXPECT_EQ(World.GameState, StateGameOver);
  EXPECT_EQ(World.TransitionActive, 1);
  EXPECT_EQ(World.StateFrameCount, 0u);
  // Each running enemy gun is stopped, and no other.
  std::vector<int> stopped;
  for (const SoundEvent& e : Played)
    if (e.Group == SoundEnemyGun && e.Action == SoundEvent::Stop) stopped.push_back(e.Copy);
  EXPECT_EQ(stopped, std::vector<int>(std::begin(active), std::end(active)));
  for (const WorldObject& e : World.Enemies) EXPECT_EQ(e.Active, 0);
  // The score was offered to the ranking of the current difficulty and saved.
  EXPECT_TRUE(std::filesystem::exists("Ranking.dat"));
  World.RankingScores[2][5] = 0;
  World.LoadRanking();
  EXPECT_EQ(World.RankingScores[2][5], 17);
}

TEST_F(SceneTest, ScoreIsSavedBeforeAFailedSwitchBackToTheWindowQuits) {
  Settings.WindowMode = 0;  // with no device here, the switch back fails
  Enter(StatePlay, 40);
  World.Player.HP = 0;
  World.Player.Active = 0;
  World.FlashLevel = 1.0f;
  World.LastGameScore = 23;
  RenderStep();
  EXPECT_EQ(World.GameState, StateQuit);
  ASSERT_FALSE(CapturedMessageBoxes().empty());
  EXPECT_EQ(CapturedMessageBoxes().back().Caption, "WindowMode");
  World.RankingScores[1][5] = 0;
  World.LoadRanking();
  EXPECT_EQ(World.RankingScores[1][5], 23);
}

// The settings state's entering frame runs the window with the system cursor shown. Closed
// without a new size, the cursor is hidden again and the title follows; a new size the display
// refuses is reported as the match's refusal is, and the program ends.
TEST_F(SceneTest, SettingsEntryRunsTheWindowAndReportsARefusedDisplaySwitch) {
  Settings = SettingsRecord{};
  ASSERT_EQ(Settings.LoadSettings(), 0);
  Settings.WindowMode = 1;
  Settings.DisplayWidth = Settings.ScreenWidth;
  Settings.DisplayHeight = Settings.ScreenHeight;
  const struct {
    const char* Name;
    bool NewSize;
    std::int32_t After;
  } cases[] = {{"cancelled", false, StateTitle}, {"new size refused", true, StateQuit}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Enter(StateSettings, 0);
    const int cursorBefore = ShowCursor(true) - 1;
    ShowCursor(false);
    int cursorInside = -100;
    DialogScript script(MainWindow);
    script.Then([&](HWND d) {
      cursorInside = ShowCursor(true) - 1;
      ShowCursor(false);
      if (!c.NewSize) {
        PostMessage(d, WM_COMMAND, IDCANCEL, 0);
        return;
      }
      SetListSelection(SettingsWindow.Pages[PageGraphics], 1023, 4);
      QueueMessageBoxAnswer(IDYES);
      SendMessage(d, WM_COMMAND, IdSave, 0);
    });
    RenderStep();
    EXPECT_EQ(script.StepsRun(), 1u);
    EXPECT_EQ(cursorInside, cursorBefore + 1);
    if (!c.NewSize) {
      EXPECT_EQ(ShowCursor(true) - 1, cursorBefore);
      ShowCursor(false);
    }
    EXPECT_EQ(World.GameState, c.After);
    EXPECT_EQ(World.StateFrameCount, 1u);
    const auto& boxes = CapturedMessageBoxes();
    const bool reported = !boxes.empty() && boxes.back().Caption == "WindowMode" &&
                          boxes.back().Text == "画面の変更が出来ません\nサポートされていない設定かもしれません。";
    EXPECT_EQ(reported, c.NewSize);
  }
}

struct RecentreCase {
  const char* Name;
  int X, Y;  // window-cursor position, pixels from the right and bottom edges when negative
  bool Recentred;
};

class CursorRecentring : public SceneTest, public ::testing::WithParamInterface<RecentreCase> {};

TEST_P(CursorRecentring, KeepsTheWindowCursorAHundredPixelsInside) {
  const RecentreCase& c = GetParam();
  const int width = ScreenPixelWidth(), height = ScreenPixelHeight();
  WindowCursorX = static_cast<float>(c.X < 0 ? width + c.X : c.X);
  WindowCursorY = static_cast<float>(c.Y < 0 ? height + c.Y : c.Y);
  Enter(StateCredits, 30);
  Queued();
  UpdateStep();
  const std::vector<Message> queued = Queued();
  const bool centred = queued.size() == 1 && queued[0].Id == WM_MOUSEMOVE &&
                       PointParamX(queued[0].LParam) == width / 2 &&
                       PointParamY(queued[0].LParam) == height / 2;
  EXPECT_EQ(centred, c.Recentred);
  if (!c.Recentred) {
    EXPECT_TRUE(queued.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(Edges, CursorRecentring,
                         ::testing::Values(RecentreCase{"inside", 101, 101, false},
                                           RecentreCase{"left_edge", 100, 400, true},
                                           RecentreCase{"top_edge", 400, 100, true},
                                           RecentreCase{"right_inside", -101, 400, false},
                                           RecentreCase{"right_edge", -100, 400, true},
                                           RecentreCase{"bottom_edge", 400, -100, true},
                                           RecentreCase{"never_moved", 0, 0, true}),
                         [](const ::testing::TestParamInfo<RecentreCase>& info) {
                           return std::string(info.param.Name);
                         });

TEST_F(SceneTest, NoRecentringWhileTheRankingEntryIsOpenOrTheWindowInactive) {
  WindowCursorX = WindowCursorY = 0;
  Enter(StateGameOver, 30);
  Queued();
  RankingDialogOpen = 1;
  UpdateStep();
  EXPECT_TRUE(Queued().empty());
  RankingDialogOpen = 0;
  AppActive = 0;
  UpdateStep();
  EXPECT_TRUE(Queued().empty());
}

TEST_F(SceneTest, TitleStepHoversTheMenuOnlyOnceItIsShown) {
  Enter(StateTitle, 300);
  World.MenuPos[1].X = 0;  // item 1 in place: its box spans x -140..189, y 108..272
  World.CursorX = 0;
  World.CursorY = 150;
  World.MenuShown = 0;
  UpdateStep();
  EXPECT_EQ(World.MenuPos[1].Active, 0);
  World.MenuShown = 1;
  UpdateStep();
  EXPECT_EQ(World.MenuPos[1].Active, 1);
}

}  // namespace

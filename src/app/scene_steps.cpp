// UpdateStep and RenderStep by GameState: entering states, the screens, the end of a match.
#include "app/scene_steps.h"

#include "app/app_globals.h"
#include "app/demo_run.h"
#include "app/frame_timer.h"
#include "audio/music_player.h"
#include "audio/sound_engine.h"
#include "dialogs/settings_apply.h"
#include "dialogs/settings_window.h"
#include "input/dxinput.h"
#include "input/pad_input.h"
#include "persist/settings_record.h"
#include "platform/memory_trim.h"
#include "platform/message_box.h"
#include "platform/startup_timing.h"
#include "platform/window.h"
#include "world/game_world.h"
#include "world/match_values.h"

namespace {
constexpr std::uint32_t TransitionFrames = 20;
constexpr std::uint32_t FrozenMatchFrames = 10;
constexpr int CursorMargin = 100;
constexpr int TransitionNoise = 2;  // the looping transition noise
constexpr int CandidateSlot = 5;
constexpr int LowestRankedSlot = 4;

const char* const DisplaySwitchFailedText =
    "画面の変更が出来ません\nサポートされていない設定かもしれません。";

void PutCursorAtScreenCentre() { SetCursorPos(ScreenPixelWidth() / 2, ScreenPixelHeight() / 2); }

void ReportDisplaySwitchFailure() {
  MessageBox(MainWindow, DisplaySwitchFailedText, "WindowMode", MB_OK);
}

// The screens with the software cursor, whose mouse-move messages must keep flowing.
bool MenuCursorState(std::int32_t state) {
  return state == StateTitle || state == StateRanking || state == StateOperation ||
         state == StateGameOver || state == StateCredits;
}

// Well inside every screen edge, where the next real motion still reaches the window.
bool WindowCursorWellInside() {
  return WindowCursorX > CursorMargin && WindowCursorY > CursorMargin &&
         WindowCursorX < ScreenPixelWidth() - CursorMargin &&
         WindowCursorY < ScreenPixelHeight() - CursorMargin;
}

// The entering frame of a match: nothing is drawn.
void EnterMatch(GameWorld& w) {
  Music.StopMusic();
  if (Settings.WindowMode == 0 && !w.ResetDisplay(1)) {
    ReportDisplaySwitchFailure();
    w.GameState = StateQuit;
    return;
  }
  if (!w.ApplyViewSettings()) {
    w.GameState = StateQuit;
    return;
  }
  w.ResetMatch();
  ApplySettings();
  w.FlashLevel = 255.0f;
  w.FlashActive = 1;
  w.FlashKind = FlashFadeIn;
  PutCursorAtScreenCentre();
  // ResetMatch put the state back to the title and its count to 0.
  ++w.StateFrameCount;
  w.GameState = StatePlay;
  DemoMatchEntered();
}

void RenderMatchFrame(GameWorld& w) {
  ++w.StateFrameCount;
  ++w.PlayFrameCount;
  w.RenderPlayFrame();
  // Just died: the death flash runs before the match ends.
  if (CheckPlayerDeath(w)) {
    Pad.RumbleDeath();
    return;
  }
  if (w.Player.HP == 0 && !w.Player.Active && w.FlashLevel <= 1.0f) {
    w.FinishMatch();
    w.PrepareResults();
    DemoMatchFinished();
  }
}

void EnterSettings(GameWorld& w) {
  PutCursorAtScreenCentre();
  ShowCursor(true);
  ++w.StateFrameCount;
  w.TransitionActive = 0;
  w.DrawSettingsBackdrop();
  // Closing the window starts the transition back to the title.
  RunSettingsWindow();
  if (Settings.ApplyDisplayChange) {
    if (!w.ResetDisplay(0)) {
      ReportDisplaySwitchFailure();
      w.GameState = StateQuit;
      return;
    }
    Settings.DisplayWidth = Settings.ScreenWidth;
    Settings.DisplayHeight = Settings.ScreenHeight;
    w.MenuShown = 0;
    w.TitleRestart = 1;
    if (!w.ApplyViewSettings() || !w.InitTitle()) {
      w.GameState = StateQuit;
      return;
    }
  }
  ShowCursor(false);
  ApplySettings();
}

bool ScoreEntersRanking(const GameWorld& w) {
  // A replayed match is the recording player's: no name is asked for.
  return !DemoReplaying() && Settings.DebugMode == 0 &&
         w.RankingScores[Settings.Difficulty][LowestRankedSlot] < w.LastGameScore;
}

void RenderGameOver(GameWorld& w) {
  const bool entering = w.StateFrameCount == 0;
  ++w.StateFrameCount;
  w.DrawGameOver();
  if (!entering || !ScoreEntersRanking(w)) return;
  ShowCursor(true);
  RankingDialogOpen = 1;
  w.OpenRankingEntry();
  RankingDialogOpen = 0;
  ShowCursor(false);
}
}  // namespace

bool CheckPlayerDeath(GameWorld& w) {
  if (!(w.Player.HP < 1.0f && w.Player.Active)) return false;
  w.Player.HP = 0;
  w.Player.Active = 0;
  w.ScopeOn = 0;
  w.SetScope(0);
  w.FlashLevel = 255.0f;
  w.FlashActive = 1;
  w.FlashKind = FlashDeath;
  return true;
}

void UpdateStep() {
  GameWorld& w = World;
  DemoStepBegins();
  switch (w.GameState) {
    case StateTitle:
      if (w.MenuShown) w.UpdateMenuHover();
      Music.KeepTitleMusic();
      Sound.ResetListener();
      break;
    case StatePlay:
      // Under the noise into a match the count already runs past ten, but the match has not
      // begun: its music, a shot or an enemy heard there would start before it.
      if (w.StateFrameCount <= FrozenMatchFrames || w.TransitionActive) break;
      Music.KeepMatchMusic();
      Sound.UpdateListener(w.Player.X, w.Player.Y, w.Player.Z, w.ViewYaw, w.ViewPitch, w.Player.HP);
      if (AppActive) {
        Mouse.PollMouse();
        // A demo holds the match's mouse and messages only: the pad sits out a recorded or
        // replayed match.
        if (Demo.Mode == DemoMode::None) Pad.PollPad();
        PutCursorAtScreenCentre();
      }
      w.UpdateGame();
      break;
    default:
      break;
  }
  if (MenuCursorState(w.GameState) && !RankingDialogOpen && AppActive) {
    Mouse.PollMouse();
    Pad.PollPad();
    if (!WindowCursorWellInside()) PutCursorAtScreenCentre();
  }
  DemoStepEnds();
}

void RenderStep() {
  GameWorld& w = World;
  // During a transition the state is already the next screen's, so its pictures load while
  // the noise shows.
  w.KeepScreenPicturesFor(w.GameState);
  if (w.TransitionActive) {
    if (w.StateFrameCount < TransitionFrames) {
      ++w.StateFrameCount;
      Sound.PlayMenuSound(false, TransitionNoise);  // keeps a playing loop going
    } else {
      w.StateFrameCount = 0;
      Sound.PlayMenuSound(true, TransitionNoise);
      w.TransitionActive = 0;
    }
    w.DrawTransition();
    return;
  }
  switch (w.GameState) {
    case StateTitle:
      ++w.StateFrameCount;
      w.DrawTitle();
      if (static bool noted = false; !noted) {
        noted = true;
        NoteStartupStep("first title frame drawn");
      }
      break;
    case StatePlay:
      if (w.StateFrameCount == 0) {
        EnterMatch(w);
      } else {
        RenderMatchFrame(w);
      }
      break;
    case StateRanking:
      ++w.StateFrameCount;
      w.DrawRanking();
      break;
    case StateOperation:
      ++w.StateFrameCount;
      w.DrawOperation();
      break;
    case StateCredits:
      ++w.StateFrameCount;
      w.DrawCredits();
      break;
    case StateSettings:
      // The settings window leaves the state itself, so only the entering frame does anything.
      if (w.StateFrameCount == 0) EnterSettings(w);
      break;
    case StateGameOver:
      RenderGameOver(w);
      break;
    case StateQuit:
      StopFrameTimer();
      PostMessage(MainWindow, WM_CLOSE, 0, 0);
      break;
    default:
      break;
  }
}

void GameWorld::FinishMatch() {
  for (int i = 0; i < EnemySlots; ++i) {
    WorldObject& e = Enemies[i];
    if (!e.Active) continue;
    Sound.PlayEnemySound(i, EnemyStopFiring, e.X, e.Y, e.Z);
    e.Active = 0;
  }
  Sound.StopHeartbeat();
  Music.StopMusic();
  StateFrameCount = 0;
  TransitionActive = 1;
  Player.X = Player.Y = Player.Z = 0;
  Sound.ResetListener();
  // Saved before the switch back to the window: a failed switch quits, and the score of
  // the match must not go with it.
  RankingScores[Settings.Difficulty][CandidateSlot] = LastGameScore;
  SaveRanking();
  LoadRanking();
  if (Settings.WindowMode == 0) {
    // The match ran full screen: back to the window.
    if (!ResetDisplay(0)) {
      ReportDisplaySwitchFailure();
      GameState = StateQuit;
      return;
    }
    if (!ApplyViewSettings() || !InitTitle()) {
      GameState = StateQuit;
      return;
    }
  }
  SetFog(false);
  GameState = StateGameOver;
  // What the match and its music freed goes back to the system between matches, so a long
  // session does not grow.
  ReleaseFreedMemory();
}

// UpdateStep and RenderStep: dispatch on GameState.
#include "app/scene_steps.h"

#include "app/app_globals.h"
#include "app/frame_timer.h"
#include "audio/music_player.h"
#include "audio/sound_engine.h"
#include "input/dxinput.h"
#include "platform/window.h"
#include "world/game_world.h"

namespace {
constexpr std::uint32_t TransitionFrames = 20;

void PutCursorAtScreenCentre() { SetCursorPos(ScreenPixelWidth() / 2, ScreenPixelHeight() / 2); }

// A frame holding only the cleared back buffer.
void DrawEmptyFrame() {
  if (World.BeginFrame(0xFF000000u)) World.EndFrame();
}
}  // namespace

void UpdateStep() {
  switch (World.GameState) {
    case StateTitle:
      Music.KeepTitleMusic();
      Sound.ResetListener();
      break;
    case StatePlay:
      // The first ten frames of a match are frozen.
      if (World.StateFrameCount <= 10) break;
      Music.KeepMatchMusic();
      Sound.UpdateListener(World.Player.X, World.Player.Y, World.Player.Z, World.ViewYaw,
                           World.ViewPitch, World.Player.HP);
      if (AppActive) {
        Mouse.PollMouse();
        PutCursorAtScreenCentre();
      }
      World.UpdateGame();
      break;
    default:
      break;
  }
}

void RenderStep() {
  if (World.TransitionActive) {
    if (World.StateFrameCount < TransitionFrames) {
      ++World.StateFrameCount;
      Sound.PlayMenuSound(false, 2);
    } else {
      World.StateFrameCount = 0;
      Sound.PlayMenuSound(true, 2);
      World.TransitionActive = 0;
    }
    DrawEmptyFrame();
    return;
  }
  switch (World.GameState) {
    case StateTitle:
      ++World.StateFrameCount;
      DrawEmptyFrame();
      break;
    case StateQuit:
      StopFrameTimer();
      PostMessage(MainWindow, WM_CLOSE, 0, 0);
      break;
    default:
      ++World.StateFrameCount;
      DrawEmptyFrame();
      break;
  }
}

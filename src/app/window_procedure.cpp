// MainWndProc: keys, mouse, activation, the redraw behind dialogs; OnMenuClick for the title.
#include "app/window_procedure.h"

#include "app/app_globals.h"
#include "app/demo_run.h"
#include "app/screenshot_key.h"
#include "audio/sound_engine.h"
#include "dialogs/settings_apply.h"
#include "persist/settings_record.h"
#include "world/game_world.h"

namespace {
constexpr int MenuShot = 1;
constexpr std::uint32_t MenuClickDelay = 10;   // frames before a screen takes a click
constexpr std::uint32_t SkipIntroDelay = 20;   // frames before a click skips the slide-in
constexpr std::uint32_t GameOverClickDelay = 20;
constexpr std::uint32_t ModalRedrawInterval = 5;
constexpr int LastPage = 2;

void StartTransition(GameWorld& w, std::int32_t state) {
  w.StateFrameCount = 0;
  w.TransitionActive = 1;
  w.GameState = state;
}

// While a modal dialog blocks the main loop, every seventh message redraws the screen behind it.
void RedrawBehindModalDialog(GameWorld& w) {
  const bool rankingEntryOpen = RankingDialogOpen && w.GameState == StateGameOver;
  if (Settings.SettingWindowOpen && w.ModalRedrawCount > ModalRedrawInterval) {
    w.DrawSettingsBackdrop();
    w.ModalRedrawCount = 0;
  } else if (rankingEntryOpen && w.ModalRedrawCount > ModalRedrawInterval) {
    w.DrawGameOver();
    w.ModalRedrawCount = 0;
  } else if (Settings.SettingWindowOpen || rankingEntryOpen) {
    ++w.ModalRedrawCount;
  }
}

// Left button outside a live match: menu choices, skipping the intro, leaving screens.
void MenuLeftButtonDown(GameWorld& w) {
  const std::uint32_t frames = w.StateFrameCount;
  switch (w.GameState) {
    case StateTitle:
      if (w.MenuShown && frames > MenuClickDelay) {
        w.OnMenuClick();
      } else if (!w.MenuShown && frames > SkipIntroDelay) {
        w.StateFrameCount = 0;
        Sound.PlayMenuSound(false, MenuShot);
        w.MenuShown = 1;
      }
      break;
    case StateRanking:
    case StateCredits:
      if (frames > MenuClickDelay) {
        StartTransition(w, StateTitle);
        w.MenuShown = 0;
      }
      break;
    case StateOperation:
      if (frames > MenuClickDelay) {
        w.StateFrameCount = 0;
        w.TransitionActive = 1;
        if (w.PageIndex < LastPage) {
          ++w.PageIndex;
          w.RenderPageLabel();
        } else {
          w.PageIndex = 0;
          w.RenderPageLabel();
          w.GameState = StateTitle;
          w.MenuShown = 0;
        }
      }
      break;
    case StateGameOver:
      if (frames > GameOverClickDelay) {
        w.StateFrameCount = 0;
        w.ResetMatch();
        ApplySettings();
        StartTransition(w, StateTitle);
        w.MenuShown = 0;
        w.TitleRestart = 1;
      }
      break;
    default:
      break;
  }
}

void MenuRightButtonDown(GameWorld& w) {
  if (w.GameState != StateOperation || w.StateFrameCount <= MenuClickDelay) return;
  w.StateFrameCount = 0;
  w.TransitionActive = 1;
  if (w.PageIndex == 0) {
    w.GameState = StateTitle;
    w.MenuShown = 0;
  } else {
    --w.PageIndex;
    w.RenderPageLabel();
  }
}
}  // namespace

void GameWorld::OnMenuClick() {
  Sound.PlayMenuSound(false, MenuShot);
  for (int k = 0; k < MenuItemCount; ++k) {
    if (!MenuPos[k].Active) continue;
    MenuPos[k].Active = 0;
    switch (k) {
      case 0:
        StartTransition(*this, StatePlay);
        break;
      case 1:
        PageIndex = 0;
        RenderPageLabel();
        StartTransition(*this, StateOperation);
        break;
      case 2:
        StartTransition(*this, StateRanking);
        PrepareRanking();
        break;
      case 3:
        StartTransition(*this, StateSettings);
        break;
      case 4:
        StartTransition(*this, StateCredits);
        break;
      default:
        StartTransition(*this, StateQuit);
        break;
    }
    return;
  }
}

LRESULT MainWndProc(HWND window, std::uint32_t message, WPARAM wParam, LPARAM lParam) {
  GameWorld& w = World;
  if (DemoTakesMessage(message, wParam, lParam)) return 0;
  RedrawBehindModalDialog(w);
  switch (message) {
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_ACTIVATE:
      // Only the low word says whether the window is active; the minimised flag is ignored.
      AppActive = (wParam & 0xFFFF) == WA_INACTIVE ? 0 : 1;
      return 0;
    case WM_KEYDOWN:
      w.OnKeyDown(static_cast<std::uint32_t>(wParam));
      // A held key repeats: one picture per press.
      if ((lParam & (LPARAM{1} << 30)) == 0) OnScreenshotKey(static_cast<std::uint32_t>(wParam));
      return 0;
    case WM_KEYUP:
      w.OnKeyUp(static_cast<std::uint32_t>(wParam));
      return 0;
    case WM_MOUSEMOVE:
      w.OnMouseMove(lParam);
      return 0;
    case WM_LBUTTONDOWN:
      if (!w.OnPlayLeftButtonDown()) MenuLeftButtonDown(w);
      return 0;
    case WM_LBUTTONUP:
      w.OnPlayLeftButtonUp();
      return 0;
    case WM_RBUTTONDOWN:
      // A right click on the title with the menu shown does nothing.
      if (w.GameState == StateTitle && w.MenuShown) return 0;
      if (!w.OnPlayRightButtonDown()) MenuRightButtonDown(w);
      return 0;
    default:
      return DefWindowProc(window, message, wParam, lParam);
  }
}

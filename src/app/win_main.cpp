// WinMain: loads the settings and ranking, opens the window, brings up every subsystem, runs.
#include "app/win_main.h"

#include <cstdio>

#include "app/app_globals.h"
#include "app/demo_run.h"
#include "app/frame_timer.h"
#include "app/main_loop.h"
#include "app/scene_steps.h"
#include "app/window_procedure.h"
#include "audio/audio_preparation.h"
#include "audio/music_player.h"
#include "audio/sound_engine.h"
#include "dialogs/settings_apply.h"
#include "graphics/mesh_models.h"
#include "graphics/text_renderer.h"
#include "graphics/texture_catalogue.h"
#include "input/dxinput.h"
#include "input/pad_input.h"
#include "persist/port_options.h"
#include "persist/settings_record.h"
#include "platform/instance_lock.h"
#include "platform/memory_trim.h"
#include "platform/message_box.h"
#include "platform/startup_timing.h"
#include "platform/window.h"
#include "world/game_world.h"

namespace {
void ShowProgress(const char* format) {
  NoteStartupStep(format);
  Text.ShowLoadingLine(format, static_cast<int>(World.LoadPercent));
}

// Every subsystem in its fixed order under the loading line; any failure ends start-up
// (the failing step has shown its own message where it has one).
bool StartSubsystems() {
  if (!World.InitDirect3D()) return false;
  Text.CreateBaseFont();
  Text.SetFontHeight(19);

  ShowProgress("Now Loadind... %d％　テクスチャのロード中");
  if (!World.LoadTextures()) return false;

  ShowProgress("Now Loadind... %d％　Xファイルのロード中");
  if (!Models.LoadModels()) return false;

  World.LoadPercent += 3;
  ShowProgress("Now Loadind... %d％　DirectInputの初期化");
  if (!Mouse.InitMouse()) return false;
  if (!Pad.StartPads()) return false;

  ShowProgress("Now Loadind... %d％　サウンドのロード中");
  if (!Sound.InitSound()) return false;

  ShowProgress("Now Loadind... %d％　ミュージックをロード中");
  if (!Music.InitMusic()) return false;

  World.LoadPercent += 2;
  ShowProgress("Now Loadind... %d％　基本設定の初期化");
  if (!World.ApplyViewSettings()) return false;

  ShowProgress("Now Loadind... %d％　タイトルの初期化");
  if (!World.InitTitle()) return false;

  World.ApplyRenderStates();
  World.SetupCamera(45.0f);
  World.ResetMatch();
  ApplySettings();
  return true;
}

// Ends start-up's helpers, joining their threads, however start-up ends.
struct StartupHelpers {
  ~StartupHelpers() {
    EndTexturePreparation();
    EndAudioPreparation();
  }
};

bool OpenWindowAndStart() {
  // The pictures and sounds are read while the window and device come up.
  BeginTexturePreparation(Settings.MipLevelCount);
  BeginAudioPreparation();
  const StartupHelpers helpers;

  if (!RegisterWindowClass(MainWindowClass, MainWndProc)) return false;
  MainWindow = CreateMainWindow(MainWindowClass, MainWindowTitle);
  if (!MainWindow) {
    // The device step below reports the failure to the player; say why here too.
    std::fprintf(stderr, "korvid: the window could not be opened (no display?)\n");
  }

  NoteStartupStep("window open");
  return StartSubsystems();
}
}  // namespace

int WinMain() {
  // The port's options shape the picture from the loading line on, and choose the language
  // of every message, the repair questions first.
  Options.Load();
  Options.Apply();
  // A damaged Setting.dat is repaired one section per pass; 2 means the player declined.
  int settingsResult;
  while ((settingsResult = Settings.LoadSettings()) == 1) {
  }
  if (settingsResult == 2) return 0;
  ApplyDemoSettings();

  World.LoadRanking();
  Settings.DisplayWidth = Settings.ScreenWidth;
  Settings.DisplayHeight = Settings.ScreenHeight;

  if (!AcquireInstanceLock(InstanceName)) {
    MessageBox(nullptr, DoubleStartText, "エラー", MB_OK);
    return 0;
  }

  if (!OpenWindowAndStart()) return 0;
  ReleaseFreedMemory();
  NoteStartupStep("loaded");

  StartFrameTimer();
  // A replay starts its match at once.
  World.GameState = DemoReplaying() ? StatePlay : StateTitle;
  ShowCursor(false);
  return RunMainLoop(MainLoopSteps{UpdateStep, RenderStep});
}

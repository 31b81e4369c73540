// Scene test set-up: the main window without a device, sounds recorded, a scratch folder.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "app/app_globals.h"
#include "app/window_procedure.h"
#include "audio/sound_engine.h"
#include "persist/settings_record.h"
#include "platform/message_box.h"
#include "platform/window.h"
#include "world/game_world.h"
#include "world/match_values.h"

class SceneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Previous = std::filesystem::current_path();
    char pattern[] = "/tmp/korvid_scene_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    Scratch = pattern;
    std::filesystem::current_path(Scratch);
    ResetWindowSystem();
    ASSERT_TRUE(RegisterWindowClass("Main Window", MainWndProc));
    MainWindow = CreateMainWindow("Main Window", "Korvid");
    ASSERT_NE(MainWindow, nullptr);
    Drain();
    AppActive = 1;
    RankingDialogOpen = 0;
    Settings.WindowMode = 1;  // no display switch: these tests have no device
    Settings.SettingWindowOpen = 0;
    Settings.DebugMode = 0;
    Settings.Difficulty = 1;
    Settings.EffectsOn = 1;
    Settings.SoundDistanceScale = Settings.SoundDistanceQuarter = 1;
    World.ResetMatch();
    World.ModalRedrawCount = 0;
    for (WorldObject& item : World.MenuPos) item.Active = 0;
    Sound.PlayLog = &Played;
    BeginMessageBoxCapture();
  }
  void TearDown() override {
    EndMessageBoxCapture();
    Sound.PlayLog = nullptr;
    MainWindow = nullptr;
    ResetWindowSystem();
    World.ResetMatch();
    std::filesystem::current_path(Previous);
    std::filesystem::remove_all(Scratch);
  }

  // Dispatches what is queued; true when WM_QUIT arrived.
  static bool Drain() {
    Message m;
    while (PeekMessage(m)) {
      if (m.Id == WM_QUIT) return true;
      DispatchMessage(m);
    }
    return false;
  }
  // The messages queued so far, taken off the queue without dispatching them.
  static std::vector<Message> Queued() {
    std::vector<Message> all;
    Message m;
    while (PeekMessage(m)) all.push_back(m);
    return all;
  }
  static void Send(std::uint32_t message, WPARAM wParam = 0) {
    MainWndProc(MainWindow, message, wParam, 0);
  }
  // Puts the scene in a state as a finished transition leaves it.
  static void Enter(std::int32_t state, std::uint32_t frames) {
    World.GameState = state;
    World.StateFrameCount = frames;
    World.TransitionActive = 0;
  }
  int CountSounds(SoundGroupId group, SoundEvent::Kind action) const {
    int n = 0;
    for (const SoundEvent& e : Played) n += e.Group == group && e.Action == action;
    return n;
  }

  std::vector<SoundEvent> Played;
  std::filesystem::path Previous;
  std::filesystem::path Scratch;
};

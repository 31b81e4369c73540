// Shared by the benchmarks: finding the default pack and one offscreen device of a chosen size.
#pragma once

#include <sys/stat.h>

#include <cstdlib>
#include <string>

#include "app/app_globals.h"
#include "graphics/text_renderer.h"
#include "persist/settings_record.h"
#include "platform/render/render_device.h"
#include "world/game_world.h"

// The game folder holding File/: KORVID_GAME_DIR, else the build's own game folder.
inline bool FindPackFolder(std::string& folder) {
  struct stat info;
  const char* const candidates[] = {std::getenv("KORVID_GAME_DIR"), "game", "../game"};
  for (const char* candidate : candidates) {
    if (candidate && stat((std::string(candidate) + "/File/Bitmap/Title.dds").c_str(), &info) == 0) {
      folder = candidate;
      return true;
    }
  }
  return false;
}

// Opens the offscreen device with the base font on the first call; later calls switch the
// back buffer to the asked size.
inline bool OpenBenchDevice(int width, int height) {
  static bool ready = false;
  Settings.ScreenWidth = width;
  Settings.ScreenHeight = height;
  if (!ready) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    if (!RegisterWindowClass("Main Window", DefWindowProc)) return false;
    MainWindow = CreateMainWindow("Main Window", "Korvid");
    Settings.MipLevelCount = 4;
    if (!MainWindow || !World.InitDirect3D()) return false;
    Text.CreateBaseFont();
    Text.SetFontHeight(19);
    ready = true;
    return true;
  }
  if (World.Device->BackBufferWidth() == width && World.Device->BackBufferHeight() == height) return true;
  return World.ResetDisplay(0);
}

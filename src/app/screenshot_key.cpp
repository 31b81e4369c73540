// The screenshot key: checks the option and the key bindings, saves, and says where on the terminal.
#include "app/screenshot_key.h"

#include <cstdio>
#include <string>

#include "persist/port_options.h"
#include "persist/port_texts.h"
#include "persist/settings_record.h"
#include "platform/screenshot.h"
#include "world/game_world.h"

bool OnScreenshotKey(std::uint32_t virtualKey) {
  if (virtualKey != ScreenshotKey && virtualKey != PrintScreenKey) return false;
  if (Options.Screenshots == 0) return false;
  for (std::uint32_t bound : Settings.KeyBindings)
    if (bound == virtualKey) return false;
  std::string path, error;
  // Never a message box: the match goes on whatever happens here.
  if (!SaveScreenshot(World.Device, ScreenshotFolderHere(), path, error)) {
    std::fprintf(stderr, ScreenshotFailedMessage, error.c_str());
    return false;
  }
  std::fprintf(stdout, ScreenshotSavedMessage, path.c_str());
  std::fflush(stdout);
  return true;
}

// Checks a File/ folder through the game's own loaders before anyone starts the game on it.
#pragma once

#include <string>
#include <vector>

// Opens a small window and the render device for a tool that checks files outside the game
// (set SDL_VIDEODRIVER=offscreen where there is no display). False when no device can be made.
bool OpenDeviceForChecks();

// Loads every catalogue picture and every model with its picture from `fileFolder` (the
// folder that holds Bitmap/ and XFile/). Appends one line per file that would stop start-up
// or draw untextured. True when the game would start (model pictures may still be listed).
// Needs the render device (World.Device) to exist.
bool CheckGraphicsAssets(const std::string& fileFolder, std::vector<std::string>& problems);

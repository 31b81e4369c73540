// Screenshots: the back buffer written as a PNG file named for the moment it was taken.
#pragma once

#include <ctime>
#include <string>

struct RenderDevice;

// The folder screenshots go to: `Korvid` inside the pictures folder ($XDG_PICTURES_DIR, or the
// one named in user-dirs.dirs under $XDG_CONFIG_HOME or ~/.config), else `dataFolder` when no
// pictures folder is named or it is the home folder itself. Null arguments are unset variables.
std::string ScreenshotFolder(const char* picturesDir, const char* configHome, const char* home,
                             const std::string& dataFolder);

// korvid-YYYYMMDD-HHMMSS.png; the second and later shots of one second get -2, -3, ...
std::string ScreenshotFileName(const std::tm& localTime, int shotOfSecond);

// Writes the back buffer at its own size into the folder (made if missing), never over an
// existing file. On success `path` names the file; on failure `error` says why.
bool SaveScreenshot(RenderDevice* device, const std::string& folder, std::string& path, std::string& error);

// The folder for this process's environment and working directory.
std::string ScreenshotFolderHere();

// The generator's sub-commands; each lives in its own file and is listed in main.cpp.
#pragma once

namespace assetgen {

// argv[0] is the sub-command's first argument. Each returns the process exit code.
int RunWrite(int argc, char** argv);
int RunContactSheet(int argc, char** argv);
// Loads a File/ folder through the game's own loaders; 0 only when the game would start.
int RunCheck(int argc, char** argv);
// Writes HICOLOR_DIR/<size>x<size>/apps/korvid.png for the usual icon sizes.
int RunIcon(int argc, char** argv);

}  // namespace assetgen

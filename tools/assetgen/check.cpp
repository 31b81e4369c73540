// The check sub-command: would the game start on this File/ folder, and what would be missing.
#include "commands.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "audio/asset_check.h"
#include "graphics/asset_check.h"
#include "platform/message_box.h"

namespace assetgen {

int RunCheck(int argc, char** argv)
{
    if (argc != 1) {
        std::fprintf(stderr, "usage: korvid_assetgen check FILE_DIR\n");
        return 2;
    }
    const std::string folder = argv[0];
    // A check needs no screen and no speakers.
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("ALSOFT_DRIVERS", "null", 0);
    // The loaders' own messages are collected and printed instead of waiting for a click.
    BeginMessageBoxCapture();

    std::vector<std::string> problems;
    bool starts = true;
    if (!OpenDeviceForChecks()) {
        std::fprintf(stderr, "check: no render device could be created to load pictures\n");
        return 2;
    }
    if (!CheckGraphicsAssets(folder, problems)) starts = false;
    if (!CheckSoundAssets(folder, problems)) starts = false;

    for (const std::string& p : problems) std::printf("%s\n", p.c_str());
    for (const ShownMessageBox& box : CapturedMessageBoxes())
        std::printf("message \"%s\": %s\n", box.Caption.c_str(), box.Text.c_str());
    EndMessageBoxCapture();
    std::printf("%s: %s (%zu problem%s)\n", folder.c_str(), starts ? "the game would start" : "the game would NOT start",
                problems.size(), problems.size() == 1 ? "" : "s");
    return starts ? 0 : 1;
}

}  // namespace assetgen

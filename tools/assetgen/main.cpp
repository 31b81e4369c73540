// Entry point of the asset generator: dispatches to one sub-command.
#include "commands.h"

#include <cstdio>
#include <cstring>

using namespace assetgen;

namespace {
struct Command {
    const char* Name;
    const char* Arguments;
    int (*Run)(int argc, char** argv);
};

// A new sub-command is one more row here and its own file.
const Command Commands[] = {
    {"write", "GAME_DIR", RunWrite},
    {"contact-sheet", "OUT.png", RunContactSheet},
    {"check", "FILE_DIR", RunCheck},
    {"icon", "HICOLOR_DIR", RunIcon},
};

int Usage()
{
    std::fprintf(stderr, "usage:\n");
    for (const Command& c : Commands) std::fprintf(stderr, "  korvid_assetgen %s %s\n", c.Name, c.Arguments);
    return 2;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) return Usage();
    for (const Command& c : Commands)
        if (std::strcmp(argv[1], c.Name) == 0) return c.Run(argc - 2, argv + 2);
    return Usage();
}

// The `write` sub-command: builds the pack and writes File/ below the given game folder.
#include "commands.h"
#include "pack.h"

#include <cstdio>

namespace assetgen {

int RunWrite(int argc, char** argv)
{
    if (argc != 1) {
        std::fprintf(stderr, "usage: korvid_assetgen write GAME_DIR\n");
        return 2;
    }
    AssetPack pack;
    if (!BuildPack(pack)) {
        std::fprintf(stderr, "assetgen: building the pack failed\n");
        return 1;
    }
    return WritePack(pack, argv[0]) ? 0 : 1;
}

}  // namespace assetgen

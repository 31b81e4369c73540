// Builds the whole pack in memory and writes it below the game folder.
#include "pack.h"

#include "font.h"

#include <cstdio>

namespace assetgen {

const PictureAsset* AssetPack::FindPicture(const std::string& path) const
{
    for (const PictureAsset& p : Pictures)
        if (p.Path == path) return &p;
    return nullptr;
}

bool BuildPack(AssetPack& pack)
{
    if (!LoadFonts()) return false;
    bool ok = PaintScreens(pack) && PaintPlayPictures(pack) && BuildModels(pack) && SynthesiseSounds(pack) &&
              SynthesiseVoices(pack) && ComposeMusic(pack);
    UnloadFonts();
    return ok;
}

bool WritePack(const AssetPack& pack, const std::string& gameDir)
{
    std::string root = gameDir.empty() ? std::string(".") : gameDir;
    for (const PictureAsset& p : pack.Pictures)
        if (!WriteFileBytes(root + "/" + p.Path, EncodePicture(p))) return false;
    for (const ModelAsset& m : pack.Models) {
        std::string slash = m.TexturePath.substr(m.TexturePath.find_last_of('/') + 1);
        std::string text = WriteXText(m.Model, m.TexturePath.empty() ? std::string() : slash);
        if (!WriteFileBytes(root + "/" + m.Path, std::vector<uint8_t>(text.begin(), text.end()))) return false;
    }
    for (const SoundAsset& s : pack.Sounds)
        if (!WriteFileBytes(root + "/" + s.Path, EncodeWav(s))) return false;
    for (const RawAsset& r : pack.Raw)
        if (!WriteFileBytes(root + "/" + r.Path, r.Bytes)) return false;
    return true;
}

}  // namespace assetgen

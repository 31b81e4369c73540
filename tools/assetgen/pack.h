// The whole asset pack in memory: pictures, models, sounds and music, keyed by their game path.
#pragma once

#include "image.h"
#include "mesh.h"

#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

// PictureDds is uncompressed A8R8G8B8; the DXT forms are block-compressed (DXT5 keeps alpha).
enum PictureFormat { PictureBmp24, PictureBmp8, PictureDds, PictureDxt1, PictureDxt5 };

struct PictureAsset {
    std::string Path;        // relative to the game folder, forward slashes
    Image Picture;
    PictureFormat Format = PictureBmp24;
    bool Keyed = false;      // pure white marks transparency; alpha below 0.5 becomes white
};

struct SoundAsset {
    std::string Path;
    std::vector<int16_t> Samples;   // interleaved
    int Rate = 22050;
    int Channels = 1;
};

struct ModelAsset {
    std::string Path;
    Mesh Model;
    std::string TexturePath;  // the picture the game binds to every subset; empty for none
};

struct RawAsset {
    std::string Path;
    std::vector<uint8_t> Bytes;
};

struct AssetPack {
    std::vector<PictureAsset> Pictures;
    std::vector<ModelAsset> Models;
    std::vector<SoundAsset> Sounds;
    std::vector<RawAsset> Raw;

    const PictureAsset* FindPicture(const std::string& path) const;
};

// Painters and composers, one per area; each appends its files to the pack.
bool PaintScreens(AssetPack& pack);
bool PaintPlayPictures(AssetPack& pack);
bool BuildModels(AssetPack& pack);
bool SynthesiseSounds(AssetPack& pack);
bool SynthesiseVoices(AssetPack& pack);
bool ComposeMusic(AssetPack& pack);

bool BuildPack(AssetPack& pack);

// File encodings.
std::vector<uint8_t> EncodePicture(const PictureAsset& picture);
std::vector<uint8_t> EncodeWav(const SoundAsset& sound);
bool WritePng(const Image& img, const std::string& path);
bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);  // creates folders
bool WritePack(const AssetPack& pack, const std::string& gameDir);

}  // namespace assetgen

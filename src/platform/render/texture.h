// Textures: pictures loaded from .bmp and .dds files, and render-target textures.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/render/image_file.h"

struct RenderDevice;
struct Texture;

// The load parameters the game uses; width and height always come from the file.
struct TextureLoadOptions {
  std::uint32_t MipLevels = 0;   // 0: the full chain down to 1x1
  std::uint32_t ColourKey = 0;   // ARGB; 0 means no key. Matching pixels become 0 (transparent black)
};

// Loads a picture (backslash or slash separators) into an A8R8G8B8 texture; false, with
// nothing created, when the file is missing, damaged or of a kind that is not read.
bool CreateTextureFromFileEx(RenderDevice* device, const std::string& path,
                             const TextureLoadOptions& options, Texture** texture);
// The same in two halves: preparing (reading, keying, building the mip chain) needs no device
// and may run on another thread; creating uploads what was prepared.
struct PreparedPicture {
  std::vector<ImageLevel> Levels;
};
bool PreparePicture(const std::string& path, const TextureLoadOptions& options, PreparedPicture& picture);
bool CreateTextureFromPrepared(RenderDevice* device, const PreparedPicture& picture, Texture** texture);

// Defaults: full mip chain, no colour key.
bool CreateTextureFromFile(RenderDevice* device, const std::string& path, Texture** texture);

// One level, drawable into with RenderDevice::SetRenderTarget; cleared to transparent black.
bool CreateRenderTargetTexture(RenderDevice* device, int width, int height, Texture** texture);

void ReleaseTexture(Texture* texture);

int TextureWidth(const Texture* texture);
int TextureHeight(const Texture* texture);
int TextureLevelCount(const Texture* texture);
// Reads one level back as ARGB, top row first.
bool ReadTextureLevel(Texture* texture, int level, std::vector<std::uint32_t>& argb, int& width,
                      int& height);

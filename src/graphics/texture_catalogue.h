// The texture catalogue: each slot's file and load parameters, and the load-error message.
#pragma once

#include <cstdint>
#include <string>

#include "graphics/texture_id.h"

// Parameter sets: full chains or MipLevelCount levels, with or without the white key.
enum TextureLoadSet : int { LoadPlain, LoadKeyed, LoadMipmapped, LoadMipmappedKeyed };

struct CatalogueEntry {
  const char* Path;
  TextureLoadSet Set;
};

extern const CatalogueEntry TextureCatalogue[TextureCount];

constexpr std::uint32_t WhiteColourKey = 0xFFFFFFFF;

// Mip levels a slot is loaded with, given the settings' MipLevelCount, and the colour key of a
// parameter set.
std::uint32_t CatalogueMipLevels(int slot, int mipLevelCount);
std::uint32_t CatalogueColourKey(TextureLoadSet set);

// Shows the message naming the file that failed to load.
void ReportMissingFile(const std::string& path);

// Starts reading and preparing every slot's picture on a helper thread, so that the work can
// overlap the window and device coming up; LoadTextures takes them and joins the helper.
// Where start-up ends before LoadTextures, EndTexturePreparation joins it.
void BeginTexturePreparation(int mipLevelCount);
void EndTexturePreparation();

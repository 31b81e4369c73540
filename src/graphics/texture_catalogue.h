// The texture catalogue: each slot's file and load parameters, and the load-error message.
#pragma once

#include <cstdint>
#include <string>

#include "graphics/texture_id.h"
#include "platform/render/texture.h"

// Parameter sets: full chains or MipLevelCount levels, with or without the white key.
enum TextureLoadSet : int { LoadPlain, LoadKeyed, LoadMipmapped, LoadMipmappedKeyed };

struct CatalogueEntry {
  const char* Path;
  TextureLoadSet Set;
};

extern const CatalogueEntry TextureCatalogue[TextureCount];

constexpr std::uint32_t WhiteColourKey = 0xFFFFFFFF;

// How a slot's picture is loaded, given the settings' MipLevelCount: its mip levels and the
// colour key of its parameter set.
TextureLoadOptions CatalogueLoadOptions(int slot, int mipLevelCount);

// Shows the message naming the file that failed to load.
void ReportMissingFile(const std::string& path);
// The file a slot's picture is read from: its picture in the chosen language where the pack
// has one, otherwise the catalogue's own.
std::string SlotPicturePath(int slot);

// Starts reading and preparing every slot's picture on a helper thread, so that the work can
// overlap the window and device coming up; LoadTextures takes them and joins the helper.
// Where start-up ends before LoadTextures, EndTexturePreparation joins it.
void BeginTexturePreparation(int mipLevelCount);
void EndTexturePreparation();

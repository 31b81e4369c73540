// The asset check: every picture and model of a File/ folder through the game's loaders.
#include "graphics/asset_check.h"

#include "app/app_globals.h"
#include "graphics/mesh_models.h"
#include "graphics/texture_catalogue.h"
#include "persist/settings_record.h"
#include "platform/render/mesh.h"
#include "platform/render/texture.h"
#include "world/game_world.h"

namespace {

// Catalogue paths start with "File\"; the check reads them from the given folder instead.
std::string InFolder(const std::string& fileFolder, const char* path) {
  std::string relative = path;
  const std::string prefix = "File\\";
  if (relative.compare(0, prefix.size(), prefix) == 0) relative = relative.substr(prefix.size());
  std::string folder = fileFolder;
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder + relative;
}

}  // namespace

bool OpenDeviceForChecks() {
  if (World.Device) return true;
  if (!MainWindow) {
    if (!RegisterWindowClass("Main Window", DefWindowProc)) return false;
    MainWindow = CreateMainWindow("Main Window", "Korvid");
    if (!MainWindow) return false;
  }
  Settings.ScreenWidth = 640;
  Settings.ScreenHeight = 480;
  return World.InitDirect3D();
}

bool CheckGraphicsAssets(const std::string& fileFolder, std::vector<std::string>& problems) {
  bool starts = true;
  if (!World.Device) {
    problems.push_back("no render device to load pictures with");
    return false;
  }
  const int mipLevels = Settings.MipLevelCount > 0 ? Settings.MipLevelCount : 2;
  for (int slot = 0; slot < TextureCount; ++slot) {
    const CatalogueEntry& entry = TextureCatalogue[slot];
    Texture* texture = nullptr;
    if (CreateTextureFromFileEx(World.Device, InFolder(fileFolder, entry.Path),
                                CatalogueLoadOptions(slot, mipLevels), &texture)) {
      ReleaseTexture(texture);
    } else {
      problems.push_back(std::string(entry.Path) + ": cannot be loaded; the game stops at start-up");
      starts = false;
    }
  }
  for (int id = 0; id < ModelCount; ++id) {
    const ModelFiles& files = ModelCatalogue[id];
    std::vector<MeshMaterial> materials;
    Mesh* mesh = nullptr;
    if (LoadMeshFromX(World.Device, InFolder(fileFolder, files.MeshPath), materials, &mesh)) {
      ReleaseMesh(mesh);
    } else {
      problems.push_back(std::string(files.MeshPath) + ": cannot be loaded; the game stops at start-up");
      starts = false;
    }
    if (!files.PicturePath) continue;
    TextureLoadOptions options;
    if (files.Picture == ModelPicture::Keyed) options.ColourKey = WhiteColourKey;
    Texture* texture = nullptr;
    if (CreateTextureFromFileEx(World.Device, InFolder(fileFolder, files.PicturePath), options, &texture)) {
      ReleaseTexture(texture);
    } else {
      problems.push_back(std::string(files.PicturePath) + ": cannot be loaded; the model draws untextured");
    }
  }
  return starts;
}

// Shared set-up for the play-scene tests: one device, solid pictures, a quad model, read-back.
#include "scene/scene_fixture.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <map>

#include "app/app_globals.h"
#include "graphics/mesh_models.h"
#include "graphics/text_renderer.h"
#include "persist/settings_record.h"
#include "platform/render/mesh.h"
#include "platform/render/render_device.h"
#include "platform/render/texture.h"
#include "platform/window.h"
#include "scene/play_scene.h"
#include "world/game_world.h"
#include "world/match_values.h"

namespace scene_test {
namespace {

void Put16(std::string& s, std::uint32_t v) {
  s.push_back(static_cast<char>(v & 0xFF));
  s.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void Put32(std::string& s, std::uint32_t v) {
  Put16(s, v & 0xFFFF);
  Put16(s, v >> 16);
}

std::string TempPath(const char* suffix) {
  static int counter = 0;
  return "/tmp/korvid_scene_" + std::to_string(getpid()) + "_" + std::to_string(counter++) + suffix;
}

Texture* LoadAndRemove(const std::string& path, const std::string& bytes, bool keyed) {
  {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  TextureLoadOptions options;
  if (keyed) options.ColourKey = 0xFFFFFFFF;
  Texture* texture = nullptr;
  EXPECT_TRUE(CreateTextureFromFileEx(World.Device, path, options, &texture)) << path;
  std::remove(path.c_str());
  return texture;
}

std::string QuadModelText(float depth) {
  const std::string z = std::to_string(depth);
  return "xof 0302txt 0064\n"
    "Material Mat0 {\n 1.0;1.0;1.0;1.0;;\n 4.0;\n 0.0;0.0;0.0;;\n 0.0;0.0;0.0;;\n}\n"
    "Mesh Quad {\n 4;\n -1.0;-1.0;" + z + ";,\n 1.0;-1.0;" + z + ";,\n 1.0;1.0;" + z + ";,\n -1.0;1.0;" + z + ";;\n"
    " 2;\n 3;0,3,2;,\n 3;0,2,1;;\n"
    " MeshNormals {\n  4;\n  0.0;0.0;-1.0;,\n  0.0;0.0;-1.0;,\n  0.0;0.0;-1.0;,\n  0.0;0.0;-1.0;;\n"
    "  2;\n  3;0,3,2;,\n  3;0,2,1;;\n }\n"
    " MeshTextureCoords {\n  4;\n  0.0;1.0;,\n  1.0;1.0;,\n  1.0;0.0;,\n  0.0;0.0;;\n }\n"
    " MeshMaterialList {\n  1;\n  2;\n  0,\n  0;\n  {Mat0}\n }\n}\n";
}

}  // namespace

void EnsureDevice() {
  if (World.Device) return;
  static bool registered = RegisterWindowClass("Main Window", DefWindowProc);
  ASSERT_TRUE(registered);
  if (!MainWindow) MainWindow = CreateMainWindow("Main Window", "Korvid");
  ASSERT_NE(MainWindow, nullptr);
  Settings.ScreenWidth = 640;
  Settings.ScreenHeight = 480;
  Settings.MipLevelCount = 4;
  ASSERT_TRUE(World.InitDirect3D());
  Text.CreateBaseFont();
  ASSERT_TRUE(World.ApplyViewSettings());
}

Texture* SolidTexture(std::uint32_t argb, int side, bool keyed) {
  const int stride = (side * 3 + 3) & ~3;
  std::string s = "BM";
  Put32(s, static_cast<std::uint32_t>(54 + stride * side));
  Put32(s, 0);
  Put32(s, 54);
  Put32(s, 40);
  Put32(s, static_cast<std::uint32_t>(side));
  Put32(s, static_cast<std::uint32_t>(side));
  Put16(s, 1);
  Put16(s, 24);
  for (int i = 0; i < 6; ++i) Put32(s, 0);
  for (int y = 0; y < side; ++y) {
    std::string row;
    for (int x = 0; x < side; ++x) {
      row.push_back(static_cast<char>(argb & 0xFF));
      row.push_back(static_cast<char>((argb >> 8) & 0xFF));
      row.push_back(static_cast<char>((argb >> 16) & 0xFF));
    }
    row.resize(static_cast<std::size_t>(stride), '\0');
    s += row;
  }
  return LoadAndRemove(TempPath(".bmp"), s, keyed);
}

Texture* LevelTexture(int side, const std::vector<std::uint32_t>& levelColours) {
  PreparedPicture picture;
  for (std::uint32_t colour : levelColours) {
    picture.Levels.push_back({side, side, std::vector<std::uint32_t>(static_cast<std::size_t>(side) * side, colour)});
    side = side > 1 ? side / 2 : 1;
  }
  Texture* texture = nullptr;
  EXPECT_TRUE(CreateTextureFromPrepared(World.Device, picture, &texture));
  return texture;
}

void LoadQuadModel(int id, Texture* picture, float depth) {
  MeshModel& model = Models.ById(id);
  if (!model.Model) {
    const std::string path = TempPath(".x");
    {
      std::ofstream out(path);
      out << QuadModelText(depth);
    }
    std::vector<MeshMaterial> materials;
    ASSERT_TRUE(LoadMeshFromX(World.Device, path, materials, &model.Model));
    std::remove(path.c_str());
    model.Materials.clear();
    for (const MeshMaterial& m : materials) model.Materials.push_back(m.Colours);
    model.MaterialCount = static_cast<std::uint32_t>(materials.size());
  }
  model.Textures.assign(model.MaterialCount, picture);
}

void UseTestPictures() {
  // Kept for the whole program, as the game keeps its pictures: never destroyed, so the leak
  // check at exit still sees them held.
  static auto& made = *new std::map<std::uint64_t, Texture*>;
  auto solid = [](std::uint32_t colour, bool keyed) {
    Texture*& t = made[static_cast<std::uint64_t>(colour) << 1 | (keyed ? 1 : 0)];
    if (!t) t = SolidTexture(colour, 8, keyed);
    return t;
  };
  Texture* clear = solid(0xFFFFFFFF, true);
  for (Texture*& t : World.Textures) t = clear;
  World.Textures[TexGround] = solid(0xFF404040, false);
  World.Textures[TexWall] = solid(0xFF606060, false);
  World.Textures[TexShot] = solid(0xFFFF00FF, false);
  World.Textures[TexBlank] = solid(0xFFFFFFFF, false);
  LoadQuadModel(ModelSkyDome, solid(0xFF2040C0, false), 0.7f);
  LoadQuadModel(ModelBall, solid(0xFFFF0000, false));
  LoadQuadModel(ModelTree, solid(0xFF00C000, false));
  for (int weapon = 0; weapon < WeaponCount; ++weapon) LoadQuadModel(weapon, solid(0xFF00FFFF, false));
}

void AllSwitches(std::uint32_t on) {
  Settings.ShowSelf = Settings.ShowGun = Settings.ShowEnemies = Settings.ShowBullets = on;
  Settings.ShowTrees = Settings.ShowAimCursor = Settings.ShowStatus = Settings.ShowPosition = on;
  Settings.ShowEnemyInfo = Settings.ShowFps = Settings.UseFog = on;
}

void QuietMatch() {
  EnsureDevice();
  Settings.EnemyCount = 20;
  Settings.InitialWeapon = 0;
  Settings.CursorStyle = 1;
  Settings.UseMipmaps = 0;
  Settings.MipmapLevel = 0;
  AllSwitches(0);
  World.KeyForwardHeld = World.KeyBackHeld = World.KeyLeftHeld = World.KeyRightHeld = 0;
  World.KeyTurnLeftHeld = World.KeyTurnRightHeld = 0;
  World.JumpActive = 0;
  World.ResetMatch();
  World.UpdatePlayer();
  World.SetScope(0);
  World.FlashActive = 0;
  World.FlashLevel = 0;
  World.FlashKind = 0;
  for (WorldObject& puff : World.Smokes) puff = WorldObject{};
  for (WorldObject& tree : World.Trees) tree.Active = 0;
  RecoilKick = ActionProgress = MuzzleFlash = 0;
  World.SetFog(false);
  ShownAmmo = static_cast<float>(World.Weapons[World.CurrentWeapon].Ammo);
  ShownHealth = World.Player.HP;
}

int Pixels::Differences(const Pixels& other) const {
  if (Data.size() != other.Data.size()) return -1;
  int count = 0;
  for (std::size_t i = 0; i < Data.size(); ++i) count += (Data[i] & 0xFFFFFF) != (other.Data[i] & 0xFFFFFF);
  return count;
}

Pixels ReadBack() {
  Pixels p;
  World.Device->ReadBackBuffer(p.Data, p.Width, p.Height);
  return p;
}

Pixels DrawFrame() {
  EXPECT_TRUE(World.RenderPlayFrame());
  return ReadBack();
}

}  // namespace scene_test

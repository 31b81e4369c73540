// ModelSet: loading the seven models with their pictures, composing and drawing them.
#include "graphics/mesh_models.h"

#include "graphics/text_renderer.h"
#include "platform/render/mesh.h"
#include "platform/render/render_device.h"
#include "platform/render/texture.h"
#include "world/game_world.h"
#include "world/world_types.h"

ModelSet Models;

const ModelFiles ModelCatalogue[ModelCount] = {
    {"File\\XFile\\Machinegun.x", "File\\XFile\\Texture\\Machinegun.bmp", ModelPicture::Plain},
    {"File\\XFile\\Msg.x", "File\\XFile\\Texture\\Msg.bmp", ModelPicture::Plain},
    {"File\\XFile\\Handgun.x", "File\\XFile\\Texture\\Handgun.bmp", ModelPicture::Plain},
    {"File\\XFile\\Hand.x", nullptr, ModelPicture::None},
    {"File\\XFile\\SkyDoom.x", "File\\XFile\\Texture\\SkyDoom.bmp", ModelPicture::Plain},
    {"File\\XFile\\Ball.x", "File\\XFile\\Texture\\Ball.bmp", ModelPicture::Plain},
    {"File\\XFile\\Tree.x", "File\\XFile\\Texture\\Tree.bmp", ModelPicture::Keyed},
};

namespace {

// Every material gets its own texture object from the model's one picture; a picture that
// fails to load leaves that subset untextured.
void BindPictures(MeshModel& model, const ModelFiles& files) {
  model.Textures.assign(model.MaterialCount, nullptr);
  TextureLoadOptions options;
  if (files.Picture == ModelPicture::Keyed) options.ColourKey = 0xFFFFFFFF;
  // The file is read once; each material still gets a texture object of its own.
  PreparedPicture picture;
  if (!PreparePicture(files.PicturePath, options, picture)) return;
  for (std::uint32_t i = 0; i < model.MaterialCount; ++i)
    CreateTextureFromPrepared(World.Device, picture, &model.Textures[i]);
}

void ReleaseModel(MeshModel& model) {
  model.Materials.clear();
  for (Texture*& texture : model.Textures) {
    ReleaseTexture(texture);
    texture = nullptr;
  }
  model.Textures.clear();
  ReleaseMesh(model.Model);
  model.Model = nullptr;
  model.MaterialCount = 0;
}

}  // namespace

MeshModel& ModelSet::ById(int id) {
  switch (id) {
    case ModelHand: return Hand;
    case ModelSkyDome: return SkyDome;
    case ModelBall: return Ball;
    case ModelTree: return Tree;
    default: return Weapons[id >= 0 && id < 3 ? id : 0];
  }
}

bool ModelSet::LoadModels() {
  std::vector<MeshMaterial> loaded[ModelCount];
  for (int id = 0; id < ModelCount; ++id) {
    World.LoadPercent += 20.0f / 7.0f;
    Text.ShowLoadingLine("Now Loadind... %d％　Xファイルのロード中", static_cast<int>(World.LoadPercent));
    MeshModel& model = ById(id);
    if (!LoadMeshFromX(World.Device, ModelCatalogue[id].MeshPath, loaded[id], &model.Model)) return false;
    model.MaterialCount = static_cast<std::uint32_t>(loaded[id].size());
  }
  for (int id = 0; id < ModelCount; ++id) {
    MeshModel& model = ById(id);
    model.Materials.clear();
    for (const MeshMaterial& m : loaded[id]) model.Materials.push_back(m.Colours);
    // The names the files give for their pictures are not used: each model has one picture.
    if (ModelCatalogue[id].Picture != ModelPicture::None) BindPictures(model, ModelCatalogue[id]);
  }
  return true;
}

Matrix ComposeModelMatrix(float scale, const float offset[3], const float position[3], float pitch, float yaw,
                          float spinX, float spinY, float spinX2) {
  Matrix m = MatrixRotationX(spinX * DegreesToRadians);
  m = MatrixMultiply(m, MatrixRotationY(spinY * DegreesToRadians));
  m = MatrixMultiply(m, MatrixRotationX(spinX2 * DegreesToRadians));
  m = MatrixMultiply(m, MatrixScaling(scale, scale, scale));
  m = MatrixMultiply(m, MatrixTranslation(offset[0], offset[1], offset[2]));
  m = MatrixMultiply(m, MatrixTranslation(position[0], position[1], position[2]));
  m = MatrixMultiply(m, MatrixRotationY(yaw * DegreesToRadians));
  return MatrixMultiply(m, MatrixRotationX(pitch * DegreesToRadians));
}

void ModelSet::SetModelTransform(float scale, const float offset[3], const float position[3], float pitch,
                                 float yaw, float spinX, float spinY, float spinX2) {
  WorldMatrix = ComposeModelMatrix(scale, offset, position, pitch, yaw, spinX, spinY, spinX2);
  if (World.Device) World.Device->SetTransform(D3DTS_WORLD, WorldMatrix);
}

void ModelSet::DrawModel(const MeshModel& model) {
  RenderDevice* device = World.Device;
  if (!device || !model.Model) return;
  for (std::uint32_t i = 0; i < model.MaterialCount; ++i) {
    device->SetMaterial(model.Materials[i]);
    device->SetTexture(0, model.Textures.empty() ? nullptr : model.Textures[i]);
    DrawSubset(device, model.Model, i);
  }
}

void ModelSet::SetupLights() {
  RenderDevice* device = World.Device;
  if (!device) return;
  Light point;
  point.Type = D3DLIGHT_POINT;
  point.Diffuse = {5, 5, 5, 0};
  point.Specular = {1, 1, 1, 0};
  point.Ambient = {0.5f, 0.5f, 0.5f, 0};
  point.Position = {0, 1000, 500};
  point.Direction = {0, 0, 0};
  point.Range = 1000000;
  point.Attenuation0 = 0.1f;
  Light directional = point;
  directional.Type = D3DLIGHT_DIRECTIONAL;
  directional.Position = {0, 0, 0};
  directional.Direction = {0, -10, -5};
  directional.Range = 1000;
  device->SetLight(0, point);
  device->LightEnable(0, true);
  device->SetLight(1, directional);
  device->LightEnable(1, true);
  device->SetRenderState(D3DRS_SPECULARENABLE, 1);
  device->SetRenderState(D3DRS_LIGHTING, 1);
}

void ModelSet::ReleaseModels() {
  ReleaseModel(Ball);
  ReleaseModel(Tree);
  ReleaseModel(Hand);
  ReleaseModel(SkyDome);
  for (MeshModel& weapon : Weapons) ReleaseModel(weapon);
}

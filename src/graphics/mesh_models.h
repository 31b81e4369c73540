// ModelSet: the seven .x models, their fixed pictures, the model transform and the two lights.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/render/render_types.h"

struct Mesh;
struct Texture;

enum ModelId : int {
  ModelMachineGun = 0,
  ModelRifle,
  ModelHandgun,
  ModelHand,
  ModelSkyDome,
  ModelBall,
  ModelTree,
  ModelCount
};

struct MeshModel {
  Mesh* Model = nullptr;
  std::vector<Material> Materials;
  // One texture per material (entries may be null); empty for a model without pictures.
  std::vector<Texture*> Textures;
  std::uint32_t MaterialCount = 0;
  float Position[3] = {};
  float Spin[3] = {};
};

enum class ModelPicture { None, Plain, Keyed };

struct ModelFiles {
  const char* MeshPath;
  const char* PicturePath;  // null: materials only
  ModelPicture Picture;
};

extern const ModelFiles ModelCatalogue[ModelCount];

struct ModelSet {
  MeshModel Weapons[3];
  MeshModel Hand;
  MeshModel SkyDome;
  MeshModel Ball;
  MeshModel Tree;
  Matrix WorldMatrix;

  MeshModel& ById(int id);

  bool LoadModels();
  void SetModelTransform(float scale, const float offset[3], const float position[3], float pitch, float yaw,
                         float spinX, float spinY, float spinX2);
  void DrawModel(const MeshModel& model);
  void SetupLights();
  void ReleaseModels();
};

// The product of the model transform, without touching the device (tests and tools use it).
Matrix ComposeModelMatrix(float scale, const float offset[3], const float position[3], float pitch, float yaw,
                          float spinX, float spinY, float spinX2);

extern ModelSet Models;

// .x meshes through Assimp, baked into one vertex buffer with an index range per material.
#include "platform/render/mesh.h"

#include <assimp/cimport.h>
#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include "platform/file_read.h"
#include "platform/game_folder.h"
#include "platform/render/render_internal.h"
#include "platform/render/texture.h"
#include "platform/render/x_file_guard.h"

namespace {

// Positions are kept beside the GPU copy so that tests and tools can inspect a mesh.
struct MeshExtra {
  std::vector<Vector3> Positions;
};

ColourValue MaterialColour(const aiMaterial* m, const char* key, unsigned type, unsigned index,
                           float alpha) {
  aiColor4D c(0, 0, 0, alpha);
  if (aiGetMaterialColor(m, key, type, index, &c) != AI_SUCCESS) return {0, 0, 0, alpha};
  return {c.r, c.g, c.b, alpha};
}

// The library trusts a file's skin-weight vertex indices and writes through them, and its
// vertex counts and reserves room for them; the game draws no skinned meshes, so a file whose
// indices run past its mesh is refused here, as are a mesh larger than its file and a file
// too large to be a model.
bool SkinWeightsSafe(const std::string& path) {
  std::vector<std::uint8_t> bytes;
  if (!ReadFileBytes(path, bytes, ModelFileLimit)) return false;
  return XFileSkinWeightsInRange(bytes.data(), bytes.size()) && XFileMeshCountsFit(bytes.data(), bytes.size());
}

}  // namespace

bool LoadMeshFromX(RenderDevice* device, const std::string& path, std::vector<MeshMaterial>& materials,
                   Mesh** mesh) {
  if (!mesh) return false;
  *mesh = nullptr;
  materials.clear();
  if (!device) return false;
  // Converting to left-handed restores the file's own coordinates, which the importer mirrors.
  const unsigned flags = aiProcess_ConvertToLeftHanded | aiProcess_Triangulate |
                         aiProcess_PreTransformVertices | aiProcess_SortByPType;
  const std::string resolved = ResolveGamePath(path);
  if (!SkinWeightsSafe(resolved)) return false;
  const aiScene* scene = aiImportFile(resolved.c_str(), flags);
  if (!scene || !scene->mRootNode || scene->mNumMeshes == 0 || (scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE)) {
    if (scene) aiReleaseImport(scene);
    return false;
  }

  const unsigned materialCount = scene->mNumMaterials;
  for (unsigned i = 0; i < materialCount; ++i) {
    const aiMaterial* m = scene->mMaterials[i];
    MeshMaterial out;
    // The face colour keeps its own alpha in the diffuse colour.
    aiColor4D diffuse(0, 0, 0, 1);
    if (aiGetMaterialColor(m, AI_MATKEY_COLOR_DIFFUSE, &diffuse) == AI_SUCCESS)
      out.Colours.Diffuse = {diffuse.r, diffuse.g, diffuse.b, diffuse.a};
    out.Colours.Specular = MaterialColour(m, AI_MATKEY_COLOR_SPECULAR, 0);
    out.Colours.Emissive = MaterialColour(m, AI_MATKEY_COLOR_EMISSIVE, 0);
    // .x materials carry no ambient colour: it stays black as the file defines none.
    out.Colours.Ambient = {0, 0, 0, 0};
    float power = 0;
    if (aiGetMaterialFloat(m, AI_MATKEY_SHININESS, &power) == AI_SUCCESS) out.Colours.Power = power;
    aiString name;
    if (aiGetMaterialTexture(m, aiTextureType_DIFFUSE, 0, &name) == AI_SUCCESS) out.TextureFilename = name.C_Str();
    materials.push_back(out);
  }

  std::vector<MeshVertex> vertices;
  std::vector<std::uint32_t> indices;
  auto* extra = new MeshExtra;
  auto* made = new Mesh;
  made->Subsets.assign(materialCount, {0, 0});
  for (unsigned subset = 0; subset < materialCount; ++subset) {
    const std::uint32_t first = static_cast<std::uint32_t>(indices.size());
    for (unsigned k = 0; k < scene->mNumMeshes; ++k) {
      const aiMesh* part = scene->mMeshes[k];
      if (part->mMaterialIndex != subset || !(part->mPrimitiveTypes & aiPrimitiveType_TRIANGLE)) continue;
      const std::uint32_t base = static_cast<std::uint32_t>(vertices.size());
      for (unsigned v = 0; v < part->mNumVertices; ++v) {
        MeshVertex mv{};
        mv.X = part->mVertices[v].x;
        mv.Y = part->mVertices[v].y;
        mv.Z = part->mVertices[v].z;
        if (part->mNormals) {
          mv.NX = part->mNormals[v].x;
          mv.NY = part->mNormals[v].y;
          mv.NZ = part->mNormals[v].z;
        }
        if (part->mTextureCoords[0]) {
          mv.U = part->mTextureCoords[0][v].x;
          mv.V = part->mTextureCoords[0][v].y;
        }
        vertices.push_back(mv);
        extra->Positions.push_back({mv.X, mv.Y, mv.Z});
      }
      for (unsigned f = 0; f < part->mNumFaces; ++f) {
        const aiFace& face = part->mFaces[f];
        if (face.mNumIndices != 3) continue;
        for (unsigned j = 0; j < 3; ++j) indices.push_back(base + face.mIndices[j]);
      }
    }
    made->Subsets[subset] = {first, static_cast<std::uint32_t>(indices.size()) - first};
  }
  aiReleaseImport(scene);
  if (vertices.empty()) {
    delete extra;
    delete made;
    materials.clear();
    return false;
  }

  glGenVertexArrays(1, &made->VertexArray);
  glBindVertexArray(made->VertexArray);
  glGenBuffers(1, &made->VertexBuffer);
  glBindBuffer(GL_ARRAY_BUFFER, made->VertexBuffer);
  glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(MeshVertex)), vertices.data(),
               GL_STATIC_DRAW);
  glGenBuffers(1, &made->IndexBuffer);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, made->IndexBuffer);
  glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices.size() * 4), indices.data(),
               GL_STATIC_DRAW);
  glEnableVertexAttribArray(0);
  glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, sizeof(MeshVertex), nullptr);
  glEnableVertexAttribArray(3);
  glVertexAttribPointer(3, 3, GL_FLOAT, GL_FALSE, sizeof(MeshVertex), reinterpret_cast<void*>(12));
  glEnableVertexAttribArray(2);
  glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, sizeof(MeshVertex), reinterpret_cast<void*>(24));
  glDisableVertexAttribArray(1);
  glBindVertexArray(0);
  made->Extra = extra;
  *mesh = made;
  return true;
}

void DrawSubset(RenderDevice* device, Mesh* mesh, std::uint32_t subset) {
  if (!mesh || subset >= mesh->Subsets.size() || mesh->Subsets[subset].second == 0) return;
  if (!PrepareMeshDraw(device, mesh)) return;
  glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(mesh->Subsets[subset].second), GL_UNSIGNED_INT,
                 reinterpret_cast<void*>(static_cast<std::uintptr_t>(mesh->Subsets[subset].first) * 4));
  glBindVertexArray(0);
}

std::uint32_t MeshSubsetCount(const Mesh* mesh) {
  return mesh ? static_cast<std::uint32_t>(mesh->Subsets.size()) : 0;
}

std::vector<Vector3> MeshPositions(const Mesh* mesh) {
  if (!mesh || !mesh->Extra) return {};
  return static_cast<const MeshExtra*>(mesh->Extra)->Positions;
}

void ReleaseMesh(Mesh* mesh) {
  if (!mesh) return;
  // Without the device its context, and the buffers in it, are already gone.
  if (CurrentDevice()) {
    if (mesh->VertexArray) glDeleteVertexArrays(1, &mesh->VertexArray);
    if (mesh->VertexBuffer) glDeleteBuffers(1, &mesh->VertexBuffer);
    if (mesh->IndexBuffer) glDeleteBuffers(1, &mesh->IndexBuffer);
  }
  delete static_cast<MeshExtra*>(mesh->Extra);
  delete mesh;
}

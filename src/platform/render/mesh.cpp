// .x meshes through our own reader, baked into one vertex buffer with an index range per material.
#include "platform/render/mesh.h"

#include "platform/file_read.h"
#include "platform/game_folder.h"
#include "platform/render/render_internal.h"
#include "platform/render/texture.h"
#include "platform/render/x_file.h"

namespace {

// Positions are kept beside the GPU copy so that tests and tools can inspect a mesh.
struct MeshExtra {
  std::vector<Vector3> Positions;
};

static_assert(sizeof(XVertex) == sizeof(MeshVertex), "the reader's vertices are the buffer's");

}  // namespace

bool LoadMeshFromX(RenderDevice* device, const std::string& path, std::vector<MeshMaterial>& materials,
                   Mesh** mesh) {
  if (!mesh) return false;
  *mesh = nullptr;
  materials.clear();
  if (!device) return false;
  std::vector<std::uint8_t> bytes;
  XMeshData data;
  if (!ReadFileBytes(ResolveGamePath(path), bytes, ModelFileLimit) || !ReadXFile(bytes.data(), bytes.size(), data))
    return false;
  bytes = {};

  auto* extra = new MeshExtra;
  extra->Positions.reserve(data.Vertices.size());
  for (const XVertex& v : data.Vertices) extra->Positions.push_back({v.X, v.Y, v.Z});
  auto* made = new Mesh;
  made->Subsets = data.Subsets;
  const std::vector<XVertex>& vertices = data.Vertices;
  const std::vector<std::uint32_t>& indices = data.Indices;
  glGenVertexArrays(1, &made->VertexArray);
  glBindVertexArray(made->VertexArray);
  glGenBuffers(1, &made->VertexBuffer);
  glBindBuffer(GL_ARRAY_BUFFER, made->VertexBuffer);
  glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(XVertex)), vertices.data(),
               GL_STATIC_DRAW);
  glGenBuffers(1, &made->IndexBuffer);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, made->IndexBuffer);
  glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices.size() * 4), indices.data(),
               GL_STATIC_DRAW);
  glEnableVertexAttribArray(0);
  glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, sizeof(XVertex), nullptr);
  glEnableVertexAttribArray(3);
  glVertexAttribPointer(3, 3, GL_FLOAT, GL_FALSE, sizeof(XVertex), reinterpret_cast<void*>(12));
  glEnableVertexAttribArray(2);
  glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, sizeof(XVertex), reinterpret_cast<void*>(24));
  glDisableVertexAttribArray(1);
  glBindVertexArray(0);
  made->Extra = extra;
  *mesh = made;
  materials = std::move(data.Materials);
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

// .x meshes through our own reader, baked into one vertex buffer with an index range per material.
#include "platform/render/mesh.h"

#include "platform/file_read.h"
#include "platform/game_folder.h"
#include "platform/render/render_internal.h"
#include "platform/render/render_state.h"
#include "platform/render/texture.h"
#include "platform/render/x_file.h"

#include <cmath>

static_assert(sizeof(XVertex) == sizeof(MeshVertex), "the reader's vertices are the buffer's");

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

  auto* made = new Mesh;
  made->Positions.reserve(data.Vertices.size());
  for (const XVertex& v : data.Vertices) made->Positions.push_back({v.X, v.Y, v.Z});
  // A sphere around the middle of the bounding box holds every corner.
  if (!made->Positions.empty()) {
    Vector3 low = made->Positions[0], high = low;
    for (const Vector3& p : made->Positions) {
      low = {std::fmin(low.X, p.X), std::fmin(low.Y, p.Y), std::fmin(low.Z, p.Z)};
      high = {std::fmax(high.X, p.X), std::fmax(high.Y, p.Y), std::fmax(high.Z, p.Z)};
    }
    made->Centre = {(low.X + high.X) / 2, (low.Y + high.Y) / 2, (low.Z + high.Z) / 2};
    for (const Vector3& p : made->Positions) {
      const float dx = p.X - made->Centre.X, dy = p.Y - made->Centre.Y, dz = p.Z - made->Centre.Z;
      made->Radius = std::fmax(made->Radius, std::sqrt(dx * dx + dy * dy + dz * dz) * 1.0001f);
    }
  }
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
  made->Indices = indices;
  made->Shell = ShellOf(made->Positions, made->Indices, made->Centre);
  *mesh = made;
  materials = std::move(data.Materials);
  return true;
}

void DrawSubset(RenderDevice* device, Mesh* mesh, std::uint32_t subset) {
  if (!device || !mesh || subset >= mesh->Subsets.size() || mesh->Subsets[subset].second == 0) return;
  DrawMeshRange(device, mesh, mesh->Subsets[subset].first, mesh->Subsets[subset].second);
}

std::uint32_t MeshSubsetCount(const Mesh* mesh) {
  return mesh ? static_cast<std::uint32_t>(mesh->Subsets.size()) : 0;
}

std::vector<Vector3> MeshPositions(const Mesh* mesh) {
  if (!mesh) return {};
  return mesh->Positions;
}

void ReleaseMesh(Mesh* mesh) {
  if (!mesh) return;
  // Without the device its context, and the buffers in it, are already gone.
  if (CurrentDevice()) {
    if (mesh->VertexArray) glDeleteVertexArrays(1, &mesh->VertexArray);
    if (mesh->VertexBuffer) glDeleteBuffers(1, &mesh->VertexBuffer);
    if (mesh->IndexBuffer) glDeleteBuffers(1, &mesh->IndexBuffer);
  }
  delete mesh;
}

// From a .x file's bytes to one drawable mesh: header, unpacking, frames applied, faces split.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "platform/file_read.h"
#include "platform/render/x_file.h"
#include "platform/render/x_inflate.h"
#include "platform/render/x_objects.h"

namespace {

// Unpacked bodies may grow to this many times their packed size (text models pack about five
// to one), so that a small damaged file cannot ask for a large mesh.
constexpr std::size_t PackingLimit = 128;

using Matrix16 = std::array<float, 16>;

// Row vectors: the product applies `a` first, then `b`.
Matrix16 Multiply(const float* a, const float* b) {
  Matrix16 out{};
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) {
      float sum = 0;
      for (int k = 0; k < 4; ++k) sum += a[r * 4 + k] * b[k * 4 + c];
      out[r * 4 + c] = sum;
    }
  return out;
}

bool IsIdentity(const Matrix16& m) {
  for (int i = 0; i < 16; ++i)
    if (m[i] != (i % 5 == 0 ? 1.0f : 0.0f)) return false;
  return true;
}

// A mesh's placement: its frames' matrices composed from its own frame up to the top, and for
// normals the inverse transpose of the 3 x 3 part. Faces keep their corner order under a
// mirroring matrix, as the former loader kept it (nothing is culled).
struct Placement {
  bool Moved = false;
  Matrix16 World{};
  float Normal[9] = {};

  void Set(const Matrix16& world) {
    World = world;
    Moved = !IsIdentity(world);
    if (!Moved) return;
    const float* m = world.data();
    const float a = m[0], b = m[1], c = m[2], d = m[4], e = m[5], f = m[6], g = m[8], h = m[9], i = m[10];
    const float det = a * (e * i - f * h) - b * (d * i - f * g) + c * (d * h - e * g);
    const float s = det != 0 ? 1 / det : 0;
    // Cofactors over the determinant are the inverse transposed.
    const float inverseTransposed[9] = {(e * i - f * h) * s, (f * g - d * i) * s, (d * h - e * g) * s,
                                        (c * h - b * i) * s, (a * i - c * g) * s, (b * g - a * h) * s,
                                        (b * f - c * e) * s, (c * d - a * f) * s, (a * e - b * d) * s};
    std::memcpy(Normal, inverseTransposed, sizeof Normal);
  }

  void Apply(XVertex& v, bool hasNormal) const {
    if (!Moved) return;
    const float* m = World.data();
    const float x = v.X, y = v.Y, z = v.Z;
    v.X = x * m[0] + y * m[4] + z * m[8] + m[12];
    v.Y = x * m[1] + y * m[5] + z * m[9] + m[13];
    v.Z = x * m[2] + y * m[6] + z * m[10] + m[14];
    if (!hasNormal) return;
    // n times the transpose of the inverse, row by row of Normal.
    const float nx = v.NX, ny = v.NY, nz = v.NZ;
    float out[3];
    for (int r = 0; r < 3; ++r) out[r] = nx * Normal[r * 3] + ny * Normal[r * 3 + 1] + nz * Normal[r * 3 + 2];
    const float length = std::sqrt(out[0] * out[0] + out[1] * out[1] + out[2] * out[2]);
    const float scale = length > 0 ? 1 / length : 0;
    v.NX = out[0] * scale;
    v.NY = out[1] * scale;
    v.NZ = out[2] * scale;
  }
};

bool Resolve(const XObjects& objects, const XMaterialSlot& slot, MeshMaterial& out) {
  if (slot.Reference.empty()) {
    out = objects.Materials[slot.Own];
    return true;
  }
  for (const XNamedMaterial& named : objects.Named)
    if (named.Name == slot.Reference) {
      out = objects.Materials[named.Index];
      return true;
    }
  return false;  // a reference to nothing: the file is damaged
}

bool BuildMesh(const XObjects& objects, XMeshData& out) {
  std::vector<Matrix16> worlds(objects.Frames.size());
  for (std::size_t f = 0; f < objects.Frames.size(); ++f) {
    const XFrame& frame = objects.Frames[f];
    // Parents are read before their children.
    if (frame.Parent < 0) std::memcpy(worlds[f].data(), frame.Local, sizeof frame.Local);
    else worlds[f] = Multiply(frame.Local, worlds[frame.Parent].data());
  }
  // The sizes first, so that every array is reserved once.
  std::size_t corners = 0, indices = 0, materials = 0;
  for (const XMeshObject& mesh : objects.Meshes) {
    materials += mesh.HasMaterialList ? mesh.Materials.size() : 1;
    for (std::size_t f = 0; f + 1 < mesh.FaceStarts.size(); ++f) {
      const std::size_t n = mesh.FaceStarts[f + 1] - mesh.FaceStarts[f];
      if (n < 3) continue;  // points and lines are not drawn
      corners += n;
      indices += 3 * (n - 2);
    }
  }
  if (indices == 0 || materials > XMaterialLimit || corners > UINT32_MAX) return false;
  out.Vertices.reserve(corners);
  out.Indices.reserve(indices);
  out.Materials.reserve(materials);
  out.Subsets.reserve(materials);

  std::vector<std::uint32_t> order;
  for (const XMeshObject& mesh : objects.Meshes) {
    Placement place;
    if (mesh.Frame >= 0) place.Set(worlds[mesh.Frame]);
    const std::size_t faces = mesh.FaceStarts.size() - 1;
    // Faces grouped by material, each group in file order.
    order.resize(faces);
    for (std::size_t f = 0; f < faces; ++f) order[f] = static_cast<std::uint32_t>(f);
    if (mesh.HasMaterialList)
      std::stable_sort(order.begin(), order.end(),
                       [&](std::uint32_t a, std::uint32_t b) { return mesh.FaceMaterials[a] < mesh.FaceMaterials[b]; });
    const std::size_t count = mesh.HasMaterialList ? mesh.Materials.size() : 1;
    std::size_t next = 0;
    for (std::size_t m = 0; m < count; ++m) {
      MeshMaterial material = DefaultXMaterial();
      if (mesh.HasMaterialList && !Resolve(objects, mesh.Materials[m], material)) return false;
      out.Materials.push_back(std::move(material));
      const std::uint32_t first = static_cast<std::uint32_t>(out.Indices.size());
      for (; next < faces && (!mesh.HasMaterialList || mesh.FaceMaterials[order[next]] == m); ++next) {
        const std::uint32_t f = order[next];
        const std::uint32_t begin = mesh.FaceStarts[f], end = mesh.FaceStarts[f + 1];
        if (end - begin < 3) continue;
        const std::uint32_t base = static_cast<std::uint32_t>(out.Vertices.size());
        for (std::uint32_t c = begin; c < end; ++c) {
          XVertex v{};
          const float* p = &mesh.Positions[3 * static_cast<std::size_t>(mesh.Corners[c])];
          v.X = p[0], v.Y = p[1], v.Z = p[2];
          if (mesh.HasNormals) {
            const float* n = &mesh.Normals[3 * static_cast<std::size_t>(mesh.NormalCorners[c])];
            v.NX = n[0], v.NY = n[1], v.NZ = n[2];
          }
          if (mesh.HasCoordinates) {
            const float* uv = &mesh.Coordinates[2 * static_cast<std::size_t>(mesh.Corners[c])];
            v.U = uv[0], v.V = uv[1];
          }
          place.Apply(v, mesh.HasNormals);
          out.Vertices.push_back(v);
        }
        // A fan from the first corner, as the face's corners are listed.
        for (std::uint32_t k = 1; k + 1 < end - begin; ++k) {
          out.Indices.push_back(base);
          out.Indices.push_back(base + k);
          out.Indices.push_back(base + k + 1);
        }
      }
      out.Subsets.push_back({first, static_cast<std::uint32_t>(out.Indices.size()) - first});
    }
  }
  return true;
}

}  // namespace

bool ReadXFile(const std::uint8_t* data, std::size_t size, XMeshData& out) {
  out = XMeshData{};
  if (!data || size < 16 || std::memcmp(data, "xof ", 4) != 0) return false;
  if (std::memcmp(data + 4, "0302", 4) != 0 && std::memcmp(data + 4, "0303", 4) != 0) return false;
  const bool doubles = std::memcmp(data + 12, "0064", 4) == 0;
  if (!doubles && std::memcmp(data + 12, "0032", 4) != 0) return false;
  XTokens tokens;
  std::vector<std::uint8_t> unpacked;
  const char* format = reinterpret_cast<const char*>(data + 8);
  if (std::memcmp(format, "txt ", 4) == 0 || std::memcmp(format, "bin ", 4) == 0) {
    tokens.Data = data + 16;
    tokens.Size = size - 16;
  } else if (std::memcmp(format, "tzip", 4) == 0 || std::memcmp(format, "bzip", 4) == 0) {
    const std::size_t limit = std::min(ModelFileLimit, (size - 16) * PackingLimit);
    if (!InflateMsZip(data + 16, size - 16, limit, unpacked)) return false;
    tokens.Data = unpacked.data();
    tokens.Size = unpacked.size();
  } else {
    return false;
  }
  tokens.Binary = format[0] == 'b';
  tokens.Doubles = doubles;
  XObjects objects;
  if (!ReadXObjects(tokens, objects) || !BuildMesh(objects, out)) {
    out = XMeshData{};
    return false;
  }
  return true;
}

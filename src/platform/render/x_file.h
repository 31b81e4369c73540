// Our reader of DirectX .x model files: the triangles, subsets and materials the game draws.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "platform/render/mesh.h"

struct XVertex {
  float X, Y, Z;
  float NX, NY, NZ;  // zero where the file gives no normals
  float U, V;        // zero where the file gives no texture coordinates
};

// Every mesh of the file in file order, each moved by its frames, merged into one: a vertex per
// face corner, three indices per triangle, and per material (each mesh's list in turn) its first
// index and index count.
struct XMeshData {
  std::vector<XVertex> Vertices;
  std::vector<std::uint32_t> Indices;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> Subsets;
  std::vector<MeshMaterial> Materials;
};

// Reads a whole .x file (versions 0302 and 0303; txt, bin, tzip, bzip; 32- or 64-bit floats).
// False for a damaged file, one without a single triangle, or one this reader does not know.
bool ReadXFile(const std::uint8_t* data, std::size_t size, XMeshData& out);

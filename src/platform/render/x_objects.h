// The data objects of a .x file that make a mesh: frames, meshes, their parts and materials.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/render/mesh.h"
#include "platform/render/x_tokens.h"

struct XFrame {
  int Parent = -1;
  float Local[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};  // row vectors, as stored
};

// A material of a mesh's list: one written in the list, or one named elsewhere in the file.
struct XMaterialSlot {
  std::uint32_t Own = 0;       // index into XObjects::Materials when Reference is empty
  std::string_view Reference;  // points into the file's bytes
};

struct XMeshObject {
  int Frame = -1;  // the frame it sits in; -1 at the top level
  std::vector<float> Positions;            // three per vertex
  std::vector<std::uint32_t> FaceStarts;   // where each face's corners begin; one more at the end
  std::vector<std::uint32_t> Corners;      // vertex index of each corner of every face
  bool HasNormals = false;
  std::vector<float> Normals;              // three per normal
  std::vector<std::uint32_t> NormalCorners;  // normal index of each corner, faces as above
  bool HasCoordinates = false;
  std::vector<float> Coordinates;          // two per vertex
  bool HasMaterialList = false;
  std::vector<std::uint32_t> FaceMaterials;  // one per face
  std::vector<XMaterialSlot> Materials;
};

struct XNamedMaterial {
  std::string_view Name;
  std::uint32_t Index;  // into XObjects::Materials
};

struct XObjects {
  std::vector<XFrame> Frames;
  std::vector<XMeshObject> Meshes;
  std::vector<MeshMaterial> Materials;  // every material written in the file
  std::vector<XNamedMaterial> Named;    // the named ones, for references
};

// Deepest nesting of objects a file may have, and most materials (each becomes a subset with a
// texture object of its own).
constexpr int XDepthLimit = 32;
constexpr std::size_t XMaterialLimit = 4096;

// The material of meshes that have no material list.
MeshMaterial DefaultXMaterial();

// Reads every object of the body; false on damage (a count past the bytes left, an index past
// its array, a list that does not match its mesh, nesting too deep). The names in `out` point
// into the tokens' bytes.
bool ReadXObjects(XTokens& tokens, XObjects& out);

// Meshes from .x files (text, binary, compressed): one subset per material.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/render/render_types.h"

struct RenderDevice;
struct Mesh;

struct MeshMaterial {
  Material Colours;
  std::string TextureFilename;  // as the file names it; may be empty
};

// Loads the mesh with its materials in file order; false, with nothing created, on failure.
bool LoadMeshFromX(RenderDevice* device, const std::string& path, std::vector<MeshMaterial>& materials,
                   Mesh** mesh);
void DrawSubset(RenderDevice* device, Mesh* mesh, std::uint32_t subset);
std::uint32_t MeshSubsetCount(const Mesh* mesh);
// Vertex positions of the whole mesh as loaded (tests, bounds).
std::vector<Vector3> MeshPositions(const Mesh* mesh);
void ReleaseMesh(Mesh* mesh);

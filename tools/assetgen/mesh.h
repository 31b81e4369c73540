// Triangle meshes with per-corner normals and texture coordinates, built from simple solids.
#pragma once

#include <string>
#include <vector>

namespace assetgen {

struct Vec3 {
    float X = 0, Y = 0, Z = 0;
};

Vec3 operator+(Vec3 a, Vec3 b);
Vec3 operator-(Vec3 a, Vec3 b);
Vec3 operator*(Vec3 a, float s);
float Dot(Vec3 a, Vec3 b);
Vec3 Cross(Vec3 a, Vec3 b);
Vec3 Normalise(Vec3 a);

struct MeshMaterial {
    std::string Name;
    float Diffuse[4] = {1, 1, 1, 1};
    float Power = 10;
    float Specular[3] = {0, 0, 0};
    float Emissive[3] = {0, 0, 0};
};

struct MeshVertex {
    Vec3 Position;
    Vec3 Normal;
    float U = 0, V = 0;
};

struct Mesh {
    std::string Name;
    std::vector<MeshVertex> Vertices;
    std::vector<int> Indices;          // three per triangle, clockwise seen from the front (left-handed)
    std::vector<int> FaceMaterial;     // one per triangle
    std::vector<MeshMaterial> Materials;

    int AddMaterial(const MeshMaterial& m);
    // uv rectangle (u0, v0, u1, v1) is the part of the picture this solid uses.
    void AddBox(Vec3 centre, Vec3 half, int material, const float uv[4]);
    // Axis along +Z from z0 to z1 unless rotated by the caller.
    void AddCylinder(Vec3 base, Vec3 axis, float radius0, float radius1, int sides, int material, const float uv[4],
                     bool caps = true);
    void AddSphere(Vec3 centre, float radius, int rings, int segments, int material, const float uv[4],
                   bool inward = false);
    void AddQuad(Vec3 a, Vec3 b, Vec3 c, Vec3 d, int material, const float uv[4], bool twoSided);
    // Transforms vertices added since `first` (rotation about X then Y, degrees, then offset).
    void Transform(size_t first, float rotX, float rotY, Vec3 offset);
    void Bounds(Vec3& lo, Vec3& hi) const;
};

std::string WriteXText(const Mesh& mesh, const std::string& textureName);

}  // namespace assetgen

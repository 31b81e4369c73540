// Mesh building from boxes, cylinders, spheres and quads, and the text .x writer.
#include "mesh.h"

#include <cmath>
#include <cstdio>

namespace assetgen {

Vec3 operator+(Vec3 a, Vec3 b) { return {a.X + b.X, a.Y + b.Y, a.Z + b.Z}; }
Vec3 operator-(Vec3 a, Vec3 b) { return {a.X - b.X, a.Y - b.Y, a.Z - b.Z}; }
Vec3 operator*(Vec3 a, float s) { return {a.X * s, a.Y * s, a.Z * s}; }
float Dot(Vec3 a, Vec3 b) { return a.X * b.X + a.Y * b.Y + a.Z * b.Z; }
Vec3 Cross(Vec3 a, Vec3 b) { return {a.Y * b.Z - a.Z * b.Y, a.Z * b.X - a.X * b.Z, a.X * b.Y - a.Y * b.X}; }
Vec3 Normalise(Vec3 a)
{
    float l = std::sqrt(Dot(a, a));
    return l > 0 ? a * (1.0f / l) : Vec3{0, 1, 0};
}

static const float Pi = 3.14159265358979f;

int Mesh::AddMaterial(const MeshMaterial& m)
{
    Materials.push_back(m);
    return int(Materials.size()) - 1;
}

// Adds the triangle so that it faces along `front` (clockwise when seen from that side).
static void AddTriangle(Mesh& m, int a, int b, int c, Vec3 front, int material)
{
    Vec3 n = Cross(m.Vertices[b].Position - m.Vertices[a].Position, m.Vertices[c].Position - m.Vertices[a].Position);
    if (Dot(n, front) < 0) std::swap(b, c);
    m.Indices.insert(m.Indices.end(), {a, b, c});
    m.FaceMaterial.push_back(material);
}

void Mesh::AddQuad(Vec3 a, Vec3 b, Vec3 c, Vec3 d, int material, const float uv[4], bool twoSided)
{
    Vec3 n = Normalise(Cross(b - a, c - a));
    for (int side = 0; side < (twoSided ? 2 : 1); ++side) {
        Vec3 nn = side ? n * -1.0f : n;
        int base = int(Vertices.size());
        Vertices.push_back({a, nn, uv[0], uv[3]});
        Vertices.push_back({b, nn, uv[2], uv[3]});
        Vertices.push_back({c, nn, uv[2], uv[1]});
        Vertices.push_back({d, nn, uv[0], uv[1]});
        AddTriangle(*this, base, base + 1, base + 2, nn, material);
        AddTriangle(*this, base, base + 2, base + 3, nn, material);
    }
}

void Mesh::AddBox(Vec3 c, Vec3 h, int material, const float uv[4])
{
    struct Face {
        Vec3 N, U, V;
    };
    const Face faces[6] = {
        {{0, 0, 1}, {-1, 0, 0}, {0, 1, 0}}, {{0, 0, -1}, {1, 0, 0}, {0, 1, 0}},
        {{1, 0, 0}, {0, 0, 1}, {0, 1, 0}},  {{-1, 0, 0}, {0, 0, -1}, {0, 1, 0}},
        {{0, 1, 0}, {1, 0, 0}, {0, 0, 1}},  {{0, -1, 0}, {1, 0, 0}, {0, 0, -1}},
    };
    for (const Face& f : faces) {
        auto scale = [&](Vec3 v) { return Vec3{v.X * h.X, v.Y * h.Y, v.Z * h.Z}; };
        Vec3 centre = c + scale(f.N);
        Vec3 u = scale(f.U), v = scale(f.V);
        int base = int(Vertices.size());
        Vertices.push_back({centre - u - v, f.N, uv[0], uv[3]});
        Vertices.push_back({centre + u - v, f.N, uv[2], uv[3]});
        Vertices.push_back({centre + u + v, f.N, uv[2], uv[1]});
        Vertices.push_back({centre - u + v, f.N, uv[0], uv[1]});
        AddTriangle(*this, base, base + 1, base + 2, f.N, material);
        AddTriangle(*this, base, base + 2, base + 3, f.N, material);
    }
}

void Mesh::AddCylinder(Vec3 base, Vec3 axis, float r0, float r1, int sides, int material, const float uv[4],
                       bool caps)
{
    Vec3 w = Normalise(axis);
    Vec3 helper = std::fabs(w.Y) < 0.9f ? Vec3{0, 1, 0} : Vec3{1, 0, 0};
    Vec3 u = Normalise(Cross(helper, w)), v = Cross(w, u);
    float len = std::sqrt(Dot(axis, axis));
    float slope = (r0 - r1) / len;
    int first = int(Vertices.size());
    for (int i = 0; i <= sides; ++i) {
        float a = 2 * Pi * i / sides;
        Vec3 radial = u * std::cos(a) + v * std::sin(a);
        Vec3 n = Normalise(radial + w * slope);
        float tu = uv[0] + (uv[2] - uv[0]) * float(i) / sides;
        Vertices.push_back({base + radial * r0, n, tu, uv[3]});
        Vertices.push_back({base + axis + radial * r1, n, tu, uv[1]});
    }
    for (int i = 0; i < sides; ++i) {
        int a = first + 2 * i, b = a + 1, c = a + 2, d = a + 3;
        Vec3 mid = Normalise(Vertices[a].Normal + Vertices[c].Normal);
        AddTriangle(*this, a, b, d, mid, material);
        AddTriangle(*this, a, d, c, mid, material);
    }
    if (!caps) return;
    for (int end = 0; end < 2; ++end) {
        float r = end ? r1 : r0;
        if (r <= 0) continue;
        Vec3 centre = end ? base + axis : base;
        Vec3 n = end ? w : w * -1.0f;
        int centreIndex = int(Vertices.size());
        float cu = (uv[0] + uv[2]) / 2, cv = (uv[1] + uv[3]) / 2;
        Vertices.push_back({centre, n, cu, cv});
        for (int i = 0; i <= sides; ++i) {
            float a = 2 * Pi * i / sides;
            Vec3 radial = u * std::cos(a) + v * std::sin(a);
            Vertices.push_back({centre + radial * r, n, cu + std::cos(a) * (uv[2] - uv[0]) / 2,
                                cv + std::sin(a) * (uv[3] - uv[1]) / 2});
        }
        for (int i = 0; i < sides; ++i)
            AddTriangle(*this, centreIndex, centreIndex + 1 + i, centreIndex + 2 + i, n, material);
    }
}

void Mesh::AddSphere(Vec3 c, float r, int rings, int segments, int material, const float uv[4], bool inward)
{
    int first = int(Vertices.size());
    for (int i = 0; i <= rings; ++i) {
        float lat = Pi * i / rings;  // 0 at the top pole
        for (int j = 0; j <= segments; ++j) {
            float lon = 2 * Pi * j / segments;
            Vec3 d{std::sin(lat) * std::cos(lon), std::cos(lat), std::sin(lat) * std::sin(lon)};
            Vertices.push_back({c + d * r, inward ? d * -1.0f : d, uv[0] + (uv[2] - uv[0]) * float(j) / segments,
                                uv[1] + (uv[3] - uv[1]) * float(i) / rings});
        }
    }
    for (int i = 0; i < rings; ++i)
        for (int j = 0; j < segments; ++j) {
            int a = first + i * (segments + 1) + j, b = a + 1, cc = a + segments + 1, d = cc + 1;
            Vec3 n = Normalise(Vertices[a].Normal + Vertices[d].Normal);
            if (i > 0) AddTriangle(*this, a, b, d, n, material);
            if (i < rings - 1) AddTriangle(*this, a, d, cc, n, material);
        }
}

void Mesh::Transform(size_t first, float rotX, float rotY, Vec3 offset)
{
    float ax = rotX * Pi / 180, ay = rotY * Pi / 180;
    auto rot = [&](Vec3 p) {
        Vec3 q{p.X, p.Y * std::cos(ax) - p.Z * std::sin(ax), p.Y * std::sin(ax) + p.Z * std::cos(ax)};
        return Vec3{q.X * std::cos(ay) + q.Z * std::sin(ay), q.Y, -q.X * std::sin(ay) + q.Z * std::cos(ay)};
    };
    for (size_t i = first; i < Vertices.size(); ++i) {
        Vertices[i].Position = rot(Vertices[i].Position) + offset;
        Vertices[i].Normal = Normalise(rot(Vertices[i].Normal));
    }
}

void Mesh::Bounds(Vec3& lo, Vec3& hi) const
{
    lo = {1e9f, 1e9f, 1e9f};
    hi = {-1e9f, -1e9f, -1e9f};
    for (const MeshVertex& v : Vertices) {
        lo = {std::fmin(lo.X, v.Position.X), std::fmin(lo.Y, v.Position.Y), std::fmin(lo.Z, v.Position.Z)};
        hi = {std::fmax(hi.X, v.Position.X), std::fmax(hi.Y, v.Position.Y), std::fmax(hi.Z, v.Position.Z)};
    }
}

static std::string F(float v)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.6f", double(v) == 0.0 ? 0.0 : double(v));
    return buf;
}

std::string WriteXText(const Mesh& m, const std::string& textureName)
{
    std::string s = "xof 0303txt 0032\n\n";
    size_t nv = m.Vertices.size(), nf = m.Indices.size() / 3;
    s += "Mesh " + m.Name + " {\n " + std::to_string(nv) + ";\n";
    for (size_t i = 0; i < nv; ++i) {
        const Vec3& p = m.Vertices[i].Position;
        s += " " + F(p.X) + ";" + F(p.Y) + ";" + F(p.Z) + ";" + (i + 1 < nv ? ",\n" : ";\n");
    }
    auto faces = [&](std::string& out) {
        out += " " + std::to_string(nf) + ";\n";
        for (size_t f = 0; f < nf; ++f)
            out += " 3;" + std::to_string(m.Indices[f * 3]) + "," + std::to_string(m.Indices[f * 3 + 1]) + "," +
                   std::to_string(m.Indices[f * 3 + 2]) + ";" + (f + 1 < nf ? ",\n" : ";\n");
    };
    faces(s);
    s += "\n MeshMaterialList {\n  " + std::to_string(m.Materials.size()) + ";\n  " + std::to_string(nf) + ";\n";
    for (size_t f = 0; f < nf; ++f) s += "  " + std::to_string(m.FaceMaterial[f]) + (f + 1 < nf ? ",\n" : ";\n");
    for (const MeshMaterial& mat : m.Materials) {
        s += "\n  Material " + mat.Name + " {\n   " + F(mat.Diffuse[0]) + ";" + F(mat.Diffuse[1]) + ";" +
             F(mat.Diffuse[2]) + ";" + F(mat.Diffuse[3]) + ";;\n   " + F(mat.Power) + ";\n   " + F(mat.Specular[0]) +
             ";" + F(mat.Specular[1]) + ";" + F(mat.Specular[2]) + ";;\n   " + F(mat.Emissive[0]) + ";" +
             F(mat.Emissive[1]) + ";" + F(mat.Emissive[2]) + ";;\n";
        if (!textureName.empty()) s += "\n   TextureFilename {\n    \"" + textureName + "\";\n   }\n";
        s += "  }\n";
    }
    s += " }\n\n MeshNormals {\n  " + std::to_string(nv) + ";\n";
    for (size_t i = 0; i < nv; ++i) {
        const Vec3& n = m.Vertices[i].Normal;
        s += "  " + F(n.X) + ";" + F(n.Y) + ";" + F(n.Z) + ";" + (i + 1 < nv ? ",\n" : ";\n");
    }
    std::string nfaces;
    faces(nfaces);
    s += nfaces + " }\n\n MeshTextureCoords {\n  " + std::to_string(nv) + ";\n";
    for (size_t i = 0; i < nv; ++i)
        s += "  " + F(m.Vertices[i].U) + ";" + F(m.Vertices[i].V) + ";" + (i + 1 < nv ? ",\n" : ";\n");
    s += " }\n}\n";
    return s;
}

}  // namespace assetgen

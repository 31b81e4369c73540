// Reading the data objects of a .x body: frames, meshes, normals, coordinates, materials.
#include "platform/render/x_objects.h"

namespace {

using Kind = XTokenKind;

// After an object's identifier: an optional name, an optional GUID, then its opening brace.
bool Header(XTokens& t, std::string_view* name) {
  t.OptionalGuid();
  if (t.Peek() != Kind::Open) {
    std::string_view word;
    if (!t.Word(word)) return false;
    if (name) *name = word;
    t.OptionalGuid();
  }
  return t.Open();
}

bool SkipObject(XTokens& t, int depth) { return Header(t, nullptr) && t.SkipBody(XDepthLimit - depth); }

// What may stand between the objects a parent knows: references, template declarations and
// stray values (exporters end lists loosely) are passed over.
bool SkipStray(XTokens& t, Kind kind, int depth) {
  std::string_view ignored;
  switch (kind) {
    case Kind::Open: return t.Open() && t.SkipBody(XDepthLimit - depth);
    case Kind::Value: return t.SkipValue();
    case Kind::Template:
      if (t.Binary ? !t.SkipValue() : !t.Word(ignored)) return false;
      return t.Word(ignored) && t.Open() && t.SkipBody(XDepthLimit - depth);
    default: return false;
  }
}

// Runs `child` for each object in the body until its closing brace; `child` gets the object's
// identifier and returns false on damage, or skips objects it does not know.
template <typename Child>
bool Children(XTokens& t, int depth, Child child) {
  for (;;) {
    const Kind kind = t.Peek();
    if (kind == Kind::Close) return t.Close();
    if (kind != Kind::Word) {
      if (!SkipStray(t, kind, depth)) return false;
      continue;
    }
    std::string_view word;
    if (!t.Word(word) || !child(word)) return false;
  }
}

bool Floats(XTokens& t, float* out, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i)
    if (!t.Float(out[i])) return false;
  return true;
}

// `count` items of `width` floats each, with the count checked against what is left.
bool FloatArray(XTokens& t, std::uint32_t count, int width, std::vector<float>& out) {
  if (!t.Room(count, static_cast<unsigned>(width))) return false;
  out.resize(static_cast<std::size_t>(count) * width);
  return Floats(t, out.data(), out.size());
}

// Reads a material into the file's list and, when it has a name, into the named ones.
bool ReadMaterial(XTokens& t, XObjects& out, int depth, std::uint32_t& index) {
  std::string_view name;
  if (depth > XDepthLimit || out.Materials.size() >= XMaterialLimit || !Header(t, &name)) return false;
  float v[11];
  if (!Floats(t, v, 11)) return false;
  MeshMaterial m;
  m.Colours.Diffuse = {v[0], v[1], v[2], v[3]};
  m.Colours.Power = v[4];
  m.Colours.Specular = {v[5], v[6], v[7], 0};
  m.Colours.Emissive = {v[8], v[9], v[10], 0};
  bool named = false;
  const bool ok = Children(t, depth, [&](std::string_view word) {
    if ((word != "TextureFilename" && word != "TextureFileName") || named) return SkipObject(t, depth + 1);
    std::string file;
    if (!Header(t, nullptr) || !t.String(file)) return false;
    // Some exporters double every backslash of the path.
    for (std::size_t at; (at = file.find("\\\\")) != std::string::npos;) file.erase(at, 1);
    m.TextureFilename = file;
    named = true;
    return Children(t, depth + 1, [&](std::string_view) { return SkipObject(t, depth + 2); });
  });
  if (!ok) return false;
  index = static_cast<std::uint32_t>(out.Materials.size());
  out.Materials.push_back(std::move(m));
  if (!name.empty()) out.Named.push_back({name, index});
  return true;
}

std::size_t FaceCount(const XMeshObject& mesh) { return mesh.FaceStarts.size() - 1; }

bool Normals(XTokens& t, XMeshObject& mesh, int depth) {
  std::uint32_t count = 0, faces = 0;
  if (!Header(t, nullptr) || !t.Integer(count) || !FloatArray(t, count, 3, mesh.Normals) || !t.Integer(faces) ||
      faces != FaceCount(mesh))
    return false;
  mesh.NormalCorners.resize(mesh.Corners.size());
  // Each face names its own normals, corner for corner with the mesh's face.
  for (std::uint32_t f = 0; f < faces; ++f) {
    std::uint32_t corners = 0;
    if (!t.Integer(corners) || corners != mesh.FaceStarts[f + 1] - mesh.FaceStarts[f]) return false;
    for (std::uint32_t c = mesh.FaceStarts[f]; c < mesh.FaceStarts[f + 1]; ++c)
      if (!t.Integer(mesh.NormalCorners[c]) || mesh.NormalCorners[c] >= count) return false;
  }
  mesh.HasNormals = true;
  return Children(t, depth, [&](std::string_view) { return SkipObject(t, depth + 1); });
}

bool Coordinates(XTokens& t, XMeshObject& mesh, int depth) {
  std::uint32_t count = 0;
  if (!Header(t, nullptr) || !t.Integer(count) || count != mesh.Positions.size() / 3 ||
      !FloatArray(t, count, 2, mesh.Coordinates))
    return false;
  mesh.HasCoordinates = true;
  return Children(t, depth, [&](std::string_view) { return SkipObject(t, depth + 1); });
}

bool MaterialList(XTokens& t, XMeshObject& mesh, XObjects& out, int depth) {
  std::uint32_t materials = 0, indices = 0;
  const std::size_t faces = FaceCount(mesh);
  if (!Header(t, nullptr) || !t.Integer(materials) || materials > XMaterialLimit || !t.Integer(indices) ||
      indices > faces || (indices == 0 && faces > 0) || !t.Room(indices, 1))
    return false;
  mesh.FaceMaterials.resize(faces);
  for (std::uint32_t f = 0; f < indices; ++f)
    if (!t.Integer(mesh.FaceMaterials[f]) || mesh.FaceMaterials[f] >= materials) return false;
  // A shorter list gives its last material to the remaining faces.
  for (std::size_t f = indices; f < faces; ++f) mesh.FaceMaterials[f] = mesh.FaceMaterials[indices - 1];
  mesh.HasMaterialList = true;
  const bool ok = [&] {
    for (;;) {
      const Kind kind = t.Peek();
      if (kind == Kind::Close) return t.Close();
      XMaterialSlot slot;
      if (kind == Kind::Open) {
        // A material named elsewhere: "{ name }", perhaps with its GUID.
        t.Open();
        t.OptionalGuid();
        if (t.Peek() != Kind::Close && !t.Word(slot.Reference)) return false;
        t.OptionalGuid();
        if (!t.Close() || slot.Reference.empty()) return false;
      } else if (kind != Kind::Word) {
        if (!SkipStray(t, kind, depth)) return false;
        continue;
      } else {
        std::string_view word;
        t.Word(word);
        if (word != "Material") {
          if (!SkipObject(t, depth + 1)) return false;
          continue;
        }
        if (!ReadMaterial(t, out, depth + 1, slot.Own)) return false;
      }
      // Materials past the count are not the mesh's.
      if (mesh.Materials.size() < materials) mesh.Materials.push_back(slot);
    }
  }();
  // A list holding fewer materials than it counts is damaged.
  return ok && mesh.Materials.size() == materials;
}

bool ReadMesh(XTokens& t, XObjects& out, int frame, int depth) {
  if (depth > XDepthLimit || !Header(t, nullptr)) return false;
  XMeshObject mesh;
  mesh.Frame = frame;
  std::uint32_t vertices = 0, faces = 0;
  if (!t.Integer(vertices) || !FloatArray(t, vertices, 3, mesh.Positions) || !t.Integer(faces) || !t.Room(faces, 1))
    return false;
  mesh.FaceStarts.reserve(static_cast<std::size_t>(faces) + 1);
  mesh.FaceStarts.push_back(0);
  for (std::uint32_t f = 0; f < faces; ++f) {
    std::uint32_t corners = 0;
    if (!t.Integer(corners) || !t.Room(corners, 1)) return false;
    for (std::uint32_t c = 0; c < corners; ++c) {
      std::uint32_t index = 0;
      if (!t.Integer(index) || index >= vertices) return false;
      mesh.Corners.push_back(index);
    }
    mesh.FaceStarts.push_back(static_cast<std::uint32_t>(mesh.Corners.size()));
  }
  const bool ok = Children(t, depth, [&](std::string_view word) {
    // The first of each kind counts; vertex colours, skins and the rest are not drawn.
    if (word == "MeshNormals" && !mesh.HasNormals) return Normals(t, mesh, depth + 1);
    if (word == "MeshTextureCoords" && !mesh.HasCoordinates) return Coordinates(t, mesh, depth + 1);
    if (word == "MeshMaterialList" && !mesh.HasMaterialList) return MaterialList(t, mesh, out, depth + 1);
    return SkipObject(t, depth + 1);
  });
  if (ok) out.Meshes.push_back(std::move(mesh));
  return ok;
}

bool ReadFrame(XTokens& t, XObjects& out, int parent, int depth) {
  if (depth > XDepthLimit || !Header(t, nullptr)) return false;
  const int self = static_cast<int>(out.Frames.size());
  out.Frames.push_back({parent});
  return Children(t, depth, [&](std::string_view word) {
    if (word == "Frame") return ReadFrame(t, out, self, depth + 1);
    if (word == "Mesh") return ReadMesh(t, out, self, depth + 1);
    if (word != "FrameTransformMatrix") return SkipObject(t, depth + 1);
    return Header(t, nullptr) && Floats(t, out.Frames[self].Local, 16) &&
           Children(t, depth + 1, [&](std::string_view) { return SkipObject(t, depth + 2); });
  });
}

}  // namespace

MeshMaterial DefaultXMaterial() {
  MeshMaterial m;
  m.Colours.Diffuse = {0.5f, 0.5f, 0.5f, 1};
  m.Colours.Power = 1;
  return m;
}

bool ReadXObjects(XTokens& t, XObjects& out) {
  for (;;) {
    const Kind kind = t.Peek();
    if (kind == Kind::End) return true;
    if (kind != Kind::Word) {
      if (!SkipStray(t, kind, 0)) return false;
      continue;
    }
    std::string_view word;
    t.Word(word);
    bool ok;
    if (word == "Frame") {
      ok = ReadFrame(t, out, -1, 1);
    } else if (word == "Mesh") {
      ok = ReadMesh(t, out, -1, 1);
    } else if (word == "Material") {
      std::uint32_t ignored = 0;
      ok = ReadMaterial(t, out, 1, ignored);
    } else {
      ok = SkipObject(t, 1);
    }
    if (!ok) return false;
  }
}

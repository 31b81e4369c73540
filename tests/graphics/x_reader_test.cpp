// The .x reader: what it makes of faces, normals, materials and frames, and what it refuses.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "graphics_fixture.h"
#include "platform/render/x_file.h"

namespace {

bool Read(const std::string& bytes, XMeshData& out) {
  return ReadXFile(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), out);
}

// A pentagon of five corners with its own normals and coordinates, and two materials: one by
// reference to the second material of the file, one of its own.
const std::string Pentagon =
    "xof 0303txt 0032\n"
    "Material Green { 0.0;1.0;0.0;1.0;; 1.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; }\n"
    "Material Blue { 0.0;0.0;1.0;1.0;; 2.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; TextureFilename { \"blue.bmp\"; } }\n"
    "Mesh Five {\n 5;\n 0.0;0.0;0.0;, 2.0;0.0;0.0;, 2.0;2.0;0.0;, 1.0;3.0;0.0;, 0.0;2.0;0.0;;\n"
    " 2;\n 5;0,1,2,3,4;,\n 3;0,2,4;;\n"
    " MeshNormals { 2; 0.0;0.0;-1.0;, 0.0;1.0;0.0;; 2; 5;1,1,0,0,1;, 3;0,0,0;; }\n"
    " MeshTextureCoords { 5; 0.0;0.0;, 1.0;0.0;, 1.0;1.0;, 0.5;1.5;, 0.0;1.0;; }\n"
    " MeshMaterialList { 2; 2; 1, 0;; { Blue } Material Red { 1.0;0.0;0.0;0.5;; 4.0; 0.1;0.2;0.3;; 0.4;0.5;0.6;; } }\n"
    "}\n";

std::string Replaced(std::string s, const std::string& from, const std::string& to) {
  const std::size_t at = s.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) s.replace(at, from.size(), to);
  return s;
}

// Corner positions of the triangles of a subset, as "x,y" pairs.
std::string Triangles(const XMeshData& m, std::size_t subset) {
  std::string out;
  for (std::uint32_t i = 0; i < m.Subsets[subset].second; ++i) {
    const XVertex& v = m.Vertices[m.Indices[m.Subsets[subset].first + i]];
    out += std::to_string(static_cast<int>(v.X)) + "," + std::to_string(static_cast<int>(v.Y)) + (i % 3 == 2 ? " " : ";");
  }
  return out;
}

}  // namespace

TEST(XReader, ReadsFacesNormalsMaterialsAndFramesAsTheFileMeansThem) {
  struct Case {
    const char* What;
    std::string File;
    std::function<void(const XMeshData&)> Check;
  };
  const Case cases[] = {
      {"a five-corner face is a fan from its first corner; materials follow the list, by reference or inline",
       Pentagon,
       [](const XMeshData& m) {
         ASSERT_EQ(m.Subsets.size(), 2u);
         EXPECT_EQ(Triangles(m, 0), "0,0;2,2;0,2 ");  // the triangle face, material 0 (Blue)
         EXPECT_EQ(Triangles(m, 1), "0,0;2,0;2,2 0,0;2,2;1,3 0,0;1,3;0,2 ");
         EXPECT_FLOAT_EQ(m.Materials[0].Colours.Diffuse.B, 1);  // the one named, not the file's first
         EXPECT_EQ(m.Materials[0].Colours.Diffuse.G, 0);
         EXPECT_EQ(m.Materials[0].TextureFilename, "blue.bmp");
         EXPECT_FLOAT_EQ(m.Materials[1].Colours.Diffuse.A, 0.5f);
         EXPECT_FLOAT_EQ(m.Materials[1].Colours.Power, 4);
         EXPECT_FLOAT_EQ(m.Materials[1].Colours.Specular.G, 0.2f);
         EXPECT_FLOAT_EQ(m.Materials[1].Colours.Emissive.B, 0.6f);
         EXPECT_EQ(m.Materials[1].Colours.Specular.A, 0);
         EXPECT_EQ(m.Materials[1].Colours.Ambient.A, 0);
       }},
      {"normals come from their own face list, corner by corner",
       Pentagon,
       [](const XMeshData& m) {
         const XVertex* five = &m.Vertices[m.Indices[m.Subsets[1].first]];
         EXPECT_EQ(five[0].NY, 1);   // corner 0 of the pentagon: normal 1
         EXPECT_EQ(five[3].NZ, -1);  // corner 3: normal 0
         EXPECT_FLOAT_EQ(five[3].U, 0.5f);
         EXPECT_FLOAT_EQ(five[3].V, 1.5f);
       }},
      {"comments, missing separators and lists ended by ;, read as the clean file",
       Replaced(Replaced(Replaced(Pentagon, "Mesh Five {\n 5;", "// a comment { }\nMesh Five { # another\n 5"),
                         "3;0,2,4;;", "3 0 2 4;,"),
                "1, 0;;", "1 0"),
       [](const XMeshData& m) {
         ASSERT_EQ(m.Subsets.size(), 2u);
         EXPECT_EQ(Triangles(m, 1), "0,0;2,0;2,2 0,0;2,2;1,3 0,0;1,3;0,2 ");
       }},
      {"without normals, coordinates or materials: zero normals, zero coordinates, one grey material",
       "xof 0302txt 0064\ntemplate Mesh { <3D82AB44-62DA-11cf-AB39-0020AF71E433> DWORD nVertices; [...] }\n"
       "Mesh { 3; 0.0;0.0;0.0;, 1.0;0.0;0.0;, 0.0;1.0;0.0;; 1; 3;0,1,2;; VertexDuplicationIndices { 3; 3; 0,1,2;; } }\n",
       [](const XMeshData& m) {
         ASSERT_EQ(m.Vertices.size(), 3u);
         EXPECT_EQ(m.Vertices[1].X, 1);
         EXPECT_EQ(m.Vertices[1].NX + m.Vertices[1].NY + m.Vertices[1].NZ + m.Vertices[1].U + m.Vertices[1].V, 0);
         ASSERT_EQ(m.Materials.size(), 1u);
         EXPECT_FLOAT_EQ(m.Materials[0].Colours.Diffuse.R, 0.5f);
         EXPECT_FLOAT_EQ(m.Materials[0].Colours.Diffuse.A, 1);
         EXPECT_FLOAT_EQ(m.Materials[0].Colours.Power, 1);
       }},
      {"nested frames: the inner matrix first, then the outer; a mesh outside frames stays put",
       "xof 0303txt 0032\nFrame A { FrameTransformMatrix { 1.0,0.0,0.0,0.0, 0.0,1.0,0.0,0.0, 0.0,0.0,1.0,0.0, 0.0,10.0,0.0,1.0;; }\n"
       " Frame B { FrameTransformMatrix { 2.0,0.0,0.0,0.0, 0.0,2.0,0.0,0.0, 0.0,0.0,2.0,0.0, 1.0,0.0,0.0,1.0;; }\n"
       "  Mesh { 3; 1.0;0.0;0.0;, 0.0;1.0;0.0;, 0.0;0.0;1.0;; 1; 3;0,1,2;; } } }\n"
       "Mesh { 3; 1.0;0.0;0.0;, 0.0;1.0;0.0;, 0.0;0.0;1.0;; 1; 3;0,1,2;; }\n",
       [](const XMeshData& m) {
         ASSERT_EQ(m.Subsets.size(), 2u);
         EXPECT_EQ(Triangles(m, 0), "3,10;1,12;1,10 ");
         EXPECT_EQ(Triangles(m, 1), "1,0;0,1;0,0 ");
       }},
      {"skin weights, animations and unknown objects are passed over by their braces",
       Replaced(Pentagon, " MeshNormals",
                " SkinWeights { \"Bone\"; 1; 900000; 1.0; 1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0;; }\n"
                " DeclData { 1; 2,0,3,0;; 3; 0,0,0; }\n Unknown { { Blue } \"}\" }\n MeshNormals") +
           "AnimationSet { Animation { { Five } AnimationKey { 0; 1; 0; 4; 1.0,0.0,0.0,0.0;;; } } }\n",
       [](const XMeshData& m) { EXPECT_EQ(m.Subsets.size(), 2u); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    XMeshData mesh;
    ASSERT_TRUE(Read(c.File, mesh));
    c.Check(mesh);
  }
}

TEST(XReader, BinaryStringsEndEitherWayAndCompressedFilesMatchTheirText) {
  XMeshData text, binary, packed;
  const std::vector<std::vector<float>> diffuse = {{1, 0.5f, 0.25f, 1}, {0, 1, 0, 0.5f}};
  ASSERT_TRUE(Read(QuadXFile(diffuse, 8, {0.2f, 0.1f, 0}, {0.1f, 0, 0}), text));
  ASSERT_TRUE(Read(QuadXFileBinary(diffuse, 8, {0.2f, 0.1f, 0}, {0.1f, 0, 0}), binary));
  ASSERT_TRUE(Read(CompressXFile(QuadXFile(diffuse, 8, {0.2f, 0.1f, 0}, {0.1f, 0, 0})), packed));
  for (const XMeshData* m : {&binary, &packed}) {
    ASSERT_EQ(m->Vertices.size(), text.Vertices.size());
    EXPECT_EQ(0, std::memcmp(m->Vertices.data(), text.Vertices.data(), text.Vertices.size() * sizeof(XVertex)));
    EXPECT_EQ(m->Indices, text.Indices);
    EXPECT_EQ(m->Subsets, text.Subsets);
  }
  // A texture name in a binary material, its separator as a 16-bit token or a 32-bit value.
  for (const std::string& end : {std::string("\x14\x00", 2), std::string("\x14\x00\x00\x00", 4)}) {
    std::string file = QuadXFileBinary(diffuse, 8, {0.2f, 0.1f, 0}, {0.1f, 0, 0});
    const std::string name = std::string("\x01\x00\x0F\x00\x00\x00TextureFilename\x0A\x00\x02\x00\x05\x00\x00\x00", 29) +
                             "a.bmp" + end + std::string("\x0B\x00", 2);
    file.insert(file.find(std::string("\x0B\x00\x01\x00\x08\x00\x00\x00Material", 16)), name);
    XMeshData m;
    ASSERT_TRUE(Read(file, m)) << end.size();
    EXPECT_EQ(m.Materials[0].TextureFilename, "a.bmp");
  }
}

TEST(XReader, DamagedFilesAreRefused) {
  const std::string quad = QuadXFile({{1, 1, 1, 1}}, 4, {1, 1, 1}, {0, 0, 0});
  const std::string normalFaces = "  2;\n  3;0,3,2;,\n  3;0,2,1;;\n }";
  std::string deep = "xof 0303txt 0032\n";
  for (int i = 0; i < 40; ++i) deep += "Frame {";
  deep += Pentagon.substr(Pentagon.find("Mesh"));
  for (int i = 0; i < 40; ++i) deep += "}";
  const std::pair<const char*, std::string> cases[] = {
      {"a vertex count past the bytes left", Replaced(quad, "Mesh Quad {\n 4;", "Mesh Quad {\n 400000000;")},
      {"a face count past the bytes left", Replaced(quad, " 2;\n 3;0,3,2;,", " 4000000000;\n 3;0,3,2;,")},
      {"a face naming a fifth vertex of four", Replaced(quad, "3;0,2,1;", "3;0,2,4;")},
      {"a normal index past the normals", Replaced(quad, normalFaces, "  2;\n  3;0,3,2;,\n  3;0,2,8195;;\n }")},
      {"a normal face shorter than its face", Replaced(quad, normalFaces, "  2;\n  3;0,3,2;,\n  2;0,2;;\n }")},
      {"fewer normal faces than faces", Replaced(quad, normalFaces, "  1;\n  3;0,3,2;;\n }")},
      {"fewer texture coordinates than vertices", Replaced(quad, " MeshTextureCoords {\n  4;", " MeshTextureCoords {\n  3;")},
      {"a material index past the list", Replaced(Pentagon, "2; 2; 1, 0;;", "2; 2; 1, 2;;")},
      {"a list holding fewer materials than it counts", Replaced(Pentagon, "2; 2; 1, 0;;", "3; 2; 1, 0;;")},
      {"a reference to no material", Replaced(Pentagon, "{ Blue }", "{ Grey }")},
      {"a decimal where an index belongs", Replaced(Pentagon, "5;0,1,2,3,4;,", "5;0,1,2.5,3,4;,")},
      {"an unclosed string", Replaced(Pentagon, "\"blue.bmp\"; } }\n", "\"blue.bmp; } }\n")},
      {"nesting forty frames deep", deep},
      {"an unknown version", Replaced(Pentagon, "0303", "0304")},
      {"no triangle at all", "xof 0303txt 0032\nMesh { 2; 0.0;0.0;0.0;, 1.0;0.0;0.0;; 1; 2;0,1;; }\n"},
      {"a compressed block cut short", CompressXFile(quad).substr(0, 60)},
      {"a compressed block whose data is not deflate", Replaced(CompressXFile(quad), "CK", "CK\xFF\xFF\xFF")},
      {"a binary list longer than the file", QuadXFileBinary({{1, 1, 1, 1}}, 4, {1, 1, 1}, {0, 0, 0}).substr(0, 90)},
  };
  for (const auto& [what, bytes] : cases) {
    XMeshData mesh;
    EXPECT_FALSE(Read(bytes, mesh)) << what;
    EXPECT_TRUE(mesh.Vertices.empty() && mesh.Materials.empty()) << what;
  }
}

TEST(XReader, AFileCutAtAnyObjectBoundaryIsRefusedInEveryEncoding) {
  const std::string binary = QuadXFileBinary({{1, 1, 1, 1}, {0, 1, 0, 1}}, 4, {1, 1, 1}, {0, 0, 0});
  int cuts = 0;
  for (const std::string& file : {Pentagon, binary}) {
    const bool isBinary = file == binary;
    for (std::size_t at = 16; at < file.size(); ++at) {
      const bool boundary = isBinary ? (at + 2 <= file.size() && (file[at] == 10 || file[at] == 11) && file[at + 1] == 0)
                                     : (file[at] == '{' || file[at] == '}');
      if (!boundary) continue;
      // Cut just before and just after the brace; a cut after the last one leaves a whole file.
      for (std::size_t cut : {at, at + (isBinary ? 2 : 1)}) {
        if (cut >= file.size() - (isBinary ? 0 : 1)) continue;
        XMeshData mesh;
        const std::string part = file.substr(0, cut);
        EXPECT_FALSE(Read(part, mesh)) << (isBinary ? "binary" : "text") << " cut at " << cut;
        EXPECT_FALSE(Read(CompressXFile(part), mesh)) << "compressed, cut at " << cut;
        ++cuts;
      }
    }
  }
  EXPECT_GT(cuts, 30);
}

// Model files whose skin weights name vertices their mesh lacks never reach the model library.
#include <gtest/gtest.h>

#include "graphics_fixture.h"
#include "platform/render/x_file_guard.h"

namespace {

// The test quad with one skin-weight block naming `vertex` inside its mesh.
std::string SkinnedQuad(int vertex) {
  std::string x = QuadXFile({{1, 1, 1, 1}}, 4, {1, 1, 1}, {0, 0, 0});
  const std::string weights = " SkinWeights {\n  \"Bone\";\n  1;\n  " + std::to_string(vertex) +
                              ";\n  1.0;\n  1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0;;\n }\n";
  x.insert(x.rfind('}'), weights);
  return x;
}

void Put(std::string& s, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
}

// A binary mesh of four vertices holding one skin weight for `vertex`.
std::string BinarySkinnedMesh(std::uint32_t vertex) {
  std::string s = "xof 0303bin 0032";
  auto name = [&](const std::string& n) { Put(s, 1, 2); Put(s, static_cast<std::uint32_t>(n.size()), 4); s += n; };
  auto ints = [&](std::initializer_list<std::uint32_t> v) {
    Put(s, 6, 2);
    Put(s, static_cast<std::uint32_t>(v.size()), 4);
    for (std::uint32_t i : v) Put(s, i, 4);
  };
  name("Mesh");
  Put(s, 10, 2);
  ints({4});
  name("SkinWeights");
  Put(s, 10, 2);
  Put(s, 2, 2);
  Put(s, 4, 4);
  s += "Bone";
  Put(s, 20, 4);
  ints({1, vertex});
  Put(s, 11, 2);
  Put(s, 11, 2);
  return s;
}

bool InRange(const std::string& bytes) {
  return XFileSkinWeightsInRange(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace

TEST(XFileGuard, SkinWeightsPastTheMeshAreRefusedInEveryEncoding) {
  EXPECT_TRUE(InRange(SkinnedQuad(3)));
  EXPECT_FALSE(InRange(SkinnedQuad(4)));
  EXPECT_FALSE(InRange(SkinnedQuad(4000000)));
  EXPECT_TRUE(InRange(CompressXFile(SkinnedQuad(3))));
  EXPECT_FALSE(InRange(CompressXFile(SkinnedQuad(4))));
  EXPECT_TRUE(InRange(BinarySkinnedMesh(3)));
  EXPECT_FALSE(InRange(BinarySkinnedMesh(4)));
  EXPECT_FALSE(InRange(CompressXFile(BinarySkinnedMesh(4))));
  // Weights outside any mesh have nothing to index.
  EXPECT_FALSE(InRange("xof 0302txt 0032\nSkinWeights { \"Bone\"; 1; 0; 1.0; }\n"));
  // Files without skin weights are not examined.
  EXPECT_TRUE(InRange(QuadXFile({{1, 1, 1, 1}}, 4, {1, 1, 1}, {0, 0, 0})));
  EXPECT_TRUE(InRange(QuadXFileBinary({{1, 1, 1, 1}}, 4, {1, 1, 1}, {0, 0, 0})));
}

TEST(XFileGuard, MeshesAnnouncingMoreVerticesThanTheFileHoldsAreRefused) {
  auto fits = [](const std::string& bytes) {
    return XFileMeshCountsFit(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  };
  const std::string quad = QuadXFile({{1, 1, 1, 1}}, 4, {1, 1, 1}, {0, 0, 0});
  EXPECT_TRUE(fits(quad));
  EXPECT_TRUE(fits(QuadXFileBinary({{1, 1, 1, 1}}, 4, {1, 1, 1}, {0, 0, 0})));
  EXPECT_TRUE(fits(CompressXFile(quad)));
  std::string huge = quad;
  huge.replace(huge.find("Mesh Quad {\n 4;"), 15, "Mesh Quad {\n 400000000;");
  EXPECT_FALSE(fits(huge));
  EXPECT_FALSE(fits(CompressXFile(huge)));
  // Faces: one without corners makes the library assert; one naming a fifth vertex of four.
  std::string cornerless = quad;
  cornerless.replace(cornerless.find("3;0,2,1;"), 8, "0;;");
  EXPECT_FALSE(fits(cornerless));
  std::string outside = quad;
  outside.replace(outside.find("3;0,2,1;"), 8, "3;0,2,4;");
  EXPECT_FALSE(fits(outside));
  // The mesh's normals and texture coordinates follow its vertices and faces; the library
  // trusts them. A normal index past the normals (found by fuzzing: a read far out of bounds),
  // a normal face shorter than its face, too few normal faces, too few texture coordinates.
  const std::string normalFaces = "  2;\n  3;0,3,2;,\n  3;0,2,1;;\n }";
  for (const char* wrong : {"  2;\n  3;0,3,2;,\n  3;0,2,8195;;\n }", "  2;\n  3;0,3,2;,\n  2;0,2;;\n }",
                            "  1;\n  3;0,3,2;;\n }"}) {
    std::string bad = quad;
    bad.replace(bad.find(normalFaces), normalFaces.size(), wrong);
    EXPECT_FALSE(fits(bad)) << wrong;
    EXPECT_FALSE(fits(CompressXFile(bad))) << wrong;
  }
  std::string fewCoordinates = quad;
  const std::string coordinates = " MeshTextureCoords {\n  4;";
  fewCoordinates.replace(fewCoordinates.find(coordinates), coordinates.size(), " MeshTextureCoords {\n  3;");
  EXPECT_FALSE(fits(fewCoordinates));
  // A binary file a byte out of step after its vertices (found by fuzzing): the library read a
  // count from the floats and reserved 2.7 GB.
  const unsigned char shifted[] = {
      0x78, 0x6f, 0x66, 0x20, 0x30, 0x33, 0x30, 0x33, 0x62, 0x69, 0x6e, 0x20, 0x30, 0x30, 0x33, 0x32,
      0x01, 0x00, 0x04, 0x00, 0x00, 0x00, 0x4d, 0x65, 0x73, 0x68, 0x01, 0x00, 0x04, 0x00, 0x00, 0x00,
      0x51, 0x75, 0x61, 0x64, 0x0a, 0x00, 0x06, 0x00, 0x01, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00,
      0x07, 0x00, 0x0c, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80, 0xbf, 0x00, 0x00, 0x80, 0xbf, 0x00, 0x00,
      0x00, 0x00, 0x00, 0x00, 0x80, 0x3f, 0x00, 0x00, 0x80, 0xbf, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
      0x80, 0x3f, 0x00, 0x00, 0x80, 0x3f, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80, 0xbf, 0x00,
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80, 0xbf, 0x06, 0x00, 0x09, 0x00, 0x00,
      0x00, 0x02, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00,
      0x00, 0x02, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00,
      0x00, 0x01, 0x00, 0x00, 0x00, 0x0b, 0x00, 0x0b, 0x00};
  EXPECT_FALSE(fits(std::string(reinterpret_cast<const char*>(shifted), sizeof shifted)));
}

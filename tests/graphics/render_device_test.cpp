// The render device against the fixed-function rules, read back from the back buffer.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "dialogs/settings_apply.h"
#include "graphics/mesh_models.h"
#include "graphics/text_renderer.h"
#include "graphics_fixture.h"
#include "persist/settings_record.h"
#include "platform/message_box.h"
#include "platform/render/draw_records.h"
#include "platform/render/font.h"
#include "platform/render/mesh.h"
#include "platform/render/render_device.h"
#include "platform/render/texture.h"
#include "world/game_world.h"

namespace {

class RenderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureDevice();
    ASSERT_NE(World.Device, nullptr);
    device = World.Device;
    World.ApplyRenderStates();
    World.SetupCamera(45);
    device->SetRenderState(D3DRS_FOGENABLE, 0);
    device->SetRenderState(D3DRS_ALPHATESTENABLE, 0);
    device->SetRenderState(D3DRS_LIGHTING, 0);
    device->SetTexture(0, nullptr);
    device->SetTransform(D3DTS_WORLD, MatrixIdentity());
    device->SetVertexShader(SceneVertexFormat);
  }

  void DrawQuad(float z, float half, std::uint32_t colour) {
    FanVertex quad[4];
    MakeQuad(quad, z, half * 1.25f, half, colour);
    ASSERT_TRUE(device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, quad, sizeof(FanVertex)));
  }

  RenderDevice* device = nullptr;
};

void ExpectColour(std::uint32_t actual, int r, int g, int b, int tolerance = 1) {
  EXPECT_NEAR(Red(actual), r, tolerance) << std::hex << actual;
  EXPECT_NEAR(Green(actual), g, tolerance) << std::hex << actual;
  EXPECT_NEAR(Blue(actual), b, tolerance) << std::hex << actual;
}

}  // namespace

TEST_F(RenderTest, FrameClearsToTheGivenColourAndLeavesTheMipFilterOff) {
  device->SetTextureStageState(0, D3DTSS_MIPFILTER, D3DTEXF_LINEAR);
  ASSERT_TRUE(World.BeginFrame(0xFF141414));
  EXPECT_EQ(device->GetTextureStageState(0, D3DTSS_MIPFILTER), D3DTEXF_NONE);
  Pixels p = ReadBack();
  EXPECT_EQ(p.Width, 640);
  EXPECT_EQ(p.Height, 480);
  EXPECT_EQ(p.At(0, 0) & 0xFFFFFF, 0x141414u);
  EXPECT_EQ(p.At(639, 479) & 0xFFFFFF, 0x141414u);
  EXPECT_TRUE(World.EndFrame());
  ASSERT_TRUE(World.BeginFrame(0x00CCCCDD));
  EXPECT_EQ(ReadBack().At(320, 240) & 0xFFFFFF, 0xCCCCDDu);
  World.EndFrame();
}

TEST_F(RenderTest, AlphaBlendingMixesBySourceAlpha) {
  World.BeginFrame(0xFF0000FF);
  DrawQuad(2, 2, 0x80FF0000);
  const std::uint32_t c = ReadBack().At(320, 240);
  ExpectColour(c, 128, 0, 127);
  World.EndFrame();
}

TEST_F(RenderTest, AlphaTestAtReferenceEightKeepsEightAndDropsSeven) {
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, 0);
  device->SetRenderState(D3DRS_ALPHATESTENABLE, 1);
  device->SetRenderState(D3DRS_ALPHAREF, 8);
  device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
  World.BeginFrame(0xFF000000);
  DrawQuad(2, 2, 0x07FFFFFF);
  EXPECT_EQ(ReadBack().At(320, 240) & 0xFFFFFF, 0u);
  DrawQuad(2, 2, 0x08FFFFFF);
  EXPECT_EQ(ReadBack().At(320, 240) & 0xFFFFFF, 0xFFFFFFu);
  World.EndFrame();
}

TEST_F(RenderTest, LinearTableFogLeavesNearPixelsAndCoversFarOnes) {
  device->SetRenderState(D3DRS_FOGENABLE, 1);
  device->SetRenderState(D3DRS_FOGCOLOR, 0x00CCCCDD);
  device->SetRenderState(D3DRS_FOGTABLEMODE, D3DFOG_LINEAR);
  device->SetRenderState(D3DRS_FOGVERTEXMODE, D3DFOG_NONE);
  const float start = 3000, end = 12000;
  std::uint32_t bits;
  std::memcpy(&bits, &start, 4);
  device->SetRenderState(D3DRS_FOGSTART, bits);
  std::memcpy(&bits, &end, 4);
  device->SetRenderState(D3DRS_FOGEND, bits);
  const float halfAt = std::tan(22.5f * 0.017453292f);
  World.BeginFrame(0xFF000000);
  DrawQuad(2900, 2900 * halfAt * 1.1f, 0xFFFF0000);
  ExpectColour(ReadBack().At(320, 240), 255, 0, 0);
  World.BeginFrame(0xFF000000);
  DrawQuad(12500, 12500 * halfAt * 1.1f, 0xFFFF0000);
  ExpectColour(ReadBack().At(320, 240), 0xCC, 0xCC, 0xDD);
  World.BeginFrame(0xFF000000);
  DrawQuad(7500, 7500 * halfAt * 1.1f, 0xFFFF0000);  // halfway
  ExpectColour(ReadBack().At(320, 240), (255 + 0xCC) / 2, 0xCC / 2, 0xDD / 2, 2);
  // Overlays just in front of the camera are never fogged.
  World.BeginFrame(0xFF000000);
  DrawQuad(1.3f, 1, 0xFF00FF00);
  ExpectColour(ReadBack().At(320, 240), 0, 255, 0);
  World.EndFrame();
}

TEST_F(RenderTest, LitMeshFollowsTheLightingFormula) {
  TempFolder folder;
  // Diffuse (1, 0.5, 0.25), specular (0.2, 0.1, 0), emissive (0.1, 0, 0), power 0.
  WriteFile(folder.Path + "/quad.x", QuadXFile({{1, 0.5f, 0.25f, 1}}, 0, {0.2f, 0.1f, 0}, {0.1f, 0, 0}));
  std::vector<MeshMaterial> materials;
  Mesh* mesh = nullptr;
  ASSERT_TRUE(LoadMeshFromX(device, folder.Path + "/quad.x", materials, &mesh));
  ASSERT_EQ(materials.size(), 1u);
  Material m = materials[0].Colours;
  EXPECT_FLOAT_EQ(m.Diffuse.G, 0.5f);
  EXPECT_FLOAT_EQ(m.Emissive.R, 0.1f);
  m.Ambient = {0.5f, 0.5f, 0.5f, 1};

  Light sun;
  sun.Type = D3DLIGHT_DIRECTIONAL;
  sun.Diffuse = {0.5f, 0.5f, 0.5f, 0};
  sun.Specular = {1, 1, 1, 0};
  sun.Ambient = {0.2f, 0.2f, 0.2f, 0};
  sun.Direction = {0, -0.6f, 0.8f};
  Light far = sun;  // a point light out of its range adds nothing
  far.Type = D3DLIGHT_POINT;
  far.Position = {0, 0, -100000};
  far.Range = 10;
  far.Attenuation0 = 1;
  device->SetLight(0, sun);
  device->LightEnable(0, true);
  device->SetLight(1, far);
  device->LightEnable(1, true);
  device->SetRenderState(D3DRS_LIGHTING, 1);
  device->SetRenderState(D3DRS_AMBIENT, 0x404040);
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, 0);
  device->SetMaterial(m);
  device->SetTexture(0, nullptr);

  auto draw = [&](bool specular) {
    device->SetRenderState(D3DRS_SPECULARENABLE, specular);
    World.BeginFrame(0xFF000000);
    device->SetTransform(D3DTS_WORLD, MatrixMultiply(MatrixScaling(20, 20, 1), MatrixTranslation(0, 0, 10)));
    DrawSubset(device, mesh, 0);
    return ReadBack().At(320, 240);
  };
  // N.L = 0.8; ambient = 0.5 * (0x40/255 + 0.2); diffuse = Cd * 0.5 * 0.8.
  const float ambient = 0.5f * (64.0f / 255.0f + 0.2f);
  const float expected[3] = {0.1f + ambient + 0.4f, ambient + 0.2f, ambient + 0.1f};
  const std::uint32_t plain = draw(false);
  ExpectColour(plain, static_cast<int>(std::lround(expected[0] * 255)),
               static_cast<int>(std::lround(expected[1] * 255)), static_cast<int>(std::lround(expected[2] * 255)),
               2);
  // With power 0 the specular term is the material's specular times the light's.
  const std::uint32_t shiny = draw(true);
  ExpectColour(shiny, static_cast<int>(std::lround(std::min(1.0f, expected[0] + 0.2f) * 255)),
               static_cast<int>(std::lround((expected[1] + 0.1f) * 255)),
               static_cast<int>(std::lround(expected[2] * 255)), 2);

  // A point light at the eye: all four corners are 30 away and see it at N.L = 1/3, so the
  // whole quad takes attenuation 1 / (0.5 + 0.01 * 30 + 0.001 * 900).
  Light bulb;
  bulb.Type = D3DLIGHT_POINT;
  bulb.Diffuse = {1, 1, 1, 0};
  bulb.Ambient = {0.2f, 0.2f, 0.2f, 0};
  bulb.Position = {0, 0, 0};
  bulb.Range = 1000;
  bulb.Attenuation0 = 0.5f;
  bulb.Attenuation1 = 0.01f;
  bulb.Attenuation2 = 0.001f;
  device->SetLight(0, bulb);
  device->LightEnable(1, false);
  const float attenuation = 1.0f / 1.7f;
  const float bulbAmbient = 0.5f * (64.0f / 255.0f + 0.2f * attenuation);
  const float lit = attenuation / 3.0f;
  ExpectColour(draw(false), static_cast<int>(std::lround((0.1f + bulbAmbient + lit) * 255)),
               static_cast<int>(std::lround((bulbAmbient + 0.5f * lit) * 255)),
               static_cast<int>(std::lround((bulbAmbient + 0.25f * lit) * 255)), 2);
  ReleaseMesh(mesh);
  World.EndFrame();
}

TEST_F(RenderTest, ColourKeyMakesWhiteTransparentBlackAndMipChainsHaveTheAskedLength) {
  TempFolder folder;
  std::vector<std::uint32_t> pixels(64 * 32, 0xFFFFFFFF);
  pixels[1] = 0xFFFF0000;
  WriteBmp24(folder.Path + "/Keyed.bmp", 64, 32, pixels);
  Texture* keyed = nullptr;
  TextureLoadOptions options;
  options.ColourKey = 0xFFFFFFFF;
  ASSERT_TRUE(CreateTextureFromFileEx(device, folder.Path + "\\keyed.BMP", options, &keyed));
  EXPECT_EQ(TextureWidth(keyed), 64);  // sizes come from the file, no power-of-two stretching
  EXPECT_EQ(TextureHeight(keyed), 32);
  EXPECT_EQ(TextureLevelCount(keyed), 7);
  std::vector<std::uint32_t> read;
  int w = 0, h = 0;
  ASSERT_TRUE(ReadTextureLevel(keyed, 0, read, w, h));
  EXPECT_EQ(read[0], 0x00000000u);
  EXPECT_EQ(read[1], 0xFFFF0000u);
  ReleaseTexture(keyed);

  Texture* plain = nullptr;
  ASSERT_TRUE(CreateTextureFromFile(device, folder.Path + "/Keyed.bmp", &plain));
  ASSERT_TRUE(ReadTextureLevel(plain, 0, read, w, h));
  EXPECT_EQ(read[0], 0xFFFFFFFFu);
  ReleaseTexture(plain);

  for (int asked : {1, 2, 4, 8, 20}) {
    Texture* t = nullptr;
    TextureLoadOptions o;
    o.MipLevels = static_cast<std::uint32_t>(asked);
    ASSERT_TRUE(CreateTextureFromFileEx(device, folder.Path + "/Keyed.bmp", o, &t));
    EXPECT_EQ(TextureLevelCount(t), std::min(asked, 7));
    ReleaseTexture(t);
  }
  Texture* missing = reinterpret_cast<Texture*>(1);
  EXPECT_FALSE(CreateTextureFromFile(device, folder.Path + "/none.bmp", &missing));
  EXPECT_EQ(missing, nullptr);
}

TEST_F(RenderTest, KeyedTexturesCutOutUnderTheAlphaTest) {
  TempFolder folder;
  std::vector<std::uint32_t> pixels(4, 0xFFFFFFFF);
  pixels[0] = pixels[1] = 0xFF00FF00;  // top row green, bottom row white
  WriteBmp24(folder.Path + "/half.bmp", 2, 2, pixels);
  Texture* t = nullptr;
  TextureLoadOptions options;
  options.MipLevels = 1;
  options.ColourKey = 0xFFFFFFFF;
  ASSERT_TRUE(CreateTextureFromFileEx(device, folder.Path + "/half.bmp", options, &t));
  device->SetRenderState(D3DRS_ALPHATESTENABLE, 1);
  device->SetRenderState(D3DRS_ALPHAREF, 8);
  device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
  device->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_POINT);
  World.BeginFrame(0xFF0000FF);
  device->SetTexture(0, t);
  DrawQuad(2, 0.5f, 0xFFFFFFFF);
  const Pixels p = ReadBack();
  ExpectColour(p.At(320, 200), 0, 255, 0);  // upper half: the green of the top row
  ExpectColour(p.At(320, 280), 0, 0, 255);  // lower half: keyed out, the clear colour shows
  device->SetTexture(0, nullptr);
  ReleaseTexture(t);
  World.EndFrame();
}

TEST_F(RenderTest, TextStartsAtTheRectangleTopLeftAndIgnoresItsBottom) {
  World.BeginFrame(0xFF000000);
  Text.SetFontHeight(24);
  ASSERT_NE(Text.CurrentFont, nullptr);
  Text.DrawTextAt(100, 50, 640, 10, 0xFFFFFFFF, -1, "H");  // bottom above top: still drawn
  const Pixels p = ReadBack();
  int minX = 9999, minY = 9999, maxY = -1, lit = 0;
  for (int y = 0; y < p.Height; ++y)
    for (int x = 0; x < p.Width; ++x)
      if ((p.At(x, y) & 0xFFFFFF) == 0xFFFFFF) {
        minX = std::min(minX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
        ++lit;
      }
  ASSERT_GT(lit, 0);
  // Monochrome: every pixel is either background or the full colour.
  for (std::uint32_t c : p.Data) EXPECT_TRUE((c & 0xFFFFFF) == 0 || (c & 0xFFFFFF) == 0xFFFFFF);
  EXPECT_GE(minX, 100);
  EXPECT_LT(minX, 100 + 6);
  EXPECT_GE(minY, 50);
  EXPECT_LT(maxY, 50 + 24);
  EXPECT_GT(maxY - minY, 10);  // a capital of a 24-pixel cell
  World.EndFrame();
}

TEST_F(RenderTest, FontsAreCachedPerHeight) {
  Text.SetFontHeight(19);
  Font* first = Text.CurrentFont;
  Text.SetFontHeight(60);
  EXPECT_NE(Text.CurrentFont, first);
  Text.SetFontHeight(19);
  EXPECT_EQ(Text.CurrentFont, first);
  EXPECT_EQ(FontCellHeight(first), 19);
}

TEST_F(RenderTest, MissingFontFaceShowsTheFontMessage) {
  BeginMessageBoxCapture();
  SetFontFamilyForTests("NoSuchFamilyAnywhere");
  Text.SetFontHeight(33);
  EXPECT_EQ(Text.CurrentFont, nullptr);
  Text.DrawTextAt(0, 0, 10, 10, 0xFFFFFFFF, -1, "still safe");
  SetFontFamilyForTests(nullptr);
  const auto boxes = CapturedMessageBoxes();
  EndMessageBoxCapture();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Text, "フォントオブジェクトの\n作成に失敗");
  EXPECT_EQ(boxes[0].Caption, "エラー！");
}

TEST_F(RenderTest, BinaryAndCompressedModelFilesLoadLikeText) {
  TempFolder folder;
  const std::vector<std::vector<float>> diffuse = {{1, 0.5f, 0.25f, 1}, {0, 1, 0, 0.5f}};
  const std::string text = QuadXFile(diffuse, 8, {0.2f, 0.1f, 0}, {0.1f, 0, 0});
  const std::string binary = QuadXFileBinary(diffuse, 8, {0.2f, 0.1f, 0}, {0.1f, 0, 0});
  const std::pair<const char*, std::string> files[] = {{"text.x", text},
                                                       {"binary.x", binary},
                                                       {"text_zip.x", CompressXFile(text)},
                                                       {"binary_zip.x", CompressXFile(binary)}};
  for (const auto& [name, bytes] : files) {
    WriteFile(folder.Path + "/" + name, bytes);
    std::vector<MeshMaterial> materials;
    Mesh* mesh = nullptr;
    ASSERT_TRUE(LoadMeshFromX(device, folder.Path + "/" + name, materials, &mesh)) << name;
    ASSERT_EQ(materials.size(), 2u) << name;
    EXPECT_EQ(MeshSubsetCount(mesh), 2u) << name;
    EXPECT_FLOAT_EQ(materials[0].Colours.Diffuse.G, 0.5f) << name;
    EXPECT_FLOAT_EQ(materials[1].Colours.Diffuse.A, 0.5f) << name;
    EXPECT_FLOAT_EQ(materials[0].Colours.Power, 8) << name;
    EXPECT_FLOAT_EQ(materials[0].Colours.Specular.R, 0.2f) << name;
    // The file's own left-handed coordinates come back unchanged.
    const std::vector<Vector3> positions = MeshPositions(mesh);
    ASSERT_FALSE(positions.empty()) << name;
    bool sawCorner = false;
    for (const Vector3& p : positions) sawCorner |= p.X == 1 && p.Y == 1 && p.Z == 0;
    EXPECT_TRUE(sawCorner) << name;
    ReleaseMesh(mesh);
  }
  std::vector<MeshMaterial> materials;
  Mesh* mesh = nullptr;
  WriteFile(folder.Path + "/cut.x", binary.substr(0, binary.size() / 2));
  EXPECT_FALSE(LoadMeshFromX(device, folder.Path + "/cut.x", materials, &mesh));
  EXPECT_EQ(mesh, nullptr);
  WriteFile(folder.Path + "/cut_zip.x", CompressXFile(text).substr(0, 60));
  EXPECT_FALSE(LoadMeshFromX(device, folder.Path + "/cut_zip.x", materials, &mesh));
  EXPECT_FALSE(LoadMeshFromX(device, folder.Path + "/none.x", materials, &mesh));
}

TEST_F(RenderTest, PlacedAndTurnedModelLandsWhereItsTransformProjects) {
  TempFolder folder;
  WriteFile(folder.Path + "/quad.x", QuadXFile({{1, 1, 1, 1}}, 0, {0, 0, 0}, {0, 0, 0}));
  std::vector<MeshMaterial> materials;
  Mesh* mesh = nullptr;
  ASSERT_TRUE(LoadMeshFromX(device, folder.Path + "/quad.x", materials, &mesh));
  MeshModel model;
  model.Model = mesh;
  model.Materials = {materials[0].Colours};
  model.MaterialCount = 1;
  const float offset[3] = {30, 0, 0};
  const float position[3] = {120, 80, 1000};
  for (float yaw : {0.0f, 8.0f, -20.0f}) {
    World.BeginFrame(0xFF000000);
    Models.SetModelTransform(20, offset, position, 3, yaw, 0, 0, 0);
    Models.DrawModel(model);
    // Where the centre should land: world, then view, then projection, on the CPU.
    const Matrix all = MatrixMultiply(MatrixMultiply(Models.WorldMatrix, World.ViewMatrix), World.ProjectionMatrix);
    const Vector3 ndc = TransformCoord({0, 0, 0}, all);
    const int x = static_cast<int>((ndc.X + 1) / 2 * 640), y = static_cast<int>((1 - ndc.Y) / 2 * 480);
    ASSERT_GT(x, 20);
    ASSERT_LT(x, 620);
    const Pixels p = ReadBack();
    EXPECT_EQ(p.At(x, y) & 0xFFFFFF, 0xFFFFFFu) << "yaw " << yaw;
    EXPECT_EQ(p.At(640 - x, y) & 0xFFFFFF, 0u) << "mirrored left and right, yaw " << yaw;
    EXPECT_EQ(p.At(x, 480 - y) & 0xFFFFFF, 0u) << "mirrored up and down, yaw " << yaw;
  }
  World.EndFrame();
  ReleaseMesh(mesh);
}

TEST_F(RenderTest, DrawsBetweenStateChangesKeepTheirOwnStates) {
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, 0);
  World.BeginFrame(0xFF000000);
  FanVertex quad[4];
  MakeQuad(quad, 0, 0.2f, 0.2f, 0xFFFF0000);
  device->SetTransform(D3DTS_WORLD, MatrixTranslation(-0.5f, 0, 2));
  device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, quad, sizeof(FanVertex));
  MakeQuad(quad, 0, 0.2f, 0.2f, 0x8000FF00);
  device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, quad, sizeof(FanVertex));  // same place, on top
  device->SetTransform(D3DTS_WORLD, MatrixTranslation(0.5f, 0, 2));
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
  device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, quad, sizeof(FanVertex));  // blended over black
  // A strip and a list of the same square above the middle, in blue.
  const FanVertex strip[4] = {{-0.1f, 0.3f, 0, 0xFF0000FF, 0, 0},
                              {0.1f, 0.3f, 0, 0xFF0000FF, 1, 0},
                              {-0.1f, 0.5f, 0, 0xFF0000FF, 0, 1},
                              {0.1f, 0.5f, 0, 0xFF0000FF, 1, 1}};
  const FanVertex list[6] = {strip[0], strip[1], strip[2], strip[1], strip[3], strip[2]};
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, 0);
  device->SetTransform(D3DTS_WORLD, MatrixTranslation(0, 0, 2));
  device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, strip, sizeof(FanVertex));
  device->SetTransform(D3DTS_WORLD, MatrixTranslation(0, -0.8f, 2));
  device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, list, sizeof(FanVertex));
  const Pixels p = ReadBack();
  const float unit = 240.0f / (2 * std::tan(22.5f * 0.017453292f));  // pixels per unit at depth 2
  const int left = static_cast<int>(320 - 0.5f * unit / 1.25f), right = static_cast<int>(320 + 0.5f * unit / 1.25f);
  ExpectColour(p.At(left, 240), 0, 255, 0);   // the later opaque draw wins
  ExpectColour(p.At(right, 240), 0, 128, 0);  // half-strength green over black
  ExpectColour(p.At(320, static_cast<int>(240 - 0.4f * unit)), 0, 0, 255);
  ExpectColour(p.At(320, static_cast<int>(240 + 0.4f * unit)), 0, 0, 255);
  ExpectColour(p.At(320, 240), 0, 0, 0);
  World.EndFrame();
}

TEST_F(RenderTest, LoadingLineReplacesTheScreenWithOneLineAtTheBottomLeft) {
  World.BeginFrame(0xFF3366AA);  // something to be replaced
  World.EndFrame();
  Text.SetFontHeight(19);
  Text.ShowLoadingLine("Now Loadind... %d％　テクスチャのロード中", 37);
  const Pixels p = ReadBack();
  int minX = 9999, minY = 9999, maxY = -1;
  for (int y = 0; y < p.Height; ++y)
    for (int x = 0; x < p.Width; ++x) {
      const std::uint32_t c = p.At(x, y) & 0xFFFFFF;
      ASSERT_TRUE(c == 0 || c == 0xFFFFFF) << x << "," << y;
      if (c == 0xFFFFFF) {
        minX = std::min(minX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
      }
    }
  EXPECT_GE(minX, 5);
  EXPECT_LT(minX, 12);
  EXPECT_GE(minY, 480 - 30);
  EXPECT_LT(maxY, 480 - 30 + 19);

  // The version sits in the bottom-right corner.
  World.BeginFrame(0xFF000000);
  Text.DrawVersion();
  const Pixels v = ReadBack();
  int lit = 0, outside = 0;
  for (int y = 0; y < v.Height; ++y)
    for (int x = 0; x < v.Width; ++x)
      if ((v.At(x, y) & 0xFFFFFF) == 0xFFFFFF) (x >= 640 - 70 && y >= 480 - 20 ? lit : outside)++;
  EXPECT_GT(lit, 20);
  EXPECT_EQ(outside, 0);
  World.EndFrame();
}

TEST_F(RenderTest, AppliedSettingsChooseTheMipFilterFromMipmapsAndTheirLevel) {
  const struct {
    std::uint8_t Use;
    std::uint32_t Level;
    std::uint32_t Filter;
  } cases[] = {{0, 1, D3DTEXF_NONE}, {1, 0, D3DTEXF_POINT}, {1, 1, D3DTEXF_LINEAR},
               {1, 4, D3DTEXF_POINT}, {1, 5, D3DTEXF_LINEAR}};
  const SettingsRecord saved = Settings;
  for (const auto& c : cases) {
    Settings.UseMipmaps = c.Use;
    Settings.MipmapLevel = c.Level;
    ApplySettings();
    EXPECT_EQ(device->GetTextureStageState(0, D3DTSS_MIPFILTER), c.Filter) << int(c.Use) << " " << c.Level;
  }
  Settings = saved;
}

TEST_F(RenderTest, DrawsUnderStatesSetAgainUnchangedGoOutTogether) {
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, 0);
  World.BeginFrame(0xFF000000);
  StartDrawRecords(device);
  FanVertex quad[4];
  MakeQuad(quad, 0, 0.1f, 0.1f, 0xFFFF0000);
  // Three squares, each with its format and transform set again as the game's sprites do.
  for (int i = 0; i < 3; ++i) {
    device->SetVertexShader(SceneVertexFormat);
    device->SetTransform(D3DTS_WORLD, MatrixTranslation(-0.5f, 0, 2));
    device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, quad, sizeof(FanVertex));
  }
  // A transform one step off is another transform: what follows goes out on its own.
  Matrix nudged = MatrixTranslation(-0.5f, 0, 2);
  nudged.M[3][0] = std::nextafter(-0.5f, 0.0f);
  device->SetTransform(D3DTS_WORLD, nudged);
  device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, quad, sizeof(FanVertex));
  device->SetTransform(D3DTS_WORLD, MatrixTranslation(0.5f, 0, 2));
  device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, quad, sizeof(FanVertex));
  const std::vector<DrawRecord> records = TakeDrawRecords(device);
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].Triangles, 6u);
  EXPECT_EQ(records[1].Triangles, 2u);
  const Pixels p = ReadBack();
  const float unit = 240.0f / (2 * std::tan(22.5f * 0.017453292f));
  ExpectColour(p.At(static_cast<int>(320 - 0.5f * unit), 240), 255, 0, 0);
  ExpectColour(p.At(static_cast<int>(320 + 0.5f * unit), 240), 255, 0, 0);
  World.EndFrame();
}

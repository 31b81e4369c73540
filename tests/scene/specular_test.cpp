// The weapon's highlight: a light adds specular only where it falls on the front of the surface.
#include <cstdio>
#include <fstream>

#include "platform/render/mesh.h"
#include "platform/render/render_device.h"
#include "scene/scene_fixture.h"
#include "world/game_world.h"

namespace scene_test {
namespace {

// A black, fully specular quad facing the camera (normal towards it), corners at +-1.
const char* const ShinyQuad =
    "xof 0302txt 0064\n"
    "Material Shiny {\n 0.0;0.0;0.0;1.0;;\n 1.0;\n 1.0;1.0;1.0;;\n 0.0;0.0;0.0;;\n}\n"
    "Mesh Quad {\n 4;\n -1.0;-1.0;0.0;,\n 1.0;-1.0;0.0;,\n 1.0;1.0;0.0;,\n -1.0;1.0;0.0;;\n"
    " 2;\n 3;0,3,2;,\n 3;0,2,1;;\n"
    " MeshNormals {\n  4;\n  0.0;0.0;-1.0;,\n  0.0;0.0;-1.0;,\n  0.0;0.0;-1.0;,\n  0.0;0.0;-1.0;;\n"
    "  2;\n  3;0,3,2;,\n  3;0,2,1;;\n }\n"
    " MeshMaterialList {\n  1;\n  2;\n  0,\n  0;\n  {Shiny}\n }\n}\n";

TEST(SpecularTest, ALightBehindTheSurfaceAddsNoHighlight) {
  EnsureDevice();
  RenderDevice* device = World.Device;
  const std::string path = "/tmp/korvid_scene_shiny.x";
  {
    std::ofstream out(path);
    out << ShinyQuad;
  }
  std::vector<MeshMaterial> materials;
  Mesh* mesh = nullptr;
  ASSERT_TRUE(LoadMeshFromX(device, path, materials, &mesh));
  std::remove(path.c_str());

  auto centreWithLightTravelling = [&](float dx, float dz) {
    Light light;
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Specular = {1, 1, 1, 0};
    light.Direction = {dx, 0, dz};
    device->SetLight(0, light);
    device->LightEnable(0, true);
    device->LightEnable(1, false);
    device->SetRenderState(D3DRS_AMBIENT, 0);
    device->SetRenderState(D3DRS_LIGHTING, 1);
    device->SetRenderState(D3DRS_SPECULARENABLE, 1);
    device->SetRenderState(D3DRS_FOGENABLE, 0);
    device->SetRenderState(D3DRS_ALPHATESTENABLE, 0);
    EXPECT_TRUE(World.BeginFrame(0xFF000000));
    device->SetTransform(D3DTS_WORLD, MatrixTranslation(0, 0, 10));
    device->SetMaterial(materials[0].Colours);
    device->SetTexture(0, nullptr);
    DrawSubset(device, mesh, 0);
    const std::uint32_t c = ReadBack().At(320, 240);
    World.EndFrame();
    return Red(c);
  };
  // From in front and to the side: a highlight. From behind at the same slant: none.
  EXPECT_GT(centreWithLightTravelling(0.5f, 1), 40);
  EXPECT_EQ(centreWithLightTravelling(0.5f, -1), 0);
  ReleaseMesh(mesh);
  World.ApplyViewSettings();
  World.ApplyRenderStates();
}

}  // namespace
}  // namespace scene_test

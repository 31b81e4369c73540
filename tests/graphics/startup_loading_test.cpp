// Start-up loading: progress line, catalogue, models, camera and text panels.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "graphics/mesh_models.h"
#include "graphics/screen_pictures.h"
#include "graphics/text_renderer.h"
#include "graphics/texture_catalogue.h"
#include "graphics_fixture.h"
#include "persist/settings_record.h"
#include "platform/message_box.h"
#include "platform/render/mesh.h"
#include "platform/clock.h"
#include "platform/render/render_device.h"
#include "platform/render/texture.h"
#include "scene/text_panels.h"
#include "world/game_world.h"

namespace {

class LoadingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureDevice();
    ASSERT_NE(World.Device, nullptr);
    WriteMiniPack(folder.Path);
    char here[4096];
    ASSERT_NE(getcwd(here, sizeof here), nullptr);
    previous = here;
    ASSERT_EQ(chdir(folder.Path.c_str()), 0);
    Text.LoadingLineLog = &lines;
    World.LoadPercent = 0;
    BeginMessageBoxCapture();
  }

  void TearDown() override {
    EndMessageBoxCapture();
    Text.LoadingLineLog = nullptr;
    for (Texture*& t : World.Textures) {
      ReleaseTexture(t);
      t = nullptr;
    }
    Models.ReleaseModels();
    if (!previous.empty()) {
      EXPECT_EQ(chdir(previous.c_str()), 0);
    }
  }

  // Start-up steps 8 to 10: the font, the loading line, the textures, the models.
  bool LoadLikeStartUp() {
    Text.CreateBaseFont();
    Text.SetFontHeight(19);
    Text.ShowLoadingLine("Now Loadind... %d％　テクスチャのロード中", static_cast<int>(World.LoadPercent));
    if (!World.LoadTextures()) return false;
    Text.ShowLoadingLine("Now Loadind... %d％　Xファイルのロード中", static_cast<int>(World.LoadPercent));
    return Models.LoadModels();
  }

  std::vector<int> PercentsOf(const char* what) const {
    std::vector<int> out;
    for (const std::string& line : lines) {
      if (line.find(what) == std::string::npos) continue;
      int value = -1;
      std::sscanf(line.c_str(), "Now Loadind... %d", &value);
      out.push_back(value);
    }
    return out;
  }

  TempFolder folder;
  std::string previous;
  std::vector<std::string> lines;
};

}  // namespace

TEST_F(LoadingTest, LoadingLinesAreShownOnlyWhenTheyChangeAndAtMostOncePerInterval) {
  Text.CreateBaseFont();
  Text.SetFontHeight(19);
  TestClock clock;
  clock.Now = 5000;
  InstallTestClock(&clock);
  RenderDevice* device = World.Device;
  const std::uint32_t start = device->PresentCount;
  const char* sound = "Now Loadind... %d％　サウンドのロード中";
  Text.ShowLoadingLine(sound, 73);
  Text.ShowLoadingLine(sound, 73);
  EXPECT_EQ(device->PresentCount, start + 1) << "the same picture again";
  clock.Now += TextRenderer::LoadingLineInterval - 1;
  Text.ShowLoadingLine(sound, 74);
  EXPECT_EQ(device->PresentCount, start + 1) << "a new percentage within the interval";
  Text.ShowLoadingLine("Now Loadind... %d％　ミュージックをロード中", 74);
  EXPECT_EQ(device->PresentCount, start + 2) << "a new phase shows at once";
  clock.Now += TextRenderer::LoadingLineInterval;
  Text.ShowLoadingLine("Now Loadind... %d％　ミュージックをロード中", 76);
  EXPECT_EQ(device->PresentCount, start + 3);
  // Once anything else was shown, the same line is drawn again.
  device->Present();
  Text.ShowLoadingLine("Now Loadind... %d％　ミュージックをロード中", 76);
  EXPECT_EQ(device->PresentCount, start + 5);
  InstallTestClock(nullptr);
  // Every call still reaches the log.
  EXPECT_EQ(lines.size(), 6u);
}

TEST_F(LoadingTest, ProgressCountsFiftyOverTheTexturesAndTwentyOverTheModels) {
  ASSERT_TRUE(LoadLikeStartUp());
  const std::vector<int> textures = PercentsOf("テクスチャのロード中");
  ASSERT_EQ(textures.size(), 55u);  // the opening line and one before each of the 54 loads
  EXPECT_EQ(textures.front(), 0);
  EXPECT_EQ(textures[1], 0);
  EXPECT_EQ(textures.back(), 50);
  for (int twice : {12, 25, 37})
    EXPECT_EQ(std::count(textures.begin(), textures.end(), twice), 2) << twice;
  for (std::size_t i = 1; i < textures.size(); ++i) EXPECT_GE(textures[i], textures[i - 1]);

  const std::vector<int> models = PercentsOf("Xファイルのロード中");
  ASSERT_EQ(models.size(), 8u);
  EXPECT_EQ(models.front(), 50);
  EXPECT_EQ(models[1], 52);
  EXPECT_EQ(models.back(), 70);
  EXPECT_NEAR(World.LoadPercent, 70.0f, 1e-3f);
  // Every picture was read; those only other screens than the title show wait for them.
  for (int slot = 0; slot < TextureCount; ++slot)
    EXPECT_EQ(World.Textures[slot] != nullptr, UploadedAtStartUp(slot)) << slot;
  EXPECT_EQ(World.Textures[TexRecord], nullptr);
  EXPECT_NE(World.Textures[TexTitleBack], nullptr);
  EXPECT_TRUE(CapturedMessageBoxes().empty());
}

TEST_F(LoadingTest, KeyedCatalogueSlotsLoseTheirWhiteButTheBlankStaysOpaque) {
  ASSERT_TRUE(LoadLikeStartUp());
  std::vector<std::uint32_t> pixels;
  int w = 0, h = 0;
  ASSERT_TRUE(ReadTextureLevel(World.Textures[TexBlank], 0, pixels, w, h));
  EXPECT_EQ(pixels[5], 0xFFFFFFFFu);
  ASSERT_TRUE(ReadTextureLevel(World.Textures[TexBlankKeyed], 0, pixels, w, h));
  EXPECT_EQ(pixels[5], 0u);
  EXPECT_EQ(pixels[0], 0xFFFF0000u);  // the red corner stays
  ASSERT_TRUE(ReadTextureLevel(World.Textures[TexSmoke1], 0, pixels, w, h));
  EXPECT_EQ(pixels[5], 0u);
  // Model pictures: only the tree is keyed.
  ASSERT_EQ(Models.Tree.Textures.size(), Models.Tree.MaterialCount);
  ASSERT_TRUE(ReadTextureLevel(Models.Tree.Textures[0], 0, pixels, w, h));
  EXPECT_EQ(pixels[5], 0u);
  ASSERT_TRUE(ReadTextureLevel(Models.Ball.Textures[0], 0, pixels, w, h));
  EXPECT_EQ(pixels[5], 0xFFFFFFFFu);
}

TEST_F(LoadingTest, MipLevelSettingShortensOnlyTheGroundWallSkyAndSmoke) {
  const int expected[6] = {2, 2, 4, 4, 8, 8};
  for (int level = 0; level < 6; ++level) {
    Settings.MipmapLevel = static_cast<std::uint32_t>(level);
    Settings.ValidateSettings();
    ASSERT_EQ(Settings.MipLevelCount, expected[level]);
    World.LoadPercent = 0;
    ASSERT_TRUE(World.LoadTextures());
    for (int slot : {TexSky, TexGround, TexWall, TexSmoke1, TexSmoke8})
      EXPECT_EQ(TextureLevelCount(World.Textures[slot]), expected[level]) << slot;
    // 16 x 16: the full chain for the shot, which the scene may minify; pictures drawn on the
    // screen's plane keep their first level only.
    EXPECT_EQ(TextureLevelCount(World.Textures[TexShot]), 5);
    for (int slot : {TexTitle, TexBlank, TexBlankKeyed, TexScope, TexOperation3, TexWeaponName3})
      EXPECT_EQ(TextureLevelCount(World.SlotTexture(slot)), 1) << slot;
    for (Texture*& t : World.Textures) {
      ReleaseTexture(t);
      t = nullptr;
    }
  }
  Settings.MipLevelCount = 4;
}

TEST_F(LoadingTest, MissingSmokeFrameStopsAfterFortyNineTexturesNamingIt) {
  ASSERT_EQ(std::remove((folder.Path + "/File/Bitmap/Smoke/Smoke04.bmp").c_str()), 0);
  EXPECT_FALSE(LoadLikeStartUp());
  for (int slot = 0; slot < 49; ++slot) EXPECT_EQ(World.Textures[slot] != nullptr, UploadedAtStartUp(slot)) << slot;
  for (int slot = 49; slot < TextureCount; ++slot) EXPECT_EQ(World.Textures[slot], nullptr) << slot;
  const auto& boxes = CapturedMessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Text, "以下のファイルが見つかりません。\nFile\\Bitmap\\Smoke\\Smoke04.bmp\nロードに失敗しました。");
  EXPECT_EQ(boxes[0].Caption, "ファイルロードエラー");
  EXPECT_TRUE(PercentsOf("Xファイルのロード中").empty());
}

TEST_F(LoadingTest, PicturesPreparedAheadFailAtTheirOwnTurnAndFollowTheMipSetting) {
  // Start-up stopped before the textures: the helper is joined and a later load starts afresh.
  BeginTexturePreparation(Settings.MipLevelCount);
  EndTexturePreparation();
  ASSERT_EQ(std::remove((folder.Path + "/File/Bitmap/Smoke/Smoke04.bmp").c_str()), 0);
  BeginTexturePreparation(Settings.MipLevelCount);
  EXPECT_FALSE(LoadLikeStartUp());
  EXPECT_NE(World.Textures[48], nullptr);
  EXPECT_EQ(World.Textures[49], nullptr);
  ASSERT_EQ(CapturedMessageBoxes().size(), 1u);
  EXPECT_NE(CapturedMessageBoxes()[0].Text.find("Smoke04.bmp"), std::string::npos);

  // Preparing ahead for another mip setting than the one loaded is redone, not used.
  for (Texture*& t : World.Textures) {
    ReleaseTexture(t);
    t = nullptr;
  }
  WriteMiniPack(folder.Path);
  const int setting = Settings.MipLevelCount;
  BeginTexturePreparation(setting == 2 ? 8 : 2);
  World.LoadPercent = 0;
  ASSERT_TRUE(World.LoadTextures());
  EXPECT_EQ(TextureLevelCount(World.Textures[TexSky]), setting);
}

TEST_F(LoadingTest, DamagedTitlePictureStopsAtTheFirstTexture) {
  const std::string path = folder.Path + "/File/Bitmap/Title.dds";
  const std::string bytes = ReadFile(path);
  WriteFile(path, bytes.substr(0, bytes.size() / 2));
  EXPECT_FALSE(LoadLikeStartUp());
  EXPECT_EQ(World.Textures[0], nullptr);
  ASSERT_EQ(CapturedMessageBoxes().size(), 1u);
  EXPECT_NE(CapturedMessageBoxes()[0].Text.find("File\\Bitmap\\Title.dds"), std::string::npos);
}

TEST_F(LoadingTest, LongPathsShowWhole) {
  const std::string path(300, 'x');
  ReportMissingFile(path);
  ASSERT_EQ(CapturedMessageBoxes().size(), 1u);
  EXPECT_NE(CapturedMessageBoxes()[0].Text.find(path + "\nロードに失敗しました。"), std::string::npos);
}

TEST_F(LoadingTest, MissingBallPictureStillStartsWithAnUntexturedBall) {
  ASSERT_EQ(std::remove((folder.Path + "/File/XFile/Texture/Ball.bmp").c_str()), 0);
  ASSERT_TRUE(LoadLikeStartUp());
  ASSERT_EQ(Models.Ball.MaterialCount, 2u);
  EXPECT_EQ(Models.Ball.Textures[0], nullptr);
  EXPECT_EQ(Models.Ball.Textures[1], nullptr);
  EXPECT_TRUE(CapturedMessageBoxes().empty());
  // Every material of a model gets the model's one picture, whatever the file names.
  EXPECT_NE(Models.Weapons[0].Textures[0], nullptr);
  EXPECT_NE(Models.Weapons[0].Textures[1], nullptr);
  EXPECT_TRUE(Models.Hand.Textures.empty());
  EXPECT_EQ(Models.Hand.Materials.size(), 2u);
}

TEST_F(LoadingTest, MissingHandModelStopsSilently) {
  ASSERT_EQ(std::remove((folder.Path + "/File/XFile/Hand.x").c_str()), 0);
  EXPECT_FALSE(LoadLikeStartUp());
  EXPECT_TRUE(CapturedMessageBoxes().empty());
  EXPECT_EQ(PercentsOf("Xファイルのロード中").size(), 5u);  // opening line and four steps
}

// The file that crashed the former model library at start-up: a material list with no material
// just before a skin; refused, it stops start-up as a missing ball model would.
TEST_F(LoadingTest, DamagedBallModelStopsSilentlyLikeAMissingOne) {
  const std::string damaged =
      ReadFile(std::string(KORVID_TEST_SOURCE_DIR) + "/tests/fuzz/corpus/model/garbled_material_list_before_skin_weights.x");
  ASSERT_FALSE(damaged.empty());
  ASSERT_TRUE(WriteFile(folder.Path + "/File/XFile/Ball.x", damaged));
  EXPECT_FALSE(LoadLikeStartUp());
  EXPECT_TRUE(CapturedMessageBoxes().empty());
  EXPECT_EQ(PercentsOf("Xファイルのロード中").size(), 7u);  // opening line and six steps
}

TEST_F(LoadingTest, ModelTransformAppliesSpinsScaleOffsetPositionThenView) {
  const float offset[3] = {10, 0, 0};
  const float position[3] = {0, 0, 100};
  // (1,0,0): spinY 90 -> (0,0,-1); scale 2 -> (0,0,-2); offset -> (10,0,-2); position ->
  // (10,0,98); yaw 90 -> (98,0,-10); pitch 0.
  const Matrix m = ComposeModelMatrix(2, offset, position, 0, 90, 0, 90, 0);
  const Vector3 p = TransformCoord({1, 0, 0}, m);
  EXPECT_NEAR(p.X, 98, 1e-3);
  EXPECT_NEAR(p.Y, 0, 1e-3);
  EXPECT_NEAR(p.Z, -10, 1e-3);
  // spinX, then spinY, then spinX2: (0,1,0) under X 90 -> (0,0,1); Y 90 -> (1,0,0); X2 keeps it.
  const float none[3] = {0, 0, 0};
  const Vector3 q = TransformCoord({0, 1, 0}, ComposeModelMatrix(1, none, none, 0, 0, 90, 90, 90));
  EXPECT_NEAR(q.X, 1, 1e-5);
  EXPECT_NEAR(q.Y, 0, 1e-5);
  EXPECT_NEAR(q.Z, 0, 1e-5);
  // Pitch turns last, about the camera: (0,0,10) pitched 90 -> (0,-10,0).
  const Vector3 r = TransformCoord({0, 0, 0}, ComposeModelMatrix(1, none, position, 90, 0, 0, 0, 0));
  EXPECT_NEAR(r.Y, -100, 1e-3);
  EXPECT_NEAR(r.Z, 0, 1e-3);
  Models.SetModelTransform(2, offset, position, 0, 90, 0, 90, 0);
  const Vector3 onDevice = TransformCoord({1, 0, 0}, World.Device->GetTransform(D3DTS_WORLD));
  EXPECT_NEAR(onDevice.X, 98, 1e-3);
}

TEST_F(LoadingTest, CameraKeepsAspectAndPicksTheFarPlaneByFog) {
  for (std::uint32_t fog : {0u, 1u}) {
    Settings.UseFog = fog;
    World.SetupCamera(45);
    const double far = fog ? 140000.0 : 149500.0;
    const Matrix& p = World.ProjectionMatrix;
    // Depth = M22 + M32 / z, so the far plane is M32 / (1 - M22) (a 1% read in float).
    EXPECT_NEAR(p.M[3][2] / (1.0 - p.M[2][2]), far, far * 0.01);
    EXPECT_NEAR(TransformCoord({0, 0, 1.24f}, p).Z, 0.0f, 1e-5);
    EXPECT_FLOAT_EQ(p.M[1][1] / p.M[0][0], 1.25f);
  }
  // A point on the edge of the 45-degree view lands on the screen edge at any back buffer size.
  const float t = std::tan(22.5f * 0.017453292f);
  for (int size : {0, 1, 2, 7}) {
    const int widths[8] = {320, 512, 640, 800, 1024, 1152, 1280, 1600};
    const int heights[8] = {240, 384, 480, 600, 768, 864, 1024, 1200};
    Settings.ScreenWidth = widths[size];
    Settings.ScreenHeight = heights[size];
    ASSERT_TRUE(World.ResetDisplay(0));
    EXPECT_EQ(World.Device->BackBufferWidth(), widths[size]);
    const Vector3 edge = TransformCoord({100 * t * 1.25f, 100 * t, 100}, World.ProjectionMatrix);
    EXPECT_NEAR(edge.X, 1.0f, 1e-4);
    EXPECT_NEAR(edge.Y, 1.0f, 1e-4);
  }
  Settings.ScreenWidth = 640;
  Settings.ScreenHeight = 480;
  ASSERT_TRUE(World.ResetDisplay(0));
  World.SetupCamera(15);
  EXPECT_NEAR(World.ProjectionMatrix.M[1][1], 1.0f / std::tan(7.5f * 0.017453292f), 1e-3);
}

TEST_F(LoadingTest, PanelsHaveRaisedSidesAndTheFpsPanelIsOutlinedInWhite) {
  EXPECT_EQ(PanelSide(171), 256);
  EXPECT_EQ(PanelSide(2), 2);
  EXPECT_EQ(PanelSide(1), 2);
  EXPECT_EQ(PanelSide(3000), 3000);
  EXPECT_EQ(PanelSide(2048), 2048);
  ASSERT_TRUE(World.LoadTextures());
  ASSERT_NE(World.TextPanels[PanelAmmo], nullptr);
  EXPECT_EQ(TextureWidth(World.TextPanels[PanelAmmo]), 256);
  EXPECT_EQ(TextureHeight(World.TextPanels[PanelAmmo]), 128);
  EXPECT_EQ(TextureWidth(World.TextPanels[PanelHealth]), 128);
  EXPECT_EQ(TextureHeight(World.TextPanels[PanelHealth]), 32);
  EXPECT_EQ(TextureWidth(World.TextPanels[7]), 512);
  EXPECT_EQ(TextureHeight(World.TextPanels[16]), 128);

  Texture* const before = World.Device->GetRenderTarget();
  World.RenderTextPanel(1, PanelFps, 50, 4, 0, 0, 8, "", 24, TexFps, 0xFF000000);
  EXPECT_EQ(World.Device->GetRenderTarget(), before);
  EXPECT_EQ(World.Device->GetRenderState(D3DRS_ALPHABLENDENABLE), 1u);
  std::vector<std::uint32_t> pixels;
  int w = 0, h = 0;
  ASSERT_TRUE(ReadTextureLevel(World.TextPanels[PanelFps], 0, pixels, w, h));
  int blackMinX = 999, whiteMinX = 999, blackMinY = 999, whiteMinY = 999, whiteMaxX = -1, blackMaxX = -1;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const std::uint32_t c = pixels[static_cast<std::size_t>(y) * w + x];
      if (c == 0xFF000000) {
        blackMinX = std::min(blackMinX, x);
        blackMaxX = std::max(blackMaxX, x);
        blackMinY = std::min(blackMinY, y);
      } else if (c == 0xFFFFFFFF && y > 0) {
        whiteMinX = std::min(whiteMinX, x);
        whiteMaxX = std::max(whiteMaxX, x);
        whiteMinY = std::min(whiteMinY, y);
      }
    }
  ASSERT_LT(blackMinX, 999) << "the number is drawn";
  EXPECT_GE(blackMinX, 50);
  EXPECT_EQ(whiteMinX, blackMinX - 2);  // the outline reaches two pixels left and above
  EXPECT_EQ(whiteMinY, blackMinY - 2);
  EXPECT_EQ(whiteMaxX, blackMaxX + 2);  // and two right of the doubled text
  EXPECT_EQ(pixels[static_cast<std::size_t>(h - 1) * w + w - 1], 0u);  // transparent where nothing is drawn
  EXPECT_EQ(pixels[0], 0xFF336699u);  // the background picture from the top-left corner

  // Texts are drawn as given, never read as a format.
  World.RenderTextPanel(2, 4, 0, 0, 0, 0, 0, "%s%n%d", 28, TexBlankKeyed, 0xFFFFFFFF);
  ASSERT_TRUE(ReadTextureLevel(World.TextPanels[4], 0, pixels, w, h));
  EXPECT_GT(std::count(pixels.begin(), pixels.end(), 0xFFFFFFFFu), 20);
}

TEST_F(LoadingTest, PanelsAreEmptyAfterADisplayResetUntilRenderedAgain) {
  ASSERT_TRUE(World.LoadTextures());
  World.RenderTextPanel(1, PanelHealth, 5, 0, 0, 0, 999, "", 35, TexHpPanel, 0xFFFFFFFF);
  std::vector<std::uint32_t> pixels;
  int w = 0, h = 0;
  ASSERT_TRUE(ReadTextureLevel(World.TextPanels[PanelHealth], 0, pixels, w, h));
  EXPECT_GT(std::count_if(pixels.begin(), pixels.end(), [](std::uint32_t c) { return c != 0; }), 0);
  ASSERT_TRUE(World.ResetDisplay(0));
  ASSERT_NE(World.TextPanels[PanelHealth], nullptr);
  ASSERT_NE(World.PanelSprite, nullptr);
  ASSERT_TRUE(ReadTextureLevel(World.TextPanels[PanelHealth], 0, pixels, w, h));
  EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 0u), static_cast<long>(pixels.size()));
  EXPECT_EQ(World.Device->GetTextureStageState(0, D3DTSS_MIPFILTER), D3DTEXF_LINEAR);
}

TEST_F(LoadingTest, FpsPanelRedrawsOnlyWhenShownAndChanged) {
  ASSERT_TRUE(World.LoadTextures());
  Settings.ShowFps = 0;
  World.ShownFps = 0;
  World.Fps = 60;
  World.UpdateFpsTexture();
  EXPECT_EQ(World.ShownFps, 0.0f);
  Settings.ShowFps = 1;
  World.UpdateFpsTexture();
  EXPECT_EQ(World.ShownFps, 60.0f);
  Settings.ShowFps = 0;
}

TEST_F(LoadingTest, ScreenPicturesComeWithTheirScreenAndGoWhenItIsLeft) {
  ASSERT_TRUE(LoadLikeStartUp());
  Texture* const blank = World.Textures[TexBlank];
  World.KeepScreenPicturesFor(StateRanking);
  EXPECT_NE(World.Textures[TexRecord], nullptr);
  EXPECT_EQ(World.Textures[TexTitle], nullptr);
  EXPECT_EQ(World.Textures[TexTitleBack], nullptr);
  // One picture a step, so a transition's noise keeps moving while a screen's pages load.
  World.KeepScreenPicturesFor(StateOperation);
  EXPECT_EQ(World.Textures[TexRecord], nullptr);
  EXPECT_NE(World.Textures[TexOperation1], nullptr);
  EXPECT_EQ(World.Textures[TexOperation3], nullptr);
  World.KeepScreenPicturesFor(StateOperation);
  World.KeepScreenPicturesFor(StateOperation);
  for (int page : {TexOperation1, TexOperation2, TexOperation3}) EXPECT_NE(World.Textures[page], nullptr) << page;
  World.KeepScreenPicturesFor(StatePlay);
  for (int slot = 0; slot < TextureCount; ++slot)
    EXPECT_EQ(World.Textures[slot] != nullptr, !IsScreenPicture(slot)) << slot;
  EXPECT_EQ(World.Textures[TexBlank], blank) << "only screen pictures come and go";

  // Drawn before its screen's first step, the page is loaded there and then.
  const auto creditsCentre = [] {
    EXPECT_TRUE(World.DrawCredits());
    const Pixels p = ReadBack();
    return p.At(p.Width / 4, p.Height * 3 / 4) & 0xFFFFFF;
  };
  EXPECT_EQ(creditsCentre(), 0xFFFFFFu);
  EXPECT_TRUE(CapturedMessageBoxes().empty());

  // A picture gone since start-up is told once; its screen shows without it.
  World.KeepScreenPicturesFor(StatePlay);
  ASSERT_EQ(std::remove((folder.Path + "/File/Bitmap/Credit.bmp").c_str()), 0);
  World.KeepScreenPicturesFor(StateCredits);
  EXPECT_EQ(creditsCentre(), 0x141414u);
  World.KeepScreenPicturesFor(StateCredits);
  ASSERT_EQ(CapturedMessageBoxes().size(), 1u);
  EXPECT_EQ(CapturedMessageBoxes()[0].Text, "以下のファイルが見つかりません。\nFile\\Bitmap\\Credit.bmp\nロードに失敗しました。");
}

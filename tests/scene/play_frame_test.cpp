// The play frame on screen: display switches, overlays, status placement, mip filtering.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/app_globals.h"
#include "app/scene_steps.h"
#include "app/window_procedure.h"
#include "graphics/mesh_models.h"
#include "graphics/screen_pictures.h"
#include "persist/settings_record.h"
#include "platform/render/render_device.h"
#include "platform/render/texture.h"
#include "scene/play_scene.h"
#include "scene/scene_fixture.h"
#include "world/game_world.h"

namespace scene_test {
namespace {

class PlayFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureDevice();
    UseTestPictures();
    QuietMatch();
  }

  // Something of every kind in front of the eye (which sits at y 230, looking along +z).
  static void Populate() {
    WorldObject& enemy = World.Enemies[17];  // beyond a small EnemyCount, still drawn when active
    enemy.Active = 1;
    enemy.X = -120;
    enemy.Y = 230;
    enemy.Z = 700;
    enemy.AngleX = 30;
    for (int i = 0; i < 3; ++i) {
      World.Shots[i].Active = 1;
      for (SceneVertex& v : World.ShotMeshes[i]) {
        v.X += 60.0f * static_cast<float>(i);
        v.Y += 217;
        v.Z += 400;
      }
    }
    World.Trees[0].Active = 1;
    World.Trees[0].X = 1500;
    World.Trees[0].Z = 5000;
  }

  static void Depopulate() {
    for (WorldObject& e : World.Enemies) e.Active = 0;
    for (WorldObject& s : World.Shots) s.Active = 0;
    for (WorldObject& t : World.Trees) t.Active = 0;
  }
};

TEST_F(PlayFrameTest, SwitchesOffLeaveOnlySkyArenaAndEffects) {
  Populate();
  const Pixels populated = DrawFrame();
  Depopulate();
  const Pixels empty = DrawFrame();
  EXPECT_EQ(populated.Differences(empty), 0);
  // The sky model and the arena walls are there all the same.
  const std::uint32_t centre = empty.At(320, 200) & 0xFFFFFF;
  EXPECT_NE(centre, 0xCCCCDDu) << std::hex << centre;
}

struct SwitchCase {
  const char* Name;
  std::uint32_t SettingsRecord::*Field;
};

TEST_F(PlayFrameTest, EachSwitchShowsItsOwnPart) {
  const SwitchCase cases[] = {
      {"ShowSelf", &SettingsRecord::ShowSelf},         {"ShowGun", &SettingsRecord::ShowGun},
      {"ShowEnemies", &SettingsRecord::ShowEnemies},   {"ShowBullets", &SettingsRecord::ShowBullets},
      {"ShowTrees", &SettingsRecord::ShowTrees},       {"ShowAimCursor", &SettingsRecord::ShowAimCursor},
      {"ShowStatus", &SettingsRecord::ShowStatus},     {"ShowPosition", &SettingsRecord::ShowPosition},
      {"ShowEnemyInfo", &SettingsRecord::ShowEnemyInfo},
  };
  World.Textures[TexCursor1] = SolidTexture(0xFFFFFF00);
  World.Textures[TexWindow] = SolidTexture(0xFF8000FF);
  Populate();
  const Pixels none = DrawFrame();
  for (const SwitchCase& c : cases) {
    Settings.*c.Field = 1;
    const Pixels shown = DrawFrame();
    Settings.*c.Field = 0;
    EXPECT_GT(shown.Differences(none), 20) << c.Name;
  }
}

TEST_F(PlayFrameTest, FogTakesHoldFromTheSecondFrameAndStaysUntilSwitchedOff) {
  const Pixels clear = DrawFrame();
  Settings.UseFog = 1;
  const Pixels first = DrawFrame();
  const Pixels second = DrawFrame();
  Settings.UseFog = 0;
  const Pixels kept = DrawFrame();
  EXPECT_EQ(first.Differences(clear), 0);
  EXPECT_GT(second.Differences(clear), 1000);
  EXPECT_EQ(kept.Differences(second), 0);
  // The end of a match switches it off. It saves the ranking too: in a scratch folder.
  const std::filesystem::path home = std::filesystem::current_path();
  char scratch[] = "/tmp/korvid_fog_XXXXXX";
  ASSERT_NE(mkdtemp(scratch), nullptr);
  std::filesystem::current_path(scratch);
  Settings.WindowMode = 1;
  World.FinishMatch();
  std::filesystem::current_path(home);
  std::filesystem::remove_all(scratch);
  EXPECT_EQ(DrawFrame().Differences(clear), 0);
}

TEST_F(PlayFrameTest, CursorHidesUnderTheScope) {
  World.Textures[TexCursor1] = SolidTexture(0xFFFFFF00);
  World.ScopeOn = 1;
  World.SetScope(1);
  World.FlashActive = 0;
  const Pixels scoped = DrawFrame();
  Settings.ShowAimCursor = 1;
  EXPECT_EQ(DrawFrame().Differences(scoped), 0);
  World.ScopeOn = 0;
  World.SetScope(0);
  World.FlashActive = 0;
  const Pixels cursor = DrawFrame();
  const Box box = BoundsOf(cursor, [](std::uint32_t c) { return (c & 0xFFFFFF) == 0xFFFF00; });
  ASSERT_FALSE(box.Empty());
  // Centred, about three per cent of the width.
  EXPECT_NEAR((box.Left + box.Right) / 2.0, 320, 2);
  EXPECT_NEAR((box.Top + box.Bottom) / 2.0, 240, 2);
  EXPECT_NEAR(box.Right - box.Left + 1, 0.04 / 1.346 * 640, 2);
}

TEST_F(PlayFrameTest, FrameCounterHidesWhileThePositionIsShown) {
  const Pixels none = DrawFrame();
  Settings.ShowFps = 1;
  World.Fps = 61;
  EXPECT_GT(DrawFrame().Differences(none), 20);
  Settings.ShowFps = 0;
  Settings.ShowPosition = 1;
  const Pixels position = DrawFrame();
  Settings.ShowFps = 1;
  EXPECT_EQ(DrawFrame().Differences(position), 0);
}

TEST_F(PlayFrameTest, InvisibleColoursDrawNothing) {
  World.Textures[TexCursor1] = SolidTexture(0xFFFFFF00);
  const Pixels plain = DrawFrame();
  // A flash level of 256 masks to alpha 0; the same for every kind but the death fade. Each
  // kind fades by its own step a frame.
  const struct {
    int Kind;
    float After;
  } flashes[] = {{FlashDamage, 255.0f}, {FlashZoom, 253.0f}, {FlashFadeIn, 255.5f}};
  for (const auto& f : flashes) {
    World.FlashActive = 1;
    World.FlashKind = f.Kind;
    World.FlashLevel = 256;
    EXPECT_EQ(DrawFrame().Differences(plain), 0) << f.Kind;
    EXPECT_EQ(World.FlashLevel, f.After) << "the flash was drawn";
  }
  World.FlashActive = 0;
  Settings.ShowAimCursor = 1;
  for (SceneVertex& v : World.CursorQuad) v.Colour = 0x00FFFFFF;
  EXPECT_EQ(DrawFrame().Differences(plain), 0);
  for (SceneVertex& v : World.CursorQuad) v.Colour = 0xFFFFFFFF;
  EXPECT_GT(DrawFrame().Differences(plain), 50);
}

TEST_F(PlayFrameTest, DamageFlashTintsTheWholeScreen) {
  World.FlashActive = 1;
  World.FlashKind = FlashDamage;
  World.FlashLevel = 192;
  const Pixels tinted = DrawFrame();
  const Box red = BoundsOf(tinted, [](std::uint32_t c) { return Red(c) > Green(c) + 60; });
  EXPECT_EQ(red.Left, 0);
  EXPECT_EQ(red.Top, 0);
  EXPECT_EQ(red.Right, 639);
  EXPECT_EQ(red.Bottom, 479);
}

// Per cent of width and height from the top-left, clipped to the screen.
struct Placement {
  const char* Name;
  double Left, Right, Top, Bottom;
};

TEST_F(PlayFrameTest, StatusElementsSitWhereTheLayoutPutsThem) {
  Texture* marker = SolidTexture(0xFFFF0000);
  Texture* savedAmmo = World.TextPanels[PanelAmmo];
  Texture* savedHealth = World.TextPanels[PanelHealth];
  Texture* clear = World.Textures[TexWindow];
  const Placement places[] = {
      {"frame", 0, 100, 0, 100},
      {"ammunition", 73.8, 100, 86.2, 100},
      {"weapon name", 15.8, 39.6, 94.6, 100},
      {"health", 0, 18.4, 94.6, 100},
  };
  Settings.ShowStatus = 1;
  for (int zoom = 0; zoom < 2; ++zoom) {
    World.ScopeOn = static_cast<std::uint8_t>(zoom);
    World.SetScope(World.ScopeOn);
    World.FlashActive = 0;
    for (int element = 0; element < 4; ++element) {
      World.Textures[TexWindow] = element == 0 ? marker : clear;
      World.TextPanels[PanelAmmo] = element == 1 ? marker : clear;
      World.Textures[TexWeaponName1] = element == 2 ? marker : clear;
      World.TextPanels[PanelHealth] = element == 3 ? marker : clear;
      const Pixels p = DrawFrame();
      const Box box = BoundsOf(p, [](std::uint32_t c) { return Red(c) > Green(c) + 60 && Red(c) > Blue(c) + 60; });
      const Placement& want = places[element];
      ASSERT_FALSE(box.Empty()) << want.Name;
      EXPECT_NEAR(box.Left, want.Left * 6.4, 1.5) << want.Name << " zoom " << zoom;
      EXPECT_NEAR(box.Right + 1, want.Right * 6.4, 1.5) << want.Name << " zoom " << zoom;
      EXPECT_NEAR(box.Top, want.Top * 4.8, 1.5) << want.Name << " zoom " << zoom;
      EXPECT_NEAR(box.Bottom + 1, want.Bottom * 4.8, 1.5) << want.Name << " zoom " << zoom;
    }
  }
  World.TextPanels[PanelAmmo] = savedAmmo;
  World.TextPanels[PanelHealth] = savedHealth;
  World.ScopeOn = 0;
  World.SetScope(0);
}

TEST_F(PlayFrameTest, ScopePictureCoversTheWholeScreenAtBothProjections) {
  Texture* const saved = World.Textures[TexScope];
  World.Textures[TexScope] = SolidTexture(0xFF00FF00);
  World.ScopeOn = 1;
  for (int zoom = 0; zoom < 2; ++zoom) {
    World.SetScope(static_cast<std::uint8_t>(zoom));
    const Pixels p = DrawFrame();
    int uncovered = 0;
    for (std::uint32_t c : p.Data) uncovered += (c & 0xFFFFFF) != 0x00FF00u;
    EXPECT_EQ(uncovered, 0) << "zoom " << zoom;
  }
  World.ScopeOn = 0;
  World.SetScope(0);
  ReleaseTexture(World.Textures[TexScope]);
  World.Textures[TexScope] = saved;
}

// Each model in its own colour, measured once: a changed placement, spin or scale moves its
// box. The sky shows through the arena's missing top face; the weapon keeps its place in hand
// however the view turns; an enemy's spin follows the view's pitch.
TEST_F(PlayFrameTest, ModelsLandWhereTheirPlacementsPutThem) {
  const auto near = [](std::uint32_t want) {
    return [want](std::uint32_t c) {
      return std::abs(Red(c) - Red(want)) < 40 && std::abs(Green(c) - Green(want)) < 40 &&
             std::abs(Blue(c) - Blue(want)) < 40;
    };
  };
  const std::uint32_t sky = 0x2040C0, enemy = 0xFF0000, tree = 0x00C000, weapon = 0x00FFFF;
  const struct {
    const char* Name;
    std::uint32_t Colour;
    int Weapon;  // -1: no weapon in hand
    float Yaw, Pitch, EnemyAngleY, TreeSpin;
    Box Want;
  } cases[] = {
      {"sky", sky, -1, 0, 0, 0, 0, {0, 0, 639, 116}},
      {"sky, looking up", sky, -1, 0, 30, 0, 0, {0, 197, 639, 428}},
      {"sky, turned", sky, -1, 45, 0, 0, 0, {211, 0, 639, 152}},
      {"weapon 0", weapon, 0, 0, 0, 0, 0, {497, 448, 585, 479}},
      {"weapon 0, turned", weapon, 0, 40, 20, 0, 0, {497, 448, 585, 479}},
      {"weapon 1", weapon, 1, 0, 0, 0, 0, {351, 269, 600, 479}},
      {"weapon 2", weapon, 2, 0, 0, 0, 0, {496, 406, 585, 479}},
      {"enemy", enemy, -1, 0, 1, 0, 0, {192, 229, 235, 270}},
      {"enemy, spun by the view's pitch", enemy, -1, 0, 1, 89, 0, {205, 229, 222, 270}},
      {"tree", tree, -1, 0, 0, 0, 0, {407, 174, 603, 269}},
      {"tree, spun", tree, -1, 0, 0, 0, 60, {439, 163, 592, 274}},
  };
  Settings.ShowEnemies = Settings.ShowTrees = 1;
  for (const auto& c : cases) {
    Settings.ShowGun = c.Weapon >= 0;
    World.CurrentWeapon = c.Weapon >= 0 ? c.Weapon : 0;
    World.ViewYaw = c.Yaw;
    World.ViewPitch = c.Pitch;
    WorldObject& e = World.Enemies[3];
    e = WorldObject{};
    e.Active = c.Colour == enemy;
    e.X = -120;
    e.Y = 230;
    e.Z = 700;
    e.AngleY = c.EnemyAngleY;
    WorldObject& t = World.Trees[0];
    t = WorldObject{};
    t.Active = c.Colour == tree;
    t.X = 1500;
    t.Z = 5000;
    t.AngleX = c.TreeSpin;
    const Box box = BoundsOf(DrawFrame(), near(c.Colour));
    EXPECT_NEAR(box.Left, c.Want.Left, 1) << c.Name;
    EXPECT_NEAR(box.Top, c.Want.Top, 1) << c.Name;
    EXPECT_NEAR(box.Right, c.Want.Right, 1) << c.Name;
    EXPECT_NEAR(box.Bottom, c.Want.Bottom, 1) << c.Name;
  }
  World.ViewYaw = World.ViewPitch = 0;
}

// A model's largest picture level red, the smaller ones green: the sky, the weapon and the
// enemies are drawn under the mip filter the settings ask for, the trees never are.
TEST_F(PlayFrameTest, MipFilterReachesTheSkyWeaponAndEnemiesButNotTheTrees) {
  const struct {
    const char* Name;
    int Model, Side;
    std::uint32_t SettingsRecord::*Shown;  // the sky is always drawn
    bool Filtered;
  } cases[] = {{"sky", ModelSkyDome, 4096, nullptr, true},
               {"weapon", 0, 256, &SettingsRecord::ShowGun, true},
               {"enemy", ModelBall, 256, &SettingsRecord::ShowEnemies, true},
               {"tree", ModelTree, 256, &SettingsRecord::ShowTrees, false}};
  WorldObject& enemy = World.Enemies[3];
  enemy = WorldObject{};
  enemy.Active = 1;
  enemy.X = -120;
  enemy.Y = 230;
  enemy.Z = 700;
  World.Trees[0] = WorldObject{};
  World.Trees[0].Active = 1;
  World.Trees[0].X = 1500;
  World.Trees[0].Z = 5000;
  for (const auto& c : cases) {
    std::vector<std::uint32_t> levels(8, 0xFF00FF00);
    levels[0] = 0xFFFF0000;
    MeshModel& model = Models.ById(c.Model);
    const std::vector<Texture*> saved = model.Textures;
    Texture* levelled = LevelTexture(c.Side, levels);
    model.Textures.assign(model.MaterialCount, levelled);
    if (c.Shown) Settings.*c.Shown = 1;
    for (std::uint32_t use = 0; use < 2; ++use) {
      Settings.UseMipmaps = use;
      const Pixels p = DrawFrame();
      int largest = 0, smaller = 0;
      for (std::uint32_t colour : p.Data) {
        largest += Red(colour) > 100 && Green(colour) < 60 && Blue(colour) < 60;
        smaller += Green(colour) > 100 && Red(colour) < 60 && Blue(colour) < 60;
      }
      EXPECT_GT(largest + smaller, 100) << c.Name;
      EXPECT_EQ(smaller > 0, use == 1 && c.Filtered) << c.Name << " UseMipmaps " << use << ": " << largest << " "
                                                     << smaller;
    }
    if (c.Shown) Settings.*c.Shown = 0;
    model.Textures = saved;
    ReleaseTexture(levelled);
  }
}

// The entering frame of a match sets the match up and draws nothing: the last picture stays.
TEST_F(PlayFrameTest, EnteringFrameOfAMatchDrawsNothing) {
  // The step applies the settings, which set the arena's picture repeats and the cursor's
  // colour: all put back for the other tests.
  const SettingsRecord savedSettings = Settings;
  const std::vector<SceneVertex> savedArena(std::begin(World.ArenaBox), std::end(World.ArenaBox));
  const std::vector<SceneVertex> savedCursor(std::begin(World.CursorQuad), std::end(World.CursorQuad));
  Settings.WindowMode = 1;
  World.FlashActive = 1;
  World.FlashKind = FlashDamage;
  World.FlashLevel = 192;
  const Pixels before = DrawFrame();
  const std::uint32_t presented = World.Device->PresentCount;
  // The screens' pictures are the fixture's shared one: the step would let them go.
  for (int slot = 0; slot < TextureCount; ++slot)
    if (IsScreenPicture(slot)) World.Textures[slot] = nullptr;
  World.GameState = StatePlay;
  World.StateFrameCount = 0;
  World.TransitionActive = 0;
  RenderStep();
  EXPECT_EQ(World.FlashKind, FlashFadeIn);  // the match was entered
  EXPECT_EQ(World.Device->PresentCount, presented);
  EXPECT_EQ(ReadBack().Differences(before), 0);
  World.GameState = StateTitle;
  Settings = savedSettings;
  std::copy(savedArena.begin(), savedArena.end(), World.ArenaBox);
  std::copy(savedCursor.begin(), savedCursor.end(), World.CursorQuad);
}

// Behind an open dialog, every seventh message draws the screen the dialog stands on.
TEST_F(PlayFrameTest, EverySeventhMessageBehindADialogDrawsItsScreen) {
  Texture* const settingsPage = SolidTexture(0xFFFF0000);
  Texture* const gameOver = SolidTexture(0xFF00FF00);
  World.Textures[TexSetting] = settingsPage;
  World.Textures[TexGameOver] = gameOver;
  const struct {
    const char* Name;
    std::uint8_t SettingsOpen, RankingOpen;
    std::int32_t State;
    std::uint32_t Colour;
  } cases[] = {{"settings", 1, 0, StateSettings, 0xFF0000}, {"ranking entry", 0, 1, StateGameOver, 0x00FF00}};
  for (const auto& c : cases) {
    Settings.SettingWindowOpen = c.SettingsOpen;
    RankingDialogOpen = c.RankingOpen;
    World.GameState = c.State;
    World.ModalRedrawCount = 0;
    DrawFrame();
    const std::uint32_t presented = World.Device->PresentCount;
    for (int i = 0; i < 6; ++i) MainWndProc(MainWindow, WM_TIMER, 0, 0);
    EXPECT_EQ(World.Device->PresentCount, presented) << c.Name;
    MainWndProc(MainWindow, WM_TIMER, 0, 0);
    EXPECT_EQ(World.Device->PresentCount, presented + 1) << c.Name;
    EXPECT_EQ(ReadBack().At(320, 240) & 0xFFFFFF, c.Colour) << c.Name;
  }
  Settings.SettingWindowOpen = 0;
  RankingDialogOpen = 0;
  World.GameState = StateTitle;
  World.Textures[TexSetting] = World.Textures[TexGameOver] = World.Textures[TexBlankKeyed];
  ReleaseTexture(settingsPage);
  ReleaseTexture(gameOver);
}

// Ground levels in distinct colours: level 0 shows without mip filtering, a single deeper
// level with the point filter, and blends of two levels with the linear filter.
TEST_F(PlayFrameTest, MipFilterFollowsTheSettingsForTheArenaOnly) {
  const std::vector<std::uint32_t> levels = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00, 0xFF00FFFF,
                                             0xFFFF00FF, 0xFFFFFFFF, 0xFF000000};
  World.Textures[TexGround] = LevelTexture(1024, levels);
  World.Textures[TexWall] = World.Textures[TexBlankKeyed];
  auto classify = [&](const Pixels& p) {
    int level0 = 0, deeper = 0, blended = 0;
    for (int y = 250; y < 480; y += 3) {
      for (int x = 0; x < 640; x += 3) {
        const std::uint32_t c = p.At(x, y) | 0xFF000000;
        if (c == levels[0]) ++level0;
        else if (std::find(levels.begin() + 1, levels.end(), c) != levels.end()) ++deeper;
        else ++blended;
      }
    }
    return std::array<int, 3>{level0, deeper, blended};
  };
  struct Case {
    std::uint32_t Use, Level;
    int Expect;  // 0 only level 0, 1 pure deeper levels, 2 blends
  };
  for (const Case c : {Case{0, 3, 0}, Case{1, 0, 1}, Case{1, 2, 1}, Case{1, 4, 1}, Case{1, 1, 2}, Case{1, 3, 2},
                       Case{1, 5, 2}}) {
    Settings.UseMipmaps = c.Use;
    Settings.MipmapLevel = c.Level;
    const auto counts = classify(DrawFrame());
    const std::string label = "UseMipmaps " + std::to_string(c.Use) + " level " + std::to_string(c.Level) + " counts " + std::to_string(counts[0]) + "/" + std::to_string(counts[1]) + "/" + std::to_string(counts[2]);
    if (c.Expect == 0) {
      EXPECT_EQ(counts[1], 0) << label;
    } else if (c.Expect == 1) {
      EXPECT_GT(counts[1], 100) << label;
    } else {
      EXPECT_GT(counts[2], counts[1]) << label;
    }
    // The frame ends with mip filtering off, for the trees, smoke and overlays.
    EXPECT_EQ(World.Device->GetTextureStageState(0, D3DTSS_MIPFILTER), D3DTEXF_NONE) << label;
  }
}

}  // namespace
}  // namespace scene_test

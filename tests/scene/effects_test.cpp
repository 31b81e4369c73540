// Effects counted in drawn frames: flash durations, the death fade, puff lifetimes, panel refresh.
#include <vector>

#include "persist/settings_record.h"
#include "platform/render/render_device.h"
#include "platform/render/texture.h"
#include "scene/play_scene.h"
#include "scene/scene_fixture.h"
#include "world/game_world.h"

namespace scene_test {
namespace {

class EffectsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureDevice();
    UseTestPictures();
    QuietMatch();
  }
};

TEST_F(EffectsTest, FlashesLastTheirNumberOfDrawnFrames) {
  struct Case {
    std::int32_t Kind;
    float Start;
    int Frames;
  };
  for (const Case c : {Case{FlashDamage, 64, 64}, Case{FlashDamage, 192, 192}, Case{FlashZoom, 255, 85},
                       Case{FlashZoom, 128, 43}, Case{FlashFadeIn, 255, 509}, Case{FlashDeath, 255, 339}}) {
    World.FlashActive = 1;
    World.FlashKind = c.Kind;
    World.FlashLevel = c.Start;
    int drawn = 0;
    // The flash step of the play frame on its own (a full frame per count would be slow); a
    // drawn frame writes its colour over a value no flash can have.
    constexpr std::uint32_t Unwritten = 0x12345678;
    std::uint32_t last = 0;
    for (int frame = 0; frame < 600; ++frame) {
      World.FlashColour = Unwritten;
      AdvanceAndDrawFlash(World);
      if (World.FlashColour != Unwritten) {
        ++drawn;
        last = World.FlashColour;
      }
    }
    EXPECT_EQ(drawn, c.Frames) << "kind " << c.Kind << " from " << c.Start;
    if (c.Kind == FlashDeath) {
      // The finished fade stays for the scene machine to see, nearly opaque black.
      EXPECT_EQ(World.FlashActive, 1);
      EXPECT_EQ(World.FlashKind, FlashDeath);
      EXPECT_LT(World.FlashLevel, 1.0f);
      EXPECT_EQ(last, 0xFE010000u);
    } else {
      EXPECT_EQ(World.FlashActive, 0);
      EXPECT_EQ(World.FlashKind, FlashNone);
      EXPECT_EQ(World.FlashLevel, 0.0f);
    }
  }
}

TEST_F(EffectsTest, PuffShowsEachPictureInTurnFor14Frames) {
  WorldObject& puff = World.Smokes[4];
  puff.Active = 1;
  puff.HP = 0;
  puff.SP = 3;
  std::vector<int> pictures;
  while (puff.Active && pictures.size() < 20) {
    World.RenderPlayFrame();
    if (puff.Active) pictures.push_back(static_cast<int>(puff.HP));
  }
  EXPECT_EQ(pictures, (std::vector<int>{0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7}));
  // An inactive record is cleaned whatever it held.
  puff.HP = 5.5f;
  World.RenderPlayFrame();
  EXPECT_EQ(puff.HP, 0.0f);
}

// Shots fired straight down from just above the floor land within their first step.
void ImpactsNow(int count) {
  for (int i = 0; i < count; ++i) {
    WorldObject& s = World.Shots[i];
    s = WorldObject{};
    s.X = static_cast<float>(100 * i - 1500);
    s.Y = -20;
    s.Z = 1000;
    s.AngleY = -80;
    s.SP = 150;
    s.Active = 1;
  }
  World.UpdateShots();
}

TEST_F(EffectsTest, The31stImpactRestartsTheOldestPuff) {
  World.SmokeNext = 7;
  ImpactsNow(30);
  int active = 0;
  for (const WorldObject& puff : World.Smokes) active += puff.Active;
  ASSERT_EQ(active, 30);
  for (int frame = 0; frame < 5; ++frame) World.RenderPlayFrame();
  const int oldest = 8;
  ASSERT_GT(World.Smokes[oldest].HP, 0.0f);
  ImpactsNow(1);
  EXPECT_EQ(World.Smokes[oldest].HP, 0.0f);
  EXPECT_EQ(World.Smokes[oldest].SP, 3);
  EXPECT_EQ(World.SmokeVertices[oldest][0].X, -1500.0f - 30.0f);
  EXPECT_GT(World.Smokes[oldest + 1].HP, 0.0f);
}

// A panel painted with a marker colour shows whether the next frame rendered it again.
class PanelRefreshTest : public EffectsTest {
 protected:
  static void Mark(int slot) {
    RenderDevice* device = World.Device;
    Texture* saved = device->GetRenderTarget();
    const bool depth = device->GetDepthEnabled();
    ASSERT_TRUE(device->SetRenderTarget(World.TextPanels[slot], false));
    device->Clear(D3DCLEAR_TARGET, 0xFF12AB34, 1.0f, 0);
    device->SetRenderTarget(saved, depth);
  }
  static bool StillMarked(int slot) {
    std::vector<std::uint32_t> argb;
    int w = 0, h = 0;
    EXPECT_TRUE(ReadTextureLevel(World.TextPanels[slot], 0, argb, w, h));
    return !argb.empty() && argb[argb.size() - 1] == 0xFF12AB34;
  }
};

TEST_F(PanelRefreshTest, PanelsAreRedrawnOnlyWhenTheirValuesChange) {
  World.Player.HP = 999.5f;
  World.RenderPlayFrame();
  Mark(PanelAmmo);
  Mark(PanelHealth);
  World.RenderPlayFrame();
  EXPECT_TRUE(StillMarked(PanelAmmo));
  EXPECT_TRUE(StillMarked(PanelHealth));

  // Same whole number, different value: redrawn.
  World.Player.HP = 999.2f;
  World.RenderPlayFrame();
  EXPECT_FALSE(StillMarked(PanelHealth));
  EXPECT_TRUE(StillMarked(PanelAmmo));

  // A weapon holding the same count does not redraw; one round fewer does, display on or off.
  World.Weapons[1].Ammo = World.Weapons[0].Ammo;
  World.CurrentWeapon = 1;
  World.RenderPlayFrame();
  EXPECT_TRUE(StillMarked(PanelAmmo));
  Settings.ShowStatus = 0;
  World.Weapons[1].Ammo -= 1;
  World.RenderPlayFrame();
  EXPECT_FALSE(StillMarked(PanelAmmo));
}

TEST_F(PanelRefreshTest, PanelsMadeAgainByADisplayResetAreDrawnWhateverTheirValues) {
  World.RenderPlayFrame();  // the caches hold the values now shown
  ASSERT_TRUE(World.ResetDisplay(0));
  Mark(PanelAmmo);
  Mark(PanelHealth);
  World.RenderPlayFrame();
  EXPECT_FALSE(StillMarked(PanelAmmo));
  EXPECT_FALSE(StillMarked(PanelHealth));
}

TEST_F(PanelRefreshTest, EmptyValuesAreNotDrawnUntilTheyChange) {
  ShownAmmo = 0;
  ShownHealth = 0;
  World.Weapons[World.CurrentWeapon].Ammo = 0;
  World.Player.HP = 0;
  Mark(PanelAmmo);
  Mark(PanelHealth);
  World.RenderPlayFrame();
  EXPECT_TRUE(StillMarked(PanelAmmo));
  EXPECT_TRUE(StillMarked(PanelHealth));
}

}  // namespace
}  // namespace scene_test

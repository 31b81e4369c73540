// Applying the settings: cursor colour, box tiling, presets, hearing distance and difficulty.
#include <gtest/gtest.h>

#include "dialogs/settings_apply.h"
#include "persist/settings_record.h"
#include "world/game_world.h"

namespace {
class SettingsApplyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved = Settings;
    for (int s = 1; s <= 5; ++s) Settings.ResetSection(s, false);
    ASSERT_EQ(Settings.ValidateSettings(), 0);
  }
  void TearDown() override { Settings = saved; }
  SettingsRecord saved;
};

TEST_F(SettingsApplyTest, CursorColourPacksEachComponentModulo256) {
  Settings.CursorAlpha = 200;
  Settings.CursorRed = 255;
  Settings.CursorGreen = 50;
  Settings.CursorBlue = 10;
  ApplySettings();
  for (const SceneVertex& v : World.CursorQuad) EXPECT_EQ(v.Colour, 0xC8FF320Au);
  Settings.CursorRed = 256 + 1;
  EXPECT_EQ(CursorColour(), 0xC801320Au);
}

TEST_F(SettingsApplyTest, BoxTilingFollowsSharpnessAndKeepsCornerThreeAndTheTop) {
  Settings.Sharpness = 2;
  ASSERT_EQ(Settings.ValidateSettings(), 0);
  SceneVertex before[24];
  for (int i = 0; i < 24; ++i) before[i] = World.ArenaBox[i];
  ApplySettings();
  for (int q : {0, 1, 4, 5}) {
    const SceneVertex* f = &World.ArenaBox[q * 4];
    EXPECT_EQ(f[0].U, 0.0f);
    EXPECT_EQ(f[0].V, 3.0f);
    EXPECT_EQ(f[1].U, 7.0f);
    EXPECT_EQ(f[1].V, 3.0f);
    EXPECT_EQ(f[2].U, 7.0f);
    EXPECT_EQ(f[2].V, 0.0f);
    EXPECT_EQ(f[3].U, before[q * 4 + 3].U);
    EXPECT_EQ(f[3].V, before[q * 4 + 3].V);
  }
  const SceneVertex* ground = &World.ArenaBox[12];
  EXPECT_EQ(ground[0].V, 30.0f);
  EXPECT_EQ(ground[1].U, 30.0f);
  EXPECT_EQ(ground[2].U, 30.0f);
  EXPECT_EQ(ground[2].V, 0.0f);
  for (int i = 8; i < 12; ++i) {
    EXPECT_EQ(World.ArenaBox[i].U, before[i].U);
    EXPECT_EQ(World.ArenaBox[i].V, before[i].V);
  }
}

TEST_F(SettingsApplyTest, PresetOneReplacesUnsavedCapturesAndCustomKeepsThem) {
  Settings.KeyPreset = 0;
  Settings.KeyBindings[KeyForward] = 0x26;
  ApplySettings();
  EXPECT_EQ(Settings.KeyBindings[KeyForward], 0x26u);
  Settings.KeyPreset = 1;
  ApplySettings();
  const std::uint32_t preset1[] = {87, 83, 65, 68, 81, 69, 32, 17, 70, 82};
  for (int i = 0; i < KeyBindingCount; ++i) EXPECT_EQ(Settings.KeyBindings[i], preset1[i]);
}

TEST_F(SettingsApplyTest, HearingDistanceAndDifficultyRows) {
  Settings.SoundDistance = 100;
  Settings.Difficulty = 2;
  ApplySettings();
  EXPECT_EQ(Settings.SoundDistanceScale, 100.0f);
  EXPECT_EQ(Settings.SoundDistanceQuarter, 25.0f);
  const struct {
    std::uint32_t Difficulty;
    int Count;
    float Health;
    int Speed, Respawn, Engagement;
  } rows[] = {
      {0, 10, 5.0f, 1, 900, 1000},
      {1, 15, 7.0f, 3, 750, 1500},
      {2, 20, 10.0f, 5, 600, 2000},
      {7, 20, 10.0f, 5, 600, 2000},  // out of range: the last row applied stays
  };
  for (const auto& r : rows) {
    Settings.Difficulty = r.Difficulty;
    ApplySettings();
    EXPECT_EQ(Settings.EnemyCount, r.Count) << r.Difficulty;
    EXPECT_EQ(Settings.EnemyHealth, r.Health) << r.Difficulty;
    EXPECT_EQ(Settings.EnemySpeed, r.Speed) << r.Difficulty;
    EXPECT_EQ(Settings.RespawnDelayBase, r.Respawn) << r.Difficulty;
    EXPECT_EQ(Settings.EngagementDistance, r.Engagement) << r.Difficulty;
  }
}
}  // namespace

// Construction and reset of the world: bounds, bodies, tables and what the reset leaves alone.
#include <algorithm>
#include <cstring>

#include "world_fixture.h"

using WorldLayoutTest = WorldTest;

TEST_F(WorldLayoutTest, ConstructionGivesTheArenaBoundsAndTheStandingBody) {
  EXPECT_EQ(World.ArenaCeiling, 1500.0f);
  EXPECT_EQ(World.ArenaFloor, -30.0f);
  EXPECT_EQ(World.ArenaMaxX, 6000.0f);
  EXPECT_EQ(World.ArenaMinX, -6000.0f);
  EXPECT_EQ(World.ArenaMaxZ, 6000.0f);
  EXPECT_EQ(World.ArenaMinZ, -6000.0f);

  const SceneVertex& v0 = World.PlayerBody[0];
  EXPECT_EQ(v0.X, 30.0f);
  EXPECT_EQ(v0.Y, 170.0f);
  EXPECT_EQ(v0.Z, 30.0f);
  EXPECT_EQ(v0.Colour, 0xAAFFFFFFu);
  float lowest = 1e9f;
  for (const auto& v : World.PlayerBody) lowest = std::min(lowest, v.Y);
  EXPECT_EQ(lowest, 170.0f);
}

TEST_F(WorldLayoutTest, ArenaBoxTexturesTileGroundAndWallsButNotTheSky) {
  // Bottom face (vertices 12..15) is the ground, top face (8..11) the sky.
  EXPECT_EQ(World.ArenaBox[12].U, 0.0f);
  EXPECT_EQ(World.ArenaBox[12].V, 15.0f);
  EXPECT_EQ(World.ArenaBox[13].U, 15.0f);
  EXPECT_EQ(World.ArenaBox[9].U, 1.0f);
  EXPECT_EQ(World.ArenaBox[9].V, 1.0f);
  EXPECT_EQ(World.ArenaBox[1].U, 5.0f);
  EXPECT_EQ(World.ArenaBox[1].V, 2.0f);
  // The ground face sits at -30, not at -1500.
  for (int i = 12; i < 16; ++i) EXPECT_EQ(World.ArenaBox[i].Y, -30.0f);
}

TEST_F(WorldLayoutTest, TablesFilledAtConstruction) {
  EXPECT_EQ(World.Trees[39].X, -4107.0f);
  EXPECT_EQ(World.Trees[39].Z, -4.0f);
  for (const auto& t : World.Trees) {
    EXPECT_EQ(t.Y, 0.0f);
    EXPECT_EQ(t.Active, 1);
    EXPECT_GE(t.AngleX, 0.0f);
    EXPECT_LT(t.AngleX, 360.0f);
  }
  EXPECT_EQ(World.Weapons[0].FireInterval, 10);
  EXPECT_EQ(World.Weapons[1].FireInterval, 20);
  EXPECT_EQ(World.Weapons[2].FireInterval, 15);
  EXPECT_EQ(World.Weapons[2].ActionRate, 0.3f);
  EXPECT_EQ(World.Weapons[1].MagazineSize, 10);
  EXPECT_EQ(World.FogColour, 0x00CCCCDDu);
  EXPECT_EQ(World.FogEnd, 12000.0f);

  // Tracer cubes: the body at the origin shrunk by 15, half-size 2.
  SeedRandom(5);
  World.ConstructWorld();
  EXPECT_EQ(World.ShotMeshes[29][0].X, 2.0f);
  EXPECT_EQ(World.ShotMeshes[29][0].Y, -2.0f);
  EXPECT_EQ(World.ShotMeshes[0][0].Colour, 0xFFFFFFFFu);
  // The puff template is the 31st set, directly after the 30 placed ones.
  EXPECT_EQ(static_cast<const void*>(World.SmokeTemplate),
            static_cast<const void*>(World.SmokeVertices[SmokeSlots]));
  EXPECT_EQ(World.SmokeTemplate[5].Z, 30.0f);
  EXPECT_EQ(World.SmokeTemplate[5].Colour, 0x33FFFFFFu);
}

TEST_F(WorldLayoutTest, QuadsForScreensAndOverlays) {
  EXPECT_EQ(World.MenuItemQuads[0][0].X, 600.0f);
  EXPECT_EQ(World.MenuItemQuads[0][0].Y, -300.0f);
  EXPECT_EQ(World.MenuItemQuads[2][2].Y, -100.0f);
  EXPECT_EQ(World.MenuItemQuads[4][0].Y, -530.0f);
  EXPECT_EQ(World.MenuItemQuads[5][3].Y, -330.0f);
  EXPECT_EQ(World.MenuItemQuads[3][1].Z, 1500.0f);
  EXPECT_EQ(World.MenuPos[4].X, 800.0f);
  EXPECT_EQ(World.CursorQuad[2].Z, 0.02f);
  // Fan order: left-bottom, right-bottom, right-top, left-top with (0,1) (1,1) (1,0) (0,0).
  EXPECT_EQ(World.ScreenQuad[1].X, 0.675f);
  EXPECT_EQ(World.ScreenQuad[1].Y, -0.542f);
  EXPECT_EQ(World.ScreenQuad[1].U, 1.0f);
  EXPECT_EQ(World.ScreenQuad[1].V, 1.0f);
  EXPECT_EQ(World.ScreenQuad[3].U, 0.0f);
  EXPECT_EQ(World.ScreenQuad[3].V, 0.0f);
  EXPECT_EQ(World.FlashQuad[2].X, World.ScreenQuad[2].X);
  EXPECT_EQ(World.FlashQuad[2].Colour, 0u);
  EXPECT_EQ(World.FpsBadgeQuad[0].X, -0.03f);
  EXPECT_EQ(World.FpsBadgeQuad[2].Y, 0.015f);
  EXPECT_EQ(World.AmmoPlateQuad[2].X, 0.23f);
}

TEST_F(WorldLayoutTest, ResetStartsAFreshMatchOnEveryDifficulty) {
  const int timers[3] = {4000, 6000, 8000};
  for (int d = 0; d < 3; ++d) {
    StartTestMatch(d);
    Settings.InitialWeapon = 2;
    World.Player.HP = 3;
    World.Weapons[1].Ammo = 0;
    World.Enemies[4].Active = 1;
    World.ResetMatch();
    EXPECT_EQ(World.Player.HP, 1000.0f);
    EXPECT_EQ(World.Player.SP, 15);
    EXPECT_EQ(World.Player.Active, 1);
    EXPECT_EQ(World.SpawnTimer, timers[d]);
    EXPECT_EQ(World.CurrentWeapon, 2);
    EXPECT_EQ(World.SelectedWeapon, 2);
    for (const auto& w : World.Weapons) EXPECT_EQ(w.Ammo, w.MagazineSize);
    for (const auto& e : World.Enemies) {
      EXPECT_EQ(e.Active, 0);
      EXPECT_EQ(e.HP, DifficultyTable[d].EnemyHealth);
    }
  }
}

TEST_F(WorldLayoutTest, SecondResetRebuildsTheSameBody) {
  SceneVertex first[CubeVertexCount];
  std::memcpy(first, World.PlayerBody, sizeof first);
  World.KeyForwardHeld = 1;
  World.KeyLeftHeld = 1;
  World.JumpActive = 1;
  World.JumpKeyHeld = 1;
  for (int i = 0; i < 25; ++i) World.UpdateGame();
  ASSERT_NE(World.PlayerBody[0].Z, first[0].Z);
  World.ResetMatch();
  EXPECT_EQ(std::memcmp(first, World.PlayerBody, sizeof first), 0);
  // Left alone: key flags, the jump's own values, the scope and the kick.
  EXPECT_EQ(World.KeyForwardHeld, 1);
  EXPECT_EQ(World.JumpActive, 1);
  EXPECT_NE(JumpSpeed, 0.0f);
  EXPECT_EQ(World.JumpPhase, 0);
}

TEST_F(WorldLayoutTest, ResetClearsShotsAndCountersButKeepsPuffFrames) {
  World.Smokes[3].HP = 5;
  World.Smokes[3].Active = 1;
  World.Shots[7].Active = 1;
  World.Shots[7].SP = 900;
  World.ShotsFired = 9;
  World.Hits = 4;
  World.LastGameScore = 3;
  World.ViewYaw = 100;
  TriggerHeld = 1;
  World.ScopeOn = 1;
  RecoilKick = 0.5f;
  World.ResetMatch();
  EXPECT_EQ(World.Smokes[3].HP, 5.0f);
  EXPECT_EQ(World.Smokes[3].Active, 0);
  EXPECT_EQ(World.Shots[7].Active, 0);
  EXPECT_EQ(World.Shots[7].SP, 0);
  EXPECT_EQ(World.ShotsFired, 0);
  EXPECT_EQ(World.Hits, 0);
  EXPECT_EQ(World.LastGameScore, 0);
  EXPECT_EQ(World.ViewYaw, 0.0f);
  EXPECT_EQ(TriggerHeld, 0);
  EXPECT_EQ(World.ScopeOn, 1);
  EXPECT_EQ(RecoilKick, 0.5f);
  EXPECT_EQ(World.GameState, 0);
}

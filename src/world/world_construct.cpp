// Building the world once at start and putting the match back before each game.
#include <algorithm>

#include "app/random.h"
#include "persist/settings_record.h"
#include "world/game_world.h"
#include "world/match_values.h"

namespace {

// The four texture corners of every face and quad: left-bottom, right-bottom, right-top, left-top.
constexpr float CornerU[4] = {0, 1, 1, 0};
constexpr float CornerV[4] = {1, 1, 0, 0};

// Corner signs of the six faces of the unit cube: +Z, +X, top, bottom, -X, -Z.
constexpr float CubeCorners[CubeVertexCount][3] = {
    {+1, -1, +1}, {-1, -1, +1}, {-1, +1, +1}, {+1, +1, +1},
    {+1, -1, -1}, {+1, -1, +1}, {+1, +1, +1}, {+1, +1, -1},
    {-1, +1, -1}, {+1, +1, -1}, {+1, +1, +1}, {-1, +1, +1},
    {+1, -1, -1}, {-1, -1, -1}, {-1, -1, +1}, {+1, -1, +1},
    {-1, -1, +1}, {-1, -1, -1}, {-1, +1, -1}, {-1, +1, +1},
    {-1, -1, -1}, {+1, -1, -1}, {+1, +1, -1}, {-1, +1, -1},
};

constexpr int BottomFace = 3;
constexpr int TopFace = 2;

constexpr float SmokeShape[SmokeVertexCount][3] = {
    {-30, -30, 0}, {30, -30, 0}, {30, 30, 0},  {-30, 30, 0},
    {0, -30, -30}, {0, -30, 30}, {0, 30, 30},  {0, 30, -30},
    {-30, 0, -30}, {-30, 0, 30}, {30, 0, 30},  {30, 0, -30},
};

constexpr float TreePlaces[TreeCount][2] = {
    {5000, 5000},   {4500, 5500},   {5500, 4500},   {5000, -5000},  {4500, -5500},
    {5500, -4500},  {-5000, -5000}, {-4500, -5500}, {-5500, -4500}, {-5000, 5000},
    {-4500, 5500},  {-5500, 4500},  {3008, 159},    {-1200, -4506}, {-3763, -3290},
    {1943, -4986},  {607, 1392},    {4907, -3561},  {-1012, 1471},  {2319, 1832},
    {-2019, 3891},  {1729, 3933},   {4458, -1337},  {3106, -767},   {-1017, 979},
    {-2143, -1926}, {-3934, 3896},  {-4927, 2054},  {-254, -4702},  {-2469, 157},
    {2001, -2834},  {135, -4142},   {2454, 3398},   {3468, -1825},  {-1333, -2038},
    {238, -2951},   {4958, 3874},   {-836, -3956},  {1262, -1353},  {-4107, -4},
};

void BuildUnitCube(SceneVertex (&cube)[CubeVertexCount], float half, std::uint32_t colour) {
  for (int i = 0; i < CubeVertexCount; ++i) {
    cube[i].X = CubeCorners[i][0] * half;
    cube[i].Y = CubeCorners[i][1] * half;
    cube[i].Z = CubeCorners[i][2] * half;
    cube[i].Colour = colour;
    cube[i].U = CornerU[i % 4];
    cube[i].V = CornerV[i % 4];
  }
}

void BuildQuad(SceneVertex (&quad)[4], float left, float right, float bottom, float top, float z,
               std::uint32_t colour) {
  const float xs[4] = {left, right, right, left};
  const float ys[4] = {bottom, bottom, top, top};
  for (int i = 0; i < 4; ++i) quad[i] = {xs[i], ys[i], z, colour, CornerU[i], CornerV[i]};
}

void MoveBodyUp(SceneVertex (&body)[CubeVertexCount], float dy, std::uint32_t colour) {
  for (auto& v : body) {
    v.Y += dy;
    v.Colour = colour;
  }
}

// Each tracer cube is the body scaled down by 15, keeping the body's texture coordinates.
void BuildShotMeshes(GameWorld& w) {
  for (auto& mesh : w.ShotMeshes) {
    for (int i = 0; i < CubeVertexCount; ++i) {
      const SceneVertex& b = w.PlayerBody[i];
      mesh[i] = {b.X / 15, b.Y / 15, b.Z / 15, 0xFFFFFFFFu, b.U, b.V};
    }
  }
}

void ResetEnemies(GameWorld& w) {
  for (auto& e : w.Enemies) {
    e = WorldObject{};
    e.HP = Settings.EnemyHealth;
    e.SP = Settings.EnemySpeed;
  }
}

}  // namespace

GameWorld::GameWorld() { ConstructWorld(); }

void GameWorld::SetupFog() {
  FogMode = 3;  // linear
  FogColour = 0x00CCCCDD;
  FogStart = 3000;
  FogEnd = 12000;
  FogDensity = 0.0005f;
}

void GameWorld::ConstructWorld() {
  SetupFog();

  BuildQuad(BackdropQuad, -6400, 6400, -5000, 5000, 0, 0xFFFFFFFFu);
  for (int j = 0; j < MenuItemCount; ++j) {
    MenuPos[j] = WorldObject{};
    MenuPos[j].X = 800;
    MenuPos[j].Y = -200;
    MenuPos[j].Z = 1500;
    const float lower = j >= 3 ? 230.0f : 0.0f;
    BuildQuad(MenuItemQuads[j], 800 - 200, 800 + 200, -200 - 100 - lower, -200 + 100 - lower, 1500,
              0xFFFFFFFFu);
  }
  BuildQuad(CursorQuad, -0.02f, 0.02f, -0.02f, 0.02f, 0.02f, 0xFFFFFFFFu);
  BuildQuad(FpsBadgeQuad, -0.03f, 0.1f, -0.03f, 0.015f, 0, 0xDDFFFFFFu);
  BuildQuad(RankingPanelQuad, -400, 400, -200, 200, 0, 0xCCFFFFFFu);
  BuildQuad(WidePanelQuad, -1400, 1400, -200, 200, 0, 0xCCFFFFFFu);
  // The operation label is wider than a name panel: its panel is twice as wide, so its quad
  // is too, and the text keeps its place and size.
  BuildQuad(PageLabelQuad, -1400, 4200, -200, 200, 0, 0xCCFFFFFFu);
  BuildQuad(ScreenQuad, -0.675f, 0.675f, -0.542f, 0.542f, 0, 0xAAFFFFFFu);
  BuildQuad(FlashQuad, -0.675f, 0.675f, -0.542f, 0.542f, 0, 0);
  BuildQuad(ScopeQuad, -0.675f, 0.675f, -0.542f, 0.542f, 0, 0xFFFFFFFFu);
  BuildQuad(WeaponPlateQuad, -0.16f, 0.16f, -0.03f, 0.03f, 0, 0xAAFFFFFFu);
  BuildQuad(AmmoPlateQuad, -0.23f, 0.23f, -0.09f, 0.09f, 0, 0xFFFFFFFFu);
  BuildQuad(HealthPlateQuad, -0.125f, 0.125f, -0.03f, 0.03f, 0, 0xAAFFFFFFu);

  for (int s = 0; s <= SmokeSlots; ++s) {
    SceneVertex* set = s < SmokeSlots ? SmokeVertices[s] : SmokeTemplate;
    for (int i = 0; i < SmokeVertexCount; ++i) {
      set[i] = {SmokeShape[i][0], SmokeShape[i][1], SmokeShape[i][2], 0x33FFFFFFu,
                CornerU[i % 4], CornerV[i % 4]};
    }
  }

  BuildUnitCube(PlayerBody, 30, 0x7FFFFFFFu);

  for (int i = 0; i < CubeVertexCount; ++i) {
    const SceneVertex& b = PlayerBody[i];
    SceneVertex& a = ArenaBox[i];
    a.X = b.X * 200;
    a.Y = b.Y * 50;
    if (a.Y < 0) a.Y = -30;
    a.Z = b.Z * 200;
    a.Colour = 0xFFFFFFFFu;
    const int face = i / 4;
    const int corner = i % 4;
    if (face == BottomFace) {
      a.U = CornerU[corner] * 15;
      a.V = CornerV[corner] * 15;
    } else if (face == TopFace) {
      a.U = CornerU[corner];
      a.V = CornerV[corner];
    } else {
      a.U = CornerU[corner] * 5;
      a.V = CornerV[corner] * 2;
    }
  }

  ArenaCeiling = ArenaFloor = ArenaMaxX = ArenaMinX = ArenaMaxZ = ArenaMinZ = 0;
  for (const auto& a : ArenaBox) {
    ArenaCeiling = std::max(ArenaCeiling, a.Y);
    ArenaFloor = std::min(ArenaFloor, a.Y);
    ArenaMaxX = std::max(ArenaMaxX, a.X);
    ArenaMinX = std::min(ArenaMinX, a.X);
    ArenaMaxZ = std::max(ArenaMaxZ, a.Z);
    ArenaMinZ = std::min(ArenaMinZ, a.Z);
  }

  for (auto& s : Shots) s = WorldObject{};
  BuildShotMeshes(*this);

  ResetEnemies(*this);

  for (int t = 0; t < TreeCount; ++t) {
    Trees[t] = WorldObject{};
    Trees[t].X = TreePlaces[t][0];
    Trees[t].Z = TreePlaces[t][1];
    Trees[t].AngleX = static_cast<float>(RandomBelow(360));
    Trees[t].Active = 1;
  }

  MoveBodyUp(PlayerBody, 200, 0xAAFFFFFFu);

  ViewOffset[0] = ViewOffset[1] = ViewOffset[2] = 0;
  ViewYaw = ViewPitch = 0;
  JumpPhase = 0;
  FlashKind = 0;
  StateFrameCount = 0;
  GameState = 0;
  PlayFrameCount = 0;
  LoadPercent = 0;
  ScopeOn = 0;
  KeyForwardHeld = KeyBackHeld = KeyLeftHeld = KeyRightHeld = 0;
  KeyTurnLeftHeld = KeyTurnRightHeld = 0;
  JumpActive = JumpKeyHeld = 0;

  Weapons[WeaponMachineGun] = {1, 10, 0.2f, 0, 30};
  Weapons[WeaponRifle] = {1, 20, 0.2f, 0, 10};
  Weapons[WeaponHandgun] = {1, 15, 0.3f, 0, 8};
}

void GameWorld::ResetMatch() {
  // Rebuilt rather than moved back, so whatever the last match did leaves no trace.
  BuildUnitCube(PlayerBody, 30, 0x7FFFFFFFu);
  MoveBodyUp(PlayerBody, 200, 0xAAFFFFFFu);

  MouseDeltaX = MouseDeltaY = 0;
  WindowCursorX = WindowCursorY = 0;
  MouseX = MouseY = 0;

  Player = WorldObject{};
  Player.HP = 1000;
  Player.SP = 15;
  Player.Active = 1;
  FlashLevel = 0;
  FlashActive = 0;

  ResetEnemies(*this);

  for (auto* set : {Shots, Smokes}) {
    for (int i = 0; i < ShotSlots; ++i) {
      const float frame = set[i].HP;  // a puff's frame survives the reset
      set[i] = WorldObject{};
      set[i].HP = frame;
    }
  }
  BuildShotMeshes(*this);

  for (auto& w : Weapons) w.Ammo = w.MagazineSize;

  ShotsFired = Hits = LastGameScore = 0;
  MouseDirX = MouseDirY = WheelDir = 0;
  BurstCount = FireCooldown = 0;
  SpawnTimer = Settings.EnemyCount * 400;
  EnemiesAlive = 0;
  StateFrameCount = 0;
  GameState = 0;
  SmokeNext = 0;
  TransitionActive = MenuShown = TitleRestart = 0;

  CurrentWeapon = SelectedWeapon = static_cast<std::int32_t>(Settings.InitialWeapon);

  ViewOffset[0] = ViewOffset[1] = ViewOffset[2] = 0;
  ViewYaw = ViewPitch = 0;
  WeaponBusy = ActionRising = 0;
  WeaponAction = 0;
  JumpPhase = 0;
  PageIndex = 0;
  FlashKind = 0;
  CursorX = CursorY = 0;
  PlayFrameCount = 0;
  FlashColour = 0;
  TriggerHeld = 0;

  SetupCamera(45);
}

void GameWorld::DestroyWorld() { ReleaseGraphics(); }

// RenderPlayFrame: one frame of a match, from the sky dome to the overlays.
#include <cmath>

#include "graphics/mesh_models.h"
#include "graphics/text_renderer.h"
#include "persist/settings_record.h"
#include "platform/render/render_device.h"
#include "scene/play_scene.h"
#include "world/game_world.h"
#include "world/match_values.h"

namespace {

constexpr int FaceVertices = 4;
constexpr int SkyFace = 2;
constexpr int GroundFace = 3;

void DrawFaces(GameWorld& world, const SceneVertex* shape, int firstFace, int lastFace, Texture* texture) {
  world.Device->SetTexture(0, texture);
  for (int face = firstFace; face <= lastFace; ++face)
    world.Device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, shape + face * FaceVertices, sizeof(SceneVertex));
}

void DrawArena(GameWorld& world) {
  world.SetSpriteTransform(1, world.ViewOffset[0], world.ViewOffset[1], world.ViewOffset[2], world.ViewPitch,
                           world.ViewYaw, 0);
  world.Device->SetVertexShader(SceneVertexFormat);
  for (int face = 0; face < CubeVertexCount / FaceVertices; ++face) {
    if (face == SkyFace) continue;
    DrawFaces(world, world.ArenaBox, face, face, world.Textures[face == GroundFace ? TexGround : TexWall]);
  }
}

void DrawSky(GameWorld& world) {
  static constexpr float NoSpin = 0;
  const float skyPosition[3] = {0, -5000, 0};
  Models.SetModelTransform(10000, world.ViewOffset, skyPosition, world.ViewPitch, world.ViewYaw, NoSpin, NoSpin, NoSpin);
  Models.DrawModel(Models.SkyDome);
}

// Whether the sky and the arena each write their pixels outright (the device's probe): then
// the order between them decides nothing but how much of the sky is shaded. A rehearsal of
// the whole frame already under way draws them as given.
bool SkyMayFollowArena(GameWorld& world) {
  RenderDevice* device = world.Device;
  if (device->Probing()) return false;
  device->BeginProbe();
  DrawSky(world);
  DrawArena(world);
  device->EndProbe();
  return device->ProbedDrawsReplace();
}

void DrawPlayerBody(GameWorld& world) {
  world.SetSpriteTransform(1, world.ViewOffset[0], world.ViewOffset[1], world.ViewOffset[2], 0, 0, 0);
  world.Device->SetVertexShader(SceneVertexFormat);
  DrawFaces(world, world.PlayerBody, 0, 5, world.Textures[TexShot]);
}

// The weapon sits right of and below the line of sight and does not turn with the view.
void DrawWeaponInHand(GameWorld& world) {
  struct Placement {
    float Scale;
    float Offset[3];
    bool FlashMoves;
  };
  static constexpr Placement Placements[WeaponCount] = {
      {0.5f, {2.5f, -3.0f, 0.0f}, true},
      {2.0f, {2.5f, -2.5f, 3.0f}, false},
      {0.5f, {2.5f, -2.5f, 0.0f}, false},
  };
  const int weapon = world.CurrentWeapon >= 0 && world.CurrentWeapon < WeaponCount ? world.CurrentWeapon : 0;
  const Placement& p = Placements[weapon];
  const float position[3] = {0, 0, 7 - 3 * ActionProgress + (p.FlashMoves ? MuzzleFlash : 0) - RecoilKick};
  Models.SetModelTransform(p.Scale, p.Offset, position, 0, 0, -5 * ActionProgress, 180, -3 - RecoilKick);
  Models.DrawModel(Models.Weapons[weapon]);
}

// The enemy's spin multiplies its own angles by the view's: the balls roll as the player turns.
void DrawEnemies(GameWorld& world) {
  MeshModel& ball = Models.Ball;
  for (const WorldObject& enemy : world.Enemies) {
    if (!enemy.Active) continue;
    ball.Spin[0] = std::sin(enemy.AngleX * world.ViewYaw * DegreesToRadians);
    ball.Spin[1] = std::tan(enemy.AngleY * world.ViewPitch * DegreesToRadians);
    ball.Spin[2] = std::cos(enemy.AngleX * world.ViewYaw * DegreesToRadians);
    const float position[3] = {enemy.X, enemy.Y, enemy.Z};
    Models.SetModelTransform(25, world.ViewOffset, position, world.ViewPitch, world.ViewYaw, ball.Spin[0],
                             ball.Spin[1], ball.Spin[2]);
    Models.DrawModel(ball);
  }
}

void DrawBullets(GameWorld& world) {
  world.SetSpriteTransform(1, world.ViewOffset[0], world.ViewOffset[1], world.ViewOffset[2], world.ViewPitch,
                           world.ViewYaw, 0);
  world.Device->SetVertexShader(SceneVertexFormat);
  for (int i = 0; i < ShotSlots; ++i) {
    if (world.Shots[i].Active) DrawFaces(world, world.ShotMeshes[i], 0, 5, world.Textures[TexShot]);
  }
}

void DrawTrees(GameWorld& world) {
  for (const WorldObject& tree : world.Trees) {
    if (!tree.Active) continue;
    const float position[3] = {tree.X, tree.Y, tree.Z};
    Models.SetModelTransform(800, world.ViewOffset, position, world.ViewPitch, world.ViewYaw, 0, tree.AngleX, 0);
    Models.DrawModel(Models.Tree);
  }
}

// Everything behind the overlays, from the sky dome to the smoke. It changes nothing but the
// device's states, so it can be rehearsed.
void DrawWorld(GameWorld& world) {
  RenderDevice* device = world.Device;
  device->SetRenderState(D3DRS_LIGHTING, 0);
  device->SetTextureStageState(0, D3DTSS_MIPFILTER, PlayMipFilter(Settings.UseMipmaps, Settings.MipmapLevel));

  // Most of the sky lies behind the arena. Drawn after it with a strict depth test, its hidden
  // part is rejected before it is shaded, and every pixel ends as in the order given.
  const bool skyLast = SkyMayFollowArena(world);
  if (!skyLast) DrawSky(world);
  DrawArena(world);
  if (skyLast) {
    // Seen from inside the arena, the sky beyond its walls shows only through the open top.
    const bool opening = device->SetOpening(world.ArenaBox, sizeof(SceneVertex), SkyFace);
    const std::uint32_t func = device->GetRenderState(D3DRS_ZFUNC);
    device->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESS);
    DrawSky(world);
    device->SetRenderState(D3DRS_ZFUNC, func);
    if (opening) device->ClearOpening();
  }
  if (Settings.ShowSelf) DrawPlayerBody(world);

  device->SetRenderState(D3DRS_LIGHTING, 1);
  if (Settings.ShowGun) DrawWeaponInHand(world);
  // Fog stays on from here until the match ends, so later frames fog the sky and arena too.
  if (Settings.UseFog) world.SetFog(true);

  device->SetRenderState(D3DRS_LIGHTING, 0);
  device->SetRenderState(D3DRS_ALPHATESTENABLE, 1);
  device->SetRenderState(D3DRS_ALPHAREF, 8);
  device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
  if (Settings.ShowEnemies) DrawEnemies(world);
  if (Settings.ShowBullets) DrawBullets(world);
  device->SetTextureStageState(0, D3DTSS_MIPFILTER, D3DTEXF_NONE);
  if (Settings.ShowTrees) DrawTrees(world);
  device->SetRenderState(D3DRS_LIGHTING, 0);
  DrawSmoke(world);
}

// With the scope up its picture hides most of the view. The world is drawn only where the
// scope leaves it to be seen, when a rehearsal shows that nothing in front of the scope's
// plane blends: then every pixel comes out as it would with the world drawn whole.
bool CoverWithScope(GameWorld& world) {
  RenderDevice* device = world.Device;
  if (!SetScopeCover(world)) return false;
  static constexpr std::uint32_t Kept[] = {D3DRS_FOGENABLE, D3DRS_ALPHATESTENABLE, D3DRS_ALPHAREF, D3DRS_ALPHAFUNC,
                                           D3DRS_LIGHTING};
  std::uint32_t values[sizeof Kept / sizeof Kept[0]];
  for (std::size_t i = 0; i < sizeof Kept / sizeof Kept[0]; ++i) values[i] = device->GetRenderState(Kept[i]);
  const std::uint32_t mipFilter = device->GetTextureStageState(0, D3DTSS_MIPFILTER);
  device->BeginProbe();
  DrawWorld(world);
  const bool covered = device->EndProbe();
  for (std::size_t i = 0; i < sizeof Kept / sizeof Kept[0]; ++i) device->SetRenderState(Kept[i], values[i]);
  device->SetTextureStageState(0, D3DTSS_MIPFILTER, mipFilter);
  if (!covered) device->ClearCover();
  return covered;
}

}  // namespace

std::uint32_t PlayMipFilter(std::uint32_t useMipmaps, std::uint32_t mipmapLevel) {
  if (useMipmaps == 0) return D3DTEXF_NONE;
  return mipmapLevel % 2 == 0 ? D3DTEXF_POINT : D3DTEXF_LINEAR;
}

bool GameWorld::RenderPlayFrame() {
  // The panels are kept current even while the status display is off.
  RefreshStatusPanels(*this);
  if (!BeginFrame(FogColour)) return false;
  RenderDevice* device = Device;
  device->SetTransform(D3DTS_VIEW, ViewMatrix);
  device->SetTransform(D3DTS_PROJECTION, ProjectionMatrix);
  AdvanceSmoke(*this);
  const bool covered = ScopeOn && CoverWithScope(*this);
  DrawWorld(*this);
  device->SetRenderState(D3DRS_ALPHATESTENABLE, 0);
  if (Settings.ShowAimCursor && !ScopeOn) DrawAimCursor(*this);
  AdvanceAndDrawFlash(*this);
  if (covered) device->ClearCover();
  // The scope's hole and most of the status frame are clear, and nothing drawn after either
  // lies behind them.
  device->SetSkipClearTexels(true);
  if (ScopeOn) DrawScope(*this);
  if (Settings.ShowStatus) DrawStatusDisplay(*this);
  device->SetSkipClearTexels(false);
  if (Settings.ShowPosition || Settings.ShowEnemyInfo) Text.DrawPlayDebug();
  if (Settings.ShowFps && !Settings.ShowPosition) DrawFpsBadge();
  return EndFrame();
}

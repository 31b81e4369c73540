// The sprite transform, the fog switch and the play scene's effects: smoke, cursor, flash, scope.
#include <cstring>

#include "persist/settings_record.h"
#include "platform/render/render_device.h"
#include "scene/play_scene.h"
#include "world/game_world.h"

namespace {

constexpr float OverlayDepth = 1.3f;

std::uint32_t FloatBits(float value) {
  std::uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

void DrawFan(RenderDevice* device, Texture* texture, const SceneVertex* quad) {
  device->SetVertexShader(SceneVertexFormat);
  device->SetTexture(0, texture);
  device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, quad, sizeof(SceneVertex));
}

Texture* CatalogueTexture(const GameWorld& world, int id) {
  return id >= 0 && id < TextureCount ? world.Textures[id] : nullptr;
}

}  // namespace

void GameWorld::SetSpriteTransform(std::int32_t scale, float x, float y, float z, float angleX, float angleY,
                                   float angleZ) {
  const float s = static_cast<float>(scale);
  Matrix m = MatrixScaling(s, s, s);
  m.M[3][0] = x;
  m.M[3][1] = y;
  m.M[3][2] = z;
  m = MatrixMultiply(m, MatrixRotationY(angleY * DegreesToRadians));
  m = MatrixMultiply(m, MatrixRotationX(angleX * DegreesToRadians));
  SpriteMatrix = MatrixMultiply(m, MatrixRotationZ(angleZ * DegreesToRadians));
  if (Device) Device->SetTransform(D3DTS_WORLD, SpriteMatrix);
}

void GameWorld::SetFog(bool on) {
  if (!Device) return;
  Device->SetRenderState(D3DRS_FOGENABLE, on ? 1 : 0);
  Device->SetRenderState(D3DRS_FOGCOLOR, FogColour);
  Device->SetRenderState(D3DRS_FOGTABLEMODE, FogMode);
  Device->SetRenderState(D3DRS_FOGVERTEXMODE, D3DFOG_NONE);
  Device->SetRenderState(D3DRS_FOGDENSITY, FloatBits(FogDensity));
  Device->SetRenderState(D3DRS_FOGSTART, FloatBits(FogStart));
  Device->SetRenderState(D3DRS_FOGEND, FloatBits(FogEnd));
}

std::uint32_t FlashColourFor(std::int32_t kind, float level) {
  const std::uint32_t l = static_cast<std::uint32_t>(static_cast<std::int32_t>(level)) & 0xFFu;
  switch (kind) {
    case FlashDamage: return l << 24 | 0xFF0000u;
    case FlashZoom:
    case FlashFadeIn: return l << 24;
    case FlashDeath: return (255u - l) << 24 | l << 16;
    default: return 0;  // an unknown kind fades out unseen
  }
}

float FlashStep(std::int32_t kind) {
  switch (kind) {
    case FlashDamage: return 1.0f;
    case FlashZoom: return 3.0f;
    case FlashFadeIn: return 0.5f;
    case FlashDeath: return 0.75f;
    default: return 1.0f;
  }
}

void AdvanceAndDrawSmoke(GameWorld& world) {
  AdvanceSmoke(world);
  DrawSmoke(world);
}

void AdvanceSmoke(GameWorld& world) {
  for (WorldObject& puff : world.Smokes) {
    if (puff.Active && puff.HP < 7) {
      puff.SP -= 1;
      if (puff.SP <= 1) {
        puff.HP += 1;
        puff.SP = 3;
      }
    } else {
      puff.HP = 0;
      puff.Active = 0;
    }
  }
}

// Every puff still live after AdvanceSmoke advanced this frame.
void DrawSmoke(GameWorld& world) {
  if (!world.Device) return;
  for (int i = 0; i < SmokeSlots; ++i) {
    const WorldObject& puff = world.Smokes[i];
    if (!puff.Active) continue;
    world.SetSpriteTransform(1, world.ViewOffset[0], world.ViewOffset[1], world.ViewOffset[2], world.ViewPitch,
                             world.ViewYaw, 0);
    Texture* picture = CatalogueTexture(world, TexSmoke1 + static_cast<int>(puff.HP));
    for (int square = 0; square < 3; ++square) DrawFan(world.Device, picture, &world.SmokeVertices[i][square * 4]);
  }
}

void DrawAimCursor(GameWorld& world) {
  if (!world.Device) return;
  world.SetSpriteTransform(1, 0.001f, -0.001f, OverlayDepth + 3 * world.OverlayDepthOffset, 0, 0, 0);
  DrawFan(world.Device, CatalogueTexture(world, TexScope + static_cast<int>(Settings.CursorStyle)),
          world.CursorQuad);
}

void AdvanceAndDrawFlash(GameWorld& world) {
  if (world.FlashActive && world.FlashLevel >= 1) {
    world.FlashColour = FlashColourFor(world.FlashKind, world.FlashLevel);
    world.FlashLevel -= FlashStep(world.FlashKind);
    DrawFlash(world);
  } else if (world.FlashKind != FlashDeath) {
    world.FlashActive = 0;
    world.FlashLevel = 0;
    world.FlashKind = FlashNone;
  }
}

void DrawFlash(GameWorld& world) {
  if (!world.Device) return;
  world.SetSpriteTransform(1, 0, 0, OverlayDepth + world.OverlayDepthOffset, 0, 0, 0);
  for (SceneVertex& v : world.FlashQuad) v.Colour = world.FlashColour;
  DrawFan(world.Device, world.Textures[TexBlank], world.FlashQuad);
}

bool SetScopeCover(GameWorld& world) {
  if (!world.Device) return false;
  world.SetSpriteTransform(1, 0, 0, OverlayDepth + world.OverlayDepthOffset, 0, 0, 0);
  return world.Device->SetCover(world.Textures[TexScope], world.ScopeQuad, sizeof(SceneVertex));
}

void DrawScope(GameWorld& world) {
  if (!world.Device) return;
  world.SetSpriteTransform(1, 0, 0, OverlayDepth + world.OverlayDepthOffset, 0, 0, 0);
  DrawFan(world.Device, world.Textures[TexScope], world.ScopeQuad);
}

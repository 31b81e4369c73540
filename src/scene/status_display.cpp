// The status display (frame, ammunition, weapon name, health) and its panel refresh.
#include "platform/render/render_device.h"
#include "scene/play_scene.h"
#include "world/game_world.h"

float ShownAmmo = 0;
float ShownHealth = 0;

namespace {

constexpr float OverlayDepth = 1.3f;

void DrawElement(GameWorld& world, Texture* texture, const SceneVertex* quad, float x, float y) {
  world.SetSpriteTransform(1, x, y, OverlayDepth + world.OverlayDepthOffset, 0, 0, 0);
  world.Device->SetVertexShader(SceneVertexFormat);
  world.Device->SetTexture(0, texture);
  world.Device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, quad, sizeof(SceneVertex));
}

}  // namespace

void RefreshStatusPanels(GameWorld& world) {
  const int weapon = world.CurrentWeapon >= 0 && world.CurrentWeapon < WeaponCount ? world.CurrentWeapon : 0;
  const float ammo = static_cast<float>(world.Weapons[weapon].Ammo);
  if (ammo != ShownAmmo) {
    ShownAmmo = ammo;
    world.RenderTextPanel(1, PanelAmmo, 70, 10, 0, 0, world.Weapons[weapon].Ammo, "", 100, TexAmmoPanel,
                          0xFFFFFFFF);
  }
  const float health = world.Player.HP;
  if (health != ShownHealth) {
    ShownHealth = health;
    world.RenderTextPanel(1, PanelHealth, 5, 0, 0, 0, static_cast<int>(health), "", 35, TexHpPanel, 0xFFFFFFFF);
  }
}

void DrawStatusDisplay(GameWorld& world) {
  if (!world.Device) return;
  const int weapon = world.CurrentWeapon >= 0 && world.CurrentWeapon < WeaponCount ? world.CurrentWeapon : 0;
  DrawElement(world, world.Textures[TexWindow], world.ScreenQuad, 0, 0);
  DrawElement(world, world.TextPanels[PanelAmmo], world.AmmoPlateQuad, 0.55f, -0.48f);
  DrawElement(world, world.Textures[TexWeaponName1 + weapon], world.WeaponPlateQuad, -0.3f, -0.51f);
  DrawElement(world, world.TextPanels[PanelHealth], world.HealthPlateQuad, -0.55f, -0.51f);
}

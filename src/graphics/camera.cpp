// The camera (fixed at the origin, projection by field of view) and the frame bracket.
#include "graphics/texture_id.h"
#include "persist/settings_record.h"
#include "platform/render/render_device.h"
#include "world/game_world.h"

namespace {

constexpr float CameraAspect = 1.25f;
constexpr float NearPlane = 1.24f;
constexpr float FarPlaneFogged = 140000.0f;
constexpr float FarPlaneClear = 140000.0f + 9500.0f;

}  // namespace

void GameWorld::SetupCamera(float fieldOfView) {
  ViewMatrix = MatrixLookAtLH({0, 0, 0}, {0, 0, 1}, {0, 1, 0});
  ProjectionMatrix = MatrixPerspectiveFovLH(fieldOfView * DegreesToRadians, CameraAspect, NearPlane,
                                            Settings.UseFog ? FarPlaneFogged : FarPlaneClear);
}

bool GameWorld::BeginFrame(std::uint32_t clearColour) {
  if (!D3D || !Device) return false;
  UpdateFpsTexture();
  Device->Clear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, clearColour, 1.0f, 0);
  Device->BeginScene();
  Device->SetTransform(D3DTS_VIEW, ViewMatrix);
  Device->SetTransform(D3DTS_PROJECTION, ProjectionMatrix);
  Device->SetTextureStageState(0, D3DTSS_MIPFILTER, D3DTEXF_NONE);
  return true;
}

bool GameWorld::EndFrame() {
  if (!Device) return false;
  Device->EndScene();
  return Device->Present();
}

void GameWorld::UpdateFpsTexture() {
  if (!Settings.ShowFps) return;
  const float fps = static_cast<float>(Fps);
  if (fps == ShownFps) return;
  ShownFps = fps;
  RenderTextPanel(1, PanelFps, 50, 4, 0, 0, Fps, "", 24, TexFps, 0xFF000000);
}

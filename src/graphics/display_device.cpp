// The device and its display modes, the fixed render states and two start-up steps.
#include "app/app_globals.h"
#include "graphics/mesh_models.h"
#include "graphics/text_renderer.h"
#include "persist/settings_record.h"
#include "platform/message_box.h"
#include "platform/render/render_device.h"
#include "platform/render/sprite.h"
#include "platform/render/texture.h"
#include "world/game_world.h"

namespace {

PresentParameters WindowModeParameters(const DisplayMode& desktop) {
  PresentParameters p;
  p.BackBufferWidth = Settings.ScreenWidth;
  p.BackBufferHeight = Settings.ScreenHeight;
  p.BackBufferFormat = desktop.Format;
  p.BackBufferCount = 0;
  p.SwapEffect = D3DSWAPEFFECT_FLIP;
  p.Windowed = true;
  p.EnableAutoDepthStencil = true;
  p.AutoDepthStencilFormat = D3DFMT_D16;
  p.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
  p.FullScreenRefreshRateInHz = 0;
  return p;
}

PresentParameters FullScreenModeParameters(const DisplayMode& desktop) {
  PresentParameters p;
  p.BackBufferWidth = Settings.ScreenWidth;
  p.BackBufferHeight = Settings.ScreenHeight;
  switch (Settings.ColourDepth) {
    case 0: p.BackBufferFormat = desktop.Format; break;
    case 1: p.BackBufferFormat = D3DFMT_R5G6B5; break;
    case 2: p.BackBufferFormat = D3DFMT_R8G8B8; break;
    case 3: p.BackBufferFormat = D3DFMT_X8R8G8B8; break;
    default: p.BackBufferFormat = D3DFMT_UNKNOWN; break;
  }
  p.BackBufferCount = 1;
  p.SwapEffect = D3DSWAPEFFECT_DISCARD;
  p.Windowed = false;
  p.EnableAutoDepthStencil = true;
  p.AutoDepthStencilFormat = D3DFMT_D16;
  p.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
  p.FullScreenRefreshRateInHz = 60;
  return p;
}

bool CreateDeviceOrReport(GameWorld& world, const PresentParameters& params) {
  world.Device = CreateRenderDevice(world.D3D, MainWindow, params);
  if (world.Device) return true;
  ShowCursor(true);
  MessageBox(MainWindow, "Direct3Dの初期化に失敗。\nグラフィックボードが対応していないか、\n設定の誤りかと思われます。",
             "Direct3D", MB_OK);
  return false;
}

}  // namespace

bool GameWorld::InitDirect3D() {
  D3D = CreateRenderSystem();
  if (!D3D) return false;
  if (!GetAdapterDisplayMode(D3D, DesktopMode)) return false;
  return ResetDisplay(0);
}

bool GameWorld::ResetDisplay(int mode) {
  ReleaseTextPanels();
  Text.ReleaseFont();
  if (mode == 0) {
    WindowedParams = WindowModeParameters(DesktopMode);
    if (!Device) {
      if (!CreateDeviceOrReport(*this, WindowedParams)) return false;
    } else {
      if (!Device->Reset(WindowedParams)) {
        MessageBox(MainWindow, "切り替えに失敗", "Full -> Window", MB_OK);
        return false;
      }
      CoverScreen(MainWindow);
    }
  } else if (mode == 1) {
    FullScreenParams = FullScreenModeParameters(DesktopMode);
    if (!Device) {
      if (!CreateDeviceOrReport(*this, FullScreenParams)) return false;
    } else if (!Device->Reset(FullScreenParams)) {
      MessageBox(MainWindow, "切り替えに失敗", "Window -> Full", MB_OK);
      return false;
    }
  }
  CreateTextPanels();
  ApplyRenderStates();
  SetupCamera(45);
  return true;
}

void GameWorld::ApplyRenderStates() {
  if (!Device) return;
  Device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
  Device->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
  Device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  Device->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_LINEAR);
  Device->SetTextureStageState(0, D3DTSS_MIPFILTER, D3DTEXF_LINEAR);
  Device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  Device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
  Device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
  Device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
  Device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
  Device->SetRenderState(D3DRS_LIGHTING, 0);
  Device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
  Device->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_GOURAUD);
  Device->SetRenderState(D3DRS_AMBIENT, 0x808080);
  Device->SetRenderState(D3DRS_SPECULARENABLE, 1);
}

bool GameWorld::ApplyViewSettings() {
  if (!Device) return true;
  Models.SetupLights();
  Device->SetTransform(D3DTS_VIEW, ViewMatrix);
  Device->SetTransform(D3DTS_PROJECTION, ProjectionMatrix);
  Device->SetRenderState(D3DRS_LIGHTING, 0);
  return true;
}

bool GameWorld::InitTitle() { return true; }

void GameWorld::ReleaseGraphics() {
  for (Texture*& texture : Textures) {
    ReleaseTexture(texture);
    texture = nullptr;
  }
  ReleaseTextPanels();
  Text.ReleaseFont();
  // The models' meshes and pictures live on the device, so they go before it.
  Models.ReleaseModels();
  ReleaseRenderDevice(Device);
  Device = nullptr;
  ReleaseRenderSystem(D3D);
  D3D = nullptr;
}

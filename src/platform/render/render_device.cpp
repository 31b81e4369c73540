// The render device on OpenGL 3.3 core: making and releasing it, clearing, the scene bracket.
#include "platform/render/render_device.h"

#include <SDL.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <unordered_map>

#include "platform/render/font.h"
#include "platform/render/gl_debug.h"
#include "platform/render/render_opening.h"
#include "platform/render/render_state.h"
#include "platform/window_internal.h"

namespace {

RenderDevice* TheDevice = nullptr;

}  // namespace

RenderSystem* CreateRenderSystem() {
  if (!SDL_WasInit(SDL_INIT_VIDEO) && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return nullptr;
  auto* system = new RenderSystem;
  system->Valid = true;
  return system;
}

void ReleaseRenderSystem(RenderSystem* system) { delete system; }

bool GetAdapterDisplayMode(RenderSystem* system, DisplayMode& mode) {
  if (!system || !system->Valid) return false;
  SDL_DisplayMode desktop{};
  if (SDL_GetDesktopDisplayMode(0, &desktop) != 0) return false;
  mode.Width = desktop.w;
  mode.Height = desktop.h;
  mode.RefreshRate = desktop.refresh_rate;
  mode.Format = SDL_BITSPERPIXEL(desktop.format) == 16 ? D3DFMT_R5G6B5 : D3DFMT_X8R8G8B8;
  return true;
}

RenderDevice* CreateRenderDevice(RenderSystem* system, HWND window, const PresentParameters& params) {
  if (!system || !system->Valid || TheDevice) return nullptr;
  SDL_Window* sdlWindow = SdlWindowOf(window);
  if (!sdlWindow) return nullptr;
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_FLAGS, GlDebugRequested() ? SDL_GL_CONTEXT_DEBUG_FLAG : 0);
  SDL_GLContext context = SDL_GL_CreateContext(sdlWindow);
  if (!context) return nullptr;
  SDL_GL_MakeCurrent(sdlWindow, context);
  EnableGlDebugOutput();
  SDL_GL_SetSwapInterval(0);  // may be refused; presenting still works

  auto* state = new DeviceState;
  state->Window = sdlWindow;
  state->Context = context;
  SetDefaultStates(*state);
  state->FlatProgram = CompileProgram(FlatVertexShader, FlatFragmentShader);
  // Presenting has its own plain program: a software rasteriser fills opaque quads fastest
  // when the shader can discard nothing.
  state->PresentProgram = CompileProgram(FlatVertexShader, PresentFragmentShader);
  auto fail = [&]() -> RenderDevice* {
    SDL_GL_DeleteContext(context);
    delete state;
    return nullptr;
  };
  if (!state->FlatProgram || !state->PresentProgram) return fail();
  state->PresentTargetSize = glGetUniformLocation(state->PresentProgram, "uTargetSize");
  state->PresentTexture = glGetUniformLocation(state->PresentProgram, "uTexture");
  LookUpFlatUniforms(*state);
  // The default states' program proves the fixed-function shaders build on this driver.
  if (!VariantFor(*state, CurrentVariant(*state, true))) return fail();

  glGenVertexArrays(1, &state->StreamArray);
  glBindVertexArray(state->StreamArray);
  glGenBuffers(1, &state->StreamBuffer);
  glBindBuffer(GL_ARRAY_BUFFER, state->StreamBuffer);
  glBufferData(GL_ARRAY_BUFFER, StreamBytes, nullptr, GL_STREAM_DRAW);
  glGenBuffers(1, &state->KeptIndexBuffer);
  glGenVertexArrays(1, &state->FlatArray);
  glBindVertexArray(state->FlatArray);
  glGenBuffers(1, &state->FlatBuffer);
  glBindBuffer(GL_ARRAY_BUFFER, state->FlatBuffer);
  glEnableVertexAttribArray(0);
  glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 16, nullptr);
  glEnableVertexAttribArray(2);
  glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, 16, reinterpret_cast<void*>(8));
  glBindVertexArray(0);
  glGenSamplers(1, &state->Sampler);
  glGenSamplers(1, &state->FlatSampler);
  glSamplerParameteri(state->FlatSampler, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glSamplerParameteri(state->FlatSampler, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glSamplerParameteri(state->FlatSampler, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glSamplerParameteri(state->FlatSampler, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glGenSamplers(1, &state->PresentSampler);
  glSamplerParameteri(state->PresentSampler, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glSamplerParameteri(state->PresentSampler, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  // Constant attributes: fans carry no normal, meshes no colour.
  glVertexAttrib3f(3, 0, 0, 0);
  glVertexAttrib4f(1, 1, 1, 1, 1);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);

  if (!ApplyPresentation(*state, params) || !MakeBackBuffer(*state, params)) return fail();
  state->Params = params;
  auto* device = new RenderDevice;
  device->State = state;
  TheDevice = device;
  return device;
}

void ReleaseRenderDevice(RenderDevice* device) {
  if (!device) return;
  DeviceState* s = device->State;
  ReleaseFonts();
  if (s) {
    if (s->FullScreen) SDL_SetWindowFullscreen(s->Window, 0);
    SDL_GL_DeleteContext(s->Context);
    delete s;
  }
  if (TheDevice == device) TheDevice = nullptr;
  delete device;
}

void CoverScreen(HWND window) {
  SDL_Window* w = SdlWindowOf(window);
  if (!w) return;
  SDL_Rect bounds{};
  const int display = SDL_GetWindowDisplayIndex(w);
  if (SDL_GetDisplayBounds(display < 0 ? 0 : display, &bounds) == 0) {
    SDL_SetWindowPosition(w, bounds.x, bounds.y);
    SDL_SetWindowSize(w, bounds.w, bounds.h);
  }
  SDL_ShowWindow(w);
  SDL_RaiseWindow(w);
}

RenderDevice* CurrentDevice() { return TheDevice; }

bool RenderDevice::Reset(const PresentParameters& params) {
  DeviceState& s = *State;
  FlushBatch(s);
  if (!ApplyPresentation(s, params)) return false;
  if (!MakeBackBuffer(s, params)) return false;
  s.Params = params;
  s.InScene = false;
  return true;
}

bool RenderDevice::Clear(std::uint32_t flags, std::uint32_t colour, float depth, std::uint32_t) {
  DeviceState& s = *State;
  FlushBatch(s);
  GLbitfield mask = 0;
  if (flags & D3DCLEAR_TARGET) {
    const ColourValue c = Unpack(colour);
    glClearColor(c.R, c.G, c.B, c.A);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    mask |= GL_COLOR_BUFFER_BIT;
  }
  if ((flags & D3DCLEAR_ZBUFFER) && (s.Target == nullptr || s.UseDepth)) {
    glClearDepth(depth);
    glDepthMask(GL_TRUE);
    mask |= GL_DEPTH_BUFFER_BIT;
    // The back buffer's stencil is the device's own; clearing it with the depth is one fill.
    if (s.Target == nullptr) {
      glClearStencil(0);
      glStencilMask(0xFF);
      mask |= GL_STENCIL_BUFFER_BIT;
    }
  }
  glDisable(GL_SCISSOR_TEST);
  if (mask) glClear(mask);
  return true;
}

void RenderDevice::SetShortcuts(bool on) {
  FlushBatch(*State);
  State->ShortcutsOn = on;
}

bool RenderDevice::SetCover(Texture* picture, const void* quad, std::uint32_t stride) {
  DeviceState& s = *State;
  FlushBatch(s);
  s.CoverOn = false;
  UseCoverStencil(s, false);
  if (!s.ShortcutsOn || s.Target || !picture || !quad || stride < 24) return false;
  const auto* corners = static_cast<const std::uint8_t*>(quad);
  const std::uint32_t* rs = s.RenderStates;
  const std::uint32_t* ts = s.StageStates;
  // Where it covers, the picture must land whole and at an alpha of 1 over whatever is there.
  for (int i = 0; i < 4; ++i)
    if (corners[i * stride + 15] != 0xFF) return false;
  const bool replaces = !rs[D3DRS_ALPHABLENDENABLE] ||
                        (rs[D3DRS_SRCBLEND] == D3DBLEND_SRCALPHA && rs[D3DRS_DESTBLEND] == D3DBLEND_INVSRCALPHA);
  const bool testPasses = !rs[D3DRS_ALPHATESTENABLE] || rs[D3DRS_ALPHAFUNC] == D3DCMP_ALWAYS ||
                          rs[D3DRS_ALPHAFUNC] == D3DCMP_GREATEREQUAL;
  if (!replaces || !testPasses || !AlphaComesFromPicture(s) || rs[D3DRS_ZENABLE] == D3DZB_FALSE ||
      rs[D3DRS_ZFUNC] != D3DCMP_LESSEQUAL || ts[D3DTSS_ADDRESSU] != D3DTADDRESS_WRAP ||
      ts[D3DTSS_ADDRESSV] != D3DTADDRESS_WRAP)
    return false;
  QuadPlacement placed;
  if (!PlaceQuad(s, corners, stride, placed)) return false;
  const std::vector<PixelRect>* rects = RememberedRects(s, picture, placed, 0xFF, true, true, CoverRectLimit);
  if (!rects || rects->empty()) return false;
  // Mark the covered pixels in the stencil; the next clear of the depth clears them again.
  glEnable(GL_SCISSOR_TEST);
  glStencilMask(0xFF);
  glClearStencil(1);
  for (const PixelRect& r : *rects) {
    glScissor(r.X, r.Y, r.Width, r.Height);
    glClear(GL_STENCIL_BUFFER_BIT);
  }
  glClearStencil(0);
  glDisable(GL_SCISSOR_TEST);
  const Matrix worldView = MatrixMultiply(s.World, s.View);
  for (int i = 0; i < 4; ++i) {
    float p[3];
    std::memcpy(p, corners + i * stride, sizeof p);
    s.CoverCorners[i] = ToEye(p, worldView);
  }
  s.CoverDepth = s.CoverCorners[0].Z;
  s.CoverOpen = OpenBounds(*rects, s.Width, s.Height);
  s.CoverOn = true;
  return true;
}

void RenderDevice::ClearCover() {
  FlushBatch(*State);
  State->CoverOn = false;
  UseCoverStencil(*State, false);
}

bool RenderDevice::SetOpening(const void* box, std::uint32_t stride, int openFace) {
  FlushBatch(*State);
  return TakeOpening(*State, static_cast<const std::uint8_t*>(box), stride, openFace);
}

void RenderDevice::ClearOpening() {
  FlushBatch(*State);
  State->OpeningOn = false;
  // The scissor goes back to what the cover alone asks for.
  UseCoverStencil(*State, State->StencilOn);
}

void RenderDevice::BeginProbe() {
  FlushBatch(*State);
  State->Probing = true;
  State->ProbeBlocked = false;
  State->ProbeReplaces = true;
}

bool RenderDevice::EndProbe() {
  FlushBatch(*State);
  State->Probing = false;
  return !State->ProbeBlocked;
}

bool RenderDevice::Probing() const { return State->Probing; }
bool RenderDevice::ProbedDrawsReplace() const { return State->ProbeReplaces; }

void RenderDevice::SetSkipClearTexels(bool on) {
  FlushBatch(*State);
  State->SkipClear = on && State->ShortcutsOn;
}

bool RenderDevice::BeginScene() {
  State->InScene = true;
  return true;
}

bool RenderDevice::EndScene() {
  FlushBatch(*State);
  State->InScene = false;
  return true;
}

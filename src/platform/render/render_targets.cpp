// The back buffer, render targets, presentation onto the window and reading pixels back.
#include "platform/render/render_state.h"

bool MakeBackBuffer(DeviceState& s, const PresentParameters& p) {
  if (p.BackBufferWidth <= 0 || p.BackBufferHeight <= 0) return false;
  if (s.BackFramebuffer) glDeleteFramebuffers(1, &s.BackFramebuffer);
  if (s.BackColour) glDeleteTextures(1, &s.BackColour);
  if (s.BackDepth) glDeleteRenderbuffers(1, &s.BackDepth);
  s.BackFramebuffer = s.BackColour = s.BackDepth = 0;
  // A 16-bit mode keeps its 16-bit look; every other format renders at eight bits a channel.
  // The colour is a texture: presenting draws it as one quad, far cheaper than a blit on a
  // software rasteriser.
  const bool sixteen = p.BackBufferFormat == D3DFMT_R5G6B5;
  glGenTextures(1, &s.BackColour);
  glBindTexture(GL_TEXTURE_2D, s.BackColour);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
  glTexImage2D(GL_TEXTURE_2D, 0, sixteen ? GL_RGB565 : GL_RGBA8, p.BackBufferWidth, p.BackBufferHeight, 0,
               sixteen ? GL_RGB : GL_RGBA, sixteen ? GL_UNSIGNED_SHORT_5_6_5 : GL_UNSIGNED_BYTE, nullptr);
  glGenRenderbuffers(1, &s.BackDepth);
  glBindRenderbuffer(GL_RENDERBUFFER, s.BackDepth);
  // The stencil marks the pixels a cover will hide (render_cover.cpp).
  glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, p.BackBufferWidth, p.BackBufferHeight);
  glGenFramebuffers(1, &s.BackFramebuffer);
  glBindFramebuffer(GL_FRAMEBUFFER, s.BackFramebuffer);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, s.BackColour, 0);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, s.BackDepth);
  if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) return false;
  s.Width = p.BackBufferWidth;
  s.Height = p.BackBufferHeight;
  s.Target = nullptr;
  s.UseDepth = true;
  glViewport(0, 0, s.Width, s.Height);
  return true;
}

bool ApplyPresentation(DeviceState& s, const PresentParameters& p) {
  if (p.Windowed) {
    if (s.FullScreen && SDL_SetWindowFullscreen(s.Window, 0) != 0) return false;
    s.FullScreen = false;
    return true;
  }
  // Full screen needs a format the display can run at.
  if (p.BackBufferFormat != D3DFMT_R5G6B5 && p.BackBufferFormat != D3DFMT_R8G8B8 &&
      p.BackBufferFormat != D3DFMT_X8R8G8B8 && p.BackBufferFormat != D3DFMT_A8R8G8B8)
    return false;
  SDL_DisplayMode mode{};
  mode.w = p.BackBufferWidth;
  mode.h = p.BackBufferHeight;
  mode.refresh_rate = static_cast<int>(p.FullScreenRefreshRateInHz);
  SDL_DisplayMode closest{};
  const int display = SDL_GetWindowDisplayIndex(s.Window);
  // The display switches to the back buffer's size where it offers that mode; elsewhere the
  // picture is scaled over the desktop's mode, which looks the same to the player.
  Uint32 flags = SDL_WINDOW_FULLSCREEN_DESKTOP;
  if (SDL_GetClosestDisplayMode(display < 0 ? 0 : display, &mode, &closest) && closest.w == mode.w &&
      closest.h == mode.h && SDL_SetWindowDisplayMode(s.Window, &closest) == 0)
    flags = SDL_WINDOW_FULLSCREEN;
  if (SDL_SetWindowFullscreen(s.Window, flags) != 0) return false;
  s.FullScreen = true;
  return true;
}

namespace {
RenderDevice::OverlayDraw StandingOverlay = nullptr;
void* StandingOverlayUser = nullptr;
bool KeepShape = true;

// Draws the back buffer onto the bound framebuffer of the given size, black beside it.
void DrawPicture(DeviceState& s, int drawableWidth, int drawableHeight) {
  const PictureRect r = PresentedPictureRect(s.Width, s.Height, drawableWidth, drawableHeight, KeepShape);
  glDisable(GL_SCISSOR_TEST);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_CULL_FACE);
  glDisable(GL_BLEND);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  if (r.Width != drawableWidth || r.Height != drawableHeight) {
    glViewport(0, 0, drawableWidth, drawableHeight);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
  }
  // GL counts rows from the bottom.
  glViewport(r.X, drawableHeight - r.Y - r.Height, r.Width, r.Height);
  glUseProgram(s.PresentProgram);
  glUniform2f(s.PresentTargetSize, 1, 1);
  glUniform1i(s.PresentTexture, 0);
  glActiveTexture(GL_TEXTURE0);
  glBindTexture(GL_TEXTURE_2D, s.BackColour);
  // Smooth when scaling onto the window, exact pixels when the sizes agree.
  const GLint filter = r.Width == s.Width && r.Height == s.Height ? GL_NEAREST : GL_LINEAR;
  glSamplerParameteri(s.PresentSampler, GL_TEXTURE_MIN_FILTER, filter);
  glSamplerParameteri(s.PresentSampler, GL_TEXTURE_MAG_FILTER, filter);
  glBindSampler(0, s.PresentSampler);
  // The back buffer holds its top row first; the window's origin is bottom-left.
  static const float quad[24] = {0, 0, 0, 1, 1, 0, 1, 1, 1, 1, 1, 0, 0, 0, 0, 1, 1, 1, 1, 0, 0, 1, 0, 0};
  glBindVertexArray(s.FlatArray);
  glBindBuffer(GL_ARRAY_BUFFER, s.FlatBuffer);
  glBufferData(GL_ARRAY_BUFFER, sizeof quad, quad, GL_STREAM_DRAW);
  glDrawArrays(GL_TRIANGLES, 0, 6);
  glBindVertexArray(0);
  glBindSampler(0, 0);
  glViewport(0, 0, drawableWidth, drawableHeight);
}

void RebindTarget(DeviceState& s) {
  glBindFramebuffer(GL_FRAMEBUFFER, s.Target ? s.Target->Framebuffer : s.BackFramebuffer);
  if (s.Target) glViewport(0, 0, s.Target->Width, s.Target->Height);
  else glViewport(0, 0, s.Width, s.Height);
}
}  // namespace

PictureRect PresentedPictureRect(int backWidth, int backHeight, int drawableWidth, int drawableHeight,
                                 bool keepShape) {
  PictureRect r{0, 0, drawableWidth, drawableHeight};
  if (!keepShape || backWidth <= 0 || backHeight <= 0) return r;
  // Compare the aspect ratios in integers: the wider one decides which side is full.
  const long long wide = static_cast<long long>(drawableWidth) * backHeight;
  const long long tall = static_cast<long long>(drawableHeight) * backWidth;
  if (wide > tall) {
    r.Width = static_cast<int>((tall * 2 / backHeight + 1) / 2);
    r.X = (drawableWidth - r.Width) / 2;
  } else if (wide < tall) {
    r.Height = static_cast<int>((wide * 2 / backWidth + 1) / 2);
    r.Y = (drawableHeight - r.Height) / 2;
  }
  return r;
}

void SetPresentKeepsShape(bool keepShape) { KeepShape = keepShape; }
bool PresentKeepsShape() { return KeepShape; }

void SetPresentOverlay(RenderDevice::OverlayDraw overlay, void* user) {
  StandingOverlay = overlay;
  StandingOverlayUser = user;
}

bool RenderDevice::Present() { return PresentWithOverlay(StandingOverlay, StandingOverlayUser); }

bool RenderDevice::PresentWithOverlay(OverlayDraw overlay, void* user) {
  DeviceState& s = *State;
  ++PresentCount;
  FlushBatch(s);
  int drawableWidth = 0, drawableHeight = 0;
  SDL_GL_GetDrawableSize(s.Window, &drawableWidth, &drawableHeight);
  if (drawableWidth <= 0 || drawableHeight <= 0) return false;
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  DrawPicture(s, drawableWidth, drawableHeight);
  // Dialogs are laid out on the whole window, not on the picture.
  if (overlay) overlay(user, drawableWidth, drawableHeight);
  SDL_GL_SwapWindow(s.Window);
  RebindTarget(s);
  return glGetError() == GL_NO_ERROR;
}

bool RenderDevice::ComposeWindowPicture(int drawableWidth, int drawableHeight, std::vector<std::uint32_t>& argb) {
  DeviceState& s = *State;
  if (drawableWidth <= 0 || drawableHeight <= 0) return false;
  FlushBatch(s);
  GLuint colour = 0, framebuffer = 0;
  glGenTextures(1, &colour);
  glBindTexture(GL_TEXTURE_2D, colour);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, drawableWidth, drawableHeight, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  glGenFramebuffers(1, &framebuffer);
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colour, 0);
  // Garbage where the picture leaves the frame uncleared, as a window's old contents would be.
  glClearColor(1, 0, 1, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  DrawPicture(s, drawableWidth, drawableHeight);
  std::vector<std::uint8_t> rgba(static_cast<std::size_t>(drawableWidth) * drawableHeight * 4);
  glReadPixels(0, 0, drawableWidth, drawableHeight, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  glDeleteFramebuffers(1, &framebuffer);
  glDeleteTextures(1, &colour);
  RebindTarget(s);
  argb.resize(static_cast<std::size_t>(drawableWidth) * drawableHeight);
  // Rows come bottom first.
  for (int y = 0; y < drawableHeight; ++y) {
    for (int x = 0; x < drawableWidth; ++x) {
      const std::uint8_t* p = &rgba[(static_cast<std::size_t>(drawableHeight - 1 - y) * drawableWidth + x) * 4];
      argb[static_cast<std::size_t>(y) * drawableWidth + x] =
          static_cast<std::uint32_t>(p[3]) << 24 | p[0] << 16 | p[1] << 8 | p[2];
    }
  }
  return glGetError() == GL_NO_ERROR;
}

bool RenderDevice::SetRenderTarget(Texture* target, bool useDepth) {
  DeviceState& s = *State;
  if (target && !target->RenderTarget) return false;
  FlushBatch(s);
  glBindFramebuffer(GL_FRAMEBUFFER, target ? target->Framebuffer : s.BackFramebuffer);
  s.Target = target;
  s.UseDepth = target ? false : useDepth;
  if (target) glViewport(0, 0, target->Width, target->Height);
  else glViewport(0, 0, s.Width, s.Height);
  return true;
}

Texture* RenderDevice::GetRenderTarget() const { return State->Target; }
bool RenderDevice::GetDepthEnabled() const { return State->UseDepth; }
int RenderDevice::BackBufferWidth() const { return State->Width; }
int RenderDevice::BackBufferHeight() const { return State->Height; }
bool RenderDevice::FullScreen() const { return State->FullScreen; }

bool RenderDevice::ReadBackBuffer(std::vector<std::uint32_t>& argb, int& width, int& height) {
  DeviceState& s = *State;
  FlushBatch(s);
  width = s.Width;
  height = s.Height;
  std::vector<std::uint8_t> rgba(static_cast<std::size_t>(width) * height * 4);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, s.BackFramebuffer);
  glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  glBindFramebuffer(GL_READ_FRAMEBUFFER, s.Target ? s.Target->Framebuffer : s.BackFramebuffer);
  argb.resize(static_cast<std::size_t>(width) * height);
  for (std::size_t i = 0; i < argb.size(); ++i) {
    const std::uint8_t* p = &rgba[i * 4];
    argb[i] = static_cast<std::uint32_t>(p[3]) << 24 | p[0] << 16 | p[1] << 8 | p[2];
  }
  return glGetError() == GL_NO_ERROR;
}

void RenderDevice::Finish() {
  FlushBatch(*State);
  glFinish();
}

void CurrentTargetSize(RenderDevice* device, int& width, int& height) {
  DeviceState& s = *device->State;
  width = s.Target ? s.Target->Width : s.Width;
  height = s.Target ? s.Target->Height : s.Height;
}

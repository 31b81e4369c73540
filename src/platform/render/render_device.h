// The render device: one OpenGL 3.3 context behind fixed-function style states and draws.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/render/render_types.h"
#include "platform/window.h"

struct Texture;
struct Mesh;
struct DeviceState;

// The adapter: what the desktop runs at and whether a device can be made at all.
struct RenderSystem {
  bool Valid = false;
};

// Null when the video system cannot start.
RenderSystem* CreateRenderSystem();
void ReleaseRenderSystem(RenderSystem* system);
bool GetAdapterDisplayMode(RenderSystem* system, DisplayMode& mode);

struct RenderDevice {
  DeviceState* State = nullptr;
  // Frames shown so far.
  std::uint32_t PresentCount = 0;

  // Switches between window and full-screen presentation and remakes the back buffer.
  bool Reset(const PresentParameters& params);

  bool Clear(std::uint32_t flags, std::uint32_t colour, float depth, std::uint32_t stencil);
  bool BeginScene();
  bool EndScene();
  // Scales the back buffer onto the window (see SetPresentKeepsShape) and shows it.
  bool Present();
  // The same, letting `overlay` draw onto the window (its own GL framebuffer, drawable size)
  // after the game's picture and before it is shown: the modal dialogs draw this way over the
  // last game frame.
  using OverlayDraw = void (*)(void* user, int drawableWidth, int drawableHeight);
  bool PresentWithOverlay(OverlayDraw overlay, void* user);

  void SetRenderState(std::uint32_t state, std::uint32_t value);
  std::uint32_t GetRenderState(std::uint32_t state) const;
  void SetTextureStageState(std::uint32_t stage, std::uint32_t state, std::uint32_t value);
  std::uint32_t GetTextureStageState(std::uint32_t stage, std::uint32_t state) const;
  void SetTransform(std::uint32_t kind, const Matrix& matrix);
  Matrix GetTransform(std::uint32_t kind) const;
  void SetLight(std::uint32_t index, const Light& light);
  void LightEnable(std::uint32_t index, bool enable);
  void SetMaterial(const Material& material);
  // Binds a texture to a stage (only stage 0 draws); null draws as opaque white.
  void SetTexture(std::uint32_t stage, Texture* texture);
  Texture* GetTexture(std::uint32_t stage) const;
  // Only SceneVertexFormat is drawn; any other format makes draws fail.
  void SetVertexShader(std::uint32_t format);
  bool DrawPrimitiveUP(std::uint32_t type, std::uint32_t primitiveCount, const void* vertices,
                       std::uint32_t stride);

  // Render targets: null is the back buffer. A texture target has no depth buffer.
  bool SetRenderTarget(Texture* target, bool useDepth);
  Texture* GetRenderTarget() const;
  bool GetDepthEnabled() const;

  // The back buffer's contents, top row first, as ARGB.
  bool ReadBackBuffer(std::vector<std::uint32_t>& argb, int& width, int& height);
  int BackBufferWidth() const;
  int BackBufferHeight() const;
  bool FullScreen() const;

  // Waits until every issued command has finished (timing offscreen frames).
  void Finish();

  // Covering: an opaque picture that a frame draws over everything else hides what lies behind
  // it. SetCover places `quad` (four SceneVertex corners `stride` bytes apart, a fan) with the
  // current transforms and finds the pixels its picture covers opaquely; false when there are
  // none or the quad does not lie flat on the screen. Until ClearCover, draws that cannot reach
  // in front of it leave those pixels out. The caller promises to draw that quad with that
  // picture and the current stage states later in the frame, and, through a probe, that nothing
  // in front of it blends.
  bool SetCover(Texture* picture, const void* quad, std::uint32_t stride);
  void ClearCover();
  // Openings: `box` holds the six faces of a convex box as fans of four corners (SceneVertex
  // layout, `stride` bytes apart), placed with the current transforms. The caller promises
  // that each face but `openFace` is drawn already, writing its pixels outright. Until
  // ClearOpening, a model drawn with D3DCMP_LESS that lies wholly outside the box is kept to
  // the pixels where the open face may show: everywhere else the box's faces are nearer. False
  // when the box does not allow it (see render_opening.h).
  bool SetOpening(const void* box, std::uint32_t stride, int openFace);
  void ClearOpening();
  // Draws between these are tested against the cover, not drawn. EndProbe is true when each
  // of them either stays behind the cover or replaces the pixels it reaches outright.
  void BeginProbe();
  bool EndProbe();
  bool Probing() const;
  // After EndProbe: whether every probed draw wrote colour and depth outright (depth tested
  // with D3DCMP_LESSEQUAL and written, nothing blended or alpha tested once the shortcuts are
  // taken, nothing at the far plane). Such a draw may be moved after the others and drawn
  // with D3DCMP_LESS: each pixel still ends with the nearest fragment, and a tie still goes
  // to the later draw of the order given.
  bool ProbedDrawsReplace() const;
  // While on, blended quads flat on the screen leave out the pixels where their picture is
  // clear. The caller promises that nothing drawn after them lies behind them, since those
  // pixels no longer get their depth.
  void SetSkipClearTexels(bool on);

  // Test seam and measuring: with shortcuts off, every draw runs each state it is given, even
  // where leaving one out (an alpha test nothing fails, blending by an alpha of 1, fog that
  // starts past the draw, pixels that leave a picture as it was) would change no pixel.
  void SetShortcuts(bool on);

  // Test seam: the picture Present would put on a window of this drawable size, composed
  // off screen and read back (ARGB, top row first).
  bool ComposeWindowPicture(int drawableWidth, int drawableHeight, std::vector<std::uint32_t>& argb);
};

// Where the back buffer lands on the window, in drawable pixels from the top-left.
struct PictureRect {
  int X = 0, Y = 0, Width = 0, Height = 0;
};
// Keeping the shape: the largest size at the back buffer's own aspect ratio that fits,
// centred (the rest is black). Otherwise the whole drawable.
PictureRect PresentedPictureRect(int backWidth, int backHeight, int drawableWidth, int drawableHeight,
                                 bool keepShape);
// How every later Present shapes the picture; the default keeps it.
void SetPresentKeepsShape(bool keepShape);
bool PresentKeepsShape();

// Creates the context on the window; null on failure. The device's states start at their
// documented defaults.
RenderDevice* CreateRenderDevice(RenderSystem* system, HWND window, const PresentParameters& params);
void ReleaseRenderDevice(RenderDevice* device);

// Puts the window back over the whole screen, on top.
void CoverScreen(HWND window);

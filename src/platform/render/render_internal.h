// Platform-internal pieces shared by the render backend's files (GL types live here only).
#pragma once

#include <epoxy/gl.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "platform/render/matrix.h"
#include "platform/render/render_device.h"
#include "platform/render/render_shell.h"

struct Texture {
  GLuint Id = 0;
  int Width = 0;
  int Height = 0;
  int Levels = 0;
  bool RenderTarget = false;
  // The lowest alpha of any texel of any level (0 for render targets, whose texels change):
  // at 255 the picture is opaque wherever it is sampled.
  std::uint8_t MinAlpha = 0;
  // Every texel of every level is opaque white: sampling it gives what no picture gives.
  bool White = false;
  // Tells this picture from any other made at the same address before it.
  std::uint64_t Serial = 0;
  GLuint Framebuffer = 0;  // render targets only
};

struct Mesh {
  GLuint VertexArray = 0;
  GLuint VertexBuffer = 0;
  GLuint IndexBuffer = 0;
  // First index and index count of each subset (one per material).
  std::vector<std::pair<std::uint32_t, std::uint32_t>> Subsets;
  // The triangles kept on the CPU side too, and a sphere around them, for tools and for
  // finding what a draw can reach.
  std::vector<Vector3> Positions;
  std::vector<std::uint32_t> Indices;
  Vector3 Centre;
  float Radius = 0;
  // What the whole mesh makes: a closed convex shell loses its hidden far side when drawn.
  ConvexShell Shell;
};

// Vertex of the mesh buffers: position, normal, texture coordinates.
struct MeshVertex {
  float X, Y, Z;
  float NX, NY, NZ;
  float U, V;
};

// Binds the mesh's vertex array with the fixed-function program and current states applied.
bool PrepareMeshDraw(RenderDevice* device, Mesh* mesh);
// What the mesh's bounding sphere tells of its eye depths, for the shortcuts.
struct DrawFacts;
DrawFacts MeshFacts(const RenderDevice* device, const Mesh* mesh);
// Draws `count` indices of the mesh from `first` (or, while probing, only tests them).
void DrawMeshRange(RenderDevice* device, Mesh* mesh, std::uint32_t first, std::uint32_t count);

// Pixel-space quads (x, y, u, v per corner, four corners a quad, clockwise from top-left)
// drawn onto the current target with alpha blending, no depth, no fog.
enum class Flat2DMode { Picture = 0, Mask = 1 };
void DrawFlat2D(RenderDevice* device, GLuint texture, const std::vector<float>& corners,
                std::uint32_t colour, Flat2DMode mode);

// Sends flat draws gathered so far; anything that reads or changes GL state outside the
// device's own calls does this first.
void FlushPendingDraws(RenderDevice* device);

// Size of the current target in pixels.
void CurrentTargetSize(RenderDevice* device, int& width, int& height);

// The device the textures and fonts were made for (only one ever exists).
RenderDevice* CurrentDevice();

// An overlay drawn by every Present while set (the modal dialogs over the game's redraws).
void SetPresentOverlay(RenderDevice::OverlayDraw overlay, void* user);

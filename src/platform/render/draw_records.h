// Draw records: what each draw cost the rasteriser, for measuring frames (never in play).
#pragma once

#include <cstdint>
#include <vector>

struct RenderDevice;
struct Texture;

// One draw as the rasteriser saw it. Fragments counts the fragment shader's runs (0 where the
// driver cannot count them): llvmpipe shades blocks of 4x4 pixels and counts each block whole,
// so a small triangle counts the pixels of every block it touches. Passed counts the samples
// that passed the depth and stencil tests.
struct DrawRecord {
  const Texture* Bound = nullptr;
  std::uint32_t Triangles = 0;
  std::uint64_t Fragments = 0;
  std::uint64_t Passed = 0;
  float NearestDepth = 0;  // the smallest eye depth of any corner
  std::uint32_t Program = 0;  // the GL program it ran
  bool Uploaded = false;      // whether its uniforms had to be sent again
  bool Mesh = false;  // a model subset rather than streamed quads
  bool Blend = false;
  bool AlphaTest = false;
  bool Fog = false;
  bool DepthTest = false;
  bool DepthWrite = false;
  bool Lighting = false;
  bool Mipmapped = false;  // the minification filter reads mip levels
};

// While recording, every draw of the device waits for its own counts, so frames are slow.
void StartDrawRecords(RenderDevice* device);
std::vector<DrawRecord> TakeDrawRecords(RenderDevice* device);
// Whether the driver counts fragment shader runs.
bool CountsFragments();

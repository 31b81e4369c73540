// The render device's state and the functions its files share (platform-internal).
#pragma once

#include <SDL.h>

#include <cstring>
#include <unordered_map>
#include <vector>

#include "platform/render/render_cover.h"
#include "platform/render/render_internal.h"

inline ColourValue Unpack(std::uint32_t argb) {
  return {((argb >> 16) & 0xFF) / 255.0f, ((argb >> 8) & 0xFF) / 255.0f, (argb & 0xFF) / 255.0f,
          ((argb >> 24) & 0xFF) / 255.0f};
}

inline float AsFloat(std::uint32_t bits) {
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

inline GLenum BlendFactor(std::uint32_t value) {
  switch (value) {
    case D3DBLEND_ZERO: return GL_ZERO;
    case D3DBLEND_ONE: return GL_ONE;
    case D3DBLEND_SRCCOLOR: return GL_SRC_COLOR;
    case D3DBLEND_INVSRCCOLOR: return GL_ONE_MINUS_SRC_COLOR;
    case D3DBLEND_SRCALPHA: return GL_SRC_ALPHA;
    case D3DBLEND_INVSRCALPHA: return GL_ONE_MINUS_SRC_ALPHA;
    case D3DBLEND_DESTALPHA: return GL_DST_ALPHA;
    case D3DBLEND_INVDESTALPHA: return GL_ONE_MINUS_DST_ALPHA;
    case D3DBLEND_DESTCOLOR: return GL_DST_COLOR;
    case D3DBLEND_INVDESTCOLOR: return GL_ONE_MINUS_DST_COLOR;
    default: return GL_ONE;
  }
}

inline GLenum CompareFunc(std::uint32_t value) {
  switch (value) {
    case D3DCMP_NEVER: return GL_NEVER;
    case D3DCMP_LESS: return GL_LESS;
    case D3DCMP_EQUAL: return GL_EQUAL;
    case D3DCMP_LESSEQUAL: return GL_LEQUAL;
    case D3DCMP_GREATER: return GL_GREATER;
    case D3DCMP_NOTEQUAL: return GL_NOTEQUAL;
    case D3DCMP_GREATEREQUAL: return GL_GEQUAL;
    default: return GL_ALWAYS;
  }
}

inline GLint AddressMode(std::uint32_t value) {
  if (value == D3DTADDRESS_MIRROR) return GL_MIRRORED_REPEAT;
  if (value == D3DTADDRESS_CLAMP) return GL_CLAMP_TO_EDGE;
  return GL_REPEAT;
}

struct MainUniforms {
  GLint WorldView, Projection, NormalMatrix;
  GLint MatDiffuse, MatAmbient, MatSpecular, MatEmissive, MatPower, GlobalAmbient, LightCount;
  GLint LightType, LightDiffuse, LightSpecular, LightAmbient, LightPosition, LightDirection,
      LightAttenuation;
  GLint Texture, AlphaRef, FogColour, FogStart, FogEnd, FogDensity;
};

inline constexpr int MaxLights = 8;
// A box's faces, its edges' and its corners' bevels.
inline constexpr int MaxOpeningPlanes = 26;
inline constexpr std::size_t StreamBytes = 4u << 20;

// Everything the main program's uniforms are computed from; draws with the same inputs as
// the last upload skip the upload (hundreds of quads a frame share their states).
struct UniformInputs {
  std::uint32_t RenderStates[256];
  std::uint32_t StageStates[32];
  Matrix World, View, Projection;
  Light Lights[8];
  std::uint8_t LightOn[8];
  Material CurrentMaterial;
  std::uint8_t HasTexture;
  std::uint8_t VertexColour;
};

struct ProgramVariant {
  GLuint Program = 0;
  MainUniforms U{};
  UniformInputs Uploaded;
  bool UploadedValid = false;
};

// What a draw's vertices say about it, gathered before its states are applied.
struct DrawFacts {
  bool VertexAlphaOne = false;  // every vertex colour has alpha 255
  bool DepthKnown = false;      // FarthestDepth holds the largest eye depth of any corner
  float FarthestDepth = 0;
};

// States that would change nothing for this draw and are left out of it.
struct DrawShortcuts {
  bool NoAlphaTest = false;
  bool NoBlend = false;
  bool NoFog = false;
  bool NoTexture = false;  // the picture is white throughout: the draw samples nothing
};

struct DeviceState {
  SDL_Window* Window = nullptr;
  SDL_GLContext Context = nullptr;
  PresentParameters Params;
  bool FullScreen = false;

  GLuint BackFramebuffer = 0, BackColour = 0, BackDepth = 0;
  int Width = 0, Height = 0;
  Texture* Target = nullptr;
  bool UseDepth = true;

  GLuint FlatProgram = 0, PresentProgram = 0;
  GLint PresentTargetSize = -1, PresentTexture = -1;
  std::unordered_map<std::uint32_t, ProgramVariant> Variants;
  GLint FlatTargetSize = -1, FlatColour = -1, FlatMode = -1, FlatTexture = -1;
  GLuint StreamArray = 0, StreamBuffer = 0;
  std::size_t StreamOffset = 0;
  std::uint32_t StreamStride = 0;  // stride the stream's attributes are set up for
  // Flat draws in a row with the same states are sent as one list of triangles; any state
  // change or other device work sends what has gathered first.
  std::vector<std::uint8_t> Batch;
  std::uint32_t BatchStride = 0;
  GLuint FlatArray = 0, FlatBuffer = 0;
  // A mesh drawn without its hidden far side: the triangles it keeps.
  GLuint KeptIndexBuffer = 0;
  std::vector<std::uint32_t> KeptIndices;
  GLuint Sampler = 0, FlatSampler = 0, PresentSampler = 0;

  std::uint32_t RenderStates[256] = {};
  std::uint32_t StageStates[32] = {};
  Matrix World = MatrixIdentity(), View = MatrixIdentity(), Projection = MatrixIdentity();
  Light Lights[MaxLights];
  bool LightOn[MaxLights] = {};
  Material CurrentMaterial;
  Texture* Bound = nullptr;
  std::uint32_t VertexFormat = 0;
  bool InScene = false;
  // Leaving out states that change no pixel (render_shortcuts.cpp); off only to compare.
  bool ShortcutsOn = true;
  DrawShortcuts LastCut;  // what the last applied draw left out
  GLuint LastProgram = 0;
  bool LastUploaded = false;

  // Probing: draws are tested against the cover's depth, not drawn (render_cover.cpp).
  bool Probing = false;
  bool ProbeBlocked = false;  // a draw could show in front of the cover other than opaquely
  bool ProbeReplaces = true;  // every draw writes its fragments outright, short of the far plane
  // The cover: draws that cannot reach in front of it leave out the pixels marked in the stencil.
  bool CoverOn = false;
  bool StencilOn = false;
  float CoverDepth = 0;
  Vector3 CoverCorners[4];  // in eye space: a draw of this very quad lies at the cover's depth
  PixelRect CoverOpen;      // the bounds of the pixels it leaves open; covered draws are scissored to them
  // The opening (render_opening.cpp): a box around the eye, drawn but for one face. Draws
  // wholly outside it under a strict depth test are scissored to that face's bounds.
  bool OpeningOn = false;
  bool ScissorOn = false;
  int OpeningPlaneCount = 0;
  float OpeningPlanes[MaxOpeningPlanes][4] = {};  // eye space, inside where positive
  PixelRect OpeningBounds;
  // Pictures leave out the pixels where they are clear.
  bool SkipClear = false;
  // Rectangles found for pictures placed on the target (render_cover.cpp), a few, newest last.
  struct RectsKey {
    std::uint64_t Picture;
    QuadPlacement Placed;
    int Width, Height;
    std::uint8_t Alpha;
    bool Inside, Matching, Found;
  };
  std::vector<std::pair<RectsKey, std::vector<PixelRect>>> Remembered;
};

// The states a program variant is compiled for, packed into one key.
struct VariantStates {
  std::uint32_t Lighting, VertexColour, Specular, Normalize, HasTexture;
  std::uint32_t ColourOp, ColourArg1, ColourArg2, AlphaOp, AlphaArg1, AlphaArg2;
  std::uint32_t AlphaFunc, FogMode;

  std::uint32_t Key() const {
    return Lighting | VertexColour << 1 | Specular << 2 | Normalize << 3 | HasTexture << 4 | ColourOp << 5 |
           ColourArg1 << 8 | ColourArg2 << 10 | AlphaOp << 12 | AlphaArg1 << 15 | AlphaArg2 << 17 |
           AlphaFunc << 19 | FogMode << 23;
  }
};

// Shader sources: the fixed-function program (compiled per variant), flat pixel-space quads,
// and the plain copy that presents the back buffer.
extern const char* const MainVertexShader;
extern const char* const MainFragmentShader;
extern const char* const FlatVertexShader;
extern const char* const FlatFragmentShader;
extern const char* const PresentFragmentShader;

// Shaders and their variants (render_shaders.cpp).
GLuint CompileProgram(const char* vertexSource, const char* fragmentSource);
MainUniforms LookUpMainUniforms(GLuint program);
void LookUpFlatUniforms(DeviceState& s);
VariantStates CurrentVariant(const DeviceState& s, bool vertexColour, const DrawShortcuts& cut = {});
ProgramVariant* VariantFor(DeviceState& s, const VariantStates& v);

// States (render_states.cpp).
void SetDefaultStates(DeviceState& s);
bool ApplyDrawState(DeviceState& s, bool vertexColour, const DrawFacts& facts);

// Shortcuts (render_shortcuts.cpp).
DrawShortcuts ShortcutsFor(const DeviceState& s, const DrawFacts& facts, bool vertexColour);
DrawFacts StreamedFacts(const DeviceState& s, const std::uint8_t* vertices, std::size_t count, std::uint32_t stride);

// Draws (render_draws.cpp).
void FlushBatch(DeviceState& s);

// Draw records (draw_records.cpp): a GL draw between these is counted while recording is on.
enum class RecordedKind { Streamed, Mesh, Flat };
bool RecordingDraws();
void BeginRecordedDraw();
// `corners` points at `count` positions (three floats each) `stride` bytes apart.
void EndRecordedDraw(const DeviceState& s, std::uint32_t triangles, RecordedKind kind, const void* corners = nullptr,
                     std::size_t count = 0, std::size_t stride = 0);

// The back buffer and presentation (render_targets.cpp).
bool MakeBackBuffer(DeviceState& s, const PresentParameters& p);
bool ApplyPresentation(DeviceState& s, const PresentParameters& p);

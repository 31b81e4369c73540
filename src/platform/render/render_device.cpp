// The render device on OpenGL 3.3 core: the back buffer, presentation and the state machine.
#include "platform/render/render_device.h"

#include <SDL.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <unordered_map>

#include "platform/render/font.h"
#include "platform/render/gl_debug.h"
#include "platform/render/render_internal.h"
#include "platform/window_internal.h"

namespace {

RenderDevice* TheDevice = nullptr;

// Compiled per combination of states: the states arrive as constants (see VariantDefines),
// so a software rasteriser runs only the code a draw needs.
const char* const MainVertexShader = R"(
layout(location = 0) in vec3 aPosition;
layout(location = 1) in vec4 aColour;
layout(location = 2) in vec2 aUv;
layout(location = 3) in vec3 aNormal;
uniform mat4 uWorldView;
uniform mat4 uProjection;
uniform mat3 uNormalMatrix;
uniform vec4 uMatDiffuse;
uniform vec4 uMatAmbient;
uniform vec4 uMatSpecular;
uniform vec4 uMatEmissive;
uniform float uMatPower;
uniform vec3 uGlobalAmbient;
uniform int uLightCount;
uniform int uLightType[8];
uniform vec3 uLightDiffuse[8];
uniform vec3 uLightSpecular[8];
uniform vec3 uLightAmbient[8];
uniform vec3 uLightPosition[8];
uniform vec3 uLightDirection[8];
uniform vec4 uLightAttenuation[8];
out vec4 vDiffuse;
out vec3 vSpecular;
out vec2 vUv;
out float vEyeDepth;
void main() {
  vec4 eye = uWorldView * vec4(aPosition, 1.0);
  vec4 clip = uProjection * eye;
  // Depth 0..1 of the game's projection onto GL's -1..1, and the image kept top row first.
  clip.z = clip.z * 2.0 - clip.w;
  clip.y = -clip.y;
  gl_Position = clip;
  vUv = aUv;
  vEyeDepth = eye.z;
  vec4 colour = VERTEX_COLOUR != 0 ? aColour.bgra : vec4(1.0);
  if (LIGHTING == 0) {
    vDiffuse = colour;
    vSpecular = vec3(0.0);
    return;
  }
  vec4 matDiffuse = VERTEX_COLOUR != 0 ? colour : uMatDiffuse;
  vec3 n = uNormalMatrix * aNormal;
  if (NORMALIZE != 0 && dot(n, n) > 0.0) n = normalize(n);
  vec3 ambient = vec3(0.0);
  vec3 diffuse = vec3(0.0);
  vec3 specular = vec3(0.0);
  for (int i = 0; i < uLightCount; ++i) {
    vec3 toLight;
    float attenuation = 1.0;
    if (uLightType[i] == 3) {
      toLight = normalize(-uLightDirection[i]);
    } else {
      vec3 d = uLightPosition[i] - eye.xyz;
      float dist = length(d);
      if (dist > uLightAttenuation[i].w) continue;
      toLight = dist > 0.0 ? d / dist : vec3(0.0, 0.0, 1.0);
      float denom = uLightAttenuation[i].x + uLightAttenuation[i].y * dist +
                    uLightAttenuation[i].z * dist * dist;
      attenuation = denom > 0.0 ? 1.0 / denom : 1.0;
    }
    ambient += attenuation * uLightAmbient[i];
    diffuse += attenuation * uLightDiffuse[i] * max(dot(n, toLight), 0.0);
    if (SPECULAR_ENABLE != 0) {
      vec3 h = normalize(normalize(-eye.xyz) + toLight);
      float nh = dot(n, h);
      if (nh > 0.0) specular += attenuation * uLightSpecular[i] * pow(nh, uMatPower);
    }
  }
  vec3 lit = uMatEmissive.rgb + uMatAmbient.rgb * (uGlobalAmbient + ambient) + matDiffuse.rgb * diffuse;
  vDiffuse = clamp(vec4(lit, matDiffuse.a), 0.0, 1.0);
  vSpecular = clamp(uMatSpecular.rgb * specular, 0.0, 1.0);
}
)";

const char* const MainFragmentShader = R"(
in vec4 vDiffuse;
in vec3 vSpecular;
in vec2 vUv;
in float vEyeDepth;
uniform sampler2D uTexture;
uniform float uAlphaRef;
uniform vec3 uFogColour;
uniform float uFogStart;
uniform float uFogEnd;
uniform float uFogDensity;
out vec4 fragColour;
vec4 Arg(int arg, vec4 tex) { return arg == 2 ? tex : vDiffuse; }
float Op(int op, float a, float b, float passThrough) {
  if (op == 2) return a;
  if (op == 3) return b;
  if (op == 4) return a * b;
  return passThrough;
}
bool Compare(int func, float a, float ref) {
  if (func == 1) return false;
  if (func == 2) return a < ref;
  if (func == 3) return a == ref;
  if (func == 4) return a <= ref;
  if (func == 5) return a > ref;
  if (func == 6) return a != ref;
  if (func == 7) return a >= ref;
  return true;
}
void main() {
  vec4 tex = HAS_TEXTURE != 0 ? texture(uTexture, vUv) : vec4(1.0);
  vec4 c1 = Arg(COLOUR_ARG1, tex), c2 = Arg(COLOUR_ARG2, tex);
  vec4 a1 = Arg(ALPHA_ARG1, tex), a2 = Arg(ALPHA_ARG2, tex);
  vec3 rgb = vec3(Op(COLOUR_OP, c1.r, c2.r, vDiffuse.r), Op(COLOUR_OP, c1.g, c2.g, vDiffuse.g),
                  Op(COLOUR_OP, c1.b, c2.b, vDiffuse.b));
  float alpha = Op(ALPHA_OP, a1.a, a2.a, vDiffuse.a);
  if (ADD_SPECULAR != 0) rgb = min(rgb + vSpecular, vec3(1.0));
  if (ALPHA_FUNC != 0 && !Compare(ALPHA_FUNC, floor(alpha * 255.0 + 0.5), uAlphaRef)) discard;
  if (FOG_MODE != 0) {
    float z = abs(vEyeDepth);
    float f = 1.0;
    if (FOG_MODE == 3) f = uFogEnd > uFogStart ? (uFogEnd - z) / (uFogEnd - uFogStart) : (z < uFogEnd ? 1.0 : 0.0);
    else if (FOG_MODE == 1) f = exp(-uFogDensity * z);
    else if (FOG_MODE == 2) f = exp(-(uFogDensity * z) * (uFogDensity * z));
    f = clamp(f, 0.0, 1.0);
    rgb = mix(uFogColour, rgb, f);
  }
  fragColour = vec4(rgb, alpha);
}
)";

const char* const FlatVertexShader = R"(#version 330 core
layout(location = 0) in vec2 aPosition;
layout(location = 2) in vec2 aUv;
uniform vec2 uTargetSize;
out vec2 vUv;
void main() {
  // Pixel rows counted from the top map straight onto GL rows: images are kept top row first.
  gl_Position = vec4(aPosition.x / uTargetSize.x * 2.0 - 1.0, aPosition.y / uTargetSize.y * 2.0 - 1.0, 0.0, 1.0);
  vUv = aUv;
}
)";

const char* const FlatFragmentShader = R"(#version 330 core
in vec2 vUv;
uniform sampler2D uTexture;
uniform vec4 uColour;
uniform int uMode;
out vec4 fragColour;
void main() {
  vec4 tex = texture(uTexture, vUv);
  if (uMode == 1) {
    if (tex.r < 0.5) discard;
    fragColour = uColour;
  } else {
    fragColour = tex * uColour;
  }
}
)";

const char* const PresentFragmentShader = R"(#version 330 core
in vec2 vUv;
uniform sampler2D uTexture;
out vec4 fragColour;
void main() { fragColour = vec4(texture(uTexture, vUv).rgb, 1.0); }
)";

GLuint CompileProgram(const char* vertexSource, const char* fragmentSource) {
  auto compile = [](GLenum kind, const char* source) -> GLuint {
    GLuint shader = glCreateShader(kind);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint ok = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
      char log[2048];
      glGetShaderInfoLog(shader, sizeof log, nullptr, log);
      std::fprintf(stderr, "shader: %s\n", log);
      glDeleteShader(shader);
      return 0;
    }
    return shader;
  };
  GLuint vs = compile(GL_VERTEX_SHADER, vertexSource);
  GLuint fs = compile(GL_FRAGMENT_SHADER, fragmentSource);
  if (!vs || !fs) return 0;
  GLuint program = glCreateProgram();
  glAttachShader(program, vs);
  glAttachShader(program, fs);
  glLinkProgram(program);
  glDeleteShader(vs);
  glDeleteShader(fs);
  GLint ok = 0;
  glGetProgramiv(program, GL_LINK_STATUS, &ok);
  if (!ok) {
    char log[2048];
    glGetProgramInfoLog(program, sizeof log, nullptr, log);
    std::fprintf(stderr, "program: %s\n", log);
    glDeleteProgram(program);
    return 0;
  }
  return program;
}

ColourValue Unpack(std::uint32_t argb) {
  return {((argb >> 16) & 0xFF) / 255.0f, ((argb >> 8) & 0xFF) / 255.0f, (argb & 0xFF) / 255.0f,
          ((argb >> 24) & 0xFF) / 255.0f};
}

float AsFloat(std::uint32_t bits) {
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

GLenum BlendFactor(std::uint32_t value) {
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

GLenum CompareFunc(std::uint32_t value) {
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

GLint AddressMode(std::uint32_t value) {
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

constexpr int MaxLights = 8;
constexpr std::size_t StreamBytes = 4u << 20;

}  // namespace

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
};

namespace {

void SetDefaultStates(DeviceState& s) {
  std::uint32_t* rs = s.RenderStates;
  rs[D3DRS_ZENABLE] = D3DZB_TRUE;
  rs[D3DRS_SHADEMODE] = D3DSHADE_GOURAUD;
  rs[D3DRS_ZWRITEENABLE] = 1;
  rs[D3DRS_ALPHATESTENABLE] = 0;
  rs[D3DRS_SRCBLEND] = D3DBLEND_ONE;
  rs[D3DRS_DESTBLEND] = D3DBLEND_ZERO;
  rs[D3DRS_CULLMODE] = D3DCULL_CCW;
  rs[D3DRS_ZFUNC] = D3DCMP_LESSEQUAL;
  rs[D3DRS_ALPHAREF] = 0;
  rs[D3DRS_ALPHAFUNC] = D3DCMP_ALWAYS;
  rs[D3DRS_ALPHABLENDENABLE] = 0;
  rs[D3DRS_FOGENABLE] = 0;
  rs[D3DRS_SPECULARENABLE] = 0;
  rs[D3DRS_FOGCOLOR] = 0;
  rs[D3DRS_FOGTABLEMODE] = D3DFOG_NONE;
  float zero = 0, one = 1;
  std::memcpy(&rs[D3DRS_FOGSTART], &zero, 4);
  std::memcpy(&rs[D3DRS_FOGEND], &one, 4);
  std::memcpy(&rs[D3DRS_FOGDENSITY], &one, 4);
  rs[D3DRS_LIGHTING] = 1;
  rs[D3DRS_AMBIENT] = 0;
  rs[D3DRS_FOGVERTEXMODE] = D3DFOG_NONE;
  rs[D3DRS_NORMALIZENORMALS] = 0;
  std::uint32_t* ts = s.StageStates;
  ts[D3DTSS_COLOROP] = D3DTOP_MODULATE;
  ts[D3DTSS_COLORARG1] = D3DTA_TEXTURE;
  ts[D3DTSS_COLORARG2] = D3DTA_CURRENT;
  ts[D3DTSS_ALPHAOP] = D3DTOP_SELECTARG1;
  ts[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
  ts[D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
  ts[D3DTSS_ADDRESSU] = D3DTADDRESS_WRAP;
  ts[D3DTSS_ADDRESSV] = D3DTADDRESS_WRAP;
  ts[D3DTSS_MAGFILTER] = D3DTEXF_POINT;
  ts[D3DTSS_MINFILTER] = D3DTEXF_POINT;
  ts[D3DTSS_MIPFILTER] = D3DTEXF_NONE;
}

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
  glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, p.BackBufferWidth, p.BackBufferHeight);
  glGenFramebuffers(1, &s.BackFramebuffer);
  glBindFramebuffer(GL_FRAMEBUFFER, s.BackFramebuffer);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, s.BackColour, 0);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, s.BackDepth);
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

MainUniforms LookUpMainUniforms(GLuint p) {
  MainUniforms u{};
  auto at = [p](const char* name) { return glGetUniformLocation(p, name); };
  u.WorldView = at("uWorldView");
  u.Projection = at("uProjection");
  u.NormalMatrix = at("uNormalMatrix");
  u.MatDiffuse = at("uMatDiffuse");
  u.MatAmbient = at("uMatAmbient");
  u.MatSpecular = at("uMatSpecular");
  u.MatEmissive = at("uMatEmissive");
  u.MatPower = at("uMatPower");
  u.GlobalAmbient = at("uGlobalAmbient");
  u.LightCount = at("uLightCount");
  u.LightType = at("uLightType");
  u.LightDiffuse = at("uLightDiffuse");
  u.LightSpecular = at("uLightSpecular");
  u.LightAmbient = at("uLightAmbient");
  u.LightPosition = at("uLightPosition");
  u.LightDirection = at("uLightDirection");
  u.LightAttenuation = at("uLightAttenuation");
  u.Texture = at("uTexture");
  u.AlphaRef = at("uAlphaRef");
  u.FogColour = at("uFogColour");
  u.FogStart = at("uFogStart");
  u.FogEnd = at("uFogEnd");
  u.FogDensity = at("uFogDensity");
  return u;
}

void LookUpFlatUniforms(DeviceState& s) {
  s.FlatTargetSize = glGetUniformLocation(s.FlatProgram, "uTargetSize");
  s.FlatColour = glGetUniformLocation(s.FlatProgram, "uColour");
  s.FlatMode = glGetUniformLocation(s.FlatProgram, "uMode");
  s.FlatTexture = glGetUniformLocation(s.FlatProgram, "uTexture");
}

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

VariantStates CurrentVariant(const DeviceState& s, bool vertexColour) {
  const std::uint32_t* rs = s.RenderStates;
  const std::uint32_t* ts = s.StageStates;
  auto op = [](std::uint32_t v) { return v >= D3DTOP_DISABLE && v <= D3DTOP_MODULATE ? v : D3DTOP_DISABLE; };
  auto arg = [](std::uint32_t v) { return v <= D3DTA_TEXTURE ? v : D3DTA_DIFFUSE; };
  VariantStates v{};
  v.Lighting = rs[D3DRS_LIGHTING] != 0;
  v.VertexColour = vertexColour;
  v.Specular = v.Lighting && rs[D3DRS_SPECULARENABLE] != 0;
  v.Normalize = v.Lighting && rs[D3DRS_NORMALIZENORMALS] != 0;
  v.HasTexture = s.Bound != nullptr;
  v.ColourOp = op(ts[D3DTSS_COLOROP]);
  v.ColourArg1 = arg(ts[D3DTSS_COLORARG1]);
  v.ColourArg2 = arg(ts[D3DTSS_COLORARG2]);
  v.AlphaOp = op(ts[D3DTSS_ALPHAOP]);
  v.AlphaArg1 = arg(ts[D3DTSS_ALPHAARG1]);
  v.AlphaArg2 = arg(ts[D3DTSS_ALPHAARG2]);
  const std::uint32_t func = rs[D3DRS_ALPHAFUNC];
  v.AlphaFunc = rs[D3DRS_ALPHATESTENABLE] && func >= D3DCMP_NEVER && func <= D3DCMP_ALWAYS ? func : 0;
  if (v.AlphaFunc == D3DCMP_ALWAYS) v.AlphaFunc = 0;
  std::uint32_t fog = 0;
  if (rs[D3DRS_FOGENABLE]) fog = rs[D3DRS_FOGTABLEMODE] != D3DFOG_NONE ? rs[D3DRS_FOGTABLEMODE] : rs[D3DRS_FOGVERTEXMODE];
  v.FogMode = fog <= D3DFOG_LINEAR ? fog : 0;
  return v;
}

ProgramVariant* VariantFor(DeviceState& s, const VariantStates& v) {
  const std::uint32_t key = v.Key();
  auto found = s.Variants.find(key);
  if (found != s.Variants.end()) return found->second.Program ? &found->second : nullptr;
  char defines[512];
  std::snprintf(defines, sizeof defines,
                "#version 330 core\n#define LIGHTING %u\n#define VERTEX_COLOUR %u\n#define SPECULAR_ENABLE %u\n"
                "#define NORMALIZE %u\n#define HAS_TEXTURE %u\n#define COLOUR_OP %u\n#define COLOUR_ARG1 %u\n"
                "#define COLOUR_ARG2 %u\n#define ALPHA_OP %u\n#define ALPHA_ARG1 %u\n#define ALPHA_ARG2 %u\n"
                "#define ADD_SPECULAR %u\n#define ALPHA_FUNC %u\n#define FOG_MODE %u\n",
                v.Lighting, v.VertexColour, v.Specular, v.Normalize, v.HasTexture, v.ColourOp, v.ColourArg1,
                v.ColourArg2, v.AlphaOp, v.AlphaArg1, v.AlphaArg2, v.Specular, v.AlphaFunc, v.FogMode);
  const std::string vertex = std::string(defines) + MainVertexShader;
  const std::string fragment = std::string(defines) + MainFragmentShader;
  ProgramVariant& variant = s.Variants[key];
  variant.Program = CompileProgram(vertex.c_str(), fragment.c_str());
  if (!variant.Program) return nullptr;
  variant.U = LookUpMainUniforms(variant.Program);
  return &variant;
}

// Loads every fixed-function state into GL and the program before a draw.
bool ApplyDrawState(DeviceState& s, bool vertexColour) {
  const std::uint32_t* rs = s.RenderStates;
  const std::uint32_t* ts = s.StageStates;
  const bool depth = rs[D3DRS_ZENABLE] != D3DZB_FALSE && (s.Target == nullptr || s.UseDepth);
  if (depth) {
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(CompareFunc(rs[D3DRS_ZFUNC]));
  } else {
    glDisable(GL_DEPTH_TEST);
  }
  glDepthMask(rs[D3DRS_ZWRITEENABLE] ? GL_TRUE : GL_FALSE);
  if (rs[D3DRS_ALPHABLENDENABLE]) {
    glEnable(GL_BLEND);
    glBlendFunc(BlendFactor(rs[D3DRS_SRCBLEND]), BlendFactor(rs[D3DRS_DESTBLEND]));
  } else {
    glDisable(GL_BLEND);
  }
  // Rows are stored top first, so window orientation matches the game's screen: its
  // clockwise is GL's counter-clockwise.
  if (rs[D3DRS_CULLMODE] == D3DCULL_NONE) {
    glDisable(GL_CULL_FACE);
  } else {
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CCW);
    glCullFace(rs[D3DRS_CULLMODE] == D3DCULL_CCW ? GL_BACK : GL_FRONT);
  }

  ProgramVariant* variant = VariantFor(s, CurrentVariant(s, vertexColour));
  if (!variant) return false;
  glUseProgram(variant->Program);
  const MainUniforms& u = variant->U;
  glActiveTexture(GL_TEXTURE0);
  if (s.Bound) {
    glBindTexture(GL_TEXTURE_2D, s.Bound->Id);
    glBindSampler(0, s.Sampler);
    const std::uint32_t mip = ts[D3DTSS_MIPFILTER];
    const bool linearMin = ts[D3DTSS_MINFILTER] == D3DTEXF_LINEAR;
    GLint minFilter = linearMin ? GL_LINEAR : GL_NEAREST;
    if (mip == D3DTEXF_POINT) minFilter = linearMin ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
    if (mip == D3DTEXF_LINEAR) minFilter = linearMin ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
    glSamplerParameteri(s.Sampler, GL_TEXTURE_MIN_FILTER, minFilter);
    glSamplerParameteri(s.Sampler, GL_TEXTURE_MAG_FILTER,
                        ts[D3DTSS_MAGFILTER] == D3DTEXF_LINEAR ? GL_LINEAR : GL_NEAREST);
    glSamplerParameteri(s.Sampler, GL_TEXTURE_WRAP_S, AddressMode(ts[D3DTSS_ADDRESSU]));
    glSamplerParameteri(s.Sampler, GL_TEXTURE_WRAP_T, AddressMode(ts[D3DTSS_ADDRESSV]));
  }

  UniformInputs inputs;
  std::memset(static_cast<void*>(&inputs), 0, sizeof inputs);
  std::memcpy(inputs.RenderStates, s.RenderStates, sizeof inputs.RenderStates);
  std::memcpy(inputs.StageStates, s.StageStates, sizeof inputs.StageStates);
  inputs.World = s.World;
  inputs.View = s.View;
  inputs.Projection = s.Projection;
  for (int i = 0; i < MaxLights; ++i) {
    inputs.Lights[i] = s.Lights[i];
    inputs.LightOn[i] = s.LightOn[i];
  }
  inputs.CurrentMaterial = s.CurrentMaterial;
  inputs.HasTexture = s.Bound != nullptr;
  inputs.VertexColour = vertexColour;
  if (variant->UploadedValid && std::memcmp(&inputs, &variant->Uploaded, sizeof inputs) == 0) return true;
  std::memcpy(static_cast<void*>(&variant->Uploaded), &inputs, sizeof inputs);
  variant->UploadedValid = true;

  const Matrix worldView = MatrixMultiply(s.World, s.View);
  glUniformMatrix4fv(u.WorldView, 1, GL_FALSE, &worldView.M[0][0]);
  glUniformMatrix4fv(u.Projection, 1, GL_FALSE, &s.Projection.M[0][0]);
  const bool lighting = rs[D3DRS_LIGHTING] != 0;
  if (lighting) {
    const Matrix inverse = MatrixInverse(worldView);
    float normal[9];  // (inverse)^T, stored so that GLSL's column reading applies it to rows
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 3; ++c) normal[r * 3 + c] = inverse.M[c][r];
    glUniformMatrix3fv(u.NormalMatrix, 1, GL_FALSE, normal);
    const Material& m = s.CurrentMaterial;
    glUniform4f(u.MatDiffuse, m.Diffuse.R, m.Diffuse.G, m.Diffuse.B, m.Diffuse.A);
    glUniform4f(u.MatAmbient, m.Ambient.R, m.Ambient.G, m.Ambient.B, m.Ambient.A);
    glUniform4f(u.MatSpecular, m.Specular.R, m.Specular.G, m.Specular.B, m.Specular.A);
    glUniform4f(u.MatEmissive, m.Emissive.R, m.Emissive.G, m.Emissive.B, m.Emissive.A);
    glUniform1f(u.MatPower, m.Power);
    const ColourValue g = Unpack(rs[D3DRS_AMBIENT]);
    glUniform3f(u.GlobalAmbient, g.R, g.G, g.B);
    int types[MaxLights];
    float diffuse[MaxLights * 3], specular[MaxLights * 3], ambient[MaxLights * 3];
    float position[MaxLights * 3], direction[MaxLights * 3], attenuation[MaxLights * 4];
    int count = 0;
    for (int i = 0; i < MaxLights; ++i) {
      if (!s.LightOn[i]) continue;
      const Light& l = s.Lights[i];
      types[count] = static_cast<int>(l.Type);
      const ColourValue* colours[3] = {&l.Diffuse, &l.Specular, &l.Ambient};
      float* targets[3] = {diffuse, specular, ambient};
      for (int k = 0; k < 3; ++k) {
        targets[k][count * 3] = colours[k]->R;
        targets[k][count * 3 + 1] = colours[k]->G;
        targets[k][count * 3 + 2] = colours[k]->B;
      }
      // Lights are given in world space and follow the view transform.
      const Vector3 p = TransformCoord(l.Position, s.View);
      Vector3 d;
      for (int c = 0; c < 3; ++c) {
        (&d.X)[c] = l.Direction.X * s.View.M[0][c] + l.Direction.Y * s.View.M[1][c] +
                    l.Direction.Z * s.View.M[2][c];
      }
      position[count * 3] = p.X;
      position[count * 3 + 1] = p.Y;
      position[count * 3 + 2] = p.Z;
      direction[count * 3] = d.X;
      direction[count * 3 + 1] = d.Y;
      direction[count * 3 + 2] = d.Z;
      attenuation[count * 4] = l.Attenuation0;
      attenuation[count * 4 + 1] = l.Attenuation1;
      attenuation[count * 4 + 2] = l.Attenuation2;
      attenuation[count * 4 + 3] = l.Range;
      ++count;
    }
    glUniform1i(u.LightCount, count);
    if (count) {
      glUniform1iv(u.LightType, count, types);
      glUniform3fv(u.LightDiffuse, count, diffuse);
      glUniform3fv(u.LightSpecular, count, specular);
      glUniform3fv(u.LightAmbient, count, ambient);
      glUniform3fv(u.LightPosition, count, position);
      glUniform3fv(u.LightDirection, count, direction);
      glUniform4fv(u.LightAttenuation, count, attenuation);
    }
  }

  glUniform1i(u.Texture, 0);
  glUniform1f(u.AlphaRef, static_cast<float>(rs[D3DRS_ALPHAREF] & 0xFF));
  std::uint32_t fogMode = 0;
  if (rs[D3DRS_FOGENABLE])
    fogMode = rs[D3DRS_FOGTABLEMODE] != D3DFOG_NONE ? rs[D3DRS_FOGTABLEMODE] : rs[D3DRS_FOGVERTEXMODE];
  if (fogMode) {
    const ColourValue f = Unpack(rs[D3DRS_FOGCOLOR]);
    glUniform3f(u.FogColour, f.R, f.G, f.B);
    glUniform1f(u.FogStart, AsFloat(rs[D3DRS_FOGSTART]));
    glUniform1f(u.FogEnd, AsFloat(rs[D3DRS_FOGEND]));
    glUniform1f(u.FogDensity, AsFloat(rs[D3DRS_FOGDENSITY]));
  }
  return true;
}

constexpr std::size_t BatchLimit = 256u << 10;

// Sends the gathered triangles with the states they were gathered under (the current ones).
void FlushBatch(DeviceState& s) {
  if (s.Batch.empty()) return;
  const std::uint32_t stride = s.BatchStride;
  const std::size_t bytes = s.Batch.size();
  const std::size_t count = bytes / stride;
  if (ApplyDrawState(s, true)) {
    glBindVertexArray(s.StreamArray);
    glBindBuffer(GL_ARRAY_BUFFER, s.StreamBuffer);
    // Vertices start on a whole vertex, so the attributes set up once serve every draw.
    std::size_t offset = (s.StreamOffset + stride - 1) / stride * stride;
    if (offset + bytes > StreamBytes) {
      glBufferData(GL_ARRAY_BUFFER, StreamBytes, nullptr, GL_STREAM_DRAW);  // orphan and restart
      offset = 0;
    }
    // Regions ahead of the offset are never in use by queued draws, so writing them needs no
    // wait (a plain update would make a software rasteriser finish the frame so far first).
    void* target = glMapBufferRange(GL_ARRAY_BUFFER, static_cast<GLintptr>(offset), static_cast<GLsizeiptr>(bytes),
                                    GL_MAP_WRITE_BIT | GL_MAP_UNSYNCHRONIZED_BIT | GL_MAP_INVALIDATE_RANGE_BIT);
    if (target) {
      std::memcpy(target, s.Batch.data(), bytes);
      glUnmapBuffer(GL_ARRAY_BUFFER);
      if (s.StreamStride != stride) {
        const auto at = [](std::size_t field) { return reinterpret_cast<void*>(field); };
        glEnableVertexAttribArray(0);
        glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, static_cast<GLsizei>(stride), at(0));
        glEnableVertexAttribArray(1);
        glVertexAttribPointer(1, 4, GL_UNSIGNED_BYTE, GL_TRUE, static_cast<GLsizei>(stride), at(12));
        glEnableVertexAttribArray(2);
        glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, static_cast<GLsizei>(stride), at(16));
        glDisableVertexAttribArray(3);
        s.StreamStride = stride;
      }
      glDrawArrays(GL_TRIANGLES, static_cast<GLint>(offset / stride), static_cast<GLsizei>(count));
      s.StreamOffset = offset + bytes;
    }
  }
  s.Batch.clear();
}

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
  }
  glDisable(GL_SCISSOR_TEST);
  if (mask) glClear(mask);
  return true;
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

namespace {
RenderDevice::OverlayDraw StandingOverlay = nullptr;
void* StandingOverlayUser = nullptr;
}  // namespace

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
  glViewport(0, 0, drawableWidth, drawableHeight);
  glDisable(GL_SCISSOR_TEST);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_CULL_FACE);
  glDisable(GL_BLEND);
  glUseProgram(s.PresentProgram);
  glUniform2f(s.PresentTargetSize, 1, 1);
  glUniform1i(s.PresentTexture, 0);
  glActiveTexture(GL_TEXTURE0);
  glBindTexture(GL_TEXTURE_2D, s.BackColour);
  // Smooth when stretching onto the window, exact pixels when the sizes agree.
  const GLint filter = drawableWidth == s.Width && drawableHeight == s.Height ? GL_NEAREST : GL_LINEAR;
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
  if (overlay) overlay(user, drawableWidth, drawableHeight);
  SDL_GL_SwapWindow(s.Window);
  glBindFramebuffer(GL_FRAMEBUFFER, s.Target ? s.Target->Framebuffer : s.BackFramebuffer);
  if (s.Target) glViewport(0, 0, s.Target->Width, s.Target->Height);
  else glViewport(0, 0, s.Width, s.Height);
  return glGetError() == GL_NO_ERROR;
}

void RenderDevice::SetRenderState(std::uint32_t state, std::uint32_t value) {
  if (state >= 256 || State->RenderStates[state] == value) return;
  FlushBatch(*State);
  State->RenderStates[state] = value;
}

std::uint32_t RenderDevice::GetRenderState(std::uint32_t state) const {
  return state < 256 ? State->RenderStates[state] : 0;
}

void RenderDevice::SetTextureStageState(std::uint32_t stage, std::uint32_t state, std::uint32_t value) {
  if (stage != 0 || state >= 32 || State->StageStates[state] == value) return;
  FlushBatch(*State);
  State->StageStates[state] = value;
}

std::uint32_t RenderDevice::GetTextureStageState(std::uint32_t stage, std::uint32_t state) const {
  return stage == 0 && state < 32 ? State->StageStates[state] : 0;
}

void RenderDevice::SetTransform(std::uint32_t kind, const Matrix& matrix) {
  FlushBatch(*State);
  if (kind == D3DTS_WORLD) State->World = matrix;
  else if (kind == D3DTS_VIEW) State->View = matrix;
  else if (kind == D3DTS_PROJECTION) State->Projection = matrix;
}

Matrix RenderDevice::GetTransform(std::uint32_t kind) const {
  if (kind == D3DTS_VIEW) return State->View;
  if (kind == D3DTS_PROJECTION) return State->Projection;
  return State->World;
}

void RenderDevice::SetLight(std::uint32_t index, const Light& light) {
  FlushBatch(*State);
  if (index < MaxLights) State->Lights[index] = light;
}

void RenderDevice::LightEnable(std::uint32_t index, bool enable) {
  FlushBatch(*State);
  if (index < MaxLights) State->LightOn[index] = enable;
}

void RenderDevice::SetMaterial(const Material& material) {
  FlushBatch(*State);
  State->CurrentMaterial = material;
}

void RenderDevice::SetTexture(std::uint32_t stage, Texture* texture) {
  if (stage != 0 || State->Bound == texture) return;
  FlushBatch(*State);
  State->Bound = texture;
}

Texture* RenderDevice::GetTexture(std::uint32_t stage) const { return stage == 0 ? State->Bound : nullptr; }

void RenderDevice::SetVertexShader(std::uint32_t format) {
  FlushBatch(*State);
  State->VertexFormat = format;
}

void FlushPendingDraws(RenderDevice* device) {
  if (device && device->State) FlushBatch(*device->State);
}

bool RenderDevice::DrawPrimitiveUP(std::uint32_t type, std::uint32_t primitiveCount,
                                   const void* vertices, std::uint32_t stride) {
  DeviceState& s = *State;
  if (s.VertexFormat != SceneVertexFormat || stride < 24 || !vertices || primitiveCount == 0)
    return false;
  if (type != D3DPT_TRIANGLELIST && type != D3DPT_TRIANGLESTRIP && type != D3DPT_TRIANGLEFAN) return false;
  const std::size_t bytes = static_cast<std::size_t>(primitiveCount) * 3 * stride;
  if (bytes > StreamBytes) return false;
  if (!s.Batch.empty() && (s.BatchStride != stride || s.Batch.size() + bytes > BatchLimit)) FlushBatch(s);
  s.BatchStride = stride;
  // Fans and strips become separate triangles with the corner order GL would give them.
  const auto* v = static_cast<const std::uint8_t*>(vertices);
  const auto put = [&](std::uint32_t index) { s.Batch.insert(s.Batch.end(), v + index * stride, v + (index + 1) * stride); };
  for (std::uint32_t i = 0; i < primitiveCount; ++i) {
    if (type == D3DPT_TRIANGLELIST) {
      put(3 * i), put(3 * i + 1), put(3 * i + 2);
    } else if (type == D3DPT_TRIANGLEFAN) {
      put(0), put(i + 1), put(i + 2);
    } else if (i % 2 == 0) {
      put(i), put(i + 1), put(i + 2);
    } else {
      put(i + 1), put(i), put(i + 2);
    }
  }
  return true;
}

bool PrepareMeshDraw(RenderDevice* device, Mesh* mesh) {
  if (!device || !mesh) return false;
  FlushBatch(*device->State);
  if (!ApplyDrawState(*device->State, false)) return false;
  glBindVertexArray(mesh->VertexArray);
  return true;
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

void DrawFlat2D(RenderDevice* device, GLuint texture, const std::vector<float>& corners,
                std::uint32_t colour, Flat2DMode mode) {
  DeviceState& s = *device->State;
  if (corners.empty()) return;
  FlushBatch(s);
  int width = 0, height = 0;
  CurrentTargetSize(device, width, height);
  // Two triangles per quad from the four corners.
  std::vector<float> triangles;
  const std::size_t quads = corners.size() / 16;
  triangles.reserve(quads * 24);
  static const int order[6] = {0, 1, 2, 0, 2, 3};
  for (std::size_t q = 0; q < quads; ++q)
    for (int k : order) triangles.insert(triangles.end(), &corners[q * 16 + k * 4], &corners[q * 16 + k * 4 + 4]);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_CULL_FACE);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glUseProgram(s.FlatProgram);
  glUniform2f(s.FlatTargetSize, static_cast<float>(width), static_cast<float>(height));
  const ColourValue c = Unpack(colour);
  glUniform4f(s.FlatColour, c.R, c.G, c.B, c.A);
  glUniform1i(s.FlatMode, static_cast<GLint>(mode));
  glUniform1i(s.FlatTexture, 0);
  glActiveTexture(GL_TEXTURE0);
  glBindTexture(GL_TEXTURE_2D, texture);
  glBindSampler(0, s.FlatSampler);
  glBindVertexArray(s.FlatArray);
  glBindBuffer(GL_ARRAY_BUFFER, s.FlatBuffer);
  glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(triangles.size() * sizeof(float)), triangles.data(),
               GL_STREAM_DRAW);
  glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(triangles.size() / 4));
  glBindVertexArray(0);
}

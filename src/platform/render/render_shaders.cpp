// Shader sources and the fixed-function program generated per combination of states.
#include "platform/render/render_state.h"

#include <cstdio>

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
      // Only a light that reaches the front of the vertex adds a highlight.
      if (nh > 0.0 && dot(n, toLight) > 0.0) specular += attenuation * uLightSpecular[i] * pow(nh, uMatPower);
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

VariantStates CurrentVariant(const DeviceState& s, bool vertexColour, const DrawShortcuts& cut) {
  const std::uint32_t* rs = s.RenderStates;
  const std::uint32_t* ts = s.StageStates;
  auto op = [](std::uint32_t v) { return v >= D3DTOP_DISABLE && v <= D3DTOP_MODULATE ? v : D3DTOP_DISABLE; };
  auto arg = [](std::uint32_t v) { return v <= D3DTA_TEXTURE ? v : D3DTA_DIFFUSE; };
  VariantStates v{};
  v.Lighting = rs[D3DRS_LIGHTING] != 0;
  v.VertexColour = vertexColour;
  v.Specular = v.Lighting && rs[D3DRS_SPECULARENABLE] != 0;
  v.Normalize = v.Lighting && rs[D3DRS_NORMALIZENORMALS] != 0;
  v.HasTexture = s.Bound != nullptr && !cut.NoTexture;
  v.ColourOp = op(ts[D3DTSS_COLOROP]);
  v.ColourArg1 = arg(ts[D3DTSS_COLORARG1]);
  v.ColourArg2 = arg(ts[D3DTSS_COLORARG2]);
  v.AlphaOp = op(ts[D3DTSS_ALPHAOP]);
  v.AlphaArg1 = arg(ts[D3DTSS_ALPHAARG1]);
  v.AlphaArg2 = arg(ts[D3DTSS_ALPHAARG2]);
  const std::uint32_t func = rs[D3DRS_ALPHAFUNC];
  v.AlphaFunc = rs[D3DRS_ALPHATESTENABLE] && func >= D3DCMP_NEVER && func <= D3DCMP_ALWAYS ? func : 0;
  if (v.AlphaFunc == D3DCMP_ALWAYS || cut.NoAlphaTest) v.AlphaFunc = 0;
  std::uint32_t fog = 0;
  if (rs[D3DRS_FOGENABLE]) fog = rs[D3DRS_FOGTABLEMODE] != D3DFOG_NONE ? rs[D3DRS_FOGTABLEMODE] : rs[D3DRS_FOGVERTEXMODE];
  v.FogMode = fog <= D3DFOG_LINEAR && !cut.NoFog ? fog : 0;
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

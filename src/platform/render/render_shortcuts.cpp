// States a draw can leave out because its pictures, colours and depths make them do nothing.
#include "platform/render/render_state.h"

namespace {

// The same comparison the fragment program makes, on the alpha as 0..255.
bool AlphaPasses(std::uint32_t func, std::uint32_t alpha, std::uint32_t ref) {
  switch (func) {
    case D3DCMP_NEVER: return false;
    case D3DCMP_LESS: return alpha < ref;
    case D3DCMP_EQUAL: return alpha == ref;
    case D3DCMP_LESSEQUAL: return alpha <= ref;
    case D3DCMP_GREATER: return alpha > ref;
    case D3DCMP_NOTEQUAL: return alpha != ref;
    case D3DCMP_GREATEREQUAL: return alpha >= ref;
    default: return true;
  }
}

// Whether the fragment program's alpha is 1 for every fragment of the draw.
bool AlphaIsOne(const DeviceState& s, const DrawFacts& facts, bool vertexColour) {
  const std::uint32_t* ts = s.StageStates;
  const bool textureOpaque = !s.Bound || s.Bound->MinAlpha == 0xFF;
  bool diffuseOpaque = true;
  if (vertexColour) {
    diffuseOpaque = facts.VertexAlphaOne;
  } else if (s.RenderStates[D3DRS_LIGHTING]) {
    diffuseOpaque = s.CurrentMaterial.Diffuse.A >= 1.0f;  // the lit alpha is the material's, clamped
  }
  const auto argOpaque = [&](std::uint32_t arg) { return arg == D3DTA_TEXTURE ? textureOpaque : diffuseOpaque; };
  switch (ts[D3DTSS_ALPHAOP]) {
    case D3DTOP_SELECTARG1: return argOpaque(ts[D3DTSS_ALPHAARG1] <= D3DTA_TEXTURE ? ts[D3DTSS_ALPHAARG1] : D3DTA_DIFFUSE);
    case D3DTOP_SELECTARG2: return argOpaque(ts[D3DTSS_ALPHAARG2] <= D3DTA_TEXTURE ? ts[D3DTSS_ALPHAARG2] : D3DTA_DIFFUSE);
    case D3DTOP_MODULATE:
      return argOpaque(ts[D3DTSS_ALPHAARG1] <= D3DTA_TEXTURE ? ts[D3DTSS_ALPHAARG1] : D3DTA_DIFFUSE) &&
             argOpaque(ts[D3DTSS_ALPHAARG2] <= D3DTA_TEXTURE ? ts[D3DTSS_ALPHAARG2] : D3DTA_DIFFUSE);
    default: return diffuseOpaque;
  }
}

}  // namespace

DrawShortcuts ShortcutsFor(const DeviceState& s, const DrawFacts& facts, bool vertexColour) {
  DrawShortcuts cut;
  if (!s.ShortcutsOn) return cut;
  const std::uint32_t* rs = s.RenderStates;
  cut.NoTexture = s.Bound && s.Bound->White;
  if (AlphaIsOne(s, facts, vertexColour)) {
    // An alpha test that every fragment passes discards nothing.
    cut.NoAlphaTest = rs[D3DRS_ALPHATESTENABLE] && AlphaPasses(rs[D3DRS_ALPHAFUNC], 0xFF, rs[D3DRS_ALPHAREF] & 0xFF);
    // Blending by an alpha of 1 writes the fragment as it is.
    const std::uint32_t src = rs[D3DRS_SRCBLEND], dest = rs[D3DRS_DESTBLEND];
    cut.NoBlend = rs[D3DRS_ALPHABLENDENABLE] && ((src == D3DBLEND_SRCALPHA && dest == D3DBLEND_INVSRCALPHA) ||
                                                 (src == D3DBLEND_ONE && dest == D3DBLEND_ZERO));
  }
  // Linear fog leaves everything nearer than its start untouched.
  if (rs[D3DRS_FOGENABLE] && rs[D3DRS_FOGTABLEMODE] == D3DFOG_LINEAR && facts.DepthKnown) {
    const float start = AsFloat(rs[D3DRS_FOGSTART]), end = AsFloat(rs[D3DRS_FOGEND]);
    cut.NoFog = end > start && facts.FarthestDepth <= start;
  }
  return cut;
}

DrawFacts StreamedFacts(const DeviceState& s, const std::uint8_t* vertices, std::size_t count, std::uint32_t stride) {
  DrawFacts facts;
  facts.VertexAlphaOne = true;
  for (std::size_t i = 0; i < count && facts.VertexAlphaOne; ++i) facts.VertexAlphaOne = vertices[i * stride + 15] == 0xFF;
  // Eye depth of every corner: fog reads its size, and within a triangle it lies between the corners'.
  const Matrix worldView = MatrixMultiply(s.World, s.View);
  float farthest = 0;
  for (std::size_t i = 0; i < count; ++i) {
    float p[3];
    std::memcpy(p, vertices + i * stride, sizeof p);
    const float z = ToEye(p, worldView).Z;
    if (z != z) return facts;  // no depth known
    const float size = z < 0 ? -z : z;
    if (size > farthest) farthest = size;
  }
  facts.DepthKnown = true;
  facts.FarthestDepth = farthest;
  return facts;
}

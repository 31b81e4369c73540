// Render, texture-stage and transform states, and applying them before a draw.
#include "platform/render/render_state.h"

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

bool ApplyDrawState(DeviceState& s, bool vertexColour, const DrawFacts& facts) {
  const std::uint32_t* rs = s.RenderStates;
  const std::uint32_t* ts = s.StageStates;
  const DrawShortcuts cut = ShortcutsFor(s, facts, vertexColour);
  s.LastCut = cut;
  const bool depth = rs[D3DRS_ZENABLE] != D3DZB_FALSE && (s.Target == nullptr || s.UseDepth);
  if (depth) {
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(CompareFunc(rs[D3DRS_ZFUNC]));
  } else {
    glDisable(GL_DEPTH_TEST);
  }
  glDepthMask(rs[D3DRS_ZWRITEENABLE] ? GL_TRUE : GL_FALSE);
  if (rs[D3DRS_ALPHABLENDENABLE] && !cut.NoBlend) {
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

  ProgramVariant* variant = VariantFor(s, CurrentVariant(s, vertexColour, cut));
  if (!variant) return false;
  glUseProgram(variant->Program);
  s.LastProgram = variant->Program;
  s.LastUploaded = false;
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
  s.LastUploaded = true;

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
  if (rs[D3DRS_FOGENABLE] && !cut.NoFog)
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
  Matrix* target = kind == D3DTS_WORLD ? &State->World
                   : kind == D3DTS_VIEW ? &State->View
                   : kind == D3DTS_PROJECTION ? &State->Projection
                                              : nullptr;
  // The same matrix again changes nothing: draws gathered under it may go on gathering.
  if (!target || std::memcmp(target, &matrix, sizeof matrix) == 0) return;
  FlushBatch(*State);
  *target = matrix;
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
  if (State->VertexFormat == format) return;
  FlushBatch(*State);
  State->VertexFormat = format;
}

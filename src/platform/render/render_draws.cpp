// Draws: batched flat quads, streamed primitives, meshes and pixel-space quads.
#include "platform/render/render_opening.h"
#include "platform/render/render_state.h"

#include <cmath>

namespace {
constexpr std::size_t BatchLimit = 256u << 10;
}  // namespace


namespace {

// The pixels the gathered triangles may be kept to (null: all of them).
const std::vector<PixelRect>* StreamedRects(DeviceState& s, std::size_t count, std::uint32_t stride) {
  if (s.Target) {
    UseCoverStencil(s, false);
    return nullptr;
  }
  const std::uint8_t* v = s.Batch.data();
  // One quad sent as a fan: corners 0, 1, 2 and 0, 2, 3.
  const bool quad = count == 6 && std::memcmp(v, v + 3 * stride, stride) == 0 &&
                    std::memcmp(v + 2 * stride, v + 4 * stride, stride) == 0;
  std::uint8_t corners[4 * 32];
  if (quad) {
    const int from[4] = {0, 1, 2, 5};
    for (int i = 0; i < 4; ++i) std::memcpy(corners + i * 24, v + from[i] * stride, 24);
  }
  if (s.CoverOn) {
    UseCoverStencil(s, (quad && SameQuadAsCover(s, corners, 24)) ||
                           !MayReachNearer(s, v, count, stride, nullptr, 0, s.CoverDepth));
    return nullptr;
  }
  if (!s.SkipClear || !quad || !s.Bound) return nullptr;
  // A clear texel blended by its own alpha leaves the pixel as it was.
  const std::uint32_t* rs = s.RenderStates;
  const std::uint32_t* ts = s.StageStates;
  const bool blends = rs[D3DRS_ALPHABLENDENABLE] && !s.LastCut.NoBlend && rs[D3DRS_SRCBLEND] == D3DBLEND_SRCALPHA &&
                      rs[D3DRS_DESTBLEND] == D3DBLEND_INVSRCALPHA;
  if (!blends || !AlphaComesFromPicture(s) || ts[D3DTSS_ADDRESSU] != D3DTADDRESS_WRAP ||
      ts[D3DTSS_ADDRESSV] != D3DTADDRESS_WRAP)
    return nullptr;
  return ClearRectsFor(s, corners, 24);
}

// Runs `draw` once, or once per rectangle with the others scissored away.
template <typename Draw>
void DrawWithin(const std::vector<PixelRect>* rects, Draw draw) {
  if (!rects) {
    draw();
    return;
  }
  glEnable(GL_SCISSOR_TEST);
  for (const PixelRect& r : *rects) {
    glScissor(r.X, r.Y, r.Width, r.Height);
    draw();
  }
  glDisable(GL_SCISSOR_TEST);
}

}  // namespace

// Sends the gathered triangles with the states they were gathered under (the current ones).
void FlushBatch(DeviceState& s) {
  if (s.Batch.empty()) return;
  const std::uint32_t stride = s.BatchStride;
  const std::size_t bytes = s.Batch.size();
  const std::size_t count = bytes / stride;
  const DrawFacts facts = StreamedFacts(s, s.Batch.data(), count, stride);
  if (s.Probing) {
    ProbeDraw(s, facts, true, MayReachNearer(s, s.Batch.data(), count, stride, nullptr, 0, s.CoverDepth));
    s.Batch.clear();
    return;
  }
  if (ApplyDrawState(s, true, facts)) {
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
      const std::vector<PixelRect>* rects = StreamedRects(s, count, stride);
      BeginRecordedDraw();
      DrawWithin(rects, [&] { glDrawArrays(GL_TRIANGLES, static_cast<GLint>(offset / stride), static_cast<GLsizei>(count)); });
      EndRecordedDraw(s, static_cast<std::uint32_t>(count / 3), RecordedKind::Streamed, s.Batch.data(), count, stride);
      s.StreamOffset = offset + bytes;
    }
  }
  s.Batch.clear();
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

void DrawMeshRange(RenderDevice* device, Mesh* mesh, std::uint32_t first, std::uint32_t count) {
  DeviceState& s = *device->State;
  const std::uint8_t* corners = reinterpret_cast<const std::uint8_t*>(mesh->Positions.data());
  const std::uint32_t* indices = mesh->Indices.data() + first;
  const bool inRange = static_cast<std::size_t>(first) + count <= mesh->Indices.size();
  const auto mayReach = [&] {
    return !inRange || (SphereMayReachNearer(s, mesh->Centre, mesh->Radius, s.CoverDepth) &&
                        MayReachNearer(s, corners, mesh->Positions.size(), sizeof(Vector3), indices, count, s.CoverDepth));
  };
  if (s.Probing) {
    FlushBatch(s);
    ProbeDraw(s, MeshFacts(device, mesh), false, mayReach());
    return;
  }
  const bool covered = s.CoverOn && !s.Target && !mayReach();
  // A model wholly outside what can still show (the view, the cover's open part, an opening)
  // would put no fragment anywhere: it is not sent at all.
  const bool opening = s.ShortcutsOn && !s.Target && inRange && s.OpeningOn &&
                       s.RenderStates[D3DRS_ZENABLE] != D3DZB_FALSE && s.RenderStates[D3DRS_ZFUNC] == D3DCMP_LESS &&
                       OutsideOpeningBox(s, corners, mesh->Positions.size(), sizeof(Vector3), indices, count);
  if (s.ShortcutsOn && !s.Target && inRange) {
    PixelRect shown = covered ? s.CoverOpen : PixelRect{0, 0, s.Width, s.Height};
    if (opening) shown = Intersect(shown, s.OpeningBounds);
    if (!SphereMayShowIn(s, mesh->Centre, mesh->Radius, shown)) return;
  }
  if (!PrepareMeshDraw(device, mesh)) return;
  UseCoverStencil(s, covered, opening ? &s.OpeningBounds : nullptr);
  // A closed convex mesh drawn whole, opaque and depth-written, need not send the part of its
  // far side that its near side hides.
  const bool trimmed = mesh->Shell.Closed && first == 0 && count == mesh->Indices.size() && HiddenBacksMayGo(s) &&
                       LeaveOutHiddenBacks(s, mesh->Shell, mesh->Positions, mesh->Indices, mesh->Centre, mesh->Radius,
                                           s.KeptIndices) > 0;
  BeginRecordedDraw();
  if (trimmed) {
    // The vertex array holds its element buffer: lend it the kept triangles, then give it back.
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, s.KeptIndexBuffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(s.KeptIndices.size() * 4), s.KeptIndices.data(),
                 GL_STREAM_DRAW);
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(s.KeptIndices.size()), GL_UNSIGNED_INT, nullptr);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, mesh->IndexBuffer);
    count = static_cast<std::uint32_t>(s.KeptIndices.size());
  } else {
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(count), GL_UNSIGNED_INT,
                   reinterpret_cast<void*>(static_cast<std::uintptr_t>(first) * 4));
  }
  EndRecordedDraw(s, count / 3, RecordedKind::Mesh, corners, mesh->Positions.size(), sizeof(Vector3));
  glBindVertexArray(0);
}

DrawFacts MeshFacts(const RenderDevice* device, const Mesh* mesh) {
  DrawFacts facts;
  Vector3 e;
  float r = 0;
  // Every fragment's eye depth lies within the sphere's: fog reads its size.
  if (mesh->Radius > 0 && EyeSphere(*device->State, mesh->Centre, mesh->Radius, e, r)) {
    facts.DepthKnown = true;
    facts.FarthestDepth = std::fabs(e.Z) + r;
  }
  return facts;
}

bool PrepareMeshDraw(RenderDevice* device, Mesh* mesh) {
  if (!device || !mesh) return false;
  FlushBatch(*device->State);
  if (!ApplyDrawState(*device->State, false, MeshFacts(device, mesh))) return false;
  glBindVertexArray(mesh->VertexArray);
  return true;
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
  BeginRecordedDraw();
  glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(triangles.size() / 4));
  EndRecordedDraw(s, static_cast<std::uint32_t>(triangles.size() / 12), RecordedKind::Flat);
  glBindVertexArray(0);
}

// Draw records: each draw bracketed by the rasteriser's own counters while recording is on.
#include "platform/render/draw_records.h"

#include "platform/render/render_state.h"

namespace {

struct Recorder {
  bool On = false;
  GLuint Queries[2] = {};
  std::vector<DrawRecord> Records;
};

Recorder TheRecorder;

}  // namespace

bool CountsFragments() { return epoxy_has_gl_extension("GL_ARB_pipeline_statistics_query"); }

void StartDrawRecords(RenderDevice* device) {
  if (!device) return;
  FlushPendingDraws(device);
  if (!TheRecorder.Queries[0]) glGenQueries(2, TheRecorder.Queries);
  TheRecorder.Records.clear();
  TheRecorder.On = true;
}

std::vector<DrawRecord> TakeDrawRecords(RenderDevice* device) {
  FlushPendingDraws(device);
  TheRecorder.On = false;
  return std::move(TheRecorder.Records);
}

bool RecordingDraws() { return TheRecorder.On; }

void BeginRecordedDraw() {
  if (!TheRecorder.On) return;
  glBeginQuery(GL_SAMPLES_PASSED, TheRecorder.Queries[0]);
  if (CountsFragments()) glBeginQuery(GL_FRAGMENT_SHADER_INVOCATIONS_ARB, TheRecorder.Queries[1]);
}

void EndRecordedDraw(const DeviceState& s, std::uint32_t triangles, RecordedKind kind, const void* corners,
                     std::size_t count, std::size_t stride) {
  if (!TheRecorder.On) return;
  glEndQuery(GL_SAMPLES_PASSED);
  const bool fragments = CountsFragments();
  if (fragments) glEndQuery(GL_FRAGMENT_SHADER_INVOCATIONS_ARB);
  DrawRecord r;
  r.Triangles = triangles;
  GLuint64 counted = 0;
  glGetQueryObjectui64v(TheRecorder.Queries[0], GL_QUERY_RESULT, &counted);
  r.Passed = counted;
  if (fragments) {
    glGetQueryObjectui64v(TheRecorder.Queries[1], GL_QUERY_RESULT, &counted);
    r.Fragments = counted;
  }
  r.Mesh = kind == RecordedKind::Mesh;
  const Matrix worldView = MatrixMultiply(s.World, s.View);
  float nearest = 1e30f;
  for (std::size_t i = 0; i < count; ++i) {
    float p[3];
    std::memcpy(p, static_cast<const std::uint8_t*>(corners) + i * stride, sizeof p);
    const float z = ToEye(p, worldView).Z;
    nearest = z < nearest ? z : nearest;
  }
  r.NearestDepth = nearest;
  if (kind == RecordedKind::Flat) {
    r.Blend = true;  // pixel-space quads always blend, with no depth and no fog
  } else {
    const std::uint32_t* rs = s.RenderStates;
    r.Bound = s.Bound;
    const VariantStates applied = CurrentVariant(s, false, s.LastCut);
    r.Blend = rs[D3DRS_ALPHABLENDENABLE] != 0 && !s.LastCut.NoBlend;
    r.AlphaTest = applied.AlphaFunc != 0;
    r.Fog = applied.FogMode != 0;
    r.DepthTest = rs[D3DRS_ZENABLE] != D3DZB_FALSE && (s.Target == nullptr || s.UseDepth);
    r.DepthWrite = rs[D3DRS_ZWRITEENABLE] != 0;
    r.Lighting = rs[D3DRS_LIGHTING] != 0;
    r.Program = s.LastProgram;
    r.Uploaded = s.LastUploaded;
    r.Mipmapped = s.Bound && s.StageStates[D3DTSS_MIPFILTER] != D3DTEXF_NONE && s.Bound->Levels > 1;
  }
  TheRecorder.Records.push_back(r);
}

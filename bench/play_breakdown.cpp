// Where the heaviest play frame's time goes: fragments, overdraw, draws and textures per pass,
// and the frame's time with each of its passes left out. Usage: play_breakdown [W H [scope]].
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "heaviest_frame.h"
#include "platform/render/draw_records.h"
#include "platform/render/render_device.h"
#include "platform/render/texture.h"
#include "platform/screenshot.h"

namespace {

std::map<const Texture*, std::string> PictureNames() {
  std::map<const Texture*, std::string> names;
  const std::pair<int, const char*> catalogue[] = {
      {TexSky, "sky"},          {TexGround, "ground"},   {TexWall, "wall"},     {TexShot, "bullet"},
      {TexBlank, "flash"},      {TexScope, "scope"},     {TexWindow, "frame"},  {TexFps, "fps badge"},
      {TexCursor1, "cursor"},   {TexWeaponName1, "weapon name"}, {TexWeaponName2, "weapon name"},
      {TexWeaponName3, "weapon name"}};
  for (const auto& [id, name] : catalogue) names[World.Textures[id]] = name;
  for (int i = TexSmoke1; i <= TexSmoke8; ++i) names[World.Textures[i]] = "smoke";
  for (int i = 0; i < TextPanelCount; ++i) names[World.TextPanels[i]] = "text panel";
  const std::pair<const MeshModel*, const char*> models[] = {
      {&Models.SkyDome, "sky dome"}, {&Models.Ball, "enemies"}, {&Models.Tree, "trees"},
      {&Models.Weapons[0], "weapon"}, {&Models.Weapons[1], "weapon"}, {&Models.Weapons[2], "weapon"}};
  for (const auto& [model, name] : models)
    for (const Texture* t : model->Textures) names[t] = name;
  names[nullptr] = "(no picture)";
  return names;
}

double ProcessCpuMs() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// Mean wall time of a frame, and the processor time all of the process's threads spent on it
// (steadier than the wall time on a busy machine).
struct FrameCost {
  double Wall = 0, Cpu = 0;
};

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

FrameCost FrameMs(int frames) {
  World.RenderPlayFrame();
  World.Device->Finish();
  const double cpu = ProcessCpuMs();
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < frames; ++i) {
    heaviest::KeepEffectsRunning();
    World.RenderPlayFrame();
    World.Device->Finish();
  }
  const double wall = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  return {wall / frames, (ProcessCpuMs() - cpu) / frames};
}

struct Pass {
  std::string Name;
  int Draws = 0;
  std::uint64_t Triangles = 0, Fragments = 0, Passed = 0;
  std::string States;
  float Nearest = 1e30f;
};

std::string StatesOf(const DrawRecord& r) {
  std::string s;
  if (r.Blend) s += " blend";
  if (r.AlphaTest) s += " alpha-test";
  if (r.Fog) s += " fog";
  if (r.DepthTest) s += " z";
  if (r.DepthWrite && r.DepthTest) s += "+write";
  if (r.Lighting) s += " lit";
  if (r.Mipmapped) s += " mip";
  return s.empty() ? " -" : s;
}

}  // namespace

int main(int argc, char** argv) {
  const int width = argc > 2 ? std::atoi(argv[1]) : 640;
  const int height = argc > 2 ? std::atoi(argv[2]) : 480;
  const bool scope = argc > 3 ? std::atoi(argv[3]) != 0 : true;
  if (!heaviest::EnsureMatch(width, height)) {
    std::fprintf(stderr, "no device or no default pack (set KORVID_GAME_DIR)\n");
    return 1;
  }
  heaviest::FillTheArena(scope);
  for (int i = 0; i < 5; ++i) World.RenderPlayFrame();
  World.Device->Finish();

  heaviest::KeepEffectsRunning();
  StartDrawRecords(World.Device);
  World.RenderPlayFrame();
  const std::vector<DrawRecord> records = TakeDrawRecords(World.Device);
  std::vector<std::uint32_t> fast, plain;
  int w = 0, h = 0;
  World.Device->ReadBackBuffer(fast, w, h);
  // KORVID_BREAKDOWN_SHOT=folder keeps the measured frame as a PNG there.
  if (const char* folder = std::getenv("KORVID_BREAKDOWN_SHOT")) {
    std::string path, error;
    if (SaveScreenshot(World.Device, folder, path, error)) std::printf("frame picture: %s\n", path.c_str());
    else std::fprintf(stderr, "frame picture not saved: %s\n", error.c_str());
  }
  const std::map<const Texture*, std::string> names = PictureNames();

  // Consecutive draws of one picture name make a pass.
  std::vector<Pass> passes;
  std::uint64_t fragments = 0, passed = 0, triangles = 0;
  for (const DrawRecord& r : records) {
    const auto found = names.find(r.Bound);
    const std::string name = found != names.end() ? found->second : "other";
    const std::string states = StatesOf(r);
    if (passes.empty() || passes.back().Name != name || passes.back().States != states)
      passes.push_back({name, 0, 0, 0, 0, states});
    Pass& p = passes.back();
    p.Draws += 1;
    p.Triangles += r.Triangles;
    p.Fragments += r.Fragments;
    p.Passed += r.Passed;
    p.Nearest = r.NearestDepth < p.Nearest ? r.NearestDepth : p.Nearest;
    fragments += r.Fragments;
    passed += r.Passed;
    triangles += r.Triangles;
  }
  const double pixels = static_cast<double>(width) * height;
  std::printf("heaviest play frame %dx%d, scope %s: %zu draws, %llu triangles\n", width, height,
              scope ? "up" : "down", records.size(), static_cast<unsigned long long>(triangles));
  if (!CountsFragments()) std::printf("(this driver does not count fragment shader runs)\n");
  std::printf("%-14s %5s %6s %10s %7s %10s %9s  %s\n", "pass", "draws", "tris", "fragments", "layers", "z-passed",
              "nearest", "states");
  for (const Pass& p : passes)
    std::printf("%-14s %5d %6llu %10llu %7.3f %10llu %9.2f  %s\n", p.Name.c_str(), p.Draws,
                static_cast<unsigned long long>(p.Triangles), static_cast<unsigned long long>(p.Fragments),
                p.Fragments / pixels, static_cast<unsigned long long>(p.Passed), p.Nearest, p.States.c_str() + 1);
  std::printf("overdraw: %.3f fragments a pixel (%.3f passing the depth test)\n", fragments / pixels,
              passed / pixels);
  int switches = 0, uploads = 0;
  std::uint32_t program = 0;
  std::map<std::uint32_t, int> programs;
  for (const DrawRecord& r : records) {
    if (r.Mesh || r.Bound || r.Program) programs[r.Program] += 1;
    switches += r.Program != program;
    program = r.Program;
    uploads += r.Uploaded;
  }
  std::printf("state: %zu programs, %d program switches, %d uniform uploads in %zu draws\n", programs.size(), switches,
              uploads, records.size());

  // Pictures sampled: their sizes against the fragments that read them.
  std::map<const Texture*, std::uint64_t> perPicture;
  for (const DrawRecord& r : records) perPicture[r.Bound] += r.Fragments;
  std::printf("\n%-14s %11s %6s %10s %15s %9s %7s %7s\n", "picture", "size", "levels", "fragments", "texels/fragment",
              "min alpha", "clear", "opaque");
  for (const auto& [texture, count] : perPicture) {
    if (!texture) continue;
    const auto found = names.find(texture);
    const int w = TextureWidth(texture), h = TextureHeight(texture);
    // The first level's alpha: its lowest value, and the share of texels fully clear or opaque.
    std::vector<std::uint32_t> argb;
    int lw = 0, lh = 0;
    unsigned lowest = 255;
    std::size_t clear = 0, opaque = 0;
    if (ReadTextureLevel(const_cast<Texture*>(texture), 0, argb, lw, lh)) {
      for (std::uint32_t p : argb) {
        const unsigned a = p >> 24;
        lowest = a < lowest ? a : lowest;
        clear += a == 0;
        opaque += a == 255;
      }
    }
    const double texels = argb.empty() ? 1.0 : static_cast<double>(argb.size());
    std::printf("%-14s %5dx%-5d %6d %10llu %15.2f %9u %6.1f%% %6.1f%%\n",
                found != names.end() ? found->second.c_str() : "other", w, h, TextureLevelCount(texture),
                static_cast<unsigned long long>(count), count ? static_cast<double>(w) * h / count : 0.0, lowest,
                100 * clear / texels, 100 * opaque / texels);
  }

  // The same frame with every state run as given.
  World.Device->SetShortcuts(false);
  heaviest::KeepEffectsRunning();
  World.RenderPlayFrame();
  World.Device->ReadBackBuffer(plain, w, h);
  World.Device->SetShortcuts(true);
  int differing = 0, largest = 0;
  for (std::size_t i = 0; i < fast.size() && i < plain.size(); ++i) {
    if (fast[i] == plain[i]) continue;
    ++differing;
    for (int shift = 0; shift < 32; shift += 8) {
      const int d = std::abs(static_cast<int>((fast[i] >> shift) & 0xFF) - static_cast<int>((plain[i] >> shift) & 0xFF));
      largest = d > largest ? d : largest;
    }
  }
  std::printf("\nagainst every state run as given: %d pixels differ (by at most %d)\n", differing, largest);

  // Time: the whole frame, then with one pass at a time left out. Each pass is timed in rounds,
  // the whole frame and the frame without it in turn, and the median of the rounds' differences
  // is its cost: the machine's drift between rounds then cancels out.
  const int frames = 20, rounds = 5;
  const FrameCost whole = FrameMs(frames * rounds);
  std::printf("\nframe: %.2f ms, %.2f ms of processor time (means of %d)\n", whole.Wall, whole.Cpu, frames * rounds);
  struct Leave {
    const char* Name;
    std::uint32_t* Switch;
  };
  const Leave leaves[] = {{"weapon", &Settings.ShowGun},     {"enemies", &Settings.ShowEnemies},
                          {"bullets", &Settings.ShowBullets}, {"trees", &Settings.ShowTrees},
                          {"status", &Settings.ShowStatus},   {"fps badge", &Settings.ShowFps},
                          {"fog", &Settings.UseFog}};
  for (const Leave& leave : leaves) {
    std::vector<double> wall, cpu;
    for (int round = 0; round < rounds; ++round) {
      const FrameCost with = FrameMs(frames);
      *leave.Switch = 0;
      World.SetFog(Settings.UseFog != 0);
      const FrameCost without = FrameMs(frames);
      *leave.Switch = 1;
      World.SetFog(Settings.UseFog != 0);
      wall.push_back(with.Wall - without.Wall);
      cpu.push_back(with.Cpu - without.Cpu);
    }
    std::printf("  %-10s costs %5.2f ms (rounds %5.2f to %5.2f), processor %5.2f ms\n", leave.Name, Median(wall),
                *std::min_element(wall.begin(), wall.end()), *std::max_element(wall.begin(), wall.end()), Median(cpu));
  }
  // The same frame with every state run as given.
  World.Device->SetShortcuts(false);
  const FrameCost given = FrameMs(frames);
  World.Device->SetShortcuts(true);
  std::printf("  with every state run as given: %.2f ms, processor %.2f ms\n", given.Wall, given.Cpu);
  return 0;
}

// The fuzzed readers: Setting.dat, Ranking.dat, korvid.ini, WAV, BMP and DDS pictures, .x models,
// demos.
#include "fuzz_targets.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/demo_file.h"
#include "app/demo_run.h"
#include "audio/wav_reader.h"
#include "persist/port_options.h"
#include "persist/settings_record.h"
#include "platform/file_replace.h"
#include "platform/message_box.h"
#include "platform/render/image_file.h"
#include "platform/render/x_file.h"
#include "world/game_world.h"

namespace {

// The readers that take a file name work in a scratch folder of their own, in memory where
// the system offers it: a fuzzer writes and replaces these files thousands of times a second.
const std::string& ScratchFolder() {
  static const std::string folder = [] {
    char pattern[] = "/dev/shm/korvid_fuzz_XXXXXX";
    char fallback[] = "/tmp/korvid_fuzz_XXXXXX";
    const char* made = mkdtemp(pattern);
    if (!made) made = mkdtemp(fallback);
    if (!made) std::abort();
    static char Copy[64];
    std::snprintf(Copy, sizeof Copy, "%s", made);
    std::atexit([] { std::filesystem::remove_all(Copy); });
    return std::string(made);
  }();
  return folder;
}

void WriteScratch(const char* name, const std::uint8_t* data, std::size_t size) {
  std::FILE* file = std::fopen(name, "wb");
  if (!file) std::abort();
  if (size) std::fwrite(data, 1, size, file);
  std::fclose(file);
}

// Runs a file reader in the scratch folder with message boxes answered by their defaults.
template <typename Body>
void InScratch(const char* name, const std::uint8_t* data, std::size_t size, Body body) {
  char previous[4096];
  if (!getcwd(previous, sizeof previous)) std::abort();
  if (chdir(ScratchFolder().c_str()) != 0) std::abort();
  WriteScratch(name, data, size);
  SkipFileSyncsForTests(true);
  BeginMessageBoxCapture();
  body();
  EndMessageBoxCapture();
  if (chdir(previous) != 0) std::abort();
}

}  // namespace

int FuzzSettingsFile(const std::uint8_t* data, std::size_t size) {
  InScratch("Setting.dat", data, size, [] {
    SettingsRecord record;
    // A damaged file is repaired one section per pass, as start-up does.
    for (int pass = 0; pass < 8 && record.LoadSettings() == 1; ++pass) {
    }
  });
  return 0;
}

int FuzzRankingFile(const std::uint8_t* data, std::size_t size) {
  InScratch("Ranking.dat", data, size, [] {
    static GameWorld world;
    world.RankingSaveFailed = 0;
    world.RankingSaveFailureShown = 0;
    world.LoadRanking();
  });
  return 0;
}

int FuzzOptionsFile(const std::uint8_t* data, std::size_t size) {
  InScratch("korvid.ini", data, size, [] {
    // Whatever was read, what a save writes reads back as the same options.
    PortOptions first;
    first.Load();
    if (!first.Save()) return;
    PortOptions second;
    second.Load();
    if (second.PictureShape != first.PictureShape || second.Screenshots != first.Screenshots ||
        second.Stored.FirstBadLine != 0 || second.Stored.NotText)
      std::abort();
  });
  return 0;
}

int FuzzDemoFile(const std::uint8_t* data, std::size_t size) {
  DemoFile demo;
  std::string error;
  if (!DecodeDemo(data, size, demo, error)) {
    if (error.empty()) std::abort();  // a refusal always says why
    return 0;
  }
  // What was read writes back to bytes that read the same (a long claimed run of repeats is
  // left at the read: copying a million steps four times over only slows the search).
  if (demo.Steps.size() <= 100000) {
    const std::string again = EncodeDemo(demo);
    DemoFile back;
    if (!DecodeDemo(reinterpret_cast<const std::uint8_t*>(again.data()), again.size(), back, error) ||
        back.Steps.size() != demo.Steps.size() || EncodeDemo(back) != again)
      std::abort();
  }
  // The checks a replay makes before it starts.
  CheckDemoForReplay(demo, error);
  return 0;
}

int FuzzWaveFile(const std::uint8_t* data, std::size_t size) {
  InScratch("fuzz.wav", data, size, [] {
    std::vector<std::uint8_t> samples;
    WaveFormat format;
    ReadWaveFile("fuzz.wav", samples, format);
  });
  return 0;
}

int FuzzPicture(const std::uint8_t* data, std::size_t size) {
  std::vector<ImageLevel> levels;
  if (DecodeImageMemory(data, size, levels)) {
    for (const ImageLevel& level : levels)
      if (level.Pixels.size() != static_cast<std::size_t>(level.Width) * level.Height) std::abort();
    if (!levels.empty()) DownsampleLinear(levels[0]);
  }
  return 0;
}

int FuzzModelFile(const std::uint8_t* data, std::size_t size) {
  XMeshData mesh;
  if (!ReadXFile(data, size, mesh)) return 0;
  // What the reader gives must be drawable as it is: subsets within the indices, one per
  // material, and every index naming a vertex.
  if (mesh.Subsets.size() != mesh.Materials.size() || mesh.Indices.size() % 3 != 0) std::abort();
  for (const auto& [first, count] : mesh.Subsets)
    if (count % 3 != 0 || first > mesh.Indices.size() || count > mesh.Indices.size() - first) std::abort();
  for (std::uint32_t index : mesh.Indices)
    if (index >= mesh.Vertices.size()) std::abort();
  return 0;
}

const FuzzTarget FuzzTargets[] = {
    {"settings", FuzzSettingsFile}, {"ranking", FuzzRankingFile}, {"wave", FuzzWaveFile},
    {"bmp", FuzzPicture},           {"dds", FuzzPicture},         {"model", FuzzModelFile},
    {"options", FuzzOptionsFile},
    {"demo", FuzzDemoFile},
};
const int FuzzTargetCount = sizeof FuzzTargets / sizeof FuzzTargets[0];

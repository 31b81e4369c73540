// The two pieces of the default pack sound about equally loud at the same music volume.
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "audio_fixture.h"
#include "platform/sound/music_device.h"

namespace audio_test {
namespace {

class MusicBalanceTest : public AudioTest {};

struct Level {
  double Rms = 0;
  float Peak = 0;
};

// Over `seconds` of output, letting the MIDI stream refill between slices.
Level Measure(MusicPerformance* piece, double seconds) {
  Level level;
  std::vector<float> out(4096);
  const int slices = static_cast<int>(seconds * Rate / 2048);
  for (int i = 0; i < slices; ++i) {
    EXPECT_TRUE(WaitMusicQueued(piece, 2000));
    EXPECT_TRUE(RenderLoopback(out.data(), 2048));
    for (float v : out) {
      level.Rms += v * v;
      level.Peak = std::max(level.Peak, std::abs(v));
    }
  }
  level.Rms = std::sqrt(level.Rms / (slices * 4096.0));
  return level;
}

TEST_F(MusicBalanceTest, DefaultPiecesWithinThreeDecibelsAndUnclipped) {
  const std::filesystem::path game = std::getenv("KORVID_GAME_DIR");
  if (!std::filesystem::exists(game / MusicFilePaths[1])) GTEST_SKIP() << "no generated pack in " << game;
  for (const char* piece : MusicFilePaths)
    std::filesystem::copy_file(game / piece, dir_ / piece, std::filesystem::copy_options::overwrite_existing);
  ASSERT_TRUE(Sound.InitSound());
  ASSERT_TRUE(Music.InitMusic());

  Music.KeepTitleMusic();
  const Level title = Measure(Music.Performances[0], 20);
  Music.StopMusic();
  Music.KeepMatchMusic();
  const Level match = Measure(Music.Performances[1], 20);
  const double difference = 20 * std::log10(match.Rms / title.Rms);
  std::printf("RMS over 20 s at full volume: title %.1f dBFS, match %.1f dBFS\n", 20 * std::log10(title.Rms),
              20 * std::log10(match.Rms));
  EXPECT_LT(std::abs(difference), 3.0) << "match music is " << difference << " dB from the title music";
  // Louder by clipping would be no balance: the synthesiser's output saturates at full scale.
  EXPECT_LT(match.Peak, 0.99f);
}

}  // namespace
}  // namespace audio_test

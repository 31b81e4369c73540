// The sound half of the asset check, on a scratch pack and on the generated default pack.
#include <cstdlib>

#include "audio/asset_check.h"
#include "audio_fixture.h"
#include "platform/sound/music_device.h"

namespace audio_test {
namespace {

class SoundAssetCheckTest : public AudioTest {};

TEST_F(SoundAssetCheckTest, NamesEveryFileThatWouldStopStartUp) {
  std::vector<std::string> problems;
  EXPECT_TRUE(CheckSoundAssets((dir_ / "File").string(), problems));
  EXPECT_TRUE(problems.empty());

  std::filesystem::remove(dir_ / "File/Sound/Call_Kill_03.wav");
  // Readable but unplayable: 12-bit samples.
  WriteFile(dir_ / "File/Sound/Rifle.wav",
            Riff({Chunk("fmt ", FormatBody(1, 1, 44100, 12)), Chunk("data", Bytes(30, 0))}));
  WriteFile(dir_ / "File/Sound/midi_my.mid", Bytes{'M', 'T', 'h', 'd', 0, 0, 0, 6});
  EXPECT_FALSE(CheckSoundAssets((dir_ / "File").string(), problems));
  ASSERT_EQ(problems.size(), 3u);
  EXPECT_NE(problems[0].find("Rifle.wav"), std::string::npos);
  EXPECT_NE(problems[0].find("cannot be played"), std::string::npos);
  EXPECT_NE(problems[1].find("Call_Kill_03.wav"), std::string::npos);
  EXPECT_NE(problems[2].find("midi_my.mid"), std::string::npos);
}

TEST_F(SoundAssetCheckTest, DefaultPackPassesAndLoads) {
  // The build's game folder: named by the environment, else beside the tests' folder.
  std::string gameDir;
  if (const char* env = std::getenv("KORVID_GAME_DIR")) {
    gameDir = env;
  } else {
    gameDir = (std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() /
               "game").string();
  }
  const char* game = gameDir.c_str();
  if (!std::filesystem::exists(std::filesystem::path(game) / "File/Sound/midi_my.mid"))
    GTEST_SKIP() << "no generated pack in " << gameDir;
  std::vector<std::string> problems;
  EXPECT_TRUE(CheckSoundAssets(std::string(game) + "/File", problems));
  for (const std::string& p : problems) ADD_FAILURE() << p;

  std::filesystem::current_path(game);
  ASSERT_TRUE(Sound.InitSound());
  ASSERT_TRUE(Music.InitMusic());
  Music.KeepTitleMusic();
  Listen(4410);
  EXPECT_GT(Listen(44100).Both(), 0.005) << "the title music is heard";
  Music.StopMusic();
  Music.KeepMatchMusic();
  double loud = 0;
  for (int i = 0; i < 40; ++i) {
    ASSERT_TRUE(WaitMusicQueued(Music.Performances[1], 2000));
    loud = std::max(loud, Listen(2205).Both());
  }
  EXPECT_GT(loud, 0.005) << "the match music is heard within two seconds";
  std::filesystem::current_path(dir_);
}

}  // namespace
}  // namespace audio_test

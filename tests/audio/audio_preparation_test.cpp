// Start-up's audio read ahead on a helper: the same steps fail with the same messages, and the
// helper is joined and its leftovers freed however start-up ends.
#include "audio/audio_preparation.h"
#include "audio_fixture.h"

namespace audio_test {
namespace {

class AudioPreparationTest : public AudioTest {
 protected:
  void TearDown() override {
    EndAudioPreparation();
    AudioTest::TearDown();
  }
};

TEST_F(AudioPreparationTest, ReadAheadFailsAtTheSameStepWithTheSameMessage) {
  const struct {
    const char* Name;
    const char* Damaged;  // a file removed before the helper starts, or none
    bool BrokenSoundFont;
    bool SoundLoads, MusicLoads;
    const char* Message;
  } cases[] = {
      {"all present", nullptr, false, true, true, nullptr},
      {"missing kill call", "File/Sound/Call_Kill_03.wav", false, false, false,
       "WAVファイルの読み込みに失敗しました。"},
      {"missing title piece", "File/Sound/MenuMusic.wav", false, true, false, "MIDI の読み込みに失敗しました。"},
      {"no SoundFont", nullptr, true, true, false, "DirectMusicLoader8 オブジェクトの作成に失敗しました。"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    for (const char* path : SoundFilePaths) WriteFile(dir_ / path, ToneWav());
    WriteFile(dir_ / MusicFilePaths[0], ToneWav(44100, 330));
    if (c.Damaged) std::filesystem::remove(dir_ / c.Damaged);
    Music.SoundFonts.clear();
    if (c.BrokenSoundFont) Music.SoundFonts = {(dir_ / "none.sf2").string()};
    BeginMessageBoxCapture();
    lines_.clear();
    World.LoadPercent = 0;

    BeginAudioPreparation();
    const bool soundLoaded = Sound.InitSound();
    EXPECT_EQ(soundLoaded, c.SoundLoads);
    if (soundLoaded) {
      EXPECT_EQ(Music.InitMusic(), c.MusicLoads);
    }
    EndAudioPreparation();
    if (c.Message) {
      ASSERT_EQ(CapturedMessageBoxes().size(), 1u);
      EXPECT_EQ(CapturedMessageBoxes()[0].Text, c.Message);
    } else {
      EXPECT_TRUE(CapturedMessageBoxes().empty());
      EXPECT_EQ(lines_.size(), 136u);  // 131 sound steps and 5 music steps
    }
    Music.ShutdownMusic();
    Sound.ShutdownSound();
  }
}

// Start-up may stop before the sound step: the helper ends at once without being used.
TEST_F(AudioPreparationTest, EndingUnusedJoinsAndLaterLoadsReadTheFilesThemselves) {
  BeginAudioPreparation();
  EndAudioPreparation();
  std::filesystem::remove(dir_ / "File/Sound/Page.wav");
  EXPECT_FALSE(Sound.InitSound());
  ASSERT_EQ(CapturedMessageBoxes().size(), 1u);
  EXPECT_EQ(lines_.size(), 1u);
}

}  // namespace
}  // namespace audio_test

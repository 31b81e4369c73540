// The music player: loading with its progress and messages, volume, keeping and restarting
// the pieces, and the MIDI piece rendered and repeated through the loopback device.
#include "app/app_globals.h"
#include "app/scene_steps.h"
#include "dialogs/settings_apply.h"
#include "audio_fixture.h"
#include "platform/sound/music_device.h"
#include "world/match_values.h"

namespace audio_test {
namespace {

class MusicPlayerTest : public AudioTest {
 protected:
  void Init() {
    ASSERT_TRUE(Sound.InitSound());
    lines_.clear();
    ASSERT_TRUE(Music.InitMusic());
    Music.StartLog = &starts_;
  }
  // Renders `seconds` of output in small slices, letting the stream refill between them,
  // and returns the loudness of each tenth of a second.
  std::vector<double> Tenths(double seconds) {
    std::vector<double> out;
    const int slices = static_cast<int>(seconds * 10 + 0.5);
    for (int i = 0; i < slices; ++i) {
      double sum = 0;
      for (int part = 0; part < 9; ++part) {
        EXPECT_TRUE(WaitMusicQueued(Music.Performances[1], 2000));
        const Loudness l = Listen(490);
        sum += l.Both() * l.Both();
      }
      out.push_back(std::sqrt(sum / 9));
    }
    return out;
  }
  std::vector<int> starts_;
};

TEST_F(MusicPlayerTest, LoadsBothPiecesInFiveSteps) {
  Settings.MusicVolume = 50;
  ASSERT_TRUE(Sound.InitSound());
  World.LoadPercent = 15;
  lines_.clear();
  ASSERT_TRUE(Music.InitMusic());
  EXPECT_TRUE(CapturedMessageBoxes().empty());
  EXPECT_EQ(lines_, (std::vector<std::string>{
                        "Now Loadind... 17％　ミュージックのロード中",
                        "Now Loadind... 19％　ミュージックのロード中",
                        "Now Loadind... 21％　ミュージックのロード中",
                        "Now Loadind... 23％　ミュージックのロード中",
                        "Now Loadind... 25％　ミュージックのロード中"}));
  for (MusicPerformance* p : Music.Performances) {
    ASSERT_NE(p, nullptr);
    EXPECT_NEAR(MusicGain(p), 0.316228f, 1e-5f);  // -1000 at 50
    EXPECT_FALSE(MusicIsPlaying(p));
  }
}

TEST_F(MusicPlayerTest, VolumeRule) {
  EXPECT_EQ(MusicVolumeHundredths(100), 0);
  EXPECT_EQ(MusicVolumeHundredths(50), -1000);
  EXPECT_EQ(MusicVolumeHundredths(10), -1800);
  EXPECT_EQ(MusicVolumeHundredths(33), -1340);
  Init();
  Settings.MusicVolume = 10;
  Music.ApplyMusicVolume();
  EXPECT_NEAR(MusicGain(Music.Performances[0]), std::pow(10.0f, -0.9f), 1e-5f);
  EXPECT_NEAR(MusicGain(Music.Performances[1]), std::pow(10.0f, -0.9f), 1e-5f);
}

TEST_F(MusicPlayerTest, MissingOrDamagedPiecesFailWithTheLoadMessage) {
  // The load message belongs to the main window; any window will do for the record.
  int window = 0;
  HWND saved = MainWindow;
  MainWindow = reinterpret_cast<HWND>(&window);
  ASSERT_TRUE(Sound.InitSound());
  std::filesystem::remove(dir_ / "File/Sound/midi_my.mid");
  EXPECT_FALSE(Music.InitMusic());
  ASSERT_EQ(CapturedMessageBoxes().size(), 1u);
  EXPECT_EQ(CapturedMessageBoxes()[0].Text, "MIDI の読み込みに失敗しました。");
  EXPECT_EQ(CapturedMessageBoxes()[0].Caption, "DirectMusic");
  EXPECT_TRUE(CapturedMessageBoxes()[0].Owned);
  Music.ShutdownMusic();

  // A MIDI file whose track runs past the end of the file.
  Bytes midi = OneNoteMidi(240, 480);
  midi[21] = 0x7F;
  WriteFile(dir_ / "File/Sound/midi_my.mid", midi);
  EXPECT_FALSE(Music.InitMusic());
  Music.ShutdownMusic();

  // A title piece that is no WAV file.
  WriteFile(dir_ / "File/Sound/midi_my.mid", OneNoteMidi(240, 480));
  WriteFile(dir_ / "File/Sound/MenuMusic.wav", Bytes(64, 'x'));
  EXPECT_FALSE(Music.InitMusic());
  EXPECT_EQ(CapturedMessageBoxes().size(), 3u);
  EXPECT_EQ(CapturedMessageBoxes()[2].Text, "MIDI の読み込みに失敗しました。");
  MainWindow = saved;
}

TEST_F(MusicPlayerTest, NoSoundFontFailsWithTheLoaderMessage) {
  ASSERT_TRUE(Sound.InitSound());
  lines_.clear();
  WriteFile(dir_ / "broken.sf2", Bytes(100, 'x'));
  Music.SoundFonts = {(dir_ / "none.sf2").string(), (dir_ / "broken.sf2").string()};
  EXPECT_FALSE(Music.InitMusic());
  ASSERT_EQ(CapturedMessageBoxes().size(), 1u);
  EXPECT_EQ(CapturedMessageBoxes()[0].Text, "DirectMusicLoader8 オブジェクトの作成に失敗しました。");
  EXPECT_EQ(CapturedMessageBoxes()[0].Caption, "DirectMusic");
  EXPECT_FALSE(CapturedMessageBoxes()[0].Owned);
  EXPECT_EQ(lines_.size(), 1u);  // the step's line comes before its work
}

TEST_F(MusicPlayerTest, MusicSwitchOffPlaysNothingButSetsVolumes) {
  Settings.MusicOn = 0;
  Settings.MusicVolume = 10;
  Init();
  for (int i = 0; i < 3; ++i) {
    Music.KeepTitleMusic();
    Music.KeepMatchMusic();
  }
  EXPECT_TRUE(starts_.empty());
  EXPECT_FALSE(MusicIsPlaying(Music.Performances[0]));
  EXPECT_FALSE(MusicIsPlaying(Music.Performances[1]));
  EXPECT_NEAR(MusicGain(Music.Performances[0]), std::pow(10.0f, -0.9f), 1e-5f);
  EXPECT_LT(Listen(4410).Both(), 1e-6);
}

TEST_F(MusicPlayerTest, SwitchingMusicOffInTheSettingsStopsWhatPlays) {
  Init();
  Music.KeepTitleMusic();
  ASSERT_TRUE(MusicIsPlaying(Music.Performances[0]));
  ApplySettings();  // music still on: it plays on
  EXPECT_TRUE(MusicIsPlaying(Music.Performances[0]));
  Settings.MusicOn = 0;
  ApplySettings();
  EXPECT_FALSE(MusicIsPlaying(Music.Performances[0]));
  EXPECT_LT(Listen(4410).Both(), 1e-6);
}

TEST_F(MusicPlayerTest, KeepingStartsOnceAndRestartsAfterAStop) {
  Init();
  for (int i = 0; i < 5; ++i) Music.KeepTitleMusic();
  EXPECT_EQ(starts_, std::vector<int>{0});
  EXPECT_TRUE(MusicIsPlaying(Music.Performances[0]));
  // The title piece (one second) repeats: still heard well past its end.
  Listen(Rate * 3 / 2);
  EXPECT_TRUE(MusicIsPlaying(Music.Performances[0]));
  EXPECT_GT(Listen(4410).Both(), 0.01);

  Music.StopMusic();
  EXPECT_FALSE(MusicIsPlaying(Music.Performances[0]));
  EXPECT_LT(Listen(4410).Both(), 1e-6);
  for (int i = 0; i < 5; ++i) Music.KeepMatchMusic();
  Music.KeepTitleMusic();
  EXPECT_EQ(starts_, (std::vector<int>{0, 1, 0}));
  Music.StopMusic();
  EXPECT_FALSE(MusicIsPlaying(Music.Performances[1]));
}

TEST_F(MusicPlayerTest, MidiPieceRepeatsWithoutEnd) {
  // Half a second long: a note for the first quarter, then rest.
  Init();
  Music.KeepMatchMusic();
  ASSERT_TRUE(MusicIsPlaying(Music.Performances[1]));
  const std::vector<double> t = Tenths(2.0);
  // Each half second begins with the note again.
  for (int repeat = 0; repeat < 4; ++repeat) {
    EXPECT_GT(t[repeat * 5 + 1], 0.005) << "repeat " << repeat;
    EXPECT_GT(t[repeat * 5 + 1], 4 * t[repeat * 5 + 4]) << "repeat " << repeat << " rests";
  }
  EXPECT_GE(MusicLoopCount(Music.Performances[1]), 3);

  // Stopped and started again, it begins at the top.
  Music.StopMusic();
  EXPECT_EQ(MusicLoopCount(Music.Performances[1]), 0);
  EXPECT_LT(Listen(4410).Both(), 1e-6);
  Music.KeepMatchMusic();
  const std::vector<double> again = Tenths(0.5);
  EXPECT_GT(again[1], 4 * again[4]);
}

TEST_F(MusicPlayerTest, StreamKeepsUpWithoutTheMainThread) {
  // The feeding thread fills the queue again by itself while this thread only renders.
  Init();
  Music.KeepMatchMusic();
  for (int i = 0; i < 40; ++i) {
    ASSERT_TRUE(WaitMusicQueued(Music.Performances[1], 2000)) << "slice " << i;
    Listen(2048);
  }
  EXPECT_TRUE(MusicIsPlaying(Music.Performances[1]));
}

}  // namespace
}  // namespace audio_test

namespace audio_test {
namespace {

TEST_F(MusicPlayerTest, DeviceClosedFirstLeavesThePlayerHarmless) {
  Init();
  Music.KeepMatchMusic();
  // Process end may release the sound side first; the player's later calls do nothing.
  Sound.ShutdownSound();
  EXPECT_FALSE(MusicIsPlaying(Music.Performances[1]));
  Music.KeepTitleMusic();
  EXPECT_FALSE(MusicIsPlaying(Music.Performances[0]));
  Music.StopMusic();
  Music.ShutdownMusic();
  EXPECT_EQ(Music.Performances[0], nullptr);
}

}  // namespace
}  // namespace audio_test

namespace audio_test {
namespace {

// Into a match: the play update runs only once the noise is over, so neither the match music
// nor a shot is heard under it, and the music starts once, with the match.
TEST_F(MusicPlayerTest, NeitherMatchMusicNorAShotSoundsUnderTheTransitionIntoAMatch) {
  Init();
  Music.KeepTitleMusic();
  Settings.WindowMode = 1;
  World.ResetMatch();
  World.Player.Active = 1;
  World.GameState = StatePlay;
  World.StateFrameCount = 0;
  World.TransitionActive = 1;
  TriggerHeld = 1;  // the click that chose the item, still held
  while (World.TransitionActive) {
    UpdateStep();
    RenderStep();
  }
  EXPECT_FALSE(MusicIsPlaying(Music.Performances[1]));
  for (const SoundEvent& e : log_) EXPECT_EQ(e.Group, SoundPage) << "group " << e.Group << " under the noise";
  // The title piece stops on the entering frame: whatever is left would be the match's.
  RenderStep();
  EXPECT_LT(Listen(Rate / 10).Both(), 1e-6);
  for (int frame = 0; frame < 12; ++frame) {
    UpdateStep();
    RenderStep();
  }
  EXPECT_EQ(starts_, (std::vector<int>{0, 1}));
  EXPECT_TRUE(WaitMusicQueued(Music.Performances[1], 2000));
  EXPECT_GT(Listen(Rate / 10).Both(), 0.01);
  TriggerHeld = 0;
  World.ResetMatch();
}

// Out of a match: the frame that finds the death flash faded ends the match and its music.
TEST_F(MusicPlayerTest, MatchMusicStopsWithTheMatch) {
  Init();
  Settings.WindowMode = 1;
  World.ResetMatch();
  World.GameState = StatePlay;
  World.StateFrameCount = 40;
  World.TransitionActive = 0;
  Music.KeepMatchMusic();
  ASSERT_TRUE(MusicIsPlaying(Music.Performances[1]));
  World.Player.HP = 0;
  World.Player.Active = 0;
  World.FlashLevel = 1.0f;
  RenderStep();
  EXPECT_EQ(World.GameState, StateGameOver);
  EXPECT_FALSE(MusicIsPlaying(Music.Performances[1]));
  EXPECT_LT(Listen(Rate / 10).Both(), 1e-6);
  World.ResetMatch();
}

}  // namespace
}  // namespace audio_test

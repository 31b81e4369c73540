// The sound device heard through the loopback device: distance, side, volume, deferral.
#include "audio_fixture.h"

namespace audio_test {
namespace {

class SoundDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    UseLoopbackSoundDevice(Rate);
    ASSERT_EQ(OpenSoundDevice(), SoundOpenOk);
    WaveFormat f;
    f.FormatTag = 1;
    f.Channels = 1;
    f.SamplesPerSec = Rate;
    f.BitsPerSample = 16;
    f.BlockAlign = 2;
    const Bytes tone = Sine16(Rate / 2, 441);
    tone_ = CreateSoundBuffer(f, tone.data(), static_cast<std::uint32_t>(tone.size()));
    ASSERT_NE(tone_, nullptr);
    SetListenerOrientation(0, 0, -1, 0, 1, 0, false);
  }
  void TearDown() override {
    CloseSoundDevice();
    UseLoopbackSoundDevice(0);
  }
  // Loudness of the looping tone once the mixer has settled on its settings.
  Loudness Steady() {
    Listen(2048);
    return Listen(8820);
  }
  SoundBuffer* tone_ = nullptr;
};

TEST_F(SoundDeviceTest, LoudnessFallsAsOneOverDistance) {
  PlaySound(tone_, true);
  double atOne = 0;
  for (float d : {1.0f, 2.0f, 4.0f, 8.0f}) {
    SetSoundPosition(tone_, 0, 0, -d, false);  // straight ahead of the listener
    const Loudness l = Steady();
    if (d == 1.0f) atOne = l.Both();
    ASSERT_GT(atOne, 0.01);
    EXPECT_NEAR(l.Both() / atOne, 1.0 / d, 0.01 / d) << "at distance " << d;
    EXPECT_NEAR(l.Left, l.Right, 1e-3) << "straight ahead is centred";
  }
  // Inside the minimum distance the sound is not louder than at 1.
  SetSoundPosition(tone_, 0, 0, -0.25f, false);
  EXPECT_NEAR(Steady().Both() / atOne, 1.0, 0.01);
}

TEST_F(SoundDeviceTest, SideFollowsTheListenersOrientation) {
  PlaySound(tone_, true);
  SetSoundPosition(tone_, -2, 0, 0, false);
  // Facing -z with y up (left-handed), -x is on the right.
  Loudness l = Steady();
  EXPECT_GT(l.Right, 2 * l.Left);
  // Turned round, the same point is on the left.
  SetListenerOrientation(0, 0, 1, 0, 1, 0, false);
  l = Steady();
  EXPECT_GT(l.Left, 2 * l.Right);
  // Parallel front and top (as the title scene sets them) must not break the mix.
  SetListenerOrientation(0, 1, 0, 0, 0.1f, 0, false);
  SetSoundPosition(tone_, 0, 0, 0, false);
  l = Steady();
  EXPECT_TRUE(std::isfinite(l.Left) && std::isfinite(l.Right));
  EXPECT_GT(l.Both(), 0.01);
}

TEST_F(SoundDeviceTest, VolumeIsHundredthsOfADecibel) {
  PlaySound(tone_, true);
  const double full = Steady().Both();
  SetSoundVolume(tone_, -1000);
  EXPECT_NEAR(SoundGain(tone_), 0.316228, 1e-5);
  EXPECT_NEAR(20 * std::log10(Steady().Both() / full), -10.0, 0.1);
  SetSoundVolume(tone_, -2700);
  EXPECT_NEAR(20 * std::log10(Steady().Both() / full), -27.0, 0.1);
}

TEST_F(SoundDeviceTest, DeferredPositionsWaitForTheCommit) {
  PlaySound(tone_, true);
  SetSoundPosition(tone_, 0, 0, -1, false);
  const double near = Steady().Both();
  SetSoundPosition(tone_, 0, 0, -4, true);
  SetListenerPosition(0, 0, 4, true);  // would bring it even further
  EXPECT_NEAR(Steady().Both() / near, 1.0, 0.01);
  CommitDeferredSettings();
  EXPECT_NEAR(Steady().Both() / near, 1.0 / 8, 0.01);
  // An immediate setting overrides one still waiting.
  SetSoundPosition(tone_, 0, 0, -100, true);
  SetSoundPosition(tone_, 0, 0, 2, false);
  CommitDeferredSettings();
  EXPECT_NEAR(Steady().Both() / near, 1.0 / 2, 0.01);
}

TEST_F(SoundDeviceTest, CopiesShareSamplesAndPlayIndependently) {
  SoundBuffer* copy = DuplicateSoundBuffer(tone_);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(SoundSourceCount(), 2);
  PlaySound(copy, false);
  EXPECT_TRUE(SoundIsPlaying(copy));
  EXPECT_FALSE(SoundIsPlaying(tone_));
  // The original goes; the copy still has its samples.
  ReleaseSoundBuffer(tone_);
  tone_ = nullptr;
  EXPECT_GT(Listen(4410).Both(), 0.01);
  // A one-shot runs out; playing it again starts it from the top.
  Listen(Rate / 2);
  EXPECT_FALSE(SoundIsPlaying(copy));
  PlaySound(copy, false);
  EXPECT_TRUE(SoundIsPlaying(copy));
  ReleaseSoundBuffer(copy);
  EXPECT_EQ(SoundSourceCount(), 0);
}

TEST_F(SoundDeviceTest, PlayWhilePlayingKeepsPlayingAndStopHolds) {
  PlaySound(tone_, false);
  Listen(Rate / 4);
  PlaySound(tone_, false);  // not a restart: the rest of the half second is left
  Listen(Rate / 4 + 512);
  EXPECT_FALSE(SoundIsPlaying(tone_));

  PlaySound(tone_, false);
  Listen(Rate / 4);
  StopSound(tone_);
  EXPECT_FALSE(SoundIsPlaying(tone_));
  EXPECT_LT(Listen(2048).Both(), 1e-4);
  PlaySound(tone_, false);  // resumes where it stopped: a quarter second remains
  Listen(Rate / 4 + 512);
  EXPECT_FALSE(SoundIsPlaying(tone_));
}

TEST_F(SoundDeviceTest, EnoughSourcesForEveryGroup) {
  std::vector<SoundBuffer*> copies;
  for (int i = 0; i < 400; ++i) {
    SoundBuffer* c = DuplicateSoundBuffer(tone_);
    ASSERT_NE(c, nullptr) << "copy " << i;
    copies.push_back(c);
  }
  // The mixer's own count agrees with ours, and every source goes back with its copy.
  EXPECT_EQ(LiveSoundSources(), 401);
  for (SoundBuffer* c : copies) ReleaseSoundBuffer(c);
  EXPECT_EQ(LiveSoundSources(), 1);
  CloseSoundDevice();
  EXPECT_EQ(LiveSoundSources(), 0);
}

}  // namespace
}  // namespace audio_test

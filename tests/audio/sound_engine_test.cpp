// The sound-effect engine: loading, the volume rule, copies, heartbeat, switches, placement.
#include <cstdlib>

#include "app/random.h"
#include "audio_fixture.h"

namespace audio_test {
namespace {

class SoundEngineTest : public AudioTest {
 protected:
  void Init() {
    ASSERT_TRUE(Sound.InitSound());
    log_.clear();
  }
  std::vector<SoundEvent> Plays() const {
    std::vector<SoundEvent> out;
    for (const SoundEvent& e : log_)
      if (e.Action == SoundEvent::Play) out.push_back(e);
    return out;
  }
  std::vector<SoundEvent> Stops() const {
    std::vector<SoundEvent> out;
    for (const SoundEvent& e : log_)
      if (e.Action == SoundEvent::Stop) out.push_back(e);
    return out;
  }
};

TEST_F(SoundEngineTest, LoadsEveryGroupIn131StepsAndSetsVolumes) {
  Settings.EffectsVolume = 50;
  Settings.VoiceVolume = 10;
  ASSERT_TRUE(Sound.InitSound());
  EXPECT_TRUE(CapturedMessageBoxes().empty());
  ASSERT_EQ(lines_.size(), 131u);
  EXPECT_EQ(lines_.front(), "Now Loadind... 0％　サウンドのロード中");
  EXPECT_EQ(lines_[9], "Now Loadind... 1％　サウンドのロード中");  // 10 x 0.114504
  EXPECT_NEAR(World.LoadPercent, 15.0f, 1e-3f);
  EXPECT_EQ(lines_.back(), "Now Loadind... " + std::to_string(static_cast<int>(World.LoadPercent)) +
                               "％　サウンドのロード中");
  // 2 + 4 + 20 + 30 + 10 + 8 + 10 + 3 + 100 + 80 + 80 + 20 + 20 copies.
  EXPECT_EQ(SoundSourceCount(), 387);
  for (int g = 0; g < SoundGroupCount; ++g) {
    const auto group = static_cast<SoundGroupId>(g);
    for (int i = 0; i < Sound.GroupCopies(group); ++i)
      ASSERT_NE(Sound.GroupBuffer(group, i), nullptr) << "group " << g << " copy " << i;
  }
  auto gainOf = [](std::int32_t hundredths) { return std::pow(10.0f, hundredths / 2000.0f); };
  EXPECT_NEAR(SoundGain(Sound.MachineGun[29]), gainOf(SoundVolume(50, 400)), 1e-6);
  EXPECT_NEAR(SoundGain(Sound.Heartbeat[2]), gainOf(SoundVolume(10, 200)), 1e-6);
  EXPECT_NEAR(SoundGain(Sound.CallStart[19][4]), gainOf(SoundVolume(10, 100)), 1e-6);
  EXPECT_NEAR(SoundGain(Sound.Page[1]), gainOf(SoundVolume(50, 0)), 1e-6);
  // The settings page changes a volume and applies it to every buffer.
  Settings.EffectsVolume = 100;
  Sound.ApplyEffectVolumes();
  EXPECT_NEAR(SoundGain(Sound.MachineGun[0]), gainOf(-1200), 1e-6);
}

TEST_F(SoundEngineTest, VolumeRule) {
  EXPECT_EQ(SoundVolume(100, 0), 0);
  EXPECT_EQ(SoundVolume(10, 0), -2700);
  EXPECT_EQ(SoundVolume(100, 400), -1200);
  EXPECT_EQ(SoundVolume(50, 300), -1950);
  EXPECT_EQ(SoundVolume(33, 100), -2109);
  EXPECT_EQ(SoundVolume(77, 200), -1152);
}

TEST_F(SoundEngineTest, MissingKillCallFailsWithItsMessage) {
  std::filesystem::remove(dir_ / "File/Sound/Call_Kill_03.wav");
  EXPECT_FALSE(Sound.InitSound());
  ASSERT_EQ(CapturedMessageBoxes().size(), 1u);
  EXPECT_EQ(CapturedMessageBoxes()[0].Text, "WAVファイルの読み込みに失敗しました。");
  EXPECT_EQ(CapturedMessageBoxes()[0].Caption, "DirectSound");
  EXPECT_FALSE(CapturedMessageBoxes()[0].Owned);
  // The first 15 steps, then the failing slot-0 step still moves the line once.
  EXPECT_EQ(lines_.size(), 16u);
}

TEST_F(SoundEngineTest, DamagedSampleFailsLikeAMissingOne) {
  WriteFile(dir_ / "File/Sound/Page.wav", Bytes{'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'});
  EXPECT_FALSE(Sound.InitSound());
  ASSERT_EQ(CapturedMessageBoxes().size(), 1u);
  EXPECT_EQ(CapturedMessageBoxes()[0].Text, "WAVファイルの読み込みに失敗しました。");
  EXPECT_EQ(lines_.size(), 1u);
}

TEST_F(SoundEngineTest, EmptyOrUnplayableSampleFails) {
  WriteFile(dir_ / "File/Sound/Heartbeat_6.wav",
            Riff({Chunk("fmt ", FormatBody(1, 1, 44100, 16)), Chunk("data", {})}));
  EXPECT_FALSE(Sound.InitSound());
  WriteFile(dir_ / "File/Sound/Heartbeat_6.wav",
            Riff({Chunk("fmt ", FormatBody(0x11, 1, 44100, 4, true, {0xF9, 0x01})),
                  Chunk("data", Bytes(512, 0))}));
  EXPECT_FALSE(Sound.InitSound());
  ASSERT_EQ(CapturedMessageBoxes().size(), 2u);
  EXPECT_EQ(CapturedMessageBoxes()[1].Text, "WAVファイルの読み込みに失敗しました。");
}

TEST_F(SoundEngineTest, NoOutputDeviceFailsWithTheDeviceMessage) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        setenv("ALSOFT_DRIVERS", "no-such-backend", 1);
        UseLoopbackSoundDevice(0);
        const bool ok = Sound.InitSound();
        const auto& boxes = CapturedMessageBoxes();
        const bool right = !ok && boxes.size() == 1 &&
                           boxes[0].Text == "DirectSound オブジェクトの作成に失敗しました。" &&
                           boxes[0].Caption == "DirectSound" && !boxes[0].Owned;
        std::exit(right ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST_F(SoundEngineTest, ShotCopiesRotateAndTheMenuShotHasItsOwnCounter) {
  Init();
  for (int i = 0; i < 31; ++i) Sound.PlayShot(0);
  for (int i = 0; i < 11; ++i) Sound.PlayShot(1);
  for (int i = 0; i < 9; ++i) Sound.PlayShot(2);
  Sound.PlayMenuSound(false, 1);
  Sound.PlayShot(3);  // no such weapon
  const auto plays = Plays();
  ASSERT_EQ(plays.size(), 31u + 11u + 9u + 1u);
  for (int i = 0; i < 31; ++i) {
    EXPECT_EQ(plays[i].Group, SoundMachineGun);
    EXPECT_EQ(plays[i].Copy, i % 30);
  }
  EXPECT_EQ(plays[30].Copy, 0);  // the 31st shot reuses copy 0
  EXPECT_EQ(plays[31 + 10].Group, SoundRifle);
  EXPECT_EQ(plays[31 + 10].Copy, 0);
  EXPECT_EQ(plays[42 + 8].Group, SoundHandgun);
  EXPECT_EQ(plays[42 + 8].Copy, 0);
  EXPECT_EQ(plays[51].Group, SoundHandgun);
  EXPECT_EQ(plays[51].Copy, 0);  // the menu shot counts on its own
  EXPECT_EQ(Sound.MenuShotCounter, 1);
  EXPECT_TRUE(SoundIsPlaying(Sound.MachineGun[0]));
}

TEST_F(SoundEngineTest, HeartbeatFollowsHealth) {
  Init();
  auto step = [&](float health) {
    log_.clear();
    Sound.UpdateListener(0, 0, 0, 0, 0, health);
  };
  auto playing = [] {
    std::vector<int> on;
    for (int b = 0; b < SoundHeartbeatCopies; ++b)
      if (SoundIsPlaying(Sound.Heartbeat[b])) on.push_back(b);
    return on;
  };
  step(1000);
  EXPECT_TRUE(Plays().empty());
  EXPECT_EQ(Stops().size(), 4u);
  EXPECT_TRUE(playing().empty());

  step(750);  // heartbeat 3, "Heartbeat_15.wav"
  ASSERT_EQ(Plays().size(), 1u);
  EXPECT_EQ(Plays()[0].Group, SoundHeartbeat);
  EXPECT_EQ(Plays()[0].Copy, 3);
  EXPECT_TRUE(Plays()[0].Looping);
  EXPECT_EQ(playing(), std::vector<int>{3});

  step(400);
  EXPECT_EQ(Plays()[0].Copy, 2);
  EXPECT_EQ(playing(), std::vector<int>{2});

  step(240);  // heartbeat 1; 2 and 3 stopped
  EXPECT_EQ(Plays()[0].Copy, 1);
  ASSERT_EQ(Stops().size(), 2u);
  EXPECT_EQ(Stops()[0].Copy, 2);
  EXPECT_EQ(Stops()[1].Copy, 3);
  EXPECT_EQ(playing(), std::vector<int>{1});

  step(100);
  EXPECT_EQ(Plays()[0].Copy, 0);
  EXPECT_EQ(Stops().size(), 3u);
  EXPECT_EQ(playing(), std::vector<int>{0});

  step(100);  // renewing keeps the same loop going
  EXPECT_EQ(playing(), std::vector<int>{0});

  step(801);  // above 800 every heartbeat is silent
  EXPECT_TRUE(playing().empty());

  step(500);
  Sound.StopHeartbeat();
  EXPECT_TRUE(playing().empty());
}

TEST_F(SoundEngineTest, EffectsSwitchSilencesEffectsButNotVoices) {
  Settings.EffectsOn = 0;
  Init();
  Sound.UpdateListener(0, 0, 0, 0, 0, 700);
  for (int w = 0; w < 3; ++w) Sound.PlayShot(w);
  Sound.PlayShellSound(0, 0, 0);
  Sound.PlayReload(1, 0, 0, 0);
  Sound.PlayImpact(0, 1, 10, 0, 10);
  Sound.PlayImpact(0, 2, 10, 0, 10);
  for (int k = 1; k <= 3; ++k) Sound.PlayMenuSound(false, k);
  Sound.PlayEnemySound(3, 4, 100, 0, 100);
  Sound.PlayEnemySound(3, 1, 100, 0, 100);
  Sound.PlayEnemySound(3, 2, 100, 0, 100);
  Sound.PlayEnemySound(3, 3, 100, 0, 100);
  std::vector<SoundGroupId> groups;
  for (const SoundEvent& e : Plays()) groups.push_back(e.Group);
  EXPECT_EQ(groups, (std::vector<SoundGroupId>{SoundHeartbeat, SoundCallStart, SoundCallDamage,
                                               SoundCallKill}));
  // Volumes are set all the same.
  EXPECT_NEAR(SoundGain(Sound.ImpactWall[5]), std::pow(10.0f, -900 / 2000.0f), 1e-6);

  Settings.EffectsOn = 1;
  Settings.VoiceOn = 0;
  log_.clear();
  Sound.UpdateListener(0, 0, 0, 0, 0, 700);
  Sound.PlayEnemySound(3, 1, 100, 0, 100);
  Sound.PlayShot(0);
  groups.clear();
  for (const SoundEvent& e : Plays()) groups.push_back(e.Group);
  EXPECT_EQ(groups, std::vector<SoundGroupId>{SoundMachineGun});
}

TEST_F(SoundEngineTest, CallsStopTheVariantDrawnLast) {
  Init();
  // Find a seed whose first draw below 5 is 4.
  std::uint32_t seed = 1;
  for (;; ++seed) {
    SeedRandom(seed);
    if (RandomBelow(5) == 4) break;
  }
  SeedRandom(seed);
  Sound.PlayEnemySound(7, 1, 0, 0, 0);
  ASSERT_EQ(Sound.LastVoiceIndex, 4);
  ASSERT_EQ(Plays().back().Group, SoundCallStart);
  EXPECT_EQ(Plays().back().Variant, 4);
  log_.clear();
  Sound.PlayEnemySound(7, 2, 0, 0, 0);
  EXPECT_TRUE(Stops().empty());  // damage calls have no variant 4
  const int drawn = Sound.LastVoiceIndex;
  ASSERT_EQ(Plays().size(), 1u);
  EXPECT_EQ(Plays()[0].Variant, drawn);

  log_.clear();
  Sound.PlayEnemySound(7, 2, 0, 0, 0);
  ASSERT_EQ(Stops().size(), 1u);
  EXPECT_EQ(Stops()[0].Group, SoundCallDamage);
  EXPECT_EQ(Stops()[0].Copy, 7);
  EXPECT_EQ(Stops()[0].Variant, drawn);

  const int before = Sound.LastVoiceIndex;
  log_.clear();
  Sound.PlayEnemySound(7, 3, 0, 0, 0);
  ASSERT_EQ(Stops().size(), 2u);
  EXPECT_EQ(Stops()[0].Group, SoundCallDamage);
  EXPECT_EQ(Stops()[1].Group, SoundCallKill);
  EXPECT_EQ(Stops()[1].Variant, before);
  EXPECT_EQ(Plays()[0].Group, SoundCallKill);

  log_.clear();
  Sound.PlayEnemySound(7, 4, 0, 0, 0);
  Sound.PlayEnemySound(7, 4, 10, 0, 0);  // repeated: moves it, keeps the loop
  EXPECT_TRUE(SoundIsPlaying(Sound.EnemyGun[7]));
  Sound.PlayEnemySound(7, 5, 0, 0, 0);
  EXPECT_FALSE(SoundIsPlaying(Sound.EnemyGun[7]));
  Sound.PlayEnemySound(20, 4, 0, 0, 0);  // no such slot
  Sound.PlayEnemySound(-1, 1, 0, 0, 0);
  EXPECT_EQ(Plays().size(), 2u);
}

TEST_F(SoundEngineTest, EnemyDistanceScalesWithTheSetting) {
  Init();
  auto enemyAt3200 = [&](float soundDistance) {
    Settings.SoundDistanceScale = soundDistance;
    Settings.SoundDistanceQuarter = soundDistance / 4;
    Sound.UpdateListener(0, 0, 0, 0, 0, 1000);
    log_.clear();
    Sound.PlayEnemySound(0, 4, 0, 0, 3200);  // straight ahead of the listener
    const SoundEvent e = Plays().at(0);
    Listen(2048);
    const double loud = Listen(8820).Both();
    Sound.PlayEnemySound(0, 5, 0, 0, 0);
    return std::make_pair(std::hypot(e.X - Sound.ListenerX, e.Y - Sound.ListenerY,
                                     e.Z - Sound.ListenerZ),
                          loud);
  };
  const auto far = enemyAt3200(100);
  const auto near = enemyAt3200(1600);
  EXPECT_FLOAT_EQ(near.first, 2.0f);
  EXPECT_FLOAT_EQ(far.first, 32.0f);
  EXPECT_NEAR(near.second / far.second, 16.0, 0.2);
}

TEST_F(SoundEngineTest, EnemyToTheSideIsHeardOnTheMappedSide) {
  Init();
  auto sides = [&](float yaw, float pitch = 0) {
    Sound.UpdateListener(0, 0, 0, yaw, pitch, 1000);
    Sound.PlayEnemySound(2, 4, 1600, 0, 0);  // world x > 0
    Listen(2048);
    const Loudness l = Listen(8820);
    Sound.PlayEnemySound(2, 5, 0, 0, 0);
    Listen(1024);
    return l;
  };
  const Loudness facing = sides(0);
  EXPECT_GT(facing.Right, 2 * facing.Left);
  const Loudness turned = sides(180);
  EXPECT_GT(turned.Left, 2 * turned.Right);
  // Looking up or down leaves left and right where they were.
  const Loudness up = sides(0, 30);
  EXPECT_GT(up.Right, 2 * up.Left);
}

TEST_F(SoundEngineTest, PlayerSoundsFollowTheListener) {
  Init();
  Sound.UpdateListener(3200, 800, -1600, 0, 0, 1000);
  EXPECT_FLOAT_EQ(Sound.ListenerX, 2.0f);
  EXPECT_FLOAT_EQ(Sound.ListenerY, 2.0f);  // the vertical uses a quarter of the distance
  EXPECT_FLOAT_EQ(Sound.ListenerZ, -1.0f);
  log_.clear();  // the heartbeats' stops
  Sound.PlayShot(1);
  Sound.PlayReload(0, 3200, 800, -1600);
  Sound.PlayReload(3, 0, 0, 0);  // no such weapon
  Sound.PlayImpact(4, 2, 1600, 0, 0);
  Sound.PlayImpact(4, 7, 1600, 0, 0);  // no such kind
  Sound.PlayImpact(20, 1, 1600, 0, 0);  // no such copy
  const auto plays = Plays();
  ASSERT_EQ(plays.size(), 3u);
  EXPECT_EQ(plays[0].Group, SoundRifle);
  EXPECT_FLOAT_EQ(plays[0].X, 2.0f);
  EXPECT_FLOAT_EQ(plays[0].Z, -1.0f);
  EXPECT_EQ(plays[1].Group, SoundReload);
  EXPECT_EQ(plays[1].Copy, 0);
  EXPECT_FLOAT_EQ(plays[1].Y, 2.0f);
  EXPECT_EQ(plays[2].Group, SoundImpactFloor);
  EXPECT_EQ(plays[2].Copy, 4);
  EXPECT_FLOAT_EQ(plays[2].X, -1.0f);  // world points are negated
  ASSERT_EQ(Stops().size(), 2u);  // the reload and the impact copy are stopped first
  EXPECT_EQ(Stops()[0].Group, SoundReload);
  EXPECT_EQ(Stops()[1].Group, SoundImpactFloor);

  log_.clear();
  for (int i = 0; i < 11; ++i) Sound.PlayShellSound(0, 0, 0);
  EXPECT_EQ(Plays().back().Copy, 0);
  EXPECT_EQ(Sound.ShellsCounter, 1);
}

TEST_F(SoundEngineTest, MenuSounds) {
  Init();
  Sound.ResetListener();
  Sound.PlayMenuSound(false, 3);
  Sound.PlayMenuSound(false, 3);
  Sound.PlayMenuSound(false, 2);
  Sound.PlayMenuSound(false, 2);
  const auto plays = Plays();
  ASSERT_EQ(plays.size(), 4u);
  EXPECT_EQ(plays[0].Copy, 1);  // the click alternates, starting with copy 1
  EXPECT_EQ(plays[1].Copy, 0);
  EXPECT_TRUE(plays[2].Looping);
  EXPECT_TRUE(SoundIsPlaying(Sound.Page[0]));
  EXPECT_GT(Listen(4410).Both(), 0.01);  // heard at the listener under the title orientation
  Sound.PlayMenuSound(true, 0);
  EXPECT_FALSE(SoundIsPlaying(Sound.Page[0]));
}

TEST_F(SoundEngineTest, CallsWorkWithoutADevice) {
  // World code runs these in its own tests without any sound: nothing breaks, all is logged.
  Sound.UpdateListener(0, 0, 0, 0, 0, 300);
  Sound.PlayShot(0);
  Sound.PlayEnemySound(1, 1, 0, 0, 0);
  Sound.PlayImpact(0, 1, 0, 0, 0);
  Sound.ShutdownSound();
  EXPECT_EQ(Plays().size(), 4u);
}

}  // namespace
}  // namespace audio_test

// Sounds parse as 16-bit PCM, loops join without a click, levels agree, the MIDI piece plays.
#include "asset_readers.h"

#include <gtest/gtest.h>

#include <fluidsynth.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

namespace fs = std::filesystem;

class AssetSounds : public PackInGameDir {};
class AssetMusic : public PackInGameDir {};

namespace {
WavSound Load(const std::string& name) { return ReadWav(ReadBytes(GameDir() + "/File/Sound/" + name)); }

float PeakOf(const WavSound& w)
{
    int p = 0;
    for (int16_t s : w.Samples) p = std::max(p, std::abs(int(s)));
    return p / 32768.0f;
}

std::vector<std::string> CallFiles()
{
    std::vector<std::string> out;
    char name[40];
    for (int i = 1; i <= 5; ++i) {
        std::snprintf(name, sizeof name, "Call_Hajime_%02d.wav", i);
        out.push_back(name);
    }
    for (const char* kind : {"Damage", "Kill"})
        for (int i = 1; i <= 4; ++i) {
            std::snprintf(name, sizeof name, "Call_%s_%02d.wav", kind, i);
            out.push_back(name);
        }
    return out;
}

// The step from the last frame back to the first, against the signal's own steps.
void ExpectSeamless(const std::string& name)
{
    WavSound w = Load(name);
    ASSERT_TRUE(w.Ok) << name;
    size_t frames = w.Samples.size() / w.Channels;
    for (int c = 0; c < w.Channels; ++c) {
        std::vector<int> steps;
        for (size_t i = 1; i < frames; ++i)
            steps.push_back(std::abs(w.Samples[i * w.Channels + c] - w.Samples[(i - 1) * w.Channels + c]));
        std::sort(steps.begin(), steps.end());
        int typical = steps[steps.size() * 99 / 100];
        int wrap = std::abs(w.Samples[c] - w.Samples[(frames - 1) * w.Channels + c]);
        EXPECT_LE(wrap, std::max(typical, 300)) << name << " clicks at its loop point";
    }
}
} // namespace

TEST_F(AssetSounds, EveryWavIsSixteenBitPcmAtAConsistentLevel)
{
    int count = 0;
    for (const auto& e : fs::directory_iterator(GameDir() + "/File/Sound")) {
        if (e.path().extension() != ".wav") continue;
        WavSound w = ReadWav(ReadBytes(e.path().string()));
        std::string name = e.path().filename().string();
        ASSERT_TRUE(w.Ok) << name;
        EXPECT_EQ(w.Format, 1) << name;
        EXPECT_EQ(w.Bits, 16) << name;
        EXPECT_GE(w.Rate, 11025) << name;
        EXPECT_GT(w.Samples.size(), size_t(w.Rate / 20)) << name;
        float peak = PeakOf(w);
        EXPECT_GT(peak, 0.3f) << name << " is too quiet";
        EXPECT_LT(peak, 0.99f) << name << " clips";
        ++count;
    }
    EXPECT_EQ(count, 28);
}

TEST_F(AssetSounds, LoopedSoundsJoinWithoutAClick)
{
    for (const char* f : {"MachinegunTeki.wav", "Page.wav", "Heartbeat_4.wav", "Heartbeat_6.wav", "Heartbeat_10.wav",
                          "Heartbeat_15.wav", "MenuMusic.wav"})
        ExpectSeamless(f);
}

TEST_F(AssetSounds, OneShotSoundsFadeOutBeforeTheirEnd)
{
    for (const char* f : {"Machinegun.wav", "Rifle.wav", "Handgun.wav", "Bullet_Kabe.wav", "Bullet_Yuka.wav",
                          "Rifle_Shells.wav", "Machinegun_Reload.wav", "Rifle_Reload.wav"}) {
        WavSound w = Load(f);
        ASSERT_TRUE(w.Ok) << f;
        size_t tail = size_t(w.Rate / 100) * w.Channels;
        int peak = 0;
        for (size_t i = w.Samples.size() - tail; i < w.Samples.size(); ++i) peak = std::max(peak, std::abs(int(w.Samples[i])));
        EXPECT_LT(peak, 700) << f << " is cut off";
    }
}

TEST_F(AssetSounds, HeartbeatsRunFromFastestToSlowest)
{
    size_t last = 0;
    for (const char* f : {"Heartbeat_4.wav", "Heartbeat_6.wav", "Heartbeat_10.wav", "Heartbeat_15.wav"}) {
        WavSound w = Load(f);
        ASSERT_TRUE(w.Ok) << f;
        EXPECT_GT(w.Samples.size(), last) << f;
        last = w.Samples.size();
    }
}

TEST_F(AssetSounds, VoiceCallsAreThirteenDistinctUtterances)
{
    std::vector<std::vector<int16_t>> calls;
    for (const std::string& f : CallFiles()) {
        WavSound w = Load(f);
        ASSERT_TRUE(w.Ok) << f;
        double seconds = double(w.Samples.size()) / w.Rate;
        EXPECT_GT(seconds, 0.2) << f;
        EXPECT_LT(seconds, 3.0) << f;
        calls.push_back(w.Samples);
    }
    for (size_t a = 0; a < calls.size(); ++a)
        for (size_t b = a + 1; b < calls.size(); ++b) EXPECT_NE(calls[a], calls[b]) << a << " and " << b;
}

TEST_F(AssetMusic, TitlePieceIsAStereoLoopOfAtMostAMinute)
{
    WavSound w = Load("MenuMusic.wav");
    ASSERT_TRUE(w.Ok);
    EXPECT_EQ(w.Channels, 2);
    double seconds = double(w.Samples.size()) / w.Channels / w.Rate;
    EXPECT_GE(seconds, 15);
    EXPECT_LE(seconds, 60);
}

TEST_F(AssetMusic, MatchPieceIsAStrictStandardMidiFileThatLoopsOnABarLine)
{
    MidiSong m = ReadMidi(ReadBytes(GameDir() + "/File/Sound/midi_my.mid"));
    ASSERT_TRUE(m.Ok) << m.Error;
    EXPECT_EQ(m.Format, 1);
    EXPECT_TRUE(m.HasTempo);
    EXPECT_TRUE(m.UsesDrums);
    EXPECT_GE(m.Programs.size(), 3u);
    EXPECT_GT(m.NoteOns, 500);
    EXPECT_EQ(m.HangingNotes, 0);
    ASSERT_FALSE(m.TrackEnds.empty());
    for (uint32_t end : m.TrackEnds) EXPECT_EQ(end, m.TrackEnds[0]);
    EXPECT_EQ(m.TrackEnds[0] % uint32_t(m.Division * 4), 0u);
}

TEST_F(AssetMusic, FluidSynthPlaysTheMatchPieceAudibly)
{
    std::string path = GameDir() + "/File/Sound/midi_my.mid";
    ASSERT_TRUE(fluid_is_midifile(path.c_str()));
    fluid_settings_t* settings = new_fluid_settings();
    fluid_settings_setstr(settings, "player.timing-source", "sample");
    fluid_settings_setint(settings, "synth.lock-memory", 0);
    fluid_synth_t* synth = new_fluid_synth(settings);
    ASSERT_NE(fluid_synth_sfload(synth, "/usr/share/sounds/sf2/default-GM.sf2", 1), FLUID_FAILED);
    fluid_player_t* player = new_fluid_player(synth);
    ASSERT_EQ(fluid_player_add(player, path.c_str()), FLUID_OK);
    ASSERT_EQ(fluid_player_play(player), FLUID_OK);
    std::vector<float> left(44100 * 3), right(44100 * 3);
    fluid_synth_write_float(synth, int(left.size()), left.data(), 0, 1, right.data(), 0, 1);
    double energy = 0;
    for (size_t i = 0; i < left.size(); ++i) energy += left[i] * left[i] + right[i] * right[i];
    EXPECT_GT(std::sqrt(energy / left.size()), 0.01);
    delete_fluid_player(player);
    delete_fluid_synth(synth);
    delete_fluid_settings(settings);
}

TEST_F(AssetSounds, VoiceCallsSpeakAtOnce)
{
    for (const std::string& f : CallFiles()) {
        WavSound w = Load(f);
        ASSERT_TRUE(w.Ok) << f;
        size_t onset = 0;
        while (onset < w.Samples.size() && std::abs(int(w.Samples[onset])) < 1000) ++onset;
        EXPECT_LT(double(onset) / w.Rate, 0.03) << f << " starts late";
    }
}

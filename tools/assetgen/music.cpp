// The two pieces of music: a calm looping title piece (WAV) and an energetic match piece (MIDI).
#include "dsp.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

namespace {
// ---- Title music: 8 bars at 60 beats a minute, rendered round a circle so it loops seamlessly.
const int MusicRate = 32000;
const float Beat = 1.0f;
const int Bars = 8;

float NoteHz(int midi) { return 440.0f * std::pow(2.0f, (midi - 69) / 12.0f); }

struct Stereo {
    Signal L, R;
};

void AddTone(Stereo& out, float start, float length, float hz, float gain, float pan, int kind)
{
    size_t n = size_t((length + (kind == 1 ? 2.5f : 1.5f)) * MusicRate);
    Signal s(n);
    for (size_t i = 0; i < n; ++i) {
        float t = float(i) / MusicRate;
        float v = 0, env = 0;
        if (kind == 0) {  // pad: detuned sines, slow swell
            env = std::min(1.0f, t / 1.2f) * (t < length ? 1.0f : std::exp(-(t - length) / 0.5f));
            v = std::sin(TwoPi * hz * t) + 0.6f * std::sin(TwoPi * hz * 1.003f * t + 1) +
                0.6f * std::sin(TwoPi * hz * 0.997f * t + 2) + 0.15f * std::sin(TwoPi * hz * 2 * t);
            v *= 0.4f;
        } else if (kind == 1) {  // bell: a touch of FM, long decay
            env = std::min(1.0f, t / 0.004f) * std::exp(-t / 0.9f);
            v = std::sin(TwoPi * hz * t + 1.2f * std::exp(-t / 0.25f) * std::sin(TwoPi * hz * 2.0f * t));
        } else if (kind == 2) {  // soft lead
            env = std::min(1.0f, t / 0.08f) * (t < length ? 1.0f : std::exp(-(t - length) / 0.25f));
            float vib = 1 + 0.004f * std::sin(TwoPi * 5 * t) * std::min(1.0f, t / 0.6f);
            v = std::sin(TwoPi * hz * vib * t) + 0.25f * std::sin(TwoPi * hz * 2 * vib * t) +
                0.08f * std::sin(TwoPi * hz * 3 * vib * t);
        } else {  // bass
            env = std::min(1.0f, t / 0.05f) * std::exp(-std::min(t, length) / 6.0f) *
                  (t < length ? 1.0f : std::exp(-(t - length) / 0.3f));
            v = std::sin(TwoPi * hz * t) + 0.2f * std::sin(TwoPi * hz * 2 * t);
        }
        s[i] = v * env * gain;
    }
    FadeEdges(s, 0, MusicRate / 20);  // whatever is left of the release ends smoothly
    size_t at = size_t(start * MusicRate);
    float l = std::cos((pan + 1) * 0.785398f), r = std::sin((pan + 1) * 0.785398f);
    MixCircular(out.L, s, at, l);
    MixCircular(out.R, s, at, r);
}

SoundAsset TitleMusic()
{
    size_t n = size_t(Bars * 4 * Beat * MusicRate);
    Stereo dry{Signal(n), Signal(n)};
    const int chords[Bars][4] = {{57, 60, 64, 67}, {53, 57, 60, 64}, {55, 59, 60, 64}, {55, 59, 62, 64},
                                 {57, 60, 64, 67}, {53, 57, 60, 64}, {50, 53, 57, 60}, {52, 56, 59, 64}};
    const int bass[Bars] = {45, 41, 48, 43, 45, 41, 38, 40};
    for (int b = 0; b < Bars; ++b) {
        float t0 = b * 4 * Beat;
        for (int k = 0; k < 4; ++k) AddTone(dry, t0, 4 * Beat, NoteHz(chords[b][k]), 0.10f, -0.5f + k * 0.33f, 0);
        AddTone(dry, t0, 4 * Beat - 0.2f, NoteHz(bass[b] - 12), 0.22f, 0, 3);
        const int pattern[8] = {0, 2, 1, 3, 2, 1, 3, 2};
        for (int e = 0; e < 8; ++e) {
            if (b % 2 == 1 && e == 7) continue;  // breathe at the end of each phrase
            AddTone(dry, t0 + e * 0.5f * Beat, 0.5f, NoteHz(chords[b][pattern[e]] + 12), 0.07f,
                    e % 2 ? 0.45f : -0.45f, 1);
        }
    }
    struct Note {
        float Beat, Length;
        int Midi;
    };
    const Note melody[] = {{0, 2, 76},  {2, 1, 74},  {3, 1, 72},  {4, 3, 72},  {7, 1, 69},  {8, 2, 67},
                           {10, 2, 76}, {12, 4, 74}, {16, 2, 76}, {18, 1, 79}, {19, 1, 76}, {20, 2, 77},
                           {22, 1, 76}, {23, 1, 72}, {24, 2, 74}, {26, 1, 77}, {27, 1, 81}, {28, 3, 80},
                           {31, 1, 71}};
    for (const Note& m : melody) AddTone(dry, m.Beat * Beat, m.Length * Beat * 0.95f, NoteHz(m.Midi), 0.09f, 0.1f, 2);

    // Ping-pong delay run over two laps so its state is continuous across the loop point.
    size_t d = size_t(0.75f * MusicRate);
    Signal dl(d, 0.0f), dr(d, 0.0f);
    Stereo out{Signal(n), Signal(n)};
    size_t p = 0;
    for (int lap = 0; lap < 2; ++lap)
        for (size_t i = 0; i < n; ++i) {
            float el = dl[p], er = dr[p];
            dl[p] = dry.R[i] * 0.5f + er * 0.42f;
            dr[p] = dry.L[i] * 0.5f + el * 0.42f;
            p = (p + 1) % d;
            if (lap == 1) {
                out.L[i] = dry.L[i] + el * 0.45f;
                out.R[i] = dry.R[i] + er * 0.45f;
            }
        }
    float peak = std::max(Peak(out.L), Peak(out.R));
    Signal inter(n * 2);
    for (size_t i = 0; i < n; ++i) {
        inter[2 * i] = out.L[i] * 0.7f / peak;
        inter[2 * i + 1] = out.R[i] * 0.7f / peak;
    }
    return ToSound("File/Sound/MenuMusic.wav", inter, MusicRate, 2);
}

// ---- Match music: a standard MIDI file, format 1, for General MIDI instruments.
const int Ppq = 480;
const int Bar = Ppq * 4;

struct Event {
    int Tick;
    int Order;  // note-offs sort before note-ons at the same tick
    std::vector<uint8_t> Bytes;
};

struct Track {
    std::vector<Event> Events;
    void Note(int tick, int length, int channel, int note, int velocity)
    {
        Events.push_back({tick, 1, {uint8_t(0x90 | channel), uint8_t(note), uint8_t(velocity)}});
        Events.push_back({tick + length, 0, {uint8_t(0x80 | channel), uint8_t(note), 0}});
    }
    void Add(int tick, std::vector<uint8_t> bytes) { Events.push_back({tick, 0, std::move(bytes)}); }
};

void PutVlq(std::vector<uint8_t>& out, uint32_t v)
{
    uint8_t buf[5];
    int n = 0;
    buf[n++] = v & 0x7F;
    while (v >>= 7) buf[n++] = uint8_t(0x80 | (v & 0x7F));
    while (n) out.push_back(buf[--n]);
}

std::vector<uint8_t> Chunk(Track& track, int endTick)
{
    std::stable_sort(track.Events.begin(), track.Events.end(), [](const Event& a, const Event& b) {
        return a.Tick != b.Tick ? a.Tick < b.Tick : a.Order < b.Order;
    });
    std::vector<uint8_t> data;
    int last = 0;
    for (const Event& e : track.Events) {
        PutVlq(data, uint32_t(e.Tick - last));
        data.insert(data.end(), e.Bytes.begin(), e.Bytes.end());
        last = e.Tick;
    }
    PutVlq(data, uint32_t(endTick - last));  // end of track exactly on the last bar line
    data.insert(data.end(), {0xFF, 0x2F, 0x00});
    std::vector<uint8_t> out{'M', 'T', 'r', 'k'};
    uint32_t len = uint32_t(data.size());
    out.insert(out.end(), {uint8_t(len >> 24), uint8_t(len >> 16), uint8_t(len >> 8), uint8_t(len)});
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

RawAsset MatchMusic()
{
    enum { E, C, G, D, B, A };
    const int root[6] = {40, 36, 43, 38, 35, 45};
    const int triad[6][3] = {{64, 67, 71}, {60, 64, 67}, {62, 67, 71}, {62, 66, 69}, {63, 66, 71}, {60, 64, 69}};
    const int chords[32] = {E, E, C, D, E, E, C, B,   // riff
                            E, C, G, D, E, C, D, B,   // lead
                            A, A, E, E, C, C, D, B,   // bridge
                            E, C, G, D, E, C, D, B};  // lead again
    const int total = 32 * Bar;
    Track conductor, drums, bass, guitar, lead, strings;
    conductor.Add(0, {0xFF, 0x51, 0x03, 0x06, 0x1A, 0x80});  // 400 000 us a beat: 150 per minute
    conductor.Add(0, {0xFF, 0x58, 0x04, 0x04, 0x02, 0x18, 0x08});
    const char name[] = "Korvid match";
    std::vector<uint8_t> meta{0xFF, 0x03, uint8_t(sizeof name - 1)};
    meta.insert(meta.end(), name, name + sizeof name - 1);
    conductor.Add(0, meta);
    bass.Add(0, {0xC0, 38});     // synth bass 1
    guitar.Add(0, {0xC1, 30});   // distortion guitar
    lead.Add(0, {0xC2, 81});     // sawtooth lead
    strings.Add(0, {0xC3, 48});  // string ensemble
    for (int ch = 0; ch < 4; ++ch) bass.Add(0, {uint8_t(0xB0 | ch), 7, uint8_t(ch == 3 ? 96 : 120)});
    const int e8 = Ppq / 2, s16 = Ppq / 4;
    for (int bar = 0; bar < 32; ++bar) {
        int t = bar * Bar, c = chords[bar];
        bool bridge = bar >= 16 && bar < 24;
        bool sectionStart = bar % 8 == 0, fill = bar % 8 == 7;
        // drums (channel 10)
        if (sectionStart) drums.Note(t, Ppq, 9, 49, 118);
        for (int k = 0; k < 8; ++k) {
            if (fill && k >= 6) break;
            drums.Note(t + k * e8, e8 / 2, 9, bridge ? 51 : (k == 7 && bar % 2 ? 46 : 42), k % 2 ? 70 : 96);
        }
        const int kicks[] = {0, 3 * e8, 4 * e8, 5 * e8};
        for (int k : kicks)
            if (!bridge || k == 0 || k == 4 * e8) drums.Note(t + k, e8 / 2, 9, 36, 115);
        if (bridge) drums.Note(t + 2 * Ppq, e8, 9, 38, 110);
        else {
            drums.Note(t + Ppq, e8, 9, 38, 112);
            if (!fill) drums.Note(t + 3 * Ppq, e8, 9, 38, 112);
        }
        if (fill)
            for (int k = 0; k < 8; ++k) drums.Note(t + 3 * Ppq + k * s16 / 2, s16 / 2, 9, k < 4 ? 38 : 45, 80 + k * 5);
        // bass: driving eighths with an octave jump
        for (int k = 0; k < 8; ++k) {
            int note = root[c] - 12 + ((k == 3 || k == 7) ? 12 : 0);
            bass.Note(t + k * e8, e8 - 30, 0, note, k % 2 ? 92 : 110);
        }
        // guitar: palm-muted power chords, open on the off-beats of the riff
        if (!bridge) {
            const int hits[] = {0, 1, 3, 4, 5, 7};
            for (int k : hits) {
                int len = (k == 3 || k == 7) ? e8 - 20 : e8 / 2;
                for (int iv : {0, 7, 12}) guitar.Note(t + k * e8, len, 1, root[c] + 12 + iv, k % 4 == 0 ? 112 : 96);
            }
        } else {
            for (int iv : {0, 7, 12}) guitar.Note(t, Bar - 60, 1, root[c] + 12 + iv, 84);
        }
        // strings: held triads, stronger in the bridge
        for (int n : triad[c]) strings.Note(t, Bar - 20, 3, n, bridge ? 96 : 64);
    }
    struct M {
        int Note, Eighths;
    };
    const std::vector<std::vector<M>> melody = {
        {{76, 2}, {79, 2}, {83, 2}, {81, 1}, {79, 1}}, {{81, 3}, {79, 1}, {76, 4}},
        {{74, 2}, {79, 2}, {83, 2}, {86, 2}},          {{84, 3}, {83, 1}, {81, 4}},
        {{76, 2}, {79, 2}, {83, 2}, {88, 2}},          {{86, 2}, {84, 2}, {83, 2}, {81, 2}},
        {{83, 3}, {81, 1}, {79, 2}, {78, 2}},          {{78, 4}, {75, 4}},
    };
    for (int section : {8, 24})
        for (int b = 0; b < 8; ++b) {
            int t = (section + b) * Bar;
            for (const M& m : melody[b]) {
                int shift = (section == 24 && b >= 4 && m.Note < 84) ? 12 : 0;  // second time: climb higher
                lead.Note(t, m.Eighths * e8 - 40, 2, m.Note + shift, 104);
                t += m.Eighths * e8;
            }
        }
    RawAsset raw;
    raw.Path = "File/Sound/midi_my.mid";
    std::vector<Track*> tracks{&conductor, &drums, &bass, &guitar, &lead, &strings};
    raw.Bytes = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, uint8_t(tracks.size()), uint8_t(Ppq >> 8), uint8_t(Ppq & 0xFF)};
    for (Track* tr : tracks) {
        std::vector<uint8_t> chunk = Chunk(*tr, total);
        raw.Bytes.insert(raw.Bytes.end(), chunk.begin(), chunk.end());
    }
    return raw;
}
} // namespace

bool ComposeMusic(AssetPack& pack)
{
    pack.Sounds.push_back(TitleMusic());
    pack.Raw.push_back(MatchMusic());
    return true;
}

}  // namespace assetgen

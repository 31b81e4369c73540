// Synthesised sound effects: shots, the enemies' looping gun, reloads, shells, impacts, noise, heartbeats.
#include "dsp.h"
#include "image.h"

#include <cmath>
#include <cstdio>

namespace assetgen {

namespace {
const int Rate = 22050;

size_t Samples(float seconds) { return size_t(seconds * Rate); }

// A gunshot: band-passed noise crack, a falling low thump and a noisy tail.
Signal Shot(uint32_t seed, float seconds, float crackHz, float thumpHz, float thumpLen, float tail, float body)
{
    Signal s(Samples(seconds));
    Rng rng(seed);
    Biquad crack(crackHz, 0.9f, Rate), mid(crackHz * 0.35f, 0.7f, Rate);
    OnePole tailLp(2200, Rate);
    float phase = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        float t = float(i) / Rate;
        float n = rng.Range(-1, 1);
        float attack = std::min(1.0f, t / 0.0008f);
        float v = crack.Run(n) * 2.2f * std::exp(-t / 0.012f);
        v += mid.Run(n) * body * std::exp(-t / 0.03f);
        float f = thumpHz * (0.45f + 0.55f * std::exp(-t / 0.03f));
        phase += TwoPi * f / Rate;
        v += std::sin(phase) * 0.9f * std::exp(-t / thumpLen);
        v += tailLp.Low(n) * tail * std::exp(-t / (seconds * 0.3f));
        s[i] = v * attack;
    }
    FadeEdges(s, 0, int(Samples(0.02f)));
    return s;
}

// A metallic click: short noise burst through two resonances.
Signal Click(uint32_t seed, float f1, float f2, float len, float gain)
{
    Signal s(Samples(len));
    Rng rng(seed);
    Biquad a(f1, 12, Rate), b(f2, 10, Rate);
    for (size_t i = 0; i < s.size(); ++i) {
        float t = float(i) / Rate;
        float n = rng.Range(-1, 1) * std::exp(-t / 0.004f);
        s[i] = (a.Run(n) * 3 + b.Run(n) * 2 + n * 0.3f) * gain * std::exp(-t / (len * 0.3f));
    }
    FadeEdges(s, 0, int(s.size() / 4));
    return s;
}

// A slide: filtered noise swelling and falling.
Signal Slide(uint32_t seed, float len, float centre, float gain)
{
    Signal s(Samples(len));
    Rng rng(seed);
    Biquad bp(centre, 2, Rate);
    for (size_t i = 0; i < s.size(); ++i) {
        float t = float(i) / len / Rate;
        s[i] = bp.Run(rng.Range(-1, 1)) * gain * std::sin(3.14159f * t);
    }
    return s;
}

Signal Ring(float f, float len, float gain, float decay)
{
    Signal s(Samples(len));
    const float partials[4][2] = {{1, 1}, {2.76f, 0.5f}, {5.4f, 0.3f}, {8.9f, 0.15f}};
    for (size_t i = 0; i < s.size(); ++i) {
        float t = float(i) / Rate, v = 0;
        for (auto& p : partials) v += std::sin(TwoPi * f * p[0] * t) * p[1] * std::exp(-t * p[0] / decay);
        s[i] = v * gain * std::min(1.0f, t / 0.0005f);
    }
    return s;
}

Signal MachineGunReload()
{
    Signal s(Samples(1.1f));
    MixLinear(s, Click(1, 2300, 4100, 0.08f, 1.0f), Samples(0.02f), 1);  // release
    MixLinear(s, Slide(2, 0.16f, 1200, 0.8f), Samples(0.06f), 1);        // magazine out
    MixLinear(s, Slide(3, 0.14f, 1500, 0.8f), Samples(0.42f), 1);        // magazine in
    MixLinear(s, Click(4, 1800, 3300, 0.1f, 1.3f), Samples(0.56f), 1);
    MixLinear(s, Slide(5, 0.12f, 2500, 0.7f), Samples(0.78f), 1);        // charging handle back
    MixLinear(s, Click(6, 2600, 5200, 0.12f, 1.5f), Samples(0.9f), 1);   // and home
    Normalise(s, 0.6f);
    return s;
}

Signal RifleReload()
{
    Signal s(Samples(1.0f));
    MixLinear(s, Click(11, 1700, 3100, 0.08f, 1.0f), Samples(0.02f), 1);  // bolt up
    MixLinear(s, Slide(12, 0.18f, 1900, 0.8f), Samples(0.1f), 1);         // back
    MixLinear(s, Click(13, 2400, 4600, 0.06f, 0.8f), Samples(0.28f), 1);
    MixLinear(s, Click(14, 3000, 5200, 0.05f, 0.6f), Samples(0.45f), 1);  // round in
    MixLinear(s, Slide(15, 0.16f, 2100, 0.8f), Samples(0.6f), 1);         // forward
    MixLinear(s, Click(16, 1500, 2900, 0.1f, 1.4f), Samples(0.78f), 1);   // bolt down
    Normalise(s, 0.6f);
    return s;
}

Signal Shells()
{
    Signal s(Samples(0.75f));
    const float hits[][3] = {{0.0f, 1.0f, 3100}, {0.16f, 0.6f, 3150}, {0.27f, 0.4f, 3080}, {0.34f, 0.25f, 3120},
                             {0.05f, 0.5f, 4200}, {0.2f, 0.3f, 4180}};
    for (auto& h : hits) MixLinear(s, Ring(h[2], 0.3f, h[1], 0.05f), Samples(h[0]), 1);
    Normalise(s, 0.5f);
    return s;
}

Signal Impact(uint32_t seed, bool wall)
{
    Signal s(Samples(0.35f));
    Rng rng(seed);
    Biquad crack(wall ? 3000.0f : 900.0f, wall ? 1.5f : 0.8f, Rate);
    OnePole lp(wall ? 3500.0f : 1200.0f, Rate);
    float phase = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        float t = float(i) / Rate;
        float n = rng.Range(-1, 1);
        float v = crack.Run(n) * 2 * std::exp(-t / (wall ? 0.008f : 0.015f));
        // debris: sparse grains that thin out
        if (rng.Uniform() < 0.02f * std::exp(-t / 0.08f)) v += rng.Range(-1, 1) * (wall ? 0.8f : 0.4f);
        v += lp.Low(n) * 0.5f * std::exp(-t / 0.06f);
        phase += TwoPi * (wall ? 180.0f : 90.0f) / Rate;
        v += std::sin(phase) * (wall ? 0.3f : 0.7f) * std::exp(-t / 0.03f);
        s[i] = v * std::min(1.0f, t / 0.0005f);
    }
    FadeEdges(s, 0, int(Samples(0.03f)));
    Normalise(s, 0.75f);
    return s;
}

// The enemies' gun: four shots per loop, tails wrapped round so the loop has no seam.
Signal EnemyGun()
{
    const float period = 0.11f;
    Signal s(Samples(period * 4));
    for (int k = 0; k < 4; ++k) {
        Signal shot = Shot(40 + k, 0.25f, 2600 + k * 90.0f, 150, 0.02f, 0.25f, 0.6f);
        // the machines' guns carry an electric buzz, unlike the player's
        for (size_t i = 0; i < shot.size(); ++i) {
            float t = float(i) / Rate;
            shot[i] += (std::sin(TwoPi * 740 * t) > 0 ? 0.25f : -0.25f) * std::exp(-t / 0.025f) * std::min(1.0f, t / 0.002f);
        }
        MixCircular(s, shot, Samples(period * k), k % 2 ? 0.85f : 1.0f);
    }
    Normalise(s, 0.75f);
    return s;
}

// Static for the screen transitions and page clicks: loops by filtering over two laps.
Signal PageNoise()
{
    Signal raw(Samples(0.3f));
    Rng rng(91);
    for (float& v : raw) v = rng.Range(-1, 1);
    Signal s(raw.size());
    Biquad bp(3000, 0.6f, Rate);
    for (int lap = 0; lap < 2; ++lap)
        for (size_t i = 0; i < raw.size(); ++i) {
            float v = bp.Run(raw[i]);
            if (lap == 1) s[i] = v;
        }
    // a 60 Hz buzz with a whole number of cycles in the loop (18 in 0.3 s)
    for (size_t i = 0; i < s.size(); ++i) s[i] += 0.15f * std::sin(TwoPi * 60.0f * i / Rate);
    Normalise(s, 0.35f);
    return s;
}

// One heartbeat cycle (lub-dub) per file; `period` seconds long so the loop keeps time.
Signal Heartbeat(float period)
{
    Signal s(Samples(period));
    auto thump = [&](float len, float f, float gain) {
        Signal t(Samples(len));
        float phase = 0;
        for (size_t i = 0; i < t.size(); ++i) {
            float x = float(i) / Rate;
            phase += TwoPi * f * (1 + 0.6f * std::exp(-x / 0.015f)) / Rate;
            float env = std::min(1.0f, x / 0.012f) * std::exp(-x / (len * 0.3f));  // soft onset: a thud, not a click
            t[i] = std::sin(phase) * env * gain;
        }
        FadeEdges(t, 0, int(t.size() / 3));
        return t;
    };
    MixCircular(s, thump(0.14f, 52, 1.0f), 0, 1);
    MixCircular(s, thump(0.12f, 60, 0.75f), Samples(std::min(0.3f, period * 0.34f)), 1);
    Normalise(s, 0.85f);
    return s;
}

void Add(AssetPack& pack, const std::string& name, const Signal& s)
{
    pack.Sounds.push_back(ToSound("File/Sound/" + name, s, Rate));
}
} // namespace

// Late copies of a sound, darker each time: the arena walls answering a loud shot.
void AddEchoes(Signal& s, const float (*taps)[2], int count)
{
    Signal dry = s;
    for (int i = 0; i < count; ++i) {
        OnePole lp(1800.0f / (i + 1), Rate);
        Signal echo(dry.size());
        for (size_t k = 0; k < dry.size(); ++k) echo[k] = lp.Low(dry[k]);
        MixLinear(s, echo, Samples(taps[i][0]), taps[i][1]);
    }
    FadeEdges(s, 0, int(Samples(0.05f)));
}

bool SynthesiseSounds(AssetPack& pack)
{
    // Machine gun: punchy mid crack with the bolt clacking home straight after.
    Signal mg = Shot(1, 0.45f, 1900, 110, 0.05f, 0.5f, 0.8f);
    MixLinear(mg, Click(31, 2100, 3900, 0.05f, 0.5f), Samples(0.045f), 1);
    Normalise(mg, 0.89f);
    // Rifle: deep report that rolls back off the walls.
    Signal rifle = Shot(2, 1.3f, 1400, 70, 0.12f, 0.9f, 1.0f);
    const float rifleTaps[][2] = {{0.09f, 0.35f}, {0.21f, 0.22f}, {0.38f, 0.14f}};
    AddEchoes(rifle, rifleTaps, 3);
    Normalise(rifle, 0.89f);
    // Handgun: short bright snap with one slap back.
    Signal hand = Shot(3, 0.5f, 3000, 160, 0.03f, 0.35f, 0.6f);
    const float handTaps[][2] = {{0.07f, 0.2f}};
    AddEchoes(hand, handTaps, 1);
    Normalise(hand, 0.89f);
    Add(pack, "Machinegun.wav", mg);
    Add(pack, "MachinegunTeki.wav", EnemyGun());
    Add(pack, "Machinegun_Reload.wav", MachineGunReload());
    Add(pack, "Rifle.wav", rifle);
    Add(pack, "Rifle_Reload.wav", RifleReload());
    Add(pack, "Rifle_Shells.wav", Shells());
    Add(pack, "Handgun.wav", hand);
    Add(pack, "Bullet_Kabe.wav", Impact(21, true));
    Add(pack, "Bullet_Yuka.wav", Impact(22, false));
    Add(pack, "Page.wav", PageNoise());
    // Heartbeat_4 is the fastest, Heartbeat_15 the slowest: the number is the period in 80 ms steps.
    const int beats[4] = {4, 6, 10, 15};
    for (int b : beats) {
        char name[32];
        std::snprintf(name, sizeof name, "Heartbeat_%d.wav", b);
        Add(pack, name, Heartbeat(b * 0.08f));
    }
    return true;
}

}  // namespace assetgen

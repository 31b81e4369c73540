// Small signal helpers for the synthesised sounds: filters, envelopes, circular mixing.
#pragma once

#include "pack.h"

#include <cstdint>
#include <vector>

namespace assetgen {

using Signal = std::vector<float>;

const float TwoPi = 6.28318530718f;

struct OnePole {  // low-pass; high-pass is input minus this
    float State = 0, K = 0;
    OnePole(float cutoff, float rate);
    float Low(float x) { return State += K * (x - State); }
};

struct Biquad {  // band-pass, constant peak gain
    float B0 = 0, B2 = 0, A1 = 0, A2 = 0, X1 = 0, X2 = 0, Y1 = 0, Y2 = 0;
    Biquad(float centre, float q, float rate);
    float Run(float x);
};

// Adds `src` into `dst` from `at`, wrapping at the end: loop material has no seam.
void MixCircular(Signal& dst, const Signal& src, size_t at, float gain);
void MixLinear(Signal& dst, const Signal& src, size_t at, float gain);
void Normalise(Signal& s, float peak);
float Peak(const Signal& s);
void FadeEdges(Signal& s, int in, int out);
SoundAsset ToSound(const std::string& path, const Signal& s, int rate, int channels = 1);

}  // namespace assetgen

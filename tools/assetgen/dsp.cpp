// Signal helpers: one-pole and band-pass filters, circular mixing, normalising, PCM conversion.
#include "dsp.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

OnePole::OnePole(float cutoff, float rate) : K(1 - std::exp(-TwoPi * cutoff / rate)) {}

Biquad::Biquad(float centre, float q, float rate)
{
    float w = TwoPi * centre / rate, alpha = std::sin(w) / (2 * q), a0 = 1 + alpha;
    B0 = alpha / a0;
    B2 = -alpha / a0;
    A1 = -2 * std::cos(w) / a0;
    A2 = (1 - alpha) / a0;
}

float Biquad::Run(float x)
{
    float y = B0 * x + B2 * X2 - A1 * Y1 - A2 * Y2;
    X2 = X1;
    X1 = x;
    Y2 = Y1;
    Y1 = y;
    return y;
}

void MixCircular(Signal& dst, const Signal& src, size_t at, float gain)
{
    for (size_t i = 0; i < src.size(); ++i) dst[(at + i) % dst.size()] += src[i] * gain;
}

void MixLinear(Signal& dst, const Signal& src, size_t at, float gain)
{
    for (size_t i = 0; i < src.size() && at + i < dst.size(); ++i) dst[at + i] += src[i] * gain;
}

float Peak(const Signal& s)
{
    float p = 0;
    for (float v : s) p = std::max(p, std::fabs(v));
    return p;
}

void Normalise(Signal& s, float peak)
{
    float p = Peak(s);
    if (p <= 0) return;
    for (float& v : s) v *= peak / p;
}

void FadeEdges(Signal& s, int in, int out)
{
    for (int i = 0; i < in && i < int(s.size()); ++i) s[i] *= float(i) / in;
    for (int i = 0; i < out && i < int(s.size()); ++i) s[s.size() - 1 - i] *= float(i) / out;
}

SoundAsset ToSound(const std::string& path, const Signal& s, int rate, int channels)
{
    SoundAsset a;
    a.Path = path;
    a.Rate = rate;
    a.Channels = channels;
    a.Samples.reserve(s.size());
    for (float v : s) a.Samples.push_back(int16_t(std::lround(std::clamp(v, -1.0f, 1.0f) * 32767.0f)));
    return a;
}

}  // namespace assetgen

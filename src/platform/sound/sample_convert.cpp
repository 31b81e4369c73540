// Sample decoding for the sound device: every common WAV encoding to 16-bit PCM.
#include "platform/sound/sample_convert.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

std::int16_t DecodeMulaw(std::uint8_t u) {
  u = static_cast<std::uint8_t>(~u);
  int t = ((u & 0x0F) << 3) + 0x84;
  t <<= (u & 0x70) >> 4;
  return static_cast<std::int16_t>((u & 0x80) ? (0x84 - t) : (t - 0x84));
}

std::int16_t DecodeAlaw(std::uint8_t a) {
  a ^= 0x55;
  int t = (a & 0x0F) << 4;
  const int seg = (a & 0x70) >> 4;
  if (seg == 0) {
    t += 8;
  } else {
    t += 0x108;
    t <<= seg - 1;
  }
  return static_cast<std::int16_t>((a & 0x80) ? t : -t);
}

std::int16_t FromFloat(double v) {
  if (!(v == v)) return 0;  // NaN
  v = std::fmax(-1.0, std::fmin(1.0, v));
  return static_cast<std::int16_t>(std::lrint(v * 32767.0));
}

// One sample of `bytesPer` bytes at p, as a signed 16-bit value.
std::int16_t ReadSample(const std::uint8_t* p, std::uint16_t tag, int bytesPer) {
  if (tag == WaveFormatMulaw) return DecodeMulaw(p[0]);
  if (tag == WaveFormatAlaw) return DecodeAlaw(p[0]);
  if (tag == WaveFormatIeeeFloat) {
    if (bytesPer == 4) {
      float f;
      std::memcpy(&f, p, 4);
      return FromFloat(f);
    }
    double d;
    std::memcpy(&d, p, 8);
    return FromFloat(d);
  }
  switch (bytesPer) {
    case 1:
      return static_cast<std::int16_t>((static_cast<int>(p[0]) - 128) << 8);
    case 2:
      return static_cast<std::int16_t>(p[0] | (p[1] << 8));
    case 3:
      return static_cast<std::int16_t>(p[1] | (p[2] << 8));
    default:
      return static_cast<std::int16_t>(p[2] | (p[3] << 8));
  }
}

std::int16_t Clamp16(int v) {
  return static_cast<std::int16_t>(v < -32768 ? -32768 : (v > 32767 ? 32767 : v));
}

std::int16_t Le16At(const std::uint8_t* p) { return static_cast<std::int16_t>(p[0] | (p[1] << 8)); }

// Microsoft ADPCM with the standard coefficient set (the 18-byte record carries no table).
void DecodeMsAdpcmBlock(const std::uint8_t* p, std::size_t bytes, int channels,
                        std::vector<std::int16_t>& out) {
  static const int Adapt[16] = {230, 230, 230, 230, 307, 409, 512, 614,
                                768, 614, 512, 409, 307, 230, 230, 230};
  static const int Coef1[7] = {256, 512, 0, 192, 240, 460, 392};
  static const int Coef2[7] = {0, -256, 0, 64, 0, -208, -232};
  const std::size_t header = 7u * static_cast<std::size_t>(channels);
  if (bytes < header) return;
  int c1[2], c2[2], delta[2], s1[2], s2[2];
  for (int c = 0; c < channels; ++c) {
    const int predictor = std::min<int>(p[c], 6);
    c1[c] = Coef1[predictor];
    c2[c] = Coef2[predictor];
    delta[c] = Le16At(p + channels + 2 * c);
    s1[c] = Le16At(p + 3 * channels + 2 * c);
    s2[c] = Le16At(p + 5 * channels + 2 * c);
  }
  for (int c = 0; c < channels; ++c) out.push_back(static_cast<std::int16_t>(s2[c]));
  for (int c = 0; c < channels; ++c) out.push_back(static_cast<std::int16_t>(s1[c]));
  int c = 0;
  for (std::size_t i = header; i < bytes; ++i) {
    for (int nibble : {p[i] >> 4, p[i] & 0x0F}) {
      const int signedNibble = nibble >= 8 ? nibble - 16 : nibble;
      const int predicted = (s1[c] * c1[c] + s2[c] * c2[c]) / 256;
      const std::int16_t sample = Clamp16(predicted + signedNibble * delta[c]);
      out.push_back(sample);
      s2[c] = s1[c];
      s1[c] = sample;
      delta[c] = std::max(16, Adapt[nibble] * delta[c] / 256);
      c = (c + 1) % channels;
    }
  }
}

// IMA ADPCM as Windows stores it: a 4-byte header per channel, then 4-byte groups per channel.
void DecodeImaAdpcmBlock(const std::uint8_t* p, std::size_t bytes, int channels,
                         std::vector<std::int16_t>& out) {
  static const int Index[16] = {-1, -1, -1, -1, 2, 4, 6, 8, -1, -1, -1, -1, 2, 4, 6, 8};
  static const int Step[89] = {
      7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,    21,    23,
      25,    28,    31,    34,    37,    41,    45,    50,    55,    60,    66,    73,    80,
      88,    97,    107,   118,   130,   143,   157,   173,   190,   209,   230,   253,   279,
      307,   337,   371,   408,   449,   494,   544,   598,   658,   724,   796,   876,   963,
      1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,  2272,  2499,  2749,  3024,  3327,
      3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,  9493,  10442, 11487,
      12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};
  const std::size_t header = 4u * static_cast<std::size_t>(channels);
  if (bytes < header) return;
  int predictor[2], index[2];
  for (int c = 0; c < channels; ++c) {
    predictor[c] = Le16At(p + 4 * c);
    index[c] = std::min<int>(p[4 * c + 2], 88);
    out.push_back(static_cast<std::int16_t>(predictor[c]));
  }
  const std::size_t groups = (bytes - header) / header;  // 8 samples per channel each
  const std::size_t first = out.size();
  out.resize(first + groups * 8 * static_cast<std::size_t>(channels));
  for (std::size_t g = 0; g < groups; ++g) {
    for (int c = 0; c < channels; ++c) {
      const std::uint8_t* q = p + header + (g * channels + c) * 4;
      for (int k = 0; k < 8; ++k) {
        const int nibble = (q[k / 2] >> ((k & 1) * 4)) & 0x0F;
        const int step = Step[index[c]];
        int diff = step >> 3;
        if (nibble & 1) diff += step >> 2;
        if (nibble & 2) diff += step >> 1;
        if (nibble & 4) diff += step;
        predictor[c] = Clamp16(predictor[c] + ((nibble & 8) ? -diff : diff));
        index[c] = std::clamp(index[c] + Index[nibble], 0, 88);
        out[first + (g * 8 + static_cast<std::size_t>(k)) * channels + c] =
            static_cast<std::int16_t>(predictor[c]);
      }
    }
  }
}

bool DecodeAdpcm(const WaveFormat& format, const std::uint8_t* p, std::uint32_t bytes,
                 std::vector<std::int16_t>& out) {
  const int channels = format.Channels;
  const std::size_t block = format.BlockAlign;
  const std::size_t header = (format.FormatTag == WaveFormatMsAdpcm ? 7u : 4u) * channels;
  if (format.BitsPerSample != 4 || block <= header) return false;
  out.clear();
  for (std::size_t at = 0; at < bytes; at += block) {
    const std::size_t size = std::min<std::size_t>(block, bytes - at);  // the last may be short
    if (format.FormatTag == WaveFormatMsAdpcm) {
      DecodeMsAdpcmBlock(p + at, size, channels, out);
    } else {
      DecodeImaAdpcmBlock(p + at, size, channels, out);
    }
  }
  return true;
}

}  // namespace

bool ConvertToPcm16(const WaveFormat& format, const void* samples, std::uint32_t bytes,
                    bool toMono, std::vector<std::int16_t>& out, int& channels) {
  std::uint16_t tag = format.FormatTag;
  if (tag == WaveFormatExtensible) tag = WaveFormatPcm;  // the sub-format is not handed out
  if ((tag == WaveFormatMsAdpcm || tag == WaveFormatImaAdpcm) && format.Channels >= 1 &&
      format.Channels <= 2 && format.SamplesPerSec != 0) {
    std::vector<std::int16_t> decoded;
    if (!DecodeAdpcm(format, static_cast<const std::uint8_t*>(samples), bytes, decoded))
      return false;
    channels = toMono ? 1 : format.Channels;
    if (!toMono || format.Channels == 1) {
      out = std::move(decoded);
    } else {
      out.resize(decoded.size() / 2);
      for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<std::int16_t>((decoded[2 * i] + decoded[2 * i + 1]) / 2);
    }
    return true;
  }
  const int bits = format.BitsPerSample;
  bool known = false;
  if (tag == WaveFormatPcm) known = bits == 8 || bits == 16 || bits == 24 || bits == 32;
  if (tag == WaveFormatIeeeFloat) known = bits == 32 || bits == 64;
  if (tag == WaveFormatMulaw || tag == WaveFormatAlaw) known = bits == 8;
  if (!known || format.Channels < 1 || format.Channels > 2 || format.SamplesPerSec == 0)
    return false;
  const int bytesPer = bits / 8;
  const int frameBytes = bytesPer * format.Channels;
  if (format.BlockAlign != 0 && format.BlockAlign != frameBytes) return false;

  const auto* p = static_cast<const std::uint8_t*>(samples);
  const std::uint32_t frames = bytes / static_cast<std::uint32_t>(frameBytes);
  channels = toMono ? 1 : format.Channels;
  out.resize(static_cast<std::size_t>(frames) * static_cast<std::size_t>(channels));
  std::size_t o = 0;
  for (std::uint32_t f = 0; f < frames; ++f, p += frameBytes) {
    if (format.Channels == 1) {
      out[o++] = ReadSample(p, tag, bytesPer);
    } else if (toMono) {
      const int sum = ReadSample(p, tag, bytesPer) + ReadSample(p + bytesPer, tag, bytesPer);
      out[o++] = static_cast<std::int16_t>(sum / 2);
    } else {
      out[o++] = ReadSample(p, tag, bytesPer);
      out[o++] = ReadSample(p + bytesPer, tag, bytesPer);
    }
  }
  return true;
}

// Sample decoding for the sound device: every common WAV encoding to 16-bit PCM.
#include "platform/sound/sample_convert.h"

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

}  // namespace

bool ConvertToPcm16(const WaveFormat& format, const void* samples, std::uint32_t bytes,
                    bool toMono, std::vector<std::int16_t>& out, int& channels) {
  std::uint16_t tag = format.FormatTag;
  if (tag == WaveFormatExtensible) tag = WaveFormatPcm;  // the sub-format is not handed out
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

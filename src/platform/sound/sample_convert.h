// Turns a WAV file's samples into 16-bit PCM that the sound device can play.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/sound/sound_device.h"

// Decodes PCM (8/16/24/32-bit), IEEE float (32/64-bit), A-law, mu-law, Microsoft ADPCM and
// IMA ADPCM into 16-bit interleaved samples. `toMono` averages the channels (positional
// sounds are mono).
// False for formats it does not know, more than two channels or a malformed block size.
bool ConvertToPcm16(const WaveFormat& format, const void* samples, std::uint32_t bytes,
                    bool toMono, std::vector<std::int16_t>& out, int& channels);

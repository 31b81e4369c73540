// Start-up's audio work done ahead on one helper thread: the sample files read, the SoundFont loaded.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "audio/wav_reader.h"

// Starts reading every sound file and the sampled piece, then loading the synthesiser with the
// music's SoundFonts, on a helper thread. The sound and music steps take what they need in turn.
void BeginAudioPreparation();
// The wave file at the resolved `path`: as read ahead when the helper reads it (waiting for
// it), otherwise read now. Same result as ReadWaveFile either way.
bool ReadWaveAhead(const std::string& path, std::vector<std::uint8_t>& samples, WaveFormat& format);
// Waits until the helper is done, so that the synthesiser it made can be taken over.
void JoinAudioPreparation();
// Joins the helper and frees whatever was not taken: the files read, an unused synthesiser.
void EndAudioPreparation();

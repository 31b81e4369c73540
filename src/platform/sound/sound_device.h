// The 3D sound device: sample buffers with positions, a listener and deferred settings.
#pragma once

#include <cstdint>

// The 18-byte format record of a WAV file (little-endian WAVEFORMATEX).
struct WaveFormat {
  std::uint16_t FormatTag = 0;
  std::uint16_t Channels = 0;
  std::uint32_t SamplesPerSec = 0;
  std::uint32_t AvgBytesPerSec = 0;
  std::uint16_t BlockAlign = 0;
  std::uint16_t BitsPerSample = 0;
  std::uint16_t ExtraSize = 0;
};

enum : std::uint16_t {
  WaveFormatPcm = 1,
  WaveFormatMsAdpcm = 2,
  WaveFormatIeeeFloat = 3,
  WaveFormatAlaw = 6,
  WaveFormatMulaw = 7,
  WaveFormatImaAdpcm = 0x11,
  WaveFormatExtensible = 0xFFFE,
};

// Why opening failed, one value per start-up message.
enum SoundOpenResult : int {
  SoundOpenOk = 0,
  SoundOpenNoDevice,    // no output device could be opened
  SoundOpenNoContext,   // the device refused a mixing context with enough sources
  SoundOpenNoOutput,    // the context could not be made current
  SoundOpenNoListener,  // the device lacks deferred listener updates
};

// Opens the default output (or the loopback device, see below). Quiets the library's own
// logging unless the user asked for it.
SoundOpenResult OpenSoundDevice();
void CloseSoundDevice();
bool SoundDeviceIsOpen();
// Sources the mixer holds now, counted by the mixer itself (sound copies and music alike);
// 0 when no device is open.
int LiveSoundSources();

// Tests: the following opens use the loopback device, rendering stereo float at `sampleRate`
// only when RenderLoopback asks. 0 returns to the default output.
void UseLoopbackSoundDevice(int sampleRate);
// Mixes `frames` frames of interleaved stereo floats from the loopback device.
bool RenderLoopback(float* stereoOut, int frames);

// One playable copy: a source over shared sample data.
struct SoundBuffer;

// A positional (mono) copy from the file's samples; null if the format cannot be played.
SoundBuffer* CreateSoundBuffer(const WaveFormat& format, const void* samples,
                               std::uint32_t bytes);
// A further copy sharing the samples of `original`; plays independently.
SoundBuffer* DuplicateSoundBuffer(SoundBuffer* original);
// Releases the copy; the samples go when their last copy goes. Null is ignored.
void ReleaseSoundBuffer(SoundBuffer* buffer);

// Volume in hundredths of a decibel (0 full, negative quieter).
void SetSoundVolume(SoundBuffer* buffer, std::int32_t hundredths);
// Left-handed positions and velocities; deferred ones wait for CommitDeferredSettings.
void SetSoundPosition(SoundBuffer* buffer, float x, float y, float z, bool deferred);
void SetSoundVelocity(SoundBuffer* buffer, float x, float y, float z, bool deferred);
// Starts the copy; a copy that already plays keeps playing (only its looping changes).
void PlaySound(SoundBuffer* buffer, bool looping);
// Halts the copy where it is; the next PlaySound resumes there unless it had run out.
void StopSound(SoundBuffer* buffer);
bool SoundIsPlaying(SoundBuffer* buffer);
// The gain the mixer applies now (1 at 0 hundredths); 0 for no buffer.
float SoundGain(SoundBuffer* buffer);

void SetListenerPosition(float x, float y, float z, bool deferred);
void SetListenerVelocity(float x, float y, float z, bool deferred);
void SetListenerOrientation(float frontX, float frontY, float frontZ, float topX, float topY,
                            float topZ, bool deferred);
void SetListenerDopplerFactor(float factor, bool deferred);
void SetListenerDistanceFactor(float metresPerUnit, bool deferred);
// Applies every deferred buffer and listener setting at once.
void CommitDeferredSettings();

// Sources the device holds now (tests and checks).
int SoundSourceCount();

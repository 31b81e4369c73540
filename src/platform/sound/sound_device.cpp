// The 3D sound device on OpenAL Soft: left-handed positions, deferred settings, shared samples.
#define AL_ALEXT_PROTOTYPES
#include "platform/sound/sound_device.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

#include <dlfcn.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "platform/sound/sample_convert.h"
#include "platform/sound/sound_internal.h"

namespace {

// Every group together needs close to 400 sources; OpenAL Soft gives 255 unless asked.
constexpr int WantedMonoSources = 512;
constexpr int WantedStereoSources = 8;
constexpr int NeededSources = 400;
constexpr float SpeedOfSound = 343.3f;

struct SharedSamples {
  ALuint Buffer = 0;
  int Copies = 0;
};

struct Vec3 {
  float X = 0, Y = 0, Z = 0;
};

ALCdevice* Device = nullptr;
ALCcontext* Context = nullptr;
int LoopbackRate = 0;
bool DeviceIsLoopback = false;

// Settings waiting for CommitDeferredSettings.
struct ListenerPending {
  bool Position = false, Velocity = false, Orientation = false, Doppler = false,
       Distance = false;
  Vec3 PositionValue, VelocityValue;
  float OrientationValue[6] = {};
  float DopplerValue = 1, DistanceValue = 1;
} PendingListener;

std::vector<SoundBuffer*> LiveBuffers;
std::vector<SoundBuffer*> PendingBuffers;

void IgnoreAlsaMessage(const char*, int, const char*, int, const char*, ...) {}

// Opens the default output. ALSA prints its complaints (no card, unknown PCM) straight to
// the terminal; the library OpenAL loads for it gets a handler that drops them.
ALCdevice* OpenQuietly() {
  if (void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL)) {
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    using SetHandler = int (*)(Handler);
    if (auto set = reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler")))
      set(IgnoreAlsaMessage);
    // Stays loaded: the handler must outlive every later ALSA call.
  }
  return alcOpenDevice(nullptr);
}

}  // namespace

struct SoundBuffer {
  ALuint Source = 0;
  SharedSamples* Samples = nullptr;
  bool PendingPosition = false;
  bool PendingVelocity = false;
  bool Listed = false;  // in PendingBuffers
  Vec3 Position, Velocity;
  // What the mixer holds now (left-handed): unchanged settings are not sent again, which
  // keeps the per-step listener update cheap while the player stands still.
  Vec3 AppliedPosition, AppliedVelocity;
};

namespace {

SoundBuffer* NewCopy(SharedSamples* samples) {
  alGetError();
  ALuint source = 0;
  alGenSources(1, &source);
  if (alGetError() != AL_NO_ERROR) return nullptr;
  alSourcei(source, AL_BUFFER, static_cast<ALint>(samples->Buffer));
  alSourcef(source, AL_REFERENCE_DISTANCE, 1.0f);
  alSourcef(source, AL_ROLLOFF_FACTOR, 1.0f);
  alSourcef(source, AL_MAX_DISTANCE, 1.0e9f);
  alSourcei(source, AL_SOURCE_RELATIVE, AL_FALSE);
  if (alGetError() != AL_NO_ERROR) {
    alDeleteSources(1, &source);
    return nullptr;
  }
  auto* copy = new SoundBuffer;
  copy->Source = source;
  copy->Samples = samples;
  ++samples->Copies;
  LiveBuffers.push_back(copy);
  return copy;
}

bool Same(const Vec3& a, float x, float y, float z) { return a.X == x && a.Y == y && a.Z == z; }

void ApplyPosition(SoundBuffer* b, float x, float y, float z) {
  if (Same(b->AppliedPosition, x, y, z)) return;
  b->AppliedPosition = {x, y, z};
  alSource3f(b->Source, AL_POSITION, x, y, -z);
}

void ApplyVelocity(SoundBuffer* b, float x, float y, float z) {
  if (Same(b->AppliedVelocity, x, y, z)) return;
  b->AppliedVelocity = {x, y, z};
  alSource3f(b->Source, AL_VELOCITY, x, y, -z);
}

void MarkPending(SoundBuffer* buffer) {
  if (!buffer->Listed) {
    buffer->Listed = true;
    PendingBuffers.push_back(buffer);
  }
}

void ApplyOrientation(const float* v) {
  // Left-handed to OpenAL's right-handed space: negate z of both vectors.
  float front[3] = {v[0], v[1], -v[2]};
  float top[3] = {v[3], v[4], -v[5]};
  const float cx = front[1] * top[2] - front[2] * top[1];
  const float cy = front[2] * top[0] - front[0] * top[2];
  const float cz = front[0] * top[1] - front[1] * top[0];
  const float frontLength = std::sqrt(front[0] * front[0] + front[1] * front[1] +
                                      front[2] * front[2]);
  if (!(frontLength > 1e-6f)) {
    front[0] = 0;
    front[1] = 0;
    front[2] = -1;
  }
  if (!(std::sqrt(cx * cx + cy * cy + cz * cz) > 1e-6f * (frontLength + 1e-6f))) {
    // Parallel front and top leave no right-hand direction; OpenAL would produce NaN.
    // Any top at right angles serves: such orientations only accompany sounds at the
    // listener itself.
    const bool mostlyVertical = std::fabs(front[1]) > 0.9f * frontLength;
    top[0] = 0;
    top[1] = mostlyVertical ? 0.0f : 1.0f;
    top[2] = mostlyVertical ? -1.0f : 0.0f;
  }
  const float orientation[6] = {front[0], front[1], front[2], top[0], top[1], top[2]};
  alListenerfv(AL_ORIENTATION, orientation);
}

}  // namespace

bool SoundContextCurrent() { return Context != nullptr; }

SoundOpenResult OpenSoundDevice() {
  if (Context) return SoundOpenOk;
  // OpenAL Soft prints its warnings to the terminal by default; keep it quiet unless asked.
  setenv("ALSOFT_LOGLEVEL", "0", 0);
  const bool loopback = LoopbackRate > 0;
  Device = loopback ? alcLoopbackOpenDeviceSOFT(nullptr) : OpenQuietly();
  if (!Device) return SoundOpenNoDevice;
  std::vector<ALCint> attributes = {ALC_MONO_SOURCES, WantedMonoSources, ALC_STEREO_SOURCES, WantedStereoSources};
  if (loopback) {
    const ALCint extra[] = {ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT, ALC_FORMAT_TYPE_SOFT,
                            ALC_FLOAT_SOFT, ALC_FREQUENCY, LoopbackRate, ALC_HRTF_SOFT,
                            ALC_FALSE, ALC_OUTPUT_LIMITER_SOFT, ALC_FALSE};
    attributes.insert(attributes.end(), std::begin(extra), std::end(extra));
  }
  attributes.push_back(0);
  Context = alcCreateContext(Device, attributes.data());
  ALCint sources = 0;
  if (Context) alcGetIntegerv(Device, ALC_MONO_SOURCES, 1, &sources);
  if (!Context || sources < NeededSources) {
    if (Context) alcDestroyContext(Context);
    Context = nullptr;
    alcCloseDevice(Device);
    Device = nullptr;
    return SoundOpenNoContext;
  }
  if (!alcMakeContextCurrent(Context)) {
    CloseSoundDevice();
    return SoundOpenNoOutput;
  }
  if (!alIsExtensionPresent("AL_SOFT_deferred_updates")) {
    CloseSoundDevice();
    return SoundOpenNoListener;
  }
  DeviceIsLoopback = loopback;
  // The DirectSound 3D defaults: inverse distance clamped, minimum 1, rolloff 1, Doppler 1.
  alDistanceModel(AL_INVERSE_DISTANCE_CLAMPED);
  alDopplerFactor(1.0f);
  alSpeedOfSound(SpeedOfSound);
  alListenerf(AL_GAIN, 1.0f);
  LiveBuffers.reserve(WantedMonoSources);
  PendingBuffers.reserve(WantedMonoSources);
  return SoundOpenOk;
}

void CloseSoundDevice() {
  CloseMusicStreams();
  while (!LiveBuffers.empty()) ReleaseSoundBuffer(LiveBuffers.back());
  PendingBuffers.clear();
  PendingListener = ListenerPending{};
  if (Context) {
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(Context);
    Context = nullptr;
  }
  if (Device) {
    alcCloseDevice(Device);
    Device = nullptr;
  }
  DeviceIsLoopback = false;
}

bool SoundDeviceIsOpen() { return Context != nullptr; }

int LiveSoundSources() {
  if (!Context) return 0;
  // The mixer numbers sources from 1 and reuses freed numbers first, so every live one lies
  // within twice the most it will make.
  int live = 0;
  for (ALuint id = 1; id <= 2 * (WantedMonoSources + WantedStereoSources); ++id)
    if (alIsSource(id)) ++live;
  return live;
}

void UseLoopbackSoundDevice(int sampleRate) { LoopbackRate = sampleRate > 0 ? sampleRate : 0; }

bool RenderLoopback(float* stereoOut, int frames) {
  if (!Device || !DeviceIsLoopback || frames < 0) return false;
  alcRenderSamplesSOFT(Device, stereoOut, frames);
  return true;
}

SoundBuffer* CreateSoundBuffer(const WaveFormat& format, const void* samples,
                               std::uint32_t bytes) {
  if (!Context) return nullptr;
  std::vector<std::int16_t> pcm;
  int channels = 0;
  // An empty buffer cannot be made, as on the original platform.
  if (!ConvertToPcm16(format, samples, bytes, true, pcm, channels) || pcm.empty()) return nullptr;
  alGetError();
  auto* shared = new SharedSamples;
  alGenBuffers(1, &shared->Buffer);
  alBufferData(shared->Buffer, AL_FORMAT_MONO16, pcm.data(),
               static_cast<ALsizei>(pcm.size() * sizeof(std::int16_t)),
               static_cast<ALsizei>(format.SamplesPerSec));
  if (alGetError() != AL_NO_ERROR) {
    alDeleteBuffers(1, &shared->Buffer);
    delete shared;
    return nullptr;
  }
  SoundBuffer* copy = NewCopy(shared);
  if (!copy) {
    alDeleteBuffers(1, &shared->Buffer);
    delete shared;
  }
  return copy;
}

SoundBuffer* DuplicateSoundBuffer(SoundBuffer* original) {
  if (!original || !Context) return nullptr;
  return NewCopy(original->Samples);
}

void ReleaseSoundBuffer(SoundBuffer* buffer) {
  if (!buffer) return;
  // Copies die with the device; a late release of one must not free it twice.
  auto live = std::find(LiveBuffers.begin(), LiveBuffers.end(), buffer);
  if (live == LiveBuffers.end()) return;
  LiveBuffers.erase(live);
  if (buffer->Listed) {
    PendingBuffers.erase(std::find(PendingBuffers.begin(), PendingBuffers.end(), buffer));
  }
  if (Context) {
    alSourceStop(buffer->Source);
    alDeleteSources(1, &buffer->Source);
  }
  if (--buffer->Samples->Copies == 0) {
    if (Context) alDeleteBuffers(1, &buffer->Samples->Buffer);
    delete buffer->Samples;
  }
  delete buffer;
}

void SetSoundVolume(SoundBuffer* buffer, std::int32_t hundredths) {
  if (!buffer) return;
  hundredths = std::clamp<std::int32_t>(hundredths, -10000, 0);
  alSourcef(buffer->Source, AL_GAIN, std::pow(10.0f, static_cast<float>(hundredths) / 2000.0f));
}

void SetSoundPosition(SoundBuffer* buffer, float x, float y, float z, bool deferred) {
  if (!buffer) return;
  if (deferred) {
    buffer->Position = {x, y, z};
    buffer->PendingPosition = true;
    MarkPending(buffer);
    return;
  }
  buffer->PendingPosition = false;
  ApplyPosition(buffer, x, y, z);
}

void SetSoundVelocity(SoundBuffer* buffer, float x, float y, float z, bool deferred) {
  if (!buffer) return;
  if (deferred) {
    buffer->Velocity = {x, y, z};
    buffer->PendingVelocity = true;
    MarkPending(buffer);
    return;
  }
  buffer->PendingVelocity = false;
  ApplyVelocity(buffer, x, y, z);
}

void PlaySound(SoundBuffer* buffer, bool looping) {
  if (!buffer) return;
  ALint state = AL_STOPPED;
  alGetSourcei(buffer->Source, AL_SOURCE_STATE, &state);
  alSourcei(buffer->Source, AL_LOOPING, looping ? AL_TRUE : AL_FALSE);
  if (state != AL_PLAYING) alSourcePlay(buffer->Source);
}

void StopSound(SoundBuffer* buffer) {
  if (!buffer) return;
  ALint state = AL_STOPPED;
  alGetSourcei(buffer->Source, AL_SOURCE_STATE, &state);
  if (state == AL_PLAYING) alSourcePause(buffer->Source);
}

bool SoundIsPlaying(SoundBuffer* buffer) {
  if (!buffer) return false;
  ALint state = AL_STOPPED;
  alGetSourcei(buffer->Source, AL_SOURCE_STATE, &state);
  return state == AL_PLAYING;
}

float SoundGain(SoundBuffer* buffer) {
  if (!buffer) return 0;
  ALfloat gain = 0;
  alGetSourcef(buffer->Source, AL_GAIN, &gain);
  return gain;
}

void SetListenerPosition(float x, float y, float z, bool deferred) {
  if (!Context) return;
  PendingListener.Position = deferred;
  if (deferred) {
    PendingListener.PositionValue = {x, y, z};
  } else {
    alListener3f(AL_POSITION, x, y, -z);
  }
}

void SetListenerVelocity(float x, float y, float z, bool deferred) {
  if (!Context) return;
  PendingListener.Velocity = deferred;
  if (deferred) {
    PendingListener.VelocityValue = {x, y, z};
  } else {
    alListener3f(AL_VELOCITY, x, y, -z);
  }
}

void SetListenerOrientation(float frontX, float frontY, float frontZ, float topX, float topY,
                            float topZ, bool deferred) {
  if (!Context) return;
  const float v[6] = {frontX, frontY, frontZ, topX, topY, topZ};
  PendingListener.Orientation = deferred;
  if (deferred) {
    std::copy(v, v + 6, PendingListener.OrientationValue);
  } else {
    ApplyOrientation(v);
  }
}

void SetListenerDopplerFactor(float factor, bool deferred) {
  if (!Context) return;
  PendingListener.Doppler = deferred;
  if (deferred) {
    PendingListener.DopplerValue = factor;
  } else {
    alDopplerFactor(factor);
  }
}

void SetListenerDistanceFactor(float metresPerUnit, bool deferred) {
  if (!Context || !(metresPerUnit > 0)) return;
  PendingListener.Distance = deferred;
  if (deferred) {
    PendingListener.DistanceValue = metresPerUnit;
  } else {
    alSpeedOfSound(SpeedOfSound / metresPerUnit);
  }
}

void CommitDeferredSettings() {
  if (!Context) return;
  alDeferUpdatesSOFT();
  ListenerPending& l = PendingListener;
  if (l.Position) alListener3f(AL_POSITION, l.PositionValue.X, l.PositionValue.Y,
                               -l.PositionValue.Z);
  if (l.Velocity) alListener3f(AL_VELOCITY, l.VelocityValue.X, l.VelocityValue.Y,
                               -l.VelocityValue.Z);
  if (l.Orientation) ApplyOrientation(l.OrientationValue);
  if (l.Doppler) alDopplerFactor(l.DopplerValue);
  if (l.Distance) alSpeedOfSound(SpeedOfSound / l.DistanceValue);
  l.Position = l.Velocity = l.Orientation = l.Doppler = l.Distance = false;
  for (SoundBuffer* b : PendingBuffers) {
    if (b->PendingPosition) ApplyPosition(b, b->Position.X, b->Position.Y, b->Position.Z);
    if (b->PendingVelocity) ApplyVelocity(b, b->Velocity.X, b->Velocity.Y, b->Velocity.Z);
    b->PendingPosition = b->PendingVelocity = b->Listed = false;
  }
  PendingBuffers.clear();
  alProcessUpdatesSOFT();
}

int SoundSourceCount() { return static_cast<int>(LiveBuffers.size()); }

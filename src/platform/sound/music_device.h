// Music performances: a looping sampled piece, or a MIDI piece synthesised on its own thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/sound/sound_device.h"

// Loads the General MIDI SoundFont (the first of `candidates` that loads) into the one
// synthesiser. Needs the sound device open. False when none loads.
bool OpenMusicSynth(const std::vector<std::string>& candidates);
void CloseMusicSynth();
// Builds the synthesiser and loads its SoundFont ahead, on whichever thread calls it, while no
// other music call runs; OpenMusicSynth with the same candidates then takes it over.
// DropPreparedMusicSynth frees one that was never taken.
void PrepareMusicSynth(const std::vector<std::string>& candidates);
void DropPreparedMusicSynth();
// The SoundFonts a General MIDI piece can use here, best first.
std::vector<std::string> DefaultSoundFonts();

struct MusicPerformance;

// A listener-relative player with nothing loaded; null without the sound device.
MusicPerformance* CreateMusicPerformance();
// Loads a sampled piece; false if its format cannot be played.
bool LoadMusicWave(MusicPerformance* performance, const WaveFormat& format,
                   const void* samples, std::uint32_t bytes);
// Loads a standard MIDI file, rendered by the synthesiser; false if it does not parse.
bool LoadMusicMidi(MusicPerformance* performance, const std::vector<std::uint8_t>& file);
// Starts the piece from its beginning, repeating without end.
void StartMusic(MusicPerformance* performance);
// Stops at once; the next start begins from the top.
void StopMusicPerformance(MusicPerformance* performance);
bool MusicIsPlaying(MusicPerformance* performance);
// Master volume in hundredths of a decibel; false if the performance cannot take it.
bool SetMusicVolume(MusicPerformance* performance, std::int32_t hundredths);
// The gain the mixer applies now (1 at 0 hundredths); 0 for no performance.
float MusicGain(MusicPerformance* performance);
void ReleaseMusicPerformance(MusicPerformance* performance);

// Tests: waits until a streamed piece has its whole queue rendered ahead (true) or
// `timeoutMs` passes (false). True at once for a sampled piece.
bool WaitMusicQueued(MusicPerformance* performance, int timeoutMs);
// Times a MIDI piece has come round to its beginning again since it started.
int MusicLoopCount(MusicPerformance* performance);

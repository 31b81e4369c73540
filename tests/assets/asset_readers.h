// Independent readers for the generated pack: file access, DDS, WAV and standard MIDI files.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

// Fixture for tests that read the build's game folder: skipped when the build was told to leave
// that folder to the player's own data (KORVID_WRITE_DEFAULT_ASSETS off).
class PackInGameDir : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!KORVID_DEFAULT_ASSETS) GTEST_SKIP() << "the game folder holds the player's own data";
    }
};

std::string GameDir();                        // the build's game folder (KORVID_GAME_DIR)
std::vector<uint8_t> ReadBytes(const std::string& path);
// Runs the generator into `dir`; returns its exit status.
int RunGenerator(const std::string& dir);

struct DdsPicture {
    bool Ok = false;
    int Width = 0, Height = 0;
    std::string Format;                        // "ARGB", "DXT1" or "DXT5"
    std::vector<uint8_t> Argb;                 // decoded for ARGB only: B, G, R, A per pixel
};
DdsPicture ReadDds(const std::vector<uint8_t>& bytes);
// Alpha of every pixel of a DXT5 picture, row by row; empty for any other format.
std::vector<uint8_t> DecodeDxt5Alpha(const std::vector<uint8_t>& bytes);

struct WavSound {
    bool Ok = false;
    int Format = 0, Channels = 0, Rate = 0, Bits = 0;
    std::vector<int16_t> Samples;              // interleaved
};
WavSound ReadWav(const std::vector<uint8_t>& bytes);

struct MidiSong {
    bool Ok = false;
    std::string Error;
    int Format = 0, Division = 0;
    std::vector<uint32_t> TrackEnds;           // tick of each track's end-of-track event
    int NoteOns = 0;
    int HangingNotes = 0;                      // note-ons never switched off
    bool HasTempo = false;
    std::vector<int> Programs;                 // program changes seen, by channel order of appearance
    bool UsesDrums = false;
};
MidiSong ReadMidi(const std::vector<uint8_t>& bytes);

// Shared set-up for the graphics tests: one window and device, picture and model writers.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

// Writes a 24-bit (or, with a palette, 8-bit) BMP of ARGB pixels, top row first.
bool WriteBmp24(const std::string& path, int width, int height, const std::vector<std::uint32_t>& argb);
bool WriteBmp8(const std::string& path, int width, int height, const std::vector<std::uint8_t>& indices,
               const std::vector<std::uint32_t>& palette);
// Uncompressed 32-bit A8R8G8B8 DDS with `levels` stored levels (each filled with one colour).
bool WriteDds32(const std::string& path, int width, int height, const std::vector<std::uint32_t>& levelColours);
// 16-bit R5G6B5 DDS of one level.
bool WriteDds565(const std::string& path, int width, int height, std::uint16_t colour);
// One DXT block repeated over the picture; fourCC "DXT1", "DXT3" or "DXT5".
bool WriteDdsDxt(const std::string& path, int width, int height, const char* fourCC,
                 const std::vector<std::uint8_t>& block);
bool WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);

// A text .x quad facing the camera (normal -z), corners at +-1, one material per entry of
// `diffuse` (ARGB floats), split between the two triangles when there are two.
std::string QuadXFile(const std::vector<std::vector<float>>& diffuse, float power,
                      const std::vector<float>& specular, const std::vector<float>& emissive,
                      const char* textureName = nullptr);

// The same quad as a binary .x file (32-bit floats), and any .x text or binary content
// wrapped in the compressed (MSZIP) container.
std::string QuadXFileBinary(const std::vector<std::vector<float>>& diffuse, float power,
                            const std::vector<float>& specular, const std::vector<float>& emissive);
std::string CompressXFile(const std::string& xFile);

// A temporary folder removed with its contents at destruction.
struct TempFolder {
  std::string Path;
  TempFolder();
  ~TempFolder();
};

// Writes a small complete File/ folder (every catalogue picture and model) below `root`.
void WriteMiniPack(const std::string& root);

// Creates the window and the device once per test program (640 x 480 back buffer).
void EnsureDevice();

// The back buffer as ARGB after a frame.
struct Pixels {
  std::vector<std::uint32_t> Data;
  int Width = 0;
  int Height = 0;
  std::uint32_t At(int x, int y) const { return Data[static_cast<std::size_t>(y) * Width + x]; }
};
Pixels ReadBack();

// Channel helpers for ARGB values.
inline int Alpha(std::uint32_t c) { return static_cast<int>(c >> 24); }
inline int Red(std::uint32_t c) { return static_cast<int>((c >> 16) & 0xFF); }
inline int Green(std::uint32_t c) { return static_cast<int>((c >> 8) & 0xFF); }
inline int Blue(std::uint32_t c) { return static_cast<int>(c & 0xFF); }

// The flat vertex layout the game draws as fans.
struct FanVertex {
  float X, Y, Z;
  std::uint32_t Colour;
  float U, V;
};
// A quad at depth z, half-size h, in fan order with the game's texture coordinates.
void MakeQuad(FanVertex out[4], float z, float halfWidth, float halfHeight, std::uint32_t colour);

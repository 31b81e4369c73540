// Float RGBA pictures with the few drawing operations the asset painters need.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace assetgen {

struct Colour {
    float R = 0, G = 0, B = 0, A = 1;
};

Colour Rgb(int r, int g, int b, float a = 1.0f);
Colour Mix(Colour a, Colour b, float t);
Colour WithAlpha(Colour c, float a);

// Small deterministic generator: the pack must be byte-identical on every run and machine.
struct Rng {
    uint64_t State;
    explicit Rng(uint64_t seed);
    uint32_t Next();
    float Uniform();                   // [0, 1)
    float Range(float lo, float hi);
    int Below(int n);
};

// Straight (not premultiplied) alpha, components 0..1, row 0 at the top.
struct Image {
    int Width = 0, Height = 0;
    std::vector<Colour> Pixels;

    Image() = default;
    Image(int w, int h, Colour fill = Colour{0, 0, 0, 0});
    Colour& At(int x, int y) { return Pixels[size_t(y) * Width + x]; }
    const Colour& At(int x, int y) const { return Pixels[size_t(y) * Width + x]; }
    Colour Sample(float u, float v, bool wrap) const;   // bilinear, u,v in 0..1

    void Blend(int x, int y, Colour c, float coverage = 1.0f);
    void Fill(Colour c);
    void FillRect(float x0, float y0, float x1, float y1, Colour c);
    void VerticalGradient(float y0, float y1, Colour top, Colour bottom, float x0 = 0, float x1 = 1e9f);
    void FillCircle(float cx, float cy, float r, Colour c);
    void RingCircle(float cx, float cy, float r, float width, Colour c);
    void RadialGlow(float cx, float cy, float r, Colour c);   // soft falloff to transparent
    void FillRoundRect(float x0, float y0, float x1, float y1, float radius, Colour c);
    void StrokeRoundRect(float x0, float y0, float x1, float y1, float radius, float width, Colour c);
    void Line(float x0, float y0, float x1, float y1, float width, Colour c);
    void FillPolygon(const std::vector<float>& xy, Colour c);  // x0,y0,x1,y1,...
    void Draw(const Image& src, float x, float y, float w, float h, float opacity = 1.0f);
    void Multiply(Colour c);
};

// Tileable value noise with octaves; period in cells must divide the lattice.
float TileNoise(float x, float y, int period, uint32_t seed);
float TileNoise2(float x, float y, int periodX, int periodY, uint32_t seed);  // separate periods
float TileFbm(float x, float y, int period, int octaves, uint32_t seed);

Image Downscale(const Image& src, int w, int h);

}  // namespace assetgen

// Backdrops, plates, headings and sound rings shared by the screen pictures.
#include "paint_common.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

bool PaintEnglish = false;

void Vignette(Image& img, float strength)
{
    float cx = img.Width / 2.0f, cy = img.Height / 2.0f;
    float maxd = std::hypot(cx, cy);
    for (int y = 0; y < img.Height; ++y)
        for (int x = 0; x < img.Width; ++x) {
            float d = std::hypot(x - cx, y - cy) / maxd;
            float k = 1 - strength * d * d;
            Colour& c = img.At(x, y);
            c.R *= k;
            c.G *= k;
            c.B *= k;
        }
}

void SoundRings(Image& img, float cx, float cy, float r0, float step, int count, Colour c)
{
    for (int i = 0; i < count; ++i) {
        float fade = 1.0f - float(i) / count;
        img.RingCircle(cx, cy, r0 + step * i, std::max(1.0f, 2.2f - i * 0.2f), WithAlpha(c, c.A * fade));
    }
}

void PaintBackdrop(Image& img, Colour top, Colour bottom, uint32_t seed, bool rings)
{
    img.Fill(Colour{0, 0, 0, 1});
    img.VerticalGradient(0, float(img.Height), top, bottom);
    // soft cloudy variation so large areas are not flat
    for (int y = 0; y < img.Height; ++y)
        for (int x = 0; x < img.Width; ++x) {
            float n = TileFbm(x / 96.0f, y / 96.0f, 64, 4, seed) - 0.5f;
            Colour& c = img.At(x, y);
            c.R = std::clamp(c.R + n * 0.06f, 0.0f, 1.0f);
            c.G = std::clamp(c.G + n * 0.07f, 0.0f, 1.0f);
            c.B = std::clamp(c.B + n * 0.09f, 0.0f, 1.0f);
        }
    float grid = img.Width / 16.0f;
    for (float x = grid; x < img.Width; x += grid) img.FillRect(x, 0, x + 1, float(img.Height), Colour{1, 1, 1, 0.025f});
    for (float y = grid; y < img.Height; y += grid) img.FillRect(0, y, float(img.Width), y + 1, Colour{1, 1, 1, 0.025f});
    if (rings) {
        Rng rng(seed);
        for (int i = 0; i < 3; ++i)
            SoundRings(img, rng.Range(0, float(img.Width)), rng.Range(0, float(img.Height)), 20, 26, 9,
                       WithAlpha(Palette::Accent, 0.06f));
    }
    Vignette(img, 0.55f);
}

void Plate(Image& img, float x0, float y0, float x1, float y1, Colour fill, Colour border, float radius)
{
    img.FillRoundRect(x0, y0, x1, y1, radius, fill);
    img.StrokeRoundRect(x0, y0, x1, y1, radius, 1.5f, border);
}

void Heading(Image& img, const std::string& title, const std::string& sub, float y, Colour accent)
{
    TextStyle st;
    st.Size = img.Height * 0.075f;
    st.Bold = 1.2f;
    st.Shadow = 3;
    float x = img.Width * 0.06f;
    DrawText(img, title, x, y, st);
    float w = TextWidth(title, st);
    img.FillRect(x, y + st.Size * 0.25f, x + std::max(w, img.Width * 0.3f), y + st.Size * 0.25f + 3, accent);
    img.FillRect(x, y + st.Size * 0.25f + 5, x + img.Width * 0.88f, y + st.Size * 0.25f + 6,
                 WithAlpha(accent, 0.35f));
    if (!sub.empty()) {
        TextStyle s2;
        s2.Size = st.Size * 0.38f;
        s2.Fill = WithAlpha(accent, 0.9f);
        s2.Face = FontGothic;
        DrawText(img, sub, x + w + st.Size * 0.4f, y, s2);
    }
}

}  // namespace assetgen

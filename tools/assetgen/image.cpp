// Drawing operations on float RGBA pictures, anti-aliased with signed distances.
#include "image.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

Colour Rgb(int r, int g, int b, float a) { return Colour{r / 255.0f, g / 255.0f, b / 255.0f, a}; }

Colour Mix(Colour a, Colour b, float t)
{
    return Colour{a.R + (b.R - a.R) * t, a.G + (b.G - a.G) * t, a.B + (b.B - a.B) * t, a.A + (b.A - a.A) * t};
}

Colour WithAlpha(Colour c, float a)
{
    c.A = a;
    return c;
}

// Neighbouring seeds must not give shifted copies of one sequence, so the seed is mixed first.
Rng::Rng(uint64_t seed)
{
    uint64_t z = seed + 0x632BE59BD9B4E019ull;
    z = (z ^ (z >> 33)) * 0xFF51AFD7ED558CCDull;
    z = (z ^ (z >> 33)) * 0xC4CEB9FE1A85EC53ull;
    State = z ^ (z >> 33);
}

uint32_t Rng::Next()
{
    // splitmix64: fixed arithmetic, identical everywhere
    State += 0x9E3779B97F4A7C15ull;
    uint64_t z = State;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return uint32_t((z ^ (z >> 31)) >> 32);
}

float Rng::Uniform() { return float(Next() >> 8) / 16777216.0f; }
float Rng::Range(float lo, float hi) { return lo + (hi - lo) * Uniform(); }
int Rng::Below(int n) { return int(Next() % uint32_t(n)); }

Image::Image(int w, int h, Colour fill) : Width(w), Height(h), Pixels(size_t(w) * h, fill) {}

static float Clamp01(float v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }

Colour Image::Sample(float u, float v, bool wrap) const
{
    float fx = u * Width - 0.5f, fy = v * Height - 0.5f;
    int x0 = int(std::floor(fx)), y0 = int(std::floor(fy));
    float tx = fx - x0, ty = fy - y0;
    auto fetch = [&](int x, int y) {
        if (wrap) {
            x = ((x % Width) + Width) % Width;
            y = ((y % Height) + Height) % Height;
        } else {
            x = std::clamp(x, 0, Width - 1);
            y = std::clamp(y, 0, Height - 1);
        }
        return At(x, y);
    };
    Colour a = Mix(fetch(x0, y0), fetch(x0 + 1, y0), tx);
    Colour b = Mix(fetch(x0, y0 + 1), fetch(x0 + 1, y0 + 1), tx);
    return Mix(a, b, ty);
}

void Image::Blend(int x, int y, Colour c, float coverage)
{
    if (x < 0 || y < 0 || x >= Width || y >= Height) return;
    float a = Clamp01(c.A * coverage);
    if (a <= 0) return;
    Colour& d = At(x, y);
    float outA = a + d.A * (1 - a);
    if (outA <= 0) return;
    d.R = (c.R * a + d.R * d.A * (1 - a)) / outA;
    d.G = (c.G * a + d.G * d.A * (1 - a)) / outA;
    d.B = (c.B * a + d.B * d.A * (1 - a)) / outA;
    d.A = outA;
}

void Image::Fill(Colour c) { std::fill(Pixels.begin(), Pixels.end(), c); }

void Image::FillRect(float x0, float y0, float x1, float y1, Colour c)
{
    int ix0 = std::max(0, int(std::floor(x0))), iy0 = std::max(0, int(std::floor(y0)));
    int ix1 = std::min(Width, int(std::ceil(x1))), iy1 = std::min(Height, int(std::ceil(y1)));
    for (int y = iy0; y < iy1; ++y) {
        float cy = Clamp01(std::min(float(y + 1), y1) - std::max(float(y), y0));
        for (int x = ix0; x < ix1; ++x) {
            float cx = Clamp01(std::min(float(x + 1), x1) - std::max(float(x), x0));
            Blend(x, y, c, cx * cy);
        }
    }
}

void Image::VerticalGradient(float y0, float y1, Colour top, Colour bottom, float x0, float x1)
{
    int iy0 = std::max(0, int(y0)), iy1 = std::min(Height, int(std::ceil(y1)));
    int ix0 = std::max(0, int(x0)), ix1 = std::min(Width, int(std::min(x1, float(Width))));
    for (int y = iy0; y < iy1; ++y) {
        Colour c = Mix(top, bottom, Clamp01((y + 0.5f - y0) / std::max(1.0f, y1 - y0)));
        for (int x = ix0; x < ix1; ++x) Blend(x, y, c);
    }
}

// Runs fn(x, y, signedDistance) over the bounding box; coverage comes from the distance.
template <typename F>
static void ShapeLoop(Image& img, float bx0, float by0, float bx1, float by1, Colour c, F dist)
{
    int ix0 = std::max(0, int(std::floor(bx0)) - 1), iy0 = std::max(0, int(std::floor(by0)) - 1);
    int ix1 = std::min(img.Width, int(std::ceil(bx1)) + 1), iy1 = std::min(img.Height, int(std::ceil(by1)) + 1);
    for (int y = iy0; y < iy1; ++y)
        for (int x = ix0; x < ix1; ++x) {
            float d = dist(x + 0.5f, y + 0.5f);
            float cov = Clamp01(0.5f - d);
            if (cov > 0) img.Blend(x, y, c, cov);
        }
}

void Image::FillCircle(float cx, float cy, float r, Colour c)
{
    ShapeLoop(*this, cx - r, cy - r, cx + r, cy + r, c,
              [&](float x, float y) { return std::hypot(x - cx, y - cy) - r; });
}

void Image::RingCircle(float cx, float cy, float r, float width, Colour c)
{
    float o = r + width / 2;
    ShapeLoop(*this, cx - o, cy - o, cx + o, cy + o, c,
              [&](float x, float y) { return std::fabs(std::hypot(x - cx, y - cy) - r) - width / 2; });
}

void Image::RadialGlow(float cx, float cy, float r, Colour c)
{
    int ix0 = std::max(0, int(cx - r)), iy0 = std::max(0, int(cy - r));
    int ix1 = std::min(Width, int(cx + r) + 1), iy1 = std::min(Height, int(cy + r) + 1);
    for (int y = iy0; y < iy1; ++y)
        for (int x = ix0; x < ix1; ++x) {
            float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy) / r;
            if (d < 1) {
                float f = (1 - d) * (1 - d);
                Blend(x, y, c, f);
            }
        }
}

static float RoundRectDist(float x, float y, float x0, float y0, float x1, float y1, float r)
{
    float cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
    float hx = (x1 - x0) / 2 - r, hy = (y1 - y0) / 2 - r;
    float qx = std::fabs(x - cx) - hx, qy = std::fabs(y - cy) - hy;
    float ox = std::max(qx, 0.0f), oy = std::max(qy, 0.0f);
    return std::hypot(ox, oy) + std::min(std::max(qx, qy), 0.0f) - r;
}

void Image::FillRoundRect(float x0, float y0, float x1, float y1, float radius, Colour c)
{
    ShapeLoop(*this, x0, y0, x1, y1, c,
              [&](float x, float y) { return RoundRectDist(x, y, x0, y0, x1, y1, radius); });
}

void Image::StrokeRoundRect(float x0, float y0, float x1, float y1, float radius, float width, Colour c)
{
    ShapeLoop(*this, x0 - width, y0 - width, x1 + width, y1 + width, c, [&](float x, float y) {
        return std::fabs(RoundRectDist(x, y, x0, y0, x1, y1, radius)) - width / 2;
    });
}

void Image::Line(float x0, float y0, float x1, float y1, float width, Colour c)
{
    float dx = x1 - x0, dy = y1 - y0, len2 = dx * dx + dy * dy;
    float hw = width / 2;
    ShapeLoop(*this, std::min(x0, x1) - hw, std::min(y0, y1) - hw, std::max(x0, x1) + hw,
              std::max(y0, y1) + hw, c, [&](float x, float y) {
                  float t = len2 > 0 ? Clamp01(((x - x0) * dx + (y - y0) * dy) / len2) : 0;
                  return std::hypot(x - (x0 + t * dx), y - (y0 + t * dy)) - hw;
              });
}

void Image::FillPolygon(const std::vector<float>& xy, Colour c)
{
    size_t n = xy.size() / 2;
    if (n < 3) return;
    float bx0 = 1e9f, by0 = 1e9f, bx1 = -1e9f, by1 = -1e9f;
    for (size_t i = 0; i < n; ++i) {
        bx0 = std::min(bx0, xy[2 * i]);
        bx1 = std::max(bx1, xy[2 * i]);
        by0 = std::min(by0, xy[2 * i + 1]);
        by1 = std::max(by1, xy[2 * i + 1]);
    }
    ShapeLoop(*this, bx0, by0, bx1, by1, c, [&](float px, float py) {
        float best = 1e9f;
        bool inside = false;
        for (size_t i = 0, j = n - 1; i < n; j = i++) {
            float xi = xy[2 * i], yi = xy[2 * i + 1], xj = xy[2 * j], yj = xy[2 * j + 1];
            if (((yi > py) != (yj > py)) && (px < (xj - xi) * (py - yi) / (yj - yi) + xi)) inside = !inside;
            float dx = xj - xi, dy = yj - yi, l2 = dx * dx + dy * dy;
            float t = l2 > 0 ? Clamp01(((px - xi) * dx + (py - yi) * dy) / l2) : 0;
            best = std::min(best, std::hypot(px - (xi + t * dx), py - (yi + t * dy)));
        }
        return inside ? -best : best;
    });
}

void Image::Draw(const Image& src, float x, float y, float w, float h, float opacity)
{
    int ix0 = std::max(0, int(x)), iy0 = std::max(0, int(y));
    int ix1 = std::min(Width, int(std::ceil(x + w))), iy1 = std::min(Height, int(std::ceil(y + h)));
    for (int py = iy0; py < iy1; ++py)
        for (int px = ix0; px < ix1; ++px) {
            float u = (px + 0.5f - x) / w, v = (py + 0.5f - y) / h;
            if (u < 0 || v < 0 || u > 1 || v > 1) continue;
            Colour c = src.Sample(u, v, false);
            Blend(px, py, c, opacity);
        }
}

void Image::Multiply(Colour c)
{
    for (Colour& p : Pixels) {
        p.R *= c.R;
        p.G *= c.G;
        p.B *= c.B;
    }
}

static float Hash2(int x, int y, uint32_t seed)
{
    uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return float(h & 0xFFFFFF) / 16777215.0f;
}

float TileNoise(float x, float y, int period, uint32_t seed) { return TileNoise2(x, y, period, period, seed); }

float TileNoise2(float x, float y, int periodX, int periodY, uint32_t seed)
{
    int x0 = int(std::floor(x)), y0 = int(std::floor(y));
    float tx = x - x0, ty = y - y0;
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    auto h = [&](int ix, int iy) {
        return Hash2(((ix % periodX) + periodX) % periodX, ((iy % periodY) + periodY) % periodY, seed);
    };
    float a = h(x0, y0) + (h(x0 + 1, y0) - h(x0, y0)) * tx;
    float b = h(x0, y0 + 1) + (h(x0 + 1, y0 + 1) - h(x0, y0 + 1)) * tx;
    return a + (b - a) * ty;
}

float TileFbm(float x, float y, int period, int octaves, uint32_t seed)
{
    float sum = 0, amp = 0.5f, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amp * TileNoise(x, y, period, seed + i * 101);
        norm += amp;
        x *= 2;
        y *= 2;
        period *= 2;
        amp *= 0.5f;
    }
    return sum / norm;
}

Image Downscale(const Image& src, int w, int h)
{
    Image out(w, h);
    float sx = float(src.Width) / w, sy = float(src.Height) / h;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int x0 = int(x * sx), y0 = int(y * sy);
            int x1 = std::max(x0 + 1, int((x + 1) * sx)), y1 = std::max(y0 + 1, int((y + 1) * sy));
            Colour acc{0, 0, 0, 0};
            int n = 0;
            for (int yy = y0; yy < y1 && yy < src.Height; ++yy)
                for (int xx = x0; xx < x1 && xx < src.Width; ++xx) {
                    const Colour& c = src.At(xx, yy);
                    acc.R += c.R * c.A;
                    acc.G += c.G * c.A;
                    acc.B += c.B * c.A;
                    acc.A += c.A;
                    ++n;
                }
            if (acc.A > 0) {
                acc.R /= acc.A;
                acc.G /= acc.A;
                acc.B /= acc.A;
            }
            acc.A /= std::max(1, n);
            out.At(x, y) = acc;
        }
    return out;
}

}  // namespace assetgen

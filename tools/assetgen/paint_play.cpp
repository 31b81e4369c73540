// Pictures of the play scene: arena tiles, status frame and panels, cursors, scope, smoke.
#include "pack.h"
#include "paint_common.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace assetgen {

namespace {
const Colour Clear{0, 0, 0, 0};

void Add(AssetPack& pack, const std::string& name, Image img, PictureFormat format, bool keyed = false)
{
    pack.Pictures.push_back(PictureAsset{LanguageFolder() + name, std::move(img), format, keyed});
}

// Ground: dry grass over packed earth; tiles seamlessly (tile noise wraps at the edge).
Image Ground()
{
    const int n = 256;
    Image img(n, n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            float u = float(x) / n, v = float(y) / n;
            float big = TileFbm(u * 4, v * 4, 4, 4, 3);
            float fine = TileFbm(u * 32, v * 32, 32, 2, 4);
            float grass = std::clamp((big - 0.42f) * 4, 0.0f, 1.0f);
            Colour earth = Mix(Rgb(96, 80, 58), Rgb(120, 102, 74), fine);
            Colour green = Mix(Rgb(62, 86, 44), Rgb(92, 116, 56), fine);
            img.At(x, y) = Mix(earth, green, grass);
        }
    Rng rng(5);
    for (int i = 0; i < 900; ++i) {  // blades, wrapped so that the tile stays seamless
        float x = rng.Range(0, n), y = rng.Range(0, n), len = rng.Range(2, 6), dx = rng.Range(-1.5f, 1.5f);
        Colour c = rng.Uniform() < 0.5f ? Rgb(70, 100, 48, 0.6f) : Rgb(134, 140, 80, 0.5f);
        for (int ox = -1; ox <= 1; ++ox)
            for (int oy = -1; oy <= 1; ++oy)
                img.Line(x + ox * n, y + oy * n, x + dx + ox * n, y - len + oy * n, 1, c);
    }
    return img;
}

// Wall: concrete panels. The arena stretches the picture about three times wider than tall,
// so the panels are drawn narrow here and come out nearly square in the game.
Image Wall()
{
    const int w = 256, h = 256;
    Image img(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            // noise periods match the picture so the wall tiles without a seam
            float n = TileFbm(x / 16.0f, y / 16.0f, 16, 4, 8);
            float streak = TileNoise2(x / 4.0f, y / 64.0f, 64, 4, 9);
            float g = 0.46f + (n - 0.5f) * 0.22f - streak * 0.05f;
            img.At(x, y) = Colour{g * 0.98f, g * 0.97f, g * 0.95f, 1};
        }
    // Panel joints straddle the picture's edges as well as its middle, drawn a second time one
    // picture over, so neighbouring tiles meet inside a joint.
    for (int c = 0; c <= 4; ++c) {
        float x = c * 64.0f;
        img.FillRect(x - 1, 0, x + 1, float(h), Rgb(40, 40, 42, 0.8f));
        img.FillRect(x + 1, 0, x + 2, float(h), Rgb(210, 210, 205, 0.25f));
    }
    for (int r = 0; r <= 2; ++r) {
        float y = r * 128.0f;
        img.FillRect(0, y - 1.5f, float(w), y + 1.5f, Rgb(40, 40, 42, 0.8f));
        img.FillRect(0, y + 1.5f, float(w), y + 2.5f, Rgb(210, 210, 205, 0.2f));
    }
    for (int c = 0; c < 4; ++c)  // tie holes and a warning stripe low on the wall
        for (int r = 0; r < 2; ++r) {
            img.FillCircle(c * 64 + 12.0f, r * 128 + 16.0f, 2.2f, Rgb(50, 50, 52));
            img.FillCircle(c * 64 + 52.0f, r * 128 + 16.0f, 2.2f, Rgb(50, 50, 52));
        }
    for (int x = 0; x < w; x += 16) img.FillPolygon({float(x), 236, x + 8.0f, 236, x + 16.0f, 250, x + 8.0f, 250}, Rgb(190, 150, 40, 0.7f));
    return img;
}

Image Sky()
{
    Image img(256, 256);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            float c = TileFbm(x / 64.0f, y / 64.0f, 4, 5, 17);
            float cloud = std::clamp((c - 0.48f) * 3, 0.0f, 1.0f);
            img.At(x, y) = Mix(Rgb(96, 150, 214), Rgb(240, 244, 250), cloud);
        }
    return img;
}

// The status frame: a translucent border around the view, bars behind the panels at the bottom.
Image Window()
{
    const int w = 800, h = 640;
    Image img(w, h, Clear);
    Colour band = Rgb(8, 14, 22, 0.55f);
    img.FillRect(0, 0, w, 26, band);
    img.FillRect(0, h - 58, w, h, band);
    img.FillRect(0, 26, 14, h - 58, band);
    img.FillRect(w - 14, 26, w, h - 58, band);
    Colour line = Rgb(80, 208, 255, 0.85f);
    img.FillRect(0, 26, w, 27.5f, line);
    img.FillRect(0, h - 59.5f, w, h - 58, line);
    img.FillRect(14, 26, 15.5f, h - 58, WithAlpha(line, 0.5f));
    img.FillRect(w - 15.5f, 26, w - 14, h - 58, WithAlpha(line, 0.5f));
    // corner brackets
    const float L = 46;
    for (int sx = 0; sx < 2; ++sx)
        for (int sy = 0; sy < 2; ++sy) {
            float x = sx ? w - 28.0f : 28.0f, y = sy ? h - 72.0f : 40.0f;
            float dx = sx ? -1.0f : 1.0f, dy = sy ? -1.0f : 1.0f;
            img.Line(x, y, x + dx * L, y, 3, Palette::Warm);
            img.Line(x, y, x, y + dy * L, 3, Palette::Warm);
        }
    // tick marks along the top like a compass strip, right of the label
    for (int i = 0; i <= 40; ++i) {
        float x = 232 + i * 11.0f;
        img.FillRect(x, 6, x + 1.5f, i % 5 == 0 ? 20.0f : 14.0f, Rgb(200, 230, 255, 0.6f));
    }
    TextStyle t;
    t.Size = 13;
    t.Face = FontGothic;
    t.Fill = Rgb(200, 230, 255, 0.85f);
    // Right of the corner where every scene shows the frame counter (up to 11.4 % across).
    DrawText(img, "KORVID  ARENA", 108, 18, t);
    DrawText(img, "SOUND LINK ●", w - 116.0f, 18, t);
    return img;
}

// Ammunition panel (256 x 128, number drawn from (70, 10) at height 100). Keyed.
Image AmmoPanel()
{
    Image img(256, 128, Clear);
    img.FillPolygon({4, 14, 200, 14, 226, 40, 226, 112, 4, 112}, Rgb(12, 18, 28, 0.95f));
    img.FillPolygon({4, 14, 200, 14, 226, 40, 226, 44, 198, 18, 4, 18}, Palette::Warm);
    img.FillRect(4, 108, 226, 112, Palette::Accent);
    for (int i = 0; i < 3; ++i) {  // cartridges
        float x = 14 + i * 16.0f;
        img.FillRoundRect(x, 46, x + 10, 96, 3, Rgb(200, 150, 60));
        img.FillPolygon({x, 46, x + 5, 30, x + 10, 46}, Rgb(180, 110, 60));
        img.FillRect(x, 88, x + 10, 96, Rgb(150, 110, 50));
    }
    TextStyle t;
    t.Size = 12;
    t.Face = FontGothic;
    t.Fill = Palette::Dim;
    DrawText(img, "AMMO", 12, 106, t);
    return img;
}

// Health panel (128 x 32, number drawn from (5, 0) at height 35). Keyed.
// Health panel (128 x 32, number drawn from (5, 0) at height 35). Keyed. Its right part
// stays clear: the weapon name is drawn just right of it and must not be covered.
Image HealthPanel()
{
    Image img(128, 32, Clear);
    img.FillRoundRect(0, 1, 100, 31, 5, Rgb(12, 18, 28, 0.95f));
    img.FillRect(2, 28, 78, 30, Rgb(80, 220, 120));
    img.FillRect(86, 5, 90, 15, Palette::Danger);
    img.FillRect(83, 8, 93, 12, Palette::Danger);
    TextStyle t;
    t.Size = 10;
    t.Face = FontGothic;
    t.Fill = Palette::Dim;
    DrawText(img, "HP", 82, 27, t);
    return img;
}

Image FpsPanel()
{
    Image img(128, 32, Clear);
    img.FillRoundRect(0, 0, 100, 30, 6, Rgb(10, 14, 20, 0.65f));
    img.StrokeRoundRect(0, 0, 100, 30, 6, 1.2f, Rgb(80, 208, 255, 0.7f));
    TextStyle t;
    t.Size = 11;
    t.Face = FontGothic;
    t.Fill = Rgb(160, 220, 255);
    DrawText(img, "FPS", 8, 21, t);  // the number is drawn from x 50
    return img;
}

Image WeaponName(const std::string& jp, const std::string& en)
{
    Image img(320, 60, Clear);
    img.FillPolygon({0, 4, 300, 4, 318, 30, 300, 56, 0, 56}, Rgb(10, 14, 20, 0.7f));
    img.FillRect(0, 4, 6, 56, Palette::Warm);
    TextStyle t;
    t.Size = 30;
    t.Bold = 1;
    t.Fill = Palette::Text;
    t.Shadow = 2;
    float w = DrawText(img, jp, 18, 42, t);
    TextStyle e;
    e.Size = 13;
    e.Face = FontGothic;
    e.Fill = Rgb(255, 190, 130);
    DrawText(img, en, 30 + w, 42, e);
    return img;
}

// Aiming cursors: white (the game tints them) with a dark rim for contrast.
void CursorShape(Image& img, int style, float s, Colour core, Colour rim)
{
    float c = s / 2;
    for (int pass = 0; pass < 2; ++pass) {
        Colour col = pass ? core : rim;
        float w = pass ? s * 0.045f : s * 0.1f;
        switch (style) {
        case 0:  // cross with a gap
            img.Line(c, s * 0.08f, c, s * 0.38f, w, col);
            img.Line(c, s * 0.62f, c, s * 0.92f, w, col);
            img.Line(s * 0.08f, c, s * 0.38f, c, w, col);
            img.Line(s * 0.62f, c, s * 0.92f, c, w, col);
            break;
        case 1:  // cross with centre dot
            img.Line(c, s * 0.15f, c, s * 0.4f, w, col);
            img.Line(c, s * 0.6f, c, s * 0.85f, w, col);
            img.Line(s * 0.15f, c, s * 0.4f, c, w, col);
            img.Line(s * 0.6f, c, s * 0.85f, c, w, col);
            img.FillCircle(c, c, w * 0.9f, col);
            break;
        case 2:  // ring with dot
            img.RingCircle(c, c, s * 0.34f, w, col);
            img.FillCircle(c, c, w, col);
            break;
        case 3:  // ring with ticks
            img.RingCircle(c, c, s * 0.26f, w, col);
            img.Line(c, s * 0.04f, c, s * 0.22f, w, col);
            img.Line(c, s * 0.78f, c, s * 0.96f, w, col);
            img.Line(s * 0.04f, c, s * 0.22f, c, w, col);
            img.Line(s * 0.78f, c, s * 0.96f, c, w, col);
            break;
        case 4:  // corner brackets
            for (int i = 0; i < 4; ++i) {
                float sx = (i & 1) ? 1.0f : -1.0f, sy = (i & 2) ? 1.0f : -1.0f;
                float x = c + sx * s * 0.36f, y = c + sy * s * 0.36f;
                img.Line(x, y, x - sx * s * 0.2f, y, w, col);
                img.Line(x, y, x, y - sy * s * 0.2f, w, col);
            }
            img.FillCircle(c, c, w * 0.8f, col);
            break;
        default:  // chevron
            img.Line(c, c + s * 0.04f, c - s * 0.3f, c + s * 0.34f, w, col);
            img.Line(c, c + s * 0.04f, c + s * 0.3f, c + s * 0.34f, w, col);
            img.FillCircle(c, c - s * 0.12f, w * 0.9f, col);
            break;
        }
    }
}

Image Cursor(int style)
{
    Image img(64, 64, Clear);
    CursorShape(img, style, 64, Colour{1, 1, 1, 1}, Colour{0, 0, 0, 0.55f});
    return img;
}

// The settings preview: the same shape in black on keyed white, 40 x 40.
Image CursorPreview(int style)
{
    Image img(40, 40, Clear);
    CursorShape(img, style, 40, Rgb(20, 20, 24), Rgb(20, 20, 24, 0));
    return img;
}

Image Scope()
{
    const int w = 800, h = 640;
    Image img(w, h, Colour{0, 0, 0, 1});
    float cx = w / 2.0f, cy = h / 2.0f, r = h * 0.46f;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy);
            if (d < r) img.At(x, y) = Clear;  // the lens: keyed out
            else if (d < r + 10) img.At(x, y) = Rgb(24, 26, 30);
        }
    Colour ink = Rgb(8, 8, 10);
    img.FillRect(cx - 1.5f, cy - r, cx + 1.5f, cy + r, ink);
    img.FillRect(cx - r, cy - 1.5f, cx + r, cy + 1.5f, ink);
    img.FillRect(cx - 5, cy + 40, cx + 5, cy + r, ink);      // thick posts outside the centre
    img.FillRect(cx - r, cy - 5, cx - 60, cy + 5, ink);
    img.FillRect(cx + 60, cy - 5, cx + r, cy + 5, ink);
    for (int i = 1; i <= 4; ++i) {
        img.FillCircle(cx + i * 12.0f, cy, 3, ink);
        img.FillCircle(cx - i * 12.0f, cy, 3, ink);
        img.FillCircle(cx, cy - i * 12.0f, 3, ink);
    }
    for (Colour& c : img.Pixels) c.A = c.A > 0.5f ? 1.0f : 0.0f;  // the key is all or nothing
    return img;
}

// Impact dust: a cluster of billows, lit from above, that spreads, pales and breaks up.
// The game draws it at a fifth of its strength, so the tones are fairly dark.
Image Smoke(int frame)
{
    const int n = 128;
    Image img(n, n, Clear);
    float t = frame / 7.0f;
    float spread = 0.95f + 0.95f * t;
    const float billows[][3] = {{0, 0, 17},     {-13, 5, 12},  {12, 6, 13},  {-5, -12, 12},
                                {8, -10, 11},   {-17, -6, 9},  {17, -3, 9},  {2, 13, 10}};
    float holes = 0.62f * t * t;  // later frames break up into wisps
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            float px = (x + 0.5f - n / 2.0f) / spread, py = (y + 0.5f - n / 2.0f) / spread;
            float best = 0, shade = 0;
            for (auto& b : billows) {
                float dx = px - b[0], dy = py - b[1];
                float r = b[2] * (1.0f + 0.25f * TileNoise(x / 10.0f, y / 10.0f, 16, 79));
                float inside = 1 - (dx * dx + dy * dy) / (r * r);
                if (inside > best) {
                    best = inside;
                    shade = 0.5f - 0.5f * (dy / r) * 0.8f - 0.2f * (dx / r);  // light from the upper left
                }
            }
            if (best <= 0) continue;
            float wisp = TileFbm(x / 9.0f, y / 9.0f, 16, 3, 78);
            if (wisp < holes) continue;
            float base = 0.18f + 0.42f * t;
            float g = base + shade * 0.22f + (wisp - 0.5f) * 0.12f;
            img.At(x, y) = Colour{g, g * 0.97f, g * 0.92f, 1};
        }
    return img;
}

Image Shot()
{
    Image img(32, 32, Colour{0, 0, 0, 1});
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            float d = std::hypot(x - 15.5f, y - 15.5f) / 22;
            img.At(x, y) = Mix(Rgb(255, 236, 150), Rgb(230, 120, 30), std::min(1.0f, d));
        }
    return img;
}

Image BulletHole()
{
    Image img(64, 64, Colour{0, 0, 0, 1});
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            float g = 0.45f + (TileFbm(x / 8.0f, y / 8.0f, 8, 3, 12) - 0.5f) * 0.2f;
            img.At(x, y) = Colour{g, g, g * 0.97f, 1};
        }
    Rng rng(3);
    for (int i = 0; i < 9; ++i) {
        float a = rng.Range(0, 6.283f), l = rng.Range(12, 26);
        img.Line(32, 32, 32 + std::cos(a) * l, 32 + std::sin(a) * l, 1.2f, Rgb(40, 40, 40, 0.8f));
    }
    img.FillCircle(32, 32, 11, Rgb(70, 68, 64));
    img.FillCircle(32, 32, 7, Rgb(16, 14, 12));
    img.FillCircle(30.5f, 30.5f, 3, Rgb(4, 4, 4));
    return img;
}

// The weapons' names, painted once per language.
void PaintWeaponNames(AssetPack& pack)
{
    Add(pack, "WeaponName01.dds", WeaponName(Say("マシンガン", "Machine gun"), Say("MACHINE GUN", "")), PictureDds);
    Add(pack, "WeaponName02.dds", WeaponName(Say("ライフル", "Rifle"), Say("RIFLE", "")), PictureDds);
    Add(pack, "WeaponName03.dds", WeaponName(Say("ハンドガン", "Handgun"), Say("HANDGUN", "")), PictureDds);
}
} // namespace

bool PaintPlayPictures(AssetPack& pack)
{
    Add(pack, "Fps.dds", FpsPanel(), PictureDds, true);
    Add(pack, "tama.bmp", Shot(), PictureBmp24, true);
    Add(pack, "Haikei_Sora.bmp", Sky(), PictureBmp24);
    Add(pack, "Haikei_Yuka.bmp", Ground(), PictureBmp24);
    Add(pack, "Haikei_Kabe.bmp", Wall(), PictureBmp24);
    Add(pack, "Window.dds", Window(), PictureDds);
    Add(pack, "TamaKazu.bmp", AmmoPanel(), PictureBmp24, true);
    Add(pack, "HP.bmp", HealthPanel(), PictureBmp24, true);
    Add(pack, "NoBitmap.bmp", Image(2, 2, Colour{1, 1, 1, 1}), PictureBmp24);
    Add(pack, "Dankon.bmp", BulletHole(), PictureBmp24);
    Add(pack, "Scope.bmp", Scope(), PictureBmp8, true);
    for (int i = 0; i < 6; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "Cursor%02d.dds", i + 1);
        Add(pack, name, Cursor(i), PictureDds);
        std::snprintf(name, sizeof name, "Cursor%02d_a.bmp", i + 1);
        Add(pack, name, CursorPreview(i), PictureBmp24, true);
    }
    PaintWeaponNames(pack);
    for (int i = 0; i < 8; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "Smoke/Smoke%02d.bmp", i + 1);
        Add(pack, name, Smoke(i), PictureBmp24, true);
    }
    PaintEnglish = true;
    PaintWeaponNames(pack);
    PaintEnglish = false;
    return true;
}

}  // namespace assetgen

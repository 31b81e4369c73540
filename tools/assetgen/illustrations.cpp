// Vector illustrations painted from polygons, circles and text.
#include "illustrations.h"

#include "font.h"
#include "paint_common.h"

#include <cmath>
#include <vector>

namespace assetgen {

namespace {
// Shapes in a unit frame: x 0..1 along the weapon, y in the same scale, bore at y 0, up negative.
std::vector<float> Place(std::initializer_list<float> pts, float x, float y, float len)
{
    std::vector<float> out;
    int i = 0;
    for (float v : pts) out.push_back((i++ % 2 == 0) ? x + v * len : y + v * len);
    return out;
}
} // namespace

void DrawWeaponSide(Image& img, int weapon, float x, float y, float len, Colour body, Colour detail)
{
    if (weapon == 0) {  // machine gun: stock, receiver, drum-less box magazine, shrouded barrel
        img.FillPolygon(Place({0.0f, -0.03f, 0.22f, -0.06f, 0.22f, 0.05f, 0.02f, 0.1f, 0.0f, 0.1f}, x, y, len), detail);
        img.FillPolygon(Place({0.2f, -0.07f, 0.62f, -0.07f, 0.62f, 0.05f, 0.2f, 0.05f}, x, y, len), body);
        img.FillPolygon(Place({0.3f, 0.05f, 0.36f, 0.05f, 0.34f, 0.17f, 0.28f, 0.16f}, x, y, len), detail);
        img.FillPolygon(Place({0.44f, 0.05f, 0.52f, 0.05f, 0.55f, 0.2f, 0.47f, 0.21f}, x, y, len), body);
        img.FillPolygon(Place({0.62f, -0.05f, 0.9f, -0.05f, 0.9f, 0.03f, 0.62f, 0.03f}, x, y, len), detail);
        img.FillPolygon(Place({0.9f, -0.025f, 1.0f, -0.025f, 1.0f, 0.01f, 0.9f, 0.01f}, x, y, len), body);
        img.FillPolygon(Place({0.34f, -0.1f, 0.5f, -0.1f, 0.5f, -0.07f, 0.34f, -0.07f}, x, y, len), detail);
        for (int i = 0; i < 6; ++i) {
            float hx = x + len * (0.65f + i * 0.04f);
            img.FillRect(hx, y - len * 0.035f, hx + len * 0.02f, y + len * 0.015f, WithAlpha(body, 0.9f));
        }
    } else if (weapon == 1) {  // rifle: long stock, bolt, scope
        img.FillPolygon(Place({0.0f, -0.02f, 0.3f, -0.03f, 0.36f, 0.02f, 0.3f, 0.05f, 0.06f, 0.08f, 0.0f, 0.08f}, x, y, len),
                        detail);
        img.FillPolygon(Place({0.3f, -0.035f, 0.62f, -0.035f, 0.62f, 0.03f, 0.3f, 0.03f}, x, y, len), body);
        img.FillPolygon(Place({0.4f, 0.03f, 0.46f, 0.03f, 0.45f, 0.1f, 0.39f, 0.1f}, x, y, len), body);
        img.FillPolygon(Place({0.62f, -0.015f, 1.0f, -0.012f, 1.0f, 0.008f, 0.62f, 0.012f}, x, y, len), body);
        img.FillPolygon(Place({0.3f, -0.1f, 0.6f, -0.1f, 0.6f, -0.065f, 0.3f, -0.065f}, x, y, len), detail);
        img.FillPolygon(Place({0.26f, -0.115f, 0.32f, -0.115f, 0.32f, -0.05f, 0.26f, -0.05f}, x, y, len), detail);
        img.FillPolygon(Place({0.58f, -0.115f, 0.64f, -0.115f, 0.64f, -0.05f, 0.58f, -0.05f}, x, y, len), detail);
        img.Line(x + len * 0.5f, y - len * 0.01f, x + len * 0.53f, y + len * 0.04f, len * 0.012f, detail);
    } else {  // handgun: slide, grip, trigger guard
        img.FillPolygon(Place({0.0f, -0.16f, 0.95f, -0.16f, 1.0f, -0.12f, 1.0f, 0.02f, 0.0f, 0.02f}, x, y, len), body);
        img.FillPolygon(Place({0.02f, 0.02f, 0.3f, 0.02f, 0.24f, 0.55f, 0.0f, 0.55f, -0.04f, 0.5f}, x, y, len), detail);
        img.FillPolygon(Place({0.3f, 0.02f, 0.62f, 0.02f, 0.62f, 0.08f, 0.3f, 0.08f}, x, y, len), detail);
        img.RingCircle(x + len * 0.38f, y + len * 0.12f, len * 0.08f, len * 0.025f, detail);
        for (int i = 0; i < 5; ++i) {
            float sx = x + len * (0.06f + i * 0.04f);
            img.FillRect(sx, y - len * 0.15f, sx + len * 0.015f, y - len * 0.02f, WithAlpha(detail, 0.8f));
        }
    }
}

void DrawKey(Image& img, float x, float y, float w, float h, const std::string& label, bool lit)
{
    Colour face = lit ? Rgb(60, 150, 200) : Rgb(44, 52, 66);
    img.FillRoundRect(x, y + 3, x + w, y + h + 3, 6, Rgb(8, 10, 14));
    img.FillRoundRect(x, y, x + w, y + h, 6, face);
    img.StrokeRoundRect(x, y, x + w, y + h, 6, 1.5f, lit ? Rgb(170, 230, 255) : Rgb(90, 100, 118));
    TextStyle st;
    st.Size = std::min(h * 0.5f, 22.0f);
    st.Fill = lit ? Rgb(250, 252, 254) : Palette::Dim;
    st.Face = FontGothic;
    st.Bold = lit ? 0.6f : 0;
    DrawTextCentred(img, label, x + w / 2, y + h * 0.5f + st.Size * 0.36f, st);
}

void DrawMouse(Image& img, float cx, float cy, float h, int hl)
{
    float w = h * 0.62f;
    float x0 = cx - w / 2, y0 = cy - h / 2;
    img.FillRoundRect(x0, y0, x0 + w, y0 + h, w * 0.45f, Rgb(48, 56, 70));
    img.StrokeRoundRect(x0, y0, x0 + w, y0 + h, w * 0.45f, 2, Rgb(120, 132, 150));
    Colour lit = Rgb(255, 150, 64, 0.9f), litR = Rgb(80, 208, 255, 0.9f);
    float split = y0 + h * 0.42f;
    if (hl & 1) img.FillPolygon({x0 + w * 0.08f, split, x0 + w * 0.08f, y0 + h * 0.12f, cx - 3, y0 + 3, cx - 3, split}, lit);
    if (hl & 2)
        img.FillPolygon({x0 + w * 0.92f, split, x0 + w * 0.92f, y0 + h * 0.12f, cx + 3, y0 + 3, cx + 3, split}, litR);
    img.Line(x0 + 4, split, x0 + w - 4, split, 2, Rgb(120, 132, 150));
    img.Line(cx, y0 + 2, cx, split, 2, Rgb(120, 132, 150));
    img.FillRoundRect(cx - w * 0.07f, y0 + h * 0.12f, cx + w * 0.07f, y0 + h * 0.3f, w * 0.06f,
                      (hl & 4) ? Rgb(140, 255, 140) : Rgb(150, 160, 175));
}

void DrawOrb(Image& img, float cx, float cy, float r, float eyeAngle)
{
    img.RadialGlow(cx, cy, r * 1.6f, Rgb(255, 60, 40, 0.25f));
    // body with painted light from the upper left
    for (int i = 0; i < 24; ++i) {
        float t = float(i) / 23;
        float rr = r * (1 - t * 0.85f);
        Colour c = Mix(Rgb(30, 34, 44), Rgb(150, 160, 178), t * t);
        img.FillCircle(cx - r * 0.35f * t, cy - r * 0.35f * t, rr, c);
    }
    img.RingCircle(cx, cy, r * 0.98f, 2, Rgb(10, 12, 16, 0.8f));
    // equator band and panel seams
    img.FillPolygon({cx - r * 0.98f, cy - r * 0.08f, cx + r * 0.98f, cy - r * 0.08f, cx + r * 0.98f, cy + r * 0.08f,
                     cx - r * 0.98f, cy + r * 0.08f},
                    Rgb(24, 28, 36, 0.85f));
    float ex = cx + std::cos(eyeAngle) * r * 0.45f, ey = cy + std::sin(eyeAngle) * r * 0.2f;
    img.FillCircle(ex, ey, r * 0.3f, Rgb(20, 10, 10));
    img.RadialGlow(ex, ey, r * 0.55f, Rgb(255, 80, 40, 0.8f));
    img.FillCircle(ex, ey, r * 0.17f, Rgb(255, 70, 40));
    img.FillCircle(ex, ey, r * 0.07f, Rgb(255, 230, 180));
}

void DrawConifer(Image& img, float x, float baseY, float h, Colour c)
{
    img.FillRect(x - h * 0.03f, baseY - h * 0.2f, x + h * 0.03f, baseY, c);
    for (int i = 0; i < 4; ++i) {
        float top = baseY - h * (0.45f + i * 0.18f);
        float bot = baseY - h * (0.12f + i * 0.17f);
        float half = h * (0.3f - i * 0.06f);
        img.FillPolygon({x, top - h * 0.12f, x + half, bot, x - half, bot}, c);
    }
}

}  // namespace assetgen

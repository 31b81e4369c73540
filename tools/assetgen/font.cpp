// FreeType glyph rendering into float pictures; faces are found by family name.
#include "font.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <cmath>
#include <cstdio>
#include <vector>

namespace assetgen {

namespace {
FT_Library Library = nullptr;
FT_Face Faces[2] = {nullptr, nullptr};

std::string FindFamily(const char* family)
{
    // IPAGothic calls itself dual-width, so match the family name rather than spacing.
    FcPattern* pat = FcNameParse(reinterpret_cast<const FcChar8*>(family));
    FcConfigSubstitute(nullptr, pat, FcMatchPattern);
    FcDefaultSubstitute(pat);
    FcResult result;
    FcPattern* match = FcFontMatch(nullptr, pat, &result);
    std::string path;
    if (match) {
        FcChar8* file = nullptr;
        FcChar8* fam = nullptr;
        if (FcPatternGetString(match, FC_FAMILY, 0, &fam) == FcResultMatch &&
            std::string(reinterpret_cast<char*>(fam)) == family &&
            FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch)
            path = reinterpret_cast<char*>(file);
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pat);
    return path;
}

std::vector<uint32_t> DecodeUtf8(const std::string& s)
{
    std::vector<uint32_t> out;
    for (size_t i = 0; i < s.size();) {
        unsigned char c = s[i];
        uint32_t cp;
        int n;
        if (c < 0x80) { cp = c; n = 1; }
        else if ((c >> 5) == 6) { cp = c & 0x1F; n = 2; }
        else if ((c >> 4) == 14) { cp = c & 0x0F; n = 3; }
        else { cp = c & 0x07; n = 4; }
        for (int k = 1; k < n && i + k < s.size(); ++k) cp = (cp << 6) | (s[i + k] & 0x3F);
        out.push_back(cp);
        i += n;
    }
    return out;
}

// Renders one glyph; calls plot(x, y, coverage) for every covered pixel. Returns the advance.
template <typename Plot>
float RenderGlyph(uint32_t cp, float x, float y, const TextStyle& st, float extra, Plot plot)
{
    FT_Face face = Faces[st.Face];
    FT_Set_Pixel_Sizes(face, 0, FT_UInt(std::lround(st.Size)));
    FT_UInt index = FT_Get_Char_Index(face, cp);
    if (FT_Load_Glyph(face, index, FT_LOAD_NO_BITMAP | FT_LOAD_NO_HINTING) != 0) return 0;
    float advance = face->glyph->advance.x / 64.0f;
    float stroke = st.Bold + extra;
    if (face->glyph->format == FT_GLYPH_FORMAT_OUTLINE && stroke > 0) {
        FT_Outline_Embolden(&face->glyph->outline, FT_Pos(stroke * 64));
        FT_Outline_Translate(&face->glyph->outline, -FT_Pos(stroke * 32), -FT_Pos(stroke * 32));
    }
    if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0) return advance + st.Bold;
    const FT_Bitmap& bm = face->glyph->bitmap;
    int ox = int(std::lround(x)) + face->glyph->bitmap_left;
    int oy = int(std::lround(y)) - face->glyph->bitmap_top;
    for (unsigned r = 0; r < bm.rows; ++r)
        for (unsigned c = 0; c < bm.width; ++c) {
            unsigned char v = bm.buffer[r * bm.pitch + c];
            if (v) plot(ox + int(c), oy + int(r), v / 255.0f);
        }
    return advance + st.Bold;
}

template <typename Plot>
float RenderString(const std::string& utf8, float x, float y, const TextStyle& st, float extra, Plot plot)
{
    float pen = x;
    for (uint32_t cp : DecodeUtf8(utf8)) pen += RenderGlyph(cp, pen, y, st, extra, plot);
    return pen - x;
}
} // namespace

bool LoadFonts()
{
    if (Library) return true;
    if (!FcInit()) return false;
    if (FT_Init_FreeType(&Library) != 0) return false;
    const char* families[2] = {"IPAGothic", "IPAPGothic"};
    for (int i = 0; i < 2; ++i) {
        std::string path = FindFamily(families[i]);
        if (path.empty() || FT_New_Face(Library, path.c_str(), 0, &Faces[i]) != 0) {
            std::fprintf(stderr, "assetgen: font %s not found\n", families[i]);
            return false;
        }
    }
    return true;
}

void UnloadFonts()
{
    for (FT_Face& f : Faces)
        if (f) {
            FT_Done_Face(f);
            f = nullptr;
        }
    if (Library) FT_Done_FreeType(Library);
    Library = nullptr;
}

float DrawText(Image& img, const std::string& utf8, float x, float y, const TextStyle& st)
{
    if (st.Shadow > 0)
        RenderString(utf8, x + st.Shadow, y + st.Shadow, st, st.Outline * 2,
                     [&](int px, int py, float a) { img.Blend(px, py, st.ShadowColour, a); });
    if (st.Outline > 0)
        RenderString(utf8, x, y, st, st.Outline * 2,
                     [&](int px, int py, float a) { img.Blend(px, py, st.OutlineColour, a); });
    return RenderString(utf8, x, y, st, 0, [&](int px, int py, float a) { img.Blend(px, py, st.Fill, a); });
}

float TextWidth(const std::string& utf8, const TextStyle& st)
{
    return RenderString(utf8, 0, 0, st, 0, [](int, int, float) {});
}

void DrawTextCentred(Image& img, const std::string& utf8, float cx, float y, const TextStyle& st)
{
    DrawText(img, utf8, cx - TextWidth(utf8, st) / 2, y, st);
}

void DrawTextGradient(Image& img, const std::string& utf8, float x, float y, const TextStyle& st, Colour top,
                      Colour bottom)
{
    TextStyle under = st;
    under.Fill = Colour{0, 0, 0, 0};
    DrawText(img, utf8, x, y, under);  // shadow and outline only
    float y0 = y - st.Size * 0.85f, y1 = y + st.Size * 0.1f;
    RenderString(utf8, x, y, st, 0, [&](int px, int py, float a) {
        float t = (py - y0) / (y1 - y0);
        t = t < 0 ? 0 : (t > 1 ? 1 : t);
        img.Blend(px, py, Mix(top, bottom, t), a);
    });
}

}  // namespace assetgen

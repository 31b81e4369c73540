// Every picture decodes with stb_image or a plain DDS reading; keyed white marks only transparency.
#include "asset_readers.h"

#include <gtest/gtest.h>

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

#include <cmath>
#include <filesystem>

namespace fs = std::filesystem;

class AssetPictures : public PackInGameDir {};

namespace {
struct Picture {
    int Width = 0, Height = 0;
    std::vector<uint8_t> Rgb;
    bool White(int x, int y) const
    {
        const uint8_t* p = &Rgb[(size_t(y) * Width + x) * 3];
        return p[0] == 255 && p[1] == 255 && p[2] == 255;
    }
    size_t CountWhite() const
    {
        size_t n = 0;
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x) n += White(x, y);
        return n;
    }
};

Picture LoadBmp(const std::string& rel)
{
    Picture p;
    std::vector<uint8_t> bytes = ReadBytes(GameDir() + "/File/" + rel);
    int comp = 0;
    unsigned char* data = stbi_load_from_memory(bytes.data(), int(bytes.size()), &p.Width, &p.Height, &comp, 3);
    if (data) {
        p.Rgb.assign(data, data + size_t(p.Width) * p.Height * 3);
        stbi_image_free(data);
    }
    return p;
}

DdsPicture LoadDds(const std::string& rel) { return ReadDds(ReadBytes(GameDir() + "/File/" + rel)); }
uint8_t Alpha(const DdsPicture& d, int x, int y) { return d.Argb[(size_t(y) * d.Width + x) * 4 + 3]; }
} // namespace

TEST_F(AssetPictures, EveryBmpDecodesAsPalettedOrTrueColour)
{
    int count = 0;
    for (const auto& e : fs::recursive_directory_iterator(GameDir() + "/File"))
        if (e.path().extension() == ".bmp") {
            std::vector<uint8_t> b = ReadBytes(e.path().string());
            ASSERT_GT(b.size(), 54u) << e.path();
            int bits = b[28] | b[29] << 8;
            EXPECT_TRUE(bits == 8 || bits == 24) << e.path() << " has " << bits << " bits";
            Picture p = LoadBmp(fs::relative(e.path(), GameDir() + "/File").generic_string());
            EXPECT_GT(p.Width, 0) << e.path() << ": " << stbi_failure_reason();
            ++count;
        }
    EXPECT_EQ(count, 46 + 6 + 19);  // below Bitmap/, the model pictures, the English ones
}

TEST_F(AssetPictures, EveryDdsHasAValidHeaderAndSize)
{
    const char* files[] = {"Title.dds",    "TitleBack.dds", "Fps.dds",      "Window.dds",       "Cursor01.dds",
                           "Cursor02.dds", "Cursor03.dds",  "Cursor04.dds", "Cursor05.dds",     "Cursor06.dds",
                           "WeaponName01.dds", "WeaponName02.dds", "WeaponName03.dds"};
    for (const char* f : files) {
        DdsPicture d = LoadDds(std::string("Bitmap/") + f);
        EXPECT_TRUE(d.Ok) << f;
        EXPECT_GT(d.Width, 0) << f;
    }
    // The logo lies over the background, so it needs alpha; the background does not.
    EXPECT_EQ(LoadDds("Bitmap/Title.dds").Format, "DXT5");
    EXPECT_EQ(LoadDds("Bitmap/TitleBack.dds").Format, "DXT1");
}

TEST_F(AssetPictures, OverlaysAreTransparentWhereTheWorldShows)
{
    DdsPicture frame = LoadDds("Bitmap/Window.dds");
    ASSERT_EQ(frame.Format, "ARGB");
    EXPECT_EQ(Alpha(frame, frame.Width / 2, frame.Height / 2), 0);
    EXPECT_GT(Alpha(frame, frame.Width / 2, frame.Height - 2), 64);  // the bar under the panels
    for (int i = 1; i <= 6; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "Bitmap/Cursor%02d.dds", i);
        DdsPicture c = LoadDds(name);
        ASSERT_EQ(c.Format, "ARGB") << name;
        EXPECT_EQ(Alpha(c, 0, 0), 0) << name;
        int opaque = 0;
        for (int k = 0; k < c.Width * c.Height; ++k) opaque += c.Argb[k * 4 + 3] == 255;
        EXPECT_GT(opaque, 20) << name;
    }
}

TEST_F(AssetPictures, KeyedPicturesUseWhiteOnlyForTransparency)
{
    // Scope: the lens is keyed out, the surround stays black.
    Picture scope = LoadBmp("Bitmap/Scope.bmp");
    ASSERT_GT(scope.Width, 0);
    EXPECT_TRUE(scope.White(scope.Width / 2 + 30, scope.Height / 2 + 30));
    EXPECT_FALSE(scope.White(2, 2));
    EXPECT_FALSE(scope.White(scope.Width / 2, scope.Height / 2));  // the crosshair
    // Panels: the corners show the world, the number area is solid.
    Picture ammo = LoadBmp("Bitmap/TamaKazu.bmp");
    EXPECT_TRUE(ammo.White(0, 0));
    EXPECT_FALSE(ammo.White(120, 60));
    Picture hp = LoadBmp("Bitmap/HP.bmp");
    EXPECT_FALSE(hp.White(40, 16));
    // The tree's bark has no key colour; its crown cards are keyed around the foliage.
    Picture tree = LoadBmp("XFile/Texture/Tree.bmp");
    ASSERT_EQ(tree.Width, 256);
    for (int y = 0; y < tree.Height; ++y)
        for (int x = 0; x < tree.Width / 4; ++x) ASSERT_FALSE(tree.White(x, y)) << x << "," << y;
    EXPECT_TRUE(tree.White(70, 4));
    EXPECT_FALSE(tree.White(160, 120));
    // The keyed FPS badge: white where it is transparent, the plate itself never white.
    DdsPicture fps = LoadDds("Bitmap/Fps.dds");
    ASSERT_EQ(fps.Format, "ARGB");
    auto white = [&](int x, int y) {
        const uint8_t* t = &fps.Argb[(size_t(y) * fps.Width + x) * 4];
        return t[0] == 255 && t[1] == 255 && t[2] == 255 && t[3] == 255;
    };
    EXPECT_TRUE(white(fps.Width - 1, fps.Height - 1));
    EXPECT_FALSE(white(30, 15));
    // Plain pictures that are shown opaque carry no stray key white.
    for (const char* f : {"Bitmap/tama.bmp", "XFile/Texture/Ball.bmp", "XFile/Texture/Machinegun.bmp"})
        EXPECT_EQ(LoadBmp(f).CountWhite(), 0u) << f;
    // The blank picture is white all over: it is tinted for the screen flash.
    Picture blank = LoadBmp("Bitmap/NoBitmap.bmp");
    EXPECT_EQ(blank.CountWhite(), size_t(blank.Width) * blank.Height);
}

TEST_F(AssetPictures, SmokeFramesGrowAndThinOut)
{
    int lastWidth = 0;
    size_t firstSolid = 0, lastSolid = 0;
    for (int i = 1; i <= 8; ++i) {
        char name[40];
        std::snprintf(name, sizeof name, "Bitmap/Smoke/Smoke%02d.bmp", i);
        Picture p = LoadBmp(name);
        ASSERT_GT(p.Width, 0) << name;
        EXPECT_TRUE(p.White(0, 0)) << name;
        int x0 = p.Width, x1 = -1;
        for (int y = 0; y < p.Height; ++y)
            for (int x = 0; x < p.Width; ++x)
                if (!p.White(x, y)) {
                    x0 = std::min(x0, x);
                    x1 = std::max(x1, x);
                }
        int width = x1 - x0 + 1;
        EXPECT_GE(width, lastWidth) << name;
        lastWidth = width;
        size_t solid = size_t(p.Width) * p.Height - p.CountWhite();
        if (i == 1) firstSolid = solid;
        lastSolid = solid;
    }
    // The last puff is wider but not simply a bigger blot: it has broken up.
    EXPECT_LT(double(lastSolid) / (lastWidth * lastWidth), 0.75);
    EXPECT_GT(firstSolid, 0u);
}

TEST_F(AssetPictures, ScreensKeepTheScreenShapeAndMenuItemsHaveTwoStates)
{
    for (const char* f : {"Bitmap/GameOver.bmp", "Bitmap/Record.bmp", "Bitmap/Setting.bmp", "Bitmap/Credit.bmp",
                          "Bitmap/Operation01.bmp", "Bitmap/Operation02.bmp", "Bitmap/Operation03.bmp"}) {
        Picture p = LoadBmp(f);
        ASSERT_GT(p.Height, 0) << f;
        // The backdrop quad is 12800 x 10000 units.
        EXPECT_NEAR(double(p.Width) / p.Height, 1.28, 0.02) << f;
    }
    for (int i = 1; i <= 6; ++i) {
        char a[32], b[32];
        std::snprintf(a, sizeof a, "Bitmap/Menu%da.bmp", i);
        std::snprintf(b, sizeof b, "Bitmap/Menu%db.bmp", i);
        Picture pa = LoadBmp(a), pb = LoadBmp(b);
        EXPECT_EQ(pa.Width, pb.Width);
        EXPECT_NE(pa.Rgb, pb.Rgb) << a;
    }
}

TEST_F(AssetPictures, FrameLeavesTheFrameCounterCornerPlain)
{
    // The counter's badge covers 1.3 to 11.4 % across and 0.2 to 4.6 % down the screen, where
    // the frame has only its band and edge line: no lettering or ticks under the badge.
    DdsPicture frame = LoadDds("Bitmap/Window.dds");
    ASSERT_EQ(frame.Format, "ARGB");
    int bright = 0;
    for (int y = 0; y < frame.Height * 5 / 100; ++y)
        for (int x = 0; x < frame.Width * 12 / 100; ++x) {
            const uint8_t* c = &frame.Argb[(size_t(y) * frame.Width + x) * 4];
            bright += c[2] > 150;  // red: the line along the band has little
        }
    EXPECT_EQ(bright, 0);
}

TEST_F(AssetPictures, TitleLogoLeavesTheMenuAreaClear)
{
    std::vector<uint8_t> bytes = ReadBytes(GameDir() + "/File/Bitmap/Title.dds");
    DdsPicture d = ReadDds(bytes);
    std::vector<uint8_t> alpha = DecodeDxt5Alpha(bytes);
    ASSERT_EQ(alpha.size(), size_t(d.Width) * d.Height);
    // The menu slides in over the lower part of the screen, from 58 % of the height down.
    size_t covered = 0, total = 0;
    for (int y = d.Height * 58 / 100; y < d.Height; ++y)
        for (int x = 0; x < d.Width; ++x, ++total) covered += alpha[size_t(y) * d.Width + x] > 16;
    EXPECT_LT(double(covered) / total, 0.01);
    size_t logo = 0;
    for (int y = d.Height / 10; y < d.Height * 35 / 100; ++y)
        for (int x = 0; x < d.Width; ++x) logo += alpha[size_t(y) * d.Width + x] == 255;
    EXPECT_GT(logo, size_t(d.Width) * d.Height / 40);
}

TEST_F(AssetPictures, ScopeLensIsRoundOnTheScreen)
{
    Picture scope = LoadBmp("Bitmap/Scope.bmp");
    ASSERT_GT(scope.Width, 0);
    int row = scope.Height / 2 - 40, col = scope.Width / 2 - 40;  // clear of the crosshair
    int w = 0, h = 0;
    for (int x = 0; x < scope.Width; ++x) w += scope.White(x, row);
    for (int y = 0; y < scope.Height; ++y) h += scope.White(col, y);
    // The picture covers the 1.35 x 1.084 screen quad: scale pixels to screen units.
    double across = w * 1.35 / scope.Width, down = h * 1.084 / scope.Height;
    double r = std::sqrt(double(w / 2) * (w / 2) + 40.0 * 40) * 1.35 / scope.Width;  // radius from the chord
    double r2 = std::sqrt(double(h / 2) * (h / 2) + 40.0 * 40) * 1.084 / scope.Height;
    EXPECT_NEAR(r, r2, 0.01) << across << " x " << down;
}

namespace {
float Luminance(const Picture& p, float fx0, float fy0, float fx1, float fy1)
{
    double sum = 0;
    int n = 0;
    for (int y = int(fy0 * p.Height); y < int(fy1 * p.Height); ++y)
        for (int x = int(fx0 * p.Width); x < int(fx1 * p.Width); ++x, ++n) {
            const uint8_t* c = &p.Rgb[(size_t(y) * p.Width + x) * 3];
            sum += (0.3 * c[0] + 0.59 * c[1] + 0.11 * c[2]) / 255;
        }
    return n ? float(sum / n) : 1.0f;
}
} // namespace

TEST_F(AssetPictures, BackdropsAreDarkWhereTheScreensPrintRedAndYellowText)
{
    // Where the game-over and ranking screens place their red text panels (screen fractions).
    Picture over = LoadBmp("Bitmap/GameOver.bmp");
    EXPECT_LT(Luminance(over, 0.53f, 0.33f, 0.84f, 0.46f), 0.2f);  // hits / shots
    EXPECT_LT(Luminance(over, 0.53f, 0.56f, 0.84f, 0.69f), 0.2f);  // hit rate
    Picture record = LoadBmp("Bitmap/Record.bmp");
    for (float y : {0.2586f, 0.3860f, 0.5134f, 0.6408f, 0.7682f})
        EXPECT_LT(Luminance(record, 0.16f, y - 0.04f, 0.75f, y + 0.04f), 0.2f) << y;
    // The yellow page label of the operation pages runs along the bottom edge.
    for (const char* f : {"Bitmap/Operation01.bmp", "Bitmap/Operation02.bmp", "Bitmap/Operation03.bmp"})
        EXPECT_LT(Luminance(LoadBmp(f), 0.2f, 0.93f, 0.8f, 1.0f), 0.15f) << f;
}

namespace {
// Colour step across the wrap (last column to first, last row to first) against the average
// step between neighbouring columns or rows inside the picture.
void ExpectTiles(const Picture& p, const std::string& name, bool rows)
{
    auto step = [&](int x0, int y0, int x1, int y1) {
        const uint8_t* a = &p.Rgb[(size_t(y0) * p.Width + x0) * 3];
        const uint8_t* b = &p.Rgb[(size_t(y1) * p.Width + x1) * 3];
        return std::abs(a[0] - b[0]) + std::abs(a[1] - b[1]) + std::abs(a[2] - b[2]);
    };
    double inside = 0, wrap = 0;
    for (int y = 0; y < p.Height; ++y) {
        wrap += step(p.Width - 1, y, 0, y);
        for (int x = 1; x < p.Width; ++x) inside += step(x - 1, y, x, y);
    }
    inside /= p.Width - 1;
    EXPECT_LT(wrap, inside * 2 + p.Height * 0.5) << name << " shows a seam between tiles side by side";
    if (!rows) return;
    wrap = inside = 0;
    for (int x = 0; x < p.Width; ++x) {
        wrap += step(x, p.Height - 1, x, 0);
        for (int y = 1; y < p.Height; ++y) inside += step(x, y - 1, x, y);
    }
    inside /= p.Height - 1;
    EXPECT_LT(wrap, inside * 2 + p.Width * 0.5) << name << " shows a seam between tiles stacked";
}
} // namespace

TEST_F(AssetPictures, ArenaAndSkyPicturesTileWithoutSeams)
{
    ExpectTiles(LoadBmp("Bitmap/Haikei_Yuka.bmp"), "ground", true);
    ExpectTiles(LoadBmp("Bitmap/Haikei_Kabe.bmp"), "wall", true);
    ExpectTiles(LoadBmp("Bitmap/Haikei_Sora.bmp"), "sky", true);
    // Wrapped round spheres: only the left and right edges meet.
    ExpectTiles(LoadBmp("XFile/Texture/SkyDoom.bmp"), "sky dome", false);
    ExpectTiles(LoadBmp("XFile/Texture/Ball.bmp"), "enemy shell", false);
}

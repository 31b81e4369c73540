// The `contact-sheet` sub-command: every picture and a software render of every model in one PNG.
#include "commands.h"
#include "font.h"
#include "pack.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace assetgen {

namespace {
struct Matrix {
    float M[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
};

Matrix operator*(const Matrix& a, const Matrix& b)
{
    Matrix r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            r.M[i][j] = 0;
            for (int k = 0; k < 4; ++k) r.M[i][j] += a.M[i][k] * b.M[k][j];
        }
    return r;
}

const float Rad = 0.017453292f;

// Row-vector matrices as the game composes them.
Matrix RotX(float deg)
{
    Matrix m;
    float c = std::cos(deg * Rad), s = std::sin(deg * Rad);
    m.M[1][1] = c;
    m.M[1][2] = s;
    m.M[2][1] = -s;
    m.M[2][2] = c;
    return m;
}
Matrix RotY(float deg)
{
    Matrix m;
    float c = std::cos(deg * Rad), s = std::sin(deg * Rad);
    m.M[0][0] = c;
    m.M[0][2] = -s;
    m.M[2][0] = s;
    m.M[2][2] = c;
    return m;
}
Matrix Scale(float s)
{
    Matrix m;
    m.M[0][0] = m.M[1][1] = m.M[2][2] = s;
    return m;
}
Matrix Move(Vec3 v)
{
    Matrix m;
    m.M[3][0] = v.X;
    m.M[3][1] = v.Y;
    m.M[3][2] = v.Z;
    return m;
}
Vec3 Apply(const Matrix& m, Vec3 v, float w = 1)
{
    return {v.X * m.M[0][0] + v.Y * m.M[1][0] + v.Z * m.M[2][0] + w * m.M[3][0],
            v.X * m.M[0][1] + v.Y * m.M[1][1] + v.Z * m.M[2][1] + w * m.M[3][1],
            v.X * m.M[0][2] + v.Y * m.M[1][2] + v.Z * m.M[2][2] + w * m.M[3][2]};
}

struct Target {
    Image Colour_;
    std::vector<float> Depth;
};

struct ScreenVertex {
    float X, Y, InvZ, U, V;
    Colour Light;
};

// Direct3D-style lighting of the weapon: emissive plus the two scene lights.
Colour LightVertex(const MeshMaterial& mat, Vec3 p, Vec3 n)
{
    Vec3 l0 = Normalise(Vec3{0, 1000, 500} - p), l1 = Normalise(Vec3{0, 10, 5});
    float d = 50 * std::max(0.0f, Dot(n, l0)) + 5 * std::max(0.0f, Dot(n, l1));
    Vec3 h = Normalise(l0 + Normalise(p * -1.0f));
    float highlight = 11 * std::pow(std::max(0.0f, Dot(n, h)), mat.Power);
    auto ch = [&](int i) { return std::min(1.0f, mat.Emissive[i] + mat.Diffuse[i] * d + mat.Specular[i] * highlight); };
    return Colour{ch(0), ch(1), ch(2), 1};
}

// Linear fog on eye depth as the play scene sets it (3000 to 12000, colour 0xCCCCDD); off when end is 0.
struct Fog {
    float Start = 0, End = 0;
    Colour Tint = Rgb(0xCC, 0xCC, 0xDD);
};

void RenderMesh(Target& t, const Mesh& mesh, const Image* tex, bool keyed, const Matrix& world, float fovDeg, bool lit,
                Fog fog = Fog())
{
    Image& img = t.Colour_;
    float ys = 1 / std::tan(fovDeg * Rad / 2), xs = ys / (float(img.Width) / img.Height);
    std::vector<ScreenVertex> sv(mesh.Vertices.size());
    std::vector<bool> behind(mesh.Vertices.size());
    for (size_t i = 0; i < mesh.Vertices.size(); ++i) {
        const MeshVertex& v = mesh.Vertices[i];
        Vec3 p = Apply(world, v.Position);
        Vec3 n = Normalise(Apply(world, v.Normal, 0));
        behind[i] = p.Z < 0.05f;
        float z = std::max(p.Z, 0.05f);
        sv[i] = {(p.X * xs / z * 0.5f + 0.5f) * img.Width, (0.5f - p.Y * ys / z * 0.5f) * img.Height, 1 / z,
                 v.U, v.V, Colour{1, 1, 1, 1}};
        if (lit) sv[i].Light = LightVertex(mesh.Materials[0], p, n);
    }
    for (size_t f = 0; f * 3 < mesh.Indices.size(); ++f) {
        int ia = mesh.Indices[f * 3], ib = mesh.Indices[f * 3 + 1], ic = mesh.Indices[f * 3 + 2];
        if (behind[ia] || behind[ib] || behind[ic]) continue;
        const MeshMaterial& mat = mesh.Materials[mesh.FaceMaterial[f]];
        ScreenVertex a = sv[ia], b = sv[ib], c = sv[ic];
        if (lit) {
            // per-material lighting: recompute with this face's material
            for (auto [dst, idx] : {std::pair<ScreenVertex*, int>{&a, ia}, {&b, ib}, {&c, ic}}) {
                Vec3 p = Apply(world, mesh.Vertices[idx].Position);
                dst->Light = LightVertex(mat, p, Normalise(Apply(world, mesh.Vertices[idx].Normal, 0)));
            }
        }
        float area = (b.X - a.X) * (c.Y - a.Y) - (b.Y - a.Y) * (c.X - a.X);
        if (std::fabs(area) < 1e-6f) continue;
        int x0 = std::max(0, int(std::floor(std::min({a.X, b.X, c.X}))));
        int x1 = std::min(img.Width - 1, int(std::ceil(std::max({a.X, b.X, c.X}))));
        int y0 = std::max(0, int(std::floor(std::min({a.Y, b.Y, c.Y}))));
        int y1 = std::min(img.Height - 1, int(std::ceil(std::max({a.Y, b.Y, c.Y}))));
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                float px = x + 0.5f, py = y + 0.5f;
                float w0 = ((b.X - px) * (c.Y - py) - (b.Y - py) * (c.X - px)) / area;
                float w1 = ((c.X - px) * (a.Y - py) - (c.Y - py) * (a.X - px)) / area;
                float w2 = 1 - w0 - w1;
                if (w0 < 0 || w1 < 0 || w2 < 0) continue;
                float iz = w0 * a.InvZ + w1 * b.InvZ + w2 * c.InvZ;
                float& depth = t.Depth[size_t(y) * img.Width + x];
                if (iz <= depth) continue;
                float u = (w0 * a.U * a.InvZ + w1 * b.U * b.InvZ + w2 * c.U * c.InvZ) / iz;
                float v = (w0 * a.V * a.InvZ + w1 * b.V * b.InvZ + w2 * c.V * c.InvZ) / iz;
                Colour texel{1, 1, 1, 1};
                if (tex) {
                    int tx = std::clamp(int((u - std::floor(u)) * tex->Width), 0, tex->Width - 1);
                    int ty = std::clamp(int((v - std::floor(v)) * tex->Height), 0, tex->Height - 1);
                    texel = tex->At(tx, ty);
                    if (keyed && texel.A < 0.5f) continue;
                }
                Colour l = Mix(Mix(a.Light, b.Light, w1 / std::max(1e-6f, w0 + w1)), c.Light, w2);
                depth = iz;
                Colour c{texel.R * l.R, texel.G * l.G, texel.B * l.B, 1};
                if (fog.End > 0) c = Mix(c, fog.Tint, std::clamp((1 / iz - fog.Start) / (fog.End - fog.Start), 0.0f, 1.0f));
                img.At(x, y) = c;
            }
    }
}

Target NewTarget(int w, int h, Colour top, Colour bottom)
{
    Target t{Image(w, h, Colour{0, 0, 0, 1}), std::vector<float>(size_t(w) * h, 0.0f)};
    t.Colour_.VerticalGradient(0, float(h), top, bottom);
    return t;
}

void Label(Image& sheet, const std::string& text, float x, float y)
{
    TextStyle st;
    st.Size = 13;
    st.Face = FontGothic;
    st.Fill = Rgb(220, 226, 236);
    DrawText(sheet, text, x, y, st);
}

std::string Base(const std::string& path) { return path.substr(std::string("File/").size()); }

// The picture bound to a model, or none (drawn untextured, as the game does).
const Image* ModelPicture(const AssetPack& pack, const ModelAsset& m)
{
    const PictureAsset* p = m.TexturePath.empty() ? nullptr : pack.FindPicture(m.TexturePath);
    return p ? &p->Picture : nullptr;
}

// ---- Screen mock-ups: pictures placed where the screens draw their quads (45 degrees, 5:4).
const int MockW = 640, MockH = 512;

Image Shown(const PictureAsset& p)
{
    Image img = p.Picture;
    if (p.Keyed)
        for (Colour& c : img.Pixels) c.A = c.A < 0.5f ? 0.0f : 1.0f;
    return img;
}

// A quad of half-size (hw, hh) centred at (x, y) at depth z, as the camera sees it.
void Quad(Image& screen, const Image& tex, float x, float y, float z, float hw, float hh, float alpha = 1)
{
    float t = std::tan(22.5f * Rad);
    float sx = MockW / 2.0f / (z * t * 1.25f), sy = MockH / 2.0f / (z * t);
    screen.Draw(tex, MockW / 2.0f + (x - hw) * sx, MockH / 2.0f - (y + hh) * sy, 2 * hw * sx, 2 * hh * sy, alpha);
}

// A text panel as the game renders it: background at the top-left, text from (left, top).
Image Panel(int w, int h, const Image* background, const std::string& text, float left, float top, float height,
            Colour colour)
{
    Image panel(w, h, Colour{0, 0, 0, 0});
    if (background) panel.Draw(*background, 0, 0, float(background->Width), float(background->Height));
    TextStyle st;
    st.Size = height;
    st.Face = FontGothic;
    st.Fill = colour;
    DrawText(panel, text, left, top + height * 0.86f, st);
    return panel;
}

// The arena as the play frame draws it: sky dome, ground and walls with the normal repeats,
// trees, two enemies, then the machine gun in hand.
Image PlayView(const AssetPack& pack)
{
    Target t = NewTarget(MockW, MockH, Rgb(0xCC, 0xCC, 0xDD), Rgb(0xCC, 0xCC, 0xDD));
    auto model = [&](const std::string& name) -> const ModelAsset& {
        for (const ModelAsset& m : pack.Models)
            if (m.Path == "File/XFile/" + name) return m;
        return pack.Models[0];
    };
    auto tex = [&](const ModelAsset& m) { return ModelPicture(pack, m); };
    const Vec3 eye{0, 230, -2500};
    const float yaw = 12, pitch = 4;
    Matrix view = Move(eye * -1.0f) * RotY(yaw) * RotX(pitch);
    Fog fog{3000, 12000};
    const ModelAsset& dome = model("SkyDoom.x");
    RenderMesh(t, dome.Model, tex(dome), false, Scale(10000) * Move({0, -5000, 0}) * view, 45, false, fog);
    // The renderer drops triangles that reach behind the camera, so the box is cut into cells.
    Mesh ground, walls;
    ground.Name = walls.Name = "Arena";
    ground.AddMaterial(MeshMaterial());
    walls.AddMaterial(MeshMaterial());
    const int cells = 30;
    for (int i = 0; i < cells; ++i)
        for (int j = 0; j < cells; ++j) {
            float x0 = -6000 + 12000.0f * i / cells, x1 = x0 + 12000.0f / cells;
            float z0 = -6000 + 12000.0f * j / cells, z1 = z0 + 12000.0f / cells;
            const float uv[4] = {15.0f * i / cells, 15.0f * j / cells, 15.0f * (i + 1) / cells, 15.0f * (j + 1) / cells};
            ground.AddQuad({x0, -30, z0}, {x1, -30, z0}, {x1, -30, z1}, {x0, -30, z1}, 0, uv, false);
        }
    const float corners[5][2] = {{-6000, 6000}, {6000, 6000}, {6000, -6000}, {-6000, -6000}, {-6000, 6000}};
    for (int w = 0; w < 4; ++w)
        for (int i = 0; i < cells; ++i) {
            float a = float(i) / cells, b = float(i + 1) / cells;
            Vec3 p0{corners[w][0] + (corners[w + 1][0] - corners[w][0]) * a, -30,
                    corners[w][1] + (corners[w + 1][1] - corners[w][1]) * a};
            Vec3 p1{corners[w][0] + (corners[w + 1][0] - corners[w][0]) * b, -30,
                    corners[w][1] + (corners[w + 1][1] - corners[w][1]) * b};
            const float uv[4] = {5 * a, 0, 5 * b, 2};
            walls.AddQuad(p0, p1, p1 + Vec3{0, 1530, 0}, p0 + Vec3{0, 1530, 0}, 0, uv, false);
        }
    RenderMesh(t, ground, &pack.FindPicture("File/Bitmap/Haikei_Yuka.bmp")->Picture, false, view, 45, false, fog);
    RenderMesh(t, walls, &pack.FindPicture("File/Bitmap/Haikei_Kabe.bmp")->Picture, false, view, 45, false, fog);
    const float trees[][3] = {{607, 1392, 40},    {-1012, 1471, 200}, {1729, 3933, 90}, {2454, 3398, 300},
                              {-2019, 3891, 10},  {4958, 3874, 150},  {-1017, 979, 260}, {3008, 159, 30},
                              {-2469, 157, 120},  {5000, 5000, 0},    {4500, 5500, 70},  {5500, 4500, 230}};
    const ModelAsset& tree = model("Tree.x");
    for (auto& tr : trees)
        RenderMesh(t, tree.Model, tex(tree), true, RotY(tr[2]) * Scale(800) * Move({tr[0], 0, tr[1]}) * view, 45, false, fog);
    const ModelAsset& ball = model("Ball.x");
    RenderMesh(t, ball.Model, tex(ball), false, RotY(80) * Scale(25) * Move({-300, 420, 600}) * view, 45, false, fog);
    RenderMesh(t, ball.Model, tex(ball), false, RotY(120) * Scale(25) * Move({900, 700, 3200}) * view, 45, false, fog);
    const ModelAsset& gun = model("Machinegun.x");
    RenderMesh(t, gun.Model, tex(gun), false, RotY(180) * RotX(-3) * Scale(0.5f) * Move({2.5f, -3, 7}), 45, true);
    return t.Colour_;
}

std::vector<Image> ScreenMocks(const AssetPack& pack)
{
    auto pic = [&](const std::string& name) { return Shown(*pack.FindPicture("File/Bitmap/" + name)); };
    std::vector<Image> out;
    const Colour red{1, 0, 0, 1};
    {  // title with the menu in place, the second item hovered
        Image s(MockW, MockH, Rgb(20, 20, 20));
        Quad(s, pic("TitleBack.dds"), 0, 0, 12000, 6400, 5000);
        Quad(s, pic("Title.dds"), 0, 0, 12000, 6400, 5000);
        for (int k = 0; k < 6; ++k) {
            float x = -500.0f + (k % 3) * 500, y = k < 3 ? -200.0f : -430.0f;
            std::string name = "Menu" + std::to_string(k + 1) + (k == 1 ? "b" : "a") + ".bmp";
            Quad(s, pic(name), x, y, 1500, 200, 100);
        }
        out.push_back(std::move(s));
    }
    Image menu0 = pic("Menu0.bmp");
    {  // game over with its three panels
        Image s(MockW, MockH, Rgb(20, 20, 20));
        Quad(s, pic("GameOver.bmp"), 0, 0, 12200, 6400, 5000);
        Quad(s, Panel(256, 128, &menu0, "17", 20, 15, 120, red), 800, -850, 3000, 400, 200, 0.8f);
        Quad(s, Panel(512, 64, nullptr, "123/456", 0, 0, 50, red), 1500, 230, 3000, 1400, 200, 0.8f);
        Quad(s, Panel(512, 64, nullptr, "26.97％", 0, 0, 50, red), 1500, -330, 3000, 1400, 200, 0.8f);
        out.push_back(std::move(s));
    }
    {  // ranking
        Image s(MockW, MockH, Rgb(20, 20, 20));
        Quad(s, pic("Record.bmp"), 0, 0, 12200, 6400, 5000);
        const float ys[5] = {900, 425, -50, -525, -1000};
        const char* names[5] = {"コルヴィド", "No Name", "ＡＢＣ", "No Name", "No Name"};
        for (int i = 0; i < 5; ++i) {
            Quad(s, Panel(512, 64, nullptr, names[i], 10, 5, 60, Colour{1, 0.12f * i, 0.06f * i, 1}), -200, ys[i], 4500,
                 1400, 200, 0.8f);
            Quad(s, Panel(256, 128, &menu0, std::to_string(50 - i * 7), 20, 15, 120, red), 1800, ys[i], 4500, 400, 200,
                 0.8f);
        }
        Quad(s, Panel(256, 128, &menu0, "12", 20, 15, 120, red), -600, -1350, 4000, 400, 200, 0.8f);
        out.push_back(std::move(s));
    }
    {  // an operation page with its label
        Image s(MockW, MockH, Rgb(20, 20, 20));
        Quad(s, pic("Operation01.bmp"), 0, 0, 12200, 6400, 5000);
        Image blank = pic("NoBitmap.bmp");
        Quad(s, Panel(512, 64, &blank, "←右クリック　左クリック→　[ 1 / 3 ]", 0, 0, 28, Colour{1, 1, 0, 1}), 0, -1800,
             4500, 1400, 200);
        out.push_back(std::move(s));
    }
    {  // the play scene: world, weapon and overlays
        Image s = PlayView(pack);
        Image ammoBack = pic("TamaKazu.bmp"), hpBack = pic("HP.bmp");
        Quad(s, pic("Window.dds"), 0, 0, 1.3f, 0.675f, 0.542f, 0.667f);
        Quad(s, Panel(256, 128, &ammoBack, "30", 70, 10, 100, Colour{1, 1, 1, 1}), 0.55f, -0.48f, 1.3f, 0.23f, 0.09f);
        Quad(s, pic("WeaponName01.dds"), -0.3f, -0.51f, 1.3f, 0.16f, 0.03f, 0.667f);
        Quad(s, Panel(128, 32, &hpBack, "1000", 5, 0, 35, Colour{1, 1, 1, 1}), -0.55f, -0.51f, 1.3f, 0.125f, 0.03f,
             0.667f);
        Quad(s, pic("Cursor02.dds"), 0.001f, -0.001f, 1.3f, 0.02f, 0.02f);
        out.push_back(std::move(s));
    }
    {  // scope view
        Image s(MockW, MockH, Rgb(150, 180, 215));
        s.FillRect(0, MockH * 0.55f, MockW, MockH, Rgb(96, 104, 70));
        Quad(s, pic("Scope.bmp"), 0, 0, 1.3f, 0.675f, 0.542f);
        out.push_back(std::move(s));
    }
    return out;
}
} // namespace

int RunContactSheet(int argc, char** argv)
{
    if (argc != 1) {
        std::fprintf(stderr, "usage: korvid_assetgen contact-sheet OUT.png\n");
        return 2;
    }
    AssetPack pack;
    if (!BuildPack(pack)) return 1;
    if (!LoadFonts()) return 1;
    const int W = 2200, cellW = 200, cellH = 196, cols = W / cellW;
    int rows = int((pack.Pictures.size() + cols - 1) / cols);
    const int modelH = 400;
    const int mockRows = 2, mockH = 560;
    Image sheet(W, 60 + rows * cellH + 2 * (modelH + 30) + 20 + mockRows * mockH, Rgb(28, 32, 40));
    TextStyle title;
    title.Size = 26;
    title.Bold = 0.8f;
    title.Fill = Rgb(240, 244, 250);
    DrawText(sheet, "Korvid 既定アセット一覧 (" + std::to_string(pack.Pictures.size()) + " 枚の画像、" +
                        std::to_string(pack.Models.size()) + " 個のモデル)", 16, 38, title);
    for (size_t i = 0; i < pack.Pictures.size(); ++i) {
        const PictureAsset& p = pack.Pictures[i];
        float cx = float((i % cols) * cellW + 8), cy = float(60 + (i / cols) * cellH);
        // Transparent and keyed areas show the teal backdrop.
        sheet.FillRect(cx, cy, cx + cellW - 16, cy + cellH - 36, Rgb(60, 110, 118));
        float boxW = cellW - 16.0f, boxH = cellH - 36.0f;
        float s = std::min(boxW / p.Picture.Width, boxH / p.Picture.Height);
        if (s > 1 && p.Picture.Width > 8) s = std::floor(s);
        float w = p.Picture.Width * s, h = p.Picture.Height * s;
        Image shown = p.Picture;
        if (p.Keyed)
            for (Colour& c : shown.Pixels) c.A = c.A < 0.5f ? 0.0f : 1.0f;
        sheet.Draw(shown, cx + (boxW - w) / 2, cy + (boxH - h) / 2, w, h);
        Label(sheet, Base(p.Path) + (p.Keyed ? " [K]" : ""), cx, cy + cellH - 20);
        Label(sheet, std::to_string(p.Picture.Width) + "x" + std::to_string(p.Picture.Height), cx, cy + cellH - 6);
    }
    float my = 60.0f + rows * cellH + 10;
    auto texOf = [&](const ModelAsset& m) { return ModelPicture(pack, m); };
    // Row 1: the weapons exactly where the play scene puts them, then turntables.
    const float scales[3] = {0.5f, 2, 0.5f};
    const Vec3 offsets[3] = {{2.5f, -3, 0}, {2.5f, -2.5f, 3}, {2.5f, -2.5f, 0}};
    for (int i = 0; i < 3; ++i) {
        Target t = NewTarget(500, 400, Rgb(150, 180, 215), Rgb(120, 110, 90));
        t.Colour_.FillRect(0, 200, 500, 400, Rgb(96, 104, 70));
        Matrix m = RotX(0) * RotY(180) * RotX(-3) * Scale(scales[i]) * Move(offsets[i]) * Move({0, 0, 7});
        RenderMesh(t, pack.Models[i].Model, texOf(pack.Models[i]), false, m, 45, true);
        sheet.Draw(t.Colour_, 16 + i * 520.0f, my, 500, 400);
        Label(sheet, Base(pack.Models[i].Path) + " (in hand, play view)", 16 + i * 520.0f, my + modelH + 18);
    }
    {
        Target t = NewTarget(500, 400, Rgb(60, 64, 76), Rgb(30, 32, 40));
        RenderMesh(t, pack.Models[3].Model, nullptr, false, RotY(150) * RotX(-35) * Move({0, 0, 7}), 45, true);
        sheet.Draw(t.Colour_, 16 + 3 * 520.0f, my, 500, 400);
        Label(sheet, "XFile/Hand.x", 16 + 3 * 520.0f, my + modelH + 18);
    }
    my += modelH + 30;
    // Row 2: the scenery models.
    const struct {
        int Index;
        Matrix World;
        float Fov;
        const char* Note;
    } views[] = {
        {4, RotY(30) * RotX(35) * Move({0, -0.3f, 0}), 90, " (from inside, looking up)"},
        {5, RotY(20) * RotX(10) * Move({0, 0, 6}), 45, " (radius 1.6)"},
        {6, RotY(20) * Move({0, -0.8f, 3.2f}), 45, " (keyed crown)"},
    };
    for (int k = 0; k < 3; ++k) {
        const ModelAsset& m = pack.Models[views[k].Index];
        Target t = NewTarget(500, 400, Rgb(110, 150, 200), Rgb(180, 200, 220));
        const PictureAsset* tp = pack.FindPicture(m.TexturePath);
        RenderMesh(t, m.Model, texOf(m), tp && tp->Keyed, views[k].World, views[k].Fov, false);
        sheet.Draw(t.Colour_, 16 + k * 520.0f, my, 500, 400);
        Label(sheet, Base(m.Path) + views[k].Note, 16 + k * 520.0f, my + modelH + 18);
    }
    my += modelH + 30;
    std::vector<Image> mocks = ScreenMocks(pack);
    const char* mockNames[] = {"title", "game over", "ranking", "operation page", "play overlays", "scope"};
    for (size_t i = 0; i < mocks.size(); ++i) {
        float x = 16 + (i % 3) * 720.0f, y = my + (i / 3) * float(mockH);
        sheet.Draw(mocks[i], x, y, 640, 512);
        Label(sheet, std::string("screen: ") + mockNames[i], x, y + 530);
    }
    UnloadFonts();
    return WritePng(sheet, argv[0]) ? 0 : 1;
}

}  // namespace assetgen

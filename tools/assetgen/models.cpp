// The seven models and the pictures bound to them: three weapons, the hand, sky dome, enemy ball, tree.
#include "pack.h"
#include "paint_common.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

namespace {
// Parts of the one weapon picture: each solid maps onto one quarter.
const float Metal[4] = {0, 0, 0.5f, 0.5f};
const float Steel[4] = {0.5f, 0, 1, 0.5f};
const float Grip[4] = {0, 0.5f, 0.5f, 1};
const float Wood[4] = {0.5f, 0.5f, 1, 1};
const float Whole[4] = {0, 0, 1, 1};

// The weapon in hand is lit by a strong point light (attenuation 10, diffuse 5) and a
// directional one, so the materials are dim by design: emissive gives the shadow side,
// the small diffuse brings the lit side up to about full brightness.
MeshMaterial LitMaterial(const std::string& name, Colour c, float shine)
{
    MeshMaterial m;
    m.Name = name;
    m.Diffuse[0] = c.R * 0.012f;
    m.Diffuse[1] = c.G * 0.012f;
    m.Diffuse[2] = c.B * 0.012f;
    m.Diffuse[3] = 1;
    m.Power = 24;
    m.Specular[0] = m.Specular[1] = m.Specular[2] = shine;
    m.Emissive[0] = c.R * 0.42f;
    m.Emissive[1] = c.G * 0.42f;
    m.Emissive[2] = c.B * 0.42f;
    return m;
}

MeshMaterial FlatMaterial(const std::string& name)
{
    MeshMaterial m;
    m.Name = name;
    return m;
}

Mesh MachineGun()
{
    Mesh m;
    m.Name = "Machinegun";
    int body = m.AddMaterial(LitMaterial("GunMetal", Rgb(150, 156, 150), 0.03f));
    int dark = m.AddMaterial(LitMaterial("Barrel", Rgb(92, 96, 104), 0.05f));
    int furniture = m.AddMaterial(LitMaterial("Furniture", Rgb(104, 112, 84), 0.01f));
    // Model units: barrel along -Z, stock towards +Z, receiver from y 0.5 to 2.5.
    m.AddBox({0, 1.5f, 0}, {0.7f, 1.0f, 3.0f}, body, Metal);
    m.AddBox({0, 2.56f, -0.6f}, {0.3f, 0.06f, 2.0f}, dark, Steel);
    m.AddBox({0, 2.9f, 0.9f}, {0.16f, 0.3f, 1.0f}, body, Metal);
    m.AddCylinder({0, 1.8f, -3}, {0, 0, -6}, 0.5f, 0.5f, 12, furniture, Grip);
    m.AddCylinder({0, 1.8f, -9}, {0, 0, -3.6f}, 0.22f, 0.22f, 10, dark, Steel);
    m.AddCylinder({0, 1.8f, -12.6f}, {0, 0, -0.8f}, 0.32f, 0.32f, 10, dark, Steel);
    m.AddBox({0, 2.6f, -8.6f}, {0.08f, 0.4f, 0.1f}, dark, Steel);
    size_t mag = m.Vertices.size();
    m.AddBox({0, 0, 0}, {0.36f, 1.3f, 0.62f}, dark, Steel);
    m.Transform(mag, -12, 0, {0, -0.5f, -1.6f});
    size_t grip = m.Vertices.size();
    m.AddBox({0, 0, 0}, {0.36f, 1.0f, 0.45f}, furniture, Grip);
    m.Transform(grip, 18, 0, {0, -0.25f, 1.9f});
    m.AddBox({0, 1.25f, 5.2f}, {0.45f, 0.85f, 2.3f}, furniture, Grip);
    m.AddBox({0, 1.25f, 7.55f}, {0.5f, 1.0f, 0.1f}, dark, Steel);
    // The side the player sees (+X once turned round): ejection port and charging handle.
    m.AddBox({0.72f, 1.85f, -0.6f}, {0.03f, 0.28f, 0.75f}, dark, Steel);
    m.AddBox({0.8f, 2.2f, 1.2f}, {0.12f, 0.08f, 0.3f}, dark, Steel);
    m.AddBox({0, 0.55f, -5.6f}, {0.28f, 0.75f, 0.32f}, furniture, Grip);  // fore grip
    // Seen from the play position the gun sat mostly below and right of the screen: lift it
    // into view (model +X is the viewer's left once the gun is turned round).
    m.Transform(0, 0, 0, {0.9f, 0.8f, 0});
    return m;
}

Mesh Rifle()
{
    Mesh m;
    m.Name = "Msg";
    int wood = m.AddMaterial(LitMaterial("Walnut", Rgb(176, 118, 70), 0.02f));
    int steel = m.AddMaterial(LitMaterial("Blued", Rgb(110, 118, 132), 0.08f));
    int optic = m.AddMaterial(LitMaterial("Optic", Rgb(70, 74, 82), 0.12f));
    // A quarter of the machine gun's units: the rifle is drawn at four times its scale.
    m.AddBox({0, 0.24f, 1.3f}, {0.1f, 0.2f, 0.7f}, wood, Wood);
    m.AddBox({0, 0.3f, -1.1f}, {0.11f, 0.1f, 0.75f}, wood, Wood);
    m.AddBox({0, 0.38f, 0.1f}, {0.11f, 0.12f, 0.55f}, steel, Metal);
    m.AddCylinder({0, 0.42f, -0.45f}, {0, 0, -3.1f}, 0.055f, 0.045f, 10, steel, Steel);
    m.AddCylinder({0, 0.72f, -0.75f}, {0, 0, 1.35f}, 0.075f, 0.075f, 12, optic, Metal);
    m.AddCylinder({0, 0.72f, -1.05f}, {0, 0, 0.3f}, 0.12f, 0.075f, 12, optic, Metal);
    m.AddCylinder({0, 0.72f, 0.6f}, {0, 0, 0.22f}, 0.075f, 0.1f, 12, optic, Metal);
    m.AddBox({0, 0.57f, -0.45f}, {0.045f, 0.08f, 0.05f}, steel, Steel);
    m.AddBox({0, 0.57f, 0.35f}, {0.045f, 0.08f, 0.05f}, steel, Steel);
    m.AddCylinder({0.1f, 0.42f, 0.45f}, {0.2f, -0.04f, 0}, 0.025f, 0.025f, 8, steel, Steel);
    m.AddSphere({0.32f, 0.38f, 0.45f}, 0.045f, 6, 8, steel, Steel);
    m.AddBox({0, 0.14f, -0.15f}, {0.07f, 0.12f, 0.17f}, steel, Metal);
    m.AddBox({0, 0.1f, 0.42f}, {0.02f, 0.08f, 0.12f}, steel, Steel);
    return m;
}

Mesh Handgun()
{
    Mesh m;
    m.Name = "Handgun";
    int slide = m.AddMaterial(LitMaterial("Slide", Rgb(170, 174, 182), 0.1f));
    int frame = m.AddMaterial(LitMaterial("Frame", Rgb(70, 72, 78), 0.02f));
    m.AddBox({0, 1.1f, -0.7f}, {0.45f, 0.5f, 3.2f}, slide, Steel);
    m.AddBox({0, 0.35f, -1.2f}, {0.42f, 0.3f, 2.4f}, frame, Grip);
    m.AddCylinder({0, 1.0f, -3.9f}, {0, 0, -0.2f}, 0.2f, 0.2f, 10, frame, Metal);
    size_t grip = m.Vertices.size();
    m.AddBox({0, 0, 0}, {0.42f, 1.6f, 0.75f}, frame, Grip);
    m.Transform(grip, 14, 0, {0, -1.2f, 1.55f});
    m.AddBox({0, -0.25f, -0.35f}, {0.12f, 0.32f, 0.62f}, frame, Grip);
    m.AddBox({0, 1.7f, -3.6f}, {0.06f, 0.12f, 0.1f}, frame, Metal);
    m.AddBox({0, 1.7f, 2.2f}, {0.3f, 0.12f, 0.1f}, frame, Metal);
    m.AddBox({0, 1.61f, -0.6f}, {0.28f, 0.02f, 0.6f}, frame, Metal);  // ejection port
    size_t hammer = m.Vertices.size();
    m.AddBox({0, 0, 0}, {0.12f, 0.22f, 0.1f}, frame, Metal);
    m.Transform(hammer, 25, 0, {0, 1.45f, 2.62f});
    return m;
}

Mesh Hand()
{
    Mesh m;
    m.Name = "Hand";
    MeshMaterial skin = LitMaterial("Skin", Rgb(226, 176, 140), 0.02f);
    MeshMaterial glove = LitMaterial("Glove", Rgb(60, 64, 56), 0.01f);
    int s = m.AddMaterial(skin), g = m.AddMaterial(glove);
    m.AddBox({0, 0, 0}, {0.9f, 0.25f, 1.0f}, g, Whole);
    for (int i = 0; i < 4; ++i) {
        float x = -0.66f + i * 0.44f;
        m.AddBox({x, 0, -1.55f}, {0.18f, 0.18f, 0.55f}, s, Whole);
    }
    size_t thumb = m.Vertices.size();
    m.AddBox({0, 0, 0}, {0.2f, 0.2f, 0.6f}, s, Whole);
    m.Transform(thumb, 0, -40, {1.1f, 0, -0.4f});
    m.AddCylinder({0, 0, 1.0f}, {0, 0, 1.2f}, 0.6f, 0.5f, 10, g, Whole);
    return m;
}

Mesh SkyDome()
{
    Mesh m;
    m.Name = "SkyDoom";
    int mat = m.AddMaterial(FlatMaterial("Sky"));
    // Radius 1.2: drawn at scale 10000 from 5000 below the ground, it encloses the arena's
    // top corners (10 700 units from the centre) so that it never cuts into the walls.
    m.AddSphere({0, 0, 0}, 1.2f, 18, 32, mat, Whole, true);
    return m;
}

Mesh Ball()
{
    Mesh m;
    m.Name = "Ball";
    int mat = m.AddMaterial(FlatMaterial("Shell"));
    // Radius 1.6 at scale 25 gives 40 units: the 80-unit hit cube.
    m.AddSphere({0, 0, 0}, 1.6f, 14, 24, mat, Whole);
    return m;
}

Mesh Tree()
{
    Mesh m;
    m.Name = "Tree";
    int bark = m.AddMaterial(FlatMaterial("Bark"));
    int leaves = m.AddMaterial(FlatMaterial("Leaves"));
    const float barkUv[4] = {0, 0, 0.25f, 1};
    const float crownUv[4] = {0.25f, 0, 1, 1};
    // 1.55 units tall: 1240 at scale 800; the crown is three crossed cards, keyed by white.
    m.AddCylinder({0, 0, 0}, {0, 0.95f, 0}, 0.06f, 0.03f, 8, bark, barkUv, false);
    for (int i = 0; i < 3; ++i) {
        float a = i * 3.14159265f / 3;
        float cx = std::cos(a) * 0.52f, cz = std::sin(a) * 0.52f;
        m.AddQuad({-cx, 0.2f, -cz}, {cx, 0.2f, cz}, {cx, 1.55f, cz}, {-cx, 1.55f, -cz}, leaves, crownUv, true);
    }
    // a second, narrower set between the first fills the crown out from every side
    for (int i = 0; i < 3; ++i) {
        float a = (i + 0.5f) * 3.14159265f / 3;
        float cx = std::cos(a) * 0.4f, cz = std::sin(a) * 0.4f;
        m.AddQuad({-cx, 0.4f, -cz}, {cx, 0.4f, cz}, {cx, 1.45f, cz}, {-cx, 1.45f, -cz}, leaves, crownUv, true);
    }
    return m;
}

// Weapon pictures: four quarters (worn metal, machined steel, stippled grip, wood grain).
Image WeaponPicture(uint32_t seed, Colour metal, Colour steel, Colour grip, Colour wood, const std::string& mark)
{
    const int n = 256, h = 128;
    Image img(n, n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            int qx = x / h, qy = y / h;
            float u = float(x % h) / h, v = float(y % h) / h;
            Colour c;
            if (qy == 0 && qx == 0) {
                float f = TileFbm(u * 8, v * 8, 8, 4, seed);
                c = Mix(metal, Rgb(235, 235, 235), (f - 0.5f) * 0.25f + 0.05f);
            } else if (qy == 0) {
                float brushed = TileNoise(u * 2, v * 96, 96, seed + 1);
                c = Mix(steel, Rgb(255, 255, 255), 0.05f + brushed * 0.12f);
            } else if (qx == 0) {
                float stipple = TileNoise(u * 64, v * 64, 64, seed + 2);
                c = Mix(grip, Rgb(0, 0, 0), stipple * 0.3f);
            } else {
                float ring = std::sin((u * 3 + TileFbm(u * 4, v * 16, 4, 3, seed + 3) * 2.5f) * 18);
                c = Mix(wood, Mix(wood, Rgb(40, 20, 10), 0.45f), 0.5f + ring * 0.5f);
            }
            img.At(x, y) = c;
        }
    Rng rng(seed);
    for (int i = 0; i < 40; ++i) {  // scratches on the worn metal
        float x = rng.Range(4, 124), y = rng.Range(4, 124), a = rng.Range(-0.4f, 0.4f), l = rng.Range(4, 18);
        img.Line(x, y, x + std::cos(a) * l, y + std::sin(a) * l, 0.8f, Rgb(220, 220, 215, 0.35f));
    }
    for (int i = 0; i < 6; ++i) img.FillRect(0, 140 + i * 18.0f, 128, 142 + i * 18.0f, Rgb(0, 0, 0, 0.3f));
    TextStyle t;
    t.Size = 11;
    t.Face = FontGothic;
    t.Fill = Rgb(230, 230, 230, 0.7f);
    DrawText(img, mark, 134, 118, t);
    return img;
}

Image SkyPicture()
{
    const int w = 512, h = 256;
    Image img(w, h);
    // v = 0 is the zenith; the ground cuts the dome at about v = 0.36.
    for (int y = 0; y < h; ++y) {
        float t = float(y) / (h * 0.36f);
        Colour base = t < 1 ? Mix(Rgb(42, 92, 168), Rgb(190, 206, 224), std::pow(std::min(t, 1.0f), 1.6f))
                            : Rgb(170, 180, 190);
        for (int x = 0; x < w; ++x) {
            float c = TileFbm(float(x) / w * 8, float(y) / h * 6, 8, 5, 31);
            float cloud = std::clamp((c - 0.5f) * 3.2f, 0.0f, 1.0f) * (t < 1 ? 0.4f + 0.6f * t : 1);
            img.At(x, y) = Mix(base, Rgb(248, 248, 252), cloud * 0.85f);
        }
    }
    return img;
}

Image BallPicture()
{
    const int w = 256, h = 128;
    Image img(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            float n = TileFbm(float(x) / w * 16, float(y) / h * 8, 16, 3, 41);
            float lat = float(y) / h;
            // painted sheen bands: the orb is drawn unlit
            float sheen = 0.55f + 0.45f * std::cos((lat - 0.32f) * 6.0f);
            Colour c = Mix(Rgb(40, 44, 54), Rgb(150, 160, 178), sheen * 0.8f + (n - 0.5f) * 0.2f);
            img.At(x, y) = c;
        }
    for (int i = 0; i <= 8; ++i)  // seams centred on the picture's edge too, where the sphere closes
        img.FillRect(i * 32.0f - 0.75f, 0, i * 32.0f + 0.75f, float(h), Rgb(16, 18, 24, 0.8f));
    img.FillRect(0, 58, float(w), 70, Rgb(24, 26, 34));
    for (int i = 0; i < 16; ++i) img.FillRect(i * 16 + 5.0f, 62, i * 16 + 11.0f, 66, Rgb(255, 120, 60, 0.9f));
    for (int e = 0; e < 2; ++e) {  // two eyes, front and back, so one always shows
        float ex = 64 + e * 128.0f;
        img.RadialGlow(ex, 48, 34, Rgb(255, 80, 40, 0.7f));
        img.FillCircle(ex, 48, 15, Rgb(20, 8, 8));
        img.FillCircle(ex, 48, 10, Rgb(255, 60, 30));
        img.FillCircle(ex, 48, 4, Rgb(255, 230, 180));
    }
    return img;
}

Image TreePicture()
{
    const int n = 256;
    Image img(n, n, Colour{0, 0, 0, 0});
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < 64; ++x) {
            float s = TileNoise2(x / 4.0f, y / 24.0f, 16, 64, 51);  // wraps round the trunk
            img.At(x, y) = Mix(Rgb(70, 50, 34), Rgb(118, 88, 60), s);
        }
    // conifer crown on the keyed background, in the right three quarters
    float cx = 64 + 96;
    for (int layer = 0; layer < 6; ++layer) {
        float top = 6 + layer * 38.0f, bottom = 70 + layer * 36.0f;
        float half = 26 + layer * 14.0f;
        Colour c = Mix(Rgb(34, 78, 40), Rgb(58, 112, 52), layer / 5.0f);
        std::vector<float> pts{cx, top};
        for (int k = 0; k <= 8; ++k) {  // ragged lower edge
            float t = k / 8.0f;
            pts.push_back(cx + half - 2 * half * t);
            pts.push_back(bottom + (k % 2 ? -8.0f : 4.0f));
        }
        img.FillPolygon(pts, c);
    }
    img.FillRect(cx - 5, 220, cx + 5, 256, Rgb(80, 58, 40));
    Rng rng(52);
    for (int i = 0; i < 700; ++i) {  // needles: only on the crown
        float x = rng.Range(64, 256), y = rng.Range(0, 256);
        if (img.At(int(x), int(y)).A < 0.9f) continue;
        img.Line(x, y, x + rng.Range(-3, 3), y + rng.Range(1, 4), 1, Rgb(90, 140, 70, 0.5f));
    }
    for (int y = 0; y < n; ++y)  // the key is all or nothing
        for (int x = 64; x < n; ++x) img.At(x, y).A = img.At(x, y).A > 0.5f ? 1.0f : 0.0f;
    return img;
}

void AddModel(AssetPack& pack, const std::string& file, Mesh mesh, const std::string& texture)
{
    pack.Models.push_back(ModelAsset{"File/XFile/" + file, std::move(mesh),
                                     texture.empty() ? std::string() : "File/XFile/Texture/" + texture});
}

void AddTexture(AssetPack& pack, const std::string& file, Image img, bool keyed = false)
{
    pack.Pictures.push_back(PictureAsset{"File/XFile/Texture/" + file, std::move(img), PictureBmp24, keyed});
}
} // namespace

bool BuildModels(AssetPack& pack)
{
    AddModel(pack, "Machinegun.x", MachineGun(), "Machinegun.bmp");
    AddModel(pack, "Msg.x", Rifle(), "Msg.bmp");
    AddModel(pack, "Handgun.x", Handgun(), "Handgun.bmp");
    AddModel(pack, "Hand.x", Hand(), "");
    AddModel(pack, "SkyDoom.x", SkyDome(), "SkyDoom.bmp");
    AddModel(pack, "Ball.x", Ball(), "Ball.bmp");
    AddModel(pack, "Tree.x", Tree(), "Tree.bmp");
    AddTexture(pack, "Machinegun.bmp",
               WeaponPicture(61, Rgb(200, 200, 196), Rgb(210, 214, 220), Rgb(190, 190, 180), Rgb(200, 160, 120),
                             "KV-30  7.62"));
    AddTexture(pack, "Msg.bmp",
               WeaponPicture(62, Rgb(190, 196, 206), Rgb(214, 220, 232), Rgb(180, 180, 180), Rgb(226, 170, 110),
                             "KV-R10  .308"));
    AddTexture(pack, "Handgun.bmp",
               WeaponPicture(63, Rgb(210, 210, 214), Rgb(230, 232, 236), Rgb(150, 150, 154), Rgb(190, 150, 110),
                             "KV-P8  9mm"));
    AddTexture(pack, "SkyDoom.bmp", SkyPicture());
    AddTexture(pack, "Ball.bmp", BallPicture());
    AddTexture(pack, "Tree.bmp", TreePicture(), true);
    return true;
}

}  // namespace assetgen

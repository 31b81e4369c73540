// Pictures of the screens outside a match: title layers, menu items, pages, results and noise.
#include "illustrations.h"
#include "pack.h"
#include "paint_common.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace assetgen {

namespace {
const int BackW = 1024, BackH = 800;  // full-screen backdrops, the screen's 5:4 shape

void Add(AssetPack& pack, const std::string& name, Image img, PictureFormat format, bool keyed = false)
{
    pack.Pictures.push_back(PictureAsset{LanguageFolder() + name, std::move(img), format, keyed});
}

Image TitleLogo()
{
    Image img(BackW, BackH);
    // The logo sits in the upper part: the menu slides in over the lower half.
    float cx = BackW / 2.0f, base = 255;
    img.RadialGlow(cx, base - 60, 430, Rgb(80, 208, 255, 0.22f));
    TextStyle st;
    st.Size = 190;
    st.Face = FontGothic;
    st.Bold = 7;
    st.Outline = 4;
    st.OutlineColour = Rgb(6, 10, 18);
    st.Shadow = 8;
    st.ShadowColour = Colour{0, 0, 0, 0.55f};
    std::string word = "KORVID";
    float spacing = 18;
    float width = 0;
    for (char ch : word) width += TextWidth(std::string(1, ch), st) + spacing;
    width -= spacing;
    float x = cx - width / 2;
    for (char ch : word) {
        std::string s(1, ch);
        DrawTextGradient(img, s, x, base, st, Rgb(236, 246, 255), Rgb(70, 170, 230));
        x += TextWidth(s, st) + spacing;
    }
    // Sound rings through the letter O.
    SoundRings(img, cx - width / 2 + width * 0.29f, base - 70, 90, 18, 5, Rgb(80, 208, 255, 0.35f));
    img.FillRect(cx - width / 2, base + 26, cx + width / 2, base + 30, Rgb(255, 150, 64, 0.95f));
    TextStyle sub;
    sub.Size = 34;
    sub.Face = FontGothic;
    sub.Bold = 0.8f;
    sub.Fill = Rgb(230, 238, 248);
    sub.Shadow = 2;
    DrawTextCentred(img, Say("音を聴け。敵はすぐそこにいる。", "Listen. The enemy is close."), cx, base + 80, sub);
    sub.Size = 18;
    sub.Bold = 0;
    sub.Fill = Rgb(160, 200, 230);
    DrawTextCentred(img, "SOUND  ARENA  SHOOTER", cx, base + 112, sub);
    return img;
}

Image TitleBack()
{
    Image img(BackW, BackH, Colour{0, 0, 0, 1});
    float horizon = BackH * 0.58f;
    img.VerticalGradient(0, horizon, Rgb(8, 12, 30), Rgb(64, 44, 78));
    img.VerticalGradient(horizon * 0.7f, horizon, Rgb(64, 44, 78, 0), Rgb(196, 104, 60));
    Rng rng(7);
    for (int i = 0; i < 180; ++i) {
        float y = rng.Range(0, horizon * 0.7f);
        img.FillCircle(rng.Range(0, float(BackW)), y, rng.Range(0.5f, 1.5f),
                       Colour{1, 1, 1, rng.Range(0.2f, 0.8f) * (1 - y / horizon)});
    }
    img.RadialGlow(BackW * 0.5f, horizon, 420, Rgb(255, 140, 70, 0.45f));
    // the arena wall along the horizon, then the ground
    img.FillRect(0, horizon - 34, float(BackW), horizon, Rgb(30, 26, 40));
    for (float x = 0; x < BackW; x += 64) img.FillRect(x, horizon - 34, x + 2, horizon, Rgb(50, 44, 62));
    img.VerticalGradient(horizon, float(BackH), Rgb(34, 28, 38), Rgb(6, 6, 10));
    // perspective floor lines
    for (int i = -12; i <= 12; ++i)
        img.Line(BackW / 2.0f + i * 30, horizon, BackW / 2.0f + i * 260, float(BackH), 1.2f, Rgb(255, 150, 90, 0.10f));
    for (int i = 1; i < 9; ++i) {
        float t = float(i) / 9;
        float y = horizon + (BackH - horizon) * t * t;
        img.FillRect(0, y, float(BackW), y + 1, Rgb(255, 150, 90, 0.08f));
    }
    const float trees[][2] = {{40, 0.9f}, {120, 1.2f}, {180, 0.8f}, {860, 1.1f}, {930, 0.85f}, {990, 1.25f}, {300, 0.6f}, {720, 0.65f}};
    for (auto& t : trees) DrawConifer(img, t[0], horizon + 6, 170 * t[1], Rgb(12, 10, 18));
    // floating enemies with their calls rippling out
    const float orbs[][3] = {{130, 330, 34}, {950, 215, 20}, {890, 420, 40}, {70, 175, 16}};  // clear of the logo
    for (auto& o : orbs) {
        SoundRings(img, o[0], o[1], o[2] * 1.4f, o[2] * 0.5f, 6, Rgb(255, 120, 80, 0.25f));
        DrawOrb(img, o[0], o[1], o[2], 0.6f);
    }
    Vignette(img, 0.7f);
    return img;
}

Image MenuItem(const std::string& label, const std::string& english, bool lit)
{
    Image img(256, 128, Colour{0, 0, 0, 1});
    Colour top = lit ? Rgb(40, 110, 150) : Rgb(24, 30, 42);
    Colour bottom = lit ? Rgb(16, 50, 80) : Rgb(12, 15, 22);
    img.VerticalGradient(0, 128, top, bottom);
    img.StrokeRoundRect(3, 3, 253, 125, 8, 2, lit ? Rgb(150, 230, 255) : Rgb(70, 84, 104));
    if (lit) {
        img.RadialGlow(128, 64, 150, Rgb(80, 208, 255, 0.25f));
        img.FillPolygon({14, 64, 28, 52, 28, 76}, Rgb(255, 160, 70));
        img.FillPolygon({242, 64, 228, 52, 228, 76}, Rgb(255, 160, 70));
    }
    img.FillRect(24, 90, 232, 92, lit ? Rgb(255, 160, 70) : Rgb(60, 72, 90));
    TextStyle st;
    st.Size = 36;
    st.Bold = lit ? 1.2f : 0.6f;
    st.Size = std::min(36.0f, 36 * 168 / TextWidth(label, st));  // clear of the hover arrows
    st.Fill = lit ? Rgb(255, 255, 250) : Rgb(206, 214, 226);
    st.Shadow = 2;
    DrawTextCentred(img, label, 128, 74, st);
    TextStyle en;
    en.Size = 14;
    en.Face = FontGothic;
    en.Fill = lit ? Rgb(255, 200, 150) : Rgb(120, 134, 156);
    DrawTextCentred(img, english, 128, 112, en);
    return img;
}

void Bullet(Image& img, float x, float y, const std::string& text, float size, Colour c = Palette::Text)
{
    img.FillRect(x, y - size * 0.42f, x + size * 0.32f, y - size * 0.1f, Palette::Warm);
    TextStyle st;
    st.Size = size;
    st.Fill = c;
    DrawText(img, text, x + size * 0.7f, y, st);
}

// Page 1: keyboard, mouse and the list of controls (key set 1).
Image Operation1()
{
    Image img(BackW, BackH);
    PaintBackdrop(img, Rgb(14, 22, 36), Rgb(8, 10, 16), 11, false);
    Heading(img, Say("操作方法", "How to Play"), "CONTROLS  1/3", 78, Palette::Accent);
    // keyboard cluster
    Plate(img, 40, 118, 540, 470, Rgb(16, 22, 32, 0.85f), Rgb(70, 90, 120));
    float k = 58;
    float kx = 70, ky = 150;
    DrawKey(img, kx, ky, k, k, "Q", true);
    DrawKey(img, kx + k + 8, ky, k, k, "W", true);
    DrawKey(img, kx + 2 * (k + 8), ky, k, k, "E", true);
    DrawKey(img, kx + 3 * (k + 8), ky, k, k, "R", true);
    DrawKey(img, kx + 18, ky + k + 8, k, k, "A", true);
    DrawKey(img, kx + 18 + k + 8, ky + k + 8, k, k, "S", true);
    DrawKey(img, kx + 18 + 2 * (k + 8), ky + k + 8, k, k, "D", true);
    DrawKey(img, kx + 18 + 3 * (k + 8), ky + k + 8, k, k, "F", true);
    DrawKey(img, kx - 10, ky + 2 * (k + 8) + 20, 96, k, "Ctrl", true);
    DrawKey(img, kx + 100, ky + 2 * (k + 8) + 20, 210, k, "Space", true);
    DrawKey(img, 388, 150, 44, 44, "1", true);
    DrawKey(img, 436, 150, 44, 44, "2", true);
    DrawKey(img, 484, 150, 44, 44, "3", true);
    TextStyle small;
    small.Size = 17;
    small.Fill = Palette::Dim;
    DrawText(img, Say("武器を直接選択", "Pick a weapon"), 392, 220, small);
    DrawText(img, Say("（設定1のキー配置）", "(keys of preset 1)"), 70, 448, small);
    DrawMouse(img, 462, 318, 124, 7);
    DrawText(img, Say("左：射撃", "Left: fire"), 372, 404, small);
    DrawText(img, Say("右：スコープ", "Right: scope"), 372, 426, small);
    DrawText(img, Say("ホイール：武器切替", "Wheel: weapon"), 372, 448, small);
    // the list
    Plate(img, 556, 118, 996, 690, Rgb(16, 22, 32, 0.85f), Rgb(70, 90, 120));
    const char* rows[][2] = {
        {"W / S", Say("前進 / 後退", "Forward / back")},         {"A / D", Say("左 / 右へ移動", "Step left / right")},
        {"Q / E", Say("左 / 右へ旋回", "Turn left / right")},       {Say("マウス", "Mouse"), Say("視点の移動", "Look around")},
        {"Space", Say("ジャンプ", "Jump")},            {Say("左クリック / Ctrl", "Left click / Ctrl"), Say("射撃（長押しで連射）", "Fire (hold: auto)")},
        {Say("右クリック", "Right click"), Say("スコープ（ライフル）", "Scope (rifle)")}, {"R", Say("リロード", "Reload")},
        {Say("F / ホイール", "F / wheel"), Say("武器の切り替え", "Change weapon")},  {"1 / 2 / 3", Say("武器を直接選択", "Pick a weapon")},
        {"Esc", Say("ゲームを終了", "Quit the game")},
    };
    float y = 160;
    for (auto& r : rows) {
        TextStyle key;
        key.Size = 20;
        key.Fill = Palette::Accent;
        key.Bold = 0.5f;
        DrawText(img, r[0], 574, y, key);
        TextStyle val;
        val.Size = 20;
        val.Fill = Palette::Text;
        DrawText(img, r[1], 770, y, val);
        img.FillRect(574, y + 12, 978, y + 13, Rgb(255, 255, 255, 0.08f));
        y += 47;
    }
    Plate(img, 40, 490, 540, 690, Rgb(16, 22, 32, 0.85f), Rgb(70, 90, 120));
    Bullet(img, 60, 532, Say("敵の声と銃声は立体音響で聞こえます。", "Enemy calls and shots sound in 3D."), 20);
    Bullet(img, 60, 570, Say("ヘッドホンで方向を聴き分けましょう。", "Use headphones to hear where they are."), 20);
    Bullet(img, 60, 608, Say("キー配置は「設定」→「キー」で変更できます。", "Change the keys in Settings > Keys."), 20);
    Bullet(img, 60, 646, Say("残り体力が少ないと心臓の鼓動が聞こえます。", "At low health you hear your heartbeat."), 20);
    return img;
}

Image Operation2()
{
    Image img(BackW, BackH);
    PaintBackdrop(img, Rgb(14, 22, 36), Rgb(8, 10, 16), 12, false);
    Heading(img, Say("武器", "Weapons"), "WEAPONS  2/3", 78, Palette::Warm);
    struct W {
        const char* Name;
        const char* Key;
        const char* Lines[3];
    } weapons[3] = {
        {Say("マシンガン", "Machine gun"), "1", {Say("装弾数 30発　押し続けで連射", "30 rounds, hold to fire bursts"), Say("威力は低いが弾幕で押し切る", "Weak, but wins with volume"), Say("リロードは R キー", "R reloads")}},
        {Say("ライフル", "Rifle"), "2", {Say("装弾数 10発　一発ごとにボルト操作", "10 rounds, a bolt pull each shot"), Say("威力 5 倍　右クリックでスコープ", "5x damage, right click: scope"), Say("スコープ中は被弾に注意", "Scoped, you are hit more")}},
        {Say("ハンドガン", "Handgun"), "3", {Say("装弾数 8発　素早く撃てる", "8 rounds, quick to fire"), Say("威力はマシンガンの 2 倍", "2x the machine gun's damage"), Say("リロードが速い", "Fast reload")}},
    };
    for (int i = 0; i < 3; ++i) {
        float y0 = 120 + i * 190.0f;
        Plate(img, 40, y0, 984, y0 + 172, Rgb(16, 22, 32, 0.88f), Rgb(70, 90, 120));
        img.RadialGlow(230, y0 + 86, 200, Rgb(255, 150, 64, 0.08f));
        float len = i == 2 ? 160 : 330;
        DrawWeaponSide(img, i, i == 2 ? 160 : 66, y0 + (i == 2 ? 70 : 84), len, Rgb(120, 130, 146), Rgb(66, 72, 84));
        DrawKey(img, 430, y0 + 18, 40, 40, weapons[i].Key, true);
        TextStyle name;
        name.Size = 34;
        name.Bold = 1;
        name.Fill = Palette::Text;
        DrawText(img, weapons[i].Name, 484, y0 + 52, name);
        for (int l = 0; l < 3; ++l) Bullet(img, 440, y0 + 96 + l * 30.0f, weapons[i].Lines[l], 20);
    }
    return img;
}

Image Operation3()
{
    Image img(BackW, BackH);
    PaintBackdrop(img, Rgb(14, 22, 36), Rgb(8, 10, 16), 13, false);
    Heading(img, Say("敵とスコア", "Enemies & Score"), "ENEMIES & SCORE  3/3", 78, Palette::Danger);
    Plate(img, 40, 118, 984, 420, Rgb(16, 22, 32, 0.88f), Rgb(70, 90, 120));
    SoundRings(img, 200, 268, 96, 15, 5, Rgb(255, 110, 80, 0.35f));
    DrawOrb(img, 200, 268, 90, 0.4f);
    float x = 360;
    Bullet(img, x, 176, Say("敵は宙に浮かぶ球体です。アリーナを漂い、", "Enemies are floating spheres. They drift"), 22);
    Bullet(img, x, 214, Say("近くにいる間こちらを撃ち続けます。", "and keep shooting while you are near."), 22);
    Bullet(img, x, 252, Say("出現・被弾・撃破のたびに声を上げます。", "They call out on entry, hit and kill."), 22);
    Bullet(img, x, 290, Say("声と銃声の方向を聴いて振り向きましょう。", "Turn to where calls and shots come from."), 22);
    Bullet(img, x, 328, Say("移動中やジャンプ中は被弾しにくくなります。", "Moving or jumping, you are hit less."), 22);
    Bullet(img, x, 366, Say("スコープを覗いている間は被弾が増えます。", "Looking through the scope, you are hit more."), 22);
    Plate(img, 40, 440, 984, 690, Rgb(16, 22, 32, 0.88f), Rgb(70, 90, 120));
    TextStyle big;
    big.Size = 30;
    big.Bold = 1;
    big.Fill = Palette::Warm;
    DrawText(img, Say("スコア ＝ 撃破した敵の数", "Score = enemies destroyed"), 70, 492, big);
    Bullet(img, 70, 536, Say("体力 1000 がなくなるとゲームオーバー。", "The game ends when 1000 health is gone."), 22);
    Bullet(img, 70, 574, Say("命中率はゲームオーバー画面に表示されます。", "The game-over screen shows your hit rate."), 22);
    Bullet(img, 70, 612, Say("上位 5 位に入ると名前を登録できます。", "Make the top 5 to enter your name."), 22);
    const char* levels[3][2] = {{Say("初級", "Easy"), Say("敵 10 体まで", "10 enemies")}, {Say("中級", "Normal"), Say("敵 15 体まで", "15 enemies")}, {Say("上級", "Hard"), Say("敵 20 体まで", "20 enemies")}};
    for (int i = 0; i < 3; ++i) {
        float y = 520 + i * 50.0f;
        img.FillRoundRect(700, y - 30, 950, y + 12, 6, Rgb(30, 40, 56));
        TextStyle t;
        t.Size = 22;
        t.Fill = Palette::Accent;
        t.Bold = 0.6f;
        DrawText(img, levels[i][0], 716, y, t);
        t.Fill = Palette::Text;
        t.Bold = 0;
        DrawText(img, levels[i][1], PaintEnglish ? 810 : 790, y, t);  // past "Normal"
    }
    return img;
}

Image Credits()
{
    Image img(BackW, BackH);
    PaintBackdrop(img, Rgb(16, 20, 34), Rgb(6, 8, 12), 21);
    Heading(img, Say("クレジット", "Credits"), "CREDITS", 78, Palette::Accent);
    TextStyle logo;
    logo.Size = 96;
    logo.Face = FontGothic;
    logo.Bold = 4;
    logo.Shadow = 4;
    DrawTextGradient(img, "KORVID", 512 - TextWidth("KORVID", logo) / 2, 250, logo, Rgb(236, 246, 255),
                     Rgb(70, 170, 230));
    const char* rows[][2] = {
        {Say("ゲームデザイン", "Game design"), Say("Korvid 開発チーム", "The Korvid developers")},
        {Say("プログラム", "Programming"), Say("Korvid 開発チーム", "The Korvid developers")},
        {Say("グラフィック", "Graphics"), Say("手続き生成アセット", "Procedural assets")},
        {Say("サウンド・音楽", "Sound and music"), Say("手続き生成アセット", "Procedural assets")},
        {Say("音声合成", "Speech synthesis"), "eSpeak NG"},
        {Say("フォント", "Fonts"), Say("IPAフォント", "IPA fonts")},
        {Say("スペシャルサンクス", "Special thanks"), Say("遊んでくれたあなた", "You, for playing")},
    };
    float y = 350;
    for (auto& r : rows) {
        TextStyle role;
        role.Size = 22;
        role.Fill = Palette::Dim;
        DrawText(img, r[0], 512 - 30 - TextWidth(r[0], role), y, role);
        TextStyle name;
        name.Size = 26;
        name.Fill = Palette::Text;
        name.Bold = 0.6f;
        DrawText(img, r[1], 512 + 30, y, name);
        y += 48;
    }
    TextStyle thanks;
    thanks.Size = 20;
    thanks.Fill = Palette::Warm;
    DrawTextCentred(img, Say("クリックでタイトルへ戻ります", "Click to return to the title"), 512, 730, thanks);
    return img;
}

// The game-over screen draws the hit counts at about 40 % and 62 % of the height on the
// right half, and the score at the lower right; the labels sit to their left.
Image GameOver()
{
    Image img(BackW, BackH);
    PaintBackdrop(img, Rgb(40, 10, 14), Rgb(8, 4, 6), 31);
    img.RadialGlow(512, 150, 500, Rgb(255, 40, 30, 0.18f));
    TextStyle st;
    st.Size = 120;
    st.Face = FontGothic;
    st.Bold = 5;
    st.Outline = 3;
    st.OutlineColour = Rgb(20, 0, 0);
    st.Shadow = 6;
    DrawTextGradient(img, "GAME OVER", 512 - TextWidth("GAME OVER", st) / 2, 170, st, Rgb(255, 210, 200),
                     Rgb(200, 30, 30));
    TextStyle sub;
    sub.Size = 28;
    sub.Fill = Rgb(240, 200, 200);
    DrawTextCentred(img, Say("あなたは倒れた。", "You have fallen."), 512, 226, sub);
    const struct {
        float Y;
        const char* Label;
        float Right;
    } labels[] = {{0.40f, Say("命中数 / 発射数", "Hits / shots"), 0.50f}, {0.625f, Say("命中率", "Hit rate"), 0.50f}, {0.85f, Say("撃破数（スコア）", "Kills (score)"), 0.60f}};
    for (auto& l : labels) {
        float y = l.Y * BackH;
        img.FillRect(40, y - 36, l.Right * BackW - 6, y + 20, Rgb(0, 0, 0, 0.35f));
        img.FillRect(40, y - 36, 46, y + 20, Palette::Danger);
        TextStyle t;
        t.Size = 34;
        t.Bold = 1;
        t.Fill = Palette::Text;
        DrawText(img, l.Label, l.Right * BackW - 24 - TextWidth(l.Label, t), y + 4, t);
        img.FillPolygon({l.Right * BackW - 20, y - 22, l.Right * BackW - 8, y - 8, l.Right * BackW - 20, y + 6},
                        Palette::Warm);
    }
    TextStyle hint;
    hint.Size = 18;
    hint.Fill = Palette::Dim;
    DrawText(img, Say("クリックでタイトルへ", "Click for the title"), 40, 772, hint);
    return img;
}

// Five rows at 26, 39, 51, 64 and 77 % of the height, names from 16 % of the width, scores
// from 80 %; the last match's score at the lower left.
Image Record()
{
    Image img(BackW, BackH);
    PaintBackdrop(img, Rgb(14, 20, 40), Rgb(6, 8, 14), 41);
    Heading(img, Say("ランキング", "Ranking"), "RANKING  TOP 5", 78, Palette::Warm);
    const float rows[5] = {0.2586f, 0.3860f, 0.5134f, 0.6408f, 0.7682f};
    const char* places[5] = {"1st", "2nd", "3rd", "4th", "5th"};
    const Colour medal[5] = {Rgb(255, 204, 64), Rgb(200, 210, 224), Rgb(214, 136, 74), Rgb(120, 150, 190),
                             Rgb(120, 150, 190)};
    for (int i = 0; i < 5; ++i) {
        float cy = rows[i] * BackH;
        img.FillRoundRect(22, cy - 46, 1002, cy + 46, 10, Rgb(255, 255, 255, 0.05f));
        img.StrokeRoundRect(22, cy - 46, 1002, cy + 46, 10, 1.2f, Rgb(120, 150, 190, 0.35f));
        img.FillCircle(84, cy, 36, medal[i]);
        img.FillCircle(84, cy, 29, Mix(medal[i], Rgb(0, 0, 0), 0.35f));
        TextStyle t;
        t.Size = 28;
        t.Face = FontGothic;
        t.Bold = 1.2f;
        t.Fill = Rgb(255, 252, 240);
        DrawTextCentred(img, places[i], 84, cy + 10, t);
        img.FillRect(0.79f * BackW, cy - 40, 0.79f * BackW + 2, cy + 40, Rgb(120, 150, 190, 0.4f));
    }
    float y = 0.907f * BackH;
    TextStyle t;
    t.Size = 26;
    t.Bold = 0.8f;
    t.Fill = Palette::Text;
    DrawText(img, Say("前回の", "Last"), 40, y - 8, t);
    DrawText(img, Say("スコア", "score"), 40, y + 26, t);
    img.FillPolygon({170, y - 6, 186, y + 8, 170, y + 22}, Palette::Warm);
    return img;
}

Image SettingBack()
{
    Image img(BackW, BackH);
    PaintBackdrop(img, Rgb(18, 26, 40), Rgb(8, 10, 14), 51);
    Heading(img, Say("設定", "Settings"), "SETTINGS", 78, Palette::Accent);
    // gear outlines behind the dialog
    for (int g = 0; g < 2; ++g) {
        float cx = g ? 860.0f : 160.0f, cy = g ? 620.0f : 560.0f, r = g ? 120.0f : 80.0f;
        img.RingCircle(cx, cy, r, r * 0.25f, Rgb(80, 208, 255, 0.07f));
        for (int i = 0; i < 10; ++i) {
            float a = i * 3.14159f / 5;
            img.Line(cx + std::cos(a) * r, cy + std::sin(a) * r, cx + std::cos(a) * r * 1.35f,
                     cy + std::sin(a) * r * 1.35f, r * 0.22f, Rgb(80, 208, 255, 0.07f));
        }
    }
    TextStyle t;
    t.Size = 18;
    t.Fill = Palette::Dim;
    DrawTextCentred(img, Say("変更は「設定の保存」で保存されます", "Changes are kept with Save"), 512, 770, t);
    return img;
}

Image Noise(int frame)
{
    Image img(512, 400);
    Rng rng(900 + frame);
    for (int y = 0; y < img.Height; ++y) {
        float scan = (y + frame) % 3 == 0 ? 0.75f : 1.0f;
        float band = 0.85f + 0.15f * std::sin((y + frame * 37) * 0.05f);
        for (int x = 0; x < img.Width; ++x) {
            float v = rng.Uniform();
            v = v * v * 0.9f + 0.05f;
            v *= scan * band;
            img.At(x, y) = Colour{v * 0.96f, v, v * 1.04f > 1 ? 1 : v * 1.04f, 1};
        }
    }
    // a rolling bright bar, in a different place each frame
    float barY = 60.0f + frame * 130;
    img.FillRect(0, barY, 512, barY + 18, Colour{1, 1, 1, 0.18f});
    return img;
}

Image Menu0()
{
    // Background of the score panels; digits are drawn in red from (20, 15).
    Image img(256, 128, Colour{0, 0, 0, 1});
    img.VerticalGradient(0, 128, Rgb(30, 32, 40), Rgb(10, 10, 14));
    img.StrokeRoundRect(2, 2, 254, 126, 10, 2, Rgb(200, 60, 50));
    img.FillRect(8, 118, 248, 120, Rgb(200, 60, 50, 0.6f));
    for (int i = 0; i < 6; ++i) img.FillRect(200 + i * 8.0f, 14, 204 + i * 8.0f, 24, Rgb(200, 60, 50, 0.5f));
    return img;
}
// The pictures that carry words; painted once per language.
void PaintWordedScreens(AssetPack& pack)
{
    Add(pack, "Title.dds", TitleLogo(), PictureDxt5);
    Add(pack, "GameOver.bmp", GameOver(), PictureBmp8);
    Add(pack, "Record.bmp", Record(), PictureBmp8);
    Add(pack, "Setting.bmp", SettingBack(), PictureBmp8);
    Add(pack, "Credit.bmp", Credits(), PictureBmp8);
    Add(pack, "Operation01.bmp", Operation1(), PictureBmp24);
    Add(pack, "Operation02.bmp", Operation2(), PictureBmp24);
    Add(pack, "Operation03.bmp", Operation3(), PictureBmp24);
    // In English the word itself is the label: no second, smaller one under it.
    const char* labels[6][2] = {{Say("ゲームスタート", "Start Game"), Say("GAME START", "")},
                                {Say("操作説明", "How to Play"), Say("HOW TO PLAY", "")},
                                {Say("ランキング", "Ranking"), Say("RANKING", "")},
                                {Say("設定", "Settings"), Say("SETTINGS", "")},
                                {Say("クレジット", "Credits"), Say("CREDITS", "")},
                                {Say("終了", "Quit"), Say("EXIT", "")}};
    for (int i = 0; i < 6; ++i)
        for (int lit = 0; lit < 2; ++lit) {
            char name[32];
            std::snprintf(name, sizeof name, "Menu%d%c.bmp", i + 1, lit ? 'b' : 'a');
            Add(pack, name, MenuItem(labels[i][0], labels[i][1], lit != 0), PictureBmp24);
        }
}
} // namespace

bool PaintScreens(AssetPack& pack)
{
    PaintWordedScreens(pack);
    Add(pack, "TitleBack.dds", TitleBack(), PictureDxt1);
    for (int i = 0; i < 3; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "Noise%02d.bmp", i + 1);
        Add(pack, name, Noise(i), PictureBmp8);
    }
    Add(pack, "Menu0.bmp", Menu0(), PictureBmp24);
    // The same pictures with English words, in the pack's language folder.
    PaintEnglish = true;
    PaintWordedScreens(pack);
    PaintEnglish = false;
    return true;
}

}  // namespace assetgen

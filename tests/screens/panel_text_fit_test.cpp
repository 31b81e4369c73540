// The texts drawn with the game's own font, in Japanese and in English, against the room each has.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "graphics/text_renderer.h"
#include "menu_screens_fixture.h"
#include "platform/render/font.h"
#include "platform/translation.h"
#include "scene/text_panels.h"
#include "world/game_world.h"

namespace {
struct PanelText {
  const char* Name;
  const char* Format;  // the Japanese text, as the code gives it
  double First, Second;  // the widest values it is shown with
  bool Real;             // Format takes a double, else ints
  int Height;            // font height in pixels
  int Room;              // pixels it may take
};

// The panels are textures of PanelSide(requested) pixels; the loading and debug lines run
// across the 640-pixel screen of the default settings.
const PanelText Texts[] = {
    {"PageLabel", "←右クリック\u3000左クリック→\u3000[ %d / %d ]", 3, 3, false, 28, PanelSide(400)},
    {"HitRate", "%5.2f％", 100.0, 0, true, 50, PanelSide(400)},
    {"LoadingTextures", "Now Loadind... %d％\u3000テクスチャのロード中", 100, 0, false, 19, 640},
    {"LoadingModels", "Now Loadind... %d％\u3000Xファイルのロード中", 100, 0, false, 19, 640},
    {"LoadingInput", "Now Loadind... %d％\u3000DirectInputの初期化", 100, 0, false, 19, 640},
    {"LoadingSounds", "Now Loadind... %d％\u3000サウンドのロード中", 100, 0, false, 19, 640},
    {"LoadingMusic", "Now Loadind... %d％\u3000ミュージックをロード中", 100, 0, false, 19, 640},
    {"LoadingMusicPlayer", "Now Loadind... %d％\u3000ミュージックのロード中", 100, 0, false, 19, 640},
    {"LoadingSettings", "Now Loadind... %d％\u3000基本設定の初期化", 100, 0, false, 19, 640},
    {"LoadingTitle", "Now Loadind... %d％\u3000タイトルの初期化", 100, 0, false, 19, 640},
    {"DebugEnemies", "今の敵数 [%d/%d]\u3000倒した敵数 [%d]\u3000敵登場まで[%d]\u3000登場の歩度[%d]", 20, 20, false, 15,
     640},
};

void PrintTo(const PanelText& t, std::ostream* os) { *os << t.Name; }

int Width(const PanelText& t, std::uint32_t language) {
  ChooseLanguage(language);
  char text[256];
  const char* format = Translate(t.Format);
  if (t.Real) std::snprintf(text, sizeof text, format, t.First);
  else std::snprintf(text, sizeof text, format, static_cast<int>(t.First), static_cast<int>(t.Second), 999, 999, 999);
  Font* font = CreateFont(World.Device, t.Height);
  return font ? MeasureText(font, text, -1) : -1;
}

class PanelTextFit : public testing::TestWithParam<PanelText> {
 protected:
  void SetUp() override { menu_screens::EnsureScreenDevice(); }
  void TearDown() override { ChooseLanguage(LanguageJapanese); }
};

TEST_P(PanelTextFit, EnglishFitsItsRoomAsTheJapaneseDoes) {
  const PanelText& t = GetParam();
  const int japanese = Width(t, LanguageJapanese);
  const int english = Width(t, LanguageEnglish);
  ASSERT_GT(japanese, 0);
  ASSERT_GT(english, 0);
  EXPECT_LE(english, t.Room);
  // The original's page label runs 6 pixels past its panel: the blank right half of its
  // closing bracket's cell. Nothing Japanese is moved; a half cell is its allowance.
  EXPECT_LE(japanese, t.Room + t.Height / 4);
}

INSTANTIATE_TEST_SUITE_P(Texts, PanelTextFit, testing::ValuesIn(Texts),
                         [](const testing::TestParamInfo<PanelText>& info) { return std::string(info.param.Name); });
}  // namespace

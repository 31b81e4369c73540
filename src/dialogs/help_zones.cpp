// Help zones of the graphics and options pages: each covers one option's label and control.
#include "dialogs/help_zones.h"

#include <span>
#include <string>

#include "persist/port_texts.h"
#include "platform/translation.h"
#include "world/game_world.h"
#include "world/match_values.h"

const char* const GraphicsHelpIdle = "項目の説明を表示します。";

namespace {
struct HelpZone {
  int Left, Top, Right, Bottom;  // inclusive, page dialog units
  const char* Text;
};

// The colour depth's help names the list's first entry: each is translated, then put together.
constexpr const char* ColourDepthTemplate =
    "色数(bit)の変更。色数を多くすることでよりきれいに写ります。通常は[%s]のままで十分です。\n"
    "画面のプロパティに出ていないサイズを選択すると、フルウィンドウにする場合にエラーとなるので注意してください。（Windowモードの場合は除く）";
const char* ColourDepthHelp() {
  static std::string text;
  text = Translate(ColourDepthTemplate);
  const std::size_t at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, Translate("ディスプレイの設定"));
  return text.c_str();
}

// Neighbouring zones share their border line; the earlier zone in this list wins there.
const HelpZone Zones[] = {
    {8, 6, 162, 32,
     "解像度の変更。解像度を小さくすると処理能力が上がり、大きくするとグラフィックがきれいに写ります。\n"
     "画面のプロパティに出ていないサイズを選択すると、フルウィンドウにする場合にエラーとなるので注意してください。（Windowモードの場合は除く）"},
    {164, 6, 280, 32, ColourDepthTemplate},
    {8, 32, 130, 52,
     "画面モードの変更。チェックをはずすとフルウィンドウで起動します。チェックをつけるとウィンドウモードで起動します。見た目は変わりませんが、フルウィンドウの方が処理が早いです。\n"
     "フルウィンドウでエラーや不具合がある場合に使用。"},
    {134, 32, 280, 56,
     "グラフィックの鮮明度の変更。荒くすると壁や床などの絵が荒くなります。鮮明にすることで、細かく表示されます。"},
    {8, 52, 130, 72,
     "ミップマップの使用の変更。チェックをはずすとミップマップを使用しません。\n"
     "ミップマップとは遠くの画像を粗くする方法で、使用することで処理が向上します。ただし、メモリの使用量は増えてしまいます。"},
    {8, 72, 210, 92,
     "ミップマップレベルの変更。最適を選択すると単純なミップマップ表示をしますが、詳細を選択すると分け目が分からないようなミップマップ表示されます。\n"
     "多く適用だとメモリを使いますが、ミップマップの力も発揮されます。"},
};

// One zone per group box of the options page.
const HelpZone OptionsZones[] = {
    {6, 27, 276, 41, LanguageHelp},
    {6, 4, 276, 41, PictureShapeHelp},
    {6, 43, 276, 75, ScreenshotHelp},
    {6, 77, 276, 114, PadHelp},
};

const char* HelpTextAt(std::span<const HelpZone> zones, HWND page, int x, int y) {
  for (const HelpZone& zone : zones) {
    DialogRect r{zone.Left, zone.Top, zone.Right, zone.Bottom};
    if (page) MapDialogRect(page, r);
    if (x >= r.Left && x <= r.Right && y >= r.Top && y <= r.Bottom) return zone.Text;
  }
  return GraphicsHelpIdle;
}
}  // namespace

const char* GraphicsHelpText(HWND page, int x, int y) {
  const char* text = HelpTextAt(Zones, page, x, y);
  return text == ColourDepthTemplate ? ColourDepthHelp() : text;
}
const char* OptionsHelpText(HWND page, int x, int y) { return HelpTextAt(OptionsZones, page, x, y); }

void ShowHelpUnderPointer(HWND page, int helpId, const char* (*helpText)(HWND page, int x, int y),
                          LPARAM position) {
  World.OnMouseMove(position);
  const char* text = helpText(page, static_cast<int>(WindowCursorX), static_cast<int>(WindowCursorY));
  if (GetDlgItemText(page, helpId) != Translate(text)) SetDlgItemText(page, helpId, text);
}

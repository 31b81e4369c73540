// The settings dialogs' layouts in dialog units, with the game's control identifiers.
#include "dialogs/settings_templates.h"

#include "persist/port_texts.h"

namespace {
using K = ControlKind;
constexpr std::uint32_t Tab = WS_TABSTOP;
constexpr std::uint32_t PageStyle = WS_CHILD;

// Every page ends with the same button in the same place.
#define PAGE_DEFAULTS_BUTTON {K::PushButton, IdPageDefaults, "ディフォルトに戻す", 206, 159, 70, 14, Tab}

constexpr DialogControl WindowControls[] = {
    {K::TabControl, IdTabControl, "", 6, 4, 286, 192, Tab},
    {K::PushButton, IdAllDefaults, "全てをディフォルトに戻す", 6, 202, 78, 15, Tab},
    {K::PushButton, IdVersion, "バージョン情報", 90, 202, 50, 15, Tab},
    {K::PushButton, IdCancel, "キャンセル", 185, 202, 50, 15, Tab},
    {K::PushButton, IdSave, "設定の保存", 242, 202, 50, 15, Tab},
};

// The cursor preview is painted at page pixels (34..75, 139..180): the left of the colour
// rows stays free for it.
constexpr DialogControl GameControls[] = {
    {K::Static, -1, "ゲームレベル：", 12, 12, 60, 10},
    {K::ComboBox, 1044, "", 74, 10, 80, 60, Tab},
    {K::Static, -1, "初期装備：", 12, 30, 60, 10},
    {K::ComboBox, 1045, "", 74, 28, 80, 60, Tab},
    {K::GroupBox, -1, "", 6, 48, 270, 106},
    {K::Static, -1, "スタイル", 14, 62, 40, 10},
    {K::ScrollBar, 1055, "", 56, 61, 90, 10, Tab},
    {K::Static, -1, "Red：", 64, 80, 32, 10},
    {K::Trackbar, 1007, "", 96, 77, 176, 15, Tab},
    {K::Static, -1, "Green：", 64, 98, 32, 10},
    {K::Trackbar, 1008, "", 96, 95, 176, 15, Tab},
    {K::Static, -1, "Blue：", 64, 116, 32, 10},
    {K::Trackbar, 1009, "", 96, 113, 176, 15, Tab},
    {K::Static, -1, "Alpha：", 64, 132, 32, 10},
    {K::Static, -1, "(透明度)", 64, 141, 32, 10},
    {K::Trackbar, 1006, "", 96, 131, 176, 15, Tab},
    PAGE_DEFAULTS_BUTTON,
};

// The help zones (help_zones.cpp) follow these rows.
constexpr DialogControl GraphicsControls[] = {
    {K::Static, -1, "解像度：", 12, 12, 34, 10},
    {K::ComboBox, 1023, "", 48, 10, 100, 100, Tab},
    {K::Static, -1, "色数：", 168, 12, 26, 10},
    {K::ComboBox, 1025, "", 194, 10, 82, 70, Tab},
    {K::CheckBox, 1050, "ウィンドウモード", 12, 38, 110, 10, Tab},
    {K::Static, -1, "グラフィック鮮明度：", 138, 40, 82, 10},
    {K::ComboBox, 1026, "", 220, 38, 56, 60, Tab},
    {K::CheckBox, 1051, "ミップマップの使用", 12, 58, 110, 10, Tab},
    {K::Static, 1063, "ミップマップレベル：", 12, 78, 82, 10},
    {K::ComboBox, 1027, "", 96, 76, 110, 100, Tab},
    {K::GroupBox, -1, "説明", 6, 94, 270, 50},
    {K::Static, 1045, "項目の説明を表示します。", 12, 104, 258, 38},
    {K::Static, -1, "※ミップマップ、グラフィック鮮明度を変更した場合は、", 8, 147, 268, 10},
    {K::Static, -1, "ゲームの再起動をしたほうがいいです。", 8, 159, 190, 10},
    PAGE_DEFAULTS_BUTTON,
};

constexpr DialogControl SoundControls[] = {
    {K::GroupBox, -1, "ミュージック関連", 6, 4, 270, 46},
    {K::CheckBox, 1007, "音楽再生する", 14, 16, 100, 10, Tab},
    {K::Static, 1061, "音量：", 14, 32, 26, 10},
    {K::Trackbar, 1005, "", 42, 29, 226, 16, Tab},
    {K::GroupBox, -1, "サウンド関連", 6, 54, 270, 80},
    {K::CheckBox, 1008, "効果音再生する", 14, 66, 100, 10, Tab},
    {K::Static, 1062, "音量：", 14, 82, 26, 10},
    {K::Trackbar, 1009, "", 42, 79, 226, 16, Tab},
    {K::CheckBox, 1011, "音声再生する", 14, 100, 100, 10, Tab},
    {K::Static, 1063, "音量：", 14, 116, 26, 10},
    {K::Trackbar, 1006, "", 42, 113, 226, 16, Tab},
    {K::Static, -1, "※通常は再生させないとゲームになりません。普段はチェックをつけましょう。", 8, 138, 268, 20},
    PAGE_DEFAULTS_BUTTON,
};

// Ten key rows in two columns: label, key name, "変更".
#define KEY_ROW(label, button, name, x, y)                                  \
  {K::Static, -1, label, x, y, 50, 10}, {K::Static, name, "", x + 50, y, 58, 10, WS_BORDER}, \
  {K::PushButton, button, "変更", x + 110, y - 2, 24, 13, Tab}

constexpr DialogControl KeysControls[] = {
    {K::Static, -1, "KEY設定：", 10, 8, 40, 10},
    {K::ComboBox, 1033, "", 52, 6, 70, 60, Tab},
    {K::CheckBox, 1034, "マウスホイールで武器変更", 138, 6, 130, 10, Tab},
    {K::CheckBox, 1035, "マウスのY軸反転", 138, 18, 130, 10, Tab},
    {K::Static, -1, "マウス感度：", 10, 36, 46, 10},
    {K::Trackbar, 1005, "", 58, 33, 218, 16, Tab},
    {K::GroupBox, -1, "", 4, 50, 276, 96},
    KEY_ROW("前進　：", 1042, 1036, 8, 62),
    KEY_ROW("後退　：", 1043, 1037, 8, 78),
    KEY_ROW("左移動　：", 1044, 1038, 8, 94),
    KEY_ROW("右移動　：", 1045, 1039, 8, 110),
    KEY_ROW("左回転　：", 1050, 1048, 8, 126),
    KEY_ROW("右回転　：", 1051, 1049, 144, 62),
    KEY_ROW("ジャンプ　：", 1046, 1040, 144, 78),
    KEY_ROW("攻撃　：", 1047, 1041, 144, 94),
    KEY_ROW("武器変更　：", 1052, 1053, 144, 110),
    KEY_ROW("リロード　：", 1054, 1055, 144, 126),
    {K::Static, -1, "同じキーが設定されると1つしか動作しません。", 8, 150, 196, 10},
    PAGE_DEFAULTS_BUTTON,
};

constexpr DialogControl OtherControls[] = {
    {K::CheckBox, 1046, "FPS表示 (FramePerSecond)", 12, 4, 130, 10, Tab},
    {K::CheckBox, 1051, "デバックモード使用", 12, 16, 130, 10, Tab},
    {K::GroupBox, 1061, "デバック設定", 6, 28, 270, 118},
    {K::CheckBox, 1049, "無敵モード", 14, 40, 110, 10, Tab},
    {K::CheckBox, 1055, "自機表示", 14, 52, 110, 10, Tab | WS_DISABLED},
    {K::CheckBox, 1057, "銃表示", 14, 64, 110, 10, Tab},
    {K::CheckBox, 1054, "弾表示", 14, 76, 110, 10, Tab},
    {K::CheckBox, 1056, "カーソル表示", 14, 88, 110, 10, Tab},
    {K::CheckBox, 1070, "木表示", 14, 100, 110, 10, Tab},
    {K::CheckBox, 1059, "敵表示", 142, 40, 110, 10, Tab},
    {K::CheckBox, 1058, "体力･弾数表示", 142, 52, 110, 10, Tab},
    {K::CheckBox, 1068, "フォッグ（霧）表示", 142, 64, 110, 10, Tab},
    {K::CheckBox, 1069, "発砲反動", 142, 76, 110, 10, Tab},
    {K::GroupBox, 1062, "logFont使用で重いです", 138, 86, 132, 32},
    {K::CheckBox, 1052, "位置情報表示", 144, 96, 100, 9, Tab},
    {K::CheckBox, 1053, "敵情報表示", 144, 106, 100, 9, Tab},
    {K::Static, 1063, "音の距離：", 14, 124, 40, 10},
    {K::Trackbar, 1060, "", 56, 120, 212, 14, Tab},
    {K::Static, -1, "100", 56, 134, 20, 8},
    {K::Static, -1, "800", 152, 134, 20, 8, SS_CENTER},
    {K::Static, -1, "1600", 248, 134, 20, 8, SS_RIGHT},
    {K::Static, 1064, "※音の距離は低いほど遠くなります。800が通常設定です。", 8, 149, 196, 20},
    PAGE_DEFAULTS_BUTTON,
};

// The help zones (help_zones.cpp) follow the two groups. A new option gets its row in a group
// here, its entry in page_options.cpp and a help zone.
constexpr DialogControl OptionsControls[] = {
    {K::GroupBox, -1, PictureGroupText, 6, 4, 270, 37},
    {K::Static, -1, PictureShapeLabel, 14, 16, 76, 10},
    {K::ComboBox, IdPictureShape, "", 92, 14, 120, 60, Tab},
    {K::Static, -1, LanguageLabel, 14, 29, 76, 10},
    {K::ComboBox, IdLanguage, "", 92, 27, 140, 60, Tab},
    {K::GroupBox, -1, ScreenshotGroupText, 6, 43, 270, 32},
    {K::CheckBox, IdScreenshots, ScreenshotSwitchText, 14, 53, 150, 10, Tab},
    {K::Static, -1, ScreenshotKeyNote, 14, 64, 258, 10},
    {K::GroupBox, -1, PadGroupText, 6, 77, 270, 37},
    {K::CheckBox, IdUsePad, UsePadText, 14, 87, 90, 10, Tab},
    {K::CheckBox, IdPadInvertY, PadInvertYText, 110, 87, 64, 10, Tab},
    {K::CheckBox, IdPadRumble, PadRumbleText, 180, 87, 64, 10, Tab},
    {K::Static, -1, PadLookSpeedLabel, 14, 101, 44, 10},
    {K::Trackbar, IdPadLookSpeed, "", 58, 98, 80, 14, Tab},
    {K::Static, -1, PadDeadZoneLabel, 146, 101, 24, 10},
    {K::Trackbar, IdPadDeadZone, "", 170, 98, 100, 14, Tab},
    {K::GroupBox, -1, OptionsHelpGroupText, 6, 116, 270, 43},
    {K::Static, IdOptionsHelp, "項目の説明を表示します。", 12, 124, 258, 34},
    {K::Static, -1, OptionsFileNote, 8, 162, 190, 10},
    PAGE_DEFAULTS_BUTTON,
};

constexpr DialogControl KeySetControls[] = {
    {K::Static, -1, "動作を設定したいボタンを押してください。", 4, 10, 79, 16, SS_CENTER},
    {K::Static, IdKeySetNote, "ESCキーを押すと設定をキャンセルします。", 4, 28, 79, 16, SS_CENTER},
};

template <std::size_t N>
constexpr DialogTemplate Page(const DialogControl (&controls)[N], int width) {
  DialogTemplate t;
  t.Width = width;
  t.Height = 176;
  t.Style = PageStyle;
  t.Controls = controls;
  return t;
}
}  // namespace

const char* const SettingsTabTexts[SettingsPageCount] = {"ゲーム設定", "画面設定", "サウンド設定",
                                                         "キー設定", "その他設定", OptionsTabText};

const DialogTemplate SettingWindowTemplate = [] {
  DialogTemplate t;
  t.Caption = "KorvidSetting";
  t.Width = 299;
  t.Height = 224;
  t.Style = WS_CAPTION | WS_SYSMENU | DS_CENTER;
  t.Controls = WindowControls;
  return t;
}();

const DialogTemplate GamePageTemplate = Page(GameControls, 282);
const DialogTemplate GraphicsPageTemplate = Page(GraphicsControls, 282);
const DialogTemplate SoundPageTemplate = Page(SoundControls, 282);
const DialogTemplate KeysPageTemplate = Page(KeysControls, 283);
const DialogTemplate OtherPageTemplate = Page(OtherControls, 282);
const DialogTemplate OptionsPageTemplate = Page(OptionsControls, 282);

const DialogTemplate KeySetTemplate = [] {
  DialogTemplate t;
  t.Caption = "KeySet";
  t.Width = 87;
  t.Height = 50;
  t.Style = WS_CAPTION | DS_CENTER;
  t.Controls = KeySetControls;
  return t;
}();

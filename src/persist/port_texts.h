// Every text the port's own options bring: the sixth settings page, its help, and the lines on standard error.
#pragma once

// The settings page "拡張設定".
inline constexpr char OptionsTabText[] = "拡張設定";
inline constexpr char PictureGroupText[] = "画面表示";
inline constexpr char PictureShapeLabel[] = "画面の形：";
inline constexpr char PictureKeepText[] = "縦横比を保つ";
inline constexpr char PictureStretchText[] = "画面全体に引き伸ばす";
inline constexpr char ScreenshotGroupText[] = "スクリーンショット";
inline constexpr char ScreenshotSwitchText[] = "スクリーンショットを撮る";
inline constexpr char ScreenshotKeyNote[] = "F12 キー（または Print Screen キー）で、今の画面を PNG ファイルに保存します。";
inline constexpr char PadGroupText[] = "ゲームパッド";
inline constexpr char UsePadText[] = "ゲームパッドを使う";
inline constexpr char PadInvertYText[] = "上下を反転";
inline constexpr char PadRumbleText[] = "振動";
inline constexpr char PadLookSpeedLabel[] = "視点の速さ：";
inline constexpr char PadDeadZoneLabel[] = "遊び：";
inline constexpr char LanguageLabel[] = "言語 / Language：";
inline constexpr char LanguageSystemText[] = "システムの設定に従う / System";
// Each language is named in itself, in every language.
inline constexpr char LanguageJapaneseText[] = "日本語";
inline constexpr char LanguageEnglishText[] = "English";
inline constexpr char OptionsHelpGroupText[] = "説明";
inline constexpr char OptionsFileNote[] = "※この設定は korvid.ini に保存されます。";

inline constexpr char PictureShapeHelp[] =
    "画面の形の変更。[縦横比を保つ]では、ゲームの絵を元の縦横比のまま画面に収まる一番大きな大きさで中央に表示し、"
    "余った所は黒くなります。\n[画面全体に引き伸ばす]では、絵を画面全体に広げます（元の表示）。";
inline constexpr char LanguageHelp[] =
    "表示する言語の変更。[システムの設定に従う]では、環境変数 LANGUAGE、LC_ALL、LC_MESSAGES、LANG の言語で表示します"
    "（翻訳のない言語や C ロケールでは日本語）。\n"
    "文字は次に開く画面やダイアログから、画像の文字は次回の起動から変わります。";
inline constexpr char ScreenshotHelp[] =
    "スクリーンショットの設定。チェックをつけると、F12キー（またはPrintScreenキー）で今の画面をPNGファイルに保存します。"
    "ゲームの操作に割り当てたキーは、その操作のままです。\n"
    "保存先はピクチャフォルダの中のKorvidフォルダです（ない場合は設定ファイルと同じフォルダ）。";
// The key capture with a pad connected: it still waits for a key of the keyboard.
inline constexpr char KeySetPadNote[] = "キーボードで入力、ESC・Bボタンで取消。";
inline constexpr char PadHelp[] =
    "ゲームパッドの設定。左スティックで移動、右スティックで視点、右トリガーで発射、左トリガーでスコープ、"
    "Aでジャンプ、Xでリロード、Y・L・Rで武器の切り替え、十字キーで武器の直接選択です。\n"
    "[視点の速さ]は右スティックで向きを変える速さ、[遊び]はスティックが反応しない中央の広さです。"
    "[振動]では、ダメージを受けた時と死んだ時にパッドが震えます。";

// korvid.ini on standard error; each is told once per run. %s: section, key, value, as named.
inline constexpr char IniNotTextMessage[] = "korvid: korvid.ini is not a text file; the port's options keep their defaults\n";
inline constexpr char IniUnreadableMessage[] = "korvid: korvid.ini cannot be read; the port's options keep their defaults\n";
inline constexpr char IniBadLineMessage[] = "korvid: korvid.ini line %d is not a setting; it is ignored\n";
inline constexpr char IniBadValueMessage[] = "korvid: korvid.ini [%s] %s = \"%s\" is not a valid value; %s is used\n";
inline constexpr char IniUnknownKeyMessage[] = "korvid: korvid.ini [%s] %s is not an option of this version; it is kept as it is\n";
inline constexpr char IniSaveFailedMessage[] = "korvid: korvid.ini could not be saved; the options stay for this run only\n";

// Screenshots on standard error (no message box: play goes on).
inline constexpr char ScreenshotSavedMessage[] = "korvid: screenshot saved to %s\n";
inline constexpr char ScreenshotFailedMessage[] = "korvid: the screenshot could not be saved: %s\n";

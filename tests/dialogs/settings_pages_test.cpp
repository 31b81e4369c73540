// Live behaviour of the pages: presets, key capture, click sound, help box, samples, greying.
#include <string>
#include <vector>

#include "app/app_globals.h"
#include "app/random.h"
#include "dialogs/key_names.h"
#include "dialogs/settings_pages.h"
#include "dialogs/settings_templates.h"
#include "persist/settings_record.h"
#include "platform/message_box.h"
#include "settings_window_fixture.h"

namespace {
constexpr int KeyNameIds[10] = {1036, 1037, 1038, 1039, 1048, 1049, 1040, 1041, 1053, 1055};

std::vector<std::string> ShownKeyNames() {
  std::vector<std::string> names;
  for (int id : KeyNameIds) names.push_back(GetDlgItemText(SettingsWindow.Pages[PageKeys], id));
  return names;
}

std::vector<std::string> NamesOf(const std::uint32_t (&codes)[10]) {
  std::vector<std::string> names;
  for (std::uint32_t code : codes) names.push_back(KeyName(code));
  return names;
}

TEST_F(SettingsWindowTest, ChoosingAPresetRenamesAllTenKeysAtOnce) {
  const std::uint32_t preset1[10] = {87, 83, 65, 68, 81, 69, 32, 17, 70, 82};
  const std::uint32_t preset2[10] = {38, 40, 37, 39, 46, 34, 17, 97, 16, 96};
  std::vector<std::vector<std::string>> seen;
  RunWindow([&](HWND top, int frame) {
    if (frame != 2) return;
    const HWND keys = SettingsWindow.Pages[PageKeys];
    seen.push_back(ShownKeyNames());
    for (int preset : {2, 0, 1}) {
      SetListSelection(keys, 1033, preset);
      Click(keys, 1033, CBN_SELCHANGE);
      seen.push_back(ShownKeyNames());
    }
    Click(top, IdCancel);
  });
  ASSERT_EQ(seen.size(), 4u);
  EXPECT_EQ(seen[0], NamesOf(preset1));
  EXPECT_EQ(seen[1], NamesOf(preset2));
  EXPECT_EQ(seen[2], NamesOf(preset2));  // custom keeps what is bound
  EXPECT_EQ(seen[3], NamesOf(preset1));
}

struct KeyPress {
  std::uint32_t Key;
  bool Down;
  bool WasDown;
};

struct CaptureCase {
  const char* Name;
  int Button;  // the row's "変更"
  int Binding;
  std::vector<KeyPress> Keys;
  std::uint32_t Bound;  // the binding afterwards
  const char* Shown;
  int Preset;  // selection of the preset list afterwards (starts at 1)
  const char* Message;  // box shown, or null
};

class KeyCapture : public SettingsWindowTest, public testing::WithParamInterface<CaptureCase> {};

TEST_P(KeyCapture, TakesTheFirstFreshPress) {
  const CaptureCase& c = GetParam();
  int phase = 0;
  std::string shown;
  int preset = -1;
  std::uint32_t bound = 0, forward = 0;
  RunWindow([&](HWND top, int) {
    const bool settingsOnTop = top == SettingsWindow.Window;
    if (phase == 0 && settingsOnTop) {
      PostClick(SettingsWindow.Pages[PageKeys], c.Button);
      phase = 1;
    } else if (phase == 1 && !settingsOnTop) {
      EXPECT_EQ(Settings.KeyCaptureSlot, c.Binding + 1);
      for (const KeyPress& k : c.Keys) PostKey(k.Key, k.Down, k.WasDown);
      phase = 2;
    } else if (phase == 2 && settingsOnTop) {
      const HWND keys = SettingsWindow.Pages[PageKeys];
      shown = GetDlgItemText(keys, KeyNameIds[c.Binding]);
      preset = GetListSelection(keys, 1033);
      bound = Settings.KeyBindings[c.Binding];
      forward = Settings.KeyBindings[KeyForward];
      EXPECT_EQ(Settings.KeyCaptureSlot, 0);
      Click(top, IdCancel);
      phase = 3;
    }
  });
  ASSERT_EQ(phase, 3);
  EXPECT_EQ(bound, c.Bound);
  EXPECT_EQ(shown, c.Shown);
  EXPECT_EQ(preset, c.Preset);
  if (c.Binding != KeyForward) {
    EXPECT_EQ(forward, 87u);
  }
  const auto& boxes = CapturedMessageBoxes();
  if (c.Message) {
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, c.Message);
    EXPECT_EQ(boxes[0].Caption, "警告");
    EXPECT_TRUE(boxes[0].Owned);
  } else {
    EXPECT_TRUE(boxes.empty());
  }
  // Cancelling the window drops the capture.
  EXPECT_EQ(Settings.KeyBindings[c.Binding], DefaultStoredFields[23 + c.Binding]);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, KeyCapture,
    testing::Values(
        CaptureCase{"FreshKey", 1042, KeyForward, {{'B', true, false}}, 'B', "B", 0, nullptr},
        CaptureCase{"HeldKeyIgnoredUntilPressedAgain", 1047, KeyAttack,
                    {{'C', true, true}, {'C', false, true}, {'D', true, false}}, 'D', "D", 0, nullptr},
        CaptureCase{"EscapeCancels", 1042, KeyForward, {{27, true, false}}, 87, "W", 1, nullptr},
        CaptureCase{"RefusedKey", 1054, KeyReload, {{91, true, false}}, 82, "R", 1, "無効なキーです"},
        CaptureCase{"UnnamedKeyStored", 1046, KeyJump, {{20, true, false}}, 20, "??", 0, nullptr},
        CaptureCase{"KeySharedWithAnotherAction", 1043, KeyBack, {{'W', true, false}}, 'W', "W", 0,
                    nullptr}),
    [](const testing::TestParamInfo<CaptureCase>& info) { return std::string(info.param.Name); });

class ClickSound : public SettingsWindowTest, public testing::WithParamInterface<bool> {};

TEST_P(ClickSound, OnlyWhileTheEffectsBoxIsChecked) {
  const bool checked = GetParam();
  ASSERT_EQ(Settings.EffectsOn, 1u);
  int phase = 0;
  RunWindow([&](HWND top, int) {
    if (phase == 0) {
      CheckDlgButton(SettingsWindow.Pages[PageSound], IdEffectsOn, checked);
      Log.clear();
      TabSetSelection(top, IdTabControl, PageOther);
      NotifyHeader header{top, IdTabControl, TCN_SELCHANGE};
      SendMessage(top, WM_NOTIFY, IdTabControl, reinterpret_cast<LPARAM>(&header));
      EXPECT_TRUE(IsDialogShown(SettingsWindow.Pages[PageOther]));
      EXPECT_FALSE(IsDialogShown(SettingsWindow.Pages[PageGame]));
      PostClick(top, IdVersion);
      phase = 1;
    } else if (phase == 1 && top != SettingsWindow.Window) {
      EndDialog(top, 1);  // the version dialog
      phase = 2;
    } else if (phase == 2 && top == SettingsWindow.Window) {
      Click(top, IdCancel);
    }
  });
  EXPECT_EQ(phase, 2);
  EXPECT_EQ(PlayedOf(SoundPage), checked ? 3 : 0);  // the tab, and the version button twice
}

INSTANTIATE_TEST_SUITE_P(EffectsBox, ClickSound, testing::Bool());

TEST_F(SettingsWindowTest, TheHelpBoxFollowsThePointerAndTheFirstZoneWinsOnABorder) {
  const struct {
    int X, Y;  // dialog units of the page
    const char* Starts;
  } points[] = {
      {20, 20, "解像度の変更"},      {10, 32, "解像度の変更"},  {10, 40, "画面モードの変更"},
      {200, 20, "色数(bit)の変更"},  {240, 44, "グラフィックの鮮明度"},
      {20, 62, "ミップマップの使用"}, {150, 84, "ミップマップレベル"}, {150, 130, "項目の説明"},
  };
  std::vector<std::string> texts;
  RunWindow([&](HWND top, int frame) {
    if (frame != 2) return;
    const HWND page = SettingsWindow.Pages[PageGraphics];
    EXPECT_EQ(GetDlgItemText(page, 1045), "項目の説明を表示します。");
    for (const auto& p : points) {
      DialogRect r{p.X, p.Y, p.X, p.Y};
      MapDialogRect(page, r);
      SendMessage(page, WM_MOUSEMOVE, 0, MakePointParam(r.Left, r.Top));
      texts.push_back(GetDlgItemText(page, 1045));
    }
    Click(top, IdCancel);
  });
  ASSERT_EQ(texts.size(), std::size(points));
  for (std::size_t i = 0; i < texts.size(); ++i)
    EXPECT_EQ(texts[i].rfind(points[i].Starts, 0), 0u) << points[i].X << "," << points[i].Y << ": " << texts[i];
}

TEST_F(SettingsWindowTest, MovingAVolumePlaysASampleAtEachStepWithTheKindDrawnFirst) {
  const int steps[] = {20, 30, 40};
  RunWindow([&](HWND top, int frame) {
    if (frame != 2) return;
    const HWND sound = SettingsWindow.Pages[PageSound];
    Log.clear();
    SeedRandom(99);
    for (int id : {1009, 1006})
      for (int v : steps) {
        SetTrackbarPosition(sound, id, v);
        SendMessage(sound, WM_HSCROLL, CommandParam(TB_THUMBTRACK, v), id);
      }
    EXPECT_EQ(Settings.EffectsVolume, 40u);
    EXPECT_EQ(Settings.VoiceVolume, 40u);
    Click(top, IdCancel);
  });
  // The same draws again: impact kind then copy; call kind then slot, then the call's variant.
  SeedRandom(99);
  std::vector<SoundEvent> expected;
  for (int i = 0; i < 3; ++i) {
    SoundEvent e;
    e.Group = 1 + RandomBelow(2) == 1 ? SoundImpactWall : SoundImpactFloor;
    e.Copy = static_cast<int>(RandomBelow(5));
    expected.push_back(e);
  }
  const SoundGroupId calls[3] = {SoundCallStart, SoundCallDamage, SoundCallKill};
  const std::uint32_t variants[3] = {5, 4, 4};
  for (int i = 0; i < 3; ++i) {
    SoundEvent e;
    const int kind = static_cast<int>(RandomBelow(3));
    e.Group = calls[kind];
    e.Copy = static_cast<int>(RandomBelow(5));
    e.Variant = static_cast<int>(RandomBelow(variants[kind]));
    expected.push_back(e);
  }
  ASSERT_EQ(Played.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(Played[i].Group, expected[i].Group) << i;
    EXPECT_EQ(Played[i].Copy, expected[i].Copy) << i;
    EXPECT_EQ(Played[i].Variant, expected[i].Variant) << i;
  }
  EXPECT_EQ(Settings.EffectsVolume, 80u);  // cancelled
}

// The tabs and every list of the pages hold their texts whole and in order. A stored cursor
// style beyond the pictures is shown, kept and saved within them.
TEST_F(SettingsWindowTest, TabsAndListsHoldTheirTextsWholeAndTheStyleIsPulledIntoRange) {
  const struct {
    int Page, Id;
    std::vector<std::string> Entries;
  } lists[] = {
      {PageGame, 1044, {"初心者", "通常者", "玄人者"}},
      {PageGame, 1045, {"マシンガン", "ライフル", "ハンドガン"}},
      {PageGraphics, 1023,
       {"320×240", "512×384", "640×480", "800×600", "1024×768", "1152×864", "1280×1024", "1600×1200"}},
      {PageGraphics, 1026, {"荒い", "普通", "鮮明"}},
      {PageGraphics, 1025, {"ディスプレイの設定", "16 ビット", "24 ビット", "32 ビット"}},
      {PageGraphics, 1027,
       {"最適-少し適用", "詳細-少し適用", "最適-適用", "詳細-適用", "最適-多く適用", "詳細-多く適用"}},
      {PageKeys, 1033, {"カスタム", "設定1", "設定2"}},
  };
  for (const std::uint32_t style : {9u, 0u}) {
    StoredFields stored = DefaultStoredFields;
    stored[2] = style;
    WriteSettingsFile(stored);
    int shownStyle = -1;
    std::uint32_t recordStyle = 0;
    RunWindow([&](HWND top, int frame) {
      if (frame != 2) return;
      for (const auto& l : lists) {
        const HWND page = SettingsWindow.Pages[l.Page];
        std::vector<std::string> shown;
        for (int i = 0; i < GetListCount(page, l.Id); ++i) shown.push_back(GetListString(page, l.Id, i));
        EXPECT_EQ(shown, l.Entries) << l.Id;
      }
      std::vector<std::string> tabs;
      for (int i = 0; i < TabGetCount(top, IdTabControl); ++i) tabs.push_back(TabGetItemText(top, IdTabControl, i));
      EXPECT_EQ(tabs, (std::vector<std::string>{"ゲーム設定", "画面設定", "サウンド設定", "キー設定", "その他設定",
                                                "拡張設定"}));
      shownStyle = GetScrollPosition(SettingsWindow.Pages[PageGame], 1055);
      recordStyle = Settings.CursorStyle;
      QueueMessageBoxAnswer(IDNO);
      Click(top, IdSave);
    });
    const int want = style > 6 ? 6 : 1;
    EXPECT_EQ(shownStyle, want) << style;
    EXPECT_EQ(recordStyle, static_cast<std::uint32_t>(want)) << style;
    EXPECT_EQ(DecodeSettingsFile()[2], static_cast<std::uint32_t>(want)) << style;
  }
}

// A step of the style's scroll bar repaints the preview with the picture of the style it
// reaches: one step right from style 1 shows what a window opened on style 2 shows.
TEST_F(SettingsWindowTest, AStyleStepRepaintsThePreviewWithItsPicture) {
  std::vector<std::uint32_t> opened[2], stepped;
  for (const std::uint32_t style : {1u, 2u}) {
    StoredFields stored = DefaultStoredFields;
    stored[2] = style;
    WriteSettingsFile(stored);
    RunWindow([&](HWND top, int frame) {
      const HWND game = SettingsWindow.Pages[PageGame];
      if (frame == 2) {
        opened[style - 1] = PaintedPixels(game);
        if (style == 2) Click(top, IdCancel);
        else SendMessage(game, WM_HSCROLL, SB_LINERIGHT, 1055);
      } else if (frame > 2) {
        // The repaint comes with a later drawn frame.
        stepped = PaintedPixels(game);
        if (stepped != opened[0] || frame == 40) Click(top, IdCancel);
      }
    });
  }
  ASSERT_FALSE(opened[0].empty());
  EXPECT_TRUE(opened[0] != opened[1]);
  EXPECT_TRUE(stepped == opened[1]);
}

TEST_F(SettingsWindowTest, DependentControlsGreyButKeepTheirValues) {
  Settings.MipmapLevel = 4;
  ASSERT_TRUE(Settings.SaveSettings());
  const int debugDependent[] = {1049, 1057, 1054, 1056, 1070, 1059, 1058, 1068, 1069, 1052, 1053,
                                1060, 1061, 1062, 1063, 1064};
  RunWindow([&](HWND top, int frame) {
    if (frame != 2) return;
    const HWND other = SettingsWindow.Pages[PageOther];
    for (int id : debugDependent) EXPECT_FALSE(IsDlgItemEnabled(other, id)) << id;
    EXPECT_FALSE(IsDlgItemEnabled(other, 1055));
    CheckDlgButton(other, 1051, true);
    Click(other, 1051);
    for (int id : debugDependent) EXPECT_TRUE(IsDlgItemEnabled(other, id)) << id;
    EXPECT_FALSE(IsDlgItemEnabled(other, 1055));  // "自機表示" is never offered
    CheckDlgButton(other, 1057, false);
    CheckDlgButton(other, 1051, false);
    Click(other, 1051);
    EXPECT_FALSE(IsDlgItemEnabled(other, 1057));
    EXPECT_FALSE(IsDlgButtonChecked(other, 1057));

    const HWND graphics = SettingsWindow.Pages[PageGraphics];
    EXPECT_TRUE(IsDlgItemEnabled(graphics, 1027));
    CheckDlgButton(graphics, 1051, false);
    Click(graphics, 1051);
    EXPECT_FALSE(IsDlgItemEnabled(graphics, 1027));
    EXPECT_FALSE(IsDlgItemEnabled(graphics, 1063));

    const HWND sound = SettingsWindow.Pages[PageSound];
    CheckDlgButton(sound, 1011, false);
    Click(sound, 1011);
    EXPECT_FALSE(IsDlgItemEnabled(sound, 1006));
    EXPECT_FALSE(IsDlgItemEnabled(sound, 1063));
    EXPECT_TRUE(IsDlgItemEnabled(sound, 1009));
    Click(top, IdSave);
  });
  EXPECT_EQ(Settings.UseMipmaps, 0u);
  EXPECT_EQ(Settings.MipmapLevel, 4u);
  EXPECT_EQ(Settings.VoiceOn, 0u);
  EXPECT_EQ(Settings.DebugMode, 0u);
}
}  // namespace

namespace {
TEST_F(SettingsWindowTest, APageDefaultsButtonAsksAndResetsItsSectionOnlyOnYes) {
  for (int answer : {IDNO, IDYES}) {
    QueueMessageBoxAnswer(answer);
    std::uint32_t difficulty = 99, music = 0;
    RunWindow([&](HWND top, int frame) {
      if (frame != 2) return;
      Settings.Difficulty = 2;
      Settings.MusicVolume = 30;
      Click(SettingsWindow.Pages[PageGame], IdPageDefaults);
      difficulty = Settings.Difficulty;
      music = Settings.MusicVolume;
      Click(top, IdCancel);
    });
    ASSERT_FALSE(CapturedMessageBoxes().empty());
    EXPECT_EQ(CapturedMessageBoxes().back().Text, "設定をディフォルトにしますか？");
    EXPECT_EQ(CapturedMessageBoxes().back().Caption, "警告");
    EXPECT_EQ(difficulty, answer == IDYES ? DefaultStoredFields[0] : 2u) << answer;
    EXPECT_EQ(music, 30u) << "another page's section";
  }
}

TEST_F(SettingsWindowTest, ACaptureWithNoSlotPendingSaysSoAndChangesNothing) {
  Settings.KeyCaptureSlot = 0;
  const std::uint32_t forward = Settings.KeyBindings[KeyForward];
  RunKeyCapture(MainWindow);
  ASSERT_EQ(CapturedMessageBoxes().size(), 1u);
  EXPECT_EQ(CapturedMessageBoxes()[0].Text, "キー変更できません。");
  EXPECT_EQ(CapturedMessageBoxes()[0].Caption, "警告");
  EXPECT_EQ(Settings.KeyCaptureSlot, -1);
  EXPECT_EQ(Settings.KeyBindings[KeyForward], forward);
  Settings.KeyCaptureSlot = 0;
}
}  // namespace

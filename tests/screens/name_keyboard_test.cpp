// The on-screen keyboard: the byte limit as characters are added, and a Japanese name made with the test pad alone.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "app/app_globals.h"
#include "persist/cp932_text.h"
#include "persist/settings_record.h"
#include "platform/input/pad.h"
#include "screens/name_keyboard.h"
#include "support/dialog_script.h"
#include "world/game_world.h"

namespace {
constexpr int IdStatus = 1202, IdLatin = 1203, IdKatakana = 1205, IdDone = 1208, IdFirstCell = 1300;
constexpr int Level = 0;

TEST(NameKeyboardLimit, AddsWithinSixteenCp932BytesAndRefusesTheSeventeenth) {
  struct Case {
    const char* Start;
    const char* Added;
    bool Taken;
  } const cases[] = {
      {"", "A", true},
      {"コルヴィド", "が", true},                 // 10 + 2 bytes
      {"あいうえおかきく", "A", false},           // 16 + 1
      {"あいうえおかきく", "ー", false},          // 16 + 2
      {"ABCDEFGHIJKLMNO", "P", true},             // 15 + 1
      {"ABCDEFGHIJKLMNO", "ぱ", false},           // 15 + 2 = 17
      {"ABCDEFGHIJKLMN", "ヴ", true},             // 14 + 2 = 16
      {"", "😀", false},                          // no CP932 form
      {"AB", "", false},
  };
  for (const Case& c : cases) {
    NameKeyboard k;
    k.Name = c.Start;
    EXPECT_EQ(k.Add(c.Added), c.Taken) << c.Start << " + " << c.Added;
    EXPECT_EQ(k.Name, c.Taken ? std::string(c.Start) + c.Added : std::string(c.Start));
    EXPECT_LE(k.Bytes(), RankingNameMaxLength);
  }
}

TEST(NameKeyboardLimit, DeleteTakesTheLastWholeCharacter) {
  NameKeyboard k;
  k.Name = "AがB";
  k.DeleteLast();
  EXPECT_EQ(k.Name, "Aが");
  k.DeleteLast();
  EXPECT_EQ(k.Name, "A");
  k.DeleteLast();
  k.DeleteLast();
  EXPECT_EQ(k.Name, "");
}

TEST(NameKeyboardCells, EachSetFitsTheGridAndKatakanaHaveTheirDakuten) {
  for (KeyboardSet set : {KeyboardSet::Latin, KeyboardSet::Hiragana, KeyboardSet::Katakana}) {
    const auto& cells = KeyboardCells(set);
    ASSERT_EQ(cells.size(), static_cast<std::size_t>(KeyboardColumns * KeyboardRows));
    for (const std::string& c : cells) {
      std::string bytes;
      EXPECT_TRUE(c.empty() || Utf8ToCp932(c, bytes)) << c;
    }
  }
  const auto& k = KeyboardCells(KeyboardSet::Katakana);
  for (const char* c : {"ガ", "ゾ", "ド", "ボ", "ポ", "ヴ", "ッ", "ー"}) EXPECT_NE(std::find(k.begin(), k.end(), c), k.end()) << c;
  const auto& h = KeyboardCells(KeyboardSet::Hiragana);
  for (const char* c : {"が", "ぱ", "ん", "ゃ"}) EXPECT_NE(std::find(h.begin(), h.end(), c), h.end()) << c;
}

// Drives the innermost dialog with the test pad: each step names the button to press next
// (pressed one frame, let go the next), -1 when it is done, or -2 to wait a frame.
class PadDriver {
 public:
  using Step = std::function<int(HWND top)>;
  explicit PadDriver(std::vector<Step> steps) : Steps(std::move(steps)) { SetDialogFrameHook(&Hook, this); }
  ~PadDriver() { SetDialogFrameHook(nullptr, nullptr); }
  std::size_t Done = 0;

 private:
  static void Hook(HWND top, void* user) {
    auto& d = *static_cast<PadDriver*>(user);
    if (d.Held >= 0) {
      SetTestPadButton(static_cast<PadButton>(d.Held), false);
      d.Held = -1;
      return;
    }
    while (d.Done < d.Steps.size()) {
      const int button = d.Steps[d.Done](top);
      if (button == -2) return;
      if (button < 0) {
        ++d.Done;
        continue;
      }
      if (++d.Presses > 600) {
        ADD_FAILURE() << "the pad got stuck at step " << d.Done;
        EndDialog(top, -99);
        return;
      }
      SetTestPadButton(static_cast<PadButton>(button), true);
      d.Held = button;
      return;
    }
  }
  std::vector<Step> Steps;
  int Held = -1;
  int Presses = 0;
};

// The D-pad toward a control of the keyboard; the cells are a grid, the set buttons under it.
PadDriver::Step GoTo(int id) {
  return [id](HWND top) -> int {
    const int at = GetDlgFocusId(top);
    if (at == id) return -1;
    const bool atCell = at >= IdFirstCell, toCell = id >= IdFirstCell;
    if (atCell && toCell) {
      const int a = at - IdFirstCell, t = id - IdFirstCell;
      // Up and down first, in a column; then along the row.
      if (a / KeyboardColumns != t / KeyboardColumns) return a < t ? PadDown : PadUp;
      return a < t ? PadRight : PadLeft;
    }
    if (atCell) return static_cast<int>(PadDown);
    if (toCell) return static_cast<int>(PadUp);
    return at < id ? PadRight : PadLeft;
  };
}

PadDriver::Step Press(PadButton button) {
  return [button, pressed = false](HWND) mutable {
    if (pressed) return -1;
    pressed = true;
    return static_cast<int>(button);
  };
}

int CellOf(KeyboardSet set, const char* c) {
  const auto& cells = KeyboardCells(set);
  return IdFirstCell + static_cast<int>(std::find(cells.begin(), cells.end(), c) - cells.begin());
}

class PadNameEntryTest : public DialogFixture {
 protected:
  void SetUp() override {
    DialogFixture::SetUp();
    Previous = std::filesystem::current_path();
    char pattern[] = "/tmp/korvid_padname_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    Scratch = pattern;
    std::filesystem::current_path(Scratch);
    MainWindow = Main;
    Settings.Difficulty = Level;
    Settings.DebugMode = 0;
    World.ResetRanking();
    const int scores[RankingSlots] = {50, 40, 30, 20, 10, 45};
    for (int slot = 0; slot < RankingSlots; ++slot) World.RankingScores[Level][slot] = scores[slot];
    World.LastGameScore = 45;
    ASSERT_TRUE(OpenPads(""));
    ASSERT_TRUE(AttachTestPad());
    UpdatePads();  // the game reads its pads every step; here before the entry opens
  }
  void TearDown() override {
    ClosePads();
    std::filesystem::current_path(Previous);
    std::filesystem::remove_all(Scratch);
    MainWindow = nullptr;
    DialogFixture::TearDown();
  }
  std::filesystem::path Previous, Scratch;
};

TEST_F(PadNameEntryTest, AJapaneseNameMadeWithThePadIsStoredAndTheSeventeenthByteRefused) {
  // The keyboard opens over the entry on its own: a pad is connected.
  std::vector<PadDriver::Step> steps{[](HWND top) { return GetDlgItemText(top, IdStatus).empty() ? -2 : -1; },
                                     GoTo(IdKatakana), Press(PadA)};
  for (const char* c : {"コ", "ル", "ヴ", "ィ", "ド"}) {
    steps.push_back(GoTo(CellOf(KeyboardSet::Katakana, c)));
    steps.push_back(Press(PadA));
  }
  steps.push_back(GoTo(IdLatin));
  steps.push_back(Press(PadA));
  for (const char* c : {"A", "B", "C", "D", "E", "F"}) {
    steps.push_back(GoTo(CellOf(KeyboardSet::Latin, c)));
    steps.push_back(Press(PadA));
  }
  std::string statusFull, statusRefused;
  steps.push_back([&](HWND top) {
    statusFull = GetDlgItemText(top, IdStatus);
    return -1;
  });
  steps.push_back(GoTo(CellOf(KeyboardSet::Latin, "G")));
  steps.push_back(Press(PadA));  // a seventeenth byte
  steps.push_back([&](HWND top) {
    statusRefused = GetDlgItemText(top, IdStatus);
    return -1;
  });
  steps.push_back(GoTo(IdDone));
  steps.push_back(Press(PadA));
  PadDriver driver(std::move(steps));
  World.OpenRankingEntry();
  EXPECT_EQ(statusFull, "16 / 16 バイト");
  EXPECT_EQ(statusRefused, "全角8文字(半角16文字)\nまで有効です。");
  std::string expected;
  ASSERT_TRUE(Utf8ToCp932("コルヴィドABCDEF", expected));
  EXPECT_EQ(std::string(World.RankingNames[Level][1]), expected);  // 45 is second
  EXPECT_TRUE(CapturedMessageBoxes().empty());
  EXPECT_EQ(World.LastGameScore, 0);  // the entry ended and saved
}

TEST_F(PadNameEntryTest, BLeavesTheKeyboardForTheTypedEntry) {
  std::vector<PadDriver::Step> steps{Press(PadB)};
  bool entryShown = false;
  steps.push_back([&](HWND top) {
    entryShown = GetDlgItemText(top, 1071) == "No Name";
    EndDialog(top, 1);
    return -1;
  });
  PadDriver driver(std::move(steps));
  World.OpenRankingEntry();
  EXPECT_TRUE(entryShown);
}
}  // namespace

// The ranking-entry dialog: what a name may be, where it lands, and how every ending saves.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "app/app_globals.h"
#include "persist/cp932_text.h"
#include "persist/settings_record.h"
#include "screens/name_entry.h"
#include "support/dialog_script.h"
#include "world/game_world.h"

namespace {
constexpr int IdName = 1071, IdDecline = 1072, IdConfirm = 1073;
constexpr int Level = 1;

std::string Cp932(const char* utf8) {
  std::string bytes;
  EXPECT_TRUE(Utf8ToCp932(utf8, bytes)) << utf8;
  return bytes;
}

TEST(RankingName, ByteLimitCountsCp932BytesAndRefusesWhatItCannotStore) {
  struct Case {
    const char* Typed;
    NameCheck Expected;
    const char* Stored;  // UTF-8 of what is stored, when accepted
  } const cases[] = {
      {"ABCDEFGHIJKLMNOP", NameCheck::Accepted, "ABCDEFGHIJKLMNOP"},
      {"ABCDEFGHIJKLMNOPQ", NameCheck::TooLong, nullptr},
      {"一二三四五六七八", NameCheck::Accepted, "一二三四五六七八"},
      {"一二三四五六七八九", NameCheck::TooLong, nullptr},
      {"一二三四五六七abc", NameCheck::TooLong, nullptr},  // 14 + 3 bytes
      {"ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀ", NameCheck::Accepted, "ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀ"},  // half-width: 1 byte each
      {"～①∥", NameCheck::Accepted, "～①∥"},  // vendor rows of CP932
      {"", NameCheck::Accepted, "No Name"},
      {"%s%n", NameCheck::Accepted, "%s%n"},
      {"a,b", NameCheck::Accepted, "a,b"},
      {"名前😀", NameCheck::NotStorable, nullptr},
      {"Ωμ한", NameCheck::NotStorable, nullptr},
  };
  for (const Case& c : cases) {
    std::string stored = "junk";
    EXPECT_EQ(CheckRankingName(c.Typed, stored), c.Expected) << c.Typed;
    EXPECT_EQ(stored, c.Stored ? Cp932(c.Stored) : std::string()) << c.Typed;
  }
}

class NameEntryTest : public DialogFixture {
 protected:
  void SetUp() override {
    DialogFixture::SetUp();
    Previous = std::filesystem::current_path();
    char pattern[] = "/tmp/korvid_names_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    Scratch = pattern;
    std::filesystem::current_path(Scratch);
    MainWindow = Main;
    ResetTable();
  }
  // A fresh table: 50, 40, 30, 20, 10 ranked and the match's 35 in the candidate slot.
  void ResetTable() {
    BeginMessageBoxCapture();
    std::filesystem::remove("Ranking.dat");
    Settings.Difficulty = Level;
    Settings.DebugMode = 0;
    World.ResetRanking();
    const int scores[RankingSlots] = {50, 40, 30, 20, 10, 35};
    for (int slot = 0; slot < RankingSlots; ++slot) World.RankingScores[Level][slot] = scores[slot];
    World.LastGameScore = 35;
    for (int slot = 0; slot < RankingSlots; ++slot) Before[slot] = World.RankingNames[Level][slot];
  }
  void TearDown() override {
    std::filesystem::current_path(Previous);
    std::filesystem::remove_all(Scratch);
    MainWindow = nullptr;
    DialogFixture::TearDown();
  }

  std::vector<int> Scores() const {
    return {World.RankingScores[Level], World.RankingScores[Level] + RankingSlots};
  }
  std::string NameAt(int slot) const { return World.RankingNames[Level][slot]; }
  // Every ending clears the score and leaves a ranking file that reads back the same table.
  void ExpectEndedAndSaved() {
    EXPECT_EQ(World.LastGameScore, 0);
    ASSERT_TRUE(std::filesystem::exists("Ranking.dat"));
    const std::vector<int> scores = Scores();
    std::string names[RankingSlots];
    for (int slot = 0; slot < RankingSlots; ++slot) names[slot] = NameAt(slot);
    World.ResetRanking();
    World.LoadRanking();
    EXPECT_EQ(Scores(), scores);
    for (int slot = 0; slot < RankingSlots; ++slot) EXPECT_EQ(NameAt(slot), names[slot]) << slot;
  }

  std::filesystem::path Previous, Scratch;
  std::string Before[RankingSlots];
};

TEST_F(NameEntryTest, OpensWithNoNameSelectedSoTypingReplacesIt) {
  DialogScript script(Main);
  script
      .Then([&](HWND d) {
        EXPECT_EQ(GetDlgItemText(d, IdName), "No Name");
        EXPECT_EQ(GetDlgFocusId(d), IdName);
        script.Type(U"山田");
      })
      .Then([&](HWND) { script.Key(13); });  // Enter confirms as "決定" does
  World.OpenRankingEntry();
  EXPECT_EQ(Scores(), (std::vector<int>{50, 40, 35, 30, 20, 35}));
  EXPECT_EQ(NameAt(2), Cp932("山田"));
  EXPECT_EQ(NameAt(3), Before[2]);
  EXPECT_EQ(NameAt(5), "No Name");
  EXPECT_TRUE(CapturedMessageBoxes().empty());
  ExpectEndedAndSaved();
}

TEST_F(NameEntryTest, NamesAreStoredVerbatimAndAnEmptyFieldIsNoName) {
  for (const char* typed : {"%s%n", "a,b", "", "一二三四五六七八"}) {
    ResetTable();
    DialogScript script(Main);
    script.Then([&](HWND d) {
      SetDlgItemText(d, IdName, typed);
      script.Click(d, IdConfirm);
    });
    World.OpenRankingEntry();
    EXPECT_EQ(NameAt(2), Cp932(*typed ? typed : "No Name")) << typed;
    ExpectEndedAndSaved();
  }
}

TEST_F(NameEntryTest, RefusedNamesWarnFromTheDialogWhichStaysOpen) {
  struct Case {
    const char* Typed;
    const char* Message;
  } const cases[] = {
      {"ABCDEFGHIJKLMNOPQ", "全角8文字(半角16文字)\nまで有効です。"},
      {"一二三四五六七八九", "全角8文字(半角16文字)\nまで有効です。"},
      {"名前😀", "名前に使えない文字が含まれています。\n別の文字で入力してください。"},
      // 64 UTF-8 bytes, the last character across the 64th: still too long, not unstorable.
      {"aあああああああああああああああああああああ", "全角8文字(半角16文字)\nまで有効です。"},
  };
  for (const Case& c : cases) {
    ResetTable();
    DialogScript script(Main);
    HWND dialog = nullptr;
    script
        .Then([&](HWND d) {
          dialog = d;
          SetDlgItemText(d, IdName, c.Typed);
          script.Key(13);
        })
        .Then([&](HWND d) {
          EXPECT_EQ(d, dialog);  // still open
          EXPECT_EQ(Scores(), (std::vector<int>{50, 40, 30, 20, 10, 35}));
          script.Click(d, IdDecline);
        });
    World.OpenRankingEntry();
    ASSERT_EQ(CapturedMessageBoxes().size(), 1u) << c.Typed;
    EXPECT_EQ(CapturedMessageBoxes()[0].Text, c.Message);
    EXPECT_EQ(CapturedMessageBoxes()[0].Caption, "警告");
    EXPECT_EQ(CapturedMessageBoxes()[0].Owner, dialog);
  }
}

TEST_F(NameEntryTest, DecliningOrClosingKeepsThePlacesAndTheScoreOnlyInTheLastSlot) {
  for (bool close : {false, true}) {
    ResetTable();
    DialogScript script(Main);
    script.Then([&](HWND d) {
      SetDlgItemText(d, IdName, "山田");
      if (close) PostMessage(d, WM_CLOSE, 0, 0);
      else script.Click(d, IdDecline);
    });
    World.OpenRankingEntry();
    EXPECT_EQ(Scores(), (std::vector<int>{50, 40, 30, 20, 10, 35})) << close;
    for (int slot = 0; slot < 5; ++slot) EXPECT_EQ(NameAt(slot), Before[slot]);
    EXPECT_EQ(NameAt(5), "No Name");
    ExpectEndedAndSaved();
  }
}

TEST_F(NameEntryTest, EscapeDoesNotEndTheEntry) {
  DialogScript script(Main);
  HWND dialog = nullptr;
  script.Then([&](HWND d) {
          dialog = d;
          script.Key(0x1B);
        })
      .Then([&](HWND d) {
        EXPECT_EQ(d, dialog);
        script.Click(d, IdDecline);
      });
  World.OpenRankingEntry();
  EXPECT_EQ(World.LastGameScore, 0);
}
}  // namespace

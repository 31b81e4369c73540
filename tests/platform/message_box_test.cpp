// Message boxes under capture: queued answers, defaults and what was shown.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "platform/message_box.h"
#include "platform/message_box_internal.h"

TEST(MessageBoxCapture, RecordsTextCaptionOwnerAndAnswersFromTheQueue) {
  BeginMessageBoxCapture();
  QueueMessageBoxAnswer(IDNO);
  EXPECT_EQ(MessageBox(nullptr, "続けますか？", "警告", MB_YESNO), IDNO);
  // An empty queue answers the default button.
  EXPECT_EQ(MessageBox(nullptr, "a", "b", MB_YESNO), IDYES);
  EXPECT_EQ(MessageBox(reinterpret_cast<HWND>(0x1), "c", "d", MB_OK), IDOK);
  const auto& shown = CapturedMessageBoxes();
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0].Text, "続けますか？");
  EXPECT_EQ(shown[0].Caption, "警告");
  EXPECT_EQ(shown[0].Type, static_cast<std::uint32_t>(MB_YESNO));
  EXPECT_FALSE(shown[0].Owned);
  EXPECT_TRUE(shown[2].Owned);
  EndMessageBoxCapture();
  BeginMessageBoxCapture();
  EXPECT_TRUE(CapturedMessageBoxes().empty());
  EndMessageBoxCapture();
}

namespace {
// What the native box does on each showing: its return code and the button it reports.
std::vector<std::pair<int, int>> Showings;
std::size_t Shown = 0;
int FakeNative(const SDL_MessageBoxData*, int* pressed) {
  const auto [rc, button] = Showings[std::min(Shown++, Showings.size() - 1)];
  *pressed = button;
  return rc;
}
}  // namespace

TEST(MessageBoxNative, ABoxClosedWithoutAButtonIsShownAgainAndOnlyOneNeverShownTakesTheDefault) {
  const struct {
    const char* Name;
    std::vector<std::pair<int, int>> Showings;
    std::uint32_t Type;
    int Answer;
    std::size_t Calls;
  } cases[] = {
      {"answered", {{0, IDNO}}, MB_YESNO, IDNO, 1},
      {"closed twice, then No", {{0, -1}, {0, -1}, {0, IDNO}}, MB_YESNO, IDNO, 3},
      {"no display", {{-1, -1}}, MB_YESNO, IDYES, 1},
      {"never answers", {{0, -1}}, MB_OK, IDOK, 20},
  };
  const NativeMessageBox saved = SetNativeMessageBox(FakeNative);
  for (const auto& c : cases) {
    Showings = c.Showings;
    Shown = 0;
    testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBox(nullptr, "設定を修復しました。\n次へ", "警告", c.Type), c.Answer) << c.Name;
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_EQ(Shown, c.Calls) << c.Name;
    // Named once on standard error, by caption and first line, however often it was shown.
    EXPECT_EQ(log.find("Korvid: message box \"警告\": 設定を修復しました。\n"), 0u) << log;
    EXPECT_EQ(log.find("Korvid: message box", 1), std::string::npos) << log;
  }
  SetNativeMessageBox(saved);
}

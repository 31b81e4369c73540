// Message boxes under capture: queued answers, defaults and what was shown.
#include <gtest/gtest.h>

#include "platform/message_box.h"

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

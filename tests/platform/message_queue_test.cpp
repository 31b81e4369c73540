// The message queue: posting, closing, destroying, quitting and the cursor's mouse-move.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/window.h"

namespace {
std::vector<Message> Seen;

LRESULT Record(HWND w, std::uint32_t m, WPARAM wp, LPARAM lp) {
  Seen.push_back(Message{w, m, wp, lp});
  if (m == WM_DESTROY) PostQuitMessage(3);
  return DefWindowProc(w, m, wp, lp);
}

class MessageQueueTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetWindowSystem();
    Seen.clear();
    ASSERT_TRUE(RegisterWindowClass("Main Window", Record));
    window = CreateMainWindow("Main Window", "Korvid");
    ASSERT_NE(window, nullptr);
    Drain();  // events of the window's own creation
    Seen.clear();
  }
  void TearDown() override { ResetWindowSystem(); }

  // Dispatches everything queued; returns the quit code if WM_QUIT arrived, else -1.
  int Drain() {
    Message m;
    while (PeekMessage(m)) {
      if (m.Id == WM_QUIT) return static_cast<int>(m.WParam);
      DispatchMessage(m);
    }
    return -1;
  }
  HWND window = nullptr;
};

TEST_F(MessageQueueTest, UnknownClassGivesNoWindow) {
  EXPECT_EQ(CreateMainWindow("Other", "x"), nullptr);
}

TEST_F(MessageQueueTest, PostedMessagesArriveInOrderWithTheirParameters) {
  PostMessage(window, WM_KEYDOWN, 0x57, 1);
  PostMessage(window, WM_KEYUP, 0x57, 2);
  PostMessage(window, WM_LBUTTONDOWN, 1, MakePointParam(320, 240));
  EXPECT_EQ(Drain(), -1);
  ASSERT_EQ(Seen.size(), 3u);
  EXPECT_EQ(Seen[0].Id, WM_KEYDOWN);
  EXPECT_EQ(Seen[0].WParam, 0x57u);
  EXPECT_EQ(Seen[1].Id, WM_KEYUP);
  EXPECT_EQ(PointParamX(Seen[2].LParam), 320);
  EXPECT_EQ(PointParamY(Seen[2].LParam), 240);
}

TEST_F(MessageQueueTest, CloseDestroysTheWindowWhichQuitsWithItsCode) {
  PostMessage(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(Drain(), 3);
  ASSERT_EQ(Seen.size(), 2u);
  EXPECT_EQ(Seen[0].Id, WM_CLOSE);
  EXPECT_EQ(Seen[1].Id, WM_DESTROY);
  // Destroying again is refused and sends nothing.
  EXPECT_FALSE(DestroyWindow(window));
  EXPECT_EQ(Seen.size(), 2u);
  // Messages for the gone window are dropped.
  PostMessage(window, WM_KEYDOWN, 1, 0);
  Drain();
  EXPECT_EQ(Seen.size(), 2u);
}

TEST_F(MessageQueueTest, SetCursorPosDeliversOneMouseMoveAtThePoint) {
  SetCursorPos(100, 50);
  Drain();
  int moves = 0;
  for (const Message& m : Seen) {
    if (m.Id != WM_MOUSEMOVE) continue;
    ++moves;
    EXPECT_EQ(PointParamX(m.LParam), 100);
    EXPECT_EQ(PointParamY(m.LParam), 50);
  }
  EXPECT_EQ(moves, 1);
}

TEST_F(MessageQueueTest, PostingFromAnotherThreadIsSafe) {
  std::thread poster([&] {
    for (int i = 0; i < 1000; ++i) PostMessage(window, WM_TIMER, static_cast<WPARAM>(i), 0);
  });
  int received = 0;
  WPARAM expected = 0;
  while (received < 1000) {
    Message m;
    if (!PeekMessage(m)) continue;
    ASSERT_EQ(m.Id, WM_TIMER);
    EXPECT_EQ(m.WParam, expected++);
    ++received;
  }
  poster.join();
}

TEST_F(MessageQueueTest, CursorDisplayCounterFollowsShowAndHide) {
  EXPECT_EQ(ShowCursor(false), -1);
  EXPECT_EQ(ShowCursor(false), -2);
  EXPECT_EQ(ShowCursor(true), -1);
  EXPECT_EQ(ShowCursor(true), 0);
}

TEST(PointParam, PacksClientCoordinatesInTwoWords) {
  const LPARAM p = MakePointParam(1599, 1199);
  EXPECT_EQ(p, (1199 << 16) | 1599);
  EXPECT_EQ(PointParamX(p), 1599);
  EXPECT_EQ(PointParamY(p), 1199);
}

}  // namespace

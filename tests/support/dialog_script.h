// Drives modal dialogs in tests: a main window, steps run once per frame of the modal loop.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/dialog.h"
#include "platform/message_box.h"
#include "platform/window.h"
#include "app/app_globals.h"
#include "world/game_world.h"

class DialogScript {
 public:
  using Step = std::function<void(HWND dialog)>;

  explicit DialogScript(HWND mainWindow) : Main(mainWindow) { SetDialogFrameHook(&Hook, this); }
  // A step that never ran means the dialog ended before the script expected it to.
  ~DialogScript() {
    SetDialogFrameHook(nullptr, nullptr);
    if (Next < Steps.size()) ADD_FAILURE() << "dialog ended after " << Next << " of " << Steps.size() << " steps";
  }
  DialogScript(const DialogScript&) = delete;
  DialogScript& operator=(const DialogScript&) = delete;

  DialogScript& Then(Step step) {
    Steps.push_back(std::move(step));
    return *this;
  }

  // Input arrives as the display server gives it: messages to the main window.
  void KeyDown(std::uint32_t key, bool repeat = false) const {
    PostMessage(Main, WM_KEYDOWN, key, repeat ? (1 | (1 << 30)) : 1);
  }
  void KeyUp(std::uint32_t key) const {
    PostMessage(Main, WM_KEYUP, key, static_cast<LPARAM>(1u | (1u << 30) | (1u << 31)));
  }
  // Pressed and released before the next frame.
  void Key(std::uint32_t key) const {
    KeyDown(key);
    KeyUp(key);
  }
  void Type(const char32_t* text) const {
    for (; *text; ++text) PostMessage(Main, WM_CHAR, *text, 0);
  }
  void Composing(bool on) const { PostMessage(Main, WM_IME_COMPOSITION, on ? 1 : 0, 0); }
  // A left click at the middle of a control, pressed and released before the next frame.
  void Click(HWND dialog, int id) const {
    DialogRect r;
    ASSERT_TRUE(GetDlgItemWindowRect(dialog, id, r));
    const LPARAM at = MakePointParam((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    PostMessage(Main, WM_MOUSEMOVE, 0, at);
    PostMessage(Main, WM_LBUTTONDOWN, 1, at);
    PostMessage(Main, WM_LBUTTONUP, 0, at);
  }

  std::size_t StepsRun() const { return Next; }
  HWND Main = nullptr;

 private:
  static void Hook(HWND dialog, void* user) {
    auto* script = static_cast<DialogScript*>(user);
    if (script->Next < script->Steps.size()) {
      script->Steps[script->Next++](dialog);
    } else if (++script->Idle > 60) {
      // A dialog the script did not close: end it rather than hang the test.
      ADD_FAILURE() << "dialog still open after the script's last step";
      EndDialog(dialog, -99);
    }
  }
  std::vector<Step> Steps;
  std::size_t Next = 0;
  int Idle = 0;
};

// A fresh main window (SDL's offscreen driver) whose procedure records what reaches it, and
// captured message boxes.
class DialogFixture : public testing::Test {
 protected:
  static inline std::vector<Message> MainSeen;
  static LRESULT MainProc(HWND w, std::uint32_t m, WPARAM wp, LPARAM lp) {
    MainSeen.push_back(Message{w, m, wp, lp});
    return m == WM_CLOSE ? 0 : DefWindowProc(w, m, wp, lp);
  }
  void SetUp() override {
    // A device made by an earlier test in this program lives on a window about to go.
    if (World.Device) World.ReleaseGraphics();
    MainWindow = nullptr;
    ResetWindowSystem();
    ASSERT_TRUE(RegisterWindowClass("Main Window", MainProc));
    Main = CreateMainWindow("Main Window", "Korvid");
    ASSERT_NE(Main, nullptr);
    Message m;
    while (PeekMessage(m)) {
    }
    MainSeen.clear();
    BeginMessageBoxCapture();
  }
  void TearDown() override {
    EndMessageBoxCapture();
    ResetWindowSystem();
  }
  HWND Main = nullptr;
};

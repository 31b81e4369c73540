// Keys arrive as WM_KEYDOWN/WM_KEYUP carrying the virtual-key codes Setting.dat stores.
#include <gtest/gtest.h>

#include <SDL.h>

#include <vector>

#include "dialogs/key_names.h"
#include "platform/virtual_keys.h"
#include "platform/window.h"

namespace {
std::vector<Message> Keys;

LRESULT RecordKeys(HWND w, std::uint32_t m, WPARAM wp, LPARAM lp) {
  if (m == WM_KEYDOWN || m == WM_KEYUP) Keys.push_back(Message{w, m, wp, lp});
  return DefWindowProc(w, m, wp, lp);
}

class KeyTranslationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetWindowSystem();
    ASSERT_TRUE(RegisterWindowClass("Main Window", RecordKeys));
    window = CreateMainWindow("Main Window", "Korvid");
    ASSERT_NE(window, nullptr);
    Drain();
    Keys.clear();
  }
  void TearDown() override { ResetWindowSystem(); }
  void Drain() {
    Message m;
    while (PeekMessage(m)) DispatchMessage(m);
  }
  // Sends one physical key through SDL's queue; returns the code of the message it became.
  WPARAM Press(SDL_Scancode scancode, SDL_Keycode keycode, bool repeat = false) {
    Keys.clear();
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.windowID = 0;
    e.key.repeat = repeat ? 1 : 0;
    e.key.keysym.scancode = scancode;
    e.key.keysym.sym = keycode;
    SDL_PushEvent(&e);
    e.type = SDL_KEYUP;
    e.key.repeat = 0;
    SDL_PushEvent(&e);
    Drain();
    if (Keys.size() != 2) return 0xFFFF;
    EXPECT_EQ(Keys[0].Id, WM_KEYDOWN);
    EXPECT_EQ(Keys[1].Id, WM_KEYUP);
    EXPECT_EQ(Keys[0].WParam, Keys[1].WParam);
    return Keys[0].WParam;
  }
  HWND window = nullptr;
};

TEST_F(KeyTranslationTest, BothPresetsAndEscape) {
  // Preset 1: W S A D Q E Space Ctrl F R.
  EXPECT_EQ(Press(SDL_SCANCODE_W, SDLK_w), 87u);
  EXPECT_EQ(Press(SDL_SCANCODE_S, SDLK_s), 83u);
  EXPECT_EQ(Press(SDL_SCANCODE_A, SDLK_a), 65u);
  EXPECT_EQ(Press(SDL_SCANCODE_D, SDLK_d), 68u);
  EXPECT_EQ(Press(SDL_SCANCODE_Q, SDLK_q), 81u);
  EXPECT_EQ(Press(SDL_SCANCODE_E, SDLK_e), 69u);
  EXPECT_EQ(Press(SDL_SCANCODE_SPACE, SDLK_SPACE), 32u);
  EXPECT_EQ(Press(SDL_SCANCODE_LCTRL, SDLK_LCTRL), 17u);
  EXPECT_EQ(Press(SDL_SCANCODE_RCTRL, SDLK_RCTRL), 17u);
  EXPECT_EQ(Press(SDL_SCANCODE_F, SDLK_f), 70u);
  EXPECT_EQ(Press(SDL_SCANCODE_R, SDLK_r), 82u);
  // Preset 2: arrows, Delete, Page Down, Ctrl, numeric 1, Shift, numeric 0.
  EXPECT_EQ(Press(SDL_SCANCODE_UP, SDLK_UP), 38u);
  EXPECT_EQ(Press(SDL_SCANCODE_DOWN, SDLK_DOWN), 40u);
  EXPECT_EQ(Press(SDL_SCANCODE_LEFT, SDLK_LEFT), 37u);
  EXPECT_EQ(Press(SDL_SCANCODE_RIGHT, SDLK_RIGHT), 39u);
  EXPECT_EQ(Press(SDL_SCANCODE_DELETE, SDLK_DELETE), 46u);
  EXPECT_EQ(Press(SDL_SCANCODE_PAGEDOWN, SDLK_PAGEDOWN), 34u);
  EXPECT_EQ(Press(SDL_SCANCODE_KP_1, SDLK_KP_1), 97u);
  EXPECT_EQ(Press(SDL_SCANCODE_LSHIFT, SDLK_LSHIFT), 16u);
  EXPECT_EQ(Press(SDL_SCANCODE_RSHIFT, SDLK_RSHIFT), 16u);
  EXPECT_EQ(Press(SDL_SCANCODE_KP_0, SDLK_KP_0), 96u);
  EXPECT_EQ(Press(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE), 27u);
}

TEST_F(KeyTranslationTest, EveryNamedKeyGroup) {
  EXPECT_EQ(Press(SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE), 8u);
  EXPECT_EQ(Press(SDL_SCANCODE_TAB, SDLK_TAB), 9u);
  EXPECT_EQ(Press(SDL_SCANCODE_RETURN, SDLK_RETURN), 13u);
  EXPECT_EQ(Press(SDL_SCANCODE_LALT, SDLK_LALT), 18u);
  EXPECT_EQ(Press(SDL_SCANCODE_PAUSE, SDLK_PAUSE), 19u);
  EXPECT_EQ(Press(SDL_SCANCODE_INTERNATIONAL5, SDLK_UNKNOWN), 29u);
  EXPECT_EQ(Press(SDL_SCANCODE_PAGEUP, SDLK_PAGEUP), 33u);
  EXPECT_EQ(Press(SDL_SCANCODE_END, SDLK_END), 35u);
  EXPECT_EQ(Press(SDL_SCANCODE_HOME, SDLK_HOME), 36u);
  EXPECT_EQ(Press(SDL_SCANCODE_INSERT, SDLK_INSERT), 45u);
  EXPECT_EQ(Press(SDL_SCANCODE_PRINTSCREEN, SDLK_PRINTSCREEN), 44u);
  for (int d = 0; d <= 9; ++d) {
    const SDL_Scancode sc = d == 0 ? SDL_SCANCODE_0 : static_cast<SDL_Scancode>(SDL_SCANCODE_1 + d - 1);
    EXPECT_EQ(Press(sc, SDLK_0 + d), static_cast<WPARAM>('0' + d)) << d;
    EXPECT_EQ(Press(static_cast<SDL_Scancode>(SDL_SCANCODE_KP_1 + (d + 9) % 10), SDLK_UNKNOWN),
              static_cast<WPARAM>(96 + d))
        << d;
  }
  for (int l = 0; l < 26; ++l)
    EXPECT_EQ(Press(static_cast<SDL_Scancode>(SDL_SCANCODE_A + l), SDLK_a + l),
              static_cast<WPARAM>('A' + l));
  EXPECT_EQ(Press(SDL_SCANCODE_KP_MULTIPLY, SDLK_KP_MULTIPLY), 106u);
  EXPECT_EQ(Press(SDL_SCANCODE_KP_PLUS, SDLK_KP_PLUS), 107u);
  EXPECT_EQ(Press(SDL_SCANCODE_KP_MINUS, SDLK_KP_MINUS), 109u);
  EXPECT_EQ(Press(SDL_SCANCODE_KP_PERIOD, SDLK_KP_PERIOD), 110u);
  EXPECT_EQ(Press(SDL_SCANCODE_KP_DIVIDE, SDLK_KP_DIVIDE), 111u);
  for (int f = 0; f < 12; ++f)
    EXPECT_EQ(Press(static_cast<SDL_Scancode>(SDL_SCANCODE_F1 + f), SDLK_F1 + f),
              static_cast<WPARAM>(112 + f));
  EXPECT_EQ(Press(SDL_SCANCODE_SEMICOLON, SDLK_SEMICOLON), 186u);
  EXPECT_EQ(Press(SDL_SCANCODE_COMMA, SDLK_COMMA), 188u);
  EXPECT_EQ(Press(SDL_SCANCODE_MINUS, SDLK_MINUS), 189u);
  EXPECT_EQ(Press(SDL_SCANCODE_PERIOD, SDLK_PERIOD), 190u);
  EXPECT_EQ(Press(SDL_SCANCODE_SLASH, SDLK_SLASH), 191u);
  EXPECT_EQ(Press(SDL_SCANCODE_GRAVE, SDLK_BACKQUOTE), 192u);
  EXPECT_EQ(Press(SDL_SCANCODE_LEFTBRACKET, SDLK_LEFTBRACKET), 219u);
  EXPECT_EQ(Press(SDL_SCANCODE_BACKSLASH, SDLK_BACKSLASH), 220u);
  EXPECT_EQ(Press(SDL_SCANCODE_RIGHTBRACKET, SDLK_RIGHTBRACKET), 221u);
  EXPECT_EQ(Press(SDL_SCANCODE_APOSTROPHE, SDLK_QUOTE), 222u);
  EXPECT_EQ(Press(SDL_SCANCODE_NONUSBACKSLASH, SDLK_LESS), 226u);
}

// A JIS keyboard's punctuation caps: the code a Japanese Windows layout gives, and the name
// the keys page shows for it, which is the cap's own.
TEST(JapaneseKeyboard, PunctuationKeysGiveTheCodesAndNamesOfTheirCaps) {
  const struct {
    SDL_Scancode Scancode;
    SDL_Keycode Sym;  // what the JIS layout types there
    std::uint32_t Code;
    const char* Name;
  } caps[] = {
      {SDL_SCANCODE_MINUS, SDLK_MINUS, 189, "－(ﾊｲﾌﾝ)"},
      {SDL_SCANCODE_EQUALS, SDLK_CARET, 222, "＾"},
      {SDL_SCANCODE_INTERNATIONAL3, SDLK_BACKSLASH, 220, "\\"},
      {SDL_SCANCODE_LEFTBRACKET, SDLK_AT, 192, "＠"},
      {SDL_SCANCODE_RIGHTBRACKET, SDLK_LEFTBRACKET, 219, "["},
      {SDL_SCANCODE_SEMICOLON, SDLK_SEMICOLON, 187, "；(ｾﾐｺﾛﾝ)"},
      {SDL_SCANCODE_APOSTROPHE, SDLK_COLON, 186, "：(ｺﾛﾝ)"},
      {SDL_SCANCODE_BACKSLASH, SDLK_RIGHTBRACKET, 221, "]"},
      {SDL_SCANCODE_COMMA, SDLK_COMMA, 188, "，(ｶﾝﾏ)"},
      {SDL_SCANCODE_PERIOD, SDLK_PERIOD, 190, "．(ﾋﾟﾘｵﾄﾞ)"},
      {SDL_SCANCODE_SLASH, SDLK_SLASH, 191, "／(ｽﾗｯｼｭ)"},
      {SDL_SCANCODE_INTERNATIONAL1, SDLK_BACKSLASH, 226, "_(ｱﾝﾀﾞｰﾗｲﾝ)"},
  };
  for (const auto& cap : caps) {
    SDL_Keysym key{};
    key.scancode = cap.Scancode;
    key.sym = cap.Sym;
    EXPECT_EQ(VirtualKeyFromSdl(key, true), cap.Code) << cap.Name;
    EXPECT_STREQ(KeyName(VirtualKeyFromSdl(key, true)), cap.Name);
  }
  // The full-width key left of 1 is one the capture refuses, as on Japanese Windows.
  SDL_Keysym zenkaku{};
  zenkaku.scancode = SDL_SCANCODE_GRAVE;
  EXPECT_EQ(VirtualKeyFromSdl(zenkaku, true), 243u);
  EXPECT_EQ(VirtualKeyFromSdl(zenkaku, false), 192u);
}

TEST_F(KeyTranslationTest, LettersFollowTheLayoutAndRepeatsAreMarked) {
  // On a French layout the key at Q's place types A: the game sees A, as on Windows.
  EXPECT_EQ(Press(SDL_SCANCODE_Q, SDLK_a), 65u);
  Press(SDL_SCANCODE_W, SDLK_w, true);
  ASSERT_EQ(Keys.size(), 2u);
  EXPECT_NE(Keys[0].LParam & (1 << 30), 0);  // previous state down: a repeat
  // Keys without a code are not delivered at all.
  EXPECT_EQ(Press(SDL_SCANCODE_AUDIOPLAY, SDLK_AUDIOPLAY), 0xFFFFu);
}
}  // namespace

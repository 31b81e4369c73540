// Translation of SDL keys into Windows virtual-key codes.
#include "platform/virtual_keys.h"

namespace {
struct ScancodeKey {
  SDL_Scancode Scancode;
  std::uint32_t Code;
};

// Physical keys whose code does not depend on the keyboard layout.
constexpr ScancodeKey FixedKeys[] = {
    {SDL_SCANCODE_BACKSPACE, 8},   {SDL_SCANCODE_TAB, 9},          {SDL_SCANCODE_RETURN, 13},
    {SDL_SCANCODE_KP_ENTER, 13},   {SDL_SCANCODE_LSHIFT, 16},      {SDL_SCANCODE_RSHIFT, 16},
    {SDL_SCANCODE_LCTRL, 17},      {SDL_SCANCODE_RCTRL, 17},       {SDL_SCANCODE_LALT, 18},
    {SDL_SCANCODE_RALT, 18},       {SDL_SCANCODE_PAUSE, 19},       {SDL_SCANCODE_CAPSLOCK, 20},
    {SDL_SCANCODE_ESCAPE, 27},     {SDL_SCANCODE_INTERNATIONAL4, 28},
    {SDL_SCANCODE_INTERNATIONAL5, 29},
    {SDL_SCANCODE_SPACE, 32},      {SDL_SCANCODE_PAGEUP, 33},      {SDL_SCANCODE_PAGEDOWN, 34},
    {SDL_SCANCODE_END, 35},        {SDL_SCANCODE_HOME, 36},        {SDL_SCANCODE_LEFT, 37},
    {SDL_SCANCODE_UP, 38},         {SDL_SCANCODE_RIGHT, 39},       {SDL_SCANCODE_DOWN, 40},
    {SDL_SCANCODE_SELECT, 41},     {SDL_SCANCODE_EXECUTE, 43},     {SDL_SCANCODE_PRINTSCREEN, 44},
    {SDL_SCANCODE_INSERT, 45},     {SDL_SCANCODE_DELETE, 46},      {SDL_SCANCODE_HELP, 47},
    {SDL_SCANCODE_LGUI, 91},       {SDL_SCANCODE_RGUI, 92},        {SDL_SCANCODE_APPLICATION, 93},
    {SDL_SCANCODE_SLEEP, 95},
    {SDL_SCANCODE_KP_0, 96},       {SDL_SCANCODE_KP_1, 97},        {SDL_SCANCODE_KP_2, 98},
    {SDL_SCANCODE_KP_3, 99},       {SDL_SCANCODE_KP_4, 100},       {SDL_SCANCODE_KP_5, 101},
    {SDL_SCANCODE_KP_6, 102},      {SDL_SCANCODE_KP_7, 103},       {SDL_SCANCODE_KP_8, 104},
    {SDL_SCANCODE_KP_9, 105},      {SDL_SCANCODE_KP_MULTIPLY, 106}, {SDL_SCANCODE_KP_PLUS, 107},
    {SDL_SCANCODE_KP_MINUS, 109},  {SDL_SCANCODE_KP_PERIOD, 110},  {SDL_SCANCODE_KP_DIVIDE, 111},
    {SDL_SCANCODE_F1, 112},        {SDL_SCANCODE_F2, 113},         {SDL_SCANCODE_F3, 114},
    {SDL_SCANCODE_F4, 115},        {SDL_SCANCODE_F5, 116},         {SDL_SCANCODE_F6, 117},
    {SDL_SCANCODE_F7, 118},        {SDL_SCANCODE_F8, 119},         {SDL_SCANCODE_F9, 120},
    {SDL_SCANCODE_F10, 121},       {SDL_SCANCODE_F11, 122},        {SDL_SCANCODE_F12, 123},
    {SDL_SCANCODE_NUMLOCKCLEAR, 144}, {SDL_SCANCODE_SCROLLLOCK, 145},
    {SDL_SCANCODE_SEMICOLON, 186}, {SDL_SCANCODE_EQUALS, 187},     {SDL_SCANCODE_COMMA, 188},
    {SDL_SCANCODE_MINUS, 189},     {SDL_SCANCODE_PERIOD, 190},     {SDL_SCANCODE_SLASH, 191},
    {SDL_SCANCODE_GRAVE, 192},     {SDL_SCANCODE_LEFTBRACKET, 219}, {SDL_SCANCODE_BACKSLASH, 220},
    {SDL_SCANCODE_RIGHTBRACKET, 221}, {SDL_SCANCODE_APOSTROPHE, 222},
    {SDL_SCANCODE_NONUSBACKSLASH, 226}, {SDL_SCANCODE_INTERNATIONAL1, 226},
    {SDL_SCANCODE_LANG5, 243},     {SDL_SCANCODE_LANG4, 244},
};

// A Japanese (JIS) keyboard's punctuation keys, by position, with the codes a Japanese
// Windows layout gives them: the key page names these caps, and Setting.dat files move
// between the two systems.
constexpr ScancodeKey JapaneseKeys[] = {
    {SDL_SCANCODE_EQUALS, 222},        // ^ ~
    {SDL_SCANCODE_INTERNATIONAL3, 220},  // ¥ |
    {SDL_SCANCODE_LEFTBRACKET, 192},   // @ `
    {SDL_SCANCODE_RIGHTBRACKET, 219},  // [ {
    {SDL_SCANCODE_SEMICOLON, 187},     // ; +
    {SDL_SCANCODE_APOSTROPHE, 186},    // : *
    {SDL_SCANCODE_BACKSLASH, 221},     // ] }
    {SDL_SCANCODE_NONUSHASH, 221},
    {SDL_SCANCODE_GRAVE, 243},         // 半角/全角
};
}  // namespace

bool JapaneseKeyboardLayout() {
  // Only a JIS layout puts ":" right of L and "@" right of P.
  return SDL_GetKeyFromScancode(SDL_SCANCODE_APOSTROPHE) == SDLK_COLON &&
         SDL_GetKeyFromScancode(SDL_SCANCODE_LEFTBRACKET) == SDLK_AT;
}

std::uint32_t VirtualKeyFromSdl(const SDL_Keysym& key) { return VirtualKeyFromSdl(key, JapaneseKeyboardLayout()); }

std::uint32_t VirtualKeyFromSdl(const SDL_Keysym& key, bool japaneseLayout) {
  if (japaneseLayout)
    for (const ScancodeKey& entry : JapaneseKeys)
      if (entry.Scancode == key.scancode) return entry.Code;
  // Letters and digits follow the layout, as virtual-key codes do.
  if (key.sym >= SDLK_a && key.sym <= SDLK_z) return 'A' + (key.sym - SDLK_a);
  if (key.sym >= SDLK_0 && key.sym <= SDLK_9) return '0' + (key.sym - SDLK_0);
  if (key.scancode >= SDL_SCANCODE_A && key.scancode <= SDL_SCANCODE_Z)
    return 'A' + (key.scancode - SDL_SCANCODE_A);
  if (key.scancode >= SDL_SCANCODE_1 && key.scancode <= SDL_SCANCODE_9)
    return '1' + (key.scancode - SDL_SCANCODE_1);
  if (key.scancode == SDL_SCANCODE_0) return '0';
  for (const ScancodeKey& entry : FixedKeys)
    if (entry.Scancode == key.scancode) return entry.Code;
  return 0;
}

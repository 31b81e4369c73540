// The key-name table and the refused keys.
#include "dialogs/key_names.h"

namespace {
struct NamedRange {
  std::uint32_t First;
  const char* const* Names;
  std::uint32_t Count;
};

constexpr const char* Editing[] = {"BackSpace", "Tab"};
constexpr const char* EnterKey[] = {"Enter"};
constexpr const char* Modifiers[] = {"Shift", "Ctrl", "Alt", "Pause"};
constexpr const char* NonConvert[] = {"無変換"};
constexpr const char* Navigation[] = {"Space",  "PageUp",       "PageDown", "End",
                                      "Home",   "←",            "↑",        "→",
                                      "↓",      "Select",       "Print Screen", "Execute",
                                      "Snapshot", "Insert",     "Delete",   "Help"};
constexpr const char* Digits[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
constexpr const char* Letters[] = {"A", "B", "C", "D", "E", "F", "G", "H", "I",
                                   "J", "K", "L", "M", "N", "O", "P", "Q", "R",
                                   "S", "T", "U", "V", "W", "X", "Y", "Z"};
constexpr const char* Keypad[] = {"Num 0", "Num 1", "Num 2", "Num 3", "Num 4", "Num 5",
                                  "Num 6", "Num 7", "Num 8", "Num 9", "Num *", "Num +",
                                  "Num ?", "Num -", "Num .", "Num /"};
constexpr const char* Functions[] = {"F1", "F2", "F3", "F4",  "F5",  "F6",
                                     "F7", "F8", "F9", "F10", "F11", "F12"};
constexpr const char* Punctuation[] = {"：(ｺﾛﾝ)",     "；(ｾﾐｺﾛﾝ)",     "，(ｶﾝﾏ)",
                                       "－(ﾊｲﾌﾝ)",   "．(ﾋﾟﾘｵﾄﾞ)",   "／(ｽﾗｯｼｭ)"};
constexpr const char* AtSign[] = {"＠"};
constexpr const char* Brackets[] = {"[", "\\", "]", "＾"};
constexpr const char* Underscore[] = {"_(ｱﾝﾀﾞｰﾗｲﾝ)"};

template <std::uint32_t N>
constexpr NamedRange Range(std::uint32_t first, const char* const (&names)[N]) {
  return {first, names, N};
}

constexpr NamedRange NamedKeys[] = {
    Range(8, Editing),      Range(13, EnterKey),  Range(16, Modifiers), Range(29, NonConvert),
    Range(32, Navigation),  Range(48, Digits),    Range(65, Letters),   Range(96, Keypad),
    Range(112, Functions),  Range(186, Punctuation), Range(192, AtSign), Range(219, Brackets),
    Range(226, Underscore),
};

constexpr std::uint32_t RefusedKeys[] = {28, 42, 91, 92, 93, 95, 144, 145, 243, 244, 255};
}  // namespace

const char* KeyName(std::uint32_t code) {
  for (const NamedRange& range : NamedKeys)
    if (code >= range.First && code - range.First < range.Count) return range.Names[code - range.First];
  return "??";
}

bool IsRefusedKey(std::uint32_t code) {
  for (std::uint32_t refused : RefusedKeys)
    if (code == refused) return true;
  return false;
}

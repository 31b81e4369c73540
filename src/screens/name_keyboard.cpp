// The on-screen keyboard: its three sets of characters, the name within the byte limit, and its dialog.
#include "screens/name_keyboard.h"

#include <array>
#include <cstdio>

#include "persist/cp932_text.h"
#include "world/game_world.h"

namespace {
constexpr int CellCount = KeyboardColumns * KeyboardRows;
constexpr int IdShown = 1201, IdStatus = 1202;
constexpr int IdLatin = 1203, IdHiragana = 1204, IdKatakana = 1205;
constexpr int IdSpace = 1206, IdDelete = 1207, IdDone = 1208;
constexpr int IdFirstCell = 1300;

// Hiragana with the small kana and every dakuten and handakuten form; katakana are the same
// cells moved into their block, with ヴ.
constexpr const char* HiraganaText =
    "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわをん"
    "がぎぐげござじずぜぞだぢづでどばびぶべぼぱぴぷぺぽぁぃぅぇぉゃゅょっゎー・！？";
constexpr const char* LatinText =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-.,!?'&()+=_/:*#@";

std::vector<std::string> SplitUtf8(std::string_view text) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t n = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    out.emplace_back(text.substr(i, n));
    i += n;
  }
  out.resize(CellCount);
  return out;
}

// ぁ..ゖ (U+3041..U+3096) and ゝゞ sit 0x60 below their katakana.
std::string ToKatakana(const std::string& c) {
  if (c.size() != 3 || static_cast<unsigned char>(c[0]) != 0xE3) return c;
  unsigned code = ((c[0] & 0x0Fu) << 12) | ((c[1] & 0x3Fu) << 6) | (c[2] & 0x3Fu);
  if (code < 0x3041 || code > 0x3096) return c;
  code += 0x60;
  return {static_cast<char>(0xE0 | (code >> 12)), static_cast<char>(0x80 | ((code >> 6) & 0x3F)),
          static_cast<char>(0x80 | (code & 0x3F))};
}

struct KeyboardDialog {
  HWND Owner = nullptr;
  NameKeyboard Keys;
  KeyboardSet Set = KeyboardSet::Latin;
  bool Done = false;
};
KeyboardDialog* Running = nullptr;

std::array<DialogControl, CellCount + 8> BuildControls() {
  std::array<DialogControl, CellCount + 8> c{};
  c[0] = {ControlKind::Static, IdShown, "", 8, 6, 200, 12, SS_CENTER};
  c[1] = {ControlKind::Static, IdStatus, "", 8, 19, 200, 18, SS_CENTER};
  for (int i = 0; i < CellCount; ++i)
    c[2 + i] = {ControlKind::PushButton, IdFirstCell + i, "", 8 + (i % KeyboardColumns) * 16,
                40 + (i / KeyboardColumns) * 14, 15, 13, WS_TABSTOP};
  const int y = 40 + KeyboardRows * 14 + 4;
  const struct {
    int Id;
    const char* Text;
  } bottom[] = {{IdLatin, "英数"},  {IdHiragana, "ひらがな"}, {IdKatakana, "カタカナ"},
                {IdSpace, "空白"}, {IdDelete, "削除"},       {IdDone, "決定"}};
  for (int i = 0; i < 6; ++i)
    c[2 + CellCount + i] = {ControlKind::PushButton, bottom[i].Id, bottom[i].Text, 8 + i * 35, y, 33, 14,
                            WS_TABSTOP | (bottom[i].Id == IdDone ? BS_DEFPUSHBUTTON : 0u)};
  return c;
}

const std::array<DialogControl, CellCount + 8> Controls = BuildControls();

const DialogTemplate KeyboardTemplate{"名前の入力", "IPAPGothic", 9, 0, 0, 224, 40 + KeyboardRows * 14 + 22,
                                      WS_CAPTION | DS_CENTER, Controls};

void ShowName(HWND dialog, const char* status) {
  const KeyboardDialog& k = *Running;
  SetDlgItemText(dialog, IdShown, (k.Keys.Name + "_").c_str());
  char bytes[64];
  std::snprintf(bytes, sizeof bytes, "%d / %d バイト", k.Keys.Bytes(), RankingNameMaxLength);
  SetDlgItemText(dialog, IdStatus, status ? status : bytes);
}

void ShowSet(HWND dialog) {
  const std::vector<std::string>& cells = KeyboardCells(Running->Set);
  for (int i = 0; i < CellCount; ++i) {
    SetDlgItemText(dialog, IdFirstCell + i, cells[i].c_str());
    // A blank cell is no key: the pad steps over it.
    ShowDlgItem(dialog, IdFirstCell + i, !cells[i].empty());
  }
}

void Type(HWND dialog, const std::string& character) {
  if (Running->Keys.Add(character)) {
    ShowName(dialog, nullptr);
    return;
  }
  // The same words the ranking entry shows for a name that is too long.
  char text[96];
  std::snprintf(text, sizeof text, "全角%d文字(半角%d文字)\nまで有効です。", RankingNameMaxLength / 2,
                RankingNameMaxLength);
  ShowName(dialog, text);
}

INT_PTR KeyboardProc(HWND dialog, std::uint32_t message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      ShowSet(dialog);
      ShowName(dialog, nullptr);
      SetDlgItemFocus(dialog, IdFirstCell);
      return 0;
    case WM_COMMAND: {
      const int id = LowWord(wParam);
      if (id >= IdFirstCell && id < IdFirstCell + CellCount) {
        Type(dialog, KeyboardCells(Running->Set)[static_cast<std::size_t>(id - IdFirstCell)]);
      } else if (id == IdLatin || id == IdHiragana || id == IdKatakana) {
        Running->Set = id == IdLatin ? KeyboardSet::Latin : id == IdHiragana ? KeyboardSet::Hiragana : KeyboardSet::Katakana;
        ShowSet(dialog);
      } else if (id == IdSpace) {
        Type(dialog, " ");
      } else if (id == IdDelete) {
        Running->Keys.DeleteLast();
        ShowName(dialog, nullptr);
      } else if (id == IdDone) {
        Running->Done = true;
        EndDialog(dialog, 1);
      } else if (id == IDCANCEL) {
        EndDialog(dialog, 0);
      }
      return 1;
    }
    case WM_CLOSE:
      EndDialog(dialog, 0);
      return 1;
    default:
      return 0;
  }
}
}  // namespace

const std::vector<std::string>& KeyboardCells(KeyboardSet set) {
  static const std::vector<std::string> latin = SplitUtf8(LatinText);
  static const std::vector<std::string> hiragana = SplitUtf8(HiraganaText);
  static const std::vector<std::string> katakana = [] {
    std::vector<std::string> k = SplitUtf8(HiraganaText);
    for (std::string& c : k) c = ToKatakana(c);
    k[85] = "ヴ";  // after ？: the one katakana without a hiragana of its own
    return k;
  }();
  switch (set) {
    case KeyboardSet::Hiragana: return hiragana;
    case KeyboardSet::Katakana: return katakana;
    default: return latin;
  }
}

bool NameKeyboard::Add(std::string_view character) {
  std::string bytes;
  const std::string longer = Name + std::string(character);
  if (character.empty() || !Utf8ToCp932(longer, bytes) || bytes.size() > static_cast<std::size_t>(RankingNameMaxLength))
    return false;
  Name = longer;
  return true;
}

void NameKeyboard::DeleteLast() {
  if (Name.empty()) return;
  std::size_t at = Name.size() - 1;
  while (at > 0 && (static_cast<unsigned char>(Name[at]) & 0xC0) == 0x80) --at;
  Name.erase(at);
}

int NameKeyboard::Bytes() const {
  std::string bytes;
  return Utf8ToCp932(Name, bytes) ? static_cast<int>(bytes.size()) : 0;
}

bool RunNameKeyboard(HWND owner, std::string& name) {
  KeyboardDialog k;
  k.Owner = owner;
  Running = &k;
  const INT_PTR result = DialogBoxParam(owner, KeyboardTemplate, KeyboardProc, 0);
  Running = nullptr;
  if (result != 1 || !k.Done) return false;
  name = k.Keys.Name;
  return true;
}

// The dialog fonts: faces found through fontconfig, glyphs made for the text actually shown.
#include <imgui.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "platform/dialog_draw.h"
#include "platform/font_match.h"
#include "platform/window_internal.h"

namespace {
struct LoadedFont {
  std::string Face;
  int Points = 0;
  std::vector<char> File;  // kept for every rebuild of the atlas
  ImFont* Font = nullptr;
  float BaseX = 0, BaseY = 0;
};

std::vector<LoadedFont> Fonts;
// Thousands of CJK glyphs take close to a second to make; only those shown are made, and
// the atlas is rebuilt when new ones appear (typed names included).
std::set<ImWchar> Wanted;
std::vector<ImWchar> Ranges;
bool Stale = false;

void Want(std::uint32_t codePoint) {
  if (codePoint < 0x20 || codePoint > 0xFFFF) return;
  if (Wanted.insert(static_cast<ImWchar>(codePoint)).second) Stale = true;
}

void WantText(const std::string& text) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.c_str());
  while (*p) {
    const unsigned char c = *p++;
    int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    std::uint32_t cp = c < 0x80 ? c : (c & (0x3F >> extra));
    while (extra-- > 0 && (*p & 0xC0) == 0x80) cp = (cp << 6) | (*p++ & 0x3F);
    Want(cp);
  }
}

void WantBasics() {
  if (!Wanted.empty()) return;
  for (std::uint32_t c = 0x20; c < 0x7F; ++c) Want(c);
  for (std::uint32_t c = 0x3000; c <= 0x30FF; ++c) Want(c);  // punctuation, hiragana, katakana
  for (std::uint32_t c = 0xFF01; c <= 0xFF9F; ++c) Want(c);  // full-width forms, half-width kana
  Want(0xFFFD);
}

const ImWchar* CurrentRanges() {
  Ranges.clear();
  for (auto it = Wanted.begin(); it != Wanted.end();) {
    ImWchar first = *it, last = *it;
    for (++it; it != Wanted.end() && *it == last + 1; ++it) last = *it;
    Ranges.push_back(first);
    Ranges.push_back(last);
  }
  Ranges.push_back(0);
  return Ranges.data();
}

// The font file of a family; another face stands in (and says so) when it is not installed.
std::string FontFile(const std::string& family) {
  std::string file, found;
  if (MatchFontFile(family, "ja", file, found) && found != family)
    std::fprintf(stderr, "dialog font \"%s\" not installed; using \"%s\"\n", family.c_str(), found.c_str());
  return file;
}

// Makes the atlas again with every loaded font and the wanted glyphs.
bool Rebuild() {
  ImFontAtlas* atlas = ImGui::GetIO().Fonts;
  atlas->Clear();
  const ImWchar* ranges = CurrentRanges();
  for (LoadedFont& font : Fonts) {
    ImFontConfig config;
    config.OversampleH = config.OversampleV = 1;
    config.PixelSnapH = true;
    config.FontDataOwnedByAtlas = false;
    // Points at the desktop's 96 dots per inch, as the templates were laid out.
    const float pixels = std::round(font.Points * 96.0f / 72.0f);
    font.Font = atlas->AddFontFromMemoryTTF(font.File.data(), static_cast<int>(font.File.size()), pixels,
                                            &config, ranges);
    if (!font.Font) return false;
  }
  Stale = false;
  return atlas->Build();
}

void NoteDialog(const DialogState& dialog) {
  WantText(dialog.Caption);
  for (const ControlState& c : dialog.Controls) {
    WantText(c.Text);
    for (const std::string& item : c.Items) WantText(item);
  }
}
}  // namespace

bool EnsureDialogFont(DialogState& dialog) {
  EnsureContext();
  WantBasics();
  for (std::size_t i = 0; i < Fonts.size(); ++i)
    if (Fonts[i].Face == dialog.FontFace && Fonts[i].Points == dialog.FontPoints) {
      dialog.Font = static_cast<int>(i);
      dialog.BaseX = Fonts[i].BaseX;
      dialog.BaseY = Fonts[i].BaseY;
      return true;
    }
  const std::string path = FontFile(dialog.FontFace);
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (path.empty() || !in) return false;
  LoadedFont loaded;
  loaded.Face = dialog.FontFace;
  loaded.Points = dialog.FontPoints;
  loaded.File.resize(static_cast<std::size_t>(in.tellg()));
  in.seekg(0);
  if (!in.read(loaded.File.data(), static_cast<std::streamsize>(loaded.File.size()))) return false;
  Fonts.push_back(std::move(loaded));
  if (!Rebuild()) {
    Fonts.pop_back();
    Rebuild();
    return false;
  }
  LoadedFont& font = Fonts.back();
  const char* letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  const float width = font.Font->CalcTextSizeA(font.Font->FontSize, 1e9f, 0, letters).x;
  // The desktop's dialog base units: the average letter width rounded, and the font's height.
  font.BaseX = std::floor((width / 26.0f + 1.0f) / 2.0f);
  font.BaseY = font.Font->FontSize;
  dialog.Font = static_cast<int>(Fonts.size()) - 1;
  dialog.BaseX = font.BaseX;
  dialog.BaseY = font.BaseY;
  return true;
}

ImFont* DialogFont(const DialogState& dialog) {
  return dialog.Font >= 0 && dialog.Font < static_cast<int>(Fonts.size()) ? Fonts[dialog.Font].Font : nullptr;
}

bool RefreshDialogFonts() {
  for (HWND handle : DialogStack())
    if (const DialogState* top = StateOf(handle)) {
      NoteDialog(*top);
      for (HWND page : top->Pages)
        if (const DialogState* p = StateOf(page)) NoteDialog(*p);
    }
  WantText(CompositionText());
  if (!Stale || Fonts.empty()) return false;
  Rebuild();
  return true;
}

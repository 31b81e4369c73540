// INI files through libinih: parsing from memory, lookups ignoring case, atomic rewriting.
#include "platform/ini_file.h"

#include <ini.h>

#include <cerrno>
#include <cstdio>

#include "platform/file_replace.h"

namespace {
// A settings file is small; anything this large is not one.
constexpr std::size_t IniFileLimit = 1u << 20;
// The longest line the parser takes whole (its buffer holds the terminator too).
constexpr std::size_t MaxLine = INI_MAX_LINE - 1;

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// UTF-8 without NUL or control characters other than tab, CR and LF. `length` is where the
// text ends: before a last character that the file's end cuts short.
bool IsText(const std::string& text, std::size_t& length) {
  length = text.size();
  std::size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      if ((c < 0x20 && c != '\t' && c != '\r' && c != '\n') || c == 0x7F) return false;
      ++i;
      continue;
    }
    const std::size_t follow = c >= 0xC2 && c <= 0xDF ? 1 : c >= 0xE0 && c <= 0xEF ? 2 : c >= 0xF0 && c <= 0xF4 ? 3 : 0;
    if (follow == 0) return false;
    if (i + follow >= text.size()) {  // a file cut inside its last character
      length = i;
      return true;
    }
    for (std::size_t k = 1; k <= follow; ++k)
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    i += follow + 1;
  }
  return true;
}

struct TextStream {
  const std::string* Text;
  std::size_t Position;
};

// fgets over the text in memory. A line longer than the parser's buffer is cut there and the
// rest of it skipped: read on, the rest would be taken as a line of its own.
char* ReadLine(char* buffer, int size, void* stream) {
  auto* s = static_cast<TextStream*>(stream);
  const std::string& text = *s->Text;
  if (s->Position >= text.size() || size < 2) return nullptr;
  std::size_t n = 0;
  bool ended = false;
  while (n + 1 < static_cast<std::size_t>(size) && s->Position < text.size()) {
    const char c = text[s->Position++];
    buffer[n++] = c;
    if (c == '\n') {
      ended = true;
      break;
    }
  }
  if (!ended)
    while (s->Position < text.size() && text[s->Position++] != '\n') {
    }
  buffer[n] = '\0';
  return buffer;
}

int TakeEntry(void* user, const char* section, const char* name, const char* value) {
  static_cast<IniFile*>(user)->Entries.push_back(IniEntry{section, name, value});
  return 1;
}
}  // namespace

IniFile ParseIniText(const std::string& text) {
  IniFile file;
  std::size_t length = 0;
  if (!IsText(text, length)) {
    file.NotText = true;
    return file;
  }
  const std::string whole = text.substr(0, length);
  TextStream stream{&whole, 0};
  const int bad = ini_parse_stream(ReadLine, &stream, TakeEntry, &file);
  file.FirstBadLine = bad > 0 ? bad : 0;
  return file;
}

IniRead ReadIniFile(const std::string& name, IniFile& file) {
  file = IniFile{};
  std::FILE* in = std::fopen(name.c_str(), "rb");
  if (!in) return errno == ENOENT ? IniRead::Missing : IniRead::Unreadable;
  std::string text;
  char chunk[4096];
  std::size_t got;
  bool tooLarge = false;
  while ((got = std::fread(chunk, 1, sizeof chunk, in)) > 0) {
    text.append(chunk, got);
    if (text.size() > IniFileLimit) {
      tooLarge = true;
      break;
    }
  }
  const bool failed = std::ferror(in) != 0;
  std::fclose(in);
  if (failed) return IniRead::Unreadable;
  if (tooLarge) {
    file.NotText = true;
    return IniRead::Read;
  }
  file = ParseIniText(text);
  return IniRead::Read;
}

const IniEntry* FindIniEntry(const IniFile& file, const std::string& section, const std::string& key) {
  for (auto it = file.Entries.rbegin(); it != file.Entries.rend(); ++it)
    if (SameName(it->Section, section) && SameName(it->Key, key)) return &*it;
  return nullptr;
}

void SetIniValue(IniFile& file, const std::string& section, const std::string& key, const std::string& value) {
  for (auto it = file.Entries.rbegin(); it != file.Entries.rend(); ++it) {
    if (SameName(it->Section, section) && SameName(it->Key, key)) {
      it->Value = value;
      return;
    }
  }
  // After the last entry of the section, so the file keeps its sections together.
  auto at = file.Entries.end();
  for (auto it = file.Entries.begin(); it != file.Entries.end(); ++it)
    if (SameName(it->Section, section)) at = it + 1;
  file.Entries.insert(at, IniEntry{section, key, value});
}

std::string FormatIniText(const IniFile& file) {
  std::vector<std::string> sections;
  for (const IniEntry& e : file.Entries) {
    bool known = false;
    for (const std::string& s : sections) known = known || SameName(s, e.Section);
    if (!known) sections.push_back(e.Section);
  }
  // Keys before any heading must come first, or a reader would put them under a heading.
  std::string text;
  for (int pass = 0; pass < 2; ++pass) {
    for (const std::string& section : sections) {
      if ((pass == 0) != section.empty()) continue;
      if (!section.empty()) text += (text.empty() ? "[" : "\n[") + section + "]\n";
      for (const IniEntry& e : file.Entries) {
        // A line without a key is no setting: written out it would continue the line before.
        if (!SameName(e.Section, section) || e.Key.empty()) continue;
        // What was read fits a line of the parser's; spaced out it may not.
        const bool roomy = e.Key.size() + 3 + e.Value.size() <= MaxLine;
        text += e.Key + (roomy ? " = " : "=") + e.Value + "\n";
      }
    }
  }
  return text;
}

bool WriteIniFile(const std::string& name, const IniFile& file) {
  return ReplaceFileContents(name, FormatIniText(file));
}

// korvid.ini: the port's options, their table, reading with repair and writing back what is unknown.
#include "persist/port_options.h"

#include <cstdio>

#include "persist/port_texts.h"
#include "platform/input/pad.h"
#include "platform/render/render_device.h"
#include "platform/translation.h"

PortOptions Options;

namespace {
constexpr const char* OptionsFileName = "korvid.ini";

constexpr const char* PictureShapeNames[] = {"keep", "stretch"};
constexpr const char* LanguageNames[] = {"system", "ja", "en"};

constexpr PortOptionInfo Table[] = {
    {"display", "picture_shape", OptionKind::Choice, &PortOptions::PictureShape, PictureKeepShape, 0, 1,
     PictureShapeNames},
    {"screenshots", "enabled", OptionKind::Switch, &PortOptions::Screenshots, 1, 0, 1, {}},
    {"gamepad", "enabled", OptionKind::Switch, &PortOptions::UsePad, 1, 0, 1, {}},
    {"gamepad", "look_sensitivity", OptionKind::Number, &PortOptions::PadLookSpeed, 10, 1, 20, {}},
    {"gamepad", "invert_y", OptionKind::Switch, &PortOptions::PadInvertY, 0, 0, 1, {}},
    {"gamepad", "dead_zone", OptionKind::Number, &PortOptions::PadDeadZone, 15, 5, 50, {}},
    {"gamepad", "rumble", OptionKind::Switch, &PortOptions::PadRumble, 1, 0, 1, {}},
    {"interface", "language", OptionKind::Choice, &PortOptions::Language, LanguageSystem, 0, 2, LanguageNames},
};
static_assert(std::size(Table) <= sizeof(PortOptions::Committed) / sizeof(PortOptions::Committed[0]));

bool SameWord(const std::string& text, const char* word) {
  std::size_t i = 0;
  for (; i < text.size() && word[i]; ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != word[i]) return false;
  }
  return i == text.size() && word[i] == '\0';
}

// What goes on standard error: printable ASCII only, and not too much of it.
std::string Printable(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (out.size() >= 40) return out + "...";
    const auto u = static_cast<unsigned char>(c);
    out += u >= 0x20 && u < 0x7F ? c : '?';
  }
  return out;
}

bool IsKnown(const IniEntry& e) {
  for (const PortOptionInfo& o : Table)
    if (SameWord(e.Section, o.Section) && SameWord(e.Key, o.Key)) return true;
  return false;
}
}  // namespace

std::span<const PortOptionInfo> PortOptionTable() { return Table; }

bool ParseOptionValue(const PortOptionInfo& option, const std::string& text, std::uint32_t& value) {
  switch (option.Kind) {
    case OptionKind::Switch:
      for (const char* word : {"1", "true", "yes", "on"})
        if (SameWord(text, word)) return value = 1, true;
      for (const char* word : {"0", "false", "no", "off"})
        if (SameWord(text, word)) return value = 0, true;
      return false;
    case OptionKind::Choice:
      for (std::size_t i = 0; i < option.Names.size(); ++i)
        if (SameWord(text, option.Names[i])) return value = static_cast<std::uint32_t>(i), true;
      return false;
    case OptionKind::Number: {
      if (text.empty() || text.size() > 9) return false;
      std::uint32_t n = 0;
      for (char c : text) {
        if (c < '0' || c > '9') return false;
        n = n * 10 + static_cast<std::uint32_t>(c - '0');
      }
      if (n < option.Minimum || n > option.Maximum) return false;
      value = n;
      return true;
    }
  }
  return false;
}

std::string FormatOptionValue(const PortOptionInfo& option, std::uint32_t value) {
  switch (option.Kind) {
    case OptionKind::Switch: return value ? "true" : "false";
    case OptionKind::Choice:
      return value < option.Names.size() ? option.Names[value] : option.Names[option.Default];
    case OptionKind::Number: return std::to_string(value);
  }
  return "";
}

void PortOptions::ResetDefaults() {
  for (const PortOptionInfo& o : Table) this->*o.Field = o.Default;
}

void PortOptions::Load() {
  ResetDefaults();
  if (SaveFailed) {
    for (std::size_t i = 0; i < std::size(Table); ++i) this->*Table[i].Field = Committed[i];
    return;
  }
  const auto tell = [this](const std::string& line) {
    if (Told.insert(line).second) std::fputs(line.c_str(), stderr);
  };
  char line[512];
  const IniRead read = ReadIniFile(OptionsFileName, Stored);
  StoredUnreadable = read == IniRead::Unreadable;
  switch (read) {
    case IniRead::Missing: return;
    case IniRead::Unreadable: tell(IniUnreadableMessage); return;
    case IniRead::Read: break;
  }
  if (Stored.NotText) {
    tell(IniNotTextMessage);
    return;
  }
  if (Stored.FirstBadLine > 0) {
    std::snprintf(line, sizeof line, IniBadLineMessage, Stored.FirstBadLine);
    tell(line);
  }
  for (const PortOptionInfo& o : Table) {
    const IniEntry* e = FindIniEntry(Stored, o.Section, o.Key);
    if (!e) continue;
    std::uint32_t value = o.Default;
    if (ParseOptionValue(o, e->Value, value)) {
      this->*o.Field = value;
      continue;
    }
    std::snprintf(line, sizeof line, IniBadValueMessage, o.Section, o.Key, Printable(e->Value).c_str(),
                  FormatOptionValue(o, o.Default).c_str());
    tell(line);
  }
  for (const IniEntry& e : Stored.Entries) {
    if (IsKnown(e)) continue;
    std::snprintf(line, sizeof line, IniUnknownKeyMessage, Printable(e.Section).c_str(), Printable(e.Key).c_str());
    tell(line);
  }
}

bool PortOptions::Save() {
  for (const PortOptionInfo& o : Table) SetIniValue(Stored, o.Section, o.Key, FormatOptionValue(o, this->*o.Field));
  if (!StoredUnreadable && WriteIniFile(OptionsFileName, Stored)) {
    SaveFailed = false;
    return true;
  }
  for (std::size_t i = 0; i < std::size(Table); ++i) Committed[i] = this->*Table[i].Field;
  SaveFailed = true;
  std::fputs(IniSaveFailedMessage, stderr);
  return false;
}

void PortOptions::Apply() const {
  SetPresentKeepsShape(PictureShape == PictureKeepShape);
  EnablePads(UsePad != 0);
  ChooseLanguage(Language);
}

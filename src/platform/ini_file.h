// INI files (korvid.ini): [section] headings and key = value lines, read with libinih, kept in order.
#pragma once

#include <string>
#include <vector>

struct IniEntry {
  std::string Section;  // "" before the first heading
  std::string Key;
  std::string Value;
};

struct IniFile {
  std::vector<IniEntry> Entries;  // in the order the file holds them
  int FirstBadLine = 0;           // the first line that is neither a heading nor key = value; 0 if none
  bool NotText = false;           // NUL bytes or bytes that are not UTF-8: nothing was taken from it
};

enum class IniRead { Missing, Read, Unreadable };

// Reads and parses the file. Missing: it does not exist (an empty IniFile comes back).
IniRead ReadIniFile(const std::string& name, IniFile& file);
IniFile ParseIniText(const std::string& text);

// Sections and keys compare without regard to ASCII case. The last entry wins, as it is the
// one a reader of the file would take.
const IniEntry* FindIniEntry(const IniFile& file, const std::string& section, const std::string& key);
// Changes the value of the key's last entry, or adds the key at the end of its section.
void SetIniValue(IniFile& file, const std::string& section, const std::string& key, const std::string& value);

// The text to store: the entries grouped under their headings in order of first appearance.
std::string FormatIniText(const IniFile& file);
// Replaces the file atomically (a crash leaves the old or the new file).
bool WriteIniFile(const std::string& name, const IniFile& file);

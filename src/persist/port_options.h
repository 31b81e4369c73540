// PortOptions: the options the port adds to the original's, kept in korvid.ini beside Setting.dat.
#pragma once

#include <cstdint>
#include <set>
#include <span>
#include <string>

#include "platform/ini_file.h"

enum : std::uint32_t { PictureKeepShape = 0, PictureStretch = 1 };

struct PortOptions {
  std::uint32_t PictureShape = PictureKeepShape;
  std::uint32_t Screenshots = 1;
  std::uint32_t UsePad = 1;
  std::uint32_t PadLookSpeed = 10;   // 1..20
  std::uint32_t PadInvertY = 0;
  std::uint32_t PadDeadZone = 15;    // percent of a stick's travel, 5..50
  std::uint32_t PadRumble = 1;
  std::uint32_t Language = 0;  // LanguageSystem (platform/translation.h)

  // Reads korvid.ini from the working directory. A missing file gives the defaults silently;
  // a value that is damaged falls back to its default and is told on standard error, once
  // per run. Every entry of the file is kept, so a save writes back what this version does
  // not know.
  void Load();
  // Writes every option into the entries read and replaces the file atomically; false (told
  // on standard error) when it cannot be written: the values then stay for this run.
  bool Save();
  void ResetDefaults();
  // Hands the options to the parts of the program they steer (the presentation's shape).
  void Apply() const;

  IniFile Stored;
  // The file is there but could not be read: saving over it would lose what it holds.
  bool StoredUnreadable = false;
  // The values of the last failed save: loads return to them, not to the stale file.
  bool SaveFailed = false;
  std::uint32_t Committed[16] = {};
  std::set<std::string> Told;  // lines already written to standard error
};

extern PortOptions Options;

// How an option is written in the file.
enum class OptionKind : std::uint8_t {
  Switch,  // true/false (also 1/0, yes/no, on/off)
  Choice,  // one of Names, by value
  Number,  // decimal, Minimum..Maximum
};

struct PortOptionInfo {
  const char* Section;
  const char* Key;
  OptionKind Kind;
  std::uint32_t PortOptions::*Field;
  std::uint32_t Default;
  std::uint32_t Minimum;
  std::uint32_t Maximum;
  std::span<const char* const> Names;  // Choice only
};

// Every option, in file order. A new option is one field above and one row here.
std::span<const PortOptionInfo> PortOptionTable();

// The value a file's text stands for; false when it is none of the option's values.
bool ParseOptionValue(const PortOptionInfo& option, const std::string& text, std::uint32_t& value);
// The text stored for a value.
std::string FormatOptionValue(const PortOptionInfo& option, std::uint32_t value);

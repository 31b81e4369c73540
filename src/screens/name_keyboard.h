// The on-screen keyboard of the ranking entry: a name made with a pad alone.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/dialog.h"

enum class KeyboardSet { Latin, Hiragana, Katakana };

constexpr int KeyboardColumns = 13;
constexpr int KeyboardRows = 7;

// The characters of a set in grid order, row by row (UTF-8; empty for a blank cell).
const std::vector<std::string>& KeyboardCells(KeyboardSet set);

// The name being made, kept within the ranking's limit as it grows.
struct NameKeyboard {
  std::string Name;  // UTF-8

  // False, and the name unchanged, when the character would take the name past the
  // ranking's 16 CP932 bytes (or has no CP932 form).
  bool Add(std::string_view character);
  void DeleteLast();  // the last character, whole
  int Bytes() const;  // CP932 bytes of the name
};

// Runs the keyboard over `owner`; true with the name made when the player confirms, false when
// the keyboard is cancelled (B, or the window closed).
bool RunNameKeyboard(HWND owner, std::string& name);

// Test fixture: the settings window run for real in a scratch game folder, driven frame by frame.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "audio/sound_engine.h"
#include "platform/dialog.h"

using StoredFields = std::array<std::uint32_t, 48>;

class SettingsWindowTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Runs the window until it closes; on every frame `step` gets the innermost dialog and the
  // number of frames so far. A window still open after many frames is closed and reported.
  void RunWindow(std::function<void(HWND top, int frame)> step);

  static std::string ReadFile(const char* name);
  // The 48 fields of Setting.dat in file order, unmasked with the file's own key.
  static StoredFields DecodeSettingsFile();
  // The same fields from the live record.
  static StoredFields RecordFields();
  // Writes Setting.dat holding these fields.
  static void WriteSettingsFile(const StoredFields& fields);

  std::vector<SoundEvent> Played;  // starts only
  std::vector<SoundEvent> Log;
  int PlayedOf(SoundGroupId group) const;

 private:
  std::string Previous;
  std::string Scratch;
};

// Sends a command from a control, as a click does.
void Click(HWND dialog, int id, int code = BN_CLICKED);
// Posts it instead, for commands that open a dialog of their own.
void PostClick(HWND dialog, int id);
// A key reaching the program while a dialog runs; `wasDown` marks a repeat.
void PostKey(std::uint32_t key, bool down, bool wasDown = false);

// Every default, in file order.
extern const StoredFields DefaultStoredFields;

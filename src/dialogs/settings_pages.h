// The settings window's pages: their procedures and the operations the window calls on them.
#pragma once

#include <cstdint>

#include "dialogs/cursor_preview.h"
#include "dialogs/settings_templates.h"
#include "platform/dialog.h"

// What the settings window holds while it exists.
struct SettingsWindowState {
  HWND Window = nullptr;
  HWND Pages[SettingsPageCount] = {};  // tab order; null for a page that could not be made
  PreviewColour Preview;  // the game page's colour copies for the cursor preview
};
extern SettingsWindowState SettingsWindow;

INT_PTR GamePageProc(HWND page, std::uint32_t message, WPARAM wParam, LPARAM lParam);
INT_PTR GraphicsPageProc(HWND page, std::uint32_t message, WPARAM wParam, LPARAM lParam);
INT_PTR SoundPageProc(HWND page, std::uint32_t message, WPARAM wParam, LPARAM lParam);
INT_PTR KeysPageProc(HWND page, std::uint32_t message, WPARAM wParam, LPARAM lParam);
INT_PTR OtherPageProc(HWND page, std::uint32_t message, WPARAM wParam, LPARAM lParam);
INT_PTR OptionsPageProc(HWND page, std::uint32_t message, WPARAM wParam, LPARAM lParam);

// Copies the controls of a page into the settings record (the options page: into Options).
void ReadBackPage(int index);
// Sets the controls of a page from the settings, without rebuilding lists.
void RefreshPage(int index);

void ReadBackGamePage(HWND page);
void RefreshGamePage(HWND page);
void ReadBackGraphicsPage(HWND page);
void RefreshGraphicsPage(HWND page);
void ReadBackSoundPage(HWND page);
void RefreshSoundPage(HWND page);
void ReadBackKeysPage(HWND page);
void RefreshKeysPage(HWND page);
void ReadBackOtherPage(HWND page);
void RefreshOtherPage(HWND page);
void ReadBackOptionsPage(HWND page);
void RefreshOptionsPage(HWND page);

// Applies the preset (1 and 2 overwrite all ten bindings) and, with a keys page, shows the
// name of every binding on it.
void ShowKeyNames(HWND keysPage, std::uint32_t preset);

// Runs the key-capture window for the slot in KeyCaptureSlot, owned by the keys page.
void RunKeyCapture(HWND owner);

// Clamps a ranged field for a page control: below the minimum gives the minimum, otherwise
// the smaller of value and maximum; shows it on the trackbar or scroll bar and returns it.
std::uint32_t ClampAndShow(HWND page, bool trackbar, int id, std::uint32_t minimum,
                           std::uint32_t maximum, std::uint32_t value);
// Range, tick frequency and position of a trackbar, with the value clamped and returned.
std::uint32_t SetUpTrackbar(HWND page, int id, std::uint32_t minimum, std::uint32_t maximum,
                            int tick, std::uint32_t value);

// Every page's "ディフォルトに戻す": asks, then resets the page's section with a refresh.
void AskPageDefaults(HWND page, int section);
// The question alone; true when the player answered Yes.
bool AskDefaultsQuestion(HWND page);

// The page click, only while the sound page's "効果音再生する" is checked.
void PlayClickSound();

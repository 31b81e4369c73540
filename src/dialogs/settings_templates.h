// Dialog templates of the settings window, its six pages and the key-capture window.
#pragma once

#include "platform/dialog.h"

// Control identifiers used by more than one file.
enum : int {
  IdTabControl = 1003,
  IdCancel = 1066,
  IdSave = 1067,
  IdAllDefaults = 1068,
  IdVersion = 1069,
  IdPageDefaults = 1029,
  IdEffectsOn = 1008,  // sound page: "効果音再生する" gates the click sound
};

// Pages in tab order: game, graphics, sound, keys, other, then the port's own options. The first
// five pages are the sections of Setting.dat (section = index + 1); the last is korvid.ini.
constexpr int SettingsPageCount = 6;
constexpr int SettingsSectionCount = 5;
enum : int { PageGame = 0, PageGraphics, PageSound, PageKeys, PageOther, PageOptions };

// Controls of the options page.
enum : int {
  IdPictureShape = 1101,
  IdScreenshots = 1102,
  IdOptionsHelp = 1103,
  IdUsePad = 1104,
  IdPadInvertY = 1105,
  IdPadRumble = 1106,
  IdPadLookSpeed = 1107,
  IdPadDeadZone = 1108,
  IdKeySetNote = 1109,  // the key capture's second line
  IdLanguage = 1110,
};

extern const DialogTemplate SettingWindowTemplate;
extern const DialogTemplate GamePageTemplate;      // resource 108
extern const DialogTemplate GraphicsPageTemplate;  // resource 111
extern const DialogTemplate SoundPageTemplate;     // resource 109
extern const DialogTemplate KeysPageTemplate;      // resource 112
extern const DialogTemplate OtherPageTemplate;     // resource 110
extern const DialogTemplate OptionsPageTemplate;   // korvid.ini
extern const DialogTemplate KeySetTemplate;

// The tab texts, in tab order.
extern const char* const SettingsTabTexts[SettingsPageCount];

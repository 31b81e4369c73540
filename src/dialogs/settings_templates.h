// Dialog templates of the settings window, its five pages and the key-capture window.
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

// Pages in tab order: game, graphics, sound, keys, other. A page's section is its index + 1.
constexpr int SettingsPageCount = 5;
enum : int { PageGame = 0, PageGraphics, PageSound, PageKeys, PageOther };

extern const DialogTemplate SettingWindowTemplate;
extern const DialogTemplate GamePageTemplate;      // resource 108
extern const DialogTemplate GraphicsPageTemplate;  // resource 111
extern const DialogTemplate SoundPageTemplate;     // resource 109
extern const DialogTemplate KeysPageTemplate;      // resource 112
extern const DialogTemplate OtherPageTemplate;     // resource 110
extern const DialogTemplate KeySetTemplate;

// The tab texts, in tab order.
extern const char* const SettingsTabTexts[SettingsPageCount];

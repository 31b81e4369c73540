// The help texts of the graphics and options pages and the zones of each page that choose them.
#pragma once

#include "platform/dialog.h"

// The text explaining what lies under the point (the page's client pixels); the first zone
// that holds the point wins, and outside every zone the page's general line is shown. The
// zones are laid out in dialog units and mapped with the page's font; with no page the point
// is taken in dialog units.
const char* GraphicsHelpText(HWND page, int x, int y);

// The text the help box starts with and shows outside every zone.
extern const char* const GraphicsHelpIdle;

// The same for the options page ("拡張設定").
const char* OptionsHelpText(HWND page, int x, int y);

// A page's answer to WM_MOUSEMOVE: the view follows the mouse, as it does over the main window,
// and the help box `helpId` shows the text `helpText` gives for the pointer (set only when it
// changes, so the box does not flicker).
void ShowHelpUnderPointer(HWND page, int helpId, const char* (*helpText)(HWND page, int x, int y),
                          LPARAM position);

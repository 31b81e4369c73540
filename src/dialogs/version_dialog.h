// The version dialog: product name, version, author and copyright read from the program file.
#pragma once

#include <string>

#include "platform/dialog.h"

extern const DialogTemplate DLG_VERSION;
INT_PTR VersionDialogProc(HWND dialog, std::uint32_t message, WPARAM wParam, LPARAM lParam);

// Sets the four texts from the version information of `programFile`; when it has none that
// can be read, the fields say so. False in that case.
bool ShowVersionTexts(HWND dialog, const std::string& programFile);

// Runs the version dialog modally over `owner` until OK, Enter or its close box.
void RunVersionDialog(HWND owner);

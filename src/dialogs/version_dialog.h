// The version dialog: product name, version, author and copyright read from the program file.
#pragma once

#include "platform/window.h"

// Runs the version dialog modally over `owner` until OK, Enter or its close box.
void RunVersionDialog(HWND owner);

// MainWndProc: turns window messages into the game's input.
#pragma once

#include "platform/window.h"

LRESULT MainWndProc(HWND window, std::uint32_t message, WPARAM wParam, LPARAM lParam);

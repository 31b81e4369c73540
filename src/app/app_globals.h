// Application-wide values shared by the shell and the subsystems.
#pragma once

#include <cstdint>

#include "platform/window.h"

extern HWND MainWindow;
extern std::uint8_t AppActive;
extern std::uint8_t RankingDialogOpen;

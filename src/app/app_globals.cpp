// Application-wide values shared by the shell and the subsystems.
#include "app/app_globals.h"

HWND MainWindow = nullptr;
std::uint8_t AppActive = 1;
std::uint8_t RankingDialogOpen = 0;

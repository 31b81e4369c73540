// WinMain: the start-up sequence and the run of the main loop.
#pragma once

// Returns the program's exit code.
int WinMain();

// The texts start-up shows itself.
inline constexpr const char* DoubleStartText =
    "2重起動のため起動できません。\n終了させてから再度起動させてください。";
inline constexpr const char* InstanceName = "Korvid";
inline constexpr const char* MainWindowClass = "Main Window";
inline constexpr const char* MainWindowTitle = "Korvid";

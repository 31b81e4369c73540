// The settings window: five pages of options, run modally over the settings backdrop.
#pragma once

// Runs the settings window owned by the main window until it closes. On closing it has
// started the transition back to the title.
void RunSettingsWindow();

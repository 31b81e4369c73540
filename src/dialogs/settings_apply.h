// Applying the settings: stored choices become cursor colour, tiling, volumes, keys, difficulty.
#pragma once

#include <cstdint>

// Packs the cursor colour from the settings, each component taken modulo 256.
std::uint32_t CursorColour();

// Pushes the settings into the running subsystems; needs the device, sound and music.
void ApplySettings();

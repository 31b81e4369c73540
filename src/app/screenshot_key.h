// The screenshot key: F12 or Print Screen saves the current frame, unless the key plays the game.
#pragma once

#include <cstdint>

constexpr std::uint32_t ScreenshotKey = 123;    // F12
constexpr std::uint32_t PrintScreenKey = 44;    // where the desktop lets it through

// True when a PNG was written. Does nothing for other keys, with the option off, or when the
// key is bound to a game action in the settings (the action wins).
bool OnScreenshotKey(std::uint32_t virtualKey);

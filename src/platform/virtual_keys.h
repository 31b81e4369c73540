// Translation of SDL keys into the Windows virtual-key codes the game and Setting.dat use.
#pragma once

#include <SDL.h>

#include <cstdint>

// 0 when the key has no virtual-key code. Punctuation keys follow the keyboard layout as
// Windows' do: US positions, or those of a Japanese layout.
std::uint32_t VirtualKeyFromSdl(const SDL_Keysym& key);
std::uint32_t VirtualKeyFromSdl(const SDL_Keysym& key, bool japaneseLayout);
bool JapaneseKeyboardLayout();  // from the layout the display server has now

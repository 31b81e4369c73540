// Translation of SDL keys into the Windows virtual-key codes the game and Setting.dat use.
#pragma once

#include <SDL.h>

#include <cstdint>

// 0 when the key has no virtual-key code.
std::uint32_t VirtualKeyFromSdl(const SDL_Keysym& key);

// Platform-internal access to the SDL window behind a HWND (never included by game code).
#pragma once

#include <SDL.h>

#include "platform/window.h"

SDL_Window* SdlWindowOf(HWND window);

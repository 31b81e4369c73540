// Platform-internal access to the SDL window behind a HWND (never included by game code).
#pragma once

#include <SDL.h>

#include <string>

#include "platform/window.h"

// The display window of the window or, for a dialog, of its owner chain.
SDL_Window* SdlWindowOf(HWND window);

// Dialog windows: a procedure and the dialog module's data, no display window of their own.
// DestroyWindow sends WM_DESTROY and forgets the data; the handle stays valid to test.
HWND CreateDialogWindow(HWND owner, WindowProc procedure, void* data);
void* DialogDataOf(HWND window);  // null for other windows and destroyed dialogs
HWND TopLevelOf(HWND window);      // the window of the owner chain that has a display window
bool IsWindowAlive(HWND window);

// The input method's composition (WM_IME_COMPOSITION tells when it changes).
const std::string& CompositionText();
bool CompositionActive();

// A key pressed while a dialog took the input: after the dialog has closed, its repeats and
// its release are not the screen's behind (an Escape held in a dialog must not quit).
void NoteDialogKey(std::uint32_t message, WPARAM key);

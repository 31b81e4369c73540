// Platform-internal seam of the message boxes: the native call, replaceable by tests.
#pragma once

#include <SDL.h>

using NativeMessageBox = int (*)(const SDL_MessageBoxData*, int*);

// Replaces the native call (null puts SDL's back); returns the one it replaces.
NativeMessageBox SetNativeMessageBox(NativeMessageBox show);

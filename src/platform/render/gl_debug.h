// GL debug output: with KORVID_GL_DEBUG set, contexts are debug contexts and GL errors reported.
#pragma once

// Called, on the thread that made the failing call, with the driver's message for each GL error.
using GlErrorHook = void (*)(const char* message);

// Replaces the hook and returns the one before; null restores the default, which prints to
// standard error.
GlErrorHook SetGlErrorHook(GlErrorHook hook);

// True when the environment asks for debug contexts (KORVID_GL_DEBUG non-empty and not 0).
bool GlDebugRequested();

// Turns on synchronous debug output for the current context when it is a debug context.
void EnableGlDebugOutput();

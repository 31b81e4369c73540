// Every test program runs headless and knows where the sources and the game folder are.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/render/gl_debug.h"

namespace {
struct TestEnvironment {
  TestEnvironment() {
    // Explicit settings from the caller win; these are only the defaults.
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("ALSOFT_DRIVERS", "null", 0);
    setenv("KORVID_SOURCE_DIR", KORVID_TEST_SOURCE_DIR, 0);
    setenv("KORVID_GAME_DIR", KORVID_TEST_GAME_DIR, 0);
    setenv("KORVID_BINARY_DIR", KORVID_TEST_BINARY_DIR, 0);
    // The texts the tests read are the Japanese ones, whatever language the desktop has
    // (a test that wants another language chooses it).
    setenv("LC_ALL", "C.UTF-8", 1);
    unsetenv("LANGUAGE");
    // Every context is a debug context: a GL error fails the test whose call raised it.
    setenv("KORVID_GL_DEBUG", "1", 0);
    SetGlErrorHook([](const char* message) { ADD_FAILURE() << "GL error: " << message; });
  }
} const Environment;
}  // namespace

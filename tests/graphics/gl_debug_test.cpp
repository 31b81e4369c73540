// Test contexts report GL errors on the call that raised them.
#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include "graphics_fixture.h"
#include "platform/render/gl_debug.h"

namespace {
int Errors = 0;
}

TEST(GlDebug, AnErrorReachesTheHookOnTheCallThatRaisedIt) {
  EnsureDevice();
  const GlErrorHook previous = SetGlErrorHook([](const char*) { ++Errors; });
  glBindTexture(0x1234, 0);  // not a texture target
  SetGlErrorHook(previous);
  EXPECT_EQ(Errors, 1);
  glGetError();
}

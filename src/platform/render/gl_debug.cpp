// GL debug output routed to a hook, so tests fail on the call that raised a GL error.
#include "platform/render/gl_debug.h"

#include <epoxy/gl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void PrintError(const char* message) { std::fprintf(stderr, "korvid: GL error: %s\n", message); }

GlErrorHook Hook = PrintError;

void GLAPIENTRY OnDebugMessage(GLenum, GLenum type, GLuint, GLenum severity, GLsizei, const GLchar* message,
                               const void*) {
  // Only errors count: performance and portability notes are the driver's advice.
  if (type == GL_DEBUG_TYPE_ERROR || severity == GL_DEBUG_SEVERITY_HIGH) Hook(message);
}

}  // namespace

GlErrorHook SetGlErrorHook(GlErrorHook hook) {
  const GlErrorHook previous = Hook;
  Hook = hook ? hook : PrintError;
  return previous;
}

bool GlDebugRequested() {
  const char* value = std::getenv("KORVID_GL_DEBUG");
  return value && *value && std::strcmp(value, "0") != 0;
}

void EnableGlDebugOutput() {
  if (!GlDebugRequested()) return;
  GLint flags = 0;
  glGetIntegerv(GL_CONTEXT_FLAGS, &flags);
  if (!(flags & GL_CONTEXT_FLAG_DEBUG_BIT) || !epoxy_has_gl_extension("GL_KHR_debug")) return;
  glEnable(GL_DEBUG_OUTPUT);
  glEnable(GL_DEBUG_OUTPUT_SYNCHRONOUS);
  glDebugMessageCallback(OnDebugMessage, nullptr);
}

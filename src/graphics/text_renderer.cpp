// TextRenderer: the loading line (drawing comes with the render device).
#include "graphics/text_renderer.h"

#include <cstdio>

TextRenderer Text;

void TextRenderer::ShowLoadingLine(const char* format, int value) {
  char line[256];
  std::snprintf(line, sizeof line, format, value);
  if (LoadingLineLog) LoadingLineLog->push_back(line);
}

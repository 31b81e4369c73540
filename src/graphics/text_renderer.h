// TextRenderer: text drawn straight onto the back buffer, and the start-up loading line.
#pragma once

struct TextRenderer {
  // Draws and presents one whole frame holding the line `format` filled with `value`.
  void ShowLoadingLine(const char* format, int value);
};

extern TextRenderer Text;

// TextRenderer: text drawn straight onto the back buffer, and the start-up loading line.
#pragma once

#include <string>
#include <vector>

struct TextRenderer {
  // Draws and presents one whole frame holding the line `format` filled with `value`.
  void ShowLoadingLine(const char* format, int value);

  // When set, every loading line's text is appended here as well (tests watch start-up).
  std::vector<std::string>* LoadingLineLog = nullptr;
};

extern TextRenderer Text;

// TextRenderer: text drawn straight onto the back buffer, and the start-up loading line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Font;

// The description the font is made from; only the height changes after start-up.
struct FontDescription {
  int Height = 0;
  int Width = 0;
  int Weight = 0;
  std::uint8_t CharSet = 0;
  std::uint8_t Quality = 0;
  std::uint8_t PitchAndFamily = 0;
};

struct TextRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

struct TextRenderer {
  FontDescription LogFont;
  TextRect Rect;
  Font* CurrentFont = nullptr;

  // The fixed-pitch, non-antialiased face at the current height.
  void CreateBaseFont();
  void SetFontHeight(int height);
  // Draws from the rectangle's top-left; right and bottom clip nothing.
  void DrawTextAt(int left, int top, int right, int bottom, std::uint32_t colour, int count,
                  const char* text);
  // Draws and presents one whole frame holding the line `format` filled with `value`.
  void ShowLoadingLine(const char* format, int value);
  void DrawVersion();
  void DrawMenuDebug();
  void DrawPlayDebug();
  void ReleaseFont();

  // The loading line on screen now: a repeat of it is not drawn and shown again.
  std::string ShownLoadingLine;
  std::string ShownLoadingFormat;
  std::uint32_t ShownLoadingTime = 0;
  std::uint32_t ShownLoadingFrame = 0;
  // Each showing costs a whole frame's drawing and presenting, dear on a software renderer:
  // ten a second still reads as steady progress.
  static constexpr std::uint32_t LoadingLineInterval = 100;

  // When set, every loading line's text is appended here as well (tests watch start-up).
  std::vector<std::string>* LoadingLineLog = nullptr;
};

extern TextRenderer Text;

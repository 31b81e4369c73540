// Monochrome text on the current render target: a fixed-pitch Japanese face, cached per height.
#pragma once

#include <cstdint>

struct RenderDevice;
struct Font;

// The face for this cell height (pixels); the same object comes back for the same height,
// so asking again costs a lookup. Null when no face can be found or opened.
Font* CreateFont(RenderDevice* device, int height);
// Draws UTF-8 text (`count` bytes, -1 up to the terminator) with its cell's top-left at
// (left, top); nothing is clipped. '\n' starts a new line. Returns the height drawn.
int DrawText(RenderDevice* device, Font* font, const char* text, int count, int left, int top,
             std::uint32_t colour);
// Advance width of the text in pixels.
int MeasureText(Font* font, const char* text, int count);
int FontCellHeight(const Font* font);
// Forgets every cached face and glyph (device teardown).
void ReleaseFonts();
// For tests: make face lookup fail as if no font were installed.
void SetFontFamilyForTests(const char* family);

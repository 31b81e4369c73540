// Whether each dialog control's text fits its rectangle, measured as the drawing code lays it out.
#include <imgui.h>
#include <imgui_internal.h>

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "platform/dialog_draw.h"
#include "platform/dialog_internal.h"

namespace {
struct Measure {
  ImFont* Font;
  float Size;
  float Width(const std::string& text) const { return Font->CalcTextSizeA(Size, FLT_MAX, 0, text.c_str()).x; }
  // How far below the line's top its visible ink (half covered or more) reaches, read from the
  // glyphs' pixels in the font atlas: a glyph's box also holds faint edge pixels.
  float InkBottom(const std::string& line) const {
    const ImFontAtlas* atlas = Font->ContainerAtlas;
    const unsigned char* alpha = atlas->TexPixelsAlpha8;
    const unsigned int* rgba = atlas->TexPixelsRGBA32;
    const auto ink = [&](int x, int y) {
      const int at = y * atlas->TexWidth + x;
      return (alpha ? alpha[at] : rgba ? static_cast<int>(rgba[at] >> IM_COL32_A_SHIFT) & 0xFF : 255) >= 128;
    };
    float bottom = 0;
    for (const char* p = line.c_str(); *p;) {
      unsigned int c = 0;
      p += ImTextCharFromUtf8(&c, p, nullptr);
      const ImFontGlyph* g = Font->FindGlyph(static_cast<ImWchar>(c));
      if (!g || !g->Visible) continue;
      const auto texel = [](float at, int size) { return static_cast<int>(at * static_cast<float>(size) + 0.5f); };
      const int left = texel(g->U0, atlas->TexWidth), right = texel(g->U1, atlas->TexWidth);
      const int top = texel(g->V0, atlas->TexHeight), end = texel(g->V1, atlas->TexHeight);
      const auto rowHasInk = [&](int y) {
        for (int x = left; x < right; ++x)
          if (ink(x, y)) return true;
        return false;
      };
      int rows = end - top;
      while (rows > 0 && !rowHasInk(top + rows - 1)) --rows;
      const float scale = end > top ? (g->Y1 - g->Y0) / static_cast<float>(end - top) : 1.0f;
      if (rows > 0) bottom = std::max(bottom, (g->Y0 + rows * scale) * Size / Font->FontSize);
    }
    return bottom;
  }
};

void Note(std::vector<TextOverflow>& found, const ControlState& c, const std::string& text, float needed,
          float available) {
  // Half a pixel of rounding is not a cut.
  if (needed > available + 0.5f)
    found.push_back({c.Id, text, static_cast<int>(std::ceil(needed)), static_cast<int>(available)});
}

void CheckControls(const DialogState& owner, std::vector<TextOverflow>& found) {
  ImFont* font = DialogFont(owner);
  if (!font) return;
  const Measure m{font, font->FontSize};
  for (const ControlState& c : owner.Controls) {
    const float w = static_cast<float>(c.Pixels.Right - c.Pixels.Left);
    const float h = static_cast<float>(c.Pixels.Bottom - c.Pixels.Top);
    switch (c.Kind) {
      case ControlKind::Static: {
        if (c.Text.empty()) break;
        // Lines are the font's height and one pixel apart, and a too-narrow label wraps, so
        // only the height can run out. The original's own two- and three-line texts lose the
        // last row of their ink to the rectangle, and every glyph still reads: one row may go.
        // A Latin descender reaches further and loses its tail ("y" reads as "v").
        const std::vector<std::string> lines = WrapDialogLines(m.Font, m.Size, c.Text, w);
        if (lines.empty()) break;
        const float last = std::max(m.Size - 1, m.InkBottom(lines.back()) - 1);
        Note(found, c, c.Text, static_cast<float>(lines.size() - 1) * (m.Size + 1) + last, h);
        break;
      }
      case ControlKind::PushButton: Note(found, c, c.Text, m.Width(c.Text) + 4, w); break;
      case ControlKind::CheckBox:
        // Box, gap, text; the text may run two pixels past the control.
        Note(found, c, c.Text, std::floor(m.Size) + 1 + 4 + m.Width(c.Text), w + 2);
        break;
      case ControlKind::GroupBox:
        if (!c.Text.empty()) Note(found, c, c.Text, 10 + m.Width(c.Text), w);
        break;
      case ControlKind::ComboBox:
        // The closed box shows the entry beside the arrow button, a square of its height.
        for (const std::string& item : c.Items) Note(found, c, item, 6 + m.Width(item) + m.Size + 6, w);
        break;
      case ControlKind::ListBox:
        for (const std::string& item : c.Items) Note(found, c, item, 8 + m.Width(item), w);
        break;
      case ControlKind::TabControl: {
        float row = 2;
        std::string all;
        for (const std::string& item : c.Items) {
          row += m.Width(item) + 14;
          all += (all.empty() ? "" : " | ") + item;
        }
        Note(found, c, all, row, w);
        break;
      }
      default: break;
    }
  }
}
}  // namespace

std::vector<TextOverflow> FindTextOverflows(HWND dialog) {
  std::vector<TextOverflow> found;
  const DialogState* state = StateOf(dialog);
  if (!state) return found;
  if (ImFont* font = DialogFont(*state); font && CaptionHeight(*state) > 0 && !state->Caption.empty()) {
    // The caption leaves room for the close box, a square of the caption's height.
    const float needed = font->CalcTextSizeA(font->FontSize, FLT_MAX, 0, state->Caption.c_str()).x + 16 +
                         ((state->Style & WS_SYSMENU) ? static_cast<float>(CaptionHeight(*state)) : 0);
    if (needed > static_cast<float>(state->Width))
      found.push_back({0, state->Caption, static_cast<int>(needed), state->Width});
  }
  CheckControls(*state, found);
  for (HWND page : state->Pages)
    if (const DialogState* p = StateOf(page)) CheckControls(*p, found);
  return found;
}

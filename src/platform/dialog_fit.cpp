// Whether each dialog control's text fits its rectangle, measured as the drawing code lays it out.
#include <imgui.h>

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
        // only the height can run out. The last row of a line's cell holds no ink in these
        // faces: the original's own two- and three-line texts end there.
        const std::size_t lines = WrapDialogLines(m.Font, m.Size, c.Text, w).size();
        Note(found, c, c.Text, static_cast<float>(lines) * (m.Size + 1) - 2, h);
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

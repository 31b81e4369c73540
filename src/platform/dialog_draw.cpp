// Drawing and mouse handling of dialogs and their controls with ImGui, desktop style.
#include "platform/dialog_draw.h"

#include <imgui_internal.h>
#include <imgui_stdlib.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "platform/window_internal.h"

namespace {
std::size_t CharLength(unsigned char c) { return c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1; }

}  // namespace

// Lines of a static text: "\n" breaks, then breaks where the width runs out (at a space when
// the line has one, otherwise between characters, as Japanese text wraps).
std::vector<std::string> WrapDialogLines(ImFont* font, float size, const std::string& text, float width) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string paragraph = text.substr(start, end - start);
    while (!paragraph.empty()) {
      std::size_t cut = 0;
      while (cut < paragraph.size()) {
        const std::size_t next = cut + CharLength(static_cast<unsigned char>(paragraph[cut]));
        if (cut > 0 && font->CalcTextSizeA(size, 1e9f, 0, paragraph.c_str(), paragraph.c_str() + next).x > width)
          break;
        cut = std::min(next, paragraph.size());
      }
      if (cut < paragraph.size()) {
        const std::size_t space = paragraph.rfind(' ', cut);
        if (space != std::string::npos && space > 0) cut = space + 1;
      }
      lines.push_back(paragraph.substr(0, cut));
      paragraph.erase(0, cut);
    }
    if (end == text.size()) break;
    if (text.substr(start, end - start).empty()) lines.emplace_back();
    start = end + 1;
  }
  return lines;
}

namespace {
bool PopupOpen = false;
bool ClosePopup = false;

struct ScrollDrag {
  bool Dragging = false;
  float GrabOffset = 0;
  int Position = 0;
};
std::map<ImGuiID, ScrollDrag> Drags;

constexpr ImU32 TextColour = IM_COL32(0, 0, 0, 255);
constexpr ImU32 GreyText = IM_COL32(160, 160, 160, 255);
constexpr ImU32 FrameColour = IM_COL32(160, 160, 160, 255);
constexpr ImU32 Face = IM_COL32(240, 240, 240, 255);
constexpr ImU32 DefaultBlue = IM_COL32(0, 120, 215, 255);

ImVec2 At(ImVec2 origin, int x, int y) { return ImVec2(origin.x + x, origin.y + y); }

void DottedRect(ImDrawList* list, ImVec2 a, ImVec2 b) {
  for (float x = a.x; x < b.x; x += 2) {
    list->AddRectFilled(ImVec2(x, a.y), ImVec2(x + 1, a.y + 1), TextColour);
    list->AddRectFilled(ImVec2(x, b.y - 1), ImVec2(x + 1, b.y), TextColour);
  }
  for (float y = a.y; y < b.y; y += 2) {
    list->AddRectFilled(ImVec2(a.x, y), ImVec2(a.x + 1, y + 1), TextColour);
    list->AddRectFilled(ImVec2(b.x - 1, y), ImVec2(b.x, y + 1), TextColour);
  }
}

// Lines of a static text, as drawn with the current font.
std::vector<std::string> WrapLines(const std::string& text, float width) {
  return WrapDialogLines(ImGui::GetFont(), ImGui::GetFontSize(), text, width);
}

void DrawStatic(const ControlState& c, ImVec2 a, ImVec2 b) {
  ImDrawList* list = ImGui::GetWindowDrawList();
  const float lineHeight = ImGui::GetFontSize() + 1;
  list->PushClipRect(a, b, true);
  float y = a.y;
  for (const std::string& line : WrapLines(c.Text, b.x - a.x)) {
    const float w = ImGui::CalcTextSize(line.c_str()).x;
    float x = a.x;
    if (c.Style & SS_CENTER) x = a.x + std::floor((b.x - a.x - w) / 2);
    else if (c.Style & SS_RIGHT) x = b.x - w;
    list->AddText(ImVec2(x, y), c.Enabled ? TextColour : GreyText, line.c_str());
    y += lineHeight;
  }
  list->PopClipRect();
}

void DrawGroupBox(const ControlState& c, ImVec2 a, ImVec2 b) {
  ImDrawList* list = ImGui::GetWindowDrawList();
  const float half = std::floor(ImGui::GetFontSize() / 2);
  list->AddRect(ImVec2(a.x, a.y + half), b, FrameColour);
  if (c.Text.empty()) return;
  const ImVec2 size = ImGui::CalcTextSize(c.Text.c_str());
  list->AddRectFilled(ImVec2(a.x + 6, a.y), ImVec2(a.x + 10 + size.x, a.y + size.y), Face);
  list->AddText(ImVec2(a.x + 8, a.y), c.Enabled ? TextColour : GreyText, c.Text.c_str());
}

void DrawIcon(ImVec2 a) {
  // The program's emblem: a sight.
  ImDrawList* list = ImGui::GetWindowDrawList();
  const ImVec2 centre(a.x + 16, a.y + 16);
  list->AddCircleFilled(centre, 15, IM_COL32(120, 20, 20, 255));
  list->AddCircle(centre, 10, IM_COL32(255, 255, 255, 255), 0, 2);
  list->AddLine(ImVec2(centre.x - 14, centre.y), ImVec2(centre.x + 14, centre.y), IM_COL32(255, 255, 255, 255), 2);
  list->AddLine(ImVec2(centre.x, centre.y - 14), ImVec2(centre.x, centre.y + 14), IM_COL32(255, 255, 255, 255), 2);
}

struct Drawing {
  DialogState& Top;
  DialogState& Owner;
  bool Input;
};

// Only a click moves the focus: an edit field activated from the keyboard must not.
void TakeFocusOnClick(Drawing& d, const ControlState& c) {
  if (!d.Input || c.Id == -1 || !ImGui::IsItemActivated() || !ImGui::IsMouseClicked(0) ||
      !ImGui::IsItemHovered(ImGuiHoveredFlags_AllowWhenBlockedByActiveItem))
    return;
  d.Top.FocusDialog = d.Owner.Handle;
  d.Top.FocusId = c.Id;
  d.Top.FocusByKeyboard = false;
}

// Frame padding that makes a framed control exactly `height` pixels tall.
void PushFrameHeight(float height) {
  const float pad = std::max(0.0f, std::floor((height - ImGui::GetFontSize()) / 2));
  ImGui::PushStyleVar(ImGuiStyleVar_FramePadding, ImVec2(3, pad));
}

void DrawButton(Drawing& d, ControlState& c, ImVec2 a, ImVec2 b, bool focused) {
  ImGui::SetCursorScreenPos(a);
  ImGui::PushStyleVar(ImGuiStyleVar_FramePadding, ImVec2(2, 2));
  const std::string label = c.Text + "###b";
  if (ImGui::Button(label.c_str(), ImVec2(b.x - a.x, b.y - a.y))) PressButton(d.Owner.Handle, c);
  ImGui::PopStyleVar();
  TakeFocusOnClick(d, c);
  ImDrawList* list = ImGui::GetWindowDrawList();
  if ((c.Style & BS_DEFPUSHBUTTON) || focused) list->AddRect(a, b, DefaultBlue, 0, 0, 2);
  if (focused) DottedRect(list, ImVec2(a.x + 3, a.y + 3), ImVec2(b.x - 3, b.y - 3));
}

void DrawCheckBox(Drawing& d, ControlState& c, ImVec2 a, ImVec2 b, bool focused) {
  // The whole control answers the mouse, as on the desktop, not only the box and its text.
  ImGui::SetCursorScreenPos(a);
  if (ImGui::InvisibleButton("##c", ImVec2(std::max(b.x - a.x, 1.0f), std::max(b.y - a.y, 1.0f))))
    ToggleCheck(d.Owner.Handle, c);
  TakeFocusOnClick(d, c);
  const bool hovered = ImGui::IsItemHovered() && c.Enabled;
  ImDrawList* list = ImGui::GetWindowDrawList();
  const float box = std::floor(ImGui::GetFontSize()) + 1;
  const ImVec2 boxMin(a.x, std::floor(a.y + (b.y - a.y - box) / 2));
  const ImVec2 boxMax(boxMin.x + box, boxMin.y + box);
  list->AddRectFilled(boxMin, boxMax, c.Enabled ? IM_COL32(255, 255, 255, 255) : Face);
  list->AddRect(boxMin, boxMax, hovered ? DefaultBlue : c.Enabled ? IM_COL32(51, 51, 51, 255) : GreyText);
  if (c.Checked)
    ImGui::RenderCheckMark(list, ImVec2(boxMin.x + 2, boxMin.y + 2), c.Enabled ? TextColour : GreyText, box - 4);
  const ImVec2 size = ImGui::CalcTextSize(c.Text.c_str());
  const ImVec2 text(boxMax.x + 4, std::floor(a.y + (b.y - a.y - size.y) / 2));
  list->PushClipRect(a, ImVec2(b.x + 2, b.y), true);
  list->AddText(text, c.Enabled ? TextColour : GreyText, c.Text.c_str());
  list->PopClipRect();
  if (focused) DottedRect(list, ImVec2(text.x - 2, text.y - 1), ImVec2(text.x + size.x + 2, text.y + size.y + 1));
}

void DrawEdit(Drawing& d, ControlState& c, ImVec2 a, ImVec2 b, bool focused) {
  ImGui::SetCursorScreenPos(a);
  PushFrameHeight(b.y - a.y);
  ImGui::SetNextItemWidth(b.x - a.x);
  const ImGuiID id = ImGui::GetID("##e");
  c.DrawnId = id;
  bool active = ImGui::GetActiveID() == id;
  // The field keeps its own copy while active: a text set by the program reloads it.
  if (active && (!focused || c.Version != c.DrawnVersion)) {
    ImGui::ClearActiveID();
    if (c.Version != c.DrawnVersion) ImGui::GetCurrentContext()->InputTextState.ID = 0;  // no old caret
    active = false;
  }
  c.DrawnVersion = c.Version;
  // Activated at once, in this frame, as ImGui's keyboard navigation would (that selects the
  // text, as tabbing into a field does). Not while a button is held: the click may be
  // activating another control.
  if (focused && !active && !ImGui::IsMouseDown(0)) ImGui::GetCurrentContext()->NavActivateInputId = id;
  const std::string before = c.Text;
  ImGui::InputText("##e", &c.Text);
  ImGui::PopStyleVar();
  TakeFocusOnClick(d, c);
  if (c.Text != before) QueueNotification(d.Owner.Handle, WM_COMMAND, CommandParam(c.Id, EN_CHANGE), 0);
  if (ImGui::IsItemActive() && CompositionActive()) {
    // The input method's unfinished text, underlined at the caret.
    ImDrawList* list = ImGui::GetForegroundDrawList();
    const std::string& text = CompositionText();
    const ImVec2 size = ImGui::CalcTextSize(text.c_str());
    const ImVec2 at(static_cast<float>(CaretX) + 1, static_cast<float>(CaretY));
    list->AddRectFilled(at, ImVec2(at.x + size.x + 2, at.y + size.y + 2), IM_COL32(255, 255, 255, 255));
    list->AddText(ImVec2(at.x + 1, at.y), TextColour, text.c_str());
    list->AddLine(ImVec2(at.x + 1, at.y + size.y + 1), ImVec2(at.x + size.x + 1, at.y + size.y + 1), TextColour);
  }
}

void DrawCombo(Drawing& d, ControlState& c, ImVec2 a, ImVec2 b, bool focused) {
  // The template's height includes the dropped list.
  const float closed = ImGui::GetFontSize() + 6;
  ImGui::SetCursorScreenPos(a);
  PushFrameHeight(closed);
  ImGui::SetNextItemWidth(b.x - a.x);
  const std::string preview = c.Selection >= 0 && c.Selection < static_cast<int>(c.Items.size()) ? c.Items[c.Selection] : "";
  const float listHeight = std::max(b.y - a.y - closed, closed * 3);
  ImGui::SetNextWindowSizeConstraints(ImVec2(b.x - a.x, 0), ImVec2(b.x - a.x, listHeight));
  const bool open = ImGui::BeginCombo("##c", preview.c_str());
  ImGui::PopStyleVar();
  const ImVec2 min = ImGui::GetItemRectMin(), max = ImGui::GetItemRectMax();
  if (!open) TakeFocusOnClick(d, c);
  if (open) {
    if (d.Input) PopupOpen = true;
    if (ClosePopup) {
      ImGui::CloseCurrentPopup();
      ClosePopup = false;
    }
    for (int i = 0; i < static_cast<int>(c.Items.size()); ++i) {
      const bool selected = i == c.Selection;
      const std::string item = c.Items[i] + "###" + std::to_string(i);
      if (ImGui::Selectable(item.c_str(), selected) && !selected) SelectListItem(d.Owner.Handle, c, i);
      if (selected) ImGui::SetItemDefaultFocus();
    }
    ImGui::EndCombo();
    if (d.Input) {
      d.Top.FocusDialog = d.Owner.Handle;
      d.Top.FocusId = c.Id;
    }
  }
  if (focused) DottedRect(ImGui::GetWindowDrawList(), ImVec2(min.x + 2, min.y + 2), ImVec2(max.x - closed, max.y - 2));
}

void DrawListBox(Drawing& d, ControlState& c, ImVec2 a, ImVec2 b, bool focused) {
  ImGui::SetCursorScreenPos(a);
  if (ImGui::BeginListBox("##l", ImVec2(b.x - a.x, b.y - a.y))) {
    for (int i = 0; i < static_cast<int>(c.Items.size()); ++i) {
      const bool selected = i == c.Selection;
      const std::string item = c.Items[i] + "###" + std::to_string(i);
      if (ImGui::Selectable(item.c_str(), selected)) {
        if (!selected) SelectListItem(d.Owner.Handle, c, i);
        if (d.Input) {
          d.Top.FocusDialog = d.Owner.Handle;
          d.Top.FocusId = c.Id;
        }
      }
    }
    ImGui::EndListBox();
  }
  if (focused) DottedRect(ImGui::GetWindowDrawList(), a, b);
}

void DrawTrackbar(Drawing& d, ControlState& c, ImVec2 a, ImVec2 b, bool focused) {
  const float height = std::min(b.y - a.y, ImGui::GetFontSize() + 4);
  ImGui::SetCursorScreenPos(a);
  PushFrameHeight(height);
  ImGui::PushStyleColor(ImGuiCol_FrameBg, IM_COL32(231, 234, 234, 255));
  ImGui::PushStyleColor(ImGuiCol_FrameBgHovered, IM_COL32(231, 234, 234, 255));
  ImGui::PushStyleColor(ImGuiCol_FrameBgActive, IM_COL32(231, 234, 234, 255));
  ImGui::SetNextItemWidth(b.x - a.x);
  int value = c.Position;
  const bool changed = ImGui::SliderInt("##t", &value, c.Minimum, c.Maximum, "",
                                        ImGuiSliderFlags_NoInput | ImGuiSliderFlags_AlwaysClamp);
  ImGui::PopStyleColor(3);
  ImGui::PopStyleVar();
  TakeFocusOnClick(d, c);
  if (changed && value != c.Position) MoveTrackbar(d.Owner.Handle, c, value, TB_THUMBTRACK);
  if (ImGui::IsItemDeactivated())
    QueueNotification(d.Owner.Handle, WM_HSCROLL, CommandParam(TB_ENDTRACK, c.Position), c.Id);
  ImDrawList* list = ImGui::GetWindowDrawList();
  const float range = static_cast<float>(c.Maximum - c.Minimum);
  if (c.TickFrequency > 0 && range > 0) {
    // Ticks under the thumb's travel (the int slider's grab is at least GrabMinSize wide).
    const float width = b.x - a.x - 4;
    const float grab = std::max(width / (range + 1), ImGui::GetStyle().GrabMinSize);
    const float y = a.y + height + 1;
    auto tick = [&](int t) {
      const float x = std::floor(a.x + 2 + grab / 2 + (t - c.Minimum) / range * (width - grab));
      list->AddLine(ImVec2(x + 0.5f, y), ImVec2(x + 0.5f, y + 3), c.Enabled ? TextColour : GreyText);
    };
    for (int t = c.Minimum; t < c.Maximum; t += c.TickFrequency) tick(t);
    tick(c.Maximum);
  }
  if (focused) DottedRect(list, ImVec2(a.x - 1, a.y - 1), ImVec2(b.x + 1, a.y + height + 1));
}

void DrawScrollBar(Drawing& d, ControlState& c, ImVec2 a, ImVec2 b, bool focused) {
  const float h = b.y - a.y;
  HWND owner = d.Owner.Handle;
  auto notify = [&](int code, int position) {
    QueueNotification(owner, WM_HSCROLL, CommandParam(code, position), c.Id);
  };
  ImGui::PushButtonRepeat(true);
  ImGui::SetCursorScreenPos(a);
  if (ImGui::ArrowButtonEx("##l", ImGuiDir_Left, ImVec2(h, h))) notify(SB_LINELEFT, 0);
  TakeFocusOnClick(d, c);
  ImGui::SetCursorScreenPos(ImVec2(b.x - h, a.y));
  if (ImGui::ArrowButtonEx("##r", ImGuiDir_Right, ImVec2(h, h))) notify(SB_LINERIGHT, 0);
  TakeFocusOnClick(d, c);
  ImGui::PopButtonRepeat();
  const float left = a.x + h, right = b.x - h, trackWidth = right - left;
  const int range = c.Maximum - c.Minimum;
  const float thumb = std::max(h * 0.8f, trackWidth / (range + 1));
  const float thumbX = left + (range > 0 ? (c.Position - c.Minimum) * (trackWidth - thumb) / range : 0);
  ImGui::SetCursorScreenPos(ImVec2(left, a.y));
  ImGui::InvisibleButton("##track", ImVec2(std::max(trackWidth, 1.0f), h));
  TakeFocusOnClick(d, c);
  ScrollDrag& drag = Drags[ImGui::GetItemID()];
  const float mouse = ImGui::GetIO().MousePos.x;
  if (ImGui::IsItemActivated()) {
    drag = ScrollDrag{};
    if (mouse < thumbX) notify(SB_PAGELEFT, 0);
    else if (mouse > thumbX + thumb) notify(SB_PAGERIGHT, 0);
    else drag = {true, mouse - thumbX, c.Position};
  }
  if (ImGui::IsItemActive() && drag.Dragging && trackWidth > thumb && range > 0) {
    const float at = (mouse - drag.GrabOffset - left) / (trackWidth - thumb);
    const int position = std::clamp(c.Minimum + static_cast<int>(std::lround(at * range)), c.Minimum, c.Maximum);
    if (position != drag.Position) {
      drag.Position = position;
      notify(SB_THUMBTRACK, position);
    }
  }
  if (ImGui::IsItemDeactivated()) {
    if (drag.Dragging) notify(SB_THUMBPOSITION, drag.Position);
    notify(SB_ENDSCROLL, 0);
    drag = ScrollDrag{};
  }
  ImDrawList* list = ImGui::GetWindowDrawList();
  list->AddRectFilled(ImVec2(left, a.y), ImVec2(right, b.y), IM_COL32(232, 232, 232, 255));
  const bool hot = ImGui::IsItemHovered() && mouse >= thumbX && mouse <= thumbX + thumb;
  list->AddRectFilled(ImVec2(thumbX, a.y + 1), ImVec2(thumbX + thumb, b.y - 1),
                      !c.Enabled ? IM_COL32(220, 220, 220, 255) : hot || drag.Dragging ? IM_COL32(166, 166, 166, 255)
                                                                                     : IM_COL32(193, 193, 193, 255));
  if (focused) DottedRect(list, ImVec2(thumbX + 2, a.y + 2), ImVec2(thumbX + thumb - 2, b.y - 2));
}

void DrawTabControl(Drawing& d, ControlState& c, ImVec2 a, ImVec2 b, bool focused) {
  ImDrawList* list = ImGui::GetWindowDrawList();
  const float header = ImGui::GetFontSize() + 8;
  list->AddRect(ImVec2(a.x, a.y + header), b, FrameColour);
  float x = a.x + 2;
  for (int i = 0; i < static_cast<int>(c.Items.size()); ++i) {
    const bool selected = i == c.Selection;
    const float w = ImGui::CalcTextSize(c.Items[i].c_str()).x + 14;
    const ImVec2 min(x - (selected ? 2 : 0), a.y + (selected ? 0 : 2));
    const ImVec2 max(x + w + (selected ? 2 : 0), a.y + header + (selected ? 1 : 0));
    ImGui::SetCursorScreenPos(min);
    ImGui::PushID(i);
    if (ImGui::InvisibleButton("##tab", ImVec2(max.x - min.x, max.y - min.y)) && !selected)
      SelectTab(d.Owner.Handle, c, i);
    TakeFocusOnClick(d, c);
    const bool hovered = ImGui::IsItemHovered();
    ImGui::PopID();
    list->AddRectFilled(min, max, selected ? Face : hovered ? IM_COL32(229, 241, 251, 255) : IM_COL32(225, 225, 225, 255));
    list->AddLine(min, ImVec2(max.x, min.y), FrameColour);
    list->AddLine(min, ImVec2(min.x, max.y - 1), FrameColour);
    list->AddLine(ImVec2(max.x - 1, min.y), ImVec2(max.x - 1, max.y - 1), FrameColour);
    const ImVec2 text(x + 7, a.y + 4 + (selected ? 0 : 1));
    list->AddText(text, c.Enabled ? TextColour : GreyText, c.Items[i].c_str());
    if (selected && focused) {
      const ImVec2 size = ImGui::CalcTextSize(c.Items[i].c_str());
      DottedRect(list, ImVec2(text.x - 2, text.y - 1), ImVec2(text.x + size.x + 2, text.y + size.y + 1));
    }
    x += w;
  }
}

void DrawSurface(const DialogState& dialog, ImVec2 origin) {
  ImDrawList* list = ImGui::GetWindowDrawList();
  for (const PaintedImage& image : dialog.Painted)
    if (image.Texture)
      list->AddImage(reinterpret_cast<ImTextureID>(static_cast<std::intptr_t>(image.Texture)),
                     At(origin, image.X, image.Y), At(origin, image.X + image.Width, image.Y + image.Height));
}

void DrawControls(Drawing& d, ImVec2 origin) {
  for (std::size_t i = 0; i < d.Owner.Controls.size(); ++i) {
    ControlState& c = d.Owner.Controls[i];
    if (!c.Shown) continue;
    const ImVec2 a = At(origin, c.Pixels.Left, c.Pixels.Top);
    const ImVec2 b = At(origin, c.Pixels.Right, c.Pixels.Bottom);
    const bool focused = d.Input && c.Id != -1 && d.Top.FocusDialog == d.Owner.Handle && d.Top.FocusId == c.Id;
    ImGui::PushID(static_cast<int>(i));
    ImGui::BeginDisabled(!c.Enabled);
    switch (c.Kind) {
      case ControlKind::PushButton: DrawButton(d, c, a, b, focused); break;
      case ControlKind::CheckBox: DrawCheckBox(d, c, a, b, focused); break;
      case ControlKind::Static: DrawStatic(c, a, b); break;
      case ControlKind::GroupBox: DrawGroupBox(c, a, b); break;
      case ControlKind::Edit: DrawEdit(d, c, a, b, focused); break;
      case ControlKind::ComboBox: DrawCombo(d, c, a, b, focused); break;
      case ControlKind::ListBox: DrawListBox(d, c, a, b, focused); break;
      case ControlKind::Trackbar: DrawTrackbar(d, c, a, b, focused); break;
      case ControlKind::ScrollBar: DrawScrollBar(d, c, a, b, focused); break;
      case ControlKind::TabControl: DrawTabControl(d, c, a, b, focused); break;
      case ControlKind::Icon: DrawIcon(a); break;
    }
    ImGui::EndDisabled();
    ImGui::PopID();
  }
}
}  // namespace

bool DialogPopupOpen() { return PopupOpen; }

bool FocusedEditReady(DialogState& top) {
  ControlState* c = top.FocusId ? FindControl(top.FocusDialog, top.FocusId) : nullptr;
  if (!c || c->Kind != ControlKind::Edit || !c->Enabled || !c->Shown) return true;
  return c->DrawnId != 0 && ImGui::GetActiveID() == c->DrawnId && c->Version == c->DrawnVersion;
}
void CloseDialogPopup() { ClosePopup = true; }

void DrawTopLevel(DialogState& dialog, bool takesInput) {
  if (takesInput) PopupOpen = false;
  ImFont* font = DialogFont(dialog);
  if (font) ImGui::PushFont(font);
  const int caption = CaptionHeight(dialog);
  ImGui::SetNextWindowPos(ImVec2(static_cast<float>(dialog.X), static_cast<float>(dialog.Y - caption)), ImGuiCond_Appearing);
  ImGui::SetNextWindowSize(ImVec2(static_cast<float>(dialog.Width), static_cast<float>(dialog.Height + caption)));
  if (takesInput && dialog.FramesDrawn == 0) ImGui::SetNextWindowFocus();
  ImGuiWindowFlags flags = ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoCollapse |
                           ImGuiWindowFlags_NoSavedSettings | ImGuiWindowFlags_NoScrollbar |
                           ImGuiWindowFlags_NoScrollWithMouse;
  if (caption == 0) flags |= ImGuiWindowFlags_NoTitleBar;
  if (!takesInput) flags |= ImGuiWindowFlags_NoInputs;
  const std::string name = dialog.Caption + "###dialog" + std::to_string(dialog.Serial);
  bool open = true;
  ImGui::Begin(name.c_str(), (dialog.Style & WS_SYSMENU) ? &open : nullptr, flags);
  // The caption can be dragged: the dialog follows.
  const ImVec2 position = ImGui::GetWindowPos();
  dialog.X = static_cast<int>(position.x);
  dialog.Y = static_cast<int>(position.y) + caption;
  const ImVec2 origin(static_cast<float>(dialog.X), static_cast<float>(dialog.Y));
  Drawing top{dialog, dialog, takesInput};
  DrawSurface(dialog, origin);
  DrawControls(top, origin);
  for (HWND handle : dialog.Pages) {
    DialogState* page = StateOf(handle);
    if (!page || !page->Shown) continue;
    const ImVec2 pageOrigin = At(origin, page->X, page->Y);
    ImGui::PushID(static_cast<int>(page->Serial));
    Drawing inner{dialog, *page, takesInput};
    DrawSurface(*page, pageOrigin);
    DrawControls(inner, pageOrigin);
    ImGui::PopID();
  }
  ImGui::End();
  if (font) ImGui::PopFont();
  if (!open && takesInput) QueueNotification(dialog.Handle, WM_CLOSE, 0, 0);
  ++dialog.FramesDrawn;
}

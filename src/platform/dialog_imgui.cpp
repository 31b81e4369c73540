// The program's one ImGui context: the dialog font, input handed over per frame, GL drawing.
#include <SDL.h>
#include <imgui.h>
#include <imgui_freetype.h>
#include <imgui_internal.h>
#include <backends/imgui_impl_opengl3.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/dialog_draw.h"
#include "platform/dialog_internal.h"
#include "platform/render/render_internal.h"
#include "platform/window_internal.h"

namespace {
bool GlReady = false;
bool GlFailed = false;
bool FontTextureStale = false;
std::vector<GLuint> RetiredTextures;
bool TextInputOn = false;
std::chrono::steady_clock::time_point LastFrame = std::chrono::steady_clock::now();
char* ClipboardCopy = nullptr;

// Keys ImGui must never act on by itself: the dialog handles them (Tab, Enter, Escape).
constexpr int UnusedKey = 0x1FF;

const char* ClipboardText(void*) {
  if (ClipboardCopy) SDL_free(ClipboardCopy);
  ClipboardCopy = SDL_GetClipboardText();
  return ClipboardCopy ? ClipboardCopy : "";
}

void SetClipboard(void*, const char* text) { SDL_SetClipboardText(text); }

void PlaceInputMethod(int x, int y) {
  CaretX = x;
  CaretY = y;
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
  SDL_Rect rect{x, y, 1, static_cast<int>(ImGui::GetFontSize()) + 2};
  SDL_SetTextInputRect(&rect);
}

void ApplyStyle() {
  ImGuiStyle& style = ImGui::GetStyle();
  ImGui::StyleColorsLight(&style);
  style.WindowPadding = ImVec2(0, 0);
  style.WindowRounding = style.FrameRounding = style.GrabRounding = style.PopupRounding = 0;
  style.ScrollbarRounding = style.TabRounding = 0;
  style.WindowBorderSize = style.FrameBorderSize = style.PopupBorderSize = 1;
  style.FramePadding = ImVec2(4, 4);
  style.ItemInnerSpacing = ImVec2(4, 2);
  style.WindowTitleAlign = ImVec2(0, 0.5f);
  style.GrabMinSize = 8;
  style.DisabledAlpha = 1;  // disabled controls are drawn grey on purpose
  ImVec4* c = style.Colors;
  auto rgb = [](int r, int g, int b) { return ImVec4(r / 255.f, g / 255.f, b / 255.f, 1); };
  c[ImGuiCol_Text] = rgb(0, 0, 0);
  c[ImGuiCol_TextDisabled] = rgb(160, 160, 160);
  c[ImGuiCol_WindowBg] = c[ImGuiCol_ChildBg] = rgb(240, 240, 240);
  c[ImGuiCol_PopupBg] = rgb(255, 255, 255);
  c[ImGuiCol_Border] = rgb(122, 122, 122);
  c[ImGuiCol_BorderShadow] = ImVec4(0, 0, 0, 0);
  c[ImGuiCol_FrameBg] = rgb(255, 255, 255);
  c[ImGuiCol_FrameBgHovered] = rgb(255, 255, 255);
  c[ImGuiCol_FrameBgActive] = rgb(255, 255, 255);
  c[ImGuiCol_TitleBg] = rgb(219, 226, 236);
  c[ImGuiCol_TitleBgActive] = rgb(170, 200, 236);
  c[ImGuiCol_TitleBgCollapsed] = rgb(219, 226, 236);
  c[ImGuiCol_CheckMark] = rgb(0, 0, 0);
  c[ImGuiCol_SliderGrab] = rgb(0, 120, 215);
  c[ImGuiCol_SliderGrabActive] = rgb(0, 84, 153);
  c[ImGuiCol_Button] = rgb(225, 225, 225);
  c[ImGuiCol_ButtonHovered] = rgb(229, 241, 251);
  c[ImGuiCol_ButtonActive] = rgb(204, 228, 247);
  c[ImGuiCol_Header] = rgb(0, 120, 215);
  c[ImGuiCol_HeaderHovered] = rgb(204, 232, 255);
  c[ImGuiCol_HeaderActive] = rgb(0, 120, 215);
  c[ImGuiCol_TextSelectedBg] = rgb(0, 120, 215);
}

}  // namespace

bool EnsureContext() {
  if (ImGui::GetCurrentContext()) return true;
  ImGui::CreateContext();
  ImGuiIO& io = ImGui::GetIO();
  io.IniFilename = nullptr;
  io.LogFilename = nullptr;
  io.ConfigFlags = ImGuiConfigFlags_NoMouseCursorChange;
  io.ConfigInputTextCursorBlink = true;
  io.ConfigWindowsMoveFromTitleBarOnly = true;
  io.GetClipboardTextFn = ClipboardText;
  io.SetClipboardTextFn = SetClipboard;
  io.ImeSetInputScreenPosFn = PlaceInputMethod;
  io.Fonts->FontBuilderIO = ImGuiFreeType::GetBuilderForFreeType();
  io.Fonts->FontBuilderFlags = ImGuiFreeTypeBuilderFlags_LightHinting;
  const int keys[][2] = {
      {ImGuiKey_Tab, UnusedKey}, {ImGuiKey_LeftArrow, 37}, {ImGuiKey_RightArrow, 39},
      {ImGuiKey_UpArrow, 38}, {ImGuiKey_DownArrow, 40}, {ImGuiKey_PageUp, 33},
      {ImGuiKey_PageDown, 34}, {ImGuiKey_Home, 36}, {ImGuiKey_End, 35}, {ImGuiKey_Insert, 45},
      {ImGuiKey_Delete, 46}, {ImGuiKey_Backspace, 8}, {ImGuiKey_Space, 32},
      {ImGuiKey_Enter, UnusedKey}, {ImGuiKey_Escape, UnusedKey}, {ImGuiKey_KeyPadEnter, UnusedKey},
      {ImGuiKey_A, 'A'}, {ImGuiKey_C, 'C'}, {ImGuiKey_V, 'V'}, {ImGuiKey_X, 'X'},
      {ImGuiKey_Y, 'Y'}, {ImGuiKey_Z, 'Z'}};
  for (const auto& k : keys) io.KeyMap[k[0]] = k[1];
  ApplyStyle();
  return true;
}

namespace {

bool EnsureGl() {
  if (GlFailed || !CurrentDevice()) return false;
  if (!GlReady) {
    if (!ImGui_ImplOpenGL3_Init("#version 330 core")) {
      GlFailed = true;
      std::fprintf(stderr, "dialogs: the OpenGL renderer could not start\n");
      return false;
    }
    GlReady = true;
    FontTextureStale = false;
  }
  if (FontTextureStale) {
    ImGui_ImplOpenGL3_DestroyFontsTexture();
    ImGui_ImplOpenGL3_CreateFontsTexture();
    FontTextureStale = false;
  }
  ImGui_ImplOpenGL3_NewFrame();  // makes the shaders and the font texture on first use
  for (GLuint texture : RetiredTextures) glDeleteTextures(1, &texture);
  RetiredTextures.clear();
  return true;
}

void UploadPainted(DialogState& dialog) {
  for (PaintedImage& image : dialog.Painted) {
    if (image.Texture) continue;
    std::vector<std::uint32_t> rgba(image.Argb.size());
    for (std::size_t i = 0; i < rgba.size(); ++i) {
      const std::uint32_t p = image.Argb[i];
      // ARGB words to RGBA bytes.
      rgba[i] = ((p >> 16) & 0xFF) | (p & 0xFF00) | ((p & 0xFF) << 16) | (p & 0xFF000000u);
    }
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, image.Width, image.Height, 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, rgba.data());
    image.Texture = texture;
  }
}

void OverlayDraw(void*, int, int) {
  ImDrawData* data = ImGui::GetDrawData();
  if (GlReady && data && data->Valid) ImGui_ImplOpenGL3_RenderDrawData(data);
}

void DisplaySize(int& width, int& height) {
  width = 640;
  height = 480;
  if (DialogStack().empty()) return;
  if (SDL_Window* sdl = SdlWindowOf(DialogStack().front())) SDL_GetWindowSize(sdl, &width, &height);
}
}  // namespace

int CaretX = 0;
int CaretY = 0;

void DrawDialogFrame() {
  EnsureContext();
  const bool gl = EnsureGl();
  ImGuiIO& io = ImGui::GetIO();
  int width = 0, height = 0;
  DisplaySize(width, height);
  io.DisplaySize = ImVec2(static_cast<float>(width), static_cast<float>(height));
  io.DisplayFramebufferScale = ImVec2(1, 1);
  if (!DialogStack().empty())
    if (SDL_Window* sdl = SdlWindowOf(DialogStack().front())) {
      int dw = 0, dh = 0;
      SDL_GL_GetDrawableSize(sdl, &dw, &dh);
      if (dw > 0 && width > 0) io.DisplayFramebufferScale = ImVec2(float(dw) / width, float(dh) / height);
    }
  const auto now = std::chrono::steady_clock::now();
  io.DeltaTime = std::max(std::chrono::duration<float>(now - LastFrame).count(), 0.001f);
  LastFrame = now;
  // Glyphs are made for the characters the dialogs show (typed text included) as they appear.
  if (RefreshDialogFonts()) FontTextureStale = GlReady;
  if (gl && FontTextureStale) EnsureGl();
  if (gl)
    for (HWND handle : DialogStack())
      if (DialogState* top = StateOf(handle)) {
        UploadPainted(*top);
        for (HWND page : top->Pages)
          if (DialogState* p = StateOf(page)) UploadPainted(*p);
      }
  ImGui::NewFrame();
  const std::vector<HWND>& stack = DialogStack();
  for (std::size_t i = 0; i < stack.size(); ++i)
    if (DialogState* state = StateOf(stack[i])) DrawTopLevel(*state, i + 1 == stack.size());
  ImGui::Render();
}

void PresentDialogs() {
  RenderDevice* device = CurrentDevice();
  if (!device || DialogStack().empty() || !SdlWindowOf(DialogStack().front())) return;
  device->PresentWithOverlay(OverlayDraw, nullptr);
}

void SetDialogOverlay(bool on) { SetPresentOverlay(on ? OverlayDraw : nullptr, nullptr); }

void FeedMouse(int x, int y) {
  EnsureContext();
  ImGui::GetIO().MousePos = ImVec2(static_cast<float>(x), static_cast<float>(y));
}

void FeedMouseButton(int button, bool down) {
  EnsureContext();
  if (button >= 0 && button < 5) ImGui::GetIO().MouseDown[button] = down;
}

void FeedMouseWheel(float notches) {
  EnsureContext();
  ImGui::GetIO().MouseWheel += notches;
}

void FeedKey(std::uint32_t key, bool down) {
  EnsureContext();
  ImGuiIO& io = ImGui::GetIO();
  if (key < 512 && key != UnusedKey) io.KeysDown[key] = down;
  io.KeyShift = io.KeysDown[0x10];
  io.KeyCtrl = io.KeysDown[0x11];
  io.KeyAlt = io.KeysDown[0x12];
}

void ResetDialogInputState() {
  if (!ImGui::GetCurrentContext()) return;
  ImGuiIO& io = ImGui::GetIO();
  for (bool& key : io.KeysDown) key = false;
  for (bool& button : io.MouseDown) button = false;
  io.KeyShift = io.KeyCtrl = io.KeyAlt = false;
}

void FeedCharacter(std::uint32_t codePoint) {
  EnsureContext();
  ImGui::GetIO().AddInputCharacter(codePoint);
}

void ReleaseDialogTextures(DialogState& dialog) {
  for (PaintedImage& image : dialog.Painted)
    if (image.Texture) RetiredTextures.push_back(image.Texture);
  dialog.Painted.clear();
}

void SyncTextInput(DialogState* top) {
  bool want = false;
  if (top && top->FocusId != 0)
    if (ControlState* c = FindControl(top->FocusDialog, top->FocusId))
      want = c->Kind == ControlKind::Edit && c->Enabled && c->Shown;
  if (want == TextInputOn) return;
  TextInputOn = want;
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
  if (want) SDL_StartTextInput();
  else SDL_StopTextInput();
}

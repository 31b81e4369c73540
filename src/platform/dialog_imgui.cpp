// The program's one ImGui context: the dialog font, input handed over per frame, GL drawing.
#include <SDL.h>
#include <fontconfig/fontconfig.h>
#include <iconv.h>
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
struct LoadedFont {
  std::string Face;
  int Points = 0;
  ImFont* Font = nullptr;
  float BaseX = 0, BaseY = 0;
};

std::vector<LoadedFont> Fonts;
std::vector<ImWchar> GlyphRanges;
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

// Every character CP932 can hold, as glyph ranges: the dialog text and any storable name.
const ImWchar* Cp932Ranges() {
  if (!GlyphRanges.empty()) return GlyphRanges.data();
  std::vector<std::uint32_t> points;
  iconv_t cd = iconv_open("UTF-32LE", "CP932");
  auto convert = [&](const unsigned char* bytes, std::size_t count) {
    char in[2] = {static_cast<char>(bytes[0]), static_cast<char>(count > 1 ? bytes[1] : 0)};
    char out[8];
    char* ip = in;
    char* op = out;
    std::size_t il = count, ol = sizeof out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &ip, &il, &op, &ol) != static_cast<std::size_t>(-1) && ol == 4) {
      std::uint32_t cp = 0;
      for (int i = 3; i >= 0; --i) cp = (cp << 8) | static_cast<unsigned char>(out[i]);
      if (cp >= 0x20 && cp <= 0xFFFF) points.push_back(cp);
    }
  };
  if (cd != reinterpret_cast<iconv_t>(-1)) {
    for (int b = 0x20; b <= 0xDF; ++b) {
      const unsigned char one[1] = {static_cast<unsigned char>(b)};
      if (b < 0x7F || b >= 0xA1) convert(one, 1);
    }
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
      if (lead > 0x9F && lead < 0xE0) continue;
      for (int trail = 0x40; trail <= 0xFC; ++trail) {
        if (trail == 0x7F) continue;
        const unsigned char two[2] = {static_cast<unsigned char>(lead), static_cast<unsigned char>(trail)};
        convert(two, 2);
      }
    }
    iconv_close(cd);
  }
  points.push_back(0xFFFD);
  std::sort(points.begin(), points.end());
  points.erase(std::unique(points.begin(), points.end()), points.end());
  for (std::size_t i = 0; i < points.size();) {
    std::size_t j = i;
    while (j + 1 < points.size() && points[j + 1] == points[j] + 1) ++j;
    GlyphRanges.push_back(static_cast<ImWchar>(points[i]));
    GlyphRanges.push_back(static_cast<ImWchar>(points[j]));
    i = j + 1;
  }
  GlyphRanges.push_back(0);
  return GlyphRanges.data();
}

// The font file of a family; another face stands in (and says so) when it is not installed.
std::string FontFile(const std::string& family) {
  if (!FcInit()) return {};
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  std::string path;
  if (match) {
    FcChar8* found = nullptr;
    FcChar8* file = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) path = reinterpret_cast<const char*>(file);
    if (FcPatternGetString(match, FC_FAMILY, 0, &found) == FcResultMatch &&
        family != reinterpret_cast<const char*>(found))
      std::fprintf(stderr, "dialog font \"%s\" not installed; using \"%s\"\n", family.c_str(),
                   reinterpret_cast<const char*>(found));
    FcPatternDestroy(match);
  }
  FcPatternDestroy(pattern);
  return path;
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

bool EnsureDialogFont(DialogState& dialog) {
  EnsureContext();
  for (std::size_t i = 0; i < Fonts.size(); ++i)
    if (Fonts[i].Face == dialog.FontFace && Fonts[i].Points == dialog.FontPoints) {
      dialog.Font = static_cast<int>(i);
      dialog.BaseX = Fonts[i].BaseX;
      dialog.BaseY = Fonts[i].BaseY;
      return true;
    }
  const std::string path = FontFile(dialog.FontFace);
  if (path.empty()) return false;
  ImGuiIO& io = ImGui::GetIO();
  ImFontConfig config;
  config.OversampleH = config.OversampleV = 1;
  config.PixelSnapH = true;
  // Points at the desktop's 96 dots per inch, as the templates were laid out.
  const float pixels = std::round(dialog.FontPoints * 96.0f / 72.0f);
  ImFont* font = io.Fonts->AddFontFromFileTTF(path.c_str(), pixels, &config, Cp932Ranges());
  if (!font || !io.Fonts->Build()) return false;
  FontTextureStale = GlReady;
  LoadedFont loaded;
  loaded.Face = dialog.FontFace;
  loaded.Points = dialog.FontPoints;
  loaded.Font = font;
  const char* letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  const float width = font->CalcTextSizeA(font->FontSize, 1e9f, 0, letters).x;
  // The desktop's dialog base units: average letter width rounded, and the font's height.
  loaded.BaseX = std::floor((width / 26.0f + 1.0f) / 2.0f);
  loaded.BaseY = font->FontSize;
  Fonts.push_back(loaded);
  dialog.Font = static_cast<int>(Fonts.size()) - 1;
  dialog.BaseX = loaded.BaseX;
  dialog.BaseY = loaded.BaseY;
  return true;
}

ImFont* DialogFont(const DialogState& dialog) {
  return dialog.Font >= 0 && dialog.Font < static_cast<int>(Fonts.size()) ? Fonts[dialog.Font].Font : nullptr;
}

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

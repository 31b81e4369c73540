// TextRenderer: the font at the asked height, text at a rectangle, the loading line.
#include "graphics/text_renderer.h"

#include <cstdio>

#include "app/app_globals.h"
#include "persist/settings_record.h"
#include "platform/clock.h"
#include "platform/message_box.h"
#include "platform/render/font.h"
#include "platform/render/render_device.h"
#include "platform/translation.h"
#include "world/game_world.h"

TextRenderer Text;

namespace {

constexpr int FontWeightNormal = 400;
constexpr std::uint8_t ShiftJisCharSet = 128;
constexpr std::uint8_t NonAntialiasedQuality = 3;
constexpr std::uint8_t FixedPitch = 1;

}  // namespace

void TextRenderer::CreateBaseFont() {
  ReleaseFont();
  LogFont.Width = 0;
  LogFont.Weight = FontWeightNormal;
  LogFont.CharSet = ShiftJisCharSet;
  LogFont.Quality = NonAntialiasedQuality;
  LogFont.PitchAndFamily = FixedPitch;
  CurrentFont = CreateFont(World.Device, LogFont.Height);
  // Height 0 at start-up means "the face's default"; the game sets a height right after.
  if (!CurrentFont && LogFont.Height == 0) CurrentFont = CreateFont(World.Device, 16);
  if (!CurrentFont) MessageBox(MainWindow, "フォントオブジェクトの\n作成に失敗", "エラー！", MB_OK);
}

void TextRenderer::SetFontHeight(int height) {
  ReleaseFont();
  LogFont.Width = 0;
  LogFont.Height = height;
  // Faces are cached per height by the platform, so asking every draw costs a lookup.
  CurrentFont = CreateFont(World.Device, height);
  if (!CurrentFont) MessageBox(MainWindow, "フォントオブジェクトの\n作成に失敗", "エラー！", MB_OK);
}

void TextRenderer::DrawTextAt(int left, int top, int right, int bottom, std::uint32_t colour, int count,
                              const char* text) {
  Rect = {left, top, right, bottom};
  // Without a font (its failure was already reported) nothing is drawn.
  if (!CurrentFont || !World.Device) return;
  DrawText(World.Device, CurrentFont, text, count, left, top, colour);
}

void TextRenderer::ShowLoadingLine(const char* format, int value) {
  char line[256];
  format = Translate(format);
  std::snprintf(line, sizeof line, format, value);
  if (LoadingLineLog) LoadingLineLog->push_back(line);
  RenderDevice* device = World.Device;
  if (!device) return;
  // Most loading steps move the percentage by less than one: the picture would be the same,
  // and showing it again costs start-up a whole frame each time. Within one loading phase a
  // new percentage is shown at most once per LoadingLineInterval; a new phase always shows.
  const bool stillOnScreen = device->PresentCount == ShownLoadingFrame;
  const std::uint32_t now = TimeGetTime();
  if (stillOnScreen && line == ShownLoadingLine) return;
  if (stillOnScreen && ShownLoadingFormat == format && now - ShownLoadingTime < LoadingLineInterval) return;
  device->BeginScene();
  device->Clear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
  DrawTextAt(5, Settings.ScreenHeight - 30, Settings.ScreenWidth, Settings.ScreenHeight, 0xFFFFFFFF, -1, line);
  device->EndScene();
  device->Present();
  ShownLoadingLine = line;
  ShownLoadingFormat = format;
  ShownLoadingTime = now;
  ShownLoadingFrame = device->PresentCount;
}

void TextRenderer::DrawVersion() {
  SetFontHeight(15);
  char line[32];
  std::snprintf(line, sizeof line, "Ver%5.3f", 1.21);
  DrawTextAt(Settings.ScreenWidth - 70, Settings.ScreenHeight - 20, Settings.ScreenWidth, Settings.ScreenHeight,
             0xFFFFFFFF, -1, line);
}

void TextRenderer::ReleaseFont() {
  // The face itself stays cached by height; this object only lets go of it.
  CurrentFont = nullptr;
}

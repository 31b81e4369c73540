// The debug lines of the menu screens and the play frame.
#include <cstdio>

#include "graphics/text_renderer.h"
#include "persist/settings_record.h"
#include "platform/translation.h"
#include "world/game_world.h"
#include "world/match_values.h"

void TextRenderer::DrawMenuDebug() {
  SetFontHeight(15);
  char line[256];
  std::snprintf(line, sizeof line, Translate("MouseX＝%d MouseY＝%d MenuPos[2].X=%d MenuPos[2].Y=%d MenuPos[3].X=%d MenuPos[3].Y=%d"),
                static_cast<int>(MouseX), static_cast<int>(MouseY), static_cast<int>(World.MenuPos[2].X),
                static_cast<int>(World.MenuPos[2].Y), static_cast<int>(World.MenuPos[3].X),
                static_cast<int>(World.MenuPos[3].Y));
  DrawTextAt(0, 0, Settings.ScreenWidth, 15, 0xFFFFFFFF, -1, line);
  std::snprintf(line, sizeof line, "CursorX=%d CursorY=%d", static_cast<int>(World.CursorX),
                static_cast<int>(World.CursorY));
  DrawTextAt(0, 20, Settings.ScreenWidth, 15, 0xFFFFFFFF, -1, line);
}

void TextRenderer::DrawPlayDebug() {
  SetFontHeight(15);
  constexpr std::uint32_t Colour = 0x96000000;
  char line[256];
  if (Settings.ShowPosition) {
    std::snprintf(line, sizeof line, Translate("FPS＝%d　XZ方向＝%d　Y方向＝%d　Ｘ座標＝%d  Ｙ座標＝%d  Ｚ座標＝%d"), World.Fps,
                  static_cast<int>(World.ViewYaw), static_cast<int>(World.ViewPitch),
                  static_cast<int>(World.Player.X), static_cast<int>(World.Player.Y),
                  static_cast<int>(World.Player.Z));
    DrawTextAt(0, 0, Settings.ScreenWidth, 15, Colour, -1, line);
    std::snprintf(line, sizeof line, Translate("今の敵数 [%d/%d]　倒した敵数 [%d]　敵登場まで[%d]　登場の歩度[%d]"),
                  World.EnemiesAlive, Settings.EnemyCount, World.LastGameScore, World.SpawnTimer,
                  static_cast<int>(World.PlayFrameCount / 10u));
    DrawTextAt(0, 40, Settings.ScreenWidth, 55, Colour, -1, line);
  }
  if (Settings.ShowEnemyInfo) {
    for (int i = 0; i < Settings.EnemyCount && i < EnemySlots; ++i) {
      const WorldObject& e = World.Enemies[i];
      if (!e.Active) continue;
      std::snprintf(line, sizeof line, "No.%d HP[%d] SP[%d] X[%d] Y[%d] Z[%d] AngleX[%d] AngleY[%d]", i,
                    static_cast<int>(e.HP), static_cast<int>(e.SP), static_cast<int>(e.X), static_cast<int>(e.Y),
                    static_cast<int>(e.Z), static_cast<int>(e.AngleX), static_cast<int>(e.AngleY));
      DrawTextAt(0, 60 + 20 * i, Settings.ScreenWidth, 55, Colour, -1, line);
    }
  }
}

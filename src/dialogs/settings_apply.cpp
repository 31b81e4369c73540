// Applying the settings to the world, the device and the sound.
#include "dialogs/settings_apply.h"

#include "audio/music_player.h"
#include "audio/sound_engine.h"
#include "persist/port_options.h"
#include "persist/settings_record.h"
#include "platform/render/render_device.h"
#include "world/game_world.h"

namespace {
struct DifficultyRow {
  int EnemyCount;
  float EnemyHealth;
  int EnemySpeed;
  int RespawnDelayBase;
  int EngagementDistance;
};

constexpr DifficultyRow DifficultyTable[3] = {
    {10, 5.0f, 1, 900, 1000},
    {15, 7.0f, 3, 750, 1500},
    {20, 10.0f, 5, 600, 2000},
};

// Corners 0..2 of a face get their repeats; corner 3 keeps the layout's own coordinates.
void TileFace(SceneVertex* face, float u, float v) {
  face[0].U = 0;
  face[0].V = v;
  face[1].U = u;
  face[1].V = v;
  face[2].U = u;
  face[2].V = 0;
}
}  // namespace

// Keys page refresh, set by the settings window while its keys page exists.
void (*RefreshKeyNames)() = nullptr;

std::uint32_t CursorColour() {
  return ((Settings.CursorAlpha & 0xFF) << 24) | ((Settings.CursorRed & 0xFF) << 16) |
         ((Settings.CursorGreen & 0xFF) << 8) | (Settings.CursorBlue & 0xFF);
}

void ApplySettings() {
  Options.Apply();
  const std::uint32_t colour = CursorColour();
  for (SceneVertex& v : World.CursorQuad) v.Colour = colour;

  const float side_u = static_cast<float>(Settings.SideTextureRepeatU);
  const float side_v = static_cast<float>(Settings.SideTextureRepeatV);
  const float ground = static_cast<float>(Settings.GroundTextureRepeat);
  for (int quad : {0, 1, 4, 5}) TileFace(&World.ArenaBox[quad * 4], side_u, side_v);
  TileFace(&World.ArenaBox[3 * 4], ground, ground);

  Sound.ApplyEffectVolumes();
  Music.ApplyMusicVolume();
  if (Settings.MusicOn == 0) Music.StopMusic();

  if (World.Device) {
    std::uint32_t filter = D3DTEXF_NONE;
    if (Settings.UseMipmaps != 0) filter = Settings.MipmapLevel % 2 == 0 ? D3DTEXF_POINT : D3DTEXF_LINEAR;
    World.Device->SetTextureStageState(0, D3DTSS_MIPFILTER, filter);
  }

  Settings.ApplyKeyPreset(static_cast<int>(Settings.KeyPreset));
  if (RefreshKeyNames) RefreshKeyNames();

  Settings.SoundDistanceScale = static_cast<float>(Settings.SoundDistance);
  Settings.SoundDistanceQuarter = static_cast<float>(Settings.SoundDistance) / 4.0f;

  if (Settings.Difficulty <= 2) {
    const DifficultyRow& row = DifficultyTable[Settings.Difficulty];
    Settings.EnemyCount = row.EnemyCount;
    Settings.EnemyHealth = row.EnemyHealth;
    Settings.EnemySpeed = row.EnemySpeed;
    Settings.RespawnDelayBase = row.RespawnDelayBase;
    Settings.EngagementDistance = row.EngagementDistance;
  }
}

// The play frame's pieces: effects, the status panels and their change caches.
#pragma once

#include <cstdint>

class GameWorld;

// The values last rendered into the ammunition and health panels. They start at 0 and live
// for the whole run, so a panel is redrawn only when its value next differs.
extern float ShownAmmo;
extern float ShownHealth;

// Mip filter the play frame uses for the sky, arena, weapon, enemies and bullets.
std::uint32_t PlayMipFilter(std::uint32_t useMipmaps, std::uint32_t mipmapLevel);

// The flash colour of `kind` at `level` (the level truncated and masked to 8 bits).
std::uint32_t FlashColourFor(std::int32_t kind, float level);
// How far the flash level falls each drawn frame for `kind`.
float FlashStep(std::int32_t kind);

// Effects of the play frame, each advancing its animation once per call.
void AdvanceAndDrawSmoke(GameWorld& world);
// The same in two halves: the puffs advance, then the live ones are drawn.
void AdvanceSmoke(GameWorld& world);
void DrawSmoke(GameWorld& world);
void DrawAimCursor(GameWorld& world);
void AdvanceAndDrawFlash(GameWorld& world);
void DrawFlash(GameWorld& world);
void DrawScope(GameWorld& world);
// Makes the scope's picture the device's cover, placed as DrawScope places it.
bool SetScopeCover(GameWorld& world);

// The status panels: redrawn before the frame begins, only when their values changed.
void RefreshStatusPanels(GameWorld& world);
void DrawStatusDisplay(GameWorld& world);

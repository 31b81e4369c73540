// UpdateStep and RenderStep: the per-step and per-frame work, chosen by GameState.
#pragma once

void UpdateStep();
void RenderStep();

class GameWorld;
// The death check of every match frame: health below 1 while alive ends the player and starts
// the death flash. True when it did.
bool CheckPlayerDeath(GameWorld& w);

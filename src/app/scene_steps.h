// UpdateStep and RenderStep: the per-step and per-frame work, chosen by GameState.
#pragma once

void UpdateStep();
void RenderStep();

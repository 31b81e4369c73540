// Text panels: the side a panel is created with for a requested size.
#pragma once

// The smallest power of two from 2 up that is not below `requested`; above 2048 as requested.
int PanelSide(int requested);

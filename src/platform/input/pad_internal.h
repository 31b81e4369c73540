// What the pad module's files share: the test pad's FIFO, read at every update.
#pragma once

void ReadTestPadFifo();
void CloseTestPadFifo();

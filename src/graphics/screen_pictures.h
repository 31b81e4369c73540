// Full-screen pictures that only their own screens show, held in texture memory only while
// one of those screens is up.
#pragma once

#include <cstdint>

// The title's two pictures, the operation pages, the credits, the settings backdrop, the
// ranking table and the game-over screen: nine pictures of 1024 x 800, some 30 MB in all.
bool IsScreenPicture(int slot);

// Start-up reads every screen picture, so a damaged one stops it as any other picture does,
// but uploads only the title's: the first screen shows them.
bool UploadedAtStartUp(int slot);

// The screen pictures a game state draws, one bit a slot.
std::uint64_t ScreenPicturesOf(std::int32_t state);

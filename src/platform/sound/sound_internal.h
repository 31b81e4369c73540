// Shared between the sound device and the music streams inside platform/sound.
#pragma once

// True while the device's mixing context is open and current.
bool SoundContextCurrent();
// Stops and frees every music stream (the device is about to close).
void CloseMusicStreams();

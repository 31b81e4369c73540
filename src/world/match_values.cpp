// Match values kept outside GameWorld.
#include "world/match_values.h"

std::uint8_t TriggerHeld = 0;
float RecoilKick = 0;
float ActionProgress = 0;
float MuzzleFlash = 0;
std::uint8_t MuzzleFlashPhase = 0;
float WheelDelta = 0;
std::int32_t ImpactSoundSlot = 0;

float JumpBaseY = 0;
float JumpSpeed = 0;

float MouseDeltaX = 0;
float MouseDeltaY = 0;
float WindowCursorX = 0;
float WindowCursorY = 0;
float MouseX = 0;
float MouseY = 0;

// Match values kept outside GameWorld: the fire latch, weapon animation, jump curve and mouse.
#pragma once

#include <cstdint>

// Set by the left button, the attack key and the mouse poll; cleared on release.
extern std::uint8_t TriggerHeld;
// Post-shot lock that also tilts the drawn weapon; the trigger fires only at exactly 0.
extern float RecoilKick;
// How far the running weapon action has gone (drawn as the weapon dipping).
extern float ActionProgress;
extern float MuzzleFlash;  // 0.4 or 0
extern std::uint8_t MuzzleFlashPhase;
extern float WheelDelta;  // wheel motion of the last poll
extern std::int32_t ImpactSoundSlot;  // 0..19, rotates over the impact sound copies

// The jump: Y of body vertex 0 when it began, and the current vertical step.
extern float JumpBaseY;
extern float JumpSpeed;

// Mouse values: motion of the last poll, the last cursor position in client pixels, and that
// position relative to the screen centre (y up).
extern float MouseDeltaX;
extern float MouseDeltaY;
extern float WindowCursorX;
extern float WindowCursorY;
extern float MouseX;
extern float MouseY;

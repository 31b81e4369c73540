// PadInput: the pads read once per update step, handed to the match as keys and mouse, to the menus as the cursor and clicks.
#pragma once

#include <cstdint>

struct StickWalk {
  bool Forward = false, Back = false, Left = false, Right = false;
};

// Directions a stick walks: nothing inside the radial dead zone (percent of full travel);
// outside it, each direction whose share of the push is past 22.5 degrees off, so that
// diagonals hold two. y runs down (a push forward is negative).
StickWalk WalkFromStick(int x, int y, std::uint32_t deadZonePercent);

// -1..1 for one stick axis: 0 inside the dead zone, then a square curve, so small pushes aim
// finely and a full push turns fast.
float StickResponse(int value, std::uint32_t deadZonePercent);

struct PadInput {
  // Look and cursor motion are whole mouse counts; what is left of a count carries on.
  float LookCarryX = 0, LookCarryY = 0;
  float CursorCarryX = 0, CursorCarryY = 0;
  StickWalk Walking;   // the walking keys the pad holds down
  bool Firing = false;  // the right trigger holds the left button
  bool Scoping = false;  // the left trigger is past its press point
  bool InMatch = false;  // the pad was last read by the match

  // Starts the pads with gamecontrollerdb.txt of the game folder; with KORVID_TEST_PAD set,
  // attaches the test pad that the named FIFO drives, and fails when it cannot.
  bool StartPads();
  // Called right after the mouse's poll: motion goes into the mouse's snapshot, so the look
  // and the menu cursor follow the mouse's own path.
  void PollPad();
  // Lets go of every key and button the pad holds in the match.
  void ReleaseMatchInput();

  // Rumble in a match only, when korvid.ini allows it.
  void RumbleDamage();
  void RumbleDeath();
};

extern PadInput Pad;

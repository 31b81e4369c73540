// The state one match step hands to the next, as bytes: a demo's starting state and checksums.
#pragma once

#include <cstdint>
#include <vector>

// Everything the rules of a match read or change, outside the settings: the world's match
// fields, the match values kept beside it and the scene counters (not the generator).
std::vector<std::uint8_t> SaveMatchState();

// Puts a saved state back; false (and nothing changed) when the bytes are not of that size.
bool RestoreMatchState(const std::vector<std::uint8_t>& bytes);

// A hash of the saved state and the random generator's state (now, or as given).
std::uint32_t MatchChecksum();
std::uint32_t MatchChecksum(std::uint32_t randomState);

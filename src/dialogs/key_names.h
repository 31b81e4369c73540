// Names shown for the virtual-key codes of the key bindings, and the codes a capture refuses.
#pragma once

#include <cstdint>

// The name of a virtual-key code; "??" for a code without one.
const char* KeyName(std::uint32_t code);

// Keys that cannot be bound (system and lock keys); Escape is not among them: it cancels.
bool IsRefusedKey(std::uint32_t code);

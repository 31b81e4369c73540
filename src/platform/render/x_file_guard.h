// Checks a .x file's skin weights before the model library reads it.
#pragma once

#include <cstddef>
#include <cstdint>

// False when the file (text, binary or compressed) holds skin weights naming a vertex its mesh
// does not have, or skin weights outside any mesh: the library would write past its buffers.
// Files it cannot make sense of are left to the library, which reports them itself.
bool XFileSkinWeightsInRange(const std::uint8_t* data, std::size_t size);

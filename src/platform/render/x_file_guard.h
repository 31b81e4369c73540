// Checks a .x file before the model library reads it: skin weights and mesh sizes.
#pragma once

#include <cstddef>
#include <cstdint>

// False when the file (text, binary or compressed) holds skin weights naming a vertex its mesh
// does not have, or skin weights outside any mesh: the library would write past its buffers.
// Files it cannot make sense of are left to the library, which reports them itself.
bool XFileSkinWeightsInRange(const std::uint8_t* data, std::size_t size);

// False when a mesh announces more vertices than the file could hold (the library reserves
// room for all of them before reading any: gigabytes for a damaged count), when its vertices or
// faces run short, when a face has no corners or names a vertex the mesh lacks (the library
// asserts, ending the program), or when the mesh's normals or texture coordinates do not match
// its faces and vertices (the library reads past its buffers).
bool XFileMeshCountsFit(const std::uint8_t* data, std::size_t size);

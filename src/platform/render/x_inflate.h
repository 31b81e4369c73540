// Undoing the MSZIP blocks of a compressed .x file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// `data` is what follows the 16-byte header: the 32-bit size of the whole file as it was before
// compression, then blocks of a 16-bit unpacked size, a 16-bit packed size counting the "CK"
// that follows, and raw deflate data that may refer back into the block before it. Appends the
// body to `out`; false for a damaged block or a body past `limit` bytes.
bool InflateMsZip(const std::uint8_t* data, std::size_t size, std::size_t limit, std::vector<std::uint8_t>& out);

// Undoing the MSZIP blocks of a compressed .x file with zlib's raw inflate.
#include "platform/render/x_inflate.h"

#include <zlib.h>

namespace {

constexpr std::size_t BlockSize = 32768;

std::uint32_t Read16(const std::uint8_t* p) { return p[0] | (p[1] << 8); }

}  // namespace

bool InflateMsZip(const std::uint8_t* data, std::size_t size, std::size_t limit, std::vector<std::uint8_t>& out) {
  if (size < 4) return false;
  std::size_t at = 4;
  z_stream z{};
  if (inflateInit2(&z, -MAX_WBITS) != Z_OK) return false;
  bool ok = true;
  std::size_t previous = 0;  // where the block before this one begins in `out`
  while (ok && at < size) {
    if (size - at < 6) {
      ok = false;
      break;
    }
    const std::size_t unpacked = Read16(data + at);
    const std::size_t packed = Read16(data + at + 2);
    if (unpacked == 0 || unpacked > BlockSize || packed < 2 || data[at + 4] != 'C' || data[at + 5] != 'K' ||
        packed > size - at - 4 || out.size() + unpacked > limit) {
      ok = false;
      break;
    }
    const std::size_t start = out.size();
    out.resize(start + unpacked);
    if (inflateReset(&z) != Z_OK ||
        (start > previous && inflateSetDictionary(&z, out.data() + previous, static_cast<uInt>(start - previous)) !=
                                 Z_OK)) {
      ok = false;
      break;
    }
    z.next_in = const_cast<Bytef*>(data + at + 6);
    z.avail_in = static_cast<uInt>(packed - 2);
    z.next_out = out.data() + start;
    z.avail_out = static_cast<uInt>(unpacked);
    const int result = inflate(&z, Z_FINISH);
    // A block ends its deflate stream or fills the size it names; a stream cut short is damage.
    ok = result == Z_STREAM_END || (z.avail_out == 0 && (result == Z_OK || result == Z_BUF_ERROR));
    out.resize(start + unpacked - z.avail_out);
    previous = start;
    at += 4 + packed;
  }
  inflateEnd(&z);
  return ok && !out.empty();
}

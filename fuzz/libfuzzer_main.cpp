// libFuzzer's entry point for one reader, chosen at build time by KORVID_FUZZ_ENTRY.
#include "fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return KORVID_FUZZ_ENTRY(data, size);
}

// Replays every stored fuzzing input through its reader, so a fixed finding stays fixed.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "fuzz_targets.h"

TEST(FuzzCorpus, EveryStoredInputRunsThroughItsReader) {
  const std::filesystem::path root = std::filesystem::path(KORVID_TEST_SOURCE_DIR) / "tests/fuzz/corpus";
  for (int t = 0; t < FuzzTargetCount; ++t) {
    const std::filesystem::path folder = root / FuzzTargets[t].Name;
    ASSERT_TRUE(std::filesystem::is_directory(folder)) << folder;
    int inputs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      std::ifstream in(entry.path(), std::ios::binary);
      const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
      SCOPED_TRACE(entry.path().string());
      EXPECT_EQ(FuzzTargets[t].Run(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), 0);
      ++inputs;
    }
    EXPECT_GT(inputs, 0) << folder;
  }
}

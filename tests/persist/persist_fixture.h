// Test fixture: a fresh working directory, captured message boxes, and file helpers.
#pragma once

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "app/random.h"
#include "platform/message_box.h"

class PersistTest : public testing::Test {
 protected:
  void SetUp() override {
    Previous = std::filesystem::current_path();
    char pattern[] = "/tmp/korvid_persist_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    Scratch = pattern;
    std::filesystem::current_path(Scratch);
    SeedRandom(20240611);
    BeginMessageBoxCapture();
  }
  void TearDown() override {
    EndMessageBoxCapture();
    std::filesystem::current_path(Previous);
    std::filesystem::permissions(Scratch, std::filesystem::perms::all);
    std::filesystem::remove_all(Scratch);
  }

  static std::string ReadFile(const char* name) {
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  static void WriteFile(const char* name, const std::string& bytes) {
    std::ofstream(name, std::ios::binary | std::ios::trunc) << bytes;
  }
  static void MakeReadOnly(const char* name) {
    std::filesystem::permissions(name, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::group_read |
                                           std::filesystem::perms::others_read);
  }
  // The key a file's header line stands for, checked for the shape every save gives it.
  static std::uint32_t HeaderKey(const std::string& file) {
    const std::uint32_t key = std::stoul(file.substr(0, 8)) ^ 79876519u;
    const std::string digits = std::to_string(key);
    EXPECT_EQ(digits.size(), 8u);
    EXPECT_EQ(digits.substr(0, 2), "10");
    EXPECT_EQ(digits.back(), '5');
    EXPECT_EQ(digits.substr(2, 5).find('0'), std::string::npos) << digits;
    return key;
  }
  static std::string Masked(std::uint32_t value, std::uint32_t key) {
    return std::to_string(value ^ key);
  }

  // Runs body while files may grow to at most limit bytes: writes beyond fail as on a full disk.
  template <typename Body>
  static void WithFileSizeLimit(rlim_t limit, Body body) {
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = limit;
    setrlimit(RLIMIT_FSIZE, &small);
    body();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
  }

  std::filesystem::path Previous;
  std::filesystem::path Scratch;
};

// Restarting once with the C library's large-page setting: start-up fills some hundred
// megabytes afresh (pictures, textures in the software renderer, sounds), and on a virtual
// machine each small page's first touch costs more than the filling itself.
#include "platform/large_pages.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr const char* Variable = "GLIBC_TUNABLES";
constexpr const char* Setting = "glibc.malloc.hugetlb=1";

// "[madvise]": large pages only where asked for, which the setting does. "[always]" already
// gives them; "[never]" never will.
bool LargePagesOnRequest() {
  FILE* file = std::fopen("/sys/kernel/mm/transparent_hugepage/enabled", "r");
  if (!file) return false;
  char line[128] = {};
  const bool read = std::fgets(line, sizeof line, file) != nullptr;
  std::fclose(file);
  return read && std::strstr(line, "[madvise]") != nullptr;
}

}  // namespace

void RestartWithLargePages(char** argv) {
  const char* current = std::getenv(Variable);
  // Already restarted, or the player chose the setting himself: never twice.
  if (current && std::strstr(current, "glibc.malloc.hugetlb") != nullptr) return;
  if (!argv || !argv[0] || !LargePagesOnRequest()) return;
  const std::string previous = current ? current : "";
  const std::string value = previous.empty() ? Setting : previous + ":" + Setting;
  if (setenv(Variable, value.c_str(), 1) != 0) return;
  execv("/proc/self/exe", argv);
  // No restart: carry on as started.
  if (current) {
    setenv(Variable, previous.c_str(), 1);
  } else {
    unsetenv(Variable);
  }
}

// Replacing writes through POSIX calls, with a fault seam for tests.
#include "platform/file_replace.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace {

int FaultIndex = -1;
int FaultError = 0;
bool FaultShort = false;
int Steps = 0;
bool SkipSyncs = false;

// Counts a step; true when the armed fault strikes it.
bool Strikes() {
  const bool hit = Steps++ == FaultIndex;
  if (hit) errno = FaultError;
  return hit;
}

bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const bool fault = Strikes();
    if (fault && FaultShort && size > 1) {
      const ssize_t half = ::write(fd, data, size / 2);
      errno = FaultError;
      (void)half;
      return false;
    }
    if (fault) return false;
    const ssize_t wrote = ::write(fd, data, size);
    if (wrote < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += wrote;
    size -= static_cast<std::size_t>(wrote);
  }
  return true;
}

std::string FolderOf(const std::string& name) {
  const std::size_t slash = name.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : name.substr(0, slash);
}

}  // namespace

bool ReplaceFileContents(const std::string& name, const std::string& bytes) {
  const std::string temporary = name + ".tmp";
  const int fd = Strikes() ? -1 : ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  bool ok = WriteAll(fd, bytes.data(), bytes.size());
  ok = ok && !Strikes() && (SkipSyncs || ::fsync(fd) == 0);
  ok = !Strikes() && ::close(fd) == 0 && ok;
  ok = ok && !Strikes() && ::rename(temporary.c_str(), name.c_str()) == 0;
  if (!ok) {
    ::unlink(temporary.c_str());
    return false;
  }
  // The rename is only durable once the folder holding it is synced.
  if (Strikes()) return false;
  if (SkipSyncs) return true;
  const int folder = ::open(FolderOf(name).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder < 0) return true;  // a folder we cannot open to sync still holds the new file
  const bool synced = ::fsync(folder) == 0 || errno == EINVAL;
  ::close(folder);
  return synced;
}

void InjectFileFault(int index, int errorNumber, bool shortWrite) {
  FaultIndex = index;
  FaultError = errorNumber;
  FaultShort = shortWrite;
  Steps = 0;
}

int FileStepsTaken() { return Steps; }

void SkipFileSyncsForTests(bool skip) { SkipSyncs = skip; }

// The single-instance guard: an advisory lock on a per-user file, dropped by the kernel on exit.
#include "platform/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

bool AcquireInstanceLock(const char* name) {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  std::string folder = runtime && *runtime ? runtime : "/tmp";
  std::string path = folder + "/" + name + "-" + std::to_string(getuid()) + ".lock";
  // The descriptor stays open for the life of the process; closing it would free the lock.
  int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    close(fd);
    return false;
  }
  return true;
}

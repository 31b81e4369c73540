// The single-instance guard: a second process is refused; the lock goes with its holder.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "platform/instance_lock.h"

namespace {
// Runs AcquireInstanceLock in a child process and returns whether it got the lock.
bool AcquiresInChild(const std::string& name) {
  pid_t child = fork();
  if (child == 0) _exit(AcquireInstanceLock(name.c_str()) ? 0 : 1);
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
}  // namespace

TEST(InstanceLock, SecondProcessIsRefusedWhileTheFirstHoldsIt) {
  const std::string name = "KorvidTest" + std::to_string(getpid());
  // A child that takes the lock and exits releases it with its death.
  EXPECT_TRUE(AcquiresInChild(name));
  EXPECT_TRUE(AcquiresInChild(name));
  ASSERT_TRUE(AcquireInstanceLock(name.c_str()));
  EXPECT_FALSE(AcquiresInChild(name));
}

TEST(InstanceLock, ReleasedWhenTheHolderIsKilled) {
  const std::string name = "KorvidKill" + std::to_string(getpid());
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  pid_t holder = fork();
  if (holder == 0) {
    AcquireInstanceLock(name.c_str());
    char c = 1;
    (void)!write(ready[1], &c, 1);
    pause();
    _exit(0);
  }
  char c = 0;
  ASSERT_EQ(read(ready[0], &c, 1), 1);
  EXPECT_FALSE(AcquiresInChild(name));
  kill(holder, SIGKILL);
  waitpid(holder, nullptr, 0);
  EXPECT_TRUE(AcquiresInChild(name));
  close(ready[0]);
  close(ready[1]);
}

// Preloaded into the game by the kill-while-saving run: holds the game still at one chosen
// step of its next Ranking.dat save, so that the run can kill it there.
//
//   KORVID_SAVE_PAUSE_STEP   1 open the temporary file, 2 write it, 3 sync it, 4 close it,
//                            5 rename it over Ranking.dat, 6 open the folder, 7 sync the
//                            folder, 8 close the folder
//   KORVID_SAVE_PAUSE_AFTER  1: hold just after the step rather than just before it
//   KORVID_SAVE_PAUSE_LOG    file that gets "held N before|after" once the game is held
//
// The game is held for a minute at most; every other call passes straight through.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static int TemporaryFd = -1, FolderFd = -1, Renamed = 0, Held = 0;

static int Wanted(void) {
  const char* step = getenv("KORVID_SAVE_PAUSE_STEP");
  return step ? atoi(step) : 0;
}

static int After(void) {
  const char* after = getenv("KORVID_SAVE_PAUSE_AFTER");
  return after && after[0] == '1';
}

static void Hold(int step, int after) {
  if (Held || step != Wanted() || after != After()) return;
  Held = 1;
  const char* log = getenv("KORVID_SAVE_PAUSE_LOG");
  FILE* file = log ? fopen(log, "a") : NULL;
  if (file) {
    fprintf(file, "held %d %s\n", step, after ? "after" : "before");
    fclose(file);
  }
  sleep(60);
}

static int EndsWith(const char* text, const char* end) {
  const size_t a = strlen(text), b = strlen(end);
  return a >= b && strcmp(text + a - b, end) == 0;
}

static int Step(int fd, int forTemporary, int forFolder) {
  if (fd < 0) return 0;
  if (fd == TemporaryFd) return forTemporary;
  if (fd == FolderFd) return forFolder;
  return 0;
}

static int OpenWith(int (*real)(const char*, int, ...), const char* path, int flags, mode_t mode) {
  int step = 0;
  if (EndsWith(path, "Ranking.dat.tmp")) step = 1;
  else if (Renamed && (flags & O_DIRECTORY)) step = 6;
  Hold(step, 0);
  const int fd = real(path, flags, mode);
  if (step == 1) TemporaryFd = fd;
  if (step == 6) {
    FolderFd = fd;
    Renamed = 0;
  }
  Hold(step, 1);
  return fd;
}

int open(const char* path, int flags, ...) {
  static int (*real)(const char*, int, ...);
  if (!real) real = (int (*)(const char*, int, ...))dlsym(RTLD_NEXT, "open");
  va_list list;
  va_start(list, flags);
  const mode_t mode = (flags & O_CREAT) ? va_arg(list, mode_t) : 0;
  va_end(list);
  return OpenWith(real, path, flags, mode);
}

int open64(const char* path, int flags, ...) {
  static int (*real)(const char*, int, ...);
  if (!real) real = (int (*)(const char*, int, ...))dlsym(RTLD_NEXT, "open64");
  va_list list;
  va_start(list, flags);
  const mode_t mode = (flags & O_CREAT) ? va_arg(list, mode_t) : 0;
  va_end(list);
  return OpenWith(real, path, flags, mode);
}

ssize_t write(int fd, const void* data, size_t size) {
  static ssize_t (*real)(int, const void*, size_t);
  if (!real) real = (ssize_t(*)(int, const void*, size_t))dlsym(RTLD_NEXT, "write");
  const int step = Step(fd, 2, 0);
  Hold(step, 0);
  const ssize_t wrote = real(fd, data, size);
  Hold(step, 1);
  return wrote;
}

int fsync(int fd) {
  static int (*real)(int);
  if (!real) real = (int (*)(int))dlsym(RTLD_NEXT, "fsync");
  const int step = Step(fd, 3, 7);
  Hold(step, 0);
  const int result = real(fd);
  Hold(step, 1);
  return result;
}

int close(int fd) {
  static int (*real)(int);
  if (!real) real = (int (*)(int))dlsym(RTLD_NEXT, "close");
  const int step = Step(fd, 4, 8);
  Hold(step, 0);
  const int result = real(fd);
  if (fd == TemporaryFd) TemporaryFd = -1;
  if (fd == FolderFd) FolderFd = -1;
  Hold(step, 1);
  return result;
}

int rename(const char* from, const char* to) {
  static int (*real)(const char*, const char*);
  if (!real) real = (int (*)(const char*, const char*))dlsym(RTLD_NEXT, "rename");
  const int step = EndsWith(from, "Ranking.dat.tmp") ? 5 : 0;
  Hold(step, 0);
  const int result = real(from, to);
  if (step == 5) Renamed = 1;
  Hold(step, 1);
  return result;
}

// SPDX-License-Identifier: Zlib
/* Makes the N-th write-side call of a process fail: write, writev, sendfile, fsync, rename, mkdir,
 * symlink and open for writing (open, openat, fopen), the calls the game, the engine, varnel-pack
 * and the libraries they write through make. Calls on anything but regular files (pipes,
 * terminals, /dev, /proc) are passed on uncounted.
 *
 * Armed from the environment when preloaded (VARNEL_FAULT_AT=N, VARNEL_FAULT_ERRNO=the error's number;
 * VARNEL_FAULT_REPORT=FILE receives "calls fired" at exit), or through varnel_fault_arm() when linked
 * into a test program. VARNEL_FAULT_CONFINE / varnel_fault_confine() name the one folder writes may
 * reach; the first path written outside it is kept for the test to see. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

static long target;    /* the call to fail, 1-based; 0: count only */
static long calls;     /* write-side calls counted since arming */
static long syncs;     /* fsync calls on regular files since arming */
static int fired;      /* the target call has failed */
static int failWith = ENOSPC;
static char confine[4096];
static char outside[4096];
static char firedOn[4096]; /* the file the failed call was made on */

#define REAL(name) ((__typeof__(&name))dlsym(RTLD_NEXT, #name))

void varnel_fault_arm(long n, int err) {
  target = n;
  calls = 0;
  syncs = 0;
  fired = 0;
  failWith = err;
}
long varnel_fault_calls(void) { return calls; }
long varnel_fault_syncs(void) { return syncs; }
int varnel_fault_fired(void) { return fired; }
void varnel_fault_confine(const char* folder) {
  snprintf(confine, sizeof confine, "%s", folder ? folder : "");
  outside[0] = '\0';
}
const char* varnel_fault_outside(void) { return outside; }
const char* varnel_fault_fired_on(void) { return firedOn; }

__attribute__((constructor)) static void ArmFromEnvironment(void) {
  const char* at = getenv("VARNEL_FAULT_AT");
  const char* err = getenv("VARNEL_FAULT_ERRNO");
  if (at) varnel_fault_arm(strtol(at, NULL, 10), err ? atoi(err) : ENOSPC);
  const char* folder = getenv("VARNEL_FAULT_CONFINE");
  if (folder) varnel_fault_confine(folder);
}

__attribute__((destructor)) static void ReportAtExit(void) {
  const char* file = getenv("VARNEL_FAULT_REPORT");
  if (!file) return;
  const int fd = REAL(open)(file, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return;
  dprintf(fd, "%ld %d %s\n", calls, fired, outside[0] ? outside : "-");
  REAL(close)(fd);
}

/* True when this call is the one to fail; then keeps the file it is made on, by its path or by the
 * link of its descriptor. */
static int FailsAt(const char* path, int fd) {
  if (++calls != target) return 0;
  fired = 1;
  snprintf(firedOn, sizeof firedOn, "%s", path ? path : "");
  if (!path) {
    char link[64];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t n = readlink(link, firedOn, sizeof firedOn - 1);
    firedOn[n > 0 ? n : 0] = '\0';
  }
  errno = failWith;
  return 1;
}

static int IsFile(int fd) {
  struct stat info;
  return fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
}

static void NotePath(const char* path) {
  if (!confine[0] || outside[0] || !path) return;
  char absolute[4096];
  if (path[0] == '/') {
    snprintf(absolute, sizeof absolute, "%s", path);
  } else {
    char here[2048];
    if (!getcwd(here, sizeof here)) return;
    snprintf(absolute, sizeof absolute, "%s/%s", here, path);
  }
  const size_t n = strlen(confine);
  if (strncmp(absolute, confine, n) != 0 || (absolute[n] != '/' && absolute[n] != '\0'))
    snprintf(outside, sizeof outside, "%s", absolute);
}

static int Counted(const char* path, int flags) {
  if (!(flags & (O_WRONLY | O_RDWR | O_CREAT | O_TRUNC | O_APPEND))) return 0;
  if (path && (strncmp(path, "/dev/", 5) == 0 || strncmp(path, "/proc/", 6) == 0)) return 0;
  NotePath(path);
  return 1;
}

/* A call that writes to a file descriptor (the output one of sendfile). */
#define FD_WRITE(type, name, fd, parameters, arguments) \
  type name parameters {                                \
    if (IsFile(fd) && FailsAt(NULL, fd)) return -1;     \
    return REAL(name) arguments;                        \
  }
FD_WRITE(ssize_t, write, fd, (int fd, const void* data, size_t size), (fd, data, size))
FD_WRITE(ssize_t, writev, fd, (int fd, const struct iovec* parts, int count), (fd, parts, count))
FD_WRITE(ssize_t, sendfile, out, (int out, int in, off_t* at, size_t size), (out, in, at, size))
int fsync(int fd) {
  if (IsFile(fd) && (++syncs, FailsAt(NULL, fd))) return -1;
  return REAL(fsync)(fd);
}

int rename(const char* from, const char* to) {
  NotePath(to);
  if (FailsAt(to, -1)) return -1;
  return REAL(rename)(from, to);
}

/* A folder or link made where something already is fails with EEXIST before the file system is
 * asked for room, so only those that make a new entry are counted. */
static int IsNew(int dir, const char* path) {
  struct stat info;
  return path && fstatat(dir, path, &info, AT_SYMLINK_NOFOLLOW) != 0;
}
#define MAKE(name, parameters, arguments)                                        \
  int name parameters {                                                          \
    if (IsNew(AT_FDCWD, path) && (NotePath(path), FailsAt(path, -1))) return -1; \
    return REAL(name) arguments;                                                 \
  }
MAKE(mkdir, (const char* path, mode_t mode), (path, mode))
MAKE(symlink, (const char* target, const char* path), (target, path))

static mode_t ModeOf(int flags, va_list args) {
  return (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE ? (mode_t)va_arg(args, int) : 0;
}

/* The opens, of a path or of a path in a folder (counted only where the path tells the folder). */
#define OPEN(name, folder, parameters, arguments)               \
  int name parameters {                                         \
    va_list args;                                               \
    va_start(args, flags);                                      \
    const mode_t mode = ModeOf(flags, args);                    \
    va_end(args);                                               \
    if (Counted(folder, flags) && FailsAt(path, -1)) return -1; \
    return REAL(name) arguments;                                \
  }
#define IN_FOLDER (dir == AT_FDCWD || (path && path[0] == '/') ? path : NULL)
OPEN(open, path, (const char* path, int flags, ...), (path, flags, mode))
OPEN(open64, path, (const char* path, int flags, ...), (path, flags, mode))
OPEN(openat, IN_FOLDER, (int dir, const char* path, int flags, ...), (dir, path, flags, mode))

static int ModeWrites(const char* mode) {
  return mode && (strchr(mode, 'w') || strchr(mode, 'a') || strchr(mode, '+'));
}
#define FOPEN(name)                                                                    \
  FILE* name(const char* path, const char* mode) {                                     \
    if (ModeWrites(mode) && Counted(path, O_WRONLY) && FailsAt(path, -1)) return NULL; \
    return REAL(name)(path, mode);                                                     \
  }
FOPEN(fopen)
FOPEN(fopen64)

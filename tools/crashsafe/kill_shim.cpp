// Preloaded into a writer (LD_PRELOAD) to kill it with SIGKILL at an exact point of a file write.
// Only calls on files inside VELMARK_KILL_DIR count; the serial line, stdout and files elsewhere
// pass untouched.
//
//   VELMARK_KILL_DIR=DIR       the folder whose files are watched (an absolute, resolved path)
//   VELMARK_KILL_STEP=N        die at the Nth watched call (1-based) ...
//   VELMARK_KILL_WHEN=after    ... once it has run; otherwise before it runs
//   VELMARK_KILL_BYTE=B        die once B bytes have been written to watched files (a write that
//                              crosses B writes its first part, then dies)
//   VELMARK_KILL_REPORT=FILE   on a normal exit write "<calls> <bytes>\n" to FILE
//
// Watched calls: mkstemp, open/openat of the folder or a file in it, flock, fchmod, write, fsync,
// close, rename, unlink.

#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

namespace {

struct Config {
  char dir[4096] = "";
  size_t dir_len = 0;
  long kill_step = 0;
  bool after = false;
  long kill_byte = -1;
  const char* report = nullptr;
};

Config& Cfg() {
  static Config cfg = [] {
    Config c;
    if (const char* d = getenv("VELMARK_KILL_DIR")) {
      snprintf(c.dir, sizeof c.dir, "%s", d);
      c.dir_len = strlen(c.dir);
    }
    if (const char* s = getenv("VELMARK_KILL_STEP")) c.kill_step = atol(s);
    if (const char* w = getenv("VELMARK_KILL_WHEN")) c.after = strcmp(w, "after") == 0;
    if (const char* b = getenv("VELMARK_KILL_BYTE")) c.kill_byte = atol(b);
    c.report = getenv("VELMARK_KILL_REPORT");
    return c;
  }();
  return cfg;
}

long g_calls = 0;
long g_bytes = 0;

template <typename F>
F Real(const char* name) {
  return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

bool PathWatched(const char* path) {
  const Config& c = Cfg();
  if (c.dir_len == 0 || path == nullptr) return false;
  std::string full = path;
  if (path[0] != '/') {
    char cwd[4096];
    if (getcwd(cwd, sizeof cwd) == nullptr) return false;
    full = std::string(cwd) + "/" + path;
  }
  return full.compare(0, c.dir_len, c.dir) == 0 &&
         (full.size() == c.dir_len || full[c.dir_len] == '/');
}

bool FdWatched(int fd) {
  char link[64];
  char target[4096];
  snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  const ssize_t n = readlink(link, target, sizeof target - 1);
  if (n <= 0) return false;
  target[n] = '\0';
  return PathWatched(target);
}

[[noreturn]] void Die() {
  raise(SIGKILL);
  _exit(137);  // not reached
}

// Counts a watched call; dies first when it is the one to die before.
void Enter() {
  ++g_calls;
  const Config& c = Cfg();
  if (c.kill_step == g_calls && !c.after) Die();
}

template <typename R>
R Leave(R result) {
  const Config& c = Cfg();
  if (c.kill_step == g_calls && c.after) Die();
  return result;
}

__attribute__((destructor)) void Report() {
  const Config& c = Cfg();
  if (c.report == nullptr) return;
  FILE* f = fopen(c.report, "w");
  if (f == nullptr) return;
  fprintf(f, "%ld %ld\n", g_calls, g_bytes);
  fclose(f);
}

}  // namespace

extern "C" {

int mkstemp(char* tmpl) {
  const bool watched = PathWatched(tmpl);
  if (watched) Enter();
  const int fd = Real<int (*)(char*)>("mkstemp")(tmpl);
  return watched ? Leave(fd) : fd;
}

int mkstemp64(char* tmpl) {
  const bool watched = PathWatched(tmpl);
  if (watched) Enter();
  const int fd = Real<int (*)(char*)>("mkstemp64")(tmpl);
  return watched ? Leave(fd) : fd;
}

int open(const char* path, int flags, ...) {
  va_list ap;
  va_start(ap, flags);
  const mode_t mode = static_cast<mode_t>(va_arg(ap, int));
  va_end(ap);
  const bool watched = PathWatched(path);
  if (watched) Enter();
  const int fd = Real<int (*)(const char*, int, ...)>("open")(path, flags, mode);
  return watched ? Leave(fd) : fd;
}

int open64(const char* path, int flags, ...) {
  va_list ap;
  va_start(ap, flags);
  const mode_t mode = static_cast<mode_t>(va_arg(ap, int));
  va_end(ap);
  const bool watched = PathWatched(path);
  if (watched) Enter();
  const int fd = Real<int (*)(const char*, int, ...)>("open64")(path, flags, mode);
  return watched ? Leave(fd) : fd;
}

int flock(int fd, int op) {
  const bool watched = FdWatched(fd);
  if (watched) Enter();
  const int r = Real<int (*)(int, int)>("flock")(fd, op);
  return watched ? Leave(r) : r;
}

int fchmod(int fd, mode_t mode) {
  const bool watched = FdWatched(fd);
  if (watched) Enter();
  const int r = Real<int (*)(int, mode_t)>("fchmod")(fd, mode);
  return watched ? Leave(r) : r;
}

ssize_t write(int fd, const void* buf, size_t count) {
  auto real = Real<ssize_t (*)(int, const void*, size_t)>("write");
  if (!FdWatched(fd)) return real(fd, buf, count);
  Enter();
  const Config& c = Cfg();
  if (c.kill_byte >= 0 && g_bytes + static_cast<long>(count) > c.kill_byte) {
    const size_t part = static_cast<size_t>(c.kill_byte - g_bytes);
    if (part > 0) real(fd, buf, part);
    Die();
  }
  const ssize_t n = real(fd, buf, count);
  if (n > 0) g_bytes += n;
  return Leave(n);
}

int fsync(int fd) {
  const bool watched = FdWatched(fd);
  if (watched) Enter();
  const int r = Real<int (*)(int)>("fsync")(fd);
  return watched ? Leave(r) : r;
}

int close(int fd) {
  const bool watched = FdWatched(fd);
  if (watched) Enter();
  const int r = Real<int (*)(int)>("close")(fd);
  return watched ? Leave(r) : r;
}

int rename(const char* from, const char* to) {
  const bool watched = PathWatched(from) || PathWatched(to);
  if (watched) Enter();
  const int r = Real<int (*)(const char*, const char*)>("rename")(from, to);
  return watched ? Leave(r) : r;
}

int unlink(const char* path) {
  const bool watched = PathWatched(path);
  if (watched) Enter();
  const int r = Real<int (*)(const char*)>("unlink")(path);
  return watched ? Leave(r) : r;
}

}  // extern "C"

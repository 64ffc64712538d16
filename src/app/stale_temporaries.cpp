#include "app/stale_temporaries.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <system_error>

namespace velmark {
namespace {

constexpr std::size_t kRandomPart = 6;  // the XXXXXX mkstemp fills with letters and digits

// Removes `path` when it is a regular file of ours that nobody holds locked, checking that the
// name still leads to the file that was locked (a live writer may have renamed it meanwhile).
bool RemoveIfAbandoned(const std::filesystem::path& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  bool removed = false;
  struct stat held {};
  struct stat named {};
  if (::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) && held.st_uid == ::geteuid() &&
      ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::lstat(path.c_str(), &named) == 0 &&
      named.st_ino == held.st_ino && named.st_dev == held.st_dev) {
    removed = ::unlink(path.c_str()) == 0;
  }
  ::close(fd);  // also drops the lock
  return removed;
}

}  // namespace

std::string TemporaryPattern(const std::string& name) {
  return "." + name + ".XXXXXX";
}

bool IsTemporaryOf(const std::string& entry, const std::string& name) {
  const std::string prefix = "." + name + ".";
  if (entry.size() != prefix.size() + kRandomPart || !entry.starts_with(prefix)) return false;
  return std::all_of(entry.begin() + static_cast<std::ptrdiff_t>(prefix.size()), entry.end(),
                     [](unsigned char c) { return std::isalnum(c) != 0; });
}

int RemoveStaleTemporaries(const std::filesystem::path& folder, const std::string& name) {
  std::error_code ec;
  std::filesystem::directory_iterator it(folder, ec);
  int removed = 0;
  for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
    if (IsTemporaryOf(it->path().filename().string(), name) && RemoveIfAbandoned(it->path())) {
      ++removed;
    }
  }
  return removed;
}

}  // namespace velmark

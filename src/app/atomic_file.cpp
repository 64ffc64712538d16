#include "app/atomic_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "app/stale_temporaries.h"

namespace velmark {
namespace {

std::string SysError(const std::string& what, const std::filesystem::path& path) {
  return what + " " + path.string() + ": " + std::strerror(errno);
}

bool WriteAllBytes(int fd, std::span<const std::uint8_t> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// A fresh temporary file next to `file`, open and locked; -1 when none can be made. The lock
// marks it as in use for RemoveStaleTemporaries; a cleaner that took the file away between its
// creation and the lock is noticed (the name no longer leads to it) and another one is made.
int CreateLockedTemporary(const std::filesystem::path& folder, const std::filesystem::path& file,
                          std::string& temp) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    temp = (folder / TemporaryPattern(file.filename().string())).string();
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return -1;
    // Where the file system has no locks, no cleaner can lock the file either and it is kept.
    if (::flock(fd, LOCK_EX) != 0) return fd;
    struct stat held {};
    struct stat named {};
    if (::fstat(fd, &held) == 0 && ::lstat(temp.c_str(), &named) == 0 &&
        named.st_ino == held.st_ino && named.st_dev == held.st_dev) {
      return fd;
    }
    ::close(fd);  // already removed by the cleaner
  }
  errno = EAGAIN;
  return -1;
}

}  // namespace

std::string WriteFileAtomically(const std::filesystem::path& file,
                                std::span<const std::uint8_t> bytes) {
  const std::filesystem::path folder =
      file.parent_path().empty() ? std::filesystem::path(".") : file.parent_path();
  // A writer killed before its rename left its temporary file; it goes with the next write.
  RemoveStaleTemporaries(folder, file.filename().string());
  std::string temp;
  const int fd = CreateLockedTemporary(folder, file, temp);
  if (fd < 0) return SysError("cannot create a temporary file in", folder);
  std::string error;
  if (::fchmod(fd, 0644) != 0 || !WriteAllBytes(fd, bytes) || ::fsync(fd) != 0) {
    error = SysError("cannot write", temp);
  }
  // Renamed while still open and locked, so no cleaner takes it for abandoned.
  if (error.empty() && ::rename(temp.c_str(), file.c_str()) != 0) {
    error = SysError("cannot replace", file);
  }
  if (!error.empty()) ::unlink(temp.c_str());
  ::close(fd);
  if (!error.empty()) return error;
  // The rename itself reaches the disk with the folder.
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return {};
}

}  // namespace velmark

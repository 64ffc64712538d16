#include "app/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

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

}  // namespace

std::string WriteFileAtomically(const std::filesystem::path& file,
                                std::span<const std::uint8_t> bytes) {
  const std::filesystem::path folder =
      file.parent_path().empty() ? std::filesystem::path(".") : file.parent_path();
  std::string temp = (folder / ("." + file.filename().string() + ".XXXXXX")).string();
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) return SysError("cannot create a temporary file in", folder);
  std::string error;
  if (::fchmod(fd, 0644) != 0 || !WriteAllBytes(fd, bytes) || ::fsync(fd) != 0) {
    error = SysError("cannot write", temp);
  }
  if (::close(fd) != 0 && error.empty()) error = SysError("cannot write", temp);
  if (error.empty() && ::rename(temp.c_str(), file.c_str()) != 0) {
    error = SysError("cannot replace", file);
  }
  if (!error.empty()) {
    ::unlink(temp.c_str());
    return error;
  }
  // The rename itself reaches the disk with the folder.
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return {};
}

}  // namespace velmark

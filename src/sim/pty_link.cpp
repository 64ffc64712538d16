#include "sim/pty_link.h"

#include <unistd.h>

#include <system_error>

namespace velmark {

std::optional<std::string> PtyLink::Point(const std::filesystem::path& path,
                                          const std::string& target) {
  std::error_code ec;
  const auto status = std::filesystem::symlink_status(path, ec);
  if (std::filesystem::exists(status) && !std::filesystem::is_symlink(status)) {
    return "refusing to replace " + path.string() + ": it is not a symbolic link";
  }
  std::filesystem::path temp = path;
  temp += ".velmark-sim" + std::to_string(::getpid());
  std::filesystem::remove(temp, ec);
  std::filesystem::create_symlink(target, temp, ec);
  if (ec) return "cannot create a link at " + temp.string() + ": " + ec.message();
  std::filesystem::rename(temp, path, ec);
  if (ec) {
    std::error_code ignored;
    std::filesystem::remove(temp, ignored);
    return "cannot create the link " + path.string() + ": " + ec.message();
  }
  path_ = path;
  target_ = target;
  return std::nullopt;
}

void PtyLink::Remove() {
  if (path_.empty()) return;
  std::error_code ec;
  if (std::filesystem::is_symlink(std::filesystem::symlink_status(path_, ec)) &&
      std::filesystem::read_symlink(path_, ec).string() == target_ && !ec) {
    std::filesystem::remove(path_, ec);
  }
  path_.clear();
  target_.clear();
}

}  // namespace velmark

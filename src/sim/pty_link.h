#pragma once
// The symbolic link that leads the program to the simulator's pseudo-terminal (for example
// COM3 in the program's data folder). The link is replaced atomically when the simulator moves
// to a new pseudo-terminal and removed when it stops. Anything at the path that is not a
// symbolic link (a file, a directory, a device) is never touched.

#include <filesystem>
#include <optional>
#include <string>

namespace velmark {

class PtyLink {
 public:
  PtyLink() = default;
  ~PtyLink() { Remove(); }
  PtyLink(const PtyLink&) = delete;
  PtyLink& operator=(const PtyLink&) = delete;

  // Makes `path` a symbolic link to `target`; an old symbolic link there (also a dangling one
  // left by a crash) is replaced. Nothing on success, else the reason.
  std::optional<std::string> Point(const std::filesystem::path& path, const std::string& target);
  // Removes the link, provided it still leads where this object pointed it.
  void Remove();

  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
  std::string target_;
};

}  // namespace velmark

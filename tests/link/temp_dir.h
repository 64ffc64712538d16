#pragma once
// A scratch directory for one test, removed with everything in it afterwards.

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace velmark::testing {

class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "velmark-link-XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) {
      path_ = pattern;
    }
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }

  // Creates a file (and its folders) under the directory, with optional contents.
  std::filesystem::path Touch(const std::string& relative, const std::string& contents = "") const {
    const std::filesystem::path file = path_ / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file) << contents;
    return file;
  }

  std::filesystem::path Link(const std::string& relative,
                             const std::filesystem::path& target) const {
    const std::filesystem::path link = path_ / relative;
    std::filesystem::create_directories(link.parent_path());
    std::filesystem::create_symlink(target, link);
    return link;
  }

 private:
  std::filesystem::path path_;
};

}  // namespace velmark::testing

#pragma once
// A scratch folder for the targets that go through real files, made once per process and removed
// when it ends. Inputs are written here, never into the repository. It is made in memory
// (/dev/shm) where the machine has that: the program's atomic writes flush every file to disk,
// which on a disk took a sixth of each input's time.

#include <stdlib.h>

#include <filesystem>
#include <string>

namespace velmark::fuzz {

class TempFolder {
 public:
  TempFolder() {
    std::error_code no_shm;
    const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", no_shm)
                                           ? std::filesystem::path("/dev/shm")
                                           : std::filesystem::temp_directory_path();
    std::string pattern = (base / "velmark-fuzz.XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) __builtin_trap();
    path_ = pattern;
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Replaces `path` with `bytes` (plain write: the scratch folder is ours alone).
bool WriteFileBytes(const std::filesystem::path& path, const std::string& bytes);

}  // namespace velmark::fuzz

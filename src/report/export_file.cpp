#include "report/export_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace velmark {

std::string WriteExportFile(const std::string& path, const std::string& text) {
  errno = 0;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"), std::fclose);
  if (!file) return std::strerror(errno);
  if (std::fwrite(text.data(), 1, text.size(), file.get()) != text.size()) {
    return std::strerror(errno);
  }
  if (std::fclose(file.release()) != 0) return std::strerror(errno);
  return {};
}

}  // namespace velmark

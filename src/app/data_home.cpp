#include "app/data_home.h"

#include <cstdlib>
#include <system_error>

namespace velmark {
namespace {

namespace fs = std::filesystem;

bool IsAbsolute(const char* value) {
  return value != nullptr && value[0] != '\0' && fs::path(value).is_absolute();
}

}  // namespace

DataHome FindDataHome(const char* xdg_data_home, const char* home) {
  if (IsAbsolute(xdg_data_home)) {
    return {(fs::path(xdg_data_home) / kDataHomeName).lexically_normal(), {}};
  }
  if (IsAbsolute(home)) {
    return {(fs::path(home) / ".local/share" / kDataHomeName).lexically_normal(), {}};
  }
  return {{}, "no data folder: neither XDG_DATA_HOME nor HOME names an absolute folder"};
}

std::string CreateDataHome(const fs::path& folder) {
  const std::string prefix = "the data folder " + folder.string();
  std::error_code ec;
  if (!fs::exists(folder, ec)) {
    if (fs::create_directories(folder, ec); ec) {
      return prefix + " cannot be created: " + ec.message();
    }
    // Presets and the unit's memory dump are the user's own business.
    fs::permissions(folder, fs::perms::owner_all, fs::perm_options::replace, ec);
  }
  if (!fs::is_directory(folder, ec)) return prefix + " is not a folder";
  return {};
}

DataHome PrepareDataHome() {
  DataHome home = FindDataHome(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
  if (!home.error.empty()) return home;
  if (std::string error = CreateDataHome(home.folder); !error.empty()) return {{}, error};
  return home;
}

}  // namespace velmark

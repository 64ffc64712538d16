#pragma once
// The data folder of the program when it is started from the desktop: "velmark" under the
// user's XDG data home, so that init.cfg, presets and Eeprom.txt stay in one place whatever
// directory the launcher starts programs in.

#include <filesystem>
#include <string>

namespace velmark {

inline constexpr const char* kDataHomeName = "velmark";

struct DataHome {
  std::filesystem::path folder;  // empty when no folder could be found or made
  std::string error;             // why not; empty on success
};

// $XDG_DATA_HOME/velmark when XDG_DATA_HOME is an absolute path, else
// $HOME/.local/share/velmark. An empty or relative XDG_DATA_HOME is ignored, as the XDG base
// directory rules require; a missing or relative HOME is an error. Null means "not set".
DataHome FindDataHome(const char* xdg_data_home, const char* home);

// Makes `folder` (and its parents) when it is missing, the folder itself readable by its owner
// only; the error text says which folder and why, empty on success.
std::string CreateDataHome(const std::filesystem::path& folder);

// Both, from the process environment: the folder, ready to work in, or the error.
DataHome PrepareDataHome();

}  // namespace velmark

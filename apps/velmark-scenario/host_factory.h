#pragma once
// Builds the program a scenario runs against, from the command line. Each host is made on the
// platform of its run and gives its windows that platform.

#include <filesystem>
#include <memory>
#include <string>

#include "ui/scenario_host.h"
#include "ui/scenario_options.h"

namespace velmark {

struct HostResult {
  std::unique_ptr<ui::ScenarioHost> host;
  std::string error;  // why no host could be built
};

// `data_folder` exists and is empty unless --data named one.
HostResult MakeScenarioHost(const ui::ScenarioOptions& options, ui::Platform& platform,
                            const std::filesystem::path& data_folder);

}  // namespace velmark

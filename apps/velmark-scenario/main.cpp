// Runs scenarios against the program (or the control gallery) as a user would, and reports the
// first line whose check fails. Exit status 0 only when every line of every scenario passed.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "host_factory.h"
#include "stage.h"
#include "ui/scenario_options.h"
#include "ui/scenario_runner.h"

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// A fresh, empty data folder for one run, unless the command line named one.
std::filesystem::path DataFolderFor(const velmark::ui::ScenarioOptions& o, std::string& error) {
  std::error_code ec;
  if (!o.data.empty()) {
    std::filesystem::create_directories(o.data, ec);
    if (ec) error = "cannot create " + o.data.string() + ": " + ec.message();
    return std::filesystem::absolute(o.data);
  }
  std::string pattern = (std::filesystem::temp_directory_path() / "velmark-scn-XXXXXX").string();
  if (!mkdtemp(pattern.data())) error = "cannot create a data folder";
  return pattern;
}

int RunOne(const velmark::ui::ScenarioOptions& o, velmark::StageFactory& stages,
           const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    std::cerr << file << ": cannot read the scenario\n";
    return kExitFailed;
  }
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  auto parsed = velmark::ui::ParseScript(file, text);
  if (!parsed.ok()) {
    std::cerr << parsed.error << "\n";
    return kExitFailed;
  }
  std::string error;
  auto data = DataFolderFor(o, error);
  if (!error.empty()) {
    std::cerr << error << "\n";
    return kExitFailed;
  }
  auto stage = stages.Make();
  auto made = velmark::MakeScenarioHost(o, stage->GetPlatform(), data);
  if (!made.host) {
    std::cerr << made.error << "\n";
    return kExitUsage;
  }
  velmark::ui::RunResult result;
  {
    velmark::ui::ScenarioRunner runner(*stage, *made.host);
    result = runner.Run(parsed.script);
  }
  made.host.reset();  // the windows go before the platform they were given
  if (!result.passed) {
    std::cerr << result.message << "\n";
    return kExitFailed;
  }
  std::cout << file << ": " << result.steps << " lines passed\n";
  return EXIT_SUCCESS;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  auto parsed = velmark::ui::ParseScenarioOptions(args);
  if (!parsed.error.empty()) {
    std::cerr << "velmark-scenario: " << parsed.error << "\n" << velmark::ui::kScenarioUsage;
    return kExitUsage;
  }
  velmark::StageFactory stages(parsed.options.qt, argc, argv);
  if (!stages.Error().empty()) {
    std::cerr << "velmark-scenario: " << stages.Error() << "\n";
    return kExitUsage;
  }
  int status = EXIT_SUCCESS;
  for (const auto& file : parsed.options.files) {
    int one = RunOne(parsed.options, stages, file);
    if (one != EXIT_SUCCESS) status = one;
  }
  return status;
}

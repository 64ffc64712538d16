// Every scenario of the repository, run in process on the headless stage. A scenario names the
// host it runs on in its own run line ("#   velmark-scenario --sim usb FILE.scn"); one that
// names a port (--port COMn) gets velmark-sim on a pseudo-terminal linked as that port.

#include <gtest/gtest.h>

#include <sstream>

#include "app/program_host_factory.h"
#include "app_test_util.h"
#include "ui/gallery_host.h"
#include "ui/scenario_options.h"
#include "ui/scenario_parser.h"
#include "ui/scenario_runner.h"

namespace velmark {
namespace {

namespace fs = std::filesystem;

fs::path ScenarioRoot() {
  return fs::path(VELMARK_SOURCE_DIR) / "scenarios";
}

std::vector<std::string> AllScenarios() {
  std::vector<std::string> out;
  std::error_code ec;
  for (const auto& e : fs::recursive_directory_iterator(ScenarioRoot(), ec)) {
    if (e.is_regular_file() && e.path().extension() == ".scn") out.push_back(e.path().string());
  }
  std::sort(out.begin(), out.end());
  return out;
}

// The options of the first comment line that holds a velmark-scenario command.
std::optional<ui::ScenarioOptions> RunLineOptions(const std::string& text) {
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.rfind('#', 0) != 0) continue;
    const auto at = line.find("velmark-scenario ");
    if (at == std::string::npos) continue;
    std::istringstream words(line.substr(at + 17));
    std::vector<std::string> args;
    for (std::string w; words >> w;) {
      if (w != "--qt" && w.find(".scn") == std::string::npos) args.push_back(w);
    }
    args.push_back("scenario.scn");
    auto parsed = ui::ParseScenarioOptions(args);
    if (parsed.error.empty()) return parsed.options;
  }
  return std::nullopt;
}

class ScenarioFile : public testing::TestWithParam<std::string> {};

TEST_P(ScenarioFile, Passes) {
  const std::string text = apptest::ReadAll(GetParam());
  auto options = RunLineOptions(text);
  ASSERT_TRUE(options) << GetParam() << ": no run line (# velmark-scenario OPTIONS FILE.scn)";
  auto parsed = ui::ParseScript(GetParam(), text);
  ASSERT_TRUE(parsed.ok()) << parsed.error;

  apptest::TempDir data;
  std::unique_ptr<apptest::SimProcess> sim;
  if (!options->port.empty()) {
    if (!fs::exists(apptest::BuiltProgram("velmark-sim"))) {
      GTEST_SKIP() << "velmark-sim is not built: the pseudo-terminal scenario needs it";
    }
    sim = std::make_unique<apptest::SimProcess>(data.path() / options->port,
                                                std::vector<std::string>{"--usb"});
    ASSERT_TRUE(sim->Ready()) << "velmark-sim did not come up";
  }
  ui::HeadlessStage stage;
  std::unique_ptr<ui::ScenarioHost> host;
  if (options->gallery) {
    host = std::make_unique<ui::GalleryHost>(stage.GetPlatform(), data.path());
  } else {
    auto made = MakeProgramHost(*options, stage.GetPlatform(), data.path());
    ASSERT_TRUE(made.host) << made.error;
    host = std::move(made.host);
  }
  ui::RunResult result;
  {
    ui::ScenarioRunner runner(stage, *host);
    result = runner.Run(parsed.script);
  }
  host.reset();
  EXPECT_TRUE(result.passed) << result.message;
}

std::string TestName(const testing::TestParamInfo<std::string>& info) {
  std::string name = fs::relative(info.param, ScenarioRoot()).replace_extension().string();
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(Repository, ScenarioFile, testing::ValuesIn(AllScenarios()), TestName);

}  // namespace
}  // namespace velmark

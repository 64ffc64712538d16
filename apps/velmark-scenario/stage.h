#pragma once
// The stages a scenario can run on: headless, or the Qt binding with the windows shown
// (offscreen when there is no display) and everything else still scripted.

#include <memory>
#include <string>

#include "ui/scenario_host.h"

namespace velmark {

class StageFactory {
 public:
  // With `qt` the toolkit is started here and lives as long as the factory.
  StageFactory(bool qt, int& argc, char** argv);
  ~StageFactory();
  StageFactory(const StageFactory&) = delete;
  StageFactory& operator=(const StageFactory&) = delete;
  const std::string& Error() const { return error_; }
  std::unique_ptr<ui::ScenarioStage> Make();

 private:
  struct Toolkit;
  std::unique_ptr<Toolkit> toolkit_;
  std::string error_;
};

}  // namespace velmark

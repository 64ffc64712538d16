#include "stage.h"

#if __has_include(<QtWidgets/QApplication>)
#define VELMARK_SCENARIO_QT 1
#include <cstdlib>

#include "ui/qt/qt_stage.h"
#endif

namespace velmark {

#if VELMARK_SCENARIO_QT
struct StageFactory::Toolkit {
  ui::qt::QtSession session;
  Toolkit(int& argc, char** argv) : session(argc, argv) {}
};
#else
struct StageFactory::Toolkit {};
#endif

StageFactory::StageFactory(bool qt, [[maybe_unused]] int& argc, [[maybe_unused]] char** argv) {
  if (!qt) return;
#if VELMARK_SCENARIO_QT
  toolkit_ = std::make_unique<Toolkit>(argc, argv);
#else
  error_ = "this build has no Qt binding";
#endif
}

StageFactory::~StageFactory() = default;

std::unique_ptr<ui::ScenarioStage> StageFactory::Make() {
#if VELMARK_SCENARIO_QT
  if (toolkit_) return std::make_unique<ui::qt::QtStage>();
#endif
  return std::make_unique<ui::HeadlessStage>();
}

}  // namespace velmark

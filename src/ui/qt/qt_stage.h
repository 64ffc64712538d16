#pragma once
// Running scenarios on the Qt binding: the windows are real widgets (offscreen when there is no
// display), while message boxes, file dialogs and the clock stay scripted so that a run is the
// same every time.

#include <QApplication>
#include <memory>

#include "ui/headless.h"
#include "ui/qt/export/sheet_export.h"
#include "ui/qt/qt_desktop.h"
#include "ui/scenario_host.h"

namespace velmark::ui::qt {

// Owns the application object for a run: offscreen unless a display is there, default look.
class QtSession {
 public:
  QtSession(int& argc, char** argv);
  QApplication& App() { return *app_; }

 private:
  std::unique_ptr<QApplication> app_;
};

class QtStage : public ScenarioStage {
 public:
  QtStage();
  Platform& GetPlatform() override { return platform_; }
  ScriptedMessageBox& Messages() override { return messages_; }
  ScriptedFileDialog& Files() override { return files_; }
  ManualClock& Clock() override { return clock_; }
  void SetModalDriver(std::function<void(Window&)> driver) override;
  Window* ActiveWindow() override { return desktop_.Active(); }
  void Settle() override;
  std::string Screenshot(Window& window, const std::string& png_path) override;
  QtDesktop& Desktop() { return desktop_; }

 private:
  QtDesktop desktop_{1.0};  // 96 dpi, so that pictures come out the same everywhere
  ScriptedMessageBox messages_;
  ScriptedFileDialog files_;
  ManualClock clock_;
  FixedScreen screen_;
  QtPictures pictures_;
  Platform platform_{desktop_, messages_, files_, clock_, clock_, screen_, &pictures_};
};

}  // namespace velmark::ui::qt

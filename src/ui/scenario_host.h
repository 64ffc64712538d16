#pragma once
// What a scenario runs against: the program (a host that starts it and finds its windows, and
// records the frames it sends) and the stage it is shown on (the scripted message boxes, file
// dialogs and clock, and a desktop that hands modal windows to the runner).

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "link/serial_port.h"
#include "ui/headless.h"
#include "ui/window.h"

namespace velmark::ui {

class ScenarioHost {
 public:
  virtual ~ScenarioHost() = default;
  // What the program does when it is started (shows its first window).
  virtual void Start() = 0;
  // The window called `name`; `unit` picks the instance of a per-unit window (-1: the active
  // one, or the only one). Null when there is no such window.
  virtual Window* FindWindow(const std::string& name, int unit) = 0;
  // The frames sent since the last call, in order, as they left for the serial port.
  virtual std::vector<velmark::Frame> TakeFrames() = 0;
  // The folder relative paths of a scenario are taken from (init.cfg, presets, Eeprom.txt).
  virtual std::filesystem::path DataFolder() = 0;
};

class ScenarioStage {
 public:
  virtual ~ScenarioStage() = default;
  // What the program's windows are given.
  virtual Platform& GetPlatform() = 0;
  virtual ScriptedMessageBox& Messages() = 0;
  virtual ScriptedFileDialog& Files() = 0;
  virtual ManualClock& Clock() = 0;
  // The runner acts as the user of every modal window through this driver.
  virtual void SetModalDriver(std::function<void(Window&)> driver) = 0;
  virtual Window* ActiveWindow() = 0;
  // Lets the toolkit catch up after a step (a no-op without one).
  virtual void Settle() {}
  // Writes a picture of the window; the error text, or empty on success (a stage without a
  // toolkit writes nothing).
  virtual std::string Screenshot(Window& window, const std::string& png_path);
};

// The stage without a toolkit: everything scripted, windows tracked by the headless desktop.
class HeadlessStage : public ScenarioStage {
 public:
  Platform& GetPlatform() override { return hp_.platform; }
  ScriptedMessageBox& Messages() override { return hp_.messages; }
  ScriptedFileDialog& Files() override { return hp_.files; }
  ManualClock& Clock() override { return hp_.clock; }
  void SetModalDriver(std::function<void(Window&)> driver) override {
    hp_.desktop.ModalDriver = std::move(driver);
  }
  Window* ActiveWindow() override { return hp_.desktop.Active(); }
  HeadlessPlatform& Headless() { return hp_; }

 private:
  HeadlessPlatform hp_;
};

}  // namespace velmark::ui

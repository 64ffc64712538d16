#pragma once
// The connection window: searches the line for units, reads their names or offers demo mode,
// and opens the device list.

#include "link/unit_reader.h"
#include "ui/controls.h"
#include "ui/window.h"

namespace velmark {

class Program;

inline constexpr const char* kConnectWaitText = "Please wait..............";
inline constexpr const char* kSearchingComText = "Searching COM, please wait.....";
inline constexpr const char* kDemoQuestion =
    "COM not found or device not connected, do you want to continue in demo mode?";
inline constexpr const char* kDemoTitle = "Warning";
inline constexpr const char* kDevicesNotFoundText = "      Devices not found!";
inline constexpr const char* kDevicesNotFoundTitle = "Exit";
inline constexpr int kConnectTimerMs = 100;

class FrmConnect1 : public ui::Window, private ReadProgress {
 public:
  explicit FrmConnect1(Program& program);

  ui::Label Label1;
  ui::ProgressBar ProgressBar1;  // kept hidden
  ui::Timer Timer1;

  // The unit search; true when a unit answered.
  bool SearchNumCom();

 protected:
  void Form_Load() override;

 private:
  void Timer1_Timer();
  // Builds the demo table; false when that failed and the program is ending.
  bool EnterDemoMode();
  void ShowLabel(const std::string& text) override;

  Program& program_;
};

}  // namespace velmark

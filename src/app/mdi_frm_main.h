#pragma once
// The main window: the multiple-document frame that holds the device list and the edit
// windows, the Connect menu, and the exit sequence.

#include "ui/controls.h"
#include "ui/window.h"

namespace velmark {

class Program;

inline constexpr const char* kMainCaption = "VELMARK - Speaker management";
inline constexpr const char* kComInitFailedText = "Wrong COM initialization!";
inline constexpr const char* kComInitFailedTitle = "SerialLibDemo";
inline constexpr const char* kExitQuestion = "               Are you sure ? ";
inline constexpr const char* kExitTitle = "Exit";
inline constexpr const char* kReconnectAllQuestion =
    "Check all connected devices , do you want to continue?";
inline constexpr const char* kReconnectAllTitle = "Connect";
inline constexpr int kMainTimerMs = 1000;
// Item of the ConnectionMode menu that starts a connection.
inline constexpr int kModeConnect = 0;

class MDIFrmMain : public ui::Window {
 public:
  explicit MDIFrmMain(Program& program);

  // The menu-bar menu "Connect" with its single item ModeConnect, also captioned "Connect".
  ui::Menu ConnectionMode;
  ui::Timer Timer1;

  // (Re)starts the one-second timer that enables Connect while no edit window is open.
  void StartTimer();
  // Starts a connection as the Connect item does.
  void ModeConnect_Click();

 protected:
  void Form_Load() override;
  void Form_QueryUnload(bool& cancel, ui::UnloadMode mode) override;

 private:
  void Timer1_Timer();

  Program& program_;
};

}  // namespace velmark

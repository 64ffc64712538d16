#pragma once
// The port window: the connection mode (USB or RS-485, one or several devices, the ID of a
// single device) and the COM port, kept in init.cfg. "Check" probes COM 1..32 with the
// window's own port instance and reports which ones open; on Linux a port that exists but
// cannot be opened (permission, busy) is reported with its reason.

#include <memory>
#include <string>

#include "link/serial_port.h"
#include "ui/control_array.h"
#include "ui/controls.h"
#include "ui/window.h"

namespace velmark {

class Program;

inline constexpr int kComListCount = 40;  // "COM 1" .. "COM 40"
inline constexpr int kProbedPorts = 32;   // "Check" tries COM 1 .. COM 32
inline constexpr int kUsbHeight = 3260;   // window heights in twips, caption bar included
inline constexpr int kRs485Height = 5245;
inline constexpr int kWindowFrameHeight = 435;  // caption bar and borders at 96 dpi
inline constexpr const char* kSearchComTitle = "Search COM";
inline constexpr const char* kComFoundText = "COM found:";
inline constexpr const char* kComNotFoundText = "COM not found";

// Combo1 entry of COM n: "COM 3"; 0 is "NONE".
std::string ComListText(int n);

class FrmSelPort : public ui::Window {
 public:
  explicit FrmSelPort(Program& program);

  ui::Frame FramePort;                         // "Communication Port"
  ui::ControlArray<ui::OptionButton> Option2;  // 0 "USB", 1 "RS485"
  ui::OptionGroup Option2Group;
  ui::Frame FrameConnection;                   // "Connection"
  ui::ControlArray<ui::OptionButton> Option1;  // 0 one device … 3 several devices
  ui::OptionGroup Option1Group;
  ui::Frame FrameIdSelect;   // "ID Select"
  ui::ComboBox Combo2;       // "0" .. "32"
  ui::Frame FrameComSelect;  // "COM Select"
  ui::ComboBox Combo1;       // "NONE", "COM 1" .. "COM 40"
  ui::Button BtnSearchCom;   // "Check"
  ui::Label LblDevicePath;   // the device behind the selected COM entry
  ui::Frame FrameButtons;
  ui::ControlArray<ui::Button> Command1;  // 0 "OK", 1 "Exit"

  // The window was left with "Exit" or closed: no connection is made.
  bool SelPortCancelled = true;

 protected:
  void Form_Load() override;
  void Form_Unload() override;

 private:
  void Build();
  void LayoutUsb();
  void LayoutRs485();
  void Option2_Click(int index);
  void Option1_Click(int index);
  void Combo1_Click();
  void Combo2_Click();
  void BtnSearchCom_Click();
  void Command1_Click(int index);
  // The selected port's device in the tool tip and the label; the list texts stay as they are.
  void ShowDevicePath();
  // Selects a Combo1 entry as the program, not the user (NONE then stays NONE).
  void SelectPort(int index);

  Program& program_;
  std::unique_ptr<SerialPort> probe_;
  bool selecting_port_ = false;
};

}  // namespace velmark

#include "app/frm_connect1.h"

#include <exception>

#include "app/demo_units.h"
#include "app/program.h"
#include "link/discovery.h"

namespace velmark {

FrmConnect1::FrmConnect1(Program& program)
    : Window(program.Platform(), "FrmConnect1"), program_(program) {
  SetCaption("Connect");
  SetClientSize(4800, 1095);
  Label1.SetCaption(kConnectWaitText);
  Label1.SetAlignment(ui::Alignment::Center);
  Label1.Move(120, 240, 4560, 255);
  ProgressBar1.Move(120, 600, 4560, 255);
  ProgressBar1.SetVisible(false);
  Register("Label1", Label1);
  Register("ProgressBar1", ProgressBar1);
  Register("Timer1", Timer1);
  Timer1.OnTimer = [this] { Timer1_Timer(); };
}

void FrmConnect1::ShowLabel(const std::string& text) {
  Label1.SetCaption(text);
  Repaint();
}

void FrmConnect1::Form_Load() {
  ProgressBar1.SetVisible(false);
  ShowLabel(kSearchingComText);
  program_.ReadConfig();
  Timer1.SetInterval(kConnectTimerMs);
  Timer1.SetTimerEnabled(true);
}

bool FrmConnect1::SearchNumCom() {
  return SearchUnits(program_.State(), program_.Link(), Services().clock, *this);
}

bool FrmConnect1::EnterDemoMode() {
  ProgramState& st = program_.State();
  st.DemoMode = true;
  try {
    CreateDemoUnits(st);
  } catch (const std::exception&) {
    Services().messages.Show(kDevicesNotFoundText, kDevicesNotFoundTitle, ui::MsgIcon::Critical,
                             ui::MsgButtons::Ok);
    program_.End(1);
    return false;
  }
  if (st.ConnectionType == kUsb || !st.SeveralDevices) st.LastDeviceIndex = 0;
  st.DeviceName[st.LastDeviceIndex] = st.DefaultUnitName;
  return true;
}

void FrmConnect1::Timer1_Timer() {
  Timer1.SetTimerEnabled(false);
  ProgramState& st = program_.State();
  ResetDeviceTable(st);
  if (SearchNumCom()) {
    // A unit whose name could not be read is listed under the type name; the connection always
    // goes on to the device list, so this window never stays behind with its last text.
    ReadUnitNames(st, program_.Link(), *this);
  } else {
    if (Services().messages.Show(kDemoQuestion, kDemoTitle, ui::MsgIcon::None,
                                 ui::MsgButtons::YesNo) != ui::MsgAnswer::Yes) {
      Unload();
      return;
    }
    if (!EnterDemoMode()) return;
  }
  Unload();
  program_.SearchNet().Show();
}

}  // namespace velmark

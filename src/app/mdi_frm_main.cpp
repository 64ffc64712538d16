#include "app/mdi_frm_main.h"

#include "app/program.h"

namespace velmark {

MDIFrmMain::MDIFrmMain(Program& program)
    : Window(program.Platform(), "MDIFrmMain"), program_(program) {
  SetMdiFrame(true);
  SetCaption(kMainCaption);
  SetClientSize(1024 * 15, 720 * 15);
  ConnectionMode.SetCaption("Connect");
  ConnectionMode.SetItems({"Connect"});
  ConnectionMode.SetVisible(false);
  Register("ConnectionMode", ConnectionMode);
  Register("Timer1", Timer1);
  ConnectionMode.OnClick = [this](int item) {
    if (item == kModeConnect) ModeConnect_Click();
  };
  Timer1.OnTimer = [this] { Timer1_Timer(); };
}

void MDIFrmMain::Form_Load() {
  ProgramState& st = program_.State();
  ConnectionMode.SetVisible(true);
  st.OpenWindowCount = -1;
  st.DeviceTypeName = std::string(kDefaultUnitName);
  st.DefaultUnitName = std::string(kDefaultUnitName);
  // The value tables and the default image are constant data; only the window keys are set.
  st.WindowHandle.fill(kNoWindow);
  if (program_.Link().Port().Init(13, 32) != SerialStatus::Ok) {
    Services().messages.Show(kComInitFailedText, kComInitFailedTitle, ui::MsgIcon::Critical,
                             ui::MsgButtons::Ok);
    program_.End(1);
    return;
  }
  st.OpenWindowCount = -1;
  StartTimer();
}

void MDIFrmMain::StartTimer() {
  Timer1.SetInterval(kMainTimerMs);
  Timer1.SetTimerEnabled(true);
}

// A new connection can only start while no edit window is open.
void MDIFrmMain::Timer1_Timer() {
  const bool enable = program_.State().OpenWindowCount < 0;
  if (ConnectionMode.ItemAt(kModeConnect).enabled != enable) {
    ConnectionMode.SetItemEnabled(kModeConnect, enable);
  }
}

void MDIFrmMain::ModeConnect_Click() {
  ProgramState& st = program_.State();
  if (st.DeviceListShown) {
    if (Services().messages.Show(kReconnectAllQuestion, kReconnectAllTitle, ui::MsgIcon::None,
                                 ui::MsgButtons::YesNo) != ui::MsgAnswer::Yes) {
      return;
    }
    st.DeviceListClosing = true;
    program_.SearchNet().Unload();
    st.DeviceListShown = false;
    st.ConfigRead.fill(false);
    st.DeviceListClosing = false;
  }
  program_.ConnectSequence();
}

void MDIFrmMain::Form_QueryUnload(bool& cancel, ui::UnloadMode /*mode*/) {
  if (Services().messages.Show(kExitQuestion, kExitTitle, ui::MsgIcon::None,
                               ui::MsgButtons::YesNo) != ui::MsgAnswer::Yes) {
    cancel = true;
    return;
  }
  RxTx& link = program_.Link();
  // The release goes to address 0, heard by every unit on the line. TransmitPacket skips it in
  // demo mode and when unit 0 is not on-line.
  if (link.Port().IsOpen() && !link.TransmitPacket(0, CmdRelease)) link.Port().Close();
  program_.End(0);
}

}  // namespace velmark

#include "app/frm_search_net.h"

#include <exception>

#include "app/program.h"
#include "link/discovery.h"

namespace velmark {
namespace {

std::string Trimmed(const std::string& s) {
  const auto first = s.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

}  // namespace

FrmSearchNet::FrmSearchNet(Program& program)
    : Window(program.Platform(), "FrmSearchNet"), program_(program) {
  SetMdiChild(true);
  SetCaption("Device list");
  SetClientSize(3465, 3720);
  LblHeader.SetCaption(kListHeaderText);
  LblHeader.Move(120, 120, 3225, 255);
  MSFlexGrid1.SetToolTip(kListToolTip);
  MSFlexGrid1.Move(120, 420, 3225, 2415);
  LblSearching.SetCaption(kSearchingDeviceText);
  LblSearching.Move(120, 2955, 3225, 255);
  LblLoading.SetCaption(kLoadingControlsText);
  LblLoading.Move(120, 2955, 3225, 255);
  ProgressBar1.Move(120, 3285, 3225, 255);
  Register("LblHeader", LblHeader);
  Register("MSFlexGrid1", MSFlexGrid1);
  Register("LblSearching", LblSearching);
  Register("LblLoading", LblLoading);
  Register("ProgressBar1", ProgressBar1);
  Register("Timer1", Timer1);
  Timer1.OnTimer = [this] { Timer1_Timer(); };
  MSFlexGrid1.OnDblClick = [this] { MSFlexGrid1_DblClick(); };
}

void FrmSearchNet::Form_Load() {
  ProgramState& st = program_.State();
  st.OpenWindowCount = -1;
  ProgressBar1.SetVisible(false);
  LblLoading.SetVisible(false);
  LblSearching.SetVisible(true);
  st.DeviceListShown = true;
  MSFlexGrid1.SetCols(1);
  MSFlexGrid1.SetRows(0);  // the rows of an earlier connection go
  MSFlexGrid1.SetRows(st.LastDeviceIndex + 1);
  MSFlexGrid1.SetColWidth(0, kListColumnWidth);
  MSFlexGrid1.SetEnabled(true);
  Timer1.SetInterval(kListTimerMs);
  Timer1.SetTimerEnabled(true);
}

// Runs once: polls every unit and writes its row.
void FrmSearchNet::Timer1_Timer() {
  MSFlexGrid1.SetEnabled(false);
  Timer1.SetTimerEnabled(false);
  ProgramState& st = program_.State();
  auto& clock = Services().clock;
  for (int i = 0; i < MSFlexGrid1.Rows(); ++i) {
    st.DeviceName[i] = Trimmed(st.DeviceName[i]);
    if (st.DemoMode) {
      MSFlexGrid1.SetTextMatrix(i, 0, DeviceRowText(st, i, false));
    } else {
      program_.Link().TransmitPacket(i, CmdPoll);
      MSFlexGrid1.SetTextMatrix(i, 0, DeviceRowText(st, i, true));
    }
    st.NeedsConnect[i] = false;
    Repaint();
    clock.Sleep(kRowPauseMs);
  }
  MSFlexGrid1.SetEnabled(true);
  LblSearching.SetVisible(false);
  program_.Main().StartTimer();
  MoveTo(100, 100);
}

void FrmSearchNet::MSFlexGrid1_DblClick() {
  MSFlexGrid1.SetEnabled(false);
  program_.State().UiBusy = true;
  OpenUnit(MSFlexGrid1.Row());
  program_.State().UiBusy = false;
  MSFlexGrid1.SetEnabled(true);
}

bool FrmSearchNet::Reconnect(int row) {
  ProgramState& st = program_.State();
  RxTx& link = program_.Link();
  auto& messages = Services().messages;
  if (messages.Show(kReconnectQuestion, kReconnectTitle, ui::MsgIcon::None,
                    ui::MsgButtons::YesNo) != ui::MsgAnswer::Yes) {
    return false;
  }
  SerialPort& port = link.Port();
  // The port is opened anew: while the unit was away its port name may have led to another
  // device (an unplugged adapter leaves COMn to the next port of the machine), and a handle
  // kept from then would never reach the unit again.
  port.Close();
  if (port.Open("COM" + std::to_string(st.ComPort), 9600) != SerialStatus::Ok) {
    messages.Show(kDisconnectedText, kDisconnectedTitle, ui::MsgIcon::Exclamation,
                  ui::MsgButtons::Ok);
    return false;
  }
  DeviceEntry& entry = st.DeviceTable[row];
  if (!link.PingUnit(entry.Id)) {
    entry.Online = false;
    messages.Show(kDisconnectedText, kDisconnectedTitle, ui::MsgIcon::Exclamation,
                  ui::MsgButtons::Ok);
    LblLoading.SetVisible(false);
    return false;
  }
  entry.Online = true;
  if (!ReadUnitName(st, link, row)) {
    // A failure the engine has not reported yet gets the reconnection's own message.
    if (!st.NeedsConnect[row] || !st.ReportLinkErrors) {
      messages.Show(kDisconnectedText, kDisconnectedTitle, ui::MsgIcon::Exclamation,
                    ui::MsgButtons::Ok);
    }
    st.NeedsConnect[row] = true;
    LblLoading.SetVisible(false);
    return false;
  }
  st.NameUnknown[row] = false;
  MSFlexGrid1.SetTextMatrix(row, 0, DeviceRowText(st, row, entry.Online));
  st.NeedsConnect[row] = false;
  Repaint();
  Services().clock.Sleep(kRowPauseMs);
  return true;
}

void FrmSearchNet::OpenSteps(int row) {
  ProgramState& st = program_.State();
  RxTx& link = program_.Link();
  if (st.NeedsConnect[row] && !Reconnect(row)) return;
  if (!st.PingOk[row]) {
    LblLoading.SetVisible(true);
    Repaint();
    st.PingOk[row] = st.DemoMode ? true : link.PingUnit(st.DeviceTable[row].Id);
    if (!st.PingOk[row]) {
      LblLoading.SetVisible(false);
      return;
    }
  }
  if (st.DeviceTable[row].WindowOpen) {
    Services().messages.Show(kAlreadyOpenText, kAlreadyOpenTitle, ui::MsgIcon::Exclamation,
                             ui::MsgButtons::Ok);
    LblLoading.SetVisible(false);
    return;
  }
  st.OpeningUnit = row;
  SetPointer(ui::MousePointer::Busy);
  LblLoading.SetVisible(true);
  st.OpeningInProgress = true;
  if (!st.ConfigRead[row]) {
    if (st.DemoMode) {
      st.FirmwareVersion[row] = st.DefaultVersion;
    } else if (!ReadWholeUnit(row)) {
      return;
    }
  }
  SetPointer(ui::MousePointer::Default);
  st.OpeningInProgress = false;
  link.TransmitPacket(row, CmdPoll);
  Services().clock.Sleep(kRowPauseMs);
  link.TransmitPacket(row, CmdPoll);
  program_.EditWindowOf(row).Show();
  st.OpenWindowCount += 1;
  st.DeviceTable[st.OpeningUnit].WindowOpen = true;
  ProgressBar1.SetVisible(false);
  LblLoading.SetVisible(false);
  if (st.NeedsConnect[row]) {
    // A failure reported while the window loaded (the link mask its decoding writes) found no
    // open window to close, and the load has marked the unit read again. The window closes now,
    // as the message said, and the reconnection reads the unit anew.
    st.ConfigRead[row] = false;
    program_.UnloadEditWindow(row);
  }
}

bool FrmSearchNet::ReadWholeUnit(int row) {
  ProgramState& st = program_.State();
  ProgressBar1.SetMax(kReadProgressMax);
  ProgressBar1.SetValue(0);
  ProgressBar1.SetVisible(true);
  if (!ReadUnitConfig(st, program_.Link(), row, *this)) {
    MarkIncomplete(row);
    return false;
  }
  if (st.NameUnknown[row]) {
    // Listed under the type name at connection; the complete read brought its own.
    st.NameUnknown[row] = false;
    MSFlexGrid1.SetTextMatrix(row, 0, DeviceRowText(st, row, true, Trimmed(st.DeviceName[row])));
  }
  return true;
}

// An incomplete image is neither shown nor decoded: decoding sends the unit its link mask, and
// every edit in the window would build on parameters that did not come from the unit.
void FrmSearchNet::MarkIncomplete(int row) {
  ProgramState& st = program_.State();
  SetPointer(ui::MousePointer::Default);
  st.OpeningInProgress = false;
  ProgressBar1.SetVisible(false);
  LblLoading.SetVisible(false);
  st.ConfigRead[row] = false;
  if (st.NeedsConnect[row]) return;  // the engine has told the user and marked the row
  st.NeedsConnect[row] = true;
  MSFlexGrid1.SetTextMatrix(row, 0, program_.Link().OfflineRowText(st.DeviceTable[row].Id));
  Services().messages.Show(kReadIncompleteText, kDisconnectedTitle, ui::MsgIcon::Exclamation,
                           ui::MsgButtons::Ok);
}

void FrmSearchNet::OpenUnit(int row) {
  if (row < 0 || row >= MSFlexGrid1.Rows() || row >= kUnitCount) return;
  try {
    OpenSteps(row);
  } catch (const std::exception&) {
    // A run-time error while opening leaves the list usable.
    SetPointer(ui::MousePointer::Default);
    LblLoading.SetVisible(false);
  }
}

void FrmSearchNet::Form_QueryUnload(bool& cancel, ui::UnloadMode /*mode*/) {
  if (program_.State().DeviceListClosing) return;
  cancel = true;
  SetState(State() == ui::WindowState::Normal ? ui::WindowState::Minimized
                                              : ui::WindowState::Normal);
}

}  // namespace velmark

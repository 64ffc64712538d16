#include "app/frm_sel_port.h"

#include <vector>

#include "app/mdi_frm_main.h"
#include "app/program.h"

namespace velmark {
namespace {

constexpr const char* kConnectionOptions[] = {"with one device", "with 2 or max 20 device",
                                              "with 2 or max 10 device", "with several devices"};
constexpr int kOneDevice = 0;
constexpr int kSeveralDevices = 3;
constexpr int kClientWidth = 4215;
constexpr int kUsbComTop = 960, kUsbButtonsTop = 1800;
constexpr int kRs485ComTop = 3000, kRs485ButtonsTop = 3840;

// A port that exists but would not open: worth telling the user why.
bool ExistsButRefused(SerialStatus s) {
  return s != SerialStatus::Ok && s != SerialStatus::NotFound && s != SerialStatus::BadArgument;
}

}  // namespace

std::string ComListText(int n) {
  return n == 0 ? "NONE" : "COM " + std::to_string(n);
}

FrmSelPort::FrmSelPort(Program& program)
    : Window(program.Platform(), "FrmSelPort"), program_(program) {
  Build();
}

void FrmSelPort::Build() {
  SetCaption("Select Port");
  FramePort.SetCaption("Communication Port");
  FramePort.Move(120, 120, 3975, 735);
  Register("FramePort", FramePort);
  const char* kPortNames[] = {"USB", "RS485"};
  for (int i = 0; i < 2; ++i) {
    auto& o = Option2.Add(i);
    o.SetCaption(kPortNames[i]);
    o.SetGroup(Option2Group);
    o.SetContainer(&FramePort);
    o.Move(240 + 1800 * i, 330, 1455, 255);
    o.OnClick = [this, i] { Option2_Click(i); };
  }
  Register("Option2", Option2);

  FrameConnection.SetCaption("Connection");
  FrameConnection.Move(120, 960, 3975, 1275);
  Register("FrameConnection", FrameConnection);
  for (int i = 0; i < 4; ++i) {
    auto& o = Option1.Add(i);
    o.SetCaption(kConnectionOptions[i]);
    o.SetGroup(Option1Group);
    o.SetContainer(&FrameConnection);
    o.Move(240, 240 + 240 * i, 3495, 240);
    o.OnClick = [this, i] { Option1_Click(i); };
  }
  Register("Option1", Option1);

  FrameIdSelect.SetCaption("ID Select");
  FrameIdSelect.Move(120, 2340, 3975, 600);
  Register("FrameIdSelect", FrameIdSelect);
  Combo2.SetContainer(&FrameIdSelect);
  Combo2.Move(240, 210, 1215, 315);
  Combo2.OnClick = [this] { Combo2_Click(); };
  Register("Combo2", Combo2);

  FrameComSelect.SetCaption("COM Select");
  FrameComSelect.Move(120, kUsbComTop, 3975, 780);
  Register("FrameComSelect", FrameComSelect);
  for (int n = 0; n <= kComListCount; ++n) Combo1.AddItem(ComListText(n));
  Combo1.SetContainer(&FrameComSelect);
  Combo1.Move(240, 240, 1935, 315);
  Combo1.OnClick = [this] { Combo1_Click(); };
  Register("Combo1", Combo1);
  BtnSearchCom.SetCaption("Check");
  BtnSearchCom.SetContainer(&FrameComSelect);
  BtnSearchCom.Move(2400, 210, 1335, 375);
  BtnSearchCom.OnClick = [this] { BtnSearchCom_Click(); };
  Register("BtnSearchCom", BtnSearchCom);
  LblDevicePath.SetContainer(&FrameComSelect);
  LblDevicePath.Move(240, 570, 3495, 195);
  LblDevicePath.SetFont(7, false);
  Register("LblDevicePath", LblDevicePath);

  FrameButtons.Move(120, kUsbButtonsTop, 3975, 735);
  Register("FrameButtons", FrameButtons);
  const char* kButtonNames[] = {"OK", "Exit"};
  for (int i = 0; i < 2; ++i) {
    auto& b = Command1.Add(i);
    b.SetCaption(kButtonNames[i]);
    b.SetContainer(&FrameButtons);
    b.Move(1080 + 1440 * i, 210, 1215, 375);
    b.OnClick = [this, i] { Command1_Click(i); };
  }
  Register("Command1", Command1);
  SetClientSize(kClientWidth, kUsbHeight - kWindowFrameHeight);
}

void FrmSelPort::Form_Load() {
  ProgramState& st = program_.State();
  // 1. The window's own port instance, used only to probe ports.
  probe_ = program_.MakeProbePort();
  if (!probe_ || probe_->Init(13, 32) != SerialStatus::Ok) {
    Services().messages.Show(kComInitFailedText, kComInitFailedTitle, ui::MsgIcon::Critical,
                             ui::MsgButtons::Ok);
    program_.End(1);
    Unload();
    return;
  }
  // 2. Nothing is reported until an edit window has loaded.
  st.ReportLinkErrors = false;
  // 3.
  Combo2.Clear();
  for (int id = 0; id <= 32; ++id) Combo2.AddItem(std::to_string(id));
  st.ConfigRead.fill(false);
  // 4.
  st.SingleDeviceId = 0;
  Option1(kOneDevice).SetValue(true);
  Option2(kUsb).SetValue(true);
  st.SeveralDevices = false;
  // 5. A port number the list does not have shows as "NONE".
  program_.ReadConfig();
  if (st.ComPort < 0 || st.ComPort > kComListCount) st.ComPort = 0;
  SelectPort(st.ComPort);
  ShowDevicePath();
  // 6.
  LayoutUsb();
  // 7. Anything but RS-485 in the file counts as USB.
  Combo2.SetListIndex(0);
  SelPortCancelled = true;
  Option2(st.SavedConnectionType == kRs485 ? kRs485 : kUsb).SetValue(true);
}

void FrmSelPort::Form_Unload() {
  if (probe_) probe_->Close();
  probe_.reset();
}

void FrmSelPort::LayoutUsb() {
  FrameConnection.SetVisible(false);
  FrameIdSelect.SetVisible(false);
  FrameComSelect.SetVisible(true);
  FrameComSelect.SetTop(kUsbComTop);
  FrameButtons.SetTop(kUsbButtonsTop);
  program_.State().ConnectionType = kUsb;
  SetClientSize(kClientWidth, kUsbHeight - kWindowFrameHeight);
}

void FrmSelPort::LayoutRs485() {
  FrameConnection.SetVisible(true);
  FrameIdSelect.SetVisible(true);
  FrameComSelect.SetVisible(true);
  FrameComSelect.SetTop(kRs485ComTop);
  FrameButtons.SetTop(kRs485ButtonsTop);
  if (Option1(kOneDevice).Value() && Combo2.ListIndex() == 0) Combo2.SetListIndex(1);
  program_.State().ConnectionType = kRs485;
  SetClientSize(kClientWidth, kRs485Height - kWindowFrameHeight);
}

void FrmSelPort::Option2_Click(int index) {
  if (index == kRs485) {
    LayoutRs485();
  } else {
    LayoutUsb();
  }
}

void FrmSelPort::Option1_Click(int index) {
  ProgramState& st = program_.State();
  if (index == kOneDevice) {
    FrameIdSelect.SetEnabled(true);
    Combo2.SetEnabled(true);
    st.SeveralDevices = false;
  } else if (index == kSeveralDevices) {
    FrameIdSelect.SetEnabled(false);
    st.SeveralDevices = true;
  }
}

void FrmSelPort::SelectPort(int index) {
  selecting_port_ = true;
  Combo1.SetListIndex(index);
  selecting_port_ = false;
}

// A person choosing "NONE" gets "COM 1"; the program itself may select "NONE".
void FrmSelPort::Combo1_Click() {
  if (!selecting_port_ && Combo1.ListIndex() == 0) SelectPort(1);
  ShowDevicePath();
}

void FrmSelPort::Combo2_Click() {
  if (Option1(kOneDevice).Value() && Option2(kRs485).Value() && Combo2.ListIndex() == 0) {
    Combo2.SetListIndex(1);
    return;  // the selection above has run this handler for "1" already
  }
  program_.State().SingleDeviceId = Combo2.ListIndex();
}

void FrmSelPort::ShowDevicePath() {
  const int n = Combo1.ListIndex();
  const std::string path = n > 0 ? program_.DescribePort(n) : std::string();
  Combo1.SetToolTip(path);
  LblDevicePath.SetCaption(path);
}

void FrmSelPort::BtnSearchCom_Click() {
  ProgramState& st = program_.State();
  if (probe_->IsOpen()) probe_->Close();
  std::vector<int> found;
  std::string result;
  std::string refused;  // ports that exist but did not open, each with its reason
  for (int n = 1; n <= kProbedPorts; ++n) {
    st.ComPort = n;
    const SerialStatus s = probe_->Open("COM" + std::to_string(n), 9600);
    if (s == SerialStatus::Ok) {
      found.push_back(n);
      result += kLineBreak + std::string("COM") + std::to_string(n);
      probe_->Close();  // a probe holds no port: the program or another one may want it
    } else if (ExistsButRefused(s)) {
      refused += kLineBreak + probe_->LastErrorText();
    }
  }
  auto& messages = Services().messages;
  if (!found.empty()) {
    for (int n : found) SelectPort(n);
    st.ComPort = found.back();
    messages.Show(kComFoundText + result + (refused.empty() ? "" : kLineBreak + refused),
                  kSearchComTitle, ui::MsgIcon::Information, ui::MsgButtons::Ok);
  } else {
    messages.Show(kComNotFoundText + (refused.empty() ? "" : kLineBreak + refused), kSearchComTitle,
                  ui::MsgIcon::Exclamation, ui::MsgButtons::Ok);
    SelectPort(0);
    st.ComPort = 0;
  }
  if (probe_->IsOpen()) probe_->Close();
}

void FrmSelPort::Command1_Click(int index) {
  ProgramState& st = program_.State();
  if (index == 0) {
    SelPortCancelled = false;
    st.ComPort = std::max(0, Combo1.ListIndex());
    st.SingleDeviceId = std::max(0, Combo2.ListIndex());
    st.SavedConnectionType = st.ConnectionType;
    program_.WriteConfig();
    st.ConnectionType = Option2(kUsb).Value() ? kUsb : kRs485;
    st.SeveralDevices = !Option1(kOneDevice).Value();
  } else {
    SelPortCancelled = true;
  }
  Unload();
}

}  // namespace velmark

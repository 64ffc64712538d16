#include "editor/frm_kvr.h"

#include "commands/decode_image.h"
#include "editor/lock_state.h"
#include "link/rx_tx.h"

namespace velmark {
namespace {

constexpr const char* kCloseQuestion = "               Are you sure ? ";
constexpr const char* kCloseTitle = "Close edit window";
constexpr int kFirstPage = 9;  // the window opens on the routing/mute page

}  // namespace

FrmKVRxxxA::FrmKVRxxxA(Core& core, int unit)
    : ui::Window(core.ui, "FrmKVRxxxA"), core_(core), unit_(ProgramState::Checked(unit)) {
  SetMdiChild(true);
  SetClientSize(kEditClientWidth, kEditClientHeight);
  RegisterExtras();
  RegisterControls();
  ApplyTheme();
  LayoutWindow();
  WireEvents();
}

void FrmKVRxxxA::Form_Load() {
  ProgramState& st = core_.st;
  // 1. This unit is the one every builder works on; failures are reported from now on.
  st.CurUnit = unit_;
  st.ReportLinkErrors = true;
  // 2. The key that maps this window back to its unit, and the fixed client size.
  st.WindowHandle[unit_] = WindowKey();
  SetClientSize(kEditClientWidth, kEditClientHeight);
  // 3. The transfer-curve drawing takes its scale from PicCmp's own size at every call; the
  //    meter timer was bound to the platform's timers when it was registered.
  ProgressBar1.SetVisible(false);
  Picture1.SetBackColor(ui::kBlack);
  // 4. Record and controls from the image; the decoder clears SendSuppressed itself before it
  //    sends the unit's link mask.
  DecodeUnitImage();
  // 5. Lock and password buttons.
  ShowLockButtons();
  // 6. The invisible focus box holds the keyboard focus while nothing else has it.
  FocusParked = true;
  TextFocus.SetFocus();
  ShapeEq.SetVisible(false);
  LblFreqGain.SetVisible(false);
  // 7.
  ApplyLockState(core_);
  // 8. No page is shown yet, so the routing page is built and selected.
  st.CurPage[unit_] = kNoPage;
  SetPageTab(kFirstPage);
  // 9. The meters: first poll after two seconds.
  Timer1.SetInterval(kMeterFirstPollMs);
  Timer1.SetTimerEnabled(true);
  st.LinkIdle = true;
  st.ConfigRead[unit_] = true;
  // 10.
  SetLoadedCaption();
}

void FrmKVRxxxA::DecodeUnitImage() {
  core_.st.SendSuppressed = true;
  DecodeImage(core_);
}

void FrmKVRxxxA::ShowLockButtons() {
  DeviceSettings& rec = core_.st.DeviceRecords[unit_];
  ParamImage& img = core_.st.DeviceImages[unit_];
  img[kLockOnAddr] = rec.LockOn == 1.0 ? 1 : 0;
  ShowLockButton(*this, rec);
  ShowPasswordButton(*this, rec);
}

void FrmKVRxxxA::SetLoadedCaption() {
  const ProgramState& st = core_.st;
  const std::string tail =
      st.DeviceName[unit_] + " - program loaded: " + st.DeviceRecords[unit_].CurrentProgramName;
  if (st.ConnectionType == kRs485) {
    SetCaption("ID:" + TwoDigitText(st.DeviceTable[unit_].Id) + " " + tail);
  } else {
    SetCaption("USB " + tail);
  }
}

void FrmKVRxxxA::TakeCurrentUnit() {
  ProgramState& st = core_.st;
  for (int u = 0; u < kUnitCount; ++u) {
    if (st.WindowHandle[u] == WindowKey()) {
      st.CurUnit = u;
      return;
    }
  }
}

void FrmKVRxxxA::Form_Activate() {
  TakeCurrentUnit();
}

// A window that matches the fixed size in one dimension keeps its size.
void FrmKVRxxxA::Form_Resize() {
  TakeCurrentUnit();
  if (State() == ui::WindowState::Minimized) return;
  if (ClientWidth() != kEditClientWidth && ClientHeight() != kEditClientHeight) {
    SetClientSize(kEditClientWidth, kEditClientHeight);
  }
}

// A window closed by the communication failure handling belongs to a unit that already needs
// reconnecting; it closes without the question.
void FrmKVRxxxA::Form_QueryUnload(bool& cancel, ui::UnloadMode /*mode*/) {
  TakeCurrentUnit();
  ProgramState& st = core_.st;
  if (!st.NeedsConnect[unit_]) {
    const ui::MsgAnswer answer = Services().messages.Show(kCloseQuestion, kCloseTitle,
                                                          ui::MsgIcon::None, ui::MsgButtons::YesNo);
    if (answer != ui::MsgAnswer::Yes) {
      cancel = true;
      return;
    }
  }
  st.OpenWindowCount -= 1;
  st.DeviceTable[unit_].WindowOpen = false;
  st.WindowHandle[unit_] = kNoWindow;
}

// The meter timer belongs to the loaded window.
void FrmKVRxxxA::Form_Unload() {
  Timer1.SetTimerEnabled(false);
}

}  // namespace velmark

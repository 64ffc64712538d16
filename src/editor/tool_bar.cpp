#include "editor/tool_bar.h"

#include <array>

#include "commands/defaults_ops.h"
#include "editor/frm_kvr.h"
#include "editor/frm_password.h"
#include "editor/lock_state.h"
#include "editor/system_lock.h"
#include "programs/preset_file.h"

namespace velmark {
namespace {

inline constexpr int kRoutingPage = 9;

// UiBusy for the length of one action; false again however the action ends.
class UiBusyScope {
 public:
  explicit UiBusyScope(bool& busy) : busy_(busy) { busy_ = true; }
  ~UiBusyScope() { busy_ = false; }
  UiBusyScope(const UiBusyScope&) = delete;
  UiBusyScope& operator=(const UiBusyScope&) = delete;

 private:
  bool& busy_;
};

void ShowVersion(FrmKVRxxxA& w) {
  if (w.OnShowVersion) w.OnShowVersion();
}

void ShowStore(FrmKVRxxxA& w) {
  if (w.OnShowStore) w.OnShowStore();
}

void ShowRecall(FrmKVRxxxA& w) {
  if (w.OnShowRecall) w.OnShowRecall();
}

// The button shows whether the password lock is on once the window has closed, whatever
// happened in it.
void ShowPasswordLock(FrmKVRxxxA& w) {
  if (w.OnShowPassword) w.OnShowPassword(kPasswordLockMode);
  ShowPasswordButton(w, w.GetCore().Rec());
}

void ShowPasswordChange(FrmKVRxxxA& w) {
  if (w.OnShowPassword) w.OnShowPassword(kPasswordChangeMode);
}

void ToggleLock(FrmKVRxxxA& w) {
  TogglePanelLock(w.GetCore());
}

void CopyOutputs(FrmKVRxxxA& w) {
  if (w.OnShowCopy) w.OnShowCopy(1);
}

void CopyInputs(FrmKVRxxxA& w) {
  if (w.OnShowCopy) w.OnShowCopy(0);
}

// After the unit took its defaults, the routing page is built afresh from the decoded values,
// also when it is the page on show (hence no page first). A No or a failed packet leaves the
// window as it was.
void SetDefaultProgram(FrmKVRxxxA& w) {
  Core& core = w.GetCore();
  if (!SetDefault(core)) return;
  core.st.CurPage[ProgramState::Checked(core.st.CurUnit)] = kNoPage;
  w.SetPageTab(kRoutingPage);
}

using ToolAction = void (*)(FrmKVRxxxA&);

// What each button runs. Load, Save, Store, Recall, Lock, Password, User and both Copy buttons
// open windows that are built apart from the edit window; each plugs its action into its entry
// here. Until it does, the entry is empty and a click only pauses and resumes the meters. Setup
// stays empty for good: the button has no action.
constexpr std::array<ToolAction, kToolButtonCount> kToolActions = {
    LoadPreset,          // 0 "Load"
    SavePreset,          // 1 "Save"
    ShowStore,           // 2 "Store": FrmStore, modal
    ShowRecall,          // 3 "Recall": FrmRead, modal
    ToggleLock,          // 4 "Lock": the panel lock toggle
    ShowPasswordLock,    // 5 "Password": PasswordMode 0, FrmPassword, modal; recolour the button
    ShowVersion,         // 6 " Version": FrmVersion, modal
    ShowPasswordChange,  // 7 "User": PasswordMode 1, FrmPassword, modal
    CopyOutputs,         // 8 "Copy": CopyMode 1 (outputs), FrmCopyOut, modal
    nullptr,             // 9 "Setup"
    SetDefaultProgram,   // 10 "Default"
    CopyInputs,          // 11 "Copy": CopyMode 0 (inputs), FrmCopyOut, modal
};

}  // namespace

void ToolButtonClick(FrmKVRxxxA& w, int i) {
  if (i < 0 || i >= kToolButtonCount) return;
  w.TakeCurrentUnit();
  UiBusyScope busy(w.GetCore().st.UiBusy);
  if (kToolActions[i]) kToolActions[i](w);
}

void WireToolBar(FrmKVRxxxA& w) {
  for (auto& entry : w.ImageBtn) {
    const int i = entry.first;
    entry.second.OnClick = [&w, i] { ToolButtonClick(w, i); };
  }
}

}  // namespace velmark

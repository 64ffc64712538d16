#include "editor/lock_state.h"

#include "model/tables.h"

namespace velmark {
namespace {

constexpr ui::Colour kLockedRed = 255;
constexpr ui::Colour kUnlockedSilver = 12632256;

void EnableEditing(EditControls& w, bool on) {
  for (auto& [i, page] : w.FramePage) page.SetEnabled(on);
  for (auto& [i, box] : w.CheckLinkOut) box.SetEnabled(on);
  for (auto& [i, label] : w.LblLinkOut) label.SetEnabled(on);
  for (auto& [i, button] : w.ImageBtn) button.SetEnabled(on);
}

}  // namespace

void ApplyLockState(Core& core) {
  EditControls& w = core.Win();
  const DeviceSettings& rec = core.Rec();
  const bool password_on = rec.PasswordOn == 1.0;
  const bool lock_on = rec.LockOn == 1.0;
  if (!password_on && !lock_on) {
    EnableEditing(w, true);
    return;
  }
  EnableEditing(w, false);
  // The button that lifts the lock in force is enabled explicitly: a window reused from an
  // earlier session may still have it disabled from another lock state.
  if (password_on) {
    w.ImageBtn(kPasswordButton).SetEnabled(true);
  } else {
    w.ImageBtn(kLockButton).SetEnabled(true);
  }
}

void ShowLockButton(EditControls& w, const DeviceSettings& rec) {
  ui::Label& caption = w.LblBtn(kLockButton);
  const bool locked = rec.LockOn == 1.0;
  caption.SetCaption(locked ? "Locked" : "Lock");
  caption.SetForeColor(locked ? kLockedRed : kUnlockedSilver);
}

void ShowPasswordButton(EditControls& w, const DeviceSettings& rec) {
  ui::Label& caption = w.LblBtn(kPasswordButton);
  caption.SetCaption("Password");
  caption.SetForeColor(rec.PasswordOn == 1.0 ? kLockedRed : kUnlockedSilver);
}

}  // namespace velmark

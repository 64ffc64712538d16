#pragma once
// The lock state of a unit as its edit window shows it. While the panel lock (LockOn) or the
// password lock (PasswordOn) is on, every editing control is disabled except the one tool button
// that can lift that lock: "Password" while the password lock is on, otherwise "Lock".

#include "commands/core.h"
#include "editor/edit_controls.h"
#include "model/settings.h"

namespace velmark {

inline constexpr int kLockButton = 4;      // ImageBtn / LblBtn "Lock"
inline constexpr int kPasswordButton = 5;  // ImageBtn / LblBtn "Password"

// Enables or disables the pages, link boxes and tool buttons of CurUnit's edit window from the
// unit's PasswordOn and LockOn (a lock is on when its value is 1.0).
void ApplyLockState(Core& core);

// LblBtn(4): "Locked" in red while LockOn is 1.0, else "Lock" in silver.
void ShowLockButton(EditControls& w, const DeviceSettings& rec);
// LblBtn(5): "Password", red while PasswordOn is 1.0, else silver.
void ShowPasswordButton(EditControls& w, const DeviceSettings& rec);

}  // namespace velmark

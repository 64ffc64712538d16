#pragma once
// "Password": lifts or sets the password lock of CurUnit once its password (or the master
// password) has been typed, or, in change mode, takes a new password after the current one.

#include "commands/core.h"
#include "ui/controls.h"
#include "ui/window.h"

namespace velmark {

inline constexpr int kPasswordLockMode = 0, kPasswordChangeMode = 1;

class FrmPassword : public ui::Window {
 public:
  explicit FrmPassword(Core& core);

  // kPasswordLockMode ("Password" button) or kPasswordChangeMode ("User" button).
  int PasswordMode = kPasswordLockMode;

  ui::Frame Frame1;  // the current password
  ui::TextBox Text1;
  ui::Label Label1;  // "Insert Password"
  ui::Label Label2;  // "System Lock" / "System Unlock"
  ui::Frame Frame2;  // the new password
  ui::TextBox Text2;
  ui::Label Label3;  // "Insert New Password"
  ui::TextBox Text3;
  ui::Label Label4;  // "Confirm New Password"
  ui::Image ImgBtnCursor;
  ui::Label LblShowCursor;  // "Confirm"

 protected:
  void Form_Load() override;

 private:
  void LayOut();
  void LayOutNewPassword();
  void Text1_KeyPress(int& key);
  void ConfirmNewPassword();
  void ShowStep(ui::Frame& front, ui::Frame& back);
  void Tell(const char* text, const char* title);

  Core& core_;
};

}  // namespace velmark

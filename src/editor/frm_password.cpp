#include "editor/frm_password.h"

#include "editor/system_lock.h"
#include "ui/pictures.h"

namespace velmark {
namespace {

constexpr const char* kWrongText = "Password wrong";
constexpr const char* kWrongTitle = "Insert Password";
constexpr const char* kNewWrongText = "New Password wrong";
constexpr const char* kMismatchText = "Passwords don't match ";
constexpr const char* kNewTitle = "New Password";

// Both frames stand on the same spot; the one in front is the step the user is at.
constexpr int kFrameLeft = 120, kFrameTop = 120, kFrameWidth = 4320, kFrameHeight = 2280;
constexpr int kBoxLeft = 240, kBoxWidth = 3840, kRowHeight = 255, kBoxHeight = 315;

}  // namespace

FrmPassword::FrmPassword(Core& core) : Window(core.ui, "FrmPassword"), core_(core) {
  SetCaption("Password");
  LayOut();
  Text1.OnKeyPress = [this](int& key) { Text1_KeyPress(key); };
  ImgBtnCursor.OnClick = [this] { ConfirmNewPassword(); };
  LblShowCursor.OnClick = [this] { ConfirmNewPassword(); };
}

void FrmPassword::LayOut() {
  SetClientSize(kFrameWidth + 2 * kFrameLeft, kFrameHeight + 2 * kFrameTop);
  Frame1.Move(kFrameLeft, kFrameTop, kFrameWidth, kFrameHeight);
  Label1.SetCaption("Insert Password");
  Label1.Move(kBoxLeft, 360, kBoxWidth, kRowHeight);
  Text1.SetMaxLength(kPasswordLength);
  Text1.Move(kBoxLeft, 660, kBoxWidth, kBoxHeight);
  Label2.SetAlignment(ui::Alignment::Center);
  Label2.SetFont(0, true);
  Label2.Move(kBoxLeft, 1380, kBoxWidth, kRowHeight);
  for (ui::Control* c : {static_cast<ui::Control*>(&Label1), static_cast<ui::Control*>(&Text1),
                         static_cast<ui::Control*>(&Label2)}) {
    c->SetContainer(&Frame1);
  }
  Register("Frame1", Frame1);
  Register("Label1", Label1);
  Register("Text1", Text1);
  Register("Label2", Label2);
  LayOutNewPassword();
}

void FrmPassword::LayOutNewPassword() {
  Frame2.Move(kFrameLeft, kFrameTop, kFrameWidth, kFrameHeight);
  Label3.SetCaption("Insert New Password");
  Label3.Move(kBoxLeft, 240, kBoxWidth, kRowHeight);
  Text2.SetMaxLength(kPasswordLength);
  Text2.Move(kBoxLeft, 540, kBoxWidth, kBoxHeight);
  Label4.SetCaption("Confirm New Password");
  Label4.Move(kBoxLeft, 960, kBoxWidth, kRowHeight);
  Text3.SetMaxLength(kPasswordLength);
  Text3.Move(kBoxLeft, 1260, kBoxWidth, kBoxHeight);
  ImgBtnCursor.SetPicture(ui::pictures::kButton);
  ImgBtnCursor.Move(1553, 1740, 1215, 375);
  LblShowCursor.SetCaption("Confirm");
  LblShowCursor.SetAlignment(ui::Alignment::Center);
  LblShowCursor.Move(1553, 1800, 1215, kRowHeight);
  for (ui::Control* c :
       {static_cast<ui::Control*>(&Label3), static_cast<ui::Control*>(&Text2),
        static_cast<ui::Control*>(&Label4), static_cast<ui::Control*>(&Text3),
        static_cast<ui::Control*>(&ImgBtnCursor), static_cast<ui::Control*>(&LblShowCursor)}) {
    c->SetContainer(&Frame2);
  }
  Register("Frame2", Frame2);
  Register("Label3", Label3);
  Register("Text2", Text2);
  Register("Label4", Label4);
  Register("Text3", Text3);
  Register("ImgBtnCursor", ImgBtnCursor);
  Register("LblShowCursor", LblShowCursor);
}

void FrmPassword::Form_Load() {
  Text1.SetText("");
  Text2.SetText("");
  Text3.SetText("");
  ShowStep(Frame1, Frame2);
  Label2.SetCaption(core_.Rec().PasswordOn == 1.0 ? "System Lock" : "System Unlock");
}

// The frame behind is hidden as well, so that nothing in it can be reached past the step the
// user is at (a new password only after the current one).
void FrmPassword::ShowStep(ui::Frame& front, ui::Frame& back) {
  front.SetVisible(true);
  front.BringToFront();
  back.SetVisible(false);
}

void FrmPassword::Tell(const char* text, const char* title) {
  Services().messages.Show(text, title, ui::MsgIcon::Information, ui::MsgButtons::Ok);
}

// Only Enter acts; every other key is typed as usual.
void FrmPassword::Text1_KeyPress(int& key) {
  if (key != ui::kKeyEnter) return;
  const PasswordBytes entry = PasswordEntry(Text1.Text());
  if (!CheckCorrectPassword(entry) || VerifyPassword(entry, core_.Rec())) {
    Tell(kWrongText, kWrongTitle);
    Text1.SetText("");
    return;
  }
  if (PasswordMode == kPasswordChangeMode) {
    ShowStep(Frame2, Frame1);
    return;
  }
  // A failed packet keeps the window open for another try.
  if (!TogglePasswordLock(core_)) Unload();
}

void FrmPassword::ConfirmNewPassword() {
  const PasswordBytes first = PasswordEntry(Text2.Text());
  if (!CheckCorrectPassword(first)) return Tell(kNewWrongText, kNewTitle);
  const PasswordBytes second = PasswordEntry(Text3.Text());
  if (!CheckCorrectPassword(second)) return Tell(kNewWrongText, kNewTitle);
  if (!VerifyNewPassword(first, second)) return Tell(kMismatchText, kNewTitle);
  if (!WriteNewPassword(core_, first)) Unload();
}

}  // namespace velmark

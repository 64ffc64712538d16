#pragma once
// "Copy Input" / "Copy Output": picks a source and a destination channel of CurUnit by their
// current names and copies every processing setting of the one onto the other.

#include "commands/core.h"
#include "ui/control_array.h"
#include "ui/controls.h"
#include "ui/window.h"

namespace velmark {

inline constexpr int kCopyInputs = 0, kCopyOutputs = 1;
inline constexpr const char* kCopySameText = "Copy not possible, Source=Destination";
inline constexpr const char* kCopyNoChoiceText = "Please select a source and a destination";

class FrmCopyOut : public ui::Window {
 public:
  explicit FrmCopyOut(Core& core);

  // Set before the window is shown: kCopyInputs or kCopyOutputs.
  int CopyMode = kCopyInputs;

  ui::ControlArray<ui::Label> Label1;         // 0 source caption, 1 destination caption
  ui::ControlArray<ui::ComboBox> Combo1;      // 0 source list, 1 destination list
  ui::ControlArray<ui::Image> ImgBtnCursor;   // 0 Confirm, 1 Cancel
  ui::ControlArray<ui::Label> LblShowCursor;  // their captions

 protected:
  void Form_Load() override;

 private:
  void LayOut();
  void ButtonClick(int index);
  void Confirm();
  const char* Title() const;

  Core& core_;
};

}  // namespace velmark

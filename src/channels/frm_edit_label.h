#pragma once
// "Edit Names": the eight channel names of CurUnit, one box each, sent and shown on Confirm.

#include "commands/core.h"
#include "ui/control_array.h"
#include "ui/controls.h"
#include "ui/window.h"

namespace velmark {

class FrmKVRxxxA;

inline constexpr const char* kEditNamesTitle = "Edit Names";
inline constexpr const char* kNameMissingText = "Please input the Name !";

class FrmEditLabel : public ui::Window {
 public:
  explicit FrmEditLabel(Core& core);

  ui::ControlArray<ui::TextBox> Text1;        // 0..7, one name per channel
  ui::ControlArray<ui::Label> Label3;         // their captions "In A" … "Out4"
  ui::ControlArray<ui::Image> ImgBtnCursor;   // 0 Confirm, 1 Cancel
  ui::ControlArray<ui::Label> LblShowCursor;  // their captions

 protected:
  void Form_Load() override;

 private:
  void LayOut();
  void ButtonClick(int index);
  void Confirm();
  void RefuseText(int c);
  void Text1_Change(int c);
  void Text1_KeyPress(int c, int& key);

  Core& core_;
  // True while the window itself fills the boxes: the stored bytes are the unit's own and
  // are shown as they are, whatever their first character.
  bool filling_ = false;
};

// The double click on the name labels LblWinDly and Label300 of `w` opens its OnShowNames,
// with the unit made current and UiBusy held.
void WireNameLabels(FrmKVRxxxA& w);

}  // namespace velmark

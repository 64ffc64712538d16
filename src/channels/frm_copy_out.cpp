#include "channels/frm_copy_out.h"

#include "channels/channel_copy.h"
#include "channels/confirm_buttons.h"

namespace velmark {
namespace {
constexpr const char* kSure = "               Are you sure ? ";
}  // namespace

FrmCopyOut::FrmCopyOut(Core& core) : Window(core.ui, "FrmCopyOut"), core_(core) {
  LayOut();
}

void FrmCopyOut::LayOut() {
  SetClientSize(3300, 2400);
  for (int k = 0; k < 2; ++k) {
    Label1.Add(k).Move(240, 120 + 840 * k, 2800, 255);
    Combo1.Add(k).Move(240, 420 + 840 * k, 2800, 315);
  }
  Register("Label1", Label1);
  Register("Combo1", Combo1);
  AddConfirmButtons(*this, ImgBtnCursor, LblShowCursor, 240, 1860,
                    [this](int i) { ButtonClick(i); });
}

const char* FrmCopyOut::Title() const {
  return CopyMode == kCopyOutputs ? "Copy Output" : "Copy Input";
}

void FrmCopyOut::Form_Load() {
  const bool outputs = CopyMode == kCopyOutputs;
  EditControls& w = core_.Win();
  for (int k = 0; k < 2; ++k) Combo1(k).Clear();
  for (int i = 0; i < kInputCount; ++i) {
    const std::string& name = w.Label300(outputs ? kInputCount + i : i).Caption();
    Combo1(0).AddItem(name);
    Combo1(1).AddItem(name);
  }
  Label1(0).SetCaption(outputs ? "Output Source" : "Input Source");
  Label1(1).SetCaption(outputs ? "Output Destination" : "Input Destination");
  SetCaption(Title());
}

void FrmCopyOut::ButtonClick(int index) {
  if (index == kConfirmButton) {
    Confirm();
  } else {
    Unload();
  }
}

void FrmCopyOut::Confirm() {
  ui::MessageBoxService& box = Services().messages;
  const int s = Combo1(0).ListIndex(), d = Combo1(1).ListIndex();
  if (s == d) {
    box.Show(kCopySameText, Title(), ui::MsgIcon::Stop, ui::MsgButtons::Ok);
    return;
  }
  // Only one list chosen: there is nothing to copy from or to.
  if (s < 0 || d < 0) {
    box.Show(kCopyNoChoiceText, Title(), ui::MsgIcon::Information, ui::MsgButtons::Ok);
    return;
  }
  if (box.Show(kSure, Title(), ui::MsgIcon::None, ui::MsgButtons::YesNo) != ui::MsgAnswer::Yes) {
    return;
  }
  SetPointer(ui::MousePointer::Busy);
  if (CopyMode == kCopyOutputs) {
    CopyOutputChannel(core_, s + kInputCount, d + kInputCount);
  } else {
    CopyInputChannel(core_, s, d);
  }
  SetPointer(ui::MousePointer::Default);
  Unload();
}

}  // namespace velmark

#include "channels/frm_edit_label.h"

#include <optional>

#include "channels/confirm_buttons.h"
#include "channels/name_text.h"
#include "channels/names.h"
#include "editor/frm_kvr.h"
#include "programs/name_rule.h"

namespace velmark {
namespace {

constexpr const char* kSure = "               Are you sure ? ";
constexpr const char* kChannelCaptions[kChannelCount] = {"In A", "In B", "In C", "In D",
                                                         "Out1", "Out2", "Out3", "Out4"};
constexpr int kRowHeight = 420;

bool NameMissing(const std::string& text) {
  return text.empty() || text == " ";
}

}  // namespace

FrmEditLabel::FrmEditLabel(Core& core) : Window(core.ui, "FrmEditLabel"), core_(core) {
  SetCaption(kEditNamesTitle);
  LayOut();
}

void FrmEditLabel::LayOut() {
  SetClientSize(3600, 240 + kChannelCount * kRowHeight + 600);
  for (int c = 0; c < kChannelCount; ++c) {
    const int top = 240 + c * kRowHeight;
    ui::Label& caption = Label3.Add(c);
    caption.SetCaption(kChannelCaptions[c]);
    caption.Move(240, top + 30, 720, 255);
    ui::TextBox& box = Text1.Add(c);
    box.SetMaxLength(kChannelNameLength);
    box.Move(1080, top, 1200, 315);
    box.OnChange = [this, c] { Text1_Change(c); };
    box.OnKeyPress = [this, c](int& key) { Text1_KeyPress(c, key); };
  }
  Register("Label3", Label3);
  Register("Text1", Text1);
  AddConfirmButtons(*this, ImgBtnCursor, LblShowCursor, 240, 240 + kChannelCount * kRowHeight,
                    [this](int i) { ButtonClick(i); });
}

void FrmEditLabel::Form_Load() {
  const DeviceSettings& rec = core_.Rec();
  const auto& names = core_.st.ChannelNames[ProgramState::Checked(core_.st.CurUnit)];
  const bool locked = rec.PasswordOn == 1.0 || rec.LockOn == 1.0;
  filling_ = true;
  for (int c = 0; c < kChannelCount; ++c) {
    Text1(c).SetText(NameText(names[c]));
    Text1(c).SetEnabled(!locked);
  }
  filling_ = false;
}

void FrmEditLabel::ButtonClick(int index) {
  if (index == kConfirmButton) {
    Confirm();
  } else {
    Unload();
  }
}

void FrmEditLabel::Confirm() {
  ui::MessageBoxService& box = Services().messages;
  std::array<std::string, kChannelCount> bytes;
  for (int c = 0; c < kChannelCount; ++c) {
    if (NameMissing(Text1(c).Text())) {
      box.Show(kNameMissingText, kEditNamesTitle, ui::MsgIcon::Information, ui::MsgButtons::Ok);
      return;
    }
    // A character further in that has no one-byte code cannot go into the image.
    std::optional<std::string> b = NameBytes(Text1(c).Text());
    if (!b) return RefuseText(c);
    bytes[c] = *b;
  }
  if (box.Show(kSure, kEditNamesTitle, ui::MsgIcon::None, ui::MsgButtons::YesNo) !=
      ui::MsgAnswer::Yes) {
    return;
  }
  auto& names = core_.st.ChannelNames[ProgramState::Checked(core_.st.CurUnit)];
  for (int c = 0; c < kChannelCount; ++c) names[c] = bytes[c];
  // A failed packet has been reported by the link; the window closes either way.
  ApplyNames(core_);
  Unload();
}

void FrmEditLabel::RefuseText(int c) {
  Services().messages.Show(kNameSymbolsText, kNameSymbolsTitle, ui::MsgIcon::Information,
                           ui::MsgButtons::Ok);
  Text1(c).SetText("");
}

void FrmEditLabel::Text1_Change(int c) {
  if (filling_) return;
  if (!NameTextAllowed(Text1(c).Text())) RefuseText(c);
}

void FrmEditLabel::Text1_KeyPress(int c, int& key) {
  if (NameKeyAllowed(key)) return;
  key = 0;
  RefuseText(c);
}

void WireNameLabels(FrmKVRxxxA& w) {
  auto open = [&w] {
    w.TakeCurrentUnit();
    FlagGuard busy(w.GetCore().st.UiBusy);
    if (w.OnShowNames) w.OnShowNames();
  };
  for (int c = 0; c < kChannelCount; ++c) {
    w.LblWinDly(c).OnDblClick = open;
    w.Label300(c).OnDblClick = open;
  }
}

}  // namespace velmark

#include "ui/control.h"

#include "ui/window.h"

namespace velmark::ui {
const char* ControlKindName(ControlKind kind) {
  switch (kind) {
    case ControlKind::Label:
      return "label";
    case ControlKind::TextBox:
      return "text box";
    case ControlKind::Slider:
      return "slider";
    case ControlKind::UpDown:
      return "up-down";
    case ControlKind::CheckBox:
      return "check box";
    case ControlKind::OptionButton:
      return "option button";
    case ControlKind::ComboBox:
      return "combo box";
    case ControlKind::ListBox:
      return "list box";
    case ControlKind::Image:
      return "image";
    case ControlKind::Frame:
      return "frame";
    case ControlKind::PictureBox:
      return "picture box";
    case ControlKind::Shape:
      return "shape";
    case ControlKind::ProgressBar:
      return "progress bar";
    case ControlKind::Grid:
      return "grid";
    case ControlKind::Menu:
      return "menu";
    case ControlKind::Timer:
      return "timer";
    case ControlKind::Button:
      return "button";
  }
  return "control";
}

std::string Control::Address() const {
  std::string out = owner_ ? owner_->Name() + "." + name_ : name_;
  if (index_ >= 0) out += "(" + std::to_string(index_) + ")";
  return out;
}

void Control::Attach(Window* owner, std::string name, int index) {
  owner_ = owner;
  name_ = std::move(name);
  index_ = index;
}

void Control::Changed() {
  if (view_) view_->Refresh(*this);
}

void Control::SetEnabled(bool on) {
  if (enabled_ == on) return;
  enabled_ = on;
  Changed();
}

void Control::SetVisible(bool on) {
  if (visible_ == on) return;
  visible_ = on;
  Changed();
}

void Control::SetLeft(int v) {
  if (left_ == v) return;
  left_ = v;
  Changed();
}

void Control::SetTop(int v) {
  if (top_ == v) return;
  top_ = v;
  Changed();
}

void Control::Move(int left, int top, int width, int height) {
  if (left_ == left && top_ == top && width_ == width && height_ == height) return;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  Changed();
}

void Control::SetForeColor(Colour c) {
  if (fore_ == c) return;
  fore_ = c;
  Changed();
}

void Control::SetBackColor(Colour c) {
  if (back_ == c) return;
  back_ = c;
  Changed();
}

void Control::SetToolTip(std::string text) {
  if (tool_tip_ == text) return;
  tool_tip_ = std::move(text);
  Changed();
}

void Control::SetPointer(MousePointer p) {
  if (pointer_ == p) return;
  pointer_ = p;
  Changed();
}

void Control::SetFont(double size_pt, bool bold) {
  if (font_size_ == size_pt && font_bold_ == bold) return;
  font_size_ = size_pt;
  font_bold_ = bold;
  Changed();
}

bool Control::EffectiveEnabled() const {
  for (const Control* c = this; c != nullptr; c = c->container_) {
    if (!c->enabled_) return false;
  }
  return true;
}

bool Control::EffectiveVisible() const {
  for (const Control* c = this; c != nullptr; c = c->container_) {
    if (!c->visible_) return false;
  }
  return true;
}

bool Control::TakesFocus() const {
  switch (kind_) {
    case ControlKind::TextBox:
    case ControlKind::Slider:
    case ControlKind::UpDown:
    case ControlKind::CheckBox:
    case ControlKind::OptionButton:
    case ControlKind::ComboBox:
    case ControlKind::ListBox:
    case ControlKind::Grid:
    case ControlKind::Button:
      return true;
    default:
      return false;
  }
}

void Control::SetFocus() {
  if (owner_) {
    owner_->MoveFocus(this);
  } else {
    SetFocused(true);
  }
}

void Control::BringToFront() {
  // Only the order among siblings matters; each window counts for its own controls.
  z_order_ = owner_ ? owner_->NextZOrder() : z_order_ + 1;
  Changed();
}

void Control::SetFocused(bool focused) {
  if (focused_ == focused) return;
  focused_ = focused;
  Changed();  // the binding moves the toolkit's focus along
  if (focused && OnGotFocus) OnGotFocus();
  if (!focused && OnLostFocus) OnLostFocus();
}

}  // namespace velmark::ui

#include "ui/window.h"

#include <algorithm>

#include "ui/controls.h"

namespace velmark::ui {

Window::Window(Platform& platform, std::string name)
    : platform_(platform), name_(std::move(name)) {}

// The desktop may still hold a view of this window; it lets go before the controls vanish.
Window::~Window() {
  platform_.desktop.Forget(*this);
}

void Window::SetCaption(std::string text) {
  if (caption_ == text) return;
  caption_ = std::move(text);
  Changed();
}

void Window::SetClientSize(int width, int height) {
  client_width_ = width;
  client_height_ = height;
  Changed();
}

void Window::MoveTo(int left, int top) {
  left_ = left;
  top_ = top;
  Changed();
}

void Window::UserResize(int width, int height) {
  client_width_ = width;
  client_height_ = height;
  Form_Resize();
}

void Window::SetState(WindowState state) {
  if (state_ == state) return;
  state_ = state;
  Changed();
  Form_Resize();
}

void Window::SetPointer(MousePointer pointer) {
  if (pointer_ == pointer) return;
  pointer_ = pointer;
  Changed();
}

void Window::Load() {
  if (loaded_) return;
  loaded_ = true;
  Form_Load();
}

void Window::Show() {
  Load();
  if (!loaded_) return;  // Form_Load may unload the window again
  shown_ = true;
  modal_ = false;
  platform_.desktop.Show(*this);
}

void Window::ShowModal() {
  Load();
  if (!loaded_) return;
  shown_ = true;
  modal_ = true;
  platform_.desktop.RunModal(*this);
  modal_ = false;
}

void Window::Hide() {
  if (!shown_) return;
  shown_ = false;
  platform_.desktop.Hide(*this);
}

bool Window::Unload(UnloadMode mode) {
  if (!loaded_) return true;
  bool cancel = false;
  Form_QueryUnload(cancel, mode);
  if (cancel) return false;
  Form_Unload();
  loaded_ = false;
  shown_ = false;
  focus_ = nullptr;
  platform_.desktop.Closed(*this);
  return true;
}

void Window::Activate() {
  platform_.desktop.Activate(*this);
  Form_Activate();
}

void Window::Register(const std::string& name, Control& control, int index) {
  control.Attach(this, name, index);
  controls_.push_back(&control);
  if (control.Kind() == ControlKind::Timer) {
    auto& timer = static_cast<Timer&>(control);
    if (!timer.Bound()) timer.Bind(platform_.timers);
  }
}

void Window::MoveFocus(Control* control) {
  if (focus_ == control) return;
  Control* old = focus_;
  focus_ = control;
  if (old) old->SetFocused(false);
  // A lost-focus handler may move the focus elsewhere; the latest request wins.
  if (control && focus_ == control) control->SetFocused(true);
}

Control* Window::Find(const std::string& name, int index) const {
  auto it = std::find_if(controls_.begin(), controls_.end(), [&](const Control* c) {
    return c->Name() == name && c->Index() == index;
  });
  return it == controls_.end() ? nullptr : *it;
}

}  // namespace velmark::ui

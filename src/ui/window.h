#pragma once
// A window: caption, geometry, life cycle (load, show, modal, hide, unload) and the registry of
// its controls by name, so that tests and scenarios can address `Window.Control(i)`.
// Window classes derive from it, register their controls in their constructor and override the
// Form_ events they handle.

#include <string>
#include <vector>

#include "ui/control.h"
#include "ui/control_array.h"
#include "ui/services.h"

namespace velmark::ui {

enum class WindowState { Normal, Minimized, Maximized };
enum class UnloadMode { User, Program };

class Window {
 public:
  Window(Platform& platform, std::string name);
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  const std::string& Name() const { return name_; }
  Platform& Services() const { return platform_; }

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string text);

  // Client area in logical units (twips); the binding scales them to pixels.
  int ClientWidth() const { return client_width_; }
  int ClientHeight() const { return client_height_; }
  void SetClientSize(int width, int height);
  int Left() const { return left_; }
  int Top() const { return top_; }
  void MoveTo(int left, int top);

  // A person resizing the window (client size in logical units); raises Form_Resize.
  void UserResize(int width, int height);

  WindowState State() const { return state_; }
  void SetState(WindowState state);  // raises Form_Resize
  MousePointer Pointer() const { return pointer_; }
  void SetPointer(MousePointer pointer);

  // A child of the multiple-document frame (edit windows, the device list).
  bool IsMdiChild() const { return mdi_child_; }
  void SetMdiChild(bool on) { mdi_child_ = on; }
  bool IsMdiFrame() const { return mdi_frame_; }
  void SetMdiFrame(bool on) { mdi_frame_ = on; }

  bool Loaded() const { return loaded_; }
  bool IsShown() const { return shown_; }
  bool IsModal() const { return modal_; }

  void Load();       // raises Form_Load once per load
  void Show();       // loads if needed, shows modeless
  void ShowModal();  // loads if needed, returns when the window is hidden or unloaded
  void Hide();
  // Asks Form_QueryUnload (which may cancel), then unloads. True when the window is gone.
  bool Unload(UnloadMode mode = UnloadMode::Program);
  bool UserClose() { return Unload(UnloadMode::User); }
  void Activate();  // raises Form_Activate
  void Repaint() { platform_.desktop.Repaint(*this); }

  // Keyboard focus: the control holding it, or null. MoveFocus raises the old holder's
  // OnLostFocus and then the new one's OnGotFocus.
  Control* FocusedControl() const { return focus_; }
  void MoveFocus(Control* control);

  // Registry. Timers registered here are bound to the platform's timer service.
  void Register(const std::string& name, Control& control, int index = -1);
  template <typename T>
  void Register(const std::string& name, ControlArray<T>& array) {
    for (auto& [i, c] : array) Register(name, c, i);
  }
  Control* Find(const std::string& name, int index = -1) const;
  const std::vector<Control*>& Controls() const { return controls_; }
  int NextZOrder() { return ++z_counter_; }

 protected:
  virtual void Form_Load() {}
  virtual void Form_Activate() {}
  virtual void Form_Resize() {}
  virtual void Form_QueryUnload(bool& /*cancel*/, UnloadMode /*mode*/) {}
  virtual void Form_Unload() {}

 private:
  void Changed() { platform_.desktop.WindowChanged(*this); }

  Platform& platform_;
  std::string name_;
  std::string caption_;
  int client_width_ = 6000;
  int client_height_ = 4000;
  int left_ = 0;
  int top_ = 0;
  WindowState state_ = WindowState::Normal;
  MousePointer pointer_ = MousePointer::Default;
  bool mdi_child_ = false;
  bool mdi_frame_ = false;
  bool loaded_ = false;
  bool shown_ = false;
  bool modal_ = false;
  std::vector<Control*> controls_;
  Control* focus_ = nullptr;
  int z_counter_ = 0;
};

}  // namespace velmark::ui

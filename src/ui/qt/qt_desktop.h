#pragma once
// Shows the program's windows with Qt Widgets: the multiple-document frame as a main window
// with an MDI area, its children as MDI sub-windows, every other window as a top-level window
// (a dialog over the frame). Controls get their binders when a window is first shown.

#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>

#include "ui/qt/qt_convert.h"
#include "ui/services.h"
#include "ui/window.h"

class QMdiArea;

namespace velmark::ui::qt {

class ControlBinder;
struct WindowView;

class QtDesktop : public Desktop {
 public:
  // `scale` is the display scale (logical dpi / 96); 0 takes it from the primary screen.
  explicit QtDesktop(double scale = 0);
  ~QtDesktop() override;
  QtDesktop(const QtDesktop&) = delete;
  QtDesktop& operator=(const QtDesktop&) = delete;

  void Show(Window& window) override;
  void RunModal(Window& window) override;
  void Hide(Window& window) override;
  void Closed(Window& window) override;
  void Activate(Window& window) override;
  void WindowChanged(Window& window) override;
  void Repaint(Window& window) override;
  void PopupMenu(Window& window, Menu& menu, int x, int y) override;
  void Forget(Window& window) override;
  void PumpPaintEvents() override;

  // With a driver set, modal windows are shown without a nested event loop and handed to the
  // driver, and popup menus wait for a scripted choice instead of opening (scenario runs).
  void SetModalDriver(std::function<void(Window&)> driver) { modal_driver_ = std::move(driver); }
  // Called once the frame window has unloaded; by default the application quits.
  std::function<void()> OnFrameClosed;

  Window* Active() const { return active_; }
  Menu* PoppedMenu() const { return popped_menu_; }
  const Geometry& Scale() const { return geometry_; }
  // The window's outer widget (main window, sub-window or top-level), null before it was shown.
  QWidget* WidgetOf(const Window& window) const;
  // The widget showing a control, null before its window was shown.
  QWidget* WidgetOf(const Control& control) const;

 private:
  WindowView& ViewOf(Window& window);
  void Build(Window& window, WindowView& view);
  void ApplyWindow(Window& window, WindowView& view);
  void UserActivated(Window& window);
  Window* FrontWindow() const;

  Geometry geometry_;
  std::map<const Window*, std::unique_ptr<WindowView>> views_;
  Window* frame_ = nullptr;
  Window* active_ = nullptr;
  Menu* popped_menu_ = nullptr;
  Window* popped_owner_ = nullptr;  // kept apart: Forget comes after the controls are gone
  std::function<void(Window&)> modal_driver_;
  bool activating_ = false;
};

// Processes pending paint and timer events without taking user input: a blocking exchange
// calls this while it waits so that the windows keep painting.
void PumpPaintEvents();

}  // namespace velmark::ui::qt

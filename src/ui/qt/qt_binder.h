#pragma once
// One binder per control kind ties a control to its widget both ways: a person's input on the
// widget calls the control's User... action (which raises its events), and every change of the
// control is shown on the widget with the widget's signals blocked, so a program write never
// comes back as a second event.

#include <QMouseEvent>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "ui/control.h"
#include "ui/qt/qt_convert.h"

namespace velmark::ui::qt {

class ControlBinder : public ControlView {
 public:
  ControlBinder(Control& control, const Geometry& geometry)
      : control_(&control), geometry_(geometry) {}
  ~ControlBinder() override;
  ControlBinder(const ControlBinder&) = delete;
  ControlBinder& operator=(const ControlBinder&) = delete;

  // Builds the widget as a child of `parent` and shows the control's state on it.
  void Create(QWidget* parent);
  QWidget* Widget() const { return widget_; }
  Control* Target() const { return control_; }
  void Refresh(Control& control) override;
  // The control is going away (or gone): the binder no longer touches it and silences its
  // widget. Whoever knows the control is alive clears its view first.
  void Release();

 protected:
  virtual QWidget* Build(QWidget* parent) = 0;
  // Shows the kind's own properties; runs with the widget's signals blocked.
  virtual void Sync() = 0;
  // Forwards a person's action, then shows the control again: a handler may have refused or
  // changed what the person did, and the widget must show the control, not the gesture.
  void User(const std::function<void()>& action);
  // Mouse events in the control's own coordinates (twips, or the picture's scale).
  virtual QPointF Logical(const QPointF& px) const;
  void ForwardMouse(int phase, QMouseEvent* event, bool click_on_release);

  Control* control_;
  const Geometry& geometry_;

 private:
  void SyncCommon();
  QPointer<QWidget> widget_;
  int z_order_ = 0;
  Colour fore_ = kWindowText;
  Colour back_ = kButtonFace;
  bool custom_palette_ = false;
  double font_size_ = 0;
  bool font_bold_ = false;
  std::string tool_tip_;
  MousePointer pointer_ = MousePointer::Default;
  bool after_double_ = false;
};

enum MousePhase { kMouseDown, kMouseMove, kMouseUp, kMouseDouble };

// A widget that hands its mouse events to a binder before doing its own handling.
template <class Base>
class MouseWidget : public Base {
 public:
  using Base::Base;
  std::function<void(int phase, QMouseEvent* event)> mouse;

 protected:
  void mousePressEvent(QMouseEvent* e) override {
    if (mouse) mouse(kMouseDown, e);
    Base::mousePressEvent(e);
  }
  void mouseMoveEvent(QMouseEvent* e) override {
    if (mouse) mouse(kMouseMove, e);
    Base::mouseMoveEvent(e);
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    if (mouse) mouse(kMouseUp, e);
    Base::mouseReleaseEvent(e);
  }
  // Not passed on: the widget's own handler would report the double click as a second press.
  void mouseDoubleClickEvent(QMouseEvent* e) override {
    if (!mouse) return Base::mouseDoubleClickEvent(e);
    mouse(kMouseDouble, e);
  }
};

// The binder of a control kind; null for kinds without a widget (timers, menus).
std::unique_ptr<ControlBinder> MakeBinder(Control& control, const Geometry& geometry);

// Kind-specific makers, split over the binder files.
std::unique_ptr<ControlBinder> MakeStandardBinder(Control& control, const Geometry& geometry);
std::unique_ptr<ControlBinder> MakePaintedBinder(Control& control, const Geometry& geometry);

}  // namespace velmark::ui::qt

#include "ui/qt/qt_binder.h"

#include <QEvent>
#include <QPalette>
#include <QSignalBlocker>

#include "ui/controls.h"

namespace velmark::ui::qt {

namespace {

// Kinds whose natural background is the white of an input field rather than the face colour.
bool IsField(ControlKind kind) {
  return kind == ControlKind::TextBox || kind == ControlKind::ComboBox ||
         kind == ControlKind::ListBox || kind == ControlKind::Grid;
}

// Kinds that paint their own colours from the control.
bool PaintsItself(ControlKind kind) {
  return kind == ControlKind::PictureBox || kind == ControlKind::Shape ||
         kind == ControlKind::Image;
}

// Tells the control when a person puts the keyboard focus on its widget.
class FocusWatcher : public QObject {
 public:
  FocusWatcher(QObject* parent, std::function<void()> on_focus)
      : QObject(parent), on_focus_(std::move(on_focus)) {}
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::FocusIn) on_focus_();
    return false;
  }

 private:
  std::function<void()> on_focus_;
};

}  // namespace

ControlBinder::~ControlBinder() {
  if (control_ && control_->View() == this) control_->SetView(nullptr);
  // The widget belongs to its parent; a binder that goes alone takes its widget along.
  if (widget_) {
    widget_->blockSignals(true);
    delete widget_.data();
  }
}

void ControlBinder::Create(QWidget* parent) {
  widget_ = Build(parent);
  if (control_->TakesFocus()) {
    widget_->installEventFilter(new FocusWatcher(widget_, [this] {
      if (control_ && !control_->Focused()) User([this] { control_->SetFocus(); });
    }));
  } else {
    widget_->setFocusPolicy(Qt::NoFocus);
  }
  control_->SetView(this);
  Refresh(*control_);
}

void ControlBinder::Release() {
  // Never touches the control: it may already be destroyed.
  control_ = nullptr;
  if (widget_) widget_->blockSignals(true);
}

void ControlBinder::Refresh(Control&) {
  if (!control_ || !widget_) return;
  const QSignalBlocker blocker(widget_);
  SyncCommon();
  Sync();
}

void ControlBinder::User(const std::function<void()>& action) {
  if (!control_) return;
  action();
  if (control_) Refresh(*control_);
}

void ControlBinder::SyncCommon() {
  Control& c = *control_;
  QWidget& w = *widget_;
  const QRect rect = geometry_.Rect(c);
  if (w.geometry() != rect) w.setGeometry(rect);
  if (w.isEnabled() != c.Enabled()) w.setEnabled(c.Enabled());
  if (w.isHidden() == c.Visible()) w.setVisible(c.Visible());
  if (c.ZOrder() != z_order_) {
    z_order_ = c.ZOrder();
    w.raise();
  }
  if (c.ToolTip() != tool_tip_) {
    tool_tip_ = c.ToolTip();
    w.setToolTip(ToQ(tool_tip_));
  }
  const Colour default_back = IsField(c.Kind()) ? kWhite : kButtonFace;
  if (!PaintsItself(c.Kind()) && (c.ForeColor() != fore_ || c.BackColor() != back_)) {
    fore_ = c.ForeColor();
    back_ = c.BackColor();
    // The default colours stay the style's own, so that the desktop's look shows through.
    if (fore_ == kWindowText && back_ == default_back) {
      if (custom_palette_) w.setPalette(QPalette());
      w.setAutoFillBackground(false);
      custom_palette_ = false;
    } else {
      QPalette pal = w.palette();
      if (fore_ != kWindowText) {
        for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
          pal.setColor(role, ToQColor(fore_));
        }
      }
      if (back_ != default_back) {
        for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button}) {
          pal.setColor(role, ToQColor(back_));
        }
      }
      w.setPalette(pal);
      w.setAutoFillBackground(back_ != default_back);
      custom_palette_ = true;
    }
  }
  if (c.FontSize() != font_size_ || c.FontBold() != font_bold_) {
    font_size_ = c.FontSize();
    font_bold_ = c.FontBold();
    QFont f = w.parentWidget() ? w.parentWidget()->font() : QFont();
    if (font_size_ > 0) f.setPointSizeF(font_size_);
    f.setBold(font_bold_);
    w.setFont(f);
  }
  if (c.Focused() && !w.hasFocus() && w.isVisible()) w.setFocus(Qt::OtherFocusReason);
  if (c.Pointer() != pointer_) {
    pointer_ = c.Pointer();
    if (pointer_ == MousePointer::Busy) {
      w.setCursor(Qt::WaitCursor);
    } else if (pointer_ == MousePointer::Cross) {
      w.setCursor(Qt::CrossCursor);
    } else {
      w.unsetCursor();
    }
  }
}

QPointF ControlBinder::Logical(const QPointF& px) const {
  return QPointF(geometry_.Twips(px.x()), geometry_.Twips(px.y()));
}

// Mouse events reach the control in the order the program expects from its toolkit: MouseDown,
// MouseUp, Click for a left click released over the control; a double click adds DblClick and
// one more MouseUp, without a second MouseDown or Click.
void ControlBinder::ForwardMouse(int phase, QMouseEvent* e, bool click_on_release) {
  if (!control_) return;
  auto* events = dynamic_cast<MouseEvents*>(control_);
  const QPointF at = Logical(e->position());
  const int shift = ShiftCode(e->modifiers());
  const ControlKind kind = control_->Kind();
  auto click = [&](bool dbl) {
    if (kind == ControlKind::Label) {
      auto* c = static_cast<Label*>(control_);
      dbl ? c->UserDblClick() : c->UserClick();
    } else if (kind == ControlKind::Image) {
      auto* c = static_cast<Image*>(control_);
      dbl ? c->UserDblClick() : c->UserClick();
    } else if (kind == ControlKind::PictureBox) {
      auto* c = static_cast<PictureBox*>(control_);
      dbl ? c->UserDblClick() : c->UserClick();
    }
  };
  User([&] {
    if (phase == kMouseDown) {
      after_double_ = false;
      if (events && events->OnMouseDown) {
        events->OnMouseDown(ButtonCode(e->button()), shift, at.x(), at.y());
      }
    } else if (phase == kMouseDouble) {
      after_double_ = true;
      click(true);
    } else if (phase == kMouseMove) {
      if (events && events->OnMouseMove) {
        events->OnMouseMove(ButtonCode(e->buttons()), shift, at.x(), at.y());
      }
    } else {
      if (events && events->OnMouseUp) {
        events->OnMouseUp(ButtonCode(e->button()), shift, at.x(), at.y());
      }
      const bool inside = widget_ && widget_->rect().contains(e->position().toPoint());
      if (click_on_release && inside && e->button() == Qt::LeftButton && !after_double_ &&
          control_) {
        click(false);
      }
      after_double_ = false;
    }
  });
}

std::unique_ptr<ControlBinder> MakeBinder(Control& control, const Geometry& geometry) {
  if (auto b = MakeStandardBinder(control, geometry)) return b;
  return MakePaintedBinder(control, geometry);
}

}  // namespace velmark::ui::qt

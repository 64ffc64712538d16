// Binders of the kinds drawn by hand: image buttons, picture boxes with their display list,
// lamps, and the up-down arrows.

#include <QKeyEvent>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <cmath>
#include <optional>

#include "ui/controls.h"
#include "ui/qt/export/qt_graph_render.h"
#include "ui/qt/qt_binder.h"
#include "ui/qt/qt_pictures.h"

namespace velmark::ui::qt {

namespace {

// A widget whose painting is a function of the binder.
class Canvas : public MouseWidget<QWidget> {
 public:
  using MouseWidget::MouseWidget;
  std::function<void(QPainter&)> paint;
  bool pressed = false;
  bool hover = false;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    if (paint) paint(p);
  }
  void enterEvent(QEnterEvent* e) override {
    hover = true;
    update();
    MouseWidget::enterEvent(e);
  }
  void leaveEvent(QEvent* e) override {
    hover = false;
    update();
    MouseWidget::leaveEvent(e);
  }
};

class ImageBinder : public ControlBinder {
 public:
  using ControlBinder::ControlBinder;
  QWidget* Build(QWidget* parent) override {
    auto* w = new Canvas(parent);
    w->setMouseTracking(true);
    w->mouse = [this, w](int phase, QMouseEvent* e) {
      if (phase == kMouseDown && e->button() == Qt::LeftButton) w->pressed = true;
      if (phase == kMouseUp) w->pressed = false;
      w->update();
      ForwardMouse(phase, e, true);
    };
    w->paint = [this, w](QPainter& p) {
      if (!control_) return;
      PaintPicture(p, QRectF(w->rect()), static_cast<Image&>(*control_).Picture(),
                   PictureState{w->pressed, w->hover && w->isEnabled(), w->isEnabled()});
    };
    return w;
  }
  void Sync() override { Widget()->update(); }
};

// Paints the display list scaled from the picture's logical units to the widget (the same
// painting as a written graph picture).
class PictureBinder : public ControlBinder {
 public:
  using ControlBinder::ControlBinder;
  QWidget* Build(QWidget* parent) override {
    auto* w = new Canvas(parent);
    // The picture fills itself: nothing behind it needs painting first.
    w->setAttribute(Qt::WA_OpaquePaintEvent);
    w->setMouseTracking(true);
    w->mouse = [this](int phase, QMouseEvent* e) { ForwardMouse(phase, e, true); };
    w->paint = [this, w](QPainter& p) { Paint(p, w->rect()); };
    return w;
  }
  void Sync() override { Widget()->update(); }

 protected:
  QPointF Logical(const QPointF& px) const override {
    const auto& pic = static_cast<const PictureBox&>(*control_);
    const QSize size = Widget()->size();
    if (pic.ScaleWidth() <= 0 || pic.ScaleHeight() <= 0 || size.isEmpty()) {
      return ControlBinder::Logical(px);
    }
    return QPointF(px.x() * pic.ScaleWidth() / size.width(),
                   px.y() * pic.ScaleHeight() / size.height());
  }

 private:
  void Paint(QPainter& p, const QRect& rect) {
    if (!control_) return;
    PaintPictureBox(p, QRectF(rect), static_cast<const PictureBox&>(*control_), geometry_.scale);
  }
};

// A lamp: a rounded rectangle filled with its colour, a little lighter at the top.
class LampBinder : public ControlBinder {
 public:
  using ControlBinder::ControlBinder;
  QWidget* Build(QWidget* parent) override {
    auto* w = new Canvas(parent);
    w->paint = [this, w](QPainter& p) {
      if (!control_) return;
      const QColor fill = ToQColor(static_cast<const Shape&>(*control_).FillColor());
      const QRectF r = QRectF(w->rect()).adjusted(0.5, 0.5, -0.5, -0.5);
      QLinearGradient g(r.topLeft(), r.bottomLeft());
      g.setColorAt(0, fill.lighter(125));
      g.setColorAt(1, fill);
      p.setRenderHint(QPainter::Antialiasing);
      p.setPen(QPen(fill.darker(160), 1));
      p.setBrush(g);
      const double radius = std::min(r.width(), r.height()) * 0.3;
      p.drawRoundedRect(r, radius, radius);
    };
    return w;
  }
  void Sync() override { Widget()->update(); }
};

// The up-down control: two arrow buttons; up raises the value by one, down lowers it. The
// wheel over it and the arrow keys (while it has the focus) step it the same way.
class StepWidget : public QWidget {
 public:
  using QWidget::QWidget;
  std::function<void(int step)> step;

 protected:
  void wheelEvent(QWheelEvent* e) override {
    const int notches = e->angleDelta().y() / 120;
    if (notches != 0 && step) step(notches > 0 ? +1 : -1);
    e->accept();
  }
  void keyPressEvent(QKeyEvent* e) override {
    if (step && (e->key() == Qt::Key_Up || e->key() == Qt::Key_Down)) {
      step(e->key() == Qt::Key_Up ? +1 : -1);
      return;
    }
    QWidget::keyPressEvent(e);
  }
};

class UpDownBinder : public ControlBinder {
 public:
  using ControlBinder::ControlBinder;
  QWidget* Build(QWidget* parent) override {
    auto* w = new StepWidget(parent);
    w->step = [this](int step) { Step(step); };
    auto* layout = new QVBoxLayout(w);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int step : {+1, -1}) {
      auto* b = new QToolButton(w);
      b->setArrowType(step > 0 ? Qt::UpArrow : Qt::DownArrow);
      b->setAutoRepeat(true);
      b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
      b->setFocusPolicy(Qt::NoFocus);
      layout->addWidget(b);
      QObject::connect(b, &QToolButton::clicked, [this, step] { Step(step); });
    }
    return w;
  }
  void Sync() override {
    auto& r = static_cast<RangeControl&>(*control_);
    auto buttons = Widget()->findChildren<QToolButton*>();
    if (buttons.size() == 2) {
      buttons[0]->setEnabled(r.Value() < r.Max());
      buttons[1]->setEnabled(r.Value() > r.Min());
    }
  }

 private:
  void Step(int step) {
    User([&] {
      auto& r = static_cast<RangeControl&>(*control_);
      if (r.Enabled()) r.UserSetValue(r.Value() + step);
    });
  }
};

template <class B>
std::unique_ptr<ControlBinder> Make(Control& c, const Geometry& g) {
  return std::make_unique<B>(c, g);
}

struct Maker {
  ControlKind kind;
  std::unique_ptr<ControlBinder> (*make)(Control&, const Geometry&);
};
constexpr Maker kMakers[] = {
    {ControlKind::Image, Make<ImageBinder>},
    {ControlKind::PictureBox, Make<PictureBinder>},
    {ControlKind::Shape, Make<LampBinder>},
    {ControlKind::UpDown, Make<UpDownBinder>},
};

}  // namespace

std::unique_ptr<ControlBinder> MakePaintedBinder(Control& control, const Geometry& geometry) {
  for (const Maker& m : kMakers) {
    if (m.kind == control.Kind()) return m.make(control, geometry);
  }
  return nullptr;
}

}  // namespace velmark::ui::qt

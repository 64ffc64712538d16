// The built-in pictures of image controls, drawn as vectors so they stay crisp at any scale.
// Each glyph is drawn in a 24 x 24 design square centred in the control.

#include "ui/qt/qt_pictures.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <functional>
#include <string_view>
#include <utility>

#include "ui/pictures.h"

namespace velmark::ui::qt {

namespace {

const QColor kInk(60, 64, 72);
const QColor kAccent(255, 128, 0);  // the program's orange
const QColor kFaceTop(252, 252, 252);
const QColor kFaceBottom(226, 228, 232);
const QColor kBorder(160, 164, 172);

void Face(QPainter& p, const QRectF& r, bool pressed, bool hover) {
  QLinearGradient g(r.topLeft(), r.bottomLeft());
  g.setColorAt(0, pressed ? kFaceBottom : (hover ? QColor(255, 255, 255) : kFaceTop));
  g.setColorAt(1, pressed ? kFaceTop.darker(104) : kFaceBottom);
  p.setPen(QPen(hover ? kAccent.lighter(130) : kBorder, 1));
  p.setBrush(g);
  p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
}

QPen InkPen(double width = 1.6) {
  return QPen(kInk, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void Floppy(QPainter& p) {
  p.setPen(InkPen());
  p.setBrush(QColor(120, 150, 200));
  QPainterPath body;
  body.moveTo(5, 4);
  body.lineTo(17, 4);
  body.lineTo(20, 7);
  body.lineTo(20, 20);
  body.lineTo(4, 20);
  body.lineTo(4, 5);
  body.closeSubpath();
  p.drawPath(body);
  p.setBrush(Qt::white);
  p.drawRect(QRectF(7, 13, 10, 7));
  p.setBrush(kInk);
  p.drawRect(QRectF(8, 4, 7, 4));
}

void Folder(QPainter& p) {
  p.setPen(InkPen());
  p.setBrush(QColor(240, 196, 90));
  QPainterPath path;
  path.moveTo(3, 7);
  path.lineTo(9, 7);
  path.lineTo(11, 9);
  path.lineTo(21, 9);
  path.lineTo(21, 19);
  path.lineTo(3, 19);
  path.closeSubpath();
  p.drawPath(path);
  p.setBrush(QColor(250, 214, 120));
  QPainterPath flap;
  flap.moveTo(3, 19);
  flap.lineTo(6, 12);
  flap.lineTo(23, 12);
  flap.lineTo(21, 19);
  flap.closeSubpath();
  p.drawPath(flap);
}

void Padlock(QPainter& p, bool closed) {
  p.setPen(QPen(kInk, 2.2, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  QPainterPath shackle;
  const double shift = closed ? 0 : 5;
  shackle.moveTo(8 + shift, 11);
  shackle.lineTo(8 + shift, 8);
  shackle.arcTo(QRectF(8 + shift, 3, 8, 9), 180, -180);
  shackle.lineTo(16 + shift, closed ? 11 : 9);
  p.drawPath(shackle);
  p.setPen(InkPen(1.4));
  p.setBrush(closed ? kAccent : QColor(200, 204, 210));
  p.drawRoundedRect(QRectF(5, 11, 14, 10), 2, 2);
  p.setBrush(kInk);
  p.drawEllipse(QPointF(12, 16), 1.4, 1.4);
}

void Info(QPainter& p) {
  p.setPen(InkPen(1.4));
  p.setBrush(QColor(70, 130, 200));
  p.drawEllipse(QRectF(3, 3, 18, 18));
  p.setPen(QPen(Qt::white, 2.4, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(12, 11), QPointF(12, 17));
  p.drawPoint(QPointF(12, 7.5));
}

void Tray(QPainter& p, bool down) {
  p.setPen(InkPen(1.8));
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(QPolygonF({QPointF(4, 14), QPointF(4, 20), QPointF(20, 20), QPointF(20, 14)}));
  p.setPen(QPen(kAccent, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  const double tip = down ? 16 : 4, tail = down ? 4 : 16, wing = down ? -4 : 4;
  p.drawLine(QPointF(12, tail), QPointF(12, tip));
  p.drawPolyline(QPolygonF({QPointF(8, tip + wing), QPointF(12, tip), QPointF(16, tip + wing)}));
}

void Key(QPainter& p) {
  p.setPen(InkPen(1.8));
  p.setBrush(QColor(240, 196, 90));
  p.drawEllipse(QRectF(3, 8, 9, 9));
  p.drawLine(QPointF(12, 12.5), QPointF(21, 12.5));
  p.drawLine(QPointF(18, 12.5), QPointF(18, 16));
  p.drawLine(QPointF(21, 12.5), QPointF(21, 15));
}

void Person(QPainter& p) {
  p.setPen(InkPen(1.4));
  p.setBrush(QColor(110, 140, 190));
  p.drawEllipse(QRectF(8, 3, 8, 8));
  QPainterPath body;
  body.moveTo(4, 21);
  body.cubicTo(4, 13, 20, 13, 20, 21);
  body.closeSubpath();
  p.drawPath(body);
}

void Sheets(QPainter& p) {
  p.setPen(InkPen(1.4));
  p.setBrush(QColor(235, 238, 244));
  p.drawRect(QRectF(4, 3, 11, 14));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(9, 7, 11, 14));
  p.setPen(QPen(kAccent, 1.4, Qt::SolidLine, Qt::RoundCap));
  for (double y : {11.0, 14.0, 17.0}) p.drawLine(QPointF(12, y), QPointF(17, y));
}

void Circle(QPainter& p) {
  p.setPen(QPen(kInk, 2.2, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(5, 5, 14, 14), 60 * 16, 300 * 16);
  p.setBrush(kInk);
  p.setPen(Qt::NoPen);
  p.drawPolygon(QPolygonF({QPointF(14, 2.5), QPointF(19.5, 5.5), QPointF(14, 9)}));
}

void Curve(QPainter& p) {
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(30, 30, 34));
  p.drawRoundedRect(QRectF(3, 4, 18, 16), 2, 2);
  p.setPen(QPen(kAccent, 1.8, Qt::SolidLine, Qt::RoundCap));
  QPainterPath path;
  path.moveTo(5, 14);
  path.cubicTo(9, 14, 10, 7, 12, 7);
  path.cubicTo(14, 7, 15, 16, 19, 16);
  p.setBrush(Qt::NoBrush);
  p.drawPath(path);
}

void Chain(QPainter& p) {
  p.setPen(QPen(kInk, 2.2));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(QRectF(3, 9, 11, 6), 3, 3);
  p.setPen(QPen(kAccent, 2.2));
  p.drawRoundedRect(QRectF(10, 9, 11, 6), 3, 3);
}

void Speaker(QPainter& p, bool muted) {
  p.setPen(InkPen(1.4));
  p.setBrush(muted ? QColor(220, 60, 50) : QColor(200, 204, 210));
  p.drawPolygon(QPolygonF({QPointF(3, 9), QPointF(7, 9), QPointF(12, 4), QPointF(12, 20),
                           QPointF(7, 15), QPointF(3, 15)}));
  p.setBrush(Qt::NoBrush);
  if (muted) {
    p.setPen(QPen(QColor(220, 60, 50), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(15, 9), QPointF(21, 15));
    p.drawLine(QPointF(21, 9), QPointF(15, 15));
  } else {
    p.setPen(QPen(kInk, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(9, 8, 8, 8), -50 * 16, 100 * 16);
    p.drawArc(QRectF(8, 5, 13, 14), -50 * 16, 100 * 16);
  }
}

void Faders(QPainter& p) {
  p.setPen(QPen(kInk, 1.6, Qt::SolidLine, Qt::RoundCap));
  for (double x : {6.0, 12.0, 18.0}) p.drawLine(QPointF(x, 4), QPointF(x, 20));
  p.setPen(InkPen(1.2));
  p.setBrush(kAccent);
  for (auto [x, y] : {std::pair{6.0, 14.0}, std::pair{12.0, 8.0}, std::pair{18.0, 12.0}}) {
    p.drawRoundedRect(QRectF(x - 3, y - 2, 6, 4), 1, 1);
  }
}

void Flat(QPainter& p) {
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(150, 154, 162), 1.6, Qt::SolidLine, Qt::RoundCap));
  QPainterPath wave;
  wave.moveTo(3, 12);
  wave.cubicTo(7, 4, 9, 4, 12, 12);
  wave.cubicTo(15, 20, 17, 20, 21, 12);
  p.drawPath(wave);
  p.setPen(QPen(kAccent, 2.4, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(3, 12), QPointF(21, 12));
}

void Logo(QPainter& p) {
  p.setPen(Qt::NoPen);
  p.setBrush(kAccent);
  p.drawEllipse(QRectF(1, 1, 22, 22));
  p.setPen(QPen(Qt::white, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPolyline(QPolygonF({QPointF(7, 7), QPointF(12, 17), QPointF(17, 7)}));
}

using Glyph = std::function<void(QPainter&)>;
struct Picture {
  std::string_view id;
  bool face;  // drawn on a button face
  Glyph glyph;
};

const Picture* Find(std::string_view id) {
  static const Picture kPictures[] = {
      {pictures::kToolSave, true, Floppy},
      {pictures::kToolLoad, true, Folder},
      {pictures::kToolLock, true, [](QPainter& p) { Padlock(p, true); }},
      {pictures::kToolUnlock, true, [](QPainter& p) { Padlock(p, false); }},
      {pictures::kToolAbout, true, Info},
      {pictures::kToolStore, true, [](QPainter& p) { Tray(p, true); }},
      {pictures::kToolRecall, true, [](QPainter& p) { Tray(p, false); }},
      {pictures::kToolPassword, true, Key},
      {pictures::kToolUser, true, Person},
      {pictures::kToolCopy, true, Sheets},
      {pictures::kToolDefault, true, Circle},
      {pictures::kToolView, true, Curve},
      {pictures::kToolLink, true, Chain},
      {pictures::kToolSetup, true, Faders},
      {pictures::kEqFlat, true, Flat},
      {pictures::kMuteOn, true, [](QPainter& p) { Speaker(p, true); }},
      {pictures::kMuteOff, true, [](QPainter& p) { Speaker(p, false); }},
      {pictures::kLogo, false, Logo},
  };
  for (const Picture& pic : kPictures) {
    if (pic.id == id) return &pic;
  }
  return nullptr;
}

void Knob(QPainter& p, const QRectF& r, bool focus) {
  QLinearGradient g(r.topLeft(), r.bottomLeft());
  g.setColorAt(0, focus ? kAccent.lighter(140) : QColor(250, 250, 250));
  g.setColorAt(1, focus ? kAccent : QColor(200, 204, 210));
  p.setPen(QPen(focus ? kAccent.darker(130) : kBorder, 1));
  p.setBrush(g);
  p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
  p.setPen(QPen(focus ? Qt::white : kInk, 1));
  const double mid = r.center().y();
  p.drawLine(QPointF(r.left() + r.width() * 0.2, mid), QPointF(r.right() - r.width() * 0.2, mid));
}

void Tab(QPainter& p, const QRectF& r, bool on) {
  QPainterPath path;
  const QRectF t = r.adjusted(0.5, 0.5, -0.5, 0);
  path.moveTo(t.bottomLeft());
  path.lineTo(t.left(), t.top() + 5);
  path.quadTo(t.topLeft(), QPointF(t.left() + 5, t.top()));
  path.lineTo(t.right() - 5, t.top());
  path.quadTo(t.topRight(), QPointF(t.right(), t.top() + 5));
  path.lineTo(t.bottomRight());
  QLinearGradient g(r.topLeft(), r.bottomLeft());
  g.setColorAt(0, on ? QColor(70, 74, 82) : QColor(236, 237, 240));
  g.setColorAt(1, on ? QColor(40, 42, 48) : QColor(214, 216, 222));
  p.setPen(QPen(on ? QColor(30, 30, 34) : kBorder, 1));
  p.setBrush(g);
  p.drawPath(path);
}

}  // namespace

void PaintPicture(QPainter& p, const QRectF& rect, const std::string& id, PictureState state) {
  if (id.empty()) return;
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  if (id == pictures::kKnob || id == pictures::kKnobFocus) {
    Knob(p, rect, id == pictures::kKnobFocus);
  } else if (id == pictures::kTabOn || id == pictures::kTabOff) {
    Tab(p, rect, id == pictures::kTabOn);
  } else {
    const Picture* pic = Find(id);
    const bool face = !pic || pic->face;
    if (face) Face(p, rect, state.pressed || id == pictures::kButtonDown, state.hover);
    if (pic) {
      const double side = std::min(rect.width(), rect.height()) * (face ? 0.72 : 1.0);
      p.translate(rect.center().x() - side / 2, rect.center().y() - side / 2);
      if (state.pressed) p.translate(0.5, 0.5);
      p.scale(side / 24, side / 24);
      if (!state.enabled) p.setOpacity(0.4);
      pic->glyph(p);
    }
  }
  p.restore();
}

}  // namespace velmark::ui::qt

#include "ui/qt/export/qt_graph_render.h"

#include <QGuiApplication>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <optional>

#include "ui/qt/qt_convert.h"

namespace velmark::ui::qt {
namespace {

constexpr double kTwipsPerPoint = 20.0;  // 1440 twips per inch, 72 points per inch
constexpr double kDefaultLabelPoints = 8.0;

// A curve is a long run of joined segments of one pen: drawn as one polyline it costs a
// fraction of the same segments drawn one by one, each with its own round caps. Curves are
// drawn from each point back to the one before, so a run may grow from either end.
void DrawRuns(QPainter& p, const std::vector<DrawnLine>& lines, const QPointF& origin, double sx,
              double sy, double pen_scale) {
  QPolygonF run;
  std::optional<QPointF> skipped;  // the run's last point, when it was too close to keep
  const DrawnLine* pen_of_run = nullptr;
  auto flush = [&] {
    if (skipped) run << *skipped;
    skipped.reset();
    if (pen_of_run && run.size() >= 2) {
      p.setPen(QPen(ToQColor(pen_of_run->colour), std::max(1, pen_of_run->width) * pen_scale,
                    Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.drawPolyline(run);
    }
    run.clear();
  };
  // A point within a pixel of the last one kept adds nothing to the picture but jitter: a
  // curve of 1584 points over fewer pixels keeps the points that show, and its last one.
  auto extend = [&](const QPointF& next) {
    const QPointF step = next - run.back();
    if (std::abs(step.x()) < 1.0 && std::abs(step.y()) < 1.0) {
      skipped = next;
    } else {
      run << next;
      skipped.reset();
    }
  };
  // The end a segment must meet to continue the run: its last point, skipped or kept.
  auto end = [&] { return skipped ? *skipped : run.back(); };
  for (const DrawnLine& l : lines) {
    const QPointF from = origin + QPointF(l.x1 * sx, l.y1 * sy);
    const QPointF to = origin + QPointF(l.x2 * sx, l.y2 * sy);
    const bool same_pen =
        pen_of_run && pen_of_run->colour == l.colour && pen_of_run->width == l.width;
    if (same_pen && run.size() == 2 && !skipped && to == run.front()) {
      std::swap(run[0], run[1]);  // the run was started the wrong way round
      extend(from);
    } else if (same_pen && !run.isEmpty() && from == end()) {
      extend(to);
    } else if (same_pen && !run.isEmpty() && to == end()) {
      extend(from);
    } else {
      flush();
      pen_of_run = &l;
      run << from << to;
    }
  }
  flush();
}

void PaintLabel(QPainter& p, const Label& label, double pixels_per_twip) {
  const QRectF rect(label.Left() * pixels_per_twip, label.Top() * pixels_per_twip,
                    label.Width() * pixels_per_twip, label.Height() * pixels_per_twip);
  QFont font = QGuiApplication::font();
  const double points = label.FontSize() > 0 ? label.FontSize() : kDefaultLabelPoints;
  font.setPixelSize(
      std::max(1, static_cast<int>(std::lround(points * kTwipsPerPoint * pixels_per_twip))));
  font.setBold(label.FontBold());
  p.setFont(font);
  p.setPen(ToQColor(label.ForeColor()));
  static constexpr Qt::Alignment kAlign[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter};
  p.drawText(rect, kAlign[static_cast<int>(label.TextAlignment())] | Qt::AlignTop,
             ToQ(label.Caption()));
}

}  // namespace

void PaintPictureBox(QPainter& p, const QRectF& rect, const PictureBox& picture, double pen_scale) {
  p.fillRect(rect, ToQColor(picture.BackColor()));
  p.setRenderHint(QPainter::Antialiasing);
  const bool scaled = picture.ScaleWidth() > 0 && picture.ScaleHeight() > 0;
  const double sx = scaled ? rect.width() / picture.ScaleWidth() : pen_scale / 15.0;
  const double sy = scaled ? rect.height() / picture.ScaleHeight() : pen_scale / 15.0;
  p.save();
  p.setClipRect(rect);
  DrawRuns(p, picture.DisplayList(), rect.topLeft(), sx, sy, pen_scale);
  p.restore();
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(QColor(120, 124, 130));
  p.setBrush(Qt::NoBrush);
  p.drawRect(rect.adjusted(0, 0, -1, -1));
}

QSize SheetPixelSize(const GraphSheet& sheet, double pixels_per_twip) {
  return QSize(std::max(1, static_cast<int>(std::lround(sheet.width * pixels_per_twip))),
               std::max(1, static_cast<int>(std::lround(sheet.height * pixels_per_twip))));
}

void PaintGraphSheet(QPainter& p, const GraphSheet& sheet, double pixels_per_twip) {
  const QSize size = SheetPixelSize(sheet, pixels_per_twip);
  p.fillRect(QRect(QPoint(0, 0), size), ToQColor(sheet.back));
  if (sheet.picture) {
    const PictureBox& pic = *sheet.picture;
    const QRectF rect(std::round(sheet.picture_left * pixels_per_twip),
                      std::round(sheet.picture_top * pixels_per_twip),
                      std::round(pic.Width() * pixels_per_twip),
                      std::round(pic.Height() * pixels_per_twip));
    PaintPictureBox(p, rect, pic, pixels_per_twip * 15.0);
  }
  p.setRenderHint(QPainter::TextAntialiasing);
  for (const Label* label : sheet.labels) {
    if (label) PaintLabel(p, *label, pixels_per_twip);
  }
}

}  // namespace velmark::ui::qt

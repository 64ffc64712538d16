#pragma once
// Draws the picture of an image control by its id (ui/pictures.h) into a rectangle.

#include <QPainter>
#include <QRectF>
#include <string>

namespace velmark::ui::qt {

struct PictureState {
  bool pressed = false;
  bool hover = false;
  bool enabled = true;
};

// Unknown ids draw a plain button face; the empty id draws nothing.
void PaintPicture(QPainter& painter, const QRectF& rect, const std::string& id, PictureState state);

}  // namespace velmark::ui::qt

#pragma once
// Painting of picture boxes and graph sheets with QPainter, shared by the picture widgets on
// screen and by the pictures written to files or copied: whatever the device, the display
// list is painted by the same code.

#include <QPainter>
#include <QRectF>

#include "ui/controls.h"
#include "ui/graph_pictures.h"

namespace velmark::ui::qt {

// The picture's background and display list scaled from its logical units into `rect`, with
// round caps and joins; a line of width w is w × pen_scale pixels wide (pen_scale is the
// display's logical dpi / 96, or what a file's size calls for).
void PaintPictureBox(QPainter& p, const QRectF& rect, const PictureBox& picture, double pen_scale);

// The whole sheet at `pixels_per_twip`: background, the picture and its thin grey border, the
// labels in their fonts and colours.
void PaintGraphSheet(QPainter& p, const GraphSheet& sheet, double pixels_per_twip);

// Size in pixels of a sheet painted at `pixels_per_twip` (at least 1 × 1).
QSize SheetPixelSize(const GraphSheet& sheet, double pixels_per_twip);

}  // namespace velmark::ui::qt

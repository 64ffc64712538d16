#pragma once
// Conversions between the toolkit-neutral controls and Qt: texts (UTF-8), colours
// (R + 256 G + 65536 B), geometry (twips to pixels), mouse buttons and file filters.

#include <QColor>
#include <QMouseEvent>
#include <QRect>
#include <QString>
#include <string>

#include "ui/control.h"

namespace velmark::ui::qt {

inline QString ToQ(const std::string& s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}
inline std::string FromQ(const QString& s) {
  return s.toUtf8().toStdString();
}

inline QColor ToQColor(Colour c) {
  return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

// Logical units of the windows: 15 twips per pixel at 96 dpi, times the display scale.
struct Geometry {
  double scale = 1.0;  // logical dpi / 96
  int Px(int twips) const { return static_cast<int>(twips / 15.0 * scale + 0.5); }
  double Twips(double px) const { return px * 15.0 / scale; }
  QRect Rect(const Control& c) const {
    return QRect(Px(c.Left()), Px(c.Top()), Px(c.Width()), Px(c.Height()));
  }
};

// The button codes of the mouse events: 1 left, 2 right, 4 middle; shift 1, ctrl 2, alt 4.
int ButtonCode(Qt::MouseButtons buttons);
int ShiftCode(Qt::KeyboardModifiers modifiers);

// "file preset (*.C44)|*.C44|all (*.*)|*.*" in the form Qt's file dialogs take:
// "file preset (*.C44);;all (*.*)". A description without its patterns gets them appended.
QString ConvertFilter(const std::string& filter);

// Byte offset in a UTF-8 text from a character position in its QString, and back.
int ByteOffset(const QString& text, int chars);
int CharOffset(const std::string& text, int bytes);

}  // namespace velmark::ui::qt

#include "ui/qt/qt_convert.h"

#include <QStringList>

namespace velmark::ui::qt {

int ButtonCode(Qt::MouseButtons buttons) {
  int code = 0;
  if (buttons & Qt::LeftButton) code |= kLeftButton;
  if (buttons & Qt::RightButton) code |= kRightButton;
  if (buttons & Qt::MiddleButton) code |= kMiddleButton;
  return code;
}

int ShiftCode(Qt::KeyboardModifiers modifiers) {
  int code = 0;
  if (modifiers & Qt::ShiftModifier) code |= 1;
  if (modifiers & Qt::ControlModifier) code |= 2;
  if (modifiers & Qt::AltModifier) code |= 4;
  return code;
}

QString ConvertFilter(const std::string& filter) {
  const QStringList parts = ToQ(filter).split('|');
  QStringList out;
  for (qsizetype i = 0; i < parts.size(); i += 2) {
    QString description = parts[i].trimmed();
    QString patterns = i + 1 < parts.size() ? parts[i + 1].trimmed() : QString();
    patterns.replace(';', ' ');
    if (!patterns.isEmpty() && !description.contains('(' + patterns + ')')) {
      description += " (" + patterns + ")";
    }
    if (!description.isEmpty()) out << description;
  }
  return out.join(";;");
}

int ByteOffset(const QString& text, int chars) {
  return static_cast<int>(text.left(chars).toUtf8().size());
}

int CharOffset(const std::string& text, int bytes) {
  bytes = std::clamp(bytes, 0, static_cast<int>(text.size()));
  return static_cast<int>(ToQ(text.substr(0, static_cast<std::size_t>(bytes))).size());
}

}  // namespace velmark::ui::qt

#include "ui/qt/qt_stage.h"

#include <QApplication>
#include <QMenu>
#include <QPainter>

#include <QPixmap>
#include <cstdlib>

#include "ui/qt/qt_services.h"

namespace velmark::ui::qt {

QtSession::QtSession(int& argc, char** argv) {
  const bool display = std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
  if (!display && !std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  app_ = std::make_unique<QApplication>(argc, argv);
  ApplyDefaultLook(*app_);
}

QtStage::QtStage() {
  // The frame's unload ends a scenario's program, not the scenario program itself.
  desktop_.OnFrameClosed = nullptr;
}

void QtStage::SetModalDriver(std::function<void(Window&)> driver) {
  desktop_.SetModalDriver(std::move(driver));
}

void QtStage::Settle() {
  QCoreApplication::processEvents();
}

std::string QtStage::Screenshot(Window& window, const std::string& png_path) {
  QWidget* w = desktop_.WidgetOf(window);
  if (!w) return "window " + window.Name() + " has not been shown";
  Settle();
  QPixmap picture = w->grab();
  // A popup menu is a window of its own: it goes into the picture where it stands over the
  // window, and closes, since the scenario's next line chooses from it without it.
  for (QWidget* top : QApplication::topLevelWidgets()) {
    auto* menu = qobject_cast<QMenu*>(top);
    if (!menu || !menu->isVisible()) continue;
    QPainter painter(&picture);
    painter.drawPixmap(menu->mapToGlobal(QPoint(0, 0)) - w->mapToGlobal(QPoint(0, 0)),
                       menu->grab());
    painter.end();
    menu->hide();
  }
  if (!picture.save(QString::fromStdString(png_path), "PNG")) return "cannot write " + png_path;
  return {};
}

}  // namespace velmark::ui::qt

#include "ui/qt/qt_services.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLocale>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QRegularExpression>
#include <QScreen>
#include <QSpacerItem>
#include <QStyle>
#include <QStyleFactory>

#include "ui/controls.h"
#include "ui/pictures.h"
#include "ui/qt/qt_convert.h"
#include "ui/qt/qt_pictures.h"

namespace velmark::ui::qt {

namespace {

constexpr QMessageBox::Icon kIcons[] = {
    QMessageBox::NoIcon,  // None
    QMessageBox::Information,
    QMessageBox::Warning,   // Exclamation
    QMessageBox::Critical,  // Critical
    QMessageBox::Critical,  // Stop
};

}  // namespace

MsgAnswer QtMessageBox::Show(const std::string& text, const std::string& title, MsgIcon icon,
                             MsgButtons buttons) {
  const bool yes_no = buttons == MsgButtons::YesNo;
  QMessageBox box(kIcons[static_cast<int>(icon)], ToQ(title), ToQ(text),
                  yes_no ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok,
                  QApplication::activeWindow());
  // A question without an icon of its own stays without one: the buttons say it is a question.
  // A short text would leave the box narrower than its title; a spacer keeps the title whole.
  if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
    const int title_width = box.fontMetrics().horizontalAdvance(ToQ(title)) + 160;
    grid->addItem(new QSpacerItem(title_width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                  grid->rowCount(), 0, 1, grid->columnCount());
  }
  const int result = box.exec();
  if (!yes_no) return MsgAnswer::Ok;
  return result == QMessageBox::Yes ? MsgAnswer::Yes : MsgAnswer::No;
}

std::optional<std::string> QtFileDialog::OpenFile(const FileRequest& request) {
  const QString path =
      QFileDialog::getOpenFileName(QApplication::activeWindow(), "Open", ToQ(request.start_folder),
                                   ConvertFilter(request.filter));
  if (path.isEmpty()) return std::nullopt;
  return FromQ(path);
}

std::optional<std::string> QtFileDialog::SaveFile(const FileRequest& request) {
  QFileDialog::Options options;
  if (!request.overwrite_prompt) options |= QFileDialog::DontConfirmOverwrite;
  QString chosen_filter;
  QString path = QFileDialog::getSaveFileName(
      QApplication::activeWindow(), "Save As", ToQ(request.start_folder),
      ConvertFilter(request.filter), &chosen_filter, options);
  if (path.isEmpty()) return std::nullopt;
  if (request.add_filter_suffix && QFileInfo(path).suffix().isEmpty()) {
    // "PNG picture (*.png)": the first pattern's extension.
    const QRegularExpressionMatch m = QRegularExpression(R"(\*\.(\w+))").match(chosen_filter);
    if (m.hasMatch()) path += "." + m.captured(1);
  }
  return FromQ(path);
}

QtClock::QtClock() {
  elapsed_.start();
}

QtClock::~QtClock() = default;

void QtClock::Schedule(Timer& timer, int interval_ms) {
  Entry& e = timers_[&timer];
  if (!e.qtimer) {
    e.qtimer = std::make_unique<QTimer>();
    e.qtimer->setTimerType(Qt::PreciseTimer);
    Timer* t = &timer;
    QObject::connect(e.qtimer.get(), &QTimer::timeout, [this, t] {
      auto it = timers_.find(t);
      if (it == timers_.end() || it->second.firing) return;
      it->second.firing = true;
      t->Fire();
      // The handler may have destroyed the timer; look it up again.
      if (auto again = timers_.find(t); again != timers_.end()) again->second.firing = false;
    });
  }
  e.qtimer->start(interval_ms);
}

void QtClock::Cancel(Timer& timer) {
  // Stopped, not deleted: Cancel may come from inside the timer's own timeout.
  auto it = timers_.find(&timer);
  if (it != timers_.end()) it->second.qtimer->stop();
}

void QtClock::Sleep(int ms) {
  if (ms <= 0) return;
  QEventLoop loop;
  QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
  loop.exec(QEventLoop::ExcludeUserInputEvents);
}

ScreenMetrics QtScreen::Metrics() const {
  ScreenMetrics m;
  if (const QScreen* s = QGuiApplication::primaryScreen()) {
    m.dpi = static_cast<int>(s->logicalDotsPerInchX() + 0.5);
    m.width_px = s->geometry().width();
    m.height_px = s->geometry().height();
  }
  return m;
}

std::string QtScreen::LocaleText(int item) const {
  if (item != kLocaleDecimalSeparator) return {};
  return FromQ(QLocale::system().decimalPoint());
}

void ApplyDefaultLook(QApplication& app) {
  if (QStyle* fusion = QStyleFactory::create("Fusion")) {
    app.setStyle(fusion);
    app.setPalette(fusion->standardPalette());
  }
  // The program's logo as the window icon, drawn at the sizes title bars and task bars use.
  QIcon icon;
  for (int side : {16, 24, 32, 48, 64}) {
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    PaintPicture(painter, QRectF(0, 0, side, side), pictures::kLogo, PictureState{});
    painter.end();
    icon.addPixmap(pixmap);
  }
  app.setWindowIcon(icon);
}

}  // namespace velmark::ui::qt

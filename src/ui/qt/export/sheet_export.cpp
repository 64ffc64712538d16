#include "ui/qt/export/sheet_export.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <cstdio>

#include "ui/qt/export/qt_graph_render.h"
#include "ui/qt/qt_convert.h"

namespace velmark::ui::qt {
namespace {

QImage SheetImage(const GraphSheet& sheet) {
  QImage image(SheetPixelSize(sheet, kSheetPixelsPerTwip), QImage::Format_RGB32);
  image.fill(ToQColor(sheet.back));
  QPainter p(&image);
  PaintGraphSheet(p, sheet, kSheetPixelsPerTwip);
  return image;
}

std::string WritePng(const GraphSheet& sheet, const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return FromQ(file.errorString());
  if (!SheetImage(sheet).save(&file, "PNG")) return "the picture could not be encoded";
  if (!file.flush()) return FromQ(file.errorString());
  return {};
}

std::string WriteSvg(const GraphSheet& sheet, const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return FromQ(file.errorString());
  const QSize size = SheetPixelSize(sheet, kSheetPixelsPerTwip);
  QSvgGenerator svg;
  svg.setOutputDevice(&file);
  svg.setSize(size);
  svg.setViewBox(QRect(QPoint(0, 0), size));
  svg.setResolution(96);
  svg.setTitle("VELMARK Control frequency response");
  {
    QPainter p;
    if (!p.begin(&svg)) return "the drawing could not be started";
    PaintGraphSheet(p, sheet, kSheetPixelsPerTwip);
    p.end();
  }
  if (!file.flush() || file.error() != QFileDevice::NoError) return FromQ(file.errorString());
  return {};
}

}  // namespace

std::string WriteSheet(const GraphSheet& sheet, PictureFormat format, const std::string& path) {
  if (!QGuiApplication::instance()) return "no graphics application is running";
  if (sheet.width <= 0 || sheet.height <= 0) return "the graph has no size";
  const QString file = ToQ(path);
  return format == PictureFormat::Png ? WritePng(sheet, file) : WriteSvg(sheet, file);
}

std::string QtPictures::SaveSheet(const GraphSheet& sheet, PictureFormat format,
                                  const std::string& path) {
  return WriteSheet(sheet, format, path);
}

std::string QtPictures::CopySheet(const GraphSheet& sheet) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard) return "there is no clipboard";
  if (sheet.width <= 0 || sheet.height <= 0) return "the graph has no size";
  clipboard->setImage(SheetImage(sheet));
  return {};
}

struct OffscreenGraphics::App {
  int argc = 1;
  char name[16] = "velmark-cli";
  char* argv[2] = {name, nullptr};
  QGuiApplication app{argc, argv};
};

namespace {

// A command-line program reports its own errors: the toolkit's notes about its environment
// (no runtime folder, no session bus) are not for its user.
void OnlySevereMessages(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(text));
}

}  // namespace

OffscreenGraphics::OffscreenGraphics() {
  if (QGuiApplication::instance()) return;
  // No display is needed or used: the pictures are painted into memory.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(OnlySevereMessages);
  app_ = std::make_unique<App>();
}

OffscreenGraphics::~OffscreenGraphics() = default;

}  // namespace velmark::ui::qt

// Graph pictures written by the Qt binding: a PNG and an SVG of the edit window's graph for a
// decoded configuration, at the documented size, with the grid, the labels and the channel's
// curve where the graph puts it.

#include <gtest/gtest.h>

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QSet>
#include <QSvgRenderer>
#include <filesystem>

#include "editor/graph_sheet.h"
#include "link/temp_dir.h"
#include "model/defaults.h"
#include "report/decoded_unit.h"
#include "ui/qt/export/sheet_export.h"
#include "views/channel_graph.h"

namespace velmark {
namespace {

constexpr int kWidthPx = 13560 * 2 / 15, kHeightPx = 3450 * 2 / 15;

QRgb Rgb(ui::Colour c) {
  return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

class GraphExportTest : public ::testing::Test {
 protected:
  // Input A with a +12 dB bell at 1 kHz, Q 1.4, drawn on the decoded window's graph.
  GraphExportTest() {
    ParamImage img{};
    std::copy(DefaultImage.begin(), DefaultImage.end(), img.begin());
    const int a = EqBandAddr[BandOf(0, 7)];
    WriteWord(img, a + 1, 1000);
    img[a + 3] = 22;
    img[a + 4] = 54;  // +12 dB
    unit.Decode(img);
    DrawGraphCurve(unit.Window(), unit.Responses().ChannelResponse[0], 0);
  }
  std::string Write(ui::PictureFormat format, const std::string& name) {
    const std::string path = (dir.path() / name).string();
    EXPECT_EQ(ui::qt::WriteSheet(EditGraphSheet(unit.Window()), format, path), "");
    return path;
  }
  DecodedUnit unit;
  testing::TempDir dir;
};

TEST_F(GraphExportTest, PngHasTheSheetsSizeTheGridAndTheCurveAtItsPeak) {
  const QImage image(QString::fromStdString(Write(ui::PictureFormat::Png, "a.png")));
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.size(), QSize(kWidthPx, kHeightPx));
  QSet<QRgb> colours;
  for (int y = 0; y < image.height(); y += 2) {
    for (int x = 0; x < image.width(); x += 2) colours.insert(image.pixel(x, y) & 0xFFFFFF);
  }
  EXPECT_GT(colours.size(), 20);  // background, grid, curve, labels and their antialiasing
  EXPECT_TRUE(colours.contains(Rgb(kGridColour) & 0xFFFFFF));
  // The peak: +12 dB at 1 kHz, in the picture 480 / 240 twips from the sheet's corner.
  const GraphScale s = ScaleOf(unit.Window().Picture1);
  const double px = 2.0 / 15.0;
  const int x = static_cast<int>((480 + s.X(1000)) * px),
            y = static_cast<int>((240 + s.Y(12)) * px);
  int curve_pixels = 0;
  for (int dy = -3; dy <= 3; ++dy) {
    for (int dx = -3; dx <= 3; ++dx) {
      curve_pixels +=
          (image.pixel(x + dx, y + dy) & 0xFFFFFF) == (Rgb(ChannelColour[0]) & 0xFFFFFF);
    }
  }
  EXPECT_GT(curve_pixels, 3) << "no curve at " << x << "," << y;
}

TEST_F(GraphExportTest, SvgParsesAtTheSameSizeWithPathsAndLabels) {
  const std::string path = Write(ui::PictureFormat::Svg, "a.svg");
  QSvgRenderer svg(QString::fromStdString(path));
  ASSERT_TRUE(svg.isValid());
  // Pixels in the view box; the width and height in mm at 96 dpi, as browsers take them (Qt's
  // own renderer reads mm at 90 dpi, so its default size is smaller).
  EXPECT_EQ(svg.viewBox(), QRect(0, 0, kWidthPx, kHeightPx));
  QFile file(QString::fromStdString(path));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray text = file.readAll();
  EXPECT_GT(text.count("<path") + text.count("<polyline"), 10);
  EXPECT_TRUE(text.contains(QColor(Rgb(ChannelColour[0])).name().toLatin1()));
  EXPECT_TRUE(text.contains("20 kHz"));
  EXPECT_TRUE(text.contains(QString("width=\"%1mm\"").arg(kWidthPx * 25.4 / 96).toLatin1()))
      << text.left(400).toStdString();
}

TEST_F(GraphExportTest, CopyPutsThePictureOnTheClipboard) {
  QGuiApplication::clipboard()->clear();
  ui::qt::QtPictures pictures;
  ASSERT_EQ(pictures.CopySheet(EditGraphSheet(unit.Window())), "");
  const QImage copied = QGuiApplication::clipboard()->image();
  EXPECT_EQ(copied.size(), QSize(kWidthPx, kHeightPx));
  EXPECT_EQ(copied.pixel(kWidthPx / 2, kHeightPx / 2) & 0xFFFFFF,
            QImage(QString::fromStdString(Write(ui::PictureFormat::Png, "b.png")))
                    .pixel(kWidthPx / 2, kHeightPx / 2) &
                0xFFFFFF);
}

TEST_F(GraphExportTest, AFolderThatIsNotThereIsAnError) {
  const std::string path = (dir.path() / "none" / "a.png").string();
  for (auto format : {ui::PictureFormat::Png, ui::PictureFormat::Svg}) {
    EXPECT_NE(ui::qt::WriteSheet(EditGraphSheet(unit.Window()), format, path), "");
  }
  EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace
}  // namespace velmark

#pragma once
// Graph sheets written as PNG or SVG files and put on the clipboard by Qt, behind an interface
// without Qt types, so that programs without any other Qt code (velmark-cli) can use it.

#include <memory>
#include <string>

#include "ui/graph_pictures.h"

namespace velmark::ui::qt {

// Writes the sheet at kSheetPixelsPerTwip: a PNG of that many pixels, or an SVG drawing of
// the same size in pixels. Needs a running application object (see OffscreenGraphics).
// Returns the error text, empty on success.
std::string WriteSheet(const GraphSheet& sheet, PictureFormat format, const std::string& path);

// The Qt picture service of the program: files as WriteSheet, the clipboard of the desktop.
class QtPictures final : public PictureService {
 public:
  std::string SaveSheet(const GraphSheet& sheet, PictureFormat format,
                        const std::string& path) override;
  std::string CopySheet(const GraphSheet& sheet) override;
};

// A graphics application on the offscreen platform for a program without a window: no display
// is needed. Creates one only when the program has none yet.
class OffscreenGraphics {
 public:
  OffscreenGraphics();
  ~OffscreenGraphics();
  OffscreenGraphics(const OffscreenGraphics&) = delete;
  OffscreenGraphics& operator=(const OffscreenGraphics&) = delete;

 private:
  struct App;
  std::unique_ptr<App> app_;
};

}  // namespace velmark::ui::qt

#pragma once
// A response graph as a picture of its own: the picture box with its display list and the axis
// labels around it, laid out on a sheet (the frame that holds them). The platform writes such a
// sheet as a PNG or SVG file or puts it on the clipboard; the Qt binding paints it with the same
// code that paints the picture box on screen.

#include <string>
#include <vector>

#include "ui/controls.h"

namespace velmark::ui {

// Positions are in the controls' logical units (twips), relative to the sheet's top left.
struct GraphSheet {
  int width = 0, height = 0;
  Colour back = kBlack;
  const PictureBox* picture = nullptr;  // its display list fills its own width and height
  int picture_left = 0, picture_top = 0;
  std::vector<const Label*> labels;  // placed by their Left/Top, in their fore colour and font
};

enum class PictureFormat { Png, Svg };

// Pixels per twip of a written or copied sheet: twice the size the window shows at 96 dpi, so
// that the picture stays sharp when a report scales it.
inline constexpr double kSheetPixelsPerTwip = 2.0 / 15.0;

class PictureService {
 public:
  virtual ~PictureService() = default;
  // Each returns the error text, empty on success.
  virtual std::string SaveSheet(const GraphSheet& sheet, PictureFormat format,
                                const std::string& path) = 0;
  virtual std::string CopySheet(const GraphSheet& sheet) = 0;
};

}  // namespace velmark::ui

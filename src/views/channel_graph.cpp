#include "views/channel_graph.h"

#include <algorithm>
#include <cmath>

namespace velmark {
namespace {

inline constexpr double kDecades = 3.0;  // log10 20000 − log10 20
inline constexpr double kBottomLineDb = -29.8;

// Frequencies of the vertical grid lines (none at 60..90 Hz).
inline constexpr std::array<double, 24> kGridLineHz = {
    20,  30,   40,   50,   100,  200,  300,  400,  500,  600,  700,   800,
    900, 1000, 2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000, 10000, 19900};

// log10(FreqGrid[p] / 20) for every grid point, computed once; the x of a point is Kx times it.
const Curve& GridDecades() {
  static const Curve decades = [] {
    Curve d{};
    for (int p = 0; p < kGridPoints; ++p) d[p] = std::log10(FreqGrid[p] / 20.0);
    return d;
  }();
  return decades;
}

// Round half to even, as std::nearbyint in the default rounding mode, without a library call:
// adding and removing 1.5·2^52 leaves no fraction bits, and the addition rounds to nearest even.
// Values of 2^51 and more are whole numbers already (NaN stays NaN).
inline double RoundHalfEven(double v) {
  constexpr double kShift = 0x1.8p52;
  return std::fabs(v) < 0x1p51 ? (v + kShift) - kShift : v;
}

void MoveLeft(ui::Label* label, int left) {
  if (label && label->Left() != left) label->SetLeft(left);
}

void MoveTop(ui::Label* label, int top) {
  if (label && label->Top() != top) label->SetTop(top);
}

}  // namespace

double GraphScale::X(double hz) const {
  return Kx * std::log10(hz / 20.0);
}

int RoundCoordinate(double v) {
  constexpr double kLimit = 1e9;  // far outside any window, well inside int
  if (std::isnan(v)) return 0;
  return static_cast<int>(std::nearbyint(std::clamp(v, -kLimit, kLimit)));
}

GraphScale ScaleOf(const ui::PictureBox& picture) {
  GraphScale s;
  s.W = picture.ScaleWidth();
  s.H = picture.ScaleHeight();
  s.Ky = s.H / 60.0;
  s.Y0 = 30.0 * s.Ky;
  s.Kx = s.W / kDecades;
  return s;
}

void DrawEqGridLines(ui::PictureBox& picture, const GraphScale& scale) {
  picture.SetDrawWidth(kGridPenWidth);
  picture.SetPenColour(kGridColour);
  // 0.2 dB above the bottom edge, so that it stays visible.
  const double bottom = scale.Y(kBottomLineDb);
  picture.Line(scale.W, bottom, 0.0, bottom);
  for (int k = 1; k <= 12; ++k) {
    const double y = scale.Y(k / 12.0 * 60.0 - 30.0);
    picture.Line(0.0, y, scale.W, y);
  }
  for (double hz : kGridLineHz) {
    const double x = scale.X(hz);
    picture.Line(x, scale.Y(-30.0), x, scale.Y(30.0));
  }
}

void PlaceGraphLabels(const GraphCanvas& canvas, const GraphScale& scale) {
  const GraphLabelLayout& layout = canvas.Layout ? *canvas.Layout : kEditGraphLabels;
  const double s = scale.W / kGraphDesignWidth;
  MoveLeft(canvas.LblFreqGraph[0], layout.freq_left[0]);
  for (int i = 1; i < 5; ++i)
    MoveLeft(canvas.LblFreqGraph[i], RoundCoordinate(layout.freq_left[i] * s));
  for (int k = 0; k < 7; ++k) {
    const int top = RoundCoordinate(layout.gain_top[k] * s);
    MoveTop(canvas.LblAmpGraph[k], top);
    MoveTop(canvas.LblAmpGraph[k + 10], top);
  }
}

GraphScale DrawEqGrid(GraphCanvas& canvas) {
  if (!canvas.Picture1) return {};
  const GraphScale scale = ScaleOf(*canvas.Picture1);
  DrawEqGridLines(*canvas.Picture1, scale);
  PlaceGraphLabels(canvas, scale);
  return scale;
}

GraphPoint CurvePoint(const GraphScale& scale, const Curve& curve, int p) {
  return {RoundHalfEven(scale.Kx * GridDecades()[p]),
          RoundHalfEven(scale.Y0 - scale.Ky * curve[p])};
}

void DrawResponseSegment(ui::PictureBox& picture, const GraphScale& scale, const Curve& curve,
                         int p, ui::Colour colour) {
  if (p < 0 || p >= kGridPoints) return;
  picture.SetDrawWidth(kCurvePenWidth);
  picture.SetPenColour(colour);
  const GraphPoint here = CurvePoint(scale, curve, p);
  if (p == 0) {
    picture.Line(0.0, here.y, here.x, here.y);  // FreqGrid[0] is 20 Hz: a single point
    return;
  }
  const GraphPoint before = CurvePoint(scale, curve, p - 1);
  picture.Line(here.x, here.y, before.x, before.y);
}

void DrawResponseCurve(ui::PictureBox& picture, const GraphScale& scale, const Curve& curve,
                       ui::Colour colour) {
  picture.SetDrawWidth(kCurvePenWidth);
  picture.SetPenColour(colour);
  GraphPoint before = CurvePoint(scale, curve, 0);
  picture.Line(0.0, before.y, before.x, before.y);
  for (int p = 1; p < kGridPoints; ++p) {
    const GraphPoint here = CurvePoint(scale, curve, p);
    picture.Line(here.x, here.y, before.x, before.y);
    before = here;
  }
}

void RedrawChannelGraph(ProgramState& state, GraphCanvas& canvas, int ch) {
  if (!canvas.Picture1) return;
  ui::PictureBox& picture = *canvas.Picture1;
  picture.Cls();
  const GraphScale scale = DrawEqGrid(canvas);
  const bool known =
      ch >= 0 && ch < kChannelCount && state.CurUnit >= 0 && state.CurUnit < kUnitCount;
  if (known && !state.DrawSuppressed) {
    const Curve& curve = state.Responses(state.CurUnit).ChannelResponse[ch];
    DrawResponseCurve(picture, scale, curve, ChannelColour[ch]);
  }
  picture.Flush();
}

}  // namespace velmark

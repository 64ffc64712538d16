#pragma once
// The frequency-response graph: a logarithmic axis 20 Hz .. 20 kHz across the picture, −30..+30
// dB from bottom to top, a grey grid and the summed response of a channel as a thick curve in
// the channel's colour. The edit window draws its current channel here, the overview window
// draws several curves on its own picture with the same grid and the same segment drawing.
//
// The scale is not shared state: each picture's GraphScale is computed from that picture's own
// size whenever its grid is drawn, so one window's drawing never changes another's.

#include <array>

#include "model/program_state.h"
#include "model/responses.h"
#include "ui/controls.h"

namespace velmark {

// Geometry of a graph picture W × H (design size 12600 × 2880).
struct GraphScale {
  double W = 0, H = 0;
  double Kx = 0;           // units per decade: W / (log10 20000 − log10 20)
  double Ky = 0;           // units per dB: H / 60
  double Y0 = 0;           // y of 0 dB: 30 Ky
  double CursorHalf = 60;  // half the 120-unit band cursor

  double X(double hz) const;  // Kx · log10(hz / 20)
  double Y(double db) const { return Y0 - Ky * db; }
};

GraphScale ScaleOf(const ui::PictureBox& picture);

// A coordinate as a whole number of units: rounded half to even, bounded to ±1e9, NaN → 0.
int RoundCoordinate(double v);

inline constexpr ui::Colour kGridColour = ui::MakeColour(80, 80, 80);
inline constexpr int kGridPenWidth = 1, kCurvePenWidth = 2;
inline constexpr double kGraphDesignWidth = 12600;

// Design positions of a graph window's axis labels, multiplied by W / 12600 when placed; the
// first frequency label ("20Hz") is never scaled.
struct GraphLabelLayout {
  std::array<int, 5> freq_left;  // LblFreqGraph 0..4: "20Hz" .. "20 kHz"
  std::array<int, 7> gain_top;   // LblAmpGraph k and k + 10, k = 0..6: "+30" .. "-30"
};
inline constexpr GraphLabelLayout kEditGraphLabels = {{240, 3160, 7300, 11500, 12700},
                                                      {160, 620, 1120, 1580, 2080, 2540, 2980}};
inline constexpr GraphLabelLayout kOverviewGraphLabels = {
    {240, 3160, 7300, 11500, 12700}, {160, 1110, 2060, 3010, 3960, 4910, 5860}};
// Captions of the axis labels, in the order of the layout's positions.
inline constexpr std::array<const char*, 5> kGraphFreqCaptions = {"20Hz", "100Hz", "1 kHz",
                                                                  "10 kHz", "20 kHz"};
inline constexpr std::array<const char*, 7> kGraphGainCaptions = {"+30", "+20", "+10", " 0",
                                                                  "-10", "-20", "-30"};

// What a window hands in so that its graph can be drawn: its picture and axis labels. Any
// pointer may be null (a label that does not exist is simply not moved).
struct GraphCanvas {
  ui::PictureBox* Picture1 = nullptr;
  std::array<ui::Label*, 5> LblFreqGraph{};
  std::array<ui::Label*, 17> LblAmpGraph{};  // elements 0..6 left, 10..16 right; 7..9 unused
  const GraphLabelLayout* Layout = &kEditGraphLabels;
};

// Grid lines only, for a given scale: the −29.8 dB line from right to left, the lines every
// 5 dB from −25 to +30, the 24 frequency lines; pen width 1, grey.
void DrawEqGridLines(ui::PictureBox& picture, const GraphScale& scale);

// Moves the axis labels to their scaled positions (only those that differ).
void PlaceGraphLabels(const GraphCanvas& canvas, const GraphScale& scale);

// Computes the picture's scale, draws the grid and places the labels. Returns the scale (all
// zero when the canvas has no picture).
GraphScale DrawEqGrid(GraphCanvas& canvas);

// Rounded picture coordinates of grid point p of a curve.
struct GraphPoint {
  double x, y;
  bool operator==(const GraphPoint&) const = default;
};
GraphPoint CurvePoint(const GraphScale& scale, const Curve& curve, int p);

// The piece of a curve that ends at grid point p: for p = 0 the single point at the left edge,
// otherwise a line from point p back to point p − 1; pen width 2 in `colour`.
void DrawResponseSegment(ui::PictureBox& picture, const GraphScale& scale, const Curve& curve,
                         int p, ui::Colour colour);

// A whole curve, p = 0..1583, pen width 2 in `colour`; for the overview's sums as well.
void DrawResponseCurve(ui::PictureBox& picture, const GraphScale& scale, const Curve& curve,
                       ui::Colour colour);

// Clears the picture, draws grid and labels and, unless DrawSuppressed, the stored curve of
// channel ch of CurUnit. Out-of-range channels get the grid only.
void RedrawChannelGraph(ProgramState& state, GraphCanvas& canvas, int ch);

}  // namespace velmark

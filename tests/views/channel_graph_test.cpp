#include "views/channel_graph.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace velmark {
namespace {

constexpr ui::Colour kGrey = ui::MakeColour(80, 80, 80);
constexpr std::size_t kGridLines = 37;

class CountingView : public ui::ControlView {
 public:
  void Refresh(ui::Control&) override { ++refreshes; }
  int refreshes = 0;
};

struct Canvas {
  explicit Canvas(double w = 12600, double h = 2880) {
    picture.SetScale(w, h);
    canvas.Picture1 = &picture;
    for (int i = 0; i < 5; ++i) canvas.LblFreqGraph[i] = &freq[i];
    for (int k = 0; k < 7; ++k) {
      canvas.LblAmpGraph[k] = &left[k];
      canvas.LblAmpGraph[k + 10] = &right[k];
    }
  }
  const std::vector<ui::DrawnLine>& Lines() const { return picture.DisplayList(); }
  ui::PictureBox picture;
  ui::Label freq[5], left[7], right[7];
  GraphCanvas canvas;
};

Curve Constant(double db) {
  Curve c;
  c.fill(db);
  return c;
}

TEST(EqGrid, LinesAtTheirLevelsAndFrequencies) {
  Canvas c(12600, 2880);
  const GraphScale s = DrawEqGrid(c.canvas);
  EXPECT_EQ(s.Kx, 4200.0);
  EXPECT_EQ(s.Ky, 48.0);
  EXPECT_EQ(s.Y0, 1440.0);
  const auto& lines = c.Lines();
  ASSERT_EQ(lines.size(), kGridLines);
  for (const auto& l : lines) {
    EXPECT_EQ(l.colour, kGrey);
    EXPECT_EQ(l.width, 1);
  }
  // −29.8 dB, drawn from the right edge to the left one.
  EXPECT_EQ(lines[0].x1, 12600.0);
  EXPECT_EQ(lines[0].x2, 0.0);
  EXPECT_NEAR(lines[0].y1, 1440 + 48 * 29.8, 1e-9);
  EXPECT_NEAR(lines[0].y2, 1440 + 48 * 29.8, 1e-9);
  for (int k = 1; k <= 12; ++k) {
    const auto& l = lines[k];
    const double y = 1440 - 48 * (5.0 * k - 30);  // −25 … +30 dB
    EXPECT_NEAR(l.y1, y, 1e-9) << k;
    EXPECT_NEAR(l.y2, y, 1e-9) << k;
    EXPECT_EQ(std::fabs(l.x2 - l.x1), 12600.0) << k;
  }
  EXPECT_EQ(lines[12].y1, 0.0);  // +30 dB on the top edge
  const double hz[24] = {20,  30,   40,   50,   100,  200,  300,  400,  500,  600,  700,   800,
                         900, 1000, 2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000, 10000, 19900};
  for (int i = 0; i < 24; ++i) {
    const auto& l = lines[13 + i];
    const double x = 4200 * std::log10(hz[i] / 20);
    EXPECT_NEAR(l.x1, x, 1e-9) << hz[i];
    EXPECT_EQ(l.x1, l.x2);
    EXPECT_EQ(l.y1, 2880.0);
    EXPECT_EQ(l.y2, 0.0);
  }
}

TEST(EqGrid, LabelsFollowThePictureWidth) {
  const struct {
    double w;
    const GraphLabelLayout* layout;
    int freq[5], gain[7];
  } cases[] = {
      {12600,
       &kEditGraphLabels,
       {240, 3160, 7300, 11500, 12700},
       {160, 620, 1120, 1580, 2080, 2540, 2980}},
      {6300,
       &kEditGraphLabels,
       {240, 1580, 3650, 5750, 6350},
       {80, 310, 560, 790, 1040, 1270, 1490}},
      {12600,
       &kOverviewGraphLabels,
       {240, 3160, 7300, 11500, 12700},
       {160, 1110, 2060, 3010, 3960, 4910, 5860}},
  };
  for (const auto& t : cases) {
    Canvas c(t.w, 2880);
    c.canvas.Layout = t.layout;
    DrawEqGrid(c.canvas);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(c.freq[i].Left(), t.freq[i]) << t.w << " " << i;
    for (int k = 0; k < 7; ++k) {
      EXPECT_EQ(c.left[k].Top(), t.gain[k]) << t.w << " " << k;
      EXPECT_EQ(c.right[k].Top(), t.gain[k]) << t.w << " " << k;
    }
  }
}

TEST(EqGrid, LabelsAlreadyInPlaceAreNotTouched) {
  Canvas c;
  DrawEqGrid(c.canvas);
  CountingView view;
  for (auto& l : c.freq) l.SetView(&view);
  for (auto& l : c.left) l.SetView(&view);
  DrawEqGrid(c.canvas);
  EXPECT_EQ(view.refreshes, 0);
  c.picture.SetScale(6300, 2880);
  DrawEqGrid(c.canvas);
  EXPECT_EQ(view.refreshes, 4 + 7);  // "20Hz" stays at 240
}

TEST(ResponseCurve, FlatChannelIsAStraightLineAcrossTheMiddle) {
  Canvas c;
  const GraphScale s = ScaleOf(c.picture);
  DrawResponseCurve(c.picture, s, Constant(0.0), ChannelColour[4]);
  const auto& lines = c.Lines();
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(kGridPoints));
  EXPECT_EQ(lines[0], (ui::DrawnLine{0, 1440, 0, 1440, ChannelColour[4], 2}));
  double reach = 0;
  for (const auto& l : lines) {
    ASSERT_EQ(l.y1, 1440.0);
    ASSERT_EQ(l.y2, 1440.0);
    ASSERT_EQ(l.width, 2);
    ASSERT_EQ(l.x1, std::nearbyint(l.x1));
    reach = std::max(reach, l.x1);
  }
  EXPECT_EQ(reach, 12600.0);
  EXPECT_EQ(lines.back().x1, 12600.0);
}

TEST(ResponseCurve, FullScaleValuesLieOnTheEdges) {
  for (const auto& [db, y] : {std::pair{30.0, 0.0}, {-30.0, 2880.0}, {-29.8, 2870.0}}) {
    Canvas c;
    DrawResponseCurve(c.picture, ScaleOf(c.picture), Constant(db), ChannelColour[0]);
    EXPECT_EQ(c.Lines()[500].y1, y) << db;  // 2870.4 rounds to 2870
  }
  // Beyond ±30 dB the curve leaves the picture; nothing is clipped.
  Canvas c;
  DrawResponseCurve(c.picture, ScaleOf(c.picture), Constant(-45.0), ChannelColour[0]);
  EXPECT_EQ(c.Lines()[10].y1, 1440.0 + 45 * 48);
}

TEST(ResponseCurve, SegmentsJoinEachPointToTheOneBeforeRoundingHalvesToEven) {
  Canvas c(3, 60);  // Kx = 1 unit per decade, Ky = 1 unit per dB, Y0 = 30
  const GraphScale s = ScaleOf(c.picture);
  Curve curve = Constant(0.0);
  curve[0] = 0.5;   // y 29.5 → 30
  curve[1] = 1.5;   // y 28.5 → 28
  curve[2] = -0.5;  // y 30.5 → 30
  curve[3] = 2.5;   // y 27.5 → 28
  for (int p = 0; p < 4; ++p) DrawResponseSegment(c.picture, s, curve, p, ChannelColour[1]);
  const auto& l = c.Lines();
  ASSERT_EQ(l.size(), 4u);
  EXPECT_EQ(l[0], (ui::DrawnLine{0, 30, 0, 30, ChannelColour[1], 2}));
  EXPECT_EQ(l[1], (ui::DrawnLine{0, 28, 0, 30, ChannelColour[1], 2}));  // log10(21/20) → 0
  EXPECT_EQ(l[2].y1, 30.0);
  EXPECT_EQ(l[2].y2, 28.0);
  EXPECT_EQ(l[3].y1, 28.0);
  // Above the top edge the halves go to even as well.
  const struct {
    double db, y;
  } above[] = {{30.5, 0.0}, {31.5, -2.0}, {32.5, -2.0}, {1e20, 30 - 1e20}};
  for (const auto& a : above) {
    Curve high = Constant(a.db);
    Canvas one(3, 60);
    DrawResponseSegment(one.picture, s, high, 0, ChannelColour[1]);
    EXPECT_EQ(one.Lines()[0].y1, a.y) << a.db;
  }
  // The whole-curve drawing gives the same lines as the segment by segment one.
  Canvas whole(3, 60);
  DrawResponseCurve(whole.picture, s, curve, ChannelColour[1]);
  for (int p = 0; p < 4; ++p) EXPECT_EQ(whole.Lines()[p], l[p]);
}

TEST(ChannelGraph, RedrawShowsTheCurrentUnitsStoredCurve) {
  auto state = std::make_unique<ProgramState>();
  state->CurUnit = 5;
  Curve& stored = state->Responses(5).ChannelResponse[6];
  stored = Constant(10.0);
  Canvas c;
  c.picture.Line(1, 2, 3, 4);  // left over from before: cleared
  RedrawChannelGraph(*state, c.canvas, 6);
  ASSERT_EQ(c.Lines().size(), kGridLines + kGridPoints);
  EXPECT_EQ(c.Lines()[kGridLines].colour, ChannelColour[6]);
  EXPECT_EQ(c.Lines()[kGridLines + 100].y1, 1440.0 - 480);
  state->DrawSuppressed = true;
  RedrawChannelGraph(*state, c.canvas, 6);
  EXPECT_EQ(c.Lines().size(), kGridLines);
  state->DrawSuppressed = false;
  RedrawChannelGraph(*state, c.canvas, 8);
  EXPECT_EQ(c.Lines().size(), kGridLines);
}

}  // namespace
}  // namespace velmark

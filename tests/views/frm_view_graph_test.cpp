#include "views/frm_view_graph.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

#include "editor/edit_window_fixture.h"

namespace velmark::testing {
namespace {

constexpr std::size_t kGridLines = 37;
constexpr double kOverviewH = 5760, kOverviewW = 12600;

// A response that differs per channel and per point, so a wrong channel or point shows.
double Sample(int ch, int p) {
  return ch + 1 + 0.001 * p;
}

void FillResponses(UnitResponses& r) {
  for (int ch = 0; ch < kChannelCount; ++ch) {
    for (int p = 0; p < kGridPoints; ++p) r.ChannelResponse[ch][p] = Sample(ch, p);
  }
}

TEST(OverviewCurve, OutputAddsTheSelectedInputPointByPoint) {
  UnitResponses r{};
  FillResponses(r);
  const struct {
    int ch, added;
    int expected_input;  // whose response is added, or -1
  } cases[] = {
      {4, 0, 0},  {5, kNoAddedInput, -1}, {7, 3, 3}, {6, 2, 2},
      {2, 1, -1},  // inputs never get one added
      {4, 4, -1},  // not an input: nothing added
  };
  for (const auto& c : cases) {
    const Curve v = OverviewCurve(r, c.ch, c.added);
    for (int p : {0, 1, 791, kGridPoints - 1}) {
      const double extra = c.expected_input < 0 ? 0 : Sample(c.expected_input, p);
      EXPECT_DOUBLE_EQ(v[p], Sample(c.ch, p) + extra) << c.ch << " + " << c.added << " @" << p;
    }
  }
  // A flat input adds nothing.
  r.ChannelResponse[0].fill(0);
  EXPECT_EQ(OverviewCurve(r, 4, 0), r.ChannelResponse[4]);
}

TEST(OverviewReadout, EdgesAndClamping) {
  const double x1k = kOverviewW / 3 * std::log10(50.0);
  const struct {
    double x, y;
    bool comma;
    const char* text;
  } cases[] = {
      {0, 0, false, "30dB; 20Hz"},                        // top left
      {kOverviewW, kOverviewH, false, "-30dB; 20000Hz"},  // bottom right
      {0, kOverviewH, false, "-30dB; 20Hz"},
      {kOverviewW, 0, false, "30dB; 20000Hz"},
      {-400, -900, false, "30dB; 20Hz"},  // outside: held to the picture
      {1e6, 1e6, false, "-30dB; 20000Hz"},
      {x1k, kOverviewH / 2 + 3.5 * 96, false, "-3.5dB; 1000Hz"},
      {x1k, kOverviewH / 2 + 3.5 * 96, true, "-3,5dB; 1000Hz"},
      {x1k, kOverviewH / 2 - 0.04 * 96, false, "0dB; 1000Hz"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(OverviewReadout(c.x, c.y, kOverviewW, kOverviewH, c.comma), c.text)
        << c.x << ", " << c.y;
  }
  EXPECT_EQ(OverviewReadout(10, 10, 0, 0, false), "");
}

class ViewGraphTest : public EditWindowTest {
 protected:
  ViewGraphTest() : view(core) {
    st.CurUnit = 0;
    FillResponses(st.Responses(0));
  }

  // The starting y of every curve segment drawn, by colour, in drawing order.
  std::map<ui::Colour, std::vector<double>> Curves() const {
    std::map<ui::Colour, std::vector<double>> out;
    for (const ui::DrawnLine& l : view.Picture1.DisplayList()) {
      if (l.width == kCurvePenWidth) out[l.colour].push_back(l.y1);
    }
    return out;
  }

  FrmViewGraph view;
};

TEST_F(ViewGraphTest, CheckViewAndOptionsDecideTheCurves) {
  const struct {
    std::vector<int> unchecked;  // CheckView elements clicked off
    std::vector<int> options;    // Option1 elements clicked
    // Per drawn channel, the input added (-1 none); channels not listed are not drawn.
    std::map<int, int> drawn;
  } cases[] = {
      {{}, {}, {{0, -1}, {1, -1}, {2, -1}, {3, -1}, {4, -1}, {5, -1}, {6, -1}, {7, -1}}},
      {{0, 5}, {}, {{1, -1}, {2, -1}, {3, -1}, {4, -1}, {6, -1}, {7, -1}}},
      {{},
       {OptionElement(0, 1), OptionElement(3, 4)},
       {{0, -1}, {1, -1}, {2, -1}, {3, -1}, {4, 0}, {5, -1}, {6, -1}, {7, 3}}},
      // Hiding input A does not take it out of an output's sum.
      {{0}, {OptionElement(1, 1)}, {{1, -1}, {2, -1}, {3, -1}, {4, -1}, {5, 0}, {6, -1}, {7, -1}}},
      {{0, 1, 2, 3, 4, 5, 6, 7}, {}, {}},
  };
  for (const auto& c : cases) {
    view.Unload();
    view.Load();
    for (int e : c.options) view.Option1(e).UserClick();
    for (int i : c.unchecked) view.CheckView(i).UserClick();
    const auto curves = Curves();
    EXPECT_EQ(view.Picture1.DisplayList().size(), kGridLines + c.drawn.size() * kGridPoints);
    ASSERT_EQ(curves.size(), c.drawn.size());
    for (const auto& [ch, added] : c.drawn) {
      ASSERT_TRUE(curves.count(ChannelColour[ch])) << ch;
      const std::vector<double>& ys = curves.at(ChannelColour[ch]);
      ASSERT_EQ(ys.size(), static_cast<std::size_t>(kGridPoints));
      // Line p starts at point p (line 0 is the single point of p = 0).
      const int p = kGridPoints - 1;
      const double v = Sample(ch, p) + (added < 0 ? 0 : Sample(added, p));
      EXPECT_EQ(ys[p], std::nearbyint(kOverviewH / 2 - 96 * v)) << ch;
    }
  }
}

TEST_F(ViewGraphTest, UncheckingAnOutputDisablesItsOptionsAndKeepsTheSelection) {
  view.Load();
  view.Option1(OptionElement(2, 2)).UserClick();
  view.CheckView(6).UserClick();
  for (int k = 0; k < kOptionsPerOutput; ++k) {
    EXPECT_FALSE(view.Option1(OptionElement(2, k)).Enabled()) << k;
    EXPECT_TRUE(view.Option1(OptionElement(1, k)).Enabled()) << k;
  }
  view.CheckView(6).UserClick();
  for (int k = 0; k < kOptionsPerOutput; ++k)
    EXPECT_TRUE(view.Option1(OptionElement(2, k)).Enabled());
  EXPECT_EQ(view.AddedInput(2), 1);
  // A new load starts over.
  view.CheckView(6).UserClick();
  view.Unload();
  view.Load();
  EXPECT_EQ(view.CheckView(6).Value(), 1);
  EXPECT_TRUE(view.Option1(OptionElement(2, 0)).Enabled());
  EXPECT_EQ(view.AddedInput(2), kNoAddedInput);
}

TEST_F(ViewGraphTest, ReadoutOnlyWhileTheButtonIsHeld) {
  view.Load();
  ui::PictureBox& pic = view.Picture1;
  pic.OnMouseMove(0, 0, 0, 0);
  EXPECT_FALSE(view.LblFreqGain.Visible());
  pic.OnMouseDown(ui::kLeftButton, 0, kOverviewW, 0);
  EXPECT_TRUE(view.LblFreqGain.Visible());
  EXPECT_EQ(view.LblFreqGain.Caption(), "30dB; 20000Hz");
  EXPECT_EQ(pic.Pointer(), ui::MousePointer::Cross);
  pic.OnMouseMove(ui::kLeftButton, 0, 0, kOverviewH);
  EXPECT_EQ(view.LblFreqGain.Caption(), "-30dB; 20Hz");
  pic.OnMouseUp(ui::kLeftButton, 0, 0, kOverviewH);
  EXPECT_FALSE(view.LblFreqGain.Visible());
  EXPECT_EQ(pic.Pointer(), ui::MousePointer::Default);
  pic.OnMouseMove(0, 0, kOverviewW, 0);
  EXPECT_EQ(view.LblFreqGain.Caption(), "-30dB; 20Hz");  // not followed after the release
}

// A larger window gives a larger graph on the same scale: the curves' coordinates do not change,
// the captions follow the lines they name, and the choices stay below the graph.
TEST_F(ViewGraphTest, ResizingStretchesTheGraphAndKeepsItsScale) {
  view.Load();
  const auto before = Curves();
  const int width = view.Picture1.Width(), height = view.Picture1.Height();
  const int last_caption = view.LblFreqGraph(4).Left();
  view.UserResize(view.ClientWidth() + width, view.ClientHeight() + height);
  EXPECT_EQ(view.Picture1.Width(), 2 * width);
  EXPECT_EQ(view.Picture1.Height(), 2 * height);
  EXPECT_EQ(view.Picture1.ScaleWidth(), kOverviewW);
  EXPECT_EQ(Curves(), before);
  EXPECT_GT(view.LblFreqGraph(4).Left(), last_caption + width / 2);
  EXPECT_GT(view.CheckView(0).Top(), view.Picture1.Top() + view.Picture1.Height());
  EXPECT_GT(view.Option1(4).Top(), view.CheckView(0).Top());
}

// Closing the overview recomputes the first band of the edit window's current channel and
// draws it on the edit window's own scale.
TEST_F(ViewGraphTest, ClosingRecomputesTheEditWindowsFirstBand) {
  for (int ch : {0, 5}) {
    FrmKVRxxxA& w = Open(0);
    w.SetPageTab(ch);
    bool shown = false;
    w.OnShowViewAll = [&] { view.ShowModal(); };
    hp.desktop.ModalDriver = [&](ui::Window& modal) {
      shown = &modal == &view;
      modal.UserClose();
    };
    const int band = BandStart[ch];
    DeviceSettings& rec = st.DeviceRecords[0];
    rec.EqBypass[ch] = 0;
    rec.EqBandBypass[band] = 0;
    rec.EqType[band] = 0;  // Bell
    rec.EqFreq[band] = 1000;
    rec.EqQ[band] = 1;
    rec.EqGain[band] = 12;  // changed without recomputing: only the close brings it in
    const Curve before = st.Responses(0).ChannelResponse[ch];
    if (ch == 0) {
      w.LblViewAll.UserClick();
    } else {
      w.ImgViewAll.UserClick();
    }
    EXPECT_TRUE(shown) << ch;
    EXPECT_FALSE(view.Loaded()) << ch;
    const Curve& after = st.Responses(0).ChannelResponse[ch];
    const auto hi = std::max_element(after.begin(), after.end());
    const auto b_hi = std::max_element(before.begin(), before.end());
    EXPECT_GT(*hi - *b_hi, 6) << ch;
    // The edit picture: grid, then the recomputed curve at 48 units per dB.
    const auto& lines = w.Picture1.DisplayList();
    ASSERT_EQ(lines.size(), kGridLines + kGridPoints) << ch;
    double top = 1e9;
    for (std::size_t i = kGridLines; i < lines.size(); ++i) top = std::min(top, lines[i].y1);
    EXPECT_NEAR(top, 1440 - 48 * *hi, 1) << ch;
  }
}

}  // namespace
}  // namespace velmark::testing

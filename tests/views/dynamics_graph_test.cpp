#include "views/dynamics_graph.h"

#include <gtest/gtest.h>

#include <memory>

namespace velmark {
namespace {

constexpr ui::Colour kGrey = ui::MakeColour(80, 80, 80);
constexpr std::size_t kGridLines = 9 + 9 + 1;

class Dynamics : public ::testing::Test {
 protected:
  Dynamics() {
    picture_.SetScale(2880, 2880);
    state_->CurUnit = 1;
  }
  ParamImage& img() { return state_->DeviceImages[1]; }
  DeviceSettings& rec() { return state_->DeviceRecords[1]; }
  void Draw(int ch, int m) {
    state_->CurChannel[1] = ch;
    DrawDynamicsCurve(*state_, picture_, m);
  }
  std::vector<ui::DrawnLine> Curve() const {
    const auto& all = picture_.DisplayList();
    return {all.begin() + static_cast<std::ptrdiff_t>(kGridLines), all.end()};
  }

  ui::PictureBox picture_;
  std::unique_ptr<ProgramState> state_ = std::make_unique<ProgramState>();
};

TEST_F(Dynamics, GridLinesDiagonalAndBackground) {
  picture_.SetBackColor(ui::MakeColour(1, 2, 3));
  picture_.Line(0, 0, 1, 1);
  DrawDynamicsGrid(picture_);
  EXPECT_EQ(picture_.BackColor(), ui::kBlack);
  const auto& l = picture_.DisplayList();
  ASSERT_EQ(l.size(), kGridLines);
  const double levels[9] = {-19.8, -15, -10, -5, 0, 5, 10, 15, 20};
  for (int i = 0; i < 9; ++i) {
    const double at = 1440 - 72 * levels[i];  // Ky = 72 units per dB
    EXPECT_NEAR(l[i].y1, at, 1e-9);
    EXPECT_EQ(l[i].y1, l[i].y2);
    EXPECT_EQ(l[i].x1, 0.0);
    EXPECT_EQ(l[i].x2, 2880.0);
    EXPECT_NEAR(l[9 + i].x1, at, 1e-9);  // mirrored: +20 dB at the left edge
    EXPECT_EQ(l[9 + i].y1, 0.0);
    EXPECT_EQ(l[9 + i].y2, 2880.0);
  }
  EXPECT_EQ(l[18], (ui::DrawnLine{2880, 0, 0, 2880, kGrey, 1}));
  for (const auto& line : l) EXPECT_EQ(line.colour, kGrey);
}

TEST_F(Dynamics, BypassedCompressorIsTheDiagonal) {
  rec().CompBypass[6] = 1;
  img()[CompAddr[6]] = 10;  // a low threshold and a high ratio, ignored while bypassed
  img()[CompAddr[6] + 1] = 30;
  Draw(6, 1);
  const auto curve = Curve();
  ASSERT_EQ(curve.size(), 1000u);
  for (int i = 1; i <= 1000; ++i) {
    const auto& l = curve[i - 1];
    EXPECT_DOUBLE_EQ(l.x1, i * 2.88);
    EXPECT_DOUBLE_EQ(l.x1 + l.y1, 2880.0);
    EXPECT_DOUBLE_EQ(l.x2 + l.y2, 2880.0);
    EXPECT_EQ(l.colour, ChannelColour[6]);
    EXPECT_EQ(l.width, 2);
  }
}

TEST_F(Dynamics, FourToOneAtZeroDbuEndsAtFiveDb) {
  img()[CompAddr[0]] = 50;
  img()[CompAddr[0] + 1] = 2;
  img()[CompAddr[0] + 2] = 0;
  Draw(0, 0);
  const auto curve = Curve();
  ASSERT_EQ(curve.size(), 1000u);
  EXPECT_DOUBLE_EQ(curve.back().x1, 2880.0);
  EXPECT_DOUBLE_EQ(curve.back().y1, 2880.0 * (1 - 0.625));  // y = 62.5 % = +5 dB
  EXPECT_DOUBLE_EQ(curve[499].y1, 1440.0);                  // point 500: x = y = 50 %
}

TEST_F(Dynamics, LimiterLineForOutputsOnly) {
  img()[LimAddr[5]] = 0;  // −10 dBu
  Draw(5, 2);
  const auto curve = Curve();
  ASSERT_EQ(curve.size(), 2u);
  // The threshold point (−10, −10) dB is (720, 2160) at 72 units per dB.
  EXPECT_EQ(curve[0], (ui::DrawnLine{720, 2160, 0, 2880, ChannelColour[5], 2}));
  EXPECT_EQ(curve[1], (ui::DrawnLine{2880, 2160, 720, 2160, ChannelColour[5], 2}));
  rec().LimBypass[5] = 1;
  Draw(5, 2);
  EXPECT_EQ(Curve()[0], (ui::DrawnLine{2880, 0, 0, 2880, ChannelColour[5], 2}));
  EXPECT_EQ(Curve()[1].x1, Curve()[1].x2);  // zero length
  Draw(2, 2);
  EXPECT_EQ(picture_.DisplayList().size(), kGridLines);
}

TEST_F(Dynamics, GridOnlyForOtherModesSuppressedDrawingOrBadChannels) {
  Draw(4, 3);
  EXPECT_EQ(picture_.DisplayList().size(), kGridLines);
  Draw(4, -1);
  EXPECT_EQ(picture_.DisplayList().size(), kGridLines);
  Draw(8, 0);
  EXPECT_EQ(picture_.DisplayList().size(), kGridLines);
  state_->DrawSuppressed = true;
  Draw(4, 1);
  EXPECT_EQ(picture_.DisplayList().size(), kGridLines);
}

}  // namespace
}  // namespace velmark

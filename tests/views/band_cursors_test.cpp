#include "views/band_cursors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "ui/headless.h"
#include "ui/window.h"

namespace velmark {
namespace {

GraphScale Scale(double w, double h) {
  ui::PictureBox picture;
  picture.SetScale(w, h);
  return ScaleOf(picture);
}

TEST(BandCursor, TopUsesSixtyUnitsPerDb) {
  const GraphScale s = Scale(12600, 2880);
  const struct {
    int slider;
    int top;
  } cases[] = {{0, 594},    // +15 dB: 1440 − 15.1·60 + 60, while the curve peaks at y = 720
               {30, 1494},  // 0 dB
               {60, 2394},  // −15 dB
               {1, 624}};   // +14.5 dB
  for (const auto& c : cases) EXPECT_EQ(CursorTop(s, c.slider), c.top) << c.slider;
  EXPECT_EQ(CursorTop(Scale(12600, 5760), 30), 2880 - 6 + 60);
}

TEST(BandCursor, LeftIsTheBandFrequencyLessHalfTheCursor) {
  for (double w : {12600.0, 9000.0}) {
    const GraphScale s = Scale(w, 2880);
    EXPECT_EQ(CursorLeft(s, 1000), std::lround(w * std::log10(50.0) / 3 - 60)) << w;
    EXPECT_EQ(CursorLeft(s, 20), -60);
    EXPECT_EQ(CursorLeft(s, 20000), w - 60);
    EXPECT_EQ(CursorLeft(s, 0), -60);  // a damaged frequency word counts as 20 Hz
  }
  ui::Label cursor;
  PlaceBandCursor(cursor, Scale(12600, 2880), 1000, 0);
  EXPECT_EQ(cursor.Left(), 7076);  // 4200 · log10(50) − 60 = 7075.67
  EXPECT_EQ(cursor.Top(), 594);
}

class Cursors : public ::testing::Test {
 protected:
  Cursors() : window_(platform_.platform, "FrmKVRxxxA") {
    for (int i = 0; i < 24; ++i) {
      window_.Register("Label5", labels_[i], i);
      controls_.Label5[i] = &labels_[i];
    }
    window_.Register("LblShowCursor", show_);
    controls_.LblShowCursor = &show_;
    state_->CurUnit = 2;
  }
  DeviceSettings& rec() { return state_->DeviceRecords[2]; }
  void SetChannel(int ch) { state_->CurChannel[2] = ch; }
  // Which cursors are visible, as a string of 24 '0'/'1'.
  std::string Visible() const {
    std::string s;
    for (const auto& l : labels_) s += l.Visible() ? '1' : '0';
    return s;
  }

  ui::HeadlessPlatform platform_;
  ui::Window window_;
  ui::Label labels_[24];
  ui::Label show_;
  CursorControls controls_;
  std::unique_ptr<ProgramState> state_ = std::make_unique<ProgramState>();
};

TEST_F(Cursors, ShownOnlyWithTheSwitchOnAndTheEqualiserActive) {
  const std::string input(13, '1'), output(11, '1'), none13(13, '0'), none11(11, '0');
  const struct {
    int ch, show, bypass;
    std::string visible;
  } cases[] = {
      {0, 1, 0, input + none11},  {3, 1, 0, input + none11},  {4, 1, 0, none13 + output},
      {7, 1, 0, none13 + output}, {1, 0, 0, none13 + none11}, {5, 0, 0, none13 + none11},
      {2, 1, 1, none13 + none11}, {6, 1, 1, none13 + none11}, {6, 1, 2, none13 + output},
      {0, 2, 0, none13 + none11},
  };
  for (const auto& c : cases) {
    for (auto& l : labels_) l.SetVisible(true);
    SetChannel(c.ch);
    rec().ShowCursor[c.ch] = static_cast<std::int16_t>(c.show);
    rec().EqBypass[c.ch] = static_cast<std::int16_t>(c.bypass);
    ShowBandCursors(*state_, controls_);
    EXPECT_EQ(Visible(), c.visible) << "channel " << c.ch;
    EXPECT_EQ(state_->DeviceImages[2][1600 + c.ch], c.show) << "channel " << c.ch;
  }
}

TEST_F(Cursors, BandZeroLiesOnTop) {
  SetChannel(5);
  rec().ShowCursor[5] = 1;
  ShowBandCursors(*state_, controls_);
  for (int i = 13; i < 23; ++i) EXPECT_GT(labels_[i].ZOrder(), labels_[i + 1].ZOrder()) << i;
}

TEST_F(Cursors, SwitchingPagesWhileHiddenKeepsBothSetsHidden) {
  SetChannel(1);
  rec().ShowCursor[1] = 0;
  ShowCursorState(*state_, controls_);
  SetChannel(4);
  rec().ShowCursor[4] = 0;
  ShowCursorState(*state_, controls_);
  EXPECT_EQ(Visible(), std::string(24, '0'));
}

TEST_F(Cursors, ToggleFlipsTheSwitchAndItsColour) {
  SetChannel(3);
  ToggleShowCursor(*state_, controls_);
  EXPECT_EQ(rec().ShowCursor[3], 1);
  EXPECT_EQ(show_.ForeColor(), ui::MakeColour(255, 128, 0));
  EXPECT_EQ(Visible(), std::string(13, '1') + std::string(11, '0'));
  EXPECT_EQ(state_->DeviceImages[2][1603], 1);
  ToggleShowCursor(*state_, controls_);
  EXPECT_EQ(rec().ShowCursor[3], 0);
  EXPECT_EQ(show_.ForeColor(), ui::MakeColour(192, 192, 192));
  EXPECT_EQ(Visible(), std::string(24, '0'));
  EXPECT_EQ(state_->DeviceImages[2][1603], 0);
  rec().ShowCursor[3] = 7;  // from a damaged file: the next click shows the cursors
  ToggleShowCursor(*state_, controls_);
  EXPECT_EQ(rec().ShowCursor[3], 1);
  // Other channels' flags are not touched.
  for (int ch = 0; ch < kChannelCount; ++ch) {
    if (ch != 3) {
      EXPECT_EQ(rec().ShowCursor[ch], 0);
    }
  }
}

TEST_F(Cursors, InvalidChannelChangesNothing) {
  SetChannel(9);
  for (auto& l : labels_) l.SetVisible(true);
  ToggleShowCursor(*state_, controls_);
  EXPECT_EQ(Visible(), std::string(24, '1'));
}

}  // namespace
}  // namespace velmark

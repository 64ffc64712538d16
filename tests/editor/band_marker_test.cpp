// Band markers dragged over the response graph: what a position stands for, nothing sent while
// moving, one band packet after a move, nothing after a click, linked channels.

#include <gtest/gtest.h>

#include <algorithm>

#include "edit_window_fixture.h"
#include "editor/band_marker_drag.h"

namespace velmark::testing {
namespace {

// On the 12600 × 2880 graph a gain g sits at top 1440 − (g + 0.1) · 60 + 60.
TEST(ReadMarkerTest, LimitsGainLinesAndFrequencies) {
  struct Case {
    double left, top;
    int marker_left, marker_top;
    double gain;
    int slider;
    double hz;
  } const cases[] = {
      {-500, -60, -60, 594, 15, 0, 20},            // top left corner: +15 dB, 20 Hz
      {12540, 2820, 12540, 2394, -15, 60, 20000},  // bottom right corner: −15 dB, 20 kHz
      {7076, 595, 7076, 595, 14.9, 0, 1000},       // where a 1 kHz band's cursor sits
      {1000, 1493, 1000, 1493, 0, 30, 35},         // a sixtieth of a dB above 0 dB
      {1000, 1495, 1000, 1495, -0.1, 30, 35},      // a sixtieth below: rounded down
      {1000, 1254, 1000, 1254, 4, 22, 35},         // a gain line reads its gain, not a tenth less
      {1000, 1944, 1000, 1944, -7.5, 45, 35},      //
      {1000, 1056, 1000, 1056, 7.3, 15, 35},       // slider 30 − 14.6
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("left " + std::to_string(c.left) + " top " + std::to_string(c.top));
    const MarkerReading r = ReadMarker(12600, 2880, c.left, c.top);
    EXPECT_EQ(r.left, c.marker_left);
    EXPECT_EQ(r.top, c.marker_top);
    EXPECT_EQ(r.gain_db, c.gain);
    EXPECT_EQ(r.gain_slider, c.slider);
    EXPECT_EQ(r.freq_hz, c.hz);
  }
}

class BandMarkerTest : public EditWindowTest {
 protected:
  // Input A's band 0 as a `type` band at 1 kHz, Q code 16, 0 dB, on its page; nothing sent.
  ui::Label& ShowBand(int type) {
    const int a = EqBandAddr[0];
    st.DeviceImages[0][a] = static_cast<std::uint8_t>(type);
    WriteWord(st.DeviceImages[0], a + 1, 1000);
    st.DeviceImages[0][a + 3] = 16;
    st.DeviceImages[0][a + 4] = 30;
    Open(0).SetPageTab(0);
    port.calls.clear();
    return w().Label5(0);
  }
  FrmKVRxxxA& w() { return windows.Window(0); }
  static void Down(ui::Label& m) { m.OnMouseDown(ui::kLeftButton, 0, 60, 60); }
  static void Move(ui::Label& m, double x, double y) { m.OnMouseMove(ui::kLeftButton, 0, x, y); }
  static void Up(ui::Label& m) { m.OnMouseUp(ui::kLeftButton, 0, 0, 0); }
};

TEST_F(BandMarkerTest, AClickShowsTheReadoutAndABellDraggedToTheTopIsSentOnceOnRelease) {
  ui::Label& marker = ShowBand(0);
  st.DecimalIsComma = true;
  st.DeviceRecords[0].EqGain[0] = -7.5;
  Down(marker);
  EXPECT_TRUE(w().LblFreqGain.Visible());
  EXPECT_EQ(w().LblFreqGain.Caption(), "Freq=1000Hz; Gain=-7,5dB");
  Up(marker);
  EXPECT_FALSE(w().LblFreqGain.Visible());
  EXPECT_TRUE(port.calls.empty());

  Down(marker);
  Move(marker, 0, -3000);
  EXPECT_EQ(marker.Top(), 594);  // repositioned on the +15 dB line
  EXPECT_EQ(w().TxtEqGain(0).Text(), "15");
  EXPECT_EQ(w().LblFreqGain.Caption(), "Freq=1000Hz; Gain=15dB");
  EXPECT_TRUE(port.calls.empty());
  Up(marker);
  EXPECT_FALSE(w().LblFreqGain.Visible());
  // Channel 0, band 0, switched on, Bell, 1000 Hz, Q code 16, gain code 60.
  ASSERT_EQ(port.calls.size(), 1u);
  EXPECT_EQ(port.calls[0].frame, BuildFrame(0, CmdEqBand, {0, 0, 0, 0, 0x03, 0xE8, 16, 60}));
}

TEST_F(BandMarkerTest, AllPassMarkerMovesOnlyTheFrequency) {
  ui::Label& marker = ShowBand(15);
  Down(marker);
  Move(marker, 5464, -1000);  // to the right edge, and up
  EXPECT_EQ(marker.Top(), 1494);
  EXPECT_EQ(w().LblFreqGain.Caption(), "Freq=20000Hz; Gain=0dB");
  Up(marker);
  ASSERT_EQ(port.calls.size(), 1u);
  EXPECT_EQ(port.calls[0].frame, BuildFrame(0, CmdEqBand, {0, 0, 0, 15, 0x4E, 0x20, 16, 30}));
}

TEST_F(BandMarkerTest, MovedBandIsRepeatedOnLinkedInputsAndDrawn) {
  ui::Label& marker = ShowBand(0);
  st.LinkFlag[0][0] = st.LinkFlag[0][2] = 1;
  Down(marker);
  Move(marker, 0, -270);  // +4.5 dB
  Up(marker);
  const ParamImage& img = st.DeviceImages[0];
  const int a = EqBandAddr[0], c = EqBandAddr[BandOf(2, 0)];
  EXPECT_EQ(img[a + 4], 39);
  EXPECT_TRUE(std::equal(img.begin() + a, img.begin() + a + 5, img.begin() + c));
  EXPECT_EQ(st.DeviceRecords[0].EqGain[BandOf(2, 0)], 4.5);
  EXPECT_EQ(port.calls.size(), 1u);
  // The graph shows input A's new sum, not the linked channel's suppressed redraw.
  const std::vector<ui::DrawnLine> drawn = w().Picture1.DisplayList();
  w().RedrawCurrentGraph(0);
  EXPECT_EQ(drawn, w().Picture1.DisplayList());
  const Curve& sum = st.Responses(0).ChannelResponse[0];
  EXPECT_NEAR(*std::max_element(sum.begin(), sum.end()), 4.5, 0.05);
}

}  // namespace
}  // namespace velmark::testing

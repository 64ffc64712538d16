// The channel page filled from the image: controls as the image says, nothing sent, and the
// image left as it was, also when it holds codes no control can show.

#include <gtest/gtest.h>

#include "edit_window_fixture.h"
#include "editor/refresh_channel_page.h"

namespace velmark::testing {
namespace {

class RefreshChannelPageTest : public EditWindowTest {
 protected:
  // The record follows the image as the opening decoded it.
  void SetUp() override {
    Open(0);
    port.calls.clear();
  }
  FrmKVRxxxA& Refresh(int channel) {
    FrmKVRxxxA& w = windows.Window(0);
    st.CurUnit = 0;
    st.CurChannel[0] = channel;
    FlagGuard suppressed(st.SendSuppressed);
    RefreshChannelPage(core);
    return w;
  }
  ParamImage& Img() { return st.DeviceImages[0]; }
};

// Addresses whose bytes differ, as "address: old -> new".
std::vector<std::string> Changes(const ParamImage& before, const ParamImage& after) {
  std::vector<std::string> out;
  for (int a = 0; a < kImageSize; ++a) {
    if (before[a] != after[a]) {
      out.push_back(std::to_string(a) + ": " + std::to_string(before[a]) + " -> " +
                    std::to_string(after[a]));
    }
  }
  return out;
}

TEST_F(RefreshChannelPageTest, EveryChannelShowsItsImageAndKeepsIt) {
  // Give every channel something of its own to show.
  for (int c = 0; c < kChannelCount; ++c) {
    Img()[CompAddr[c] + 1] = static_cast<std::uint8_t>(3 + c);  // ratio
    const int a = EqBandAddr[BandOf(c, 2)];
    WriteWord(Img(), a + 1, 300 + 10 * c);
    Img()[a + 3] = static_cast<std::uint8_t>(20 + c);
    Img()[a + 4] = static_cast<std::uint8_t>(40 - c);
  }
  Img()[GateAddr[2] + 2] = 5;
  Img()[LimAddr[6] + 1] = 17;
  Img()[XoverAddr[XoverIndex(7, 0)] + 2] = 9;
  for (int c = 0; c < kChannelCount; ++c) {
    SCOPED_TRACE("channel " + std::to_string(c));
    const ParamImage before = Img();
    FrmKVRxxxA& w = Refresh(c);
    const bool input = c < kInputCount;
    const int comp = input ? 0 : 6, band = (input ? 0 : 13) + 2;
    EXPECT_EQ(w.SliderCmp(comp + 1).Value(), 30 - (3 + c));
    EXPECT_EQ(w.TxtEqFreq(band).Text(), std::to_string(300 + 10 * c));
    EXPECT_EQ(w.UDEqQ(band).Value(), 20 + c);
    EXPECT_EQ(w.Slider2(band).Value(), 60 - (40 - c));
    EXPECT_EQ(Changes(before, Img()), std::vector<std::string>{});
  }
  EXPECT_EQ(Refresh(2).SliderNG(1).Value(), 12 - 5);
  EXPECT_EQ(Refresh(6).SliderLim(4).Value(), 49 - 17);
  EXPECT_EQ(Refresh(7).ComboHpLpS(0).ListIndex(), 9);
  EXPECT_TRUE(port.calls.empty());
}

TEST_F(RefreshChannelPageTest, ADamagedImageIsShownBoundedAndKeptAsItWas) {
  const int band_in = EqBandAddr[BandOf(1, 0)], band_out = EqBandAddr[BandOf(5, 10)];
  Img()[GateAddr[1]] = 5;                       // bypass byte that is neither 0 nor 1
  Img()[GateAddr[1] + 1] = 9;                   // threshold code above 6
  Img()[CompAddr[1] + 5] = 255;                 // make-up code above 240
  Img()[band_in] = 40;                          // type above 16
  Img()[band_in + 3] = 250;                     // Q code above 100
  Img()[band_in + 4] = 200;                     // gain code above 60
  Img()[XoverAddr[XoverIndex(5, 1)] + 2] = 99;  // slope above 12
  Img()[LimAddr[5] + 1] = 200;                  // limiter release above 49
  Img()[band_out + 3] = 101;
  Img()[band_out + 4] = 61;
  for (int c : {1, 5}) {
    SCOPED_TRACE("channel " + std::to_string(c));
    const ParamImage before = Img();
    Refresh(c);
    EXPECT_EQ(Changes(before, Img()), std::vector<std::string>{});
  }
  FrmKVRxxxA& w = Refresh(1);
  EXPECT_EQ(w.CheckNGByp.Value(), 1);
  EXPECT_EQ(w.SliderNG(0).Value(), 0);
  EXPECT_EQ(w.SliderCmp(5).Value(), 0);
  EXPECT_EQ(w.UDEqQ(0).Value(), 100);
  EXPECT_EQ(w.Slider2(0).Value(), 0);
  Refresh(5);
  EXPECT_EQ(w.ComboHpLpS(1).ListIndex(), 12);
  EXPECT_EQ(w.SliderLim(4).Value(), 0);
  EXPECT_EQ(w.UDEqQ(23).Value(), 100);
  EXPECT_EQ(w.Slider2(23).Value(), 0);
  EXPECT_TRUE(port.calls.empty());
}

TEST_F(RefreshChannelPageTest, ControlsAreWrittenWithoutRaisingTheirHandlers) {
  FrmKVRxxxA& w = windows.Window(0);
  int raised = 0;
  w.Slider2(4).OnChange = [&] {
    if (!st.UpdatingControls) ++raised;
  };
  w.SliderCmp(2).OnChange = [&] {
    if (!st.UpdatingControls) ++raised;
  };
  Img()[EqBandAddr[BandOf(0, 4)] + 4] = 12;
  Img()[CompAddr[0] + 2] = 33;
  Refresh(0);
  EXPECT_EQ(w.Slider2(4).Value(), 48);
  EXPECT_EQ(w.SliderCmp(2).Value(), 67);
  EXPECT_EQ(raised, 0);
  EXPECT_FALSE(st.UpdatingControls);
}

}  // namespace
}  // namespace velmark::testing

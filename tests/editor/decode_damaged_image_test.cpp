// Damaged bytes found by fuzzing the decoder: each one must survive a decode into the edit
// window unchanged (the image is the program's copy of the unit's memory), and what the record
// computes from it must be a value the controls can hold.

#include <gtest/gtest.h>

#include "commands/decode_image.h"
#include "edit_window_fixture.h"
#include "model/image.h"

namespace velmark::testing {
namespace {

class DecodeDamagedImage : public EditWindowTest {
 protected:
  DecodeDamagedImage() : w(Open(0)) {}

  // Decodes the factory image with `bytes` at `addr` while the gains page shows, then turns to
  // `page`, whose refresh reads the damaged bytes.
  void Decode(int page, int addr, std::initializer_list<std::uint8_t> bytes) {
    w.SetPageTab(8);
    ParamImage& img = st.DeviceImages[0];
    std::copy(DefaultImage.begin(), DefaultImage.end(), img.begin());
    std::copy(bytes.begin(), bytes.end(), img.begin() + addr);
    st.CurUnit = 0;
    st.SendSuppressed = true;
    DecodeImage(core);
    w.SetPageTab(page);
  }

  FrmKVRxxxA& w;
};

TEST_F(DecodeDamagedImage, KeepsWordsNoControlCanShow) {
  struct Case {
    const char* what;
    int page;  // channel page turned to after the decode
    int addr;  // high byte of the word
    std::uint8_t high, low;
  };
  const int band0 = EqBandAddr[BandOf(0, 0)] + 1;  // input A, band 1: frequency word
  const int out4 = EqBandAddr[BandOf(7, 10)] + 1;  // output 4, its last band
  const Case cases[] = {
      {"frequency above 20 kHz", 0, band0, 0xD6, 0x45},
      {"frequency below 20 Hz", 0, band0, 0x00, 0x05},
      {"frequency 20001 Hz on an output", 7, out4, 0x4E, 0x21},
      {"band-bypass bits beyond the 11 bands of an output", 7, EqMaskAddr[7], 0xF8, 0x00},
      {"band-bypass bits beyond the 13 bands of an input", 0, EqMaskAddr[0], 0xE0, 0x00},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Decode(c.page, c.addr, {c.high, c.low});
    ParamImage before = st.DeviceImages[0];
    std::copy(DefaultImage.begin(), DefaultImage.end(), before.begin());
    before[c.addr] = c.high;
    before[c.addr + 1] = c.low;
    for (int a = 0; a < kParamBytes; ++a) ASSERT_EQ(st.DeviceImages[0][a], before[a]) << a;
  }
}

// A gain code above 60 on a band of a page that is not shown computes as +15 dB, not as the
// code's arithmetic (code 200 would be +85 dB); codes 59 and 60 keep their half-dB steps.
TEST_F(DecodeDamagedImage, GainCodesAboveTheSliderComputeAsItsTop) {
  const int band = BandOf(5, 2);  // output 2, never shown below
  const std::pair<std::uint8_t, double> cases[] = {
      {200, 15.0}, {61, 15.0}, {60, 15.0}, {59, 14.5}, {1, -14.5}};
  for (const auto& [code, db] : cases) {
    SCOPED_TRACE(static_cast<int>(code));
    Decode(0, EqBandAddr[band] + 4, {code});
    EXPECT_EQ(st.DeviceRecords[0].EqGain[band], db);
  }
}

}  // namespace
}  // namespace velmark::testing

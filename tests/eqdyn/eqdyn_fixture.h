#pragma once
// The builder fixture, with the unit starting from the default configuration and the record's
// equaliser and dynamics fields taken from it, plus the page filling the EQ and dynamics
// builders expect.

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "commands/builder_fixture.h"
#include "commands/core.h"
#include "model/defaults.h"
#include "model/number_text.h"
#include "support/scripted_port.h"
#include "ui/headless.h"

namespace velmark::testing {

using Sent = SentPacket;

class EqFixture : public BuilderFixture {
 public:
  explicit EqFixture(SerialPort* port = nullptr) : BuilderFixture(port) { LoadDefaults(); }

  std::vector<SentPacket> Packets() const { return BuilderFixture::Sent(); }
  void Clear() { ClearSent(); }

  // The default image and the record fields the equaliser and dynamics builders read.
  void LoadDefaults() {
    CopyDefaultImage(Img());
    DeviceSettings& rec = Rec();
    const ParamImage& img = Img();
    for (int ch = 0; ch < kChannelCount; ++ch) {
      const int mask = ReadWord(img, EqMaskAddr[ch]);
      for (int k = 0; k <= BandLast[ch]; ++k) {
        const int b = BandOf(ch, k), a = EqBandAddr[b];
        rec.EqType[b] = img[a];
        rec.EqFreq[b] = ReadWord(img, a + 1);
        rec.EqBandBypass[b] = (mask >> k) & 1;
        rec.EqGain[b] = rec.EqBandBypass[b] != 0 ? 0.0 : img[a + 4] / 2.0 - 15;
      }
      rec.EqBypass[ch] = MaskBit(img[EqBypassMaskAddr], ch);
      rec.CompBypass[ch] = MaskBit(img[CompBypassMaskAddr], ch);
      rec.LimBypass[ch] = MaskBit(img[LimBypassMaskAddr], ch);
    }
  }

  // Makes `ch` the current channel and fills its page's controls from the image, as the page
  // refresh does (with UpdatingControls held, without running any builder).
  void ShowChannel(int ch) {
    st.CurChannel[st.CurUnit] = ch;
    FlagGuard quiet(st.UpdatingControls);
    EditControls& w = W();
    const ParamImage& img = Img();
    for (int k = 0; k <= BandLast[ch]; ++k) {
      const int e = IsInputChannel(ch) ? k : k + 13, a = EqBandAddr[BandOf(ch, k)];
      w.TxtEqFreq(e).SetText(std::to_string(ReadWord(img, a + 1)));
      w.UDEqQ(e).SetValue(img[a + 3]);
      w.Slider2(e).SetValue(60 - img[a + 4]);
    }
    const int page = IsInputChannel(ch) ? 0 : 1;
    w.CheckEqByp(page).SetValue(Rec().EqBypass[ch]);
    w.CheckCmp(page).SetValue(Rec().CompBypass[ch]);
    constexpr int kCompMax[] = {150, 30, 100, 29, 29, 240};
    for (int p = 0; p < 6; ++p)
      w.SliderCmp(6 * page + p).SetValue(kCompMax[p] - img[CompAddr[ch] + p]);
    if (IsInputChannel(ch)) {
      const int g = GateAddr[ch];
      w.CheckNGByp.SetValue(img[g]);
      w.SliderNG(0).SetValue(6 - img[g + 1]);
      w.SliderNG(1).SetValue(12 - img[g + 2]);
      w.SliderNG(2).SetValue(28 - img[g + 3]);
    } else {
      const int l = LimAddr[ch];
      w.CheckLimByp.SetValue(Rec().LimBypass[ch]);
      w.SliderLim(1).SetValue(150 - img[l]);
      w.SliderLim(4).SetValue(49 - img[l + 1]);
      w.SliderLim(5).SetValue(40 - img[l + 2]);
    }
  }

  // Sets a control as the program would, without running its change handling.
  template <typename Control>
  void Quietly(Control& control, int value) {
    FlagGuard quiet(st.UpdatingControls);
    control.SetValue(value);
  }
};

// First point of FreqGrid at `hz`.
inline int GridIndexOf(int hz) {
  return static_cast<int>(std::find(FreqGrid.begin(), FreqGrid.end(), hz) - FreqGrid.begin());
}

inline Sent Pkt(std::uint8_t command, FrameData data) {
  return Packet(command, data);
}

}  // namespace velmark::testing

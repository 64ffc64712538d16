// The dump says what the edit window says: for each image, every parameter's text equals the
// text of its control once the unit's window has opened and shown each channel page.

#include <gtest/gtest.h>

#include <map>

#include "editor/edit_window_fixture.h"
#include "report/param_builder.h"
#include "report/parameters.h"
#include "report_images.h"

namespace velmark::testing {
namespace {

std::string OnOff(bool on) {
  return on ? "on" : "off";
}

// The caption of the selected one of `count` option buttons from `first`.
template <typename Options>
std::string Selected(Options& options, int first, int count) {
  for (int k = first; k < first + count; ++k) {
    if (options(k).Value()) return options(k).Caption();
  }
  return "(none selected)";
}

using Texts = std::map<std::string, std::string>;

// Keyed as the dump keys them, from the controls of unit 0's window.
class WindowTexts {
 public:
  explicit WindowTexts(FrmKVRxxxA& w) : w_(w) {}

  Texts Read() {
    Unit();
    for (int c = 0; c < kChannelCount; ++c) {
      w_.SetPageTab(c);
      Channel(c);
    }
    Routing();
    return texts_;
  }

 private:
  void Put(const std::string& key, const std::string& text) { texts_[key] = text; }

  void Unit() {
    Put("unit.delay_unit", Selected(w_.Option1, 0, 2));
    Put("unit.master_g", w_.GainText(8).Text());
    Put("unit.master_v", w_.GainText(9).Text());
    for (int pair = 0; pair < 2; ++pair) {
      const std::string p = pair == 0 ? "ab" : "cd";
      Put("unit.source_" + p, Selected(w_.Option2, 3 * pair, 3));
      Put("unit.noise_" + p + ".type", Selected(w_.OptionNoiseLev, 2 * pair, 2));
      Put("unit.noise_" + p + ".level", w_.TextNoiseLev(pair).Text());
    }
  }

  void Channel(int c) {
    const std::string k = report::ChannelKey(c) + ".";
    const bool input = c < kInputCount;
    const int page = input ? 0 : 1;
    Put(k + "name", w_.LblNameTab(c).Caption());
    Put(k + "gain", w_.GainText(c).Text());
    Put(k + "delay", w_.Text2(c).Text());
    Put(k + "polarity", OnOff(w_.Check2(c).Value() == 1));
    Put(k + "mute", OnOff(w_.ImgMute(c).Picture() == w_.ImgMuteON.Picture()));
    if (input) {
      Put(k + "gate.bypass", OnOff(w_.CheckNGByp.Value() == 1));
      const char* gate[] = {"threshold", "release", "attack"};
      for (int p = 0; p < 3; ++p) Put(k + "gate." + gate[p], w_.NGText(p).Text());
    }
    Put(k + "comp.bypass", OnOff(w_.CheckCmp(page).Value() == 1));
    const char* comp[] = {"threshold", "ratio", "knee", "release", "attack", "makeup"};
    for (int p = 0; p < 6; ++p) Put(k + "comp." + comp[p], w_.CmpText(6 * page + p).Text());
    if (!input) {
      Put(k + "limiter.bypass", OnOff(w_.CheckLimByp.Value() == 1));
      Put(k + "limiter.threshold", w_.LimText(1).Text());
      Put(k + "limiter.release", w_.LimText(4).Text());
      Put(k + "limiter.attack", w_.LimText(5).Text());
      const char* filter[] = {"highpass", "lowpass"};
      for (int f = 0; f < 2; ++f) {
        Put(k + filter[f] + ".type", w_.ComboHpLpS(f).Text());
        Put(k + filter[f] + ".frequency", w_.TextHpLpF(f).Text());
      }
    }
    Put(k + "eq.bypass", OnOff(w_.CheckEqByp(page).Value() == 1));
    for (int n = 0; n <= BandLast[c]; ++n) {
      const int i = (input ? 0 : 13) + n;
      const std::string b = k + "eq.band" + std::to_string(n + 1) + ".";
      Put(b + "type", w_.LblEQType(i).Caption());
      Put(b + "frequency", w_.TxtEqFreq(i).Text());
      Put(b + "gain", w_.TxtEqGain(i).Text());
      Put(b + "q", w_.TxtEqQ(i).Text());
      Put(b + "bypass", OnOff(w_.LblEQsByp(i).ForeColor() == kOrange));
    }
  }

  void Routing() {
    for (int o = 0; o < 4; ++o) {
      for (int j = 0; j < 4; ++j) {
        const std::string in = "route." + report::ChannelKey(j) + "." + report::ChannelKey(4 + o);
        Put(in, OnOff(w_.CheckSRout(4 * o + j).Value() == 1));
        Put(in + ".level", w_.TextSRout(4 * o + j).Text());
        // Output matrix: row o is physical output o + 1, column j output channel j + 1.
        const std::string out =
            "route." + report::ChannelKey(4 + j) + ".output" + std::to_string(o + 1);
        Put(out, OnOff(w_.CheckFRout(4 * o + j).Value() == 1));
        Put(out + ".level", w_.TextFRout(4 * o + j).Text());
      }
    }
  }

  FrmKVRxxxA& w_;
  Texts texts_;
};

struct ImageCase {
  const char* name;
  ParamImage (*make)();
};

class DumpMatchesWindow : public EditWindowTest, public ::testing::WithParamInterface<ImageCase> {};

// Shown in the window's caption or tool bar from the record, not from the image: checked on
// their own below.
bool FromTheRecord(const std::string& key) {
  return key == "unit.program_name" || key == "unit.panel_lock" || key == "unit.password";
}

TEST_P(DumpMatchesWindow, EveryParameterHasItsControlsText) {
  const ParamImage image = GetParam().make();
  const ParameterList params = ImageParameters(image);
  st.DeviceImages[0] = image;
  const Texts window = WindowTexts(Open(0)).Read();
  std::size_t compared = 0;
  for (const Parameter& p : params) {
    if (FromTheRecord(p.key)) continue;
    const auto it = window.find(p.key);
    ASSERT_NE(it, window.end()) << "no control read for " << p.key;
    EXPECT_EQ(p.shown, it->second) << p.key;
    ++compared;
  }
  EXPECT_EQ(compared, window.size()) << "a control no parameter stands for";
}

INSTANTIATE_TEST_SUITE_P(Images, DumpMatchesWindow,
                         ::testing::Values(ImageCase{"Default", DefaultReportImage},
                                           ImageCase{"EveryType", EveryTypeImage},
                                           ImageCase{"Damaged", DamagedImage}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velmark::testing

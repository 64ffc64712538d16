// A long seeded run of equaliser and dynamics edits against the simulated unit: afterwards the
// unit's parameter memory equals the program's image byte for byte.

#include <gtest/gtest.h>

#include <random>

#include "channels/linking.h"
#include "eqdyn/dynamics.h"
#include "eqdyn/eq_band.h"
#include "eqdyn/eqdyn_fixture.h"
#include "sim/sim_line.h"

namespace velmark {
namespace {

using testing::EqFixture;

class EditRun {
 public:
  EditRun(EqFixture& f, std::uint32_t seed) : f_(f), rng_(seed) {}

  int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

  void Step() {
    const int ch = Pick(0, kChannelCount - 1);
    f_.ShowChannel(ch);
    const int page = IsInputChannel(ch) ? 0 : 1;
    const int element = BandElementOf(ch, Pick(0, BandLast[ch]));
    EditControls& w = f_.W();
    switch (Pick(0, 8)) {
      case 0:
        w.TxtEqFreq(element).SetText(FrequencyText());
        f_.Quietly(w.Slider2(element), Pick(0, 60));
        f_.Quietly(w.UDEqQ(element), Pick(0, 100));
        SendEqBand(f_.core, element);
        break;
      case 1:
        ToggleBandBypass(f_.core, element);
        SendEqBand(f_.core, element);
        break;
      case 2:
        SetEqType(f_.core, element, Pick(0, kEqTypeCount - 1));
        break;
      case 3:
        w.CheckEqByp(page).SetValue(Pick(0, 1));
        SetEqBypass(f_.core, page);
        break;
      case 4:
        Flatten(ch, page);
        break;
      case 5:
        w.CheckNGByp.SetValue(Pick(0, 1));
        for (int p = 0; p < 3; ++p) f_.Quietly(w.SliderNG(p), Pick(0, kGateSliderMax[p]));
        SetNoiseGate(f_.core);
        break;
      case 6:
        w.CheckCmp(page).SetValue(Pick(0, 1));
        SetCompBypass(f_.core, page);
        break;
      case 7: {
        const int i = 6 * page + Pick(0, 5);
        f_.Quietly(w.SliderCmp(i), Pick(0, kCompSliderMax[i % 6]));
        SetCompParam(f_.core, i);
        break;
      }
      default:
        w.CheckLimByp.SetValue(Pick(0, 1));
        SetLimBypass(f_.core);
        for (int p = 0; p < 3; ++p) f_.Quietly(w.SliderLim(kLimElements[p]), Pick(0, 60));
        SetLimParams(f_.core);
        break;
    }
  }

 private:
  std::string FrequencyText() {
    switch (Pick(0, 3)) {
      case 0:
        return std::to_string(Pick(0, 30000));
      case 1:
        return std::to_string(Pick(20, 20000)) + "." + std::to_string(Pick(0, 9));
      case 2:
        return "f" + std::to_string(Pick(0, 9));
      default:
        return std::to_string(Pick(20, 20000));
    }
  }

  // EQ flat with some partners of the group linked; the links are taken back afterwards, since
  // only EQ flat sends what it repeats on linked channels.
  void Flatten(int ch, int page) {
    const int first = IsInputChannel(ch) ? 0 : kInputCount;
    EditControls& w = f_.W();
    for (int c = first; c < first + kInputCount; ++c) {
      w.CheckLinkOut(c).SetValue(c == ch ? 1 : Pick(0, 1));
      SetLinkFlag(f_.core, c);
    }
    f_.platform.messages.Queue(ui::MsgAnswer::Yes);
    EqFlat(f_.core, page);
    for (int c = first; c < first + kInputCount; ++c) {
      w.CheckLinkOut(c).SetValue(0);
      SetLinkFlag(f_.core, c);
    }
  }

  EqFixture& f_;
  std::mt19937 rng_;
};

TEST(EqDynamicsOnTheUnit, UnitMemoryFollowsTheImage) {
  for (std::uint32_t seed : {1u, 2024u}) {
    SimLine line(SimBus::Usb(seed));
    EqFixture f(&line);
    EditRun run(f, seed);
    for (int n = 0; n < 1200; ++n) run.Step();
    const UnitMemory& memory = line.Unit(0)->Memory();
    int differing = 0;
    for (int a = 0; a < kParamBytes; ++a) {
      if (memory.Param(a) != f.Img()[a]) {
        ++differing;
        ADD_FAILURE() << "seed " << seed << ": image " << a << " = " << int{f.Img()[a]} << ", unit "
                      << int{memory.Param(a)};
      }
      if (differing > 10) break;
    }
    EXPECT_GT(line.Sent().size(), 1200u);
    EXPECT_TRUE(f.unexpected.empty());
  }
}

}  // namespace
}  // namespace velmark

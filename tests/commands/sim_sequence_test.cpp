// A long random sequence of user changes through the builders, sent to the in-process simulated
// unit: afterwards the unit's memory holds exactly the program's image.

#include <gtest/gtest.h>

#include <random>

#include "channels/names.h"
#include "commands/builder_fixture.h"
#include "commands/crossover.h"
#include "commands/decode_image.h"
#include "commands/level_delay.h"
#include "commands/routing.h"
#include "sim/sim_line.h"

namespace velmark {
namespace {

using testing::BuilderFixture;

// System page bytes the builders write, and their image addresses.
constexpr int kSystemBytes[] = {kSysInputSource,   kSysInputSource + 1, kSysDelayUnit,
                                kSysNoiseType,     kSysNoiseLevel,      kSysNoiseType + 2,
                                kSysNoiseLevel + 2};

class SimSequence {
 public:
  explicit SimSequence(std::uint64_t seed) : line_(SimBus::Usb(seed)), fx_(&line_), gen_(seed) {
    SimUnit& unit = *line_.Unit(0);
    const ParamBytes params = unit.Memory().Params();
    std::copy(params.begin(), params.end(), fx_.Img().begin());
    for (int i : kSystemBytes) fx_.Img()[SystemAddr(i)] = unit.Memory().System(i);
    fx_.st.SendSuppressed = true;
    DecodeImage(fx_.core);
    fx_.st.SendSuppressed = false;
  }

  int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(gen_); }

  void Step() {
    EditControls& w = fx_.W();
    Core& core = fx_.core;
    switch (Pick(0, 9)) {
      case 0: {
        const int slot = Pick(0, 9);
        w.Slider1(slot).SetValue(Pick(0, 300));
        SendLevel(core, slot);
        break;
      }
      case 1: {
        const int ch = Pick(0, 7);
        w.UpDown2(ch).SetValue(Pick(0, 340));
        w.UpDown1(ch).SetValue(Pick(0, 96));
        SendDelay(core, ch);
        break;
      }
      case 2:
        SendDelayUnit(core, Pick(0, 1));
        break;
      case 3: {
        const int ch = Pick(0, 7);
        w.Check2(ch).SetValue(Pick(0, 1));
        SendPolarity(core, ch);
        break;
      }
      case 4: {
        const int ch = Pick(0, 7);
        fx_.Rec().Mute[ch] = static_cast<std::int16_t>(1 - fx_.Rec().Mute[ch]);
        SendMute(core, ch);
        break;
      }
      case 5: {
        fx_.st.CurChannel[0] = Pick(0, 7);  // an input now and then: nothing must go out
        const int f = Pick(0, 1);
        w.TextHpLpF(f).SetText(std::to_string(Pick(20, 20000)) + "." + std::to_string(Pick(0, 9)));
        w.ComboHpLpS(f).SetListIndex(Pick(0, 12));
        SendCrossover(core, f);
        break;
      }
      case 6: {
        const int p = Pick(0, 15);
        const bool in = Pick(0, 1) == 0;
        (in ? w.CheckSRout : w.CheckFRout)(p).SetValue(Pick(0, 1));
        (in ? w.UpDownSRout : w.UpDownFRout)(p).SetValue(Pick(0, 30));
        in ? SendInRouting(core, p) : SendOutRouting(core, p);
        break;
      }
      case 7: {
        const int o = Pick(0, 5);
        w.Option2(o).SetValue(true);
        SendInputSource(core, o);
        break;
      }
      case 8: {
        const int pair = Pick(0, 1);
        w.OptionNoiseLev(2 * pair + Pick(0, 1)).SetValue(true);
        w.SliderNoiseLev(pair).SetValue(Pick(0, 40));
        SendNoiseGen(core, pair);
        break;
      }
      default: {
        auto& names = fx_.st.ChannelNames[0];
        const int ch = Pick(0, 7);
        names[ch].clear();
        for (int i = Pick(0, 6); i > 0; --i) names[ch] += static_cast<char>(Pick(33, 126));
        ASSERT_FALSE(ApplyNames(core));
        break;
      }
    }
  }

  void ExpectUnitEqualsImage() {
    const UnitMemory& memory = line_.Unit(0)->Memory();
    const ParamBytes params = memory.Params();
    for (int a = 0; a < kParamBytes; ++a) ASSERT_EQ(params[a], fx_.Img()[a]) << "address " << a;
    for (int i : kSystemBytes) ASSERT_EQ(memory.System(i), fx_.Img()[SystemAddr(i)]) << i;
  }

  BuilderFixture& Fx() { return fx_; }
  SimLine& Line() { return line_; }

 private:
  SimLine line_;
  BuilderFixture fx_;
  std::mt19937_64 gen_;
};

TEST(SimSequenceTest, UnitMemoryEqualsTheImageAfterManyChanges) {
  for (std::uint64_t seed : {1u, 2u, 3u}) {
    SimSequence run(seed);
    run.ExpectUnitEqualsImage();
    for (int i = 0; i < 1500; ++i) {
      run.Step();
      if (::testing::Test::HasFatalFailure()) return;
    }
    run.ExpectUnitEqualsImage();
    EXPECT_TRUE(run.Fx().platform.messages.Shown().empty());
    EXPECT_GT(run.Line().Sent().size(), 1000u);
  }
}

}  // namespace
}  // namespace velmark

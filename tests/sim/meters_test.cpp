// The meters follow the signal path: sources, gains, gate, dynamics, mutes and both matrices.

#include <gtest/gtest.h>

#include <set>

#include "sim/meters.h"
#include "sim_test_util.h"

namespace velmark {
namespace {

struct PatternCase {
  double dbu;
  bool active;
  std::uint8_t status;
};

class MeterPattern : public testing::TestWithParam<PatternCase> {};

TEST_P(MeterPattern, LevelBitsFollowTheScaleLabels) {
  const PatternCase c = GetParam();
  EXPECT_EQ(StatusByte({c.dbu, c.active}), c.status) << c.dbu << " dBu";
}

INSTANTIATE_TEST_SUITE_P(Sim, MeterPattern,
                         testing::Values(PatternCase{kSilentDbu, false, 0},
                                         PatternCase{-15.1, false, 0}, PatternCase{-15, false, 64},
                                         PatternCase{-0.1, false, 64}, PatternCase{0, false, 96},
                                         PatternCase{3, false, 112}, PatternCase{8.9, false, 112},
                                         PatternCase{9, false, 120}, PatternCase{15, false, 124},
                                         PatternCase{15.1, false, 126}, PatternCase{40, true, 127},
                                         PatternCase{-30, true, 1}));

class Meters : public testing::Test {
 protected:
  Meters() { model_.SetMovement(false); }
  FrameData Poll() { return model_.Poll(memory_); }
  void Unmute(int ch) { memory_.Param(MuteMaskAddr) &= static_cast<std::uint8_t>(~(1 << ch)); }

  UnitMemory memory_;
  MeterModel model_;
};

TEST_F(Meters, FreshUnitShowsTheInputsAndSilentMutedOutputs) {
  // +4, -2, -10, -20 dBu through 0 dB gains; the outputs are muted.
  EXPECT_EQ(Poll(), simtest::Data({112, 64, 64, 0, 0, 0, 0, 0}));
}

TEST_F(Meters, GainRoutingAndTheOutputMatrix) {
  Unmute(4);
  EXPECT_EQ(Poll()[4], 112);           // output 1 is fed by input A at 0 dB
  memory_.Param(LevelAddr[4]) = 0x00;  // output 1 gain word 240: -6 dB
  memory_.Param(LevelAddr[4] + 1) = 0xF0;
  EXPECT_EQ(Poll()[4], 64);
  memory_.Param(LevelAddr[4]) = 0x01;
  memory_.Param(LevelAddr[4] + 1) = 0x2C;
  memory_.Param(InRouteLevelAddr[0]) = 35;  // +5 dB in the cell A -> Out1
  EXPECT_EQ(Poll()[4], 120);
  // Physical output 2 takes Out1 as well; physical output 1 nothing.
  memory_.Param(OutRouteAddr[1]) = 0x01;
  memory_.Param(OutRouteAddr[0]) = 0x00;
  EXPECT_EQ(Poll()[4], 0);
  EXPECT_EQ(Poll()[5], 120);
  // Powers add: two sources at +4 dBu make +7 dBu, +4 and +8 make +9.5 dBu.
  model_.SetInputLevel(1, 4.0);
  memory_.Param(InRouteAddr[0]) = 0x03;
  memory_.Param(InRouteLevelAddr[0]) = 30;
  EXPECT_EQ(Poll()[5], 112);  // 7 dBu
  model_.SetInputLevel(1, 8.0);
  EXPECT_EQ(Poll()[5], 120);
}

TEST_F(Meters, MuteSilencesAChannel) {
  memory_.Param(MuteMaskAddr) = 0xF1;
  EXPECT_EQ(Poll()[0], 0);
}

TEST_F(Meters, NoiseGeneratorReplacesThePairsInputs) {
  memory_.System(kSysInputSource) = 2;
  memory_.System(kSysNoiseLevel) = 40;  // 0 dBu
  EXPECT_EQ(Poll(), simtest::Data({96, 96, 64, 0, 0, 0, 0, 0}));
  memory_.System(kSysInputSource + 1) = 2;
  memory_.System(kSysNoiseLevel + 2) = 10;  // -30 dBu
  EXPECT_EQ(Poll(), simtest::Data({96, 96, 0, 0, 0, 0, 0, 0}));
}

TEST_F(Meters, CompressorAndLimiterShowActivityOnlyWhenWorking) {
  memory_.Param(CompBypassMaskAddr) = 0xFE;  // input A's compressor in
  memory_.Param(CompAddr[0]) = 50;           // threshold 0 dBu, ratio 2:1 (default code 30 -> 32:1)
  EXPECT_EQ(Poll()[0], 96 | 1);              // +4 squeezed to about +0.1 dBu
  memory_.Param(CompAddr[0]) = 100;          // threshold +10 dBu: idle
  EXPECT_EQ(Poll()[0], 112);
  Unmute(5);
  model_.SetInputLevel(1, 20.0);
  EXPECT_EQ(Poll()[5], 126);                // +20 dBu clips
  memory_.Param(LimBypassMaskAddr) = 0xD0;  // output 2's limiter in, threshold +20 (code 150)
  EXPECT_EQ(Poll()[5], 126);
  memory_.Param(LimAddr[5]) = 75;  // threshold +5 dBu
  EXPECT_EQ(Poll()[5], 112 | 1);
}

TEST_F(Meters, AnOpenGateClosesBelowItsThreshold) {
  memory_.Param(GateAddr[3]) = 0;      // gate of input D in
  memory_.Param(GateAddr[3] + 1) = 6;  // opens at -50 dBu
  model_.SetInputLevel(3, -10.0);
  EXPECT_EQ(Poll()[3], 64);
  model_.SetInputLevel(3, -60.0);
  EXPECT_EQ(Poll()[3], 0);
}

TEST(MeterMovement, LevelsMoveALittleAndRepeatWithTheSeed) {
  UnitMemory memory;
  MeterModel a(11), b(11), c(12);
  std::set<std::uint8_t> seen;
  bool differs = false;
  for (int i = 0; i < 200; ++i) {
    const FrameData sa = a.Poll(memory), sb = b.Poll(memory), sc = c.Poll(memory);
    EXPECT_EQ(sa, sb);
    differs = differs || sa != sc;
    seen.insert(sa[0]);
    // Input A sits at +4 dBu and moves by at most 2 dB: between the +0 and +3 patterns.
    EXPECT_TRUE(sa[0] == 96 || sa[0] == 112) << int{sa[0]};
  }
  EXPECT_EQ(seen.size(), 2u);
  EXPECT_TRUE(differs);
}

}  // namespace
}  // namespace velmark

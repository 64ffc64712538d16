#include "eqdyn/dynamics_curve.h"

#include <gtest/gtest.h>

#include <random>

namespace velmark {
namespace {

ParamImage CompressorImage(int ch, int threshold, int ratio, int knee) {
  ParamImage img{};
  img[CompAddr[ch]] = static_cast<std::uint8_t>(threshold);
  img[CompAddr[ch] + 1] = static_cast<std::uint8_t>(ratio);
  img[CompAddr[ch] + 2] = static_cast<std::uint8_t>(knee);
  return img;
}

CompressorCurve CurveOf(int threshold, int ratio, int knee, bool bypassed = false) {
  return CompressorCurveOf(
      CompressorSettingOf(CompressorImage(2, threshold, ratio, knee), 2, bypassed));
}

TEST(CompressorCurve, StraightLineWhenBypassedOrAtTheTopThreshold) {
  const struct {
    int threshold, ratio, knee;
    bool bypassed;
  } cases[] = {{50, 2, 0, true},
               {0, 30, 100, true},
               {150, 0, 0, false},
               {150, 30, 100, false},
               {150, 14, 37, false}};
  for (const auto& c : cases) {
    const CompressorCurve curve = CurveOf(c.threshold, c.ratio, c.knee, c.bypassed);
    for (int i = 0; i < kCompressorPoints; ++i) {
      ASSERT_EQ(curve[i].x, i / 10.0);
      ASSERT_EQ(curve[i].y, curve[i].x) << c.threshold << " " << c.ratio << " " << c.knee;
    }
  }
}

TEST(CompressorCurve, HardKneeFourToOneAtZeroDbu) {
  // Threshold code 50 = 0 dBu = 50 %, ratio code 2 = 4:1, knee 0.
  const KneeShape knee = KneeShapeOf(CompressorSettingOf(CompressorImage(2, 50, 2, 0), 2, false));
  EXPECT_EQ(knee.t, 50.0);
  EXPECT_EQ(knee.s, -0.75);
  EXPECT_EQ(knee.w, 0.0);
  const CompressorCurve curve = CurveOf(50, 2, 0);
  for (const auto& pt : curve) {
    const double want = pt.x <= 50 ? pt.x : 50 + 0.25 * (pt.x - 50);
    ASSERT_NEAR(pt.y, want, 1e-12) << pt.x;
  }
  EXPECT_DOUBLE_EQ(curve.back().y, 62.5);  // +5 dB at the right edge
}

TEST(CompressorCurve, SoftestKneeSpansTenToNinetyPercent) {
  const KneeShape knee = KneeShapeOf(CompressorSettingOf(CompressorImage(0, 50, 2, 100), 0, false));
  EXPECT_DOUBLE_EQ(knee.x1, 10.0);
  EXPECT_DOUBLE_EQ(knee.x2, 90.0);
  // Inside the knee: x + s (x − t + w/2)² / 2w; it meets both straight parts.
  const CompressorCurve curve = CurveOf(50, 2, 100);
  for (const auto& pt : curve) {
    double want = pt.x;
    if (pt.x >= 90) {
      want = pt.x - 0.75 * (pt.x - 50);
    } else if (pt.x >= 10) {
      want = pt.x - 0.75 * (pt.x - 10) * (pt.x - 10) / 160;
    }
    ASSERT_NEAR(pt.y, want, 1e-9) << pt.x;
  }
  EXPECT_NEAR(CompressorOutputPct(knee, 90.0 - 1e-9), 60.0, 1e-6);
}

TEST(CompressorCurve, DamagedCodesAreBoundedToTheUnitsRanges) {
  const CompressorSetting s = CompressorSettingOf(CompressorImage(7, 255, 255, 255), 7, false);
  EXPECT_EQ(s.threshold_db, 20.0);
  EXPECT_EQ(s.ratio, 32.0);
  EXPECT_EQ(s.knee_pct, 100.0);
  std::mt19937 rng(99);
  std::uniform_int_distribution<int> byte(0, 255);
  for (int round = 0; round < 2000; ++round) {
    for (const auto& pt : CurveOf(byte(rng), byte(rng), byte(rng), byte(rng) % 2 == 1)) {
      ASSERT_GE(pt.y, 0.0);
      ASSERT_LE(pt.y, pt.x + 1e-12);
    }
  }
}

TEST(LimiterThreshold, FromTheCodeOrTheTopWhenBypassed) {
  ParamImage img{};
  const struct {
    int code;
    bool bypassed;
    double want;
  } cases[] = {{0, false, -10.0},  {50, false, 0.0}, {150, false, 20.0},
               {200, false, 20.0}, {0, true, 20.0},  {73, false, 73 / 5.0 - 10}};
  for (const auto& c : cases) {
    img[LimAddr[5]] = static_cast<std::uint8_t>(c.code);
    EXPECT_DOUBLE_EQ(LimiterThresholdOf(img, 5, c.bypassed), c.want) << c.code;
  }
}

}  // namespace
}  // namespace velmark

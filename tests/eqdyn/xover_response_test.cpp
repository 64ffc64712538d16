#include "eqdyn/xover_response.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace velmark {
namespace {

constexpr double kEps = 1e-9;
const double kHalfPowerDb = -10.0 * std::log10(2.0);
const double kOctaveDb = 20.0 * std::log10(2.0);  // 6.02 dB per order and octave

double Db(double m) {
  return 20.0 * std::log10(m);
}

// The magnitudes as written: BWn = fc^n / √(f^2n + fc^2n) or f^n / √(…), BS(k) below.
double Bw(int n, bool hp, double fc, double f) {
  const double num = hp ? std::pow(f, n) : std::pow(fc, n);
  return num / std::sqrt(std::pow(f, 2 * n) + std::pow(fc, 2 * n));
}

double Bs(double k, bool hp, double fc, double f) {
  if (!hp) {
    const double u = f / (fc * k);
    return 3 / std::sqrt(std::pow(3 - u * u, 2) + std::pow(3 * u, 2));
  }
  const double fb = fc / k;
  return 3 * f * f / std::sqrt(std::pow(fb * fb - 3 * f * f, 2) + std::pow(3 * f * fb, 2));
}

double ReferenceDb(int s, bool hp, double fc, double f) {
  switch (s) {
    case 1:
      return Db(Bw(1, hp, fc, f));
    case 2:
      return Db(Bw(2, hp, fc, f));
    case 3:
      return 2 * Db(Bw(1, hp, fc, f));
    case 4:
      return Db(Bs(0.52, hp, fc, f));
    case 5:
      return Db(Bw(3, hp, fc, f));
    case 6:
      return Db(Bw(4, hp, fc, f));
    case 7:
      return 2 * Db(Bw(2, hp, fc, f));
    case 8:
      return 2 * Db(Bs(0.649, hp, fc, f));
    case 9:
      return Db(Bw(6, hp, fc, f));
    case 10:
      return Db(Bw(4, hp, fc, f)) + Db(Bw(2, hp, fc, f));
    case 11:
      return Db(Bw(8, hp, fc, f));
    case 12:
      return 2 * Db(Bw(4, hp, fc, f));
    default:
      return 0.0;
  }
}

TEST(XoverMagnitude, CurvesFollowTheClosedFormsAtEveryGridPoint) {
  Curve curve{};
  for (int s = 0; s < kXoverSlopeCount; ++s) {
    for (bool hp : {false, true}) {
      for (double fc : {20.0, 80.0, 1000.0, 16000.0, 20000.0}) {
        ASSERT_TRUE(XoverCurveDb(s, hp, fc, curve));
        for (int p = 0; p < kGridPoints; ++p) {
          const double f = FreqGrid[p];
          ASSERT_NEAR(curve[p], ReferenceDb(s, hp, fc, f), kEps)
              << XoverSlopeNames[s] << (hp ? " HP " : " LP ") << fc << " at " << f;
          ASSERT_EQ(curve[p], XoverMagnitudeDb(s, hp, fc, f));
        }
      }
    }
  }
}

TEST(XoverMagnitude, ButterworthSlopesAreHalfPowerAtTheCutOff) {
  for (int s : {1, 2, 5, 6, 9, 11}) {
    for (bool hp : {false, true}) {
      EXPECT_NEAR(*XoverMagnitudeDb(s, hp, 1000, 1000), kHalfPowerDb, kEps) << XoverSlopeNames[s];
    }
  }
}

TEST(XoverMagnitude, LinkwitzRileySlopesAreSixDbDownAtTheCutOff) {
  for (int s : {3, 7, 10, 12}) {
    for (bool hp : {false, true}) {
      EXPECT_NEAR(*XoverMagnitudeDb(s, hp, 1000, 1000), 2 * kHalfPowerDb, kEps)
          << XoverSlopeNames[s];
    }
  }
}

TEST(XoverMagnitude, BesselAtTheCutOff) {
  // Low-pass at fc: u = 1/k. High-pass at fc: fb = fc/k, so BS = 3 / √((1/k² − 3)² + 9/k²).
  for (double k : {0.52, 0.649}) {
    const double u2 = 1 / (k * k);
    const double bs = 3 / std::sqrt((3 - u2) * (3 - u2) + 9 * u2);
    const double hp = 3 / std::sqrt((u2 - 3) * (u2 - 3) + 9 * u2);
    const int s = k == 0.52 ? 4 : 8;
    const double weight = s == 4 ? 1 : 2;
    EXPECT_NEAR(*XoverMagnitudeDb(s, false, 500, 500), weight * Db(bs), kEps);
    EXPECT_NEAR(*XoverMagnitudeDb(s, true, 500, 500), weight * Db(hp), kEps);
  }
}

TEST(XoverMagnitude, FarFromTheCutOffEachOrderFallsSixDbPerOctave) {
  // Total order of each slope index.
  const int order[kXoverSlopeCount] = {0, 1, 2, 2, 2, 3, 4, 4, 4, 6, 6, 8, 8};
  for (int s = 0; s < kXoverSlopeCount; ++s) {
    const double hp_step =
        *XoverMagnitudeDb(s, true, 1000, 10) - *XoverMagnitudeDb(s, true, 1000, 5);
    const double lp_step =
        *XoverMagnitudeDb(s, false, 1000, 100000) - *XoverMagnitudeDb(s, false, 1000, 200000);
    EXPECT_NEAR(hp_step, order[s] * kOctaveDb, 0.01) << XoverSlopeNames[s];
    EXPECT_NEAR(lp_step, order[s] * kOctaveDb, 0.01) << XoverSlopeNames[s];
  }
}

TEST(XoverMagnitude, NoCutOffIsFlat) {
  for (double f : {20.0, 999.0, 20000.0}) {
    EXPECT_EQ(XoverMagnitudeDb(0, true, 1000, f), 0.0);
    EXPECT_EQ(XoverMagnitudeDb(0, false, 1000, f), 0.0);
  }
}

TEST(XoverMagnitude, UnknownSlopesHaveNoResponseAndLeaveTheCurve) {
  Curve curve{};
  curve.fill(7.5);
  for (int s : {13, 14, 255, -1}) {
    EXPECT_FALSE(XoverMagnitudeDb(s, true, 1000, 1000).has_value()) << s;
    EXPECT_FALSE(XoverCurveDb(s, false, 1000, curve)) << s;
  }
  for (double v : curve) ASSERT_EQ(v, 7.5);
}

TEST(XoverMagnitude, StoredTypesRoundHalfToEven) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    double stored;
    int slope;
  } cases[] = {{0, 0},     {6, 6},    {2.5, 2},  {3.5, 4},    {12.4, 12},
               {12.6, 13}, {-0.4, 0}, {nan, -1}, {1e300, -1}, {-1e300, -1}};
  for (const auto& c : cases) EXPECT_EQ(XoverSlopeIndex(c.stored), c.slope) << c.stored;
}

TEST(XoverMagnitude, ZeroCutOffCountsAsTwentyHertz) {
  for (int s = 1; s < kXoverSlopeCount; ++s) {
    for (bool hp : {false, true}) {
      for (double f : {20.0, 100.0, 20000.0}) {
        const double at_zero = *XoverMagnitudeDb(s, hp, 0, f);
        EXPECT_EQ(at_zero, *XoverMagnitudeDb(s, hp, 20, f));
        EXPECT_TRUE(std::isfinite(at_zero));
        EXPECT_TRUE(std::isfinite(*XoverMagnitudeDb(s, hp, 1e300, f)));
        EXPECT_TRUE(std::isfinite(*XoverMagnitudeDb(s, hp, 1e-300, f)));
      }
    }
  }
}

}  // namespace
}  // namespace velmark

#include "eqdyn/band_response.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace velmark {
namespace {

constexpr double kEps = 1e-9;
const double kHalfPowerDb = -10.0 * std::log10(2.0);  // −3.0103 dB

double Db(double m) {
  return 20.0 * std::log10(m);
}

// The band formulas written out literally, with pow and sqrt where they stand; `corner` is the
// ShelfCorner entry the shelf uses (1 when the type has none).
double ReferenceDb(int type, double f0, double g, double q, double f, double corner) {
  const double x = f / f0;
  const auto bell = [&](double amp, double p) {
    return amp / (1.0 + std::pow(p, 2) * std::pow(f0 / f - f / f0, 2));
  };
  const auto qden = [&](double p) { return std::sqrt(std::pow(1 - x * x, 2) + x * x / (p * p)); };
  const double a = std::pow(10.0, g / 40.0), qh = q / 2.0;
  const auto shelf = [&](double fc, int form, bool high) {
    const double y = std::pow(f / fc, 2), sy = f / fc;
    const double damp = form == 1 ? (a / 0.3) * y : a * y;  // 1st and 2nd order
    double n, d;
    if (form == 3) {
      n = high ? std::sqrt(std::pow(a * (1 - a * y), 2) + std::pow(a * std::sqrt(a) * sy / qh, 2))
               : std::sqrt(std::pow(a * (a - y), 2) + std::pow(a * std::sqrt(a) * sy / qh, 2));
      d = high ? std::sqrt(std::pow(a - y, 2) + std::pow(std::sqrt(a) * sy / qh, 2))
               : std::sqrt(std::pow(1 - a * y, 2) + std::pow(std::sqrt(a) * sy / qh, 2));
    } else {
      n = a * std::sqrt(std::pow(high ? 1 - a * y : a - y, 2) + damp);
      d = std::sqrt(std::pow(high ? a - y : 1 - a * y, 2) + damp);
    }
    return Db(n / d);
  };
  const double k = std::fabs(g) > 6 ? 1 + (std::fabs(g) - 6) * 1.1 / 9 : 1;
  switch (type) {
    case 0:
      return bell(g, q / k);
    case 1:
      return shelf(f0 / corner, 1, true);
    case 2:
      return shelf(f0 / (0.97 * corner), 2, true);
    case 3:
      return shelf(f0, 3, true);
    case 4:
      return shelf(f0 * corner, 1, false);
    case 5:
      return shelf(f0 * corner, 2, false);
    case 6:
      return shelf(f0, 3, false);
    case 7:
      return Db(f0 / std::sqrt(f * f + f0 * f0));
    case 8:
      return Db(f0 * f0 / std::sqrt(std::pow(f, 4) + std::pow(f0, 4)));
    case 9:
      return Db(1 / qden(q));
    case 10:
      return Db(f / std::sqrt(f * f + f0 * f0));
    case 11:
      return Db(f * f / std::sqrt(std::pow(f, 4) + std::pow(f0, 4)));
    case 12:
      return Db(x * x / qden(q));
    case 13: {
      const double p = q + 11, amp = std::pow(10.0, g / 20.0);
      return Db((x * amp / p) / std::sqrt(std::pow(1 - x * x, 2) + std::pow(x / p, 2)));
    }
    case 14:
      return bell(-45.0, q + 11);
    default:
      return 0.0;
  }
}

double CornerFor(int type, double g) {
  const int c = static_cast<int>(2 * g + 30);
  if (type == 1 || type == 4) return ShelfCorner1[c];
  if (type == 2 || type == 5) return ShelfCorner2[c];
  return 1.0;
}

struct BandCase {
  int type;
  double f0, g, q;
};

TEST(BandMagnitude, CurvesFollowTheClosedFormsAtEveryGridPoint) {
  std::vector<BandCase> cases;
  for (int type = 0; type < kEqTypeCount; ++type) {
    for (double f0 : {20.0, 1000.0, 16000.0}) {
      for (double g : {-15.0, -6.0, -2.5, 0.0, 4.0, 12.0, 15.0}) {
        for (double q : {0.1, 0.7, 2.4, 10.0}) cases.push_back({type, f0, g, q});
      }
    }
  }
  Curve curve{};
  for (const auto& c : cases) {
    BandCurveDb(c.type, c.f0, c.g, c.q, curve);
    for (int p = 0; p < kGridPoints; ++p) {
      const double f = FreqGrid[p];
      const double want = ReferenceDb(c.type, c.f0, c.g, c.q, f, CornerFor(c.type, c.g));
      ASSERT_NEAR(curve[p], want, kEps) << "type " << c.type << " f0 " << c.f0 << " G " << c.g
                                        << " Q " << c.q << " at " << f << " Hz";
      ASSERT_EQ(curve[p], BandMagnitudeDb(c.type, c.f0, c.g, c.q, f));
    }
  }
}

TEST(BandMagnitude, BellPeakAndHalfGainPoints) {
  // Half gain where |f0/f − f/f0| = 1/P: f/f0 = (±1/P + √(1/P² + 4)) / 2.
  const struct {
    double g, q, p;
  } cases[] = {
      {12.0, 2.0, 2.0 / (1.0 + 6.0 * 1.1 / 9.0)},  // P = 2 / 1.7333…
      {15.0, 1.0, 1.0 / 2.1},                      // the widest: k = 2.1
      {-15.0, 4.0, 4.0 / 2.1},
      {6.0, 2.4, 2.4},  // up to 6 dB the bell keeps its Q
      {-3.0, 0.4, 0.4},
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(BandMagnitudeDb(0, 1000, c.g, c.q, 1000), c.g, kEps);
    for (double sign : {-1.0, 1.0}) {
      const double u = (sign / c.p + std::sqrt(1.0 / (c.p * c.p) + 4.0)) / 2.0;
      EXPECT_NEAR(BandMagnitudeDb(0, 1000, c.g, c.q, 1000 * u), c.g / 2, kEps) << c.g << " " << u;
    }
  }
}

TEST(BandMagnitude, FixedValuesAtTheBandFrequency) {
  const struct {
    int type;
    double g, q, want;
  } cases[] = {
      {14, -15.0, 4.0, -45.0},  {14, 0.0, 20.0, -45.0},   {14, 15.0, 104.0, -45.0},
      {13, 9.0, 4.0, 9.0},      {13, -12.0, 50.0, -12.0}, {9, 0, 0.5, Db(0.5)},
      {9, 0, 2.4, Db(2.4)},     {12, 0, 0.5, Db(0.5)},    {12, 0, 5.1, Db(5.1)},
      {7, 0, 1, kHalfPowerDb},  {8, 0, 1, kHalfPowerDb},  {10, 0, 1, kHalfPowerDb},
      {11, 0, 1, kHalfPowerDb}, {0, 0.0, 2.4, 0.0},
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(BandMagnitudeDb(c.type, 2500, c.g, c.q, 2500), c.want, kEps) << "type " << c.type;
  }
}

TEST(BandMagnitude, AllPassAndUnknownTypesAreFlat) {
  for (int type : {15, 16, 17, 200, -1}) {
    for (double f : {20.0, 440.0, 1000.0, 20000.0}) {
      EXPECT_EQ(BandMagnitudeDb(type, 1000, 12, 2.4, f), 0.0) << "type " << type;
    }
  }
}

TEST(BandMagnitude, ShelvesReachZeroAwayAndTheGainOnTheShelf) {
  for (int type = 1; type <= 6; ++type) {
    const bool high = type <= 3;
    for (double g : {-12.0, 12.0}) {
      const double far_below = BandMagnitudeDb(type, 1000, g, 1.0, 1000 * 1e-4);
      const double far_above = BandMagnitudeDb(type, 1000, g, 1.0, 1000 * 1e4);
      EXPECT_NEAR(high ? far_below : far_above, 0.0, 1e-3) << "type " << type << " G " << g;
      EXPECT_NEAR(high ? far_above : far_below, g, 1e-3) << "type " << type << " G " << g;
    }
  }
}

TEST(BandMagnitude, ShelfCornerFactorsFollowTheGainCode) {
  // ±15 dB (codes 0 and 60) use factor 2.2; ±6 dB and less (codes 18..42) use 1.
  for (double g : {15.0, -15.0, 6.0, -6.0, 2.0}) {
    const double corner = std::fabs(g) == 15.0 ? 2.2 : 1.0;
    for (double f : {100.0, 700.0, 3000.0}) {
      EXPECT_NEAR(BandMagnitudeDb(1, 1000, g, 0, f), ReferenceDb(1, 1000, g, 0, f, corner), kEps);
      EXPECT_NEAR(BandMagnitudeDb(4, 1000, g, 0, f), ReferenceDb(4, 1000, g, 0, f, corner), kEps);
    }
  }
}

TEST(BandMagnitude, GainsBeyondTheTablesUseItsOuterEntries) {
  EXPECT_EQ(ShelfCornerIndex(-15), 0);
  EXPECT_EQ(ShelfCornerIndex(0), 30);
  EXPECT_EQ(ShelfCornerIndex(15), 60);
  EXPECT_EQ(ShelfCornerIndex(15.5), 60);
  EXPECT_EQ(ShelfCornerIndex(112.5), 60);  // gain code 255
  EXPECT_EQ(ShelfCornerIndex(-1e9), 0);
  EXPECT_EQ(ShelfCornerIndex(12.25), 54);  // 54.5: half to even
  EXPECT_EQ(ShelfCornerIndex(12.75), 56);  // 55.5
  EXPECT_EQ(ShelfCornerIndex(std::numeric_limits<double>::quiet_NaN()), 30);
  for (double g : {16.0, 40.0, 112.5}) {
    for (int type : {1, 2, 4, 5}) {
      const double corner = type == 1 || type == 4 ? ShelfCorner1[60] : ShelfCorner2[60];
      EXPECT_NEAR(BandMagnitudeDb(type, 1000, g, 0, 800),
                  ReferenceDb(type, 1000, g, 0, 800, corner), kEps);
      EXPECT_NEAR(BandMagnitudeDb(type, 1000, -g, 0, 800),
                  ReferenceDb(type, 1000, -g, 0, 800, corner), kEps);
    }
  }
}

TEST(BandMagnitude, DamagedParametersGiveFiniteValues) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  for (int type = 0; type < kEqTypeCount; ++type) {
    for (double f : {20.0, 1000.0, 20000.0}) {
      // A frequency word of 0 counts as 20 Hz.
      EXPECT_EQ(BandMagnitudeDb(type, 0, 6, 2, f), BandMagnitudeDb(type, 20, 6, 2, f));
      EXPECT_EQ(BandMagnitudeDb(type, nan, 6, 2, f), BandMagnitudeDb(type, 20, 6, 2, f));
      for (double f0 : {-5.0, 1e-300, 1.0, 65535.0, inf}) {
        for (double g : {nan, inf, -inf, 1e6, -1e6, 112.5}) {
          for (double q : {0.0, -1.0, nan, inf, 1e-9, 1e9}) {
            const double v = BandMagnitudeDb(type, f0, g, q, f);
            ASSERT_TRUE(std::isfinite(v)) << type << " " << f0 << " " << g << " " << q << " " << f;
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace velmark

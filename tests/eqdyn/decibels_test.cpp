#include "eqdyn/decibels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace velmark {
namespace {

using Limits = std::numeric_limits<double>;

TEST(DecimalLog, AgreesWithTheLibraryOverTheWholeNormalRange) {
  std::mt19937_64 rng(5);
  std::uniform_real_distribution<double> decade(-307.0, 308.0), near_one(0.5, 2.0);
  for (int i = 0; i < 200000; ++i) {
    const double x = i % 2 == 0 ? std::pow(10.0, decade(rng)) : near_one(rng);
    const double want = std::log10(x);
    ASSERT_NEAR(DecimalLog(x), want, 5e-16 * std::max(1.0, std::fabs(want))) << x;
  }
}

TEST(DecimalLog, PowersOfTwoAndTheReductionBoundaries) {
  for (int k = -1022; k <= 1023; ++k) {
    const double x = std::ldexp(1.0, k);
    ASSERT_NEAR(DecimalLog(x), std::log10(x), 4e-16 * std::max(1, std::abs(k))) << k;
  }
  EXPECT_EQ(DecimalLog(1.0), 0.0);
  EXPECT_NEAR(DecimalLog(10.0), 1.0, 2e-16);
  // Either side of √½ and √2, where the reduction changes the exponent.
  for (double x : {std::sqrt(0.5), std::nextafter(std::sqrt(0.5), 0.0), std::sqrt(2.0),
                   std::nextafter(std::sqrt(2.0), 2.0), 0.999999999, 1.000000001, Limits::min(),
                   Limits::max()}) {
    EXPECT_NEAR(DecimalLog(x), std::log10(x), 2e-16 * std::max(1.0, std::fabs(std::log10(x)))) << x;
  }
}

TEST(DecimalLog, ValuesOutsideTheNormalRangeGoToTheLibrary) {
  EXPECT_EQ(DecimalLog(0.0), -Limits::infinity());
  EXPECT_EQ(DecimalLog(-0.0), -Limits::infinity());
  EXPECT_EQ(DecimalLog(Limits::infinity()), Limits::infinity());
  EXPECT_TRUE(std::isnan(DecimalLog(-1.0)));
  EXPECT_TRUE(std::isnan(DecimalLog(Limits::quiet_NaN())));
  EXPECT_NEAR(DecimalLog(Limits::denorm_min()), std::log10(Limits::denorm_min()), 1e-12);
}

TEST(DecimalLog, CurveCheckFindsEveryUnusualValue) {
  Curve values{};
  values.fill(3.0);
  EXPECT_TRUE(AllPositiveNormal(values));
  for (double odd :
       {0.0, -0.0, -1.0, Limits::denorm_min(), std::nextafter(Limits::min(), 0.0),
        Limits::infinity(), -Limits::infinity(), Limits::quiet_NaN(), -Limits::quiet_NaN()}) {
    Curve c = values;
    c[1000] = odd;
    EXPECT_FALSE(AllPositiveNormal(c)) << odd;
  }
  for (double edge : {Limits::min(), Limits::max(), 1e-300, 1e300}) {
    Curve c = values;
    c[5] = edge;
    EXPECT_TRUE(AllPositiveNormal(c)) << edge;
  }
}

TEST(DecimalLog, CurveInPlaceEqualsPointByPoint) {
  Curve values{};
  for (int p = 0; p < kGridPoints; ++p) values[p] = 1e-300 * std::pow(1.5, p % 1500) + p;
  for (bool unusual : {false, true}) {
    Curve in_place = values;
    if (unusual) in_place[77] = 0.0;  // one point for the library
    const Curve source = in_place;
    DecimalLogInPlace(in_place);
    for (int p = 0; p < kGridPoints; ++p) ASSERT_EQ(in_place[p], DecimalLog(source[p])) << p;
  }
}

}  // namespace
}  // namespace velmark

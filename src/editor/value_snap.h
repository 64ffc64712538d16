#pragma once
// The value-entry helpers of ModCommon: a typed number snapped to the steps its parameter can
// take. Pure functions of a double, no window and no toolkit.
//
// Grids (SnapStep) are first + k × step for k = 0..n, held as whole numbers over a common
// denominator so that k is found and the value rebuilt without binary drift: −12.34 on the
// 0.1 dB grid is k = 177 of −300/10 + k/10, i.e. −123/10, the very double of the literal −12.3.
// Step tables (SnapIndex) are the value tables as src/model/tables.h holds them.
//
// Tie rule of both: a value exactly half way between two neighbours takes the lower one; the
// upper one wins only when the value is nearer to it. Below the first value gives the first,
// above the last gives the last.

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

#include "model/tables.h"

namespace velmark {

// value(k) = (first + k × step) / den for k = 0 .. (last − first) / step.
struct StepGrid {
  int first;
  int step;
  int last;
  int den;

  constexpr int Count() const { return (last - first) / step + 1; }
  constexpr double Value(int k) const { return static_cast<double>(first + k * step) / den; }
};

inline constexpr StepGrid kGateThresholdGrid{-80, 5, -50, 1};  // dBu
inline constexpr StepGrid kDynThresholdGrid{-50, 1, 100, 5};   // −10 .. +20 dB in 0.2 dB
inline constexpr StepGrid kMakeUpGainGrid{-120, 1, 120, 10};   // −12 .. +12 dB in 0.1 dB
inline constexpr StepGrid kChannelGainGrid{-300, 1, 0, 10};    // −30 .. 0 dB in 0.1 dB
inline constexpr StepGrid kAuxLevelGrid{-180, 1, 120, 10};     // −18 .. +12 dB in 0.1 dB
inline constexpr StepGrid kEqGainGrid{-30, 1, 30, 2};          // −15 .. +15 dB in 0.5 dB
inline constexpr StepGrid kNoiseLevelGrid{-40, 1, 0, 1};       // dBu
inline constexpr StepGrid kRoutingLevelGrid{-30, 1, 0, 1};     // dB
inline constexpr StepGrid kCompRatioGrid{2, 1, 32, 1};         // ratio 2:1 .. 32:1

// Index k of the grid value nearest to x (0 .. Count() − 1).
int SnapStepIndex(const StepGrid& grid, double x);
// The grid value nearest to x.
double SnapStep(const StepGrid& grid, double x);

// One function per grid use, as the design names them.
double SnapGateThreshold(double x);
double SnapDynThreshold(double x);  // compressor and limiter thresholds
double SnapMakeUpGain(double x);
double SnapChannelGain(double x);
double SnapAuxLevel(double x);  // level slots 8 and 9
double SnapEqGain(double x);
double SnapNoiseLevel(double x);
double SnapRoutingLevel(double x);
int SnapCompRatioIndex(double x);  // the index k (ratio k + 2), not the ratio

// ---------------------------------------------------------------------------------------------
// Step tables as numbers. Those that tables.h keeps as display texts are read into doubles at
// compile time: digits and one decimal point, value = the digits as a whole number / 10^d,
// which is the correctly rounded quotient and so the same double as the literal ("0.3" → 3/10).

constexpr double StepNumber(std::string_view text) {
  long long digits = 0;
  long long scale = 1;
  bool fraction = false;
  for (char c : text) {
    if (c == '.') {
      fraction = true;
      continue;
    }
    digits = digits * 10 + (c - '0');
    if (fraction) scale *= 10;
  }
  return static_cast<double>(digits) / static_cast<double>(scale);
}

template <std::size_t N>
constexpr std::array<double, N> StepNumbers(const std::array<std::string_view, N>& texts) {
  std::array<double, N> out{};
  for (std::size_t i = 0; i < N; ++i) out[i] = StepNumber(texts[i]);
  return out;
}

inline constexpr auto GateReleaseSteps = StepNumbers(GateReleaseTimes);  // ms, 13 entries
inline constexpr auto GateAttackSteps = StepNumbers(GateAttackTimes);    // ms, 29 entries
inline constexpr auto LimReleaseSteps = StepNumbers(LimReleaseTimes);    // s, 50 entries
inline constexpr auto LimAttackSteps = StepNumbers(LimAttackTimes);      // ms, 41 entries
// CompReleaseTimes (s, 30), CompAttackTimes (ms, 30) and EqQTable (101) are numbers already.

// Index of the entry of an ascending table nearest to x; an empty table gives 0.
int SnapIndex(std::span<const double> table, double x);

int SnapGateRelease(double x);
int SnapGateAttack(double x);
int SnapCompRelease(double x);
int SnapCompAttack(double x);
int SnapLimRelease(double x);
int SnapLimAttack(double x);
int SnapBellQ(double x);

// nearest() of the slider formulas: the nearest integer, exact halves to the even one.
int Nearest(double x);

}  // namespace velmark

#include "editor/value_snap.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/number_text.h"

namespace velmark {
namespace {

// A typed number is a short decimal; its distance to a grid point, measured in steps, differs
// from one half by far more than this unless the decimal itself lies half way. The tolerance
// only absorbs the binary error of x × den (−12.35 × 10 = −123.49999999999999…).
constexpr double kTieTolerance = 1e-9;

static_assert(kGateThresholdGrid.Count() == 7);
static_assert(kDynThresholdGrid.Count() == 151);
static_assert(kMakeUpGainGrid.Count() == 241);
static_assert(kChannelGainGrid.Count() == 301);
static_assert(kAuxLevelGrid.Count() == 301);
static_assert(kEqGainGrid.Count() == 61);
static_assert(kNoiseLevelGrid.Count() == 41);
static_assert(kRoutingLevelGrid.Count() == 31);
static_assert(kCompRatioGrid.Count() == 31);

static_assert(GateReleaseSteps.size() == 13 && GateReleaseSteps[12] == 1000);
static_assert(GateAttackSteps.size() == 29 && GateAttackSteps[10] == 15);
static_assert(LimReleaseSteps.size() == 50 && LimReleaseSteps[2] == 0.3);
static_assert(LimAttackSteps.size() == 41 && LimAttackSteps[40] == 900);

}  // namespace

int SnapStepIndex(const StepGrid& grid, double x) {
  const int last = grid.Count() - 1;
  if (std::isnan(x)) return 0;
  // Position in steps from the first value: steps = (x·den − first) / step.
  const double steps = (x * grid.den - grid.first) / grid.step;
  if (!(steps > 0)) return 0;
  if (steps >= last) return last;
  const double below = std::floor(steps);
  const double past = steps - below;  // 0 ≤ past < 1
  int k = static_cast<int>(below);
  if (past > 0.5 + kTieTolerance) ++k;
  return std::clamp(k, 0, last);
}

double SnapStep(const StepGrid& grid, double x) {
  return grid.Value(SnapStepIndex(grid, x));
}

double SnapGateThreshold(double x) {
  return SnapStep(kGateThresholdGrid, x);
}
double SnapDynThreshold(double x) {
  return SnapStep(kDynThresholdGrid, x);
}
double SnapMakeUpGain(double x) {
  return SnapStep(kMakeUpGainGrid, x);
}
double SnapChannelGain(double x) {
  return SnapStep(kChannelGainGrid, x);
}
double SnapAuxLevel(double x) {
  return SnapStep(kAuxLevelGrid, x);
}
double SnapEqGain(double x) {
  return SnapStep(kEqGainGrid, x);
}
double SnapNoiseLevel(double x) {
  return SnapStep(kNoiseLevelGrid, x);
}
double SnapRoutingLevel(double x) {
  return SnapStep(kRoutingLevelGrid, x);
}
int SnapCompRatioIndex(double x) {
  return SnapStepIndex(kCompRatioGrid, x);
}

int SnapIndex(std::span<const double> table, double x) {
  if (table.empty() || std::isnan(x)) return 0;
  const int last = static_cast<int>(table.size()) - 1;
  if (x <= table.front()) return 0;
  if (x >= table.back()) return last;
  // The first entry above x; x lies between entries j − 1 and j.
  const auto above = std::upper_bound(table.begin(), table.end(), x);
  const int j = static_cast<int>(above - table.begin());
  const double lo = table[static_cast<std::size_t>(j - 1)];
  const double hi = table[static_cast<std::size_t>(j)];
  // Upper entry only when strictly nearer; the tolerance is relative to the gap, as above.
  const double lead = (x - lo) - (hi - x);
  return lead > kTieTolerance * (hi - lo) ? j : j - 1;
}

int SnapGateRelease(double x) {
  return SnapIndex(GateReleaseSteps, x);
}
int SnapGateAttack(double x) {
  return SnapIndex(GateAttackSteps, x);
}
int SnapCompRelease(double x) {
  return SnapIndex(CompReleaseTimes, x);
}
int SnapCompAttack(double x) {
  return SnapIndex(CompAttackTimes, x);
}
int SnapLimRelease(double x) {
  return SnapIndex(LimReleaseSteps, x);
}
int SnapLimAttack(double x) {
  return SnapIndex(LimAttackSteps, x);
}
int SnapBellQ(double x) {
  return SnapIndex(EqQTable, x);
}

int Nearest(double x) {
  constexpr double kMax = std::numeric_limits<int>::max();
  constexpr double kMin = std::numeric_limits<int>::min();
  if (std::isnan(x)) return 0;
  return static_cast<int>(std::clamp(RoundHalfEven(x), kMin, kMax));
}

}  // namespace velmark

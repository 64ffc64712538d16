#include "eqdyn/dynamics_curve.h"

#include <algorithm>

namespace velmark {
namespace {

inline constexpr double kBypassThresholdDb = 20.0;  // the top of the axis: never reached

int Code(const ParamImage& img, int addr, int max) {
  return std::min<int>(img[addr], max);
}

bool ValidChannel(int ch) {
  return ch >= 0 && ch < kChannelCount;
}

}  // namespace

double ThresholdDbOfCode(int code) {
  return code / 5.0 - 10.0;
}

CompressorSetting CompressorSettingOf(const ParamImage& img, int ch, bool bypassed) {
  if (!ValidChannel(ch)) return {kBypassThresholdDb, 1.0, 0.0};
  const int base = CompAddr[ch];
  const double knee = Code(img, base + 2, kKneeCodeMax);
  if (bypassed) return {kBypassThresholdDb, 1.0, knee};
  return {ThresholdDbOfCode(Code(img, base, kThresholdCodeMax)),
          static_cast<double>(Code(img, base + 1, kRatioCodeMax) + 2), knee};
}

double LimiterThresholdOf(const ParamImage& img, int ch, bool bypassed) {
  if (bypassed || !ValidChannel(ch)) return kBypassThresholdDb;
  return ThresholdDbOfCode(Code(img, LimAddr[ch], kThresholdCodeMax));
}

KneeShape KneeShapeOf(const CompressorSetting& setting) {
  const double threshold = setting.threshold_db, ratio = setting.ratio;
  const double t = (threshold >= 20.0 || ratio == 1.0) ? 100.0 : (threshold + 20.0) * 2.5;
  // At or above the top of the axis the curve is the plain 1:1 line.
  const bool straight = t >= 100.0;
  const double r = straight ? 1.0 : ratio;
  const double k = straight ? 0.0 : setting.knee_pct;
  KneeShape knee;
  knee.t = t;
  knee.s = 1.0 / r - 1.0;
  const double kf = (100.0 - k + 25.0) / 125.0;  // 1 (hard knee) .. 0.2 (K = 100)
  knee.x1 = kf * t;
  knee.x2 = 2.0 * t - knee.x1;
  knee.w = knee.x2 - knee.x1;
  return knee;
}

double CompressorOutputPct(const KneeShape& knee, double x) {
  if (x < knee.x1) return x;
  if (x >= knee.x2) return x + (x - knee.t) * knee.s;
  // Only reached when x1 < x2, so the width is never zero here.
  const double d = x - knee.t + knee.w / 2.0;
  return x + knee.s * d * d / (2.0 * knee.w);
}

CompressorCurve CompressorCurveOf(const CompressorSetting& setting) {
  const KneeShape knee = KneeShapeOf(setting);
  CompressorCurve curve{};
  for (int i = 0; i < kCompressorPoints; ++i) {
    const double x = i / 10.0;
    curve[i] = {x, CompressorOutputPct(knee, x)};
  }
  return curve;
}

}  // namespace velmark

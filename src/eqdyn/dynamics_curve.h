#pragma once
// Static input/output characteristics of the compressor and the limiter, computed from the
// codes in a unit's image. The compressor curve is computed in percent of the axis: a level of
// L dB is (L + 20) · 2.5 percent, so 0..100 percent spans −20..+20 dB. Pure arithmetic; drawing
// is the dynamics graph's business.
//
// Codes are bounded to the unit's ranges before use (threshold 0..150, ratio 0..30, knee
// 0..100), so a damaged image still gives a curve inside the picture.

#include <array>

#include "model/image.h"

namespace velmark {

inline constexpr int kThresholdCodeMax = 150, kRatioCodeMax = 30, kKneeCodeMax = 100;
inline constexpr int kCompressorPoints = 1001;  // x = 0, 0.1, … 100 percent

// Threshold in dB of a threshold code: code / 5 − 10 (−10..+20 dB).
double ThresholdDbOfCode(int code);

struct CompressorSetting {
  double threshold_db;  // T
  double ratio;         // R: code + 2, or 1 when bypassed
  double knee_pct;      // K: 0 hard .. 100 softest
};

// The compressor of channel ch (0..7) from its image block; a bypassed compressor counts as
// T = 20 dB and R = 1, with its stored knee.
CompressorSetting CompressorSettingOf(const ParamImage& img, int ch, bool bypassed);

// The limiter threshold of output ch (4..7) in dB; 20 dB while bypassed.
double LimiterThresholdOf(const ParamImage& img, int ch, bool bypassed);

// The knee shape derived from a setting, in percent of the axis.
struct KneeShape {
  double t;   // threshold
  double s;   // change of slope above the threshold: 1/R' − 1
  double x1;  // knee start
  double x2;  // knee end, 2t − x1: the knee is centred on t
  double w;   // knee width x2 − x1
};
KneeShape KneeShapeOf(const CompressorSetting& setting);

// Output level in percent for an input level x in percent.
double CompressorOutputPct(const KneeShape& knee, double x);

struct CurvePointPct {
  double x, y;
};
using CompressorCurve = std::array<CurvePointPct, kCompressorPoints>;

// Points i = 0..1000 at x = i / 10 percent.
CompressorCurve CompressorCurveOf(const CompressorSetting& setting);

}  // namespace velmark

#pragma once
// Magnitude of one equaliser band in dB: closed analog-prototype formulas for the filter types,
// and curves shaped directly in dB for the bell and the notch. Pure functions of the band's
// parameters and the frequency; drawing and storage live elsewhere.
//
// Parameters come from the settings record, which a damaged image or file can fill with values
// the unit never holds (a frequency word of 0, a gain code of 255). The evaluation first brings
// every parameter into a range where each formula stays finite; values the unit can hold are
// used exactly as they are:
//   - a frequency that is not at least 1 mHz (0, negative, NaN) counts as 20 Hz, one above
//     10 MHz as 10 MHz; every 16-bit frequency word 1..65535 is used unchanged;
//   - a gain that is not finite counts as 0 dB; gains are bounded to ±120 dB (gain codes 0..255
//     reach −15..+112.5 dB);
//   - a shape value Q is bounded to 0.01..1000 (NaN counts as 0.01); the unit's range is 0.1..128;
//   - a type outside 0..16 contributes 0 dB, like the all-pass types.
// With these bounds every result is a finite number.

#include "model/responses.h"

namespace velmark {

inline constexpr double kFallbackFreqHz = 20.0;  // bottom of the axis
inline constexpr double kMinFreqHz = 1e-3, kMaxFreqHz = 1e7;
inline constexpr double kMaxGainDb = 120.0;
inline constexpr double kMinQ = 0.01, kMaxQ = 1000.0;

double SaneFrequency(double hz);
double SaneGain(double db);
double SaneQ(double q);

// Index into ShelfCorner1/ShelfCorner2 for a gain: the gain code 2G + 30, rounded half to even,
// bounded to 0..60 so that no gain indexes outside the tables.
int ShelfCornerIndex(double gain_db);

// Response of a band of `type` (EqType 0..16) with frequency f0 (Hz), gain (dB) and shape value
// q (EqQ) at frequency f (Hz). A switched-off band is 0 dB; the caller checks EqBandBypass.
double BandMagnitudeDb(int type, double f0, double gain_db, double q, double f);

// The same band at every point of FreqGrid; out[p] equals BandMagnitudeDb(…, FreqGrid[p]).
void BandCurveDb(int type, double f0, double gain_db, double q, Curve& out);

// FreqGrid as doubles, the frequencies every curve is evaluated at.
constexpr Curve MakeGridHz() {
  Curve hz{};
  for (int p = 0; p < kGridPoints; ++p) hz[p] = FreqGrid[p];
  return hz;
}
inline constexpr Curve kGridHz = MakeGridHz();

// 1 / FreqGrid[p], correctly rounded, so that f0 · (1/f) is as exact as f0 / f.
constexpr Curve MakeGridInvHz() {
  Curve inv{};
  for (int p = 0; p < kGridPoints; ++p) inv[p] = 1.0 / FreqGrid[p];
  return inv;
}
inline constexpr Curve kGridInvHz = MakeGridInvHz();

}  // namespace velmark

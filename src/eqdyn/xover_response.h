#pragma once
// Magnitude of a crossover filter in dB for the slope list XoverSlopeNames (index 0..12):
// Butterworth magnitudes BWn, Linkwitz-Riley shapes as products of Butterworth ones, and the
// second-order Bessel magnitude BS(k). Pure functions; a cut-off frequency that is not a usable
// number is brought into range as for the equaliser bands (SaneFrequency: 0 counts as 20 Hz).

#include <optional>

#include "model/responses.h"

namespace velmark {

inline constexpr int kXoverSlopeCount = 13;

// The slope index a stored XoverType stands for: rounded half to even. NaN and infinities give
// -1, which like every index outside 0..12 is a slope without a response.
int XoverSlopeIndex(double xover_type);

// Response at f (Hz) of slope `slope`, as a high-pass or a low-pass with cut-off fc (Hz).
// No value for a slope outside 0..12: the unit's stored response then stays as it was.
std::optional<double> XoverMagnitudeDb(int slope, bool high_pass, double fc, double f);

// The same filter at every point of FreqGrid. Returns false, leaving `out` untouched, for a
// slope outside 0..12.
bool XoverCurveDb(int slope, bool high_pass, double fc, Curve& out);

}  // namespace velmark

#pragma once
// The stored responses of unit CurUnit: one curve per band and per crossover filter, and the sum
// of each channel (its high-pass and low-pass on an output, plus its bands unless the channel's
// equaliser is bypassed). A change of one band or filter re-evaluates that one curve and re-sums
// only its own channel; the other curves enter with their stored values.

#include "model/program_state.h"
#include "model/responses.h"

namespace velmark {

struct GraphCanvas;

// BandResponse[band] from the record: 0 dB while the band is switched off (EqBandBypass ≠ 0).
void EvaluateBand(const DeviceSettings& rec, int band, Curve& out);

// XoverResponse[filter] from the record (even filters high-pass, odd ones low-pass). A slope
// index outside 0..12 leaves `out` as it was and returns false.
bool EvaluateXover(const DeviceSettings& rec, int filter, Curve& out);

// ChannelResponse[ch] from the stored band and filter curves: start at 0 (input) or high-pass +
// low-pass (output), then add the channel's bands in increasing order when EqBypass[ch] = 0.
void SumChannel(const DeviceSettings& rec, UnitResponses& responses, int ch);

// One band changed: evaluate it (unless its settings are those of its stored curve), re-sum its
// channel (unless nothing in it changed since the last sum) and, with a canvas, redraw the graph
// (clear, grid and, unless DrawSuppressed, the channel's curve). False for a band outside 0..95 or
// an invalid CurUnit, and nothing is changed then.
bool ComputeBandResponse(ProgramState& state, int band, GraphCanvas* canvas);

// The same for crossover filter 0..7 of output channel 4 + filter / 2.
bool ComputeXoverResponse(ProgramState& state, int filter, GraphCanvas* canvas);

// Everything of CurUnit after a configuration was decoded: bands 0..95, filters 0..7, then
// every channel sum, with drawing suppressed. The result equals running ComputeBandResponse for
// every band and then ComputeXoverResponse for every filter. Curves whose band or filter
// settings are those they were computed from are kept, and only channels with a changed curve
// or equaliser bypass are summed again. With a canvas the picture is left
// cleared with its grid, as those suppressed computations would leave it.
void RecomputeAll(ProgramState& state, GraphCanvas* canvas = nullptr);

}  // namespace velmark

#include "eqdyn/responses.h"

#include <array>
#include <bit>
#include <cstdint>

#include "eqdyn/band_response.h"
#include "eqdyn/xover_response.h"
#include "views/channel_graph.h"

namespace velmark {
namespace {

bool ValidUnit(int unit) {
  return unit >= 0 && unit < kUnitCount;
}

std::uint64_t Bits(double v) {
  return std::bit_cast<std::uint64_t>(v);
}

CurveSource BandSourceOf(const DeviceSettings& rec, int band) {
  if (rec.EqBandBypass[band] != 0) return {true, {1, 0, 0, 0, 0}};  // 0 dB whatever the rest
  return {true,
          {0, static_cast<std::uint64_t>(rec.EqType[band]), Bits(rec.EqFreq[band]),
           Bits(rec.EqGain[band]), Bits(rec.EqQ[band])}};
}

CurveSource XoverSourceOf(const DeviceSettings& rec, int filter) {
  return {true, {Bits(rec.XoverType[filter]), Bits(rec.XoverFreq[filter]), 0, 0, 0}};
}

// A channel's sum depends on its curves (whose sources mark it stale when they change) and on
// whether its equaliser is bypassed.
CurveSource SumSourceOf(const DeviceSettings& rec, int ch) {
  return {true, {static_cast<std::uint64_t>(rec.EqBypass[ch] != 0), 0, 0, 0, 0}};
}

int ChannelOfXover(int filter) {
  return kInputCount + filter / 2;
}

void Resum(const DeviceSettings& rec, UnitResponses& responses, int ch) {
  SumChannel(rec, responses, ch);
  responses.SumSource[ch] = SumSourceOf(rec, ch);
}

// Evaluates a band unless its stored curve already came from the same settings; a new curve
// puts its channel's sum out of date.
void RefreshBand(const DeviceSettings& rec, UnitResponses& responses, int band) {
  const CurveSource source = BandSourceOf(rec, band);
  if (responses.BandSource[band] == source) return;
  EvaluateBand(rec, band, responses.BandResponse[band]);
  responses.BandSource[band] = source;
  responses.SumSource[ChannelOfBand(band)].set = false;
}

// Sums a channel again unless nothing it adds has changed since its last sum: a page refresh
// sends every band of the channel, most of them as they were.
void ResumIfStale(const DeviceSettings& rec, UnitResponses& responses, int ch) {
  if (!(responses.SumSource[ch] == SumSourceOf(rec, ch))) Resum(rec, responses, ch);
}

// The same for a crossover filter. An unknown slope leaves the curve, and so its source, as
// they were.
void RefreshXover(const DeviceSettings& rec, UnitResponses& responses, int filter) {
  const CurveSource source = XoverSourceOf(rec, filter);
  if (responses.XoverSource[filter] == source) return;
  if (!EvaluateXover(rec, filter, responses.XoverResponse[filter])) return;
  responses.XoverSource[filter] = source;
  responses.SumSource[ChannelOfXover(filter)].set = false;
}

}  // namespace

void EvaluateBand(const DeviceSettings& rec, int band, Curve& out) {
  if (rec.EqBandBypass[band] != 0) {
    out.fill(0.0);
    return;
  }
  BandCurveDb(rec.EqType[band], rec.EqFreq[band], rec.EqGain[band], rec.EqQ[band], out);
}

bool EvaluateXover(const DeviceSettings& rec, int filter, Curve& out) {
  const bool high_pass = filter % 2 == 0;
  return XoverCurveDb(XoverSlopeIndex(rec.XoverType[filter]), high_pass, rec.XoverFreq[filter],
                      out);
}

// At every point the terms are added in the order start, band 0, band 1, … The points are taken
// in short blocks that stay in registers while all of the channel's bands are added to them.
// The loops run over whole curves through plain pointers, so that builds with the library's
// subscript checks (the fuzzing build) do not pay a checked call for each of the 20 000 adds.
void SumChannel(const DeviceSettings& rec, UnitResponses& responses, int ch) {
  constexpr int kBlock = 8;
  static_assert(kGridPoints % kBlock == 0);
  const double* bands[13] = {};
  int band_count = 0;
  if (rec.EqBypass[ch] == 0) {
    for (int k = 0; k <= BandLast[ch]; ++k)
      bands[band_count++] = responses.BandResponse[BandOf(ch, k)].data();
  }
  const bool input = IsInputChannel(ch);
  const double* high = responses.XoverResponse[input ? 0 : XoverIndex(ch, 0)].data();
  const double* low = responses.XoverResponse[input ? 0 : XoverIndex(ch, 1)].data();
  double* sum = responses.ChannelResponse[ch].data();
  for (int p0 = 0; p0 < kGridPoints; p0 += kBlock) {
    double acc[kBlock];
    for (int i = 0; i < kBlock; ++i) acc[i] = input ? 0.0 : high[p0 + i] + low[p0 + i];
    for (int n = 0; n < band_count; ++n) {
      const double* band = bands[n];
      for (int i = 0; i < kBlock; ++i) acc[i] += band[p0 + i];
    }
    for (int i = 0; i < kBlock; ++i) sum[p0 + i] = acc[i];
  }
}

bool ComputeBandResponse(ProgramState& state, int band, GraphCanvas* canvas) {
  if (band < 0 || band >= kBandCount || !ValidUnit(state.CurUnit)) return false;
  const DeviceSettings& rec = state.DeviceRecords[state.CurUnit];
  UnitResponses& responses = state.Responses(state.CurUnit);
  RefreshBand(rec, responses, band);
  const int ch = ChannelOfBand(band);
  ResumIfStale(rec, responses, ch);
  if (canvas) RedrawChannelGraph(state, *canvas, ch);
  return true;
}

bool ComputeXoverResponse(ProgramState& state, int filter, GraphCanvas* canvas) {
  if (filter < 0 || filter >= kXoverCount || !ValidUnit(state.CurUnit)) return false;
  const DeviceSettings& rec = state.DeviceRecords[state.CurUnit];
  UnitResponses& responses = state.Responses(state.CurUnit);
  RefreshXover(rec, responses, filter);
  const int ch = ChannelOfXover(filter);
  ResumIfStale(rec, responses, ch);
  if (canvas) RedrawChannelGraph(state, *canvas, ch);
  return true;
}

void RecomputeAll(ProgramState& state, GraphCanvas* canvas) {
  if (!ValidUnit(state.CurUnit)) return;
  const DeviceSettings& rec = state.DeviceRecords[state.CurUnit];
  UnitResponses& responses = state.Responses(state.CurUnit);
  for (int b = 0; b < kBandCount; ++b) RefreshBand(rec, responses, b);
  for (int x = 0; x < kXoverCount; ++x) RefreshXover(rec, responses, x);
  // Each channel once, where anything it adds changed: the sum the last of its per-band and
  // per-filter re-sums would leave.
  for (int ch = 0; ch < kChannelCount; ++ch) ResumIfStale(rec, responses, ch);
  if (canvas) {
    const bool suppressed = state.DrawSuppressed;
    state.DrawSuppressed = true;
    RedrawChannelGraph(state, *canvas, 0);
    state.DrawSuppressed = suppressed;
  }
}

}  // namespace velmark

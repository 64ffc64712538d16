#include "eqdyn/responses.h"

#include <array>

#include "eqdyn/band_response.h"
#include "eqdyn/xover_response.h"
#include "views/channel_graph.h"

namespace velmark {
namespace {

bool ValidUnit(int unit) {
  return unit >= 0 && unit < kUnitCount;
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
void SumChannel(const DeviceSettings& rec, UnitResponses& responses, int ch) {
  constexpr int kBlock = 8;
  static_assert(kGridPoints % kBlock == 0);
  std::array<const Curve*, 13> bands{};
  int band_count = 0;
  if (rec.EqBypass[ch] == 0) {
    for (int k = 0; k <= BandLast[ch]; ++k)
      bands[band_count++] = &responses.BandResponse[BandOf(ch, k)];
  }
  const bool input = IsInputChannel(ch);
  const Curve& high = responses.XoverResponse[input ? 0 : XoverIndex(ch, 0)];
  const Curve& low = responses.XoverResponse[input ? 0 : XoverIndex(ch, 1)];
  Curve& sum = responses.ChannelResponse[ch];
  for (int p0 = 0; p0 < kGridPoints; p0 += kBlock) {
    std::array<double, kBlock> acc;
    for (int i = 0; i < kBlock; ++i) acc[i] = input ? 0.0 : high[p0 + i] + low[p0 + i];
    for (int n = 0; n < band_count; ++n) {
      const Curve& band = *bands[n];
      for (int i = 0; i < kBlock; ++i) acc[i] += band[p0 + i];
    }
    for (int i = 0; i < kBlock; ++i) sum[p0 + i] = acc[i];
  }
}

bool ComputeBandResponse(ProgramState& state, int band, GraphCanvas* canvas) {
  if (band < 0 || band >= kBandCount || !ValidUnit(state.CurUnit)) return false;
  const DeviceSettings& rec = state.DeviceRecords[state.CurUnit];
  UnitResponses& responses = state.Responses(state.CurUnit);
  EvaluateBand(rec, band, responses.BandResponse[band]);
  const int ch = ChannelOfBand(band);
  SumChannel(rec, responses, ch);
  if (canvas) RedrawChannelGraph(state, *canvas, ch);
  return true;
}

bool ComputeXoverResponse(ProgramState& state, int filter, GraphCanvas* canvas) {
  if (filter < 0 || filter >= kXoverCount || !ValidUnit(state.CurUnit)) return false;
  const DeviceSettings& rec = state.DeviceRecords[state.CurUnit];
  UnitResponses& responses = state.Responses(state.CurUnit);
  EvaluateXover(rec, filter, responses.XoverResponse[filter]);
  const int ch = kInputCount + filter / 2;
  SumChannel(rec, responses, ch);
  if (canvas) RedrawChannelGraph(state, *canvas, ch);
  return true;
}

void RecomputeAll(ProgramState& state, GraphCanvas* canvas) {
  if (!ValidUnit(state.CurUnit)) return;
  const DeviceSettings& rec = state.DeviceRecords[state.CurUnit];
  UnitResponses& responses = state.Responses(state.CurUnit);
  for (int b = 0; b < kBandCount; ++b) EvaluateBand(rec, b, responses.BandResponse[b]);
  for (int x = 0; x < kXoverCount; ++x) EvaluateXover(rec, x, responses.XoverResponse[x]);
  // Each channel once: the sum the last of its per-band and per-filter re-sums would leave.
  for (int ch = 0; ch < kChannelCount; ++ch) SumChannel(rec, responses, ch);
  if (canvas) {
    const bool suppressed = state.DrawSuppressed;
    state.DrawSuppressed = true;
    RedrawChannelGraph(state, *canvas, 0);
    state.DrawSuppressed = suppressed;
  }
}

}  // namespace velmark

#pragma once
// Stored frequency responses of one unit, in dB at every point of FreqGrid: one curve per EQ
// band, per crossover filter and per channel sum. About 1.4 MB per unit, so a unit's store is
// allocated only when the unit is first used (see ProgramState::Responses).

#include <array>
#include <cstdint>

#include "model/tables.h"

namespace velmark {

using Curve = std::array<double, kGridPoints>;

// The values a stored curve was last computed from, compared bit for bit: a curve is a pure
// function of them, so an equal source means the stored curve is already the one a new
// computation would give. A source that was never set matches nothing.
struct CurveSource {
  bool set = false;
  std::array<std::uint64_t, 5> words{};

  bool operator==(const CurveSource&) const = default;
};

struct UnitResponses {
  std::array<Curve, kBandCount> BandResponse{};        // [band][point]
  std::array<Curve, kXoverCount> XoverResponse{};      // [filter][point]
  std::array<Curve, kChannelCount> ChannelResponse{};  // [channel][point]

  // Where each curve above came from. Decoding a configuration re-evaluates only the bands and
  // filters whose settings differ from the stored curves' and re-sums only their channels: a
  // loaded preset or a recalled program usually changes a few bands of 96.
  std::array<CurveSource, kBandCount> BandSource{};
  std::array<CurveSource, kXoverCount> XoverSource{};
  std::array<CurveSource, kChannelCount> SumSource{};
};

}  // namespace velmark

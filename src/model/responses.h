#pragma once
// Stored frequency responses of one unit, in dB at every point of FreqGrid: one curve per EQ
// band, per crossover filter and per channel sum. About 1.4 MB per unit, so a unit's store is
// allocated only when the unit is first used (see ProgramState::Responses).

#include <array>

#include "model/tables.h"

namespace velmark {

using Curve = std::array<double, kGridPoints>;

struct UnitResponses {
  std::array<Curve, kBandCount> BandResponse{};        // [band][point]
  std::array<Curve, kXoverCount> XoverResponse{};      // [filter][point]
  std::array<Curve, kChannelCount> ChannelResponse{};  // [channel][point]
};

}  // namespace velmark

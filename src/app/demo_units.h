#pragma once
// The device table of demo mode: units without hardware, filled with the factory preset.

#include "model/program_state.h"

namespace velmark {

inline constexpr int kDemoUnitCount = 5;  // RS-485 with several devices

// USB: one unit, index 0, Id 0. RS-485 with one device: index 0, Id 1. RS-485 with several
// devices: indices 0..4 with Id 1..5, each named DefaultUnitName. Every entry is in use, not
// on-line and has no window; every unit gets the factory preset.
void CreateDemoUnits(ProgramState& st);

}  // namespace velmark

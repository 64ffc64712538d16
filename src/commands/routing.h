#pragma once
// The two 4 × 4 routing matrices, the input source of each input pair and the two noise
// generators. Matrix cells are p = 4 × row + column: input routing rows are the output channels
// Out1..Out4 and columns the inputs A..D; output routing rows are the physical outputs and
// columns the output channels. The matrices have no record fields; image and window hold them.

#include "commands/core.h"

namespace velmark {

// Cell p (0..15) of the input routing: level text, the row's mask rebuilt from its four boxes,
// the cell's level byte, enabling of the cell's level controls and its diagram lines; one
// CmdInputRouting carrying the whole row (mask and four levels).
void SendInRouting(Core& core, int p);
// The same for the output routing (CheckFRout …, OutRouteAddr, CmdOutputRouting).
void SendOutRouting(Core& core, int p);

// Option2 index o (0..5) = 3 × pair + source: option colours, source byte 817 + pair and the
// pair's record field; CmdInputSource.
void SendInputSource(Core& core, int o);

// Generator of pair 0..1 from its type options and level slider: NoiseType/NoiseLevel, colours,
// level text, knob, bytes 833 + 2 × pair and 834 + 2 × pair; CmdNoiseGenerator.
void SendNoiseGen(Core& core, int pair);

inline constexpr int kRouteLevelMax = 30;  // level step 30 = 0 dB
inline constexpr int kNoiseLevelMax = 40;  // level step 40 = 0 dB

}  // namespace velmark

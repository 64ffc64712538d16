#pragma once
// The two crossover filters of the current output channel: f = 0 high-pass, 1 low-pass.

#include "commands/core.h"

namespace velmark {

// Filter f of CurChannel of CurUnit from TextHpLpF(f) and ComboHpLpS(f): the text becomes its
// integer part (80.9 → 80), XoverFreq/XoverType and the filter's three image bytes follow, and
// one CmdCrossover goes out. The caller recomputes the filter's response afterwards.
//
// Does nothing (no change, nothing sent) when the current channel is an input (inputs have no
// filters), f is not 0 or 1, the text is not a number or its integer part does not fit the
// 16-bit frequency word, or the list has no selection.
void SendCrossover(Core& core, int f);

}  // namespace velmark

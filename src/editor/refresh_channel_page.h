#pragma once
// The channel page of the edit window filled from the unit's image: CurChannel of CurUnit,
// the input layout (noise gate, compressor, 13 bands) or the output layout (compressor,
// limiter, crossover filters, 11 bands). Each group of controls is written with
// UpdatingControls held; the group's builders then run with it clear and rebuild record,
// texts, knobs and graph data from the controls. The caller holds SendSuppressed, so nothing
// is sent.
//
// A damaged image may hold codes no control can show (a gain code above 60, a Q code above
// 100, a slope above 12, a slider code above its maximum, a switch byte above 1). Such a code is
// shown and computed as the nearest value the control holds, and its image byte is kept as it
// was: the refresh never rewrites a byte only because a control could not hold it.

#include "commands/core.h"

namespace velmark {

void RefreshChannelPage(Core& core);

}  // namespace velmark

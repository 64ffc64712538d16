#pragma once
// Turns the whole image of CurUnit into its settings record and its edit window (creating the
// window's controls on first use), by running the ordinary builders over controls filled from
// the image. The caller holds SendSuppressed; the decoder clears it before its last step and
// sends exactly one packet itself, the unit's link mask.
//
// Any 1651 bytes decode. Bytes that no control can show (a level word above 300, a delay
// beyond its step control, a routing level above 30, a delay unit or noise type other than
// 0/1, a noise level above 40) are shown and computed with the nearest value the control holds;
// the image keeps every byte it had, except a source byte above 2, which is rewritten as 0.

#include "commands/core.h"

namespace velmark {

void DecodeImage(Core& core);

}  // namespace velmark

#pragma once
// Channel linking of the current unit. The inputs A..D and the outputs 1..4 form two groups; a
// change made on a linked channel is repeated on every other linked channel of its group, in
// ascending channel order. An unlinked source changes nothing else. The repetition updates the
// program's own copy only (record, image, controls, responses) and sends nothing, except for
// EQ flat, which sends every band of every linked channel.
//
// Within each operation UpdatingControls, SendSuppressed and DrawSuppressed are set right
// before the step they guard and cleared right after it.

#include "commands/core.h"

namespace velmark {

inline constexpr ui::Colour kLinkedColour = 33023;       // orange
inline constexpr ui::Colour kUnlinkedColour = 12632256;  // silver

// CheckLinkOut(n) → LinkFlag, LinkMask, the label colour, and CmdLinkMask (01 … mask). The new
// state stays whether or not the packet gets through.
void SetLinkFlag(Core& core, int n);

// Sources: the current channel.
void LinkNoiseGate(Core& core);
void LinkCompressorSwitch(Core& core);
// Compressor control element: 0..5 on an input page, 6..11 on an output page.
void LinkCompressorParam(Core& core, int index);
void LinkLimiterSwitch(Core& core);
void LinkLimiterParams(Core& core);
// Filter 0 high-pass, 1 low-pass of the current output.
void LinkCrossover(Core& core, int k);
// Band control element: 0..12 on an input page, 13..23 on an output page.
void LinkEqBand(Core& core, int index);
void LinkEqBypass(Core& core);
// Sends every band of each linked channel; stops at the first failed packet.
void LinkEqFlat(Core& core);

// Sources: the channel given (the gains/delays and routing/mute pages).
void LinkDelay(Core& core, int ch);
void LinkGain(Core& core, int ch);
void LinkPolarity(Core& core, int ch);
void LinkMute(Core& core, int ch);

}  // namespace velmark

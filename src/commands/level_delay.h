#pragma once
// Level, delay, delay unit, polarity and mute of the current unit (CurUnit): each builder reads
// the edit window's control, updates record, image and window together and sends one packet
// whose data bytes are copied from the image. The packet's outcome is not looked at; a failed
// exchange is handled by the transaction engine. An index outside the builder's range does
// nothing.

#include <string>

#include "commands/core.h"

namespace velmark {

inline constexpr int kLevelWordMax = 300;  // Slider1 runs 0..300, word = 300 − slider
inline constexpr int kKnobTrackTop = 360, kKnobTrackSpan = 1220;  // knob pictures, twips

// Top of a knob picture for a slider at `value` of 0..`max`: value / max × 1220 + 360 twips,
// rounded half to even.
int KnobTop(int value, int max);

// dB a level word stands for: word/10 − 30 on the channel slots 0..7, word/10 − 18 on the two
// masters (8, 9).
double LevelDb(int slot, int word);

// Delay in ms shown for coarse whole ms and fine 0.0104 ms steps, truncated to three decimals.
// Worked in integers (coarse × 10000 + fine × 104 tenths of a µs), so 0 ms + 65 steps shows
// 0.676, the truncation of 0.676 itself, and never one step below it.
double DelayMs(int coarse, int fine);
// The delay as Text2 shows it: ms, or ms × 0.34 in metres when delay_unit is 1.
double DelayShown(int coarse, int fine, int delay_unit);
std::string DelayText(int coarse, int fine, int delay_unit, bool decimal_comma);
// Caption of FrameDly: "Delay [ ms ]" or "Delay [ m ]" (unit 1).
std::string DelayFrameCaption(int delay_unit);

// Level slot 0..9 from Slider1(slot): GainText, LevelGain (the number in the text), GainSl,
// level word; CmdGain (slots 0..7) or CmdAuxGain (8, 9).
void SendLevel(Core& core, int slot);
// Channel 0..7 from UpDown2 (coarse) and UpDown1 (fine): Text2, DelayCoarse/DelayFine, the
// three delay bytes; CmdDelay. A value that does not fit its byte ends it before anything
// changes, and nothing is sent.
void SendDelay(Core& core, int channel);
// Delay unit 0 (ms) or 1 (m): DelayUnit, system byte 819, option colours, all eight delay texts
// and frame captions; one CmdSystemSetting. No delay is changed or sent.
void SendDelayUnit(Core& core, int index);
// Channel 0..7 from Check2: Polarity, caption colour, polarity mask rebuilt from all eight
// flags; CmdPolarity.
void SendPolarity(Core& core, int channel);
// Channel 0..7 from Mute (already set by the caller): mute picture, mute mask rebuilt from all
// eight flags; CmdMute.
void SendMute(Core& core, int channel);

}  // namespace velmark

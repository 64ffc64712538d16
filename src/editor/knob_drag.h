#pragma once
// The drawn knobs beside the value sliders: a knob is dragged along its vertical track and the
// position of its top edge picks the slider value, 0 at the top of the track. Positions are in
// the window's units (twips), relative to the knob's frame.

namespace velmark {

class FrmKVRxxxA;

// The top edge of a knob at the two ends of its travel, and the slider value at the bottom.
struct KnobTrack {
  int top;
  int bottom;
  int max;
};

inline constexpr int kLevelKnobTop = 360, kLevelKnobBottom = 1580;  // GainSl, SlNoiseLev
inline constexpr int kDynKnobBottom = 2500;                         // NGSl, CmpSl, LimSl from 480
inline constexpr int kEqKnobTop = 720, kEqKnobBottom = 1920;        // ImgEQGain

// The knob's top after the mouse moved `dy` from where it grabbed the knob, held to the track
// (rounded half to even first: the control holds whole units).
int KnobTopAfterMove(const KnobTrack& track, int top, double dy);

// floor((top − T0) / (T1 − T0) × M) for a top on the track: the value changes only once the
// knob's top has reached the value's own position.
int KnobValueAt(const KnobTrack& track, int top);

// Mouse-down, move and up on GainSl, NGSl, CmpSl, LimSl, SlNoiseLev and ImgEQGain, and the
// knob pictures that follow their value controls' focus.
void WireKnobDrags(FrmKVRxxxA& w);

}  // namespace velmark

#pragma once
// Sliders, up-downs, knob drags, double clicks and the band-marker drag.
//
// Each value control's change runs its family's command, curve and linking. The knob drags and
// the band-marker drag (knob_drag.h, band_marker_drag.h) set those value controls and then run
// the same steps again, so the steps of each family live here once.

#include "commands/core.h"

namespace velmark {

class FrmKVRxxxA;

void WireSlidersAndDrags(FrmKVRxxxA& w);

// The builders do not hand back their packet's outcome. A failed exchange of an open edit
// window shows in the state instead: the engine marks the unit as needing a new connection.
// A watch taken before a step tells whether that step failed, so that a handler sending more
// than one packet stops at the first failure.
class FailureWatch {
 public:
  explicit FailureWatch(const ProgramState& st);
  bool Failed() const;

 private:
  const ProgramState& st_;
  int unit_;
  bool needed_connect_;
};

// Level slot 0..9: SendLevel, LinkGain.
void ApplyLevel(Core& core, int slot);
// The current input's noise gate: SetNoiseGate, LinkNoiseGate.
void ApplyNoiseGate(Core& core);
// Compressor element 0..11: SetCompParam, its transfer curve (element / 6), LinkCompressorParam.
void ApplyCompParam(Core& core, int element);
// The current output's limiter: SetLimParams, its transfer line, LinkLimiterParams.
void ApplyLimParams(Core& core);
// Band element 0..23: SendEqBand, LinkEqBand, and the band's response redrawn on the graph.
void ApplyEqBand(Core& core, int element);

}  // namespace velmark

#include "editor/slider_handlers.h"

#include "channels/linking.h"
#include "commands/level_delay.h"
#include "commands/routing.h"
#include "editor/band_marker_drag.h"
#include "editor/frm_kvr.h"
#include "editor/knob_drag.h"
#include "eqdyn/dynamics.h"
#include "eqdyn/edit_graph.h"
#include "eqdyn/eq_band.h"
#include "eqdyn/responses.h"
#include "views/dynamics_graph.h"

namespace velmark {
namespace {

constexpr int kMasterFirstSlot = 8;
constexpr int kChannelZeroDb = 0;   // Slider1 of a channel at 0 dB (its top)
constexpr int kMasterZeroDb = 120;  // Slider1 of a master level at 0 dB (−18..+12 dB)
constexpr int kEqGainZeroDb = 30;   // Slider2 at 0 dB

// The change of a value control that the program's own writes must not count as a user's:
// returns at once while UpdatingControls is held, before touching CurUnit.
template <typename Control, typename Action>
void OnGuardedChange(FrmKVRxxxA& w, Control& control, Action action) {
  control.OnChange = [&w, action] {
    if (w.GetCore().st.UpdatingControls) return;
    w.TakeCurrentUnit();
    action(w.GetCore());
  };
}

// The indices are captured by init-capture: clang 14 cannot capture a structured binding.
void WireGainsAndDelays(FrmKVRxxxA& w) {
  for (auto& [i, slider] : w.Slider1) {
    OnGuardedChange(w, slider, [i = i](Core& core) { ApplyLevel(core, i); });
  }
  for (auto* delays : {&w.UpDown1, &w.UpDown2}) {
    for (auto& [i, step] : *delays) {
      OnGuardedChange(w, step, [i = i](Core& core) {
        SendDelay(core, i);
        LinkDelay(core, i);
      });
    }
  }
}

void WireRoutingAndNoise(FrmKVRxxxA& w) {
  for (auto& [p, step] : w.UpDownSRout) {
    OnGuardedChange(w, step, [p = p](Core& core) { SendInRouting(core, p); });
  }
  for (auto& [p, step] : w.UpDownFRout) {
    OnGuardedChange(w, step, [p = p](Core& core) { SendOutRouting(core, p); });
  }
  for (auto& [pair, slider] : w.SliderNoiseLev) {
    OnGuardedChange(w, slider, [pair = pair](Core& core) { SendNoiseGen(core, pair); });
  }
}

// The noise gate sliders are guarded like every other value control: the page refresh sets
// them one by one with UpdatingControls held, and a gate built from the first new slider and
// the two old ones would overwrite the new channel's release and attack bytes before the
// refresh reads them.
void WireDynamics(FrmKVRxxxA& w) {
  for (auto& [k, slider] : w.SliderNG) {
    OnGuardedChange(w, slider, [](Core& core) { ApplyNoiseGate(core); });
  }
  for (auto& [i, slider] : w.SliderCmp) {
    OnGuardedChange(w, slider, [i = i](Core& core) { ApplyCompParam(core, i); });
  }
  for (auto& [k, slider] : w.SliderLim) {
    OnGuardedChange(w, slider, [](Core& core) { ApplyLimParams(core); });
  }
}

void WireEqualiser(FrmKVRxxxA& w) {
  for (auto& [i, slider] : w.Slider2) {
    OnGuardedChange(w, slider, [i = i](Core& core) { ApplyEqBand(core, i); });
  }
  for (auto& [i, step] : w.UDEqQ) {
    OnGuardedChange(w, step, [i = i](Core& core) { ApplyEqBand(core, i); });
  }
}

// Setting the value control runs its change handling (one packet when the value changes); the
// command then runs once more, unless the first packet failed.
void WireDoubleClicks(FrmKVRxxxA& w) {
  for (auto& [i, knob] : w.GainSl) {
    knob.OnDblClick = [&w, i = i] {
      Core& core = w.GetCore();
      if (core.st.UpdatingControls) return;
      w.TakeCurrentUnit();
      const FailureWatch watch(core.st);
      w.Slider1(i).SetValue(i < kMasterFirstSlot ? kChannelZeroDb : kMasterZeroDb);
      if (!watch.Failed()) ApplyLevel(core, i);
    };
  }
  for (auto& [i, knob] : w.ImgEQGain) {
    knob.OnDblClick = [&w, i = i] {
      Core& core = w.GetCore();
      w.TakeCurrentUnit();
      const FailureWatch watch(core.st);
      w.Slider2(i).SetValue(kEqGainZeroDb);
      if (!watch.Failed()) ApplyEqBand(core, i);
    };
  }
}

}  // namespace

FailureWatch::FailureWatch(const ProgramState& st)
    : st_(st), unit_(ProgramState::Checked(st.CurUnit)), needed_connect_(st.NeedsConnect[unit_]) {}

bool FailureWatch::Failed() const {
  return !needed_connect_ && st_.NeedsConnect[unit_];
}

void ApplyLevel(Core& core, int slot) {
  SendLevel(core, slot);
  LinkGain(core, slot);
}

void ApplyNoiseGate(Core& core) {
  SetNoiseGate(core);
  LinkNoiseGate(core);
}

void ApplyCompParam(Core& core, int element) {
  SetCompParam(core, element);
  DrawDynamicsCurve(core.st, core.Win().PicCmp,
                    element < kCompBytes ? kDynCompressorInput : kDynCompressorOutput);
  LinkCompressorParam(core, element);
}

void ApplyLimParams(Core& core) {
  SetLimParams(core);
  DrawDynamicsCurve(core.st, core.Win().PicCmp, kDynLimiter);
  LinkLimiterParams(core);
}

void ApplyEqBand(Core& core, int element) {
  SendEqBand(core, element);
  LinkEqBand(core, element);
  const int band = BandOfElement(core, element);
  if (band < 0) return;
  GraphCanvas canvas = EditGraphCanvas(core.Win());
  ComputeBandResponse(core.st, band, &canvas);
}

void WireSlidersAndDrags(FrmKVRxxxA& w) {
  WireGainsAndDelays(w);
  WireRoutingAndNoise(w);
  WireDynamics(w);
  WireEqualiser(w);
  WireDoubleClicks(w);
  WireKnobDrags(w);
  WireBandMarkerDrags(w);
}

}  // namespace velmark

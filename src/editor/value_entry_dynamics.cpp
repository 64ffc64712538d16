// Typed values of the dynamics sections: NGText 0..2 (noise gate of an input),
// CmpText 0..11 (compressor, 0..5 on the input page, 6..11 on the output page) and LimText 1, 4,
// 5 (limiter of an output). Every Enter sets the slider as a user change (its own handler runs
// too) and then runs the section's command and linking itself.

#include "channels/linking.h"
#include "editor/value_entry_box.h"
#include "eqdyn/dynamics.h"
#include "views/dynamics_graph.h"

namespace velmark::value_entry {
namespace {

enum CompElement { kThreshold = 0, kRatio, kKnee, kRelease, kAttack, kMakeUp };

// A step-table parameter: slider := max − SnapIndex.
bool EnterTableStep(FrmKVRxxxA& w, ui::TextBox& box, const TypedStep& rule, ui::Slider& slider) {
  const auto x = TextNumber(w, box);
  if (!x) return false;
  slider.SetValue(ApplyTypedStep(rule, *x));
  return true;
}

// The slider value of CmpText(i) entered, per its parameter; false for a text not to be used.
bool EnterCompParameter(FrmKVRxxxA& w, int i) {
  ui::TextBox& box = w.CmpText(i);
  ui::Slider& slider = w.SliderCmp(i);
  switch (i % kCompBytes) {
    case kThreshold:
      return EnterLevel(w, box, kDynThresholdEntry, slider);
    case kRatio: {
      const auto position = RatioEntry(box.Text(), w.GetCore().st.DecimalIsComma);
      if (!position) return false;
      slider.SetValue(*position);
      return true;
    }
    case kKnee:
      return EnterLevel(w, box, kCompKneeEntry, slider);
    case kRelease:
      return EnterTableStep(w, box, kCompReleaseEntry, slider);
    case kAttack:
      return EnterTableStep(w, box, kCompAttackEntry, slider);
    default:
      return EnterLevel(w, box, kMakeUpGainEntry, slider);
  }
}

bool EnterLimParameter(FrmKVRxxxA& w, int e) {
  ui::TextBox& box = w.LimText(e);
  ui::Slider& slider = w.SliderLim(e);
  switch (e) {
    case 1:
      return EnterLevel(w, box, kDynThresholdEntry, slider);
    case 4:
      return EnterTableStep(w, box, kLimReleaseEntry, slider);
    default:
      return EnterTableStep(w, box, kLimAttackEntry, slider);
  }
}

}  // namespace

void WireDynamics(FrmKVRxxxA& w) {
  static constexpr TypedStep kGateSteps[] = {{}, kGateReleaseEntry, kGateAttackEntry};
  for (int k = 0; k < 3; ++k) {
    WireBox(
        w, w.NGText(k), kGainFamily,
        [&w, k] {
          return k == 0 ? EnterLevel(w, w.NGText(0), kGateThresholdEntry, w.SliderNG(0))
                        : EnterTableStep(w, w.NGText(k), kGateSteps[k], w.SliderNG(k));
        },
        [](Core& core) {
          SetNoiseGate(core);
          LinkNoiseGate(core);
        });
  }
  for (int i = 0; i < kCompElements; ++i) {
    WireBox(
        w, w.CmpText(i), kGainFamily, [&w, i] { return EnterCompParameter(w, i); },
        [&w, i](Core& core) {
          SetCompParam(core, i);
          // Only threshold, ratio and knee change the transfer curve.
          if (i % kCompBytes <= kKnee) {
            DrawDynamicsCurve(core.st, w.PicCmp,
                              i < kCompBytes ? kDynCompressorInput : kDynCompressorOutput);
          }
          LinkCompressorParam(core, i);
        });
  }
  for (int e : kLimElements) {
    WireBox(
        w, w.LimText(e), kGainFamily, [&w, e] { return EnterLimParameter(w, e); },
        [&w](Core& core) {
          SetLimParams(core);
          DrawDynamicsCurve(core.st, w.PicCmp, kDynLimiter);
          LinkLimiterParams(core);
        });
  }
}

}  // namespace velmark::value_entry

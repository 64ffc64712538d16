#include "editor/knob_drag.h"

#include <algorithm>
#include <functional>

#include "commands/level_delay.h"
#include "commands/routing.h"
#include "editor/frm_kvr.h"
#include "editor/slider_handlers.h"
#include "eqdyn/dynamics.h"
#include "eqdyn/eq_band.h"
#include "model/number_text.h"
#include "views/channel_graph.h"

namespace velmark {
namespace {

// A knob, the value control it sets, its track, and what runs once more after the value control
// was set (whose own change handling has already run when the value changed).
struct Knob {
  ui::Image& image;
  ui::RangeControl& value;
  KnobTrack track;
  std::function<void(Core&, int value)> again;
};

void EndDrag(ProgramState& st) {
  st.Dragging = false;
  st.MarkerMoved = false;
}

void MoveKnob(FrmKVRxxxA& w, const Knob& knob, double y) {
  Core& core = w.GetCore();
  ProgramState& st = core.st;
  const int top = KnobTopAfterMove(knob.track, knob.image.Top(), y - st.GrabY);
  knob.image.SetTop(top);
  const int v = KnobValueAt(knob.track, top);
  const FailureWatch watch(st);
  knob.value.SetValue(v);
  if (!watch.Failed()) knob.again(core, v);
  // The failure's message may have taken the mouse-up that ends the drag; without this, plain
  // mouse moves over a knob of the reopened window would drag it.
  if (watch.Failed()) EndDrag(st);
}

void WireKnob(FrmKVRxxxA& w, const Knob& knob) {
  ProgramState& st = w.GetCore().st;
  ui::RangeControl& value = knob.value;
  ui::Image& image = knob.image;
  image.OnMouseDown = [&w, &st, &value](int, int, double, double y) {
    w.TakeCurrentUnit();
    st.GrabY = y;
    value.SetFocus();
    st.Dragging = true;
  };
  image.OnMouseMove = [&w, &st, knob](int, int, double, double y) {
    if (!st.Dragging) return;
    w.TakeCurrentUnit();
    MoveKnob(w, knob, y);
  };
  image.OnMouseUp = [&w, &st](int, int, double, double) {
    w.TakeCurrentUnit();
    st.Dragging = false;
  };
  value.OnGotFocus = [&w, &image] { image.SetPicture(w.Image12(1).Picture()); };
  value.OnLostFocus = [&w, &image] { image.SetPicture(w.Image12(0).Picture()); };
}

// Knob and value control of the same element, where both exist.
template <typename Images, typename Values, typename Make>
void WireFamily(FrmKVRxxxA& w, Images& images, Values& values, Make make) {
  for (auto& [i, image] : images) {
    if (values.Has(i)) WireKnob(w, make(i, image, values(i)));
  }
}

// The EQ gain knob's own second run: the gain text and the record follow the knob before the band
// is sent again.
void EqGainAgain(Core& core, int element, int v) {
  const double gain = EqGainOfSlider(v);
  core.Win().TxtEqGain(element).SetText(NumberText(gain, core.st.DecimalIsComma));
  const int band = BandOfElement(core, element);
  if (band >= 0) core.Rec().EqGain[band] = gain;
  ApplyEqBand(core, element);
}

void WireLevelKnobs(FrmKVRxxxA& w) {
  static constexpr KnobTrack kGain{kLevelKnobTop, kLevelKnobBottom, kLevelWordMax};
  WireFamily(w, w.GainSl, w.Slider1, [](int i, ui::Image& image, ui::Slider& slider) {
    return Knob{image, slider, kGain, [i](Core& core, int) { ApplyLevel(core, i); }};
  });
  static constexpr KnobTrack kNoise{kLevelKnobTop, kLevelKnobBottom, kNoiseLevelMax};
  WireFamily(w, w.SlNoiseLev, w.SliderNoiseLev, [](int i, ui::Image& image, ui::Slider& slider) {
    return Knob{image, slider, kNoise, [i](Core& core, int) { SendNoiseGen(core, i); }};
  });
}

void WireDynamicsKnobs(FrmKVRxxxA& w) {
  WireFamily(w, w.NGSl, w.SliderNG, [](int k, ui::Image& image, ui::Slider& slider) {
    const KnobTrack track{kDynKnobTop, kDynKnobBottom, kGateSliderMax.at(k)};
    return Knob{image, slider, track, [](Core& core, int) { ApplyNoiseGate(core); }};
  });
  WireFamily(w, w.CmpSl, w.SliderCmp, [](int i, ui::Image& image, ui::Slider& slider) {
    const KnobTrack track{kDynKnobTop, kDynKnobBottom, kCompSliderMax.at(i % kCompBytes)};
    return Knob{image, slider, track, [i](Core& core, int) { ApplyCompParam(core, i); }};
  });
  WireFamily(w, w.LimSl, w.SliderLim, [](int e, ui::Image& image, ui::Slider& slider) {
    const auto j = std::find(kLimElements.begin(), kLimElements.end(), e) - kLimElements.begin();
    const KnobTrack track{kDynKnobTop, kDynKnobBottom,
                          kLimSliderMax.at(static_cast<std::size_t>(j))};
    return Knob{image, slider, track, [](Core& core, int) { ApplyLimParams(core); }};
  });
}

void WireEqGainKnobs(FrmKVRxxxA& w) {
  static constexpr KnobTrack kEq{kEqKnobTop, kEqKnobBottom, kEqGainCodeMax};
  WireFamily(w, w.ImgEQGain, w.Slider2, [](int i, ui::Image& image, ui::Slider& slider) {
    return Knob{image, slider, kEq, [i](Core& core, int v) { EqGainAgain(core, i, v); }};
  });
}

}  // namespace

int KnobTopAfterMove(const KnobTrack& track, int top, double dy) {
  return std::clamp(RoundCoordinate(top + dy), track.top, track.bottom);
}

int KnobValueAt(const KnobTrack& track, int top) {
  const int span = track.bottom - track.top;
  if (span <= 0) return 0;
  const int offset = std::clamp(top, track.top, track.bottom) - track.top;
  return offset * track.max / span;  // whole numbers: the quotient is the floor
}

void WireKnobDrags(FrmKVRxxxA& w) {
  WireLevelKnobs(w);
  WireDynamicsKnobs(w);
  WireEqGainKnobs(w);
}

}  // namespace velmark

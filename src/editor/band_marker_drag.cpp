#include "editor/band_marker_drag.h"

#include <algorithm>
#include <cmath>

#include "editor/frm_kvr.h"
#include "editor/slider_handlers.h"
#include "eqdyn/edit_graph.h"
#include "eqdyn/eq_band.h"
#include "eqdyn/responses.h"
#include "model/number_text.h"
#include "views/channel_graph.h"

namespace velmark {
namespace {

constexpr double kUnitsPerDb = 60;
constexpr double kUnitsPerTenth = kUnitsPerDb / 10;
constexpr double kLift = 0.1 * kUnitsPerDb;  // a marker sits 0.1 dB above its gain line
constexpr double kGainLimit = kMarkerGainLimitTenths * kUnitsPerTenth;
constexpr double kFreqLowHz = 20, kDecades = 3;
constexpr int kEqGainZeroPosition = 30;

// Never undefined, unlike std::clamp, should a picture have no size yet.
double Bound(double v, double lo, double hi) {
  return std::min(std::max(v, lo), hi);
}

void ShowReadout(FrmKVRxxxA& w, int band) {
  Core& core = w.GetCore();
  const DeviceSettings& rec = core.Rec();
  w.LblFreqGain.SetCaption(
      MarkerReadout(rec.EqFreq[band], rec.EqGain[band], core.st.DecimalIsComma));
}

// Mouse-down: the gain knobs of the channel lose their focus picture, the drag begins and the
// read-out shows the band as it is.
void MarkerDown(FrmKVRxxxA& w, int element) {
  w.TakeCurrentUnit();
  Core& core = w.GetCore();
  const int ch = core.Channel();
  if (ch >= 0 && ch < kChannelCount) {
    for (int k = 0; k <= BandLast[ch]; ++k) {
      const int e = BandElementOf(ch, k);
      if (w.ImgEQGain.Has(e)) w.ImgEQGain(e).SetPicture(w.Image12(0).Picture());
    }
  }
  core.st.Dragging = true;
  const int band = BandOfElement(core, element);
  if (band < 0) return;
  w.LblFreqGain.SetVisible(true);
  w.LblFreqGain.BringToFront();
  ShowReadout(w, band);
}

// The band's texts, gain slider and record follow the marker; the slider is set with
// UpdatingControls held, since its change handling would send the band.
void FollowMarker(FrmKVRxxxA& w, int element, int band, const MarkerReading& r) {
  Core& core = w.GetCore();
  const bool comma = core.st.DecimalIsComma;
  w.TxtEqGain(element).SetText(NumberText(r.gain_db, comma));
  {
    FlagGuard quiet(core.st.UpdatingControls);
    w.Slider2(element).SetValue(r.gain_slider);
  }
  w.TxtEqFreq(element).SetText(NumberText(r.freq_hz, comma));
  DeviceSettings& rec = core.Rec();
  rec.EqGain[band] = r.gain_db;
  rec.EqFreq[band] = r.freq_hz;
  ShowReadout(w, band);
  GraphCanvas canvas = EditGraphCanvas(w);
  ComputeBandResponse(core.st, band, &canvas);
}

// Mouse-move while dragging: the marker's left/top edge goes to the pointer; a band without a
// gain keeps its height. Nothing is sent.
void MarkerMove(FrmKVRxxxA& w, int element, double x, double y) {
  Core& core = w.GetCore();
  if (!core.st.Dragging) return;
  w.TakeCurrentUnit();
  const int band = BandOfElement(core, element);
  const GraphScale scale = ScaleOf(w.Picture1);
  if (band < 0 || scale.W <= 0 || scale.H <= 0) return;
  core.st.MarkerMoved = true;
  ui::Label& marker = w.Label5(element);
  const bool has_gain = EqTypeHasGain[BoundedEqType(core.Rec().EqType[band])];
  const double top = has_gain ? marker.Top() + y : marker.Top();
  const MarkerReading r = ReadMarker(scale.W, scale.H, marker.Left() + x, top);
  marker.SetLeft(r.left);
  marker.SetTop(r.top);
  FollowMarker(w, element, band, r);
}

// Mouse-up: a moved marker sends its band once; a click only showed the read-out.
void MarkerUp(FrmKVRxxxA& w, int element) {
  w.TakeCurrentUnit();
  ProgramState& st = w.GetCore().st;
  st.Dragging = false;
  if (st.MarkerMoved) {
    st.MarkerMoved = false;
    ApplyEqBand(w.GetCore(), element);
  }
  w.LblFreqGain.SetVisible(false);
}

}  // namespace

MarkerReading ReadMarker(double width, double height, double left, double top) {
  constexpr double d = kMarkerOffset;
  MarkerReading r{};
  r.left = RoundCoordinate(Bound(left, -d, width - d));
  top = Bound(top, -d, height - d);
  // 60 × gain, gain = (H/2 − (top − D)) / 60 − 0.1: whole units for a whole-unit top, so that a
  // marker on a tenth-of-a-dB line reads that tenth exactly and is not rounded one below it.
  const double units = Bound(height / 2 - (top - d) - kLift, -kGainLimit, kGainLimit);
  r.top = RoundCoordinate(height / 2 - units - kLift + d);
  const double tenths = std::floor(units / kUnitsPerTenth);
  r.gain_db = tenths / 10;
  r.gain_slider = static_cast<int>(RoundHalfEven(kEqGainZeroPosition - tenths / 5));
  r.freq_hz = std::floor(kFreqLowHz * std::pow(10.0, kDecades * (r.left + d) / width));
  return r;
}

std::string MarkerReadout(double freq_hz, double gain_db, bool decimal_comma) {
  return "Freq=" + NumberText(freq_hz, decimal_comma) +
         "Hz; Gain=" + NumberText(gain_db, decimal_comma) + "dB";
}

void WireBandMarkerDrags(FrmKVRxxxA& w) {
  // Named copies: clang 14 cannot capture a structured binding.
  for (auto& entry : w.Label5) {
    const int i = entry.first;
    auto& marker = entry.second;
    marker.OnMouseDown = [&w, i](int, int, double, double) { MarkerDown(w, i); };
    marker.OnMouseMove = [&w, i](int, int, double x, double y) { MarkerMove(w, i, x, y); };
    marker.OnMouseUp = [&w, i](int, int, double, double) { MarkerUp(w, i); };
  }
}

}  // namespace velmark

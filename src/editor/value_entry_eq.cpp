// Typed values of the equaliser bands and the crossover filters: TxtEqGain,
// TxtEqFreq and TxtEqQ 0..23 (band elements: 0..12 on an input page, 13..23 on an output page),
// TextHpLpF 0..1 and the slope lists ComboHpLpS 0..1 of an output.

#include "channels/linking.h"
#include "commands/crossover.h"
#include "editor/value_entry_box.h"
#include "eqdyn/edit_graph.h"
#include "eqdyn/eq_band.h"
#include "eqdyn/responses.h"

namespace velmark::value_entry {
namespace {

constexpr int kBandElements = 24;

// After a band's text was used: the band packet, the linked channels and the band's response.
void ApplyBand(FrmKVRxxxA& w, int i) {
  Core& core = w.GetCore();
  SendEqBand(core, i);
  LinkEqBand(core, i);
  const int band = BandOfElement(core, i);
  if (band < 0) return;
  GraphCanvas canvas = EditGraphCanvas(w);
  ComputeBandResponse(core.st, band, &canvas);
}

// The frequency text of a box limited to 20..20000 Hz; false when it is not a number.
bool ClampFrequency(FrmKVRxxxA& w, ui::TextBox& box) {
  const auto x = TextNumber(w, box);
  if (!x) return false;
  if (const char* text = FrequencyClampText(*x)) box.SetText(text);
  return true;
}

// Filter f of the current output from its text and list: packet, linked outputs, response.
void ApplyCrossover(FrmKVRxxxA& w, int f) {
  Core& core = w.GetCore();
  SendCrossover(core, f);
  LinkCrossover(core, f);
  const int c = core.Channel();
  if (IsInputChannel(c)) return;  // the filters are shown on output pages only
  GraphCanvas canvas = EditGraphCanvas(w);
  ComputeXoverResponse(core.st, XoverIndex(c, f), &canvas);
}

}  // namespace

void WireEqAndCrossover(FrmKVRxxxA& w) {
  for (int i = 0; i < kBandElements; ++i) {
    WireBox(
        w, w.TxtEqGain(i), kGainFamily,
        [&w, i] { return EnterLevel(w, w.TxtEqGain(i), kEqGainEntry, w.Slider2(i)); },
        [&w, i](Core&) { ApplyBand(w, i); });
    WireBox(
        w, w.TxtEqFreq(i), kEqFreqFamily, [&w, i] { return ClampFrequency(w, w.TxtEqFreq(i)); },
        [&w, i](Core&) { ApplyBand(w, i); });
    // The Q code takes effect through UDEqQ's own change handler, which sends the
    // band, repeats it and recomputes it; a code equal to the one shown changes nothing.
    WireBox(
        w, w.TxtEqQ(i), kEqQFamily,
        [&w, i] {
          Core& core = w.GetCore();
          const int band = BandOfElement(core, i);
          if (band < 0) return true;  // no band of this channel behind the box
          const auto code =
              QEntry(w.TxtEqQ(i).Text(), core.Rec().EqType[band], core.st.DecimalIsComma);
          if (!code) return false;
          w.UDEqQ(i).SetValue(*code);
          return true;
        },
        nullptr);
  }
  for (int f = 0; f < 2; ++f) {
    WireBox(
        w, w.TextHpLpF(f), kXoverFreqFamily, [&w, f] { return ClampFrequency(w, w.TextHpLpF(f)); },
        [&w, f](Core&) { ApplyCrossover(w, f); });
    // A picked slope takes the frequency in the box, clamped the same way.
    w.ComboHpLpS(f).OnClick = [&w, f] {
      Core& core = w.GetCore();
      if (core.st.UpdatingControls) return;
      w.TakeCurrentUnit();
      if (!ClampFrequency(w, w.TextHpLpF(f))) {
        core.ui.messages.Show(kIncorrectFrequencyValue, kWarningTitle, ui::MsgIcon::None,
                              ui::MsgButtons::Ok);
        return;
      }
      ApplyCrossover(w, f);
    };
  }
}

}  // namespace velmark::value_entry

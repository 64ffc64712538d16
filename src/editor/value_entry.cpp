// Typed values: the wiring of every text box family, the shared key and Enter
// handling, and the boxes of the gains/delays and routing/mute pages.

#include "editor/value_entry.h"

#include "channels/linking.h"
#include "commands/level_delay.h"
#include "commands/routing.h"
#include "editor/slider_handlers.h"
#include "editor/value_entry_box.h"
#include "model/number_text.h"

namespace velmark {
namespace value_entry {
namespace {

constexpr int kRoutingCells = 16;

}  // namespace

void WireBox(FrmKVRxxxA& w, ui::TextBox& box, const EntryFamily& family, EnterStep enter,
             RunStep run) {
  box.OnKeyPress = [&w, fam = &family, enter = std::move(enter), run = std::move(run)](int& key) {
    Core& core = w.GetCore();
    if (fam->guarded && core.st.UpdatingControls) return;
    w.TakeCurrentUnit();
    switch (FilterKey(*fam, key, core.st.DecimalIsComma)) {
      case KeyAction::Keep:
        return;
      case KeyAction::Reject:
        Refuse(w, fam->bad_key, key);
        return;
      case KeyAction::Apply: {
        const FailureWatch watch(core.st);
        if (!enter()) {
          Refuse(w, fam->bad_text, key);
        } else if (run && !watch.Failed()) {
          run(core);
        }
        return;
      }
    }
  };
}

void Refuse(FrmKVRxxxA& w, const Refusal& refusal, int& key) {
  Core& core = w.GetCore();
  if (refusal.message) {
    core.ui.messages.Show(refusal.message, kWarningTitle, ui::MsgIcon::None, ui::MsgButtons::Ok);
  }
  if (refusal.replacement != kKeepKey) key = refusal.replacement;
  if (refusal.clears_updating) core.st.UpdatingControls = false;
}

std::optional<double> TextNumber(FrmKVRxxxA& w, const ui::TextBox& box) {
  return ParseNumber(box.Text(), w.GetCore().st.DecimalIsComma);
}

bool EnterLevel(FrmKVRxxxA& w, ui::TextBox& box, const TypedLevel& rule,
                ui::RangeControl& companion, Companion how) {
  const auto x = TextNumber(w, box);
  if (!x) return false;
  ProgramState& st = w.GetCore().st;
  const LevelResult r = ApplyTypedLevel(rule, *x);
  if (r.clamp_text) box.SetText(r.clamp_text);
  if (r.snapped) box.SetText(NumberText(*r.snapped, st.DecimalIsComma));
  if (how == Companion::Quiet) {
    FlagGuard quiet(st.UpdatingControls);
    companion.SetValue(r.control);
  } else {
    companion.SetValue(r.control);
  }
  return true;
}

// GainText 0..7 channel gains, 8 and 9 the masters; Text2 0..7 delays.
void WireGainsAndDelays(FrmKVRxxxA& w) {
  for (int i = 0; i < kLevelSlots; ++i) {
    const TypedLevel* rule = i < kChannelCount ? &kChannelGainEntry : &kAuxLevelEntry;
    WireBox(
        w, w.GainText(i), kGainFamily,
        [&w, rule, i] { return EnterLevel(w, w.GainText(i), *rule, w.Slider1(i)); },
        [i](Core& core) {
          SendLevel(core, i);
          LinkGain(core, i);  // the masters are no channel: nothing to repeat
        });
  }
  for (int i = 0; i < kChannelCount; ++i) {
    WireBox(
        w, w.Text2(i), kDelayFamily,
        [&w, i] {
          Core& core = w.GetCore();
          const auto steps = DelayEntry(w.Text2(i).Text(), IsInputChannel(i), core.Rec().DelayUnit,
                                        core.st.DecimalIsComma);
          if (!steps) return false;
          FlagGuard quiet(core.st.UpdatingControls);
          w.UpDown2(i).SetValue(steps->coarse);
          w.UpDown1(i).SetValue(steps->fine);
          return true;
        },
        [i](Core& core) {
          SendDelay(core, i);
          LinkDelay(core, i);
        });
  }
}

// TextSRout/TextFRout 0..15 (levels set with UpdatingControls held, no link); TextNoiseLev 0..1.
void WireRoutingAndNoise(FrmKVRxxxA& w) {
  for (int p = 0; p < kRoutingCells; ++p) {
    WireBox(
        w, w.TextSRout(p), kRoutingFamily,
        [&w, p] {
          return EnterLevel(w, w.TextSRout(p), kRoutingLevelEntry, w.UpDownSRout(p),
                            Companion::Quiet);
        },
        [p](Core& core) { SendInRouting(core, p); });
    WireBox(
        w, w.TextFRout(p), kRoutingFamily,
        [&w, p] {
          return EnterLevel(w, w.TextFRout(p), kRoutingLevelEntry, w.UpDownFRout(p),
                            Companion::Quiet);
        },
        [p](Core& core) { SendOutRouting(core, p); });
  }
  for (int pair = 0; pair < 2; ++pair) {
    WireBox(
        w, w.TextNoiseLev(pair), kGainFamily,
        [&w, pair] {
          return EnterLevel(w, w.TextNoiseLev(pair), kNoiseLevelEntry, w.SliderNoiseLev(pair));
        },
        [pair](Core& core) { SendNoiseGen(core, pair); });  // no linking
  }
}

}  // namespace value_entry

void WireValueEntry(FrmKVRxxxA& w) {
  value_entry::WireGainsAndDelays(w);
  value_entry::WireRoutingAndNoise(w);
  value_entry::WireDynamics(w);
  value_entry::WireEqAndCrossover(w);
}

}  // namespace velmark

#pragma once
// What the value-entry handlers of the edit window share: wiring a text box to its family's
// key filter and Enter step, refusing a key or a text, and the common Enter step of a number
// with a companion control. Internal to src/editor/value_entry*.cpp.

#include <functional>
#include <optional>

#include "editor/frm_kvr.h"
#include "editor/value_entry_rules.h"

namespace velmark::value_entry {

// The first half of Enter: the text into the box's own texts and its companion control. True
// when the text could be used, false when not, which refuses the Enter key as the family says.
using EnterStep = std::function<bool()>;
// The second half: the family's command and linking.
using RunStep = std::function<void(Core&)>;

// Box's key press: nothing while UpdatingControls is set (guarded families, checked before
// CurUnit is touched, as every handler of the window does); CurUnit := the window's unit; the
// family's key filter; Enter runs `enter`, then `run` (if any). Setting a companion as a user
// change runs its own change handler, which sends once already; when that exchange failed (the
// unit is now off-line), `run` is left out: a sequence of packets stops at its first failure.
void WireBox(FrmKVRxxxA& w, ui::TextBox& box, const EntryFamily& family, EnterStep enter,
             RunStep run);

// The warning box of a refusal (if any), the replacement key, and UpdatingControls cleared for
// the families that say so.
void Refuse(FrmKVRxxxA& w, const Refusal& refusal, int& key);

// The box's text as a number in the user's locale, or nothing.
std::optional<double> TextNumber(FrmKVRxxxA& w, const ui::TextBox& box);

enum class Companion { Raises, Quiet };

// Clamp text, snapped text, then the companion control := the rule's value. Raises: set as a
// user change would be, so the control's own change handler runs; Quiet: set with
// UpdatingControls held. False when the text is not a number (nothing changed).
bool EnterLevel(FrmKVRxxxA& w, ui::TextBox& box, const TypedLevel& rule,
                ui::RangeControl& companion, Companion how = Companion::Raises);

// The families by page, each in its own file.
void WireGainsAndDelays(FrmKVRxxxA& w);   // value_entry.cpp
void WireRoutingAndNoise(FrmKVRxxxA& w);  // value_entry.cpp
void WireDynamics(FrmKVRxxxA& w);         // value_entry_dynamics.cpp
void WireEqAndCrossover(FrmKVRxxxA& w);   // value_entry_eq.cpp

}  // namespace velmark::value_entry

#pragma once
// What the switch handlers of the edit window share: how a click reaches its handler, and the
// busy pointers of the equaliser operations.

#include <functional>
#include <utility>

#include "editor/frm_kvr.h"

namespace velmark {

// A click on a control the program also sets (check boxes, option buttons, the mute pictures):
// while the program fills controls (UpdatingControls) the click is none of the user's and the
// handler returns at once, before it even takes the current unit, so that filling another
// window's controls never moves CurUnit. Otherwise CurUnit := the window's unit, then the work.
template <typename Work>
std::function<void()> GuardedClick(FrmKVRxxxA& w, Work work) {
  return [&w, work = std::move(work)] {
    if (w.GetCore().st.UpdatingControls) return;
    w.TakeCurrentUnit();
    work(w.GetCore());
  };
}

// A click on a label or button that only a person clicks.
template <typename Work>
std::function<void()> Click(FrmKVRxxxA& w, Work work) {
  return [&w, work = std::move(work)] {
    w.TakeCurrentUnit();
    work(w.GetCore());
  };
}

// The arrow-and-hourglass pointer on the main window and on this edit window for a scope; both
// return to the default pointer however the scope ends. Visual only: nothing is blocked.
class BusyPointers {
 public:
  explicit BusyPointers(FrmKVRxxxA& w) : w_(w) { Set(ui::MousePointer::Busy); }
  ~BusyPointers() { Set(ui::MousePointer::Default); }
  BusyPointers(const BusyPointers&) = delete;
  BusyPointers& operator=(const BusyPointers&) = delete;

 private:
  void Set(ui::MousePointer pointer) {
    w_.SetPointer(pointer);
    if (w_.OnMainPointer) w_.OnMainPointer(pointer);
  }
  FrmKVRxxxA& w_;
};

// The equaliser controls of both channel layouts (switch_handlers_eq.cpp).
void WireEqSwitches(FrmKVRxxxA& w);

}  // namespace velmark

// The equaliser controls of the channel pages: "Bypass", "EQ Flat", the band switches "Byp"
// and the band type labels with their "Filter Type" menu.

#include "channels/linking.h"
#include "editor/switch_handlers.h"
#include "editor/switch_handlers_common.h"
#include "eqdyn/edit_graph.h"
#include "eqdyn/eq_band.h"
#include "eqdyn/responses.h"

namespace velmark {
namespace {

inline constexpr int kLastInputElement = 12, kLastOutputElement = 23;
inline constexpr int kMenuTop = 1200;
inline constexpr int kBandPitch = 600;
inline constexpr int kFirstInputColumn = 2400, kFirstOutputColumn = 200;

// The page's whole equaliser in or out; its curve and the linked channels follow.
void EqBypassClick(FrmKVRxxxA& w, int j) {
  Core& core = w.GetCore();
  BusyPointers busy(w);
  SetEqBypass(core, j);
  LinkEqBypass(core);
  RedrawAfterEqBypass(core);
}

// The question comes first, under the clicked control's busy pointer; the windows show theirs
// only while the bands go out. The control gets its own pointer back however the run ends.
void EqFlatClick(FrmKVRxxxA& w, ui::Control& clicked, int j) {
  Core& core = w.GetCore();
  struct OwnPointer {
    ui::Control& control;
    ui::MousePointer own;
    ~OwnPointer() { control.SetPointer(own); }
  } restore{clicked, clicked.Pointer()};
  clicked.SetPointer(ui::MousePointer::Busy);
  if (!ConfirmEqFlat(core)) return;
  BusyPointers busy(w);
  FlattenEq(core, j);
}

// One band on or off: sent, repeated on the linked channels, its curve recomputed.
void BandSwitchClick(FrmKVRxxxA& w, int element) {
  Core& core = w.GetCore();
  const int band = BandOfElement(core, element);
  if (band < 0) return;
  ToggleBandBypass(core, element);
  SendEqBand(core, element);
  LinkEqBand(core, element);
  GraphCanvas canvas = EditGraphCanvas(w);
  ComputeBandResponse(core.st, band, &canvas);
}

// Opens "Filter Type" for the band with its current type checked. A damaged image can hold a
// type byte beyond the menu: then no entry is checked.
void TypeLabelClick(FrmKVRxxxA& w, int element) {
  Core& core = w.GetCore();
  w.MenuBand = element;
  const int band = BandOfElement(core, element);
  const std::optional<MenuPoint> at = EqTypeMenuPoint(element);
  if (band < 0 || !at) return;
  ui::Menu& menu = w.ShapeEq;
  const int type = core.Rec().EqType[band];
  for (int t = 0; t < menu.ItemCount(); ++t) menu.SetChecked(t, t == type);
  w.Services().desktop.PopupMenu(w, menu, at->x, at->y);
}

}  // namespace

std::optional<MenuPoint> EqTypeMenuPoint(int element) {
  if (element < 0 || element > kLastOutputElement) return std::nullopt;
  if (element <= kLastInputElement)
    return MenuPoint{kBandPitch * element + kFirstInputColumn, kMenuTop};
  return MenuPoint{kBandPitch * (element - kOutputBandElement) + kFirstOutputColumn, kMenuTop};
}

void WireEqSwitches(FrmKVRxxxA& w) {
  for (auto& entry : w.CheckEqByp) {
    const int j = entry.first;
    auto& box = entry.second;
    box.OnClick = GuardedClick(w, [&w, j](Core&) { EqBypassClick(w, j); });
  }
  for (auto& entry : w.BtnFlatEQ) {
    const int j = entry.first;
    auto& button = entry.second;
    button.OnClick = Click(w, [&w, &button, j](Core&) { EqFlatClick(w, button, j); });
  }
  for (auto& entry : w.LblFlatEQ) {
    const int j = entry.first;
    auto& label = entry.second;
    label.OnClick = Click(w, [&w, &label, j](Core&) { EqFlatClick(w, label, j); });
  }
  for (auto& entry : w.LblEQsByp) {
    const int i = entry.first;
    auto& label = entry.second;
    label.OnClick = Click(w, [&w, i](Core&) { BandSwitchClick(w, i); });
  }
  for (auto& entry : w.LblEQType) {
    const int i = entry.first;
    auto& label = entry.second;
    label.OnClick = Click(w, [&w, i](Core&) { TypeLabelClick(w, i); });
  }
  // A chosen entry arrives here; closing the menu without a choice raises nothing.
  w.ShapeEq.OnClick = [&w](int t) {
    w.TakeCurrentUnit();
    SetEqType(w.GetCore(), w.MenuBand, t);
  };
}

}  // namespace velmark

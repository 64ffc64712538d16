#pragma once
// The tool bar and the click-type controls of the pages: switches, option buttons, check boxes,
// the mute buttons, the EQ band labels and the "Filter Type" menu.

#include <optional>

namespace velmark {

class FrmKVRxxxA;

void WireToolBarAndSwitches(FrmKVRxxxA& w);

// Where the "Filter Type" menu pops up for band control element i, in window units: below the
// band's column (the bands stand 600 units apart). None for an element that is no band.
struct MenuPoint {
  int x = 0, y = 0;
  bool operator==(const MenuPoint&) const = default;
};
std::optional<MenuPoint> EqTypeMenuPoint(int element);

}  // namespace velmark

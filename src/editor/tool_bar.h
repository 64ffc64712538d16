#pragma once
// The twelve tool buttons along the top of the edit window, ImageBtn(0..11).

namespace velmark {

class FrmKVRxxxA;

inline constexpr int kToolButtonCount = 12;
inline constexpr int kVersionButton = 6, kSetupButton = 9, kDefaultButton = 10;

// ImageBtn(i): the button's action with UiBusy held, so that no edit window polls its meters
// meanwhile. UiBusy is false afterwards on every path: refused, failed or thrown. Buttons
// outside 0..11 do nothing.
void ToolButtonClick(FrmKVRxxxA& w, int i);

void WireToolBar(FrmKVRxxxA& w);

}  // namespace velmark

#pragma once
// "View All" on the edit window: opens the response overview of the unit, then redraws the
// edit window's own graph, whose scale the overview's drawing does not share.

namespace velmark {

class FrmKVRxxxA;

// The overview, then the response of the current channel's first band recomputed and drawn.
void ShowViewAll(FrmKVRxxxA& w);

// Clicks on LblViewAll and ImgViewAll.
void WireViewAll(FrmKVRxxxA& w);

}  // namespace velmark

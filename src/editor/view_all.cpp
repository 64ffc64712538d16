#include "editor/view_all.h"

#include "editor/frm_kvr.h"
#include "eqdyn/edit_graph.h"
#include "eqdyn/responses.h"

namespace velmark {

void ShowViewAll(FrmKVRxxxA& w) {
  w.TakeCurrentUnit();
  if (w.OnShowViewAll) w.OnShowViewAll();
  // The recomputation also clears the picture and draws the grid, so the edit window's graph
  // is whole again however the overview was left.
  const int ch = w.GetCore().Channel();
  if (ch < 0 || ch >= kChannelCount) return;
  GraphCanvas canvas = EditGraphCanvas(w);
  ComputeBandResponse(w.GetCore().st, BandStart[ch], &canvas);
}

void WireViewAll(FrmKVRxxxA& w) {
  w.LblViewAll.OnClick = [&w] { ShowViewAll(w); };
  w.ImgViewAll.OnClick = [&w] { ShowViewAll(w); };
}

}  // namespace velmark

#include "editor/graph_sheet.h"

#include "editor/frm_kvr.h"
#include "eqdyn/edit_graph.h"

namespace velmark {

ui::GraphSheet EditGraphSheet(FrmKVRxxxA& w) {
  ui::GraphSheet sheet;
  sheet.width = w.FrameGraph.Width();
  sheet.height = w.FrameGraph.Height();
  sheet.back = w.FrameGraph.BackColor();
  sheet.picture = &w.Picture1;
  sheet.picture_left = w.Picture1.Left();
  sheet.picture_top = w.Picture1.Top();
  const GraphCanvas canvas = EditGraphCanvas(w);
  for (const ui::Label* label : canvas.LblFreqGraph) {
    if (label && label->Visible()) sheet.labels.push_back(label);
  }
  for (const ui::Label* label : canvas.LblAmpGraph) {
    if (label && label->Visible()) sheet.labels.push_back(label);
  }
  return sheet;
}

void DrawGraphCurve(FrmKVRxxxA& w, const Curve& curve, int ch) {
  GraphCanvas canvas = EditGraphCanvas(w);
  ui::PictureBox& picture = w.Picture1;
  picture.Cls();
  const GraphScale scale = DrawEqGrid(canvas);
  if (ch >= 0 && ch < kChannelCount) DrawResponseCurve(picture, scale, curve, ChannelColour[ch]);
  picture.Flush();
}

}  // namespace velmark

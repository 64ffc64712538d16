#pragma once
// The edit window's response graph as a sheet of its own (ui/graph_pictures.h): the graph
// frame with Picture1 and the axis labels, for writing or copying as a picture.

#include "model/responses.h"
#include "ui/graph_pictures.h"

namespace velmark {

class FrmKVRxxxA;

// FrameGraph's size and colour, Picture1 where the frame holds it, and the visible labels
// LblFreqGraph 0..4 and LblAmpGraph 0..6, 10..16. Points into the window's controls.
ui::GraphSheet EditGraphSheet(FrmKVRxxxA& w);

// Draws `curve` on the window's graph as the window draws a channel's sum: cleared picture,
// grid, labels placed, the curve in channel ch's colour (the grid alone for a channel outside
// 0..7).
void DrawGraphCurve(FrmKVRxxxA& w, const Curve& curve, int ch);

}  // namespace velmark

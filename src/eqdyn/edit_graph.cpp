#include "eqdyn/edit_graph.h"

namespace velmark {

GraphCanvas EditGraphCanvas(EditControls& w) {
  GraphCanvas canvas;
  canvas.Picture1 = &w.Picture1;
  for (int i = 0; i < static_cast<int>(canvas.LblFreqGraph.size()); ++i) {
    if (w.LblFreqGraph.Has(i)) canvas.LblFreqGraph[i] = &w.LblFreqGraph(i);
  }
  for (int i = 0; i < static_cast<int>(canvas.LblAmpGraph.size()); ++i) {
    if (w.LblAmpGraph.Has(i)) canvas.LblAmpGraph[i] = &w.LblAmpGraph(i);
  }
  canvas.Layout = &kEditGraphLabels;
  return canvas;
}

CursorControls EditCursorControls(EditControls& w) {
  CursorControls controls;
  for (int i = 0; i < static_cast<int>(controls.Label5.size()); ++i) {
    if (w.Label5.Has(i)) controls.Label5[i] = &w.Label5(i);
  }
  controls.LblShowCursor = &w.LblShowCursor;
  return controls;
}

}  // namespace velmark

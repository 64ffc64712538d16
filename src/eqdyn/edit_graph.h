#pragma once
// The edit window's graph and band cursor controls as the drawing code takes them.

#include "editor/edit_controls.h"
#include "views/band_cursors.h"
#include "views/channel_graph.h"

namespace velmark {

// Picture1 with the axis labels LblFreqGraph 0..4 and LblAmpGraph 0..6, 10..16.
GraphCanvas EditGraphCanvas(EditControls& w);

// The 24 band cursors Label5 and the "Cursor" label LblShowCursor.
CursorControls EditCursorControls(EditControls& w);

}  // namespace velmark

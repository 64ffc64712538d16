#pragma once
// The numbered band cursors on the response graph and the per-channel switch that shows them.
// A cursor sits at its band's frequency and gain; its gain scale is a fixed 60 units per dB,
// independent of the graph's own dB scale (48 units per dB on the design picture), so a loud
// band's cursor sits nearer the middle than its curve's peak.

#include <array>

#include "model/program_state.h"
#include "ui/controls.h"
#include "views/channel_graph.h"

namespace velmark {

inline constexpr int kInputCursorFirst = 0, kInputCursorLast = 12;     // Label5 of an input page
inline constexpr int kOutputCursorFirst = 13, kOutputCursorLast = 23;  // … of an output page
inline constexpr double kCursorUnitsPerDb = 60;

// The edit window's cursor controls; null entries are skipped.
struct CursorControls {
  std::array<ui::Label*, 24> Label5{};
  ui::Label* LblShowCursor = nullptr;
};

// Gain in dB that a band's gain slider position stands for: (60 − pos) / 2 − 15.
double SliderGainDb(int gain_slider_pos);

// Cursor position: Left = x(f0) − 60, Top = H / 2 − (g + 0.1) · 60 + 60, both rounded half to
// even; g from the band's gain slider (also while the band is switched off). A frequency that is
// not a usable number is taken as 20 Hz.
int CursorLeft(const GraphScale& scale, double f0);
int CursorTop(const GraphScale& scale, int gain_slider_pos);
void PlaceBandCursor(ui::Label& cursor, const GraphScale& scale, double f0, int gain_slider_pos);

// The cursors of the current channel's page are shown (and stacked so that band 0 lies on top)
// only while ShowCursor[ch] = 1 and the channel's equaliser is not bypassed; the other page's
// cursors are always hidden. Mirrors ShowCursor[ch] into image byte 1600 + ch.
void ShowBandCursors(ProgramState& state, CursorControls& controls);

// LblShowCursor orange while ShowCursor of the current channel is 1, grey otherwise; then
// ShowBandCursors.
void ShowCursorState(ProgramState& state, CursorControls& controls);

// Flips ShowCursor of the current channel (1 becomes 0, anything else 1), then ShowCursorState.
void ToggleShowCursor(ProgramState& state, CursorControls& controls);

}  // namespace velmark

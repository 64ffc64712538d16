#include "views/band_cursors.h"

#include "eqdyn/band_response.h"

namespace velmark {
namespace {

struct CursorRange {
  int first, last;
};

CursorRange PageCursors(bool input) {
  return input ? CursorRange{kInputCursorFirst, kInputCursorLast}
               : CursorRange{kOutputCursorFirst, kOutputCursorLast};
}

void Hide(CursorControls& controls, CursorRange range) {
  for (int i = range.first; i <= range.last; ++i) {
    if (controls.Label5[i]) controls.Label5[i]->SetVisible(false);
  }
}

// The current channel of a valid CurUnit, or -1.
int CurrentChannel(const ProgramState& state) {
  if (state.CurUnit < 0 || state.CurUnit >= kUnitCount) return -1;
  const int ch = state.CurChannel[state.CurUnit];
  return ch >= 0 && ch < kChannelCount ? ch : -1;
}

}  // namespace

double SliderGainDb(int gain_slider_pos) {
  return (60 - gain_slider_pos) / 2.0 - 15.0;
}

int CursorLeft(const GraphScale& scale, double f0) {
  return RoundCoordinate(scale.X(SaneFrequency(f0)) - scale.CursorHalf);
}

int CursorTop(const GraphScale& scale, int gain_slider_pos) {
  const double g = SliderGainDb(gain_slider_pos);
  return RoundCoordinate(scale.H / 2.0 - (g + 0.1) * kCursorUnitsPerDb + scale.CursorHalf);
}

void PlaceBandCursor(ui::Label& cursor, const GraphScale& scale, double f0, int gain_slider_pos) {
  cursor.SetLeft(CursorLeft(scale, f0));
  cursor.SetTop(CursorTop(scale, gain_slider_pos));
}

void ShowBandCursors(ProgramState& state, CursorControls& controls) {
  const int ch = CurrentChannel(state);
  if (ch < 0) return;
  const DeviceSettings& rec = state.DeviceRecords[state.CurUnit];
  const bool input = IsInputChannel(ch);
  Hide(controls, PageCursors(!input));
  const CursorRange page = PageCursors(input);
  if (rec.ShowCursor[ch] == 1 && rec.EqBypass[ch] != 1) {
    // Highest band first, so that band 0's cursor ends up on top.
    for (int i = page.last; i >= page.first; --i) {
      ui::Label* cursor = controls.Label5[i];
      if (!cursor) continue;
      cursor->SetVisible(true);
      cursor->BringToFront();
    }
  } else {
    Hide(controls, page);
  }
  state.DeviceImages[state.CurUnit][kShowCursorAddr + ch] =
      static_cast<std::uint8_t>(rec.ShowCursor[ch]);
}

void ShowCursorState(ProgramState& state, CursorControls& controls) {
  const int ch = CurrentChannel(state);
  if (ch < 0) return;
  if (controls.LblShowCursor) {
    const bool shown = state.DeviceRecords[state.CurUnit].ShowCursor[ch] == 1;
    controls.LblShowCursor->SetForeColor(shown ? kOrange : kLightGrey);
  }
  ShowBandCursors(state, controls);
}

void ToggleShowCursor(ProgramState& state, CursorControls& controls) {
  const int ch = CurrentChannel(state);
  if (ch < 0) return;
  auto& flag = state.DeviceRecords[state.CurUnit].ShowCursor[ch];
  flag = flag == 1 ? 0 : 1;
  ShowCursorState(state, controls);
}

}  // namespace velmark

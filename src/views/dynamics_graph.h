#pragma once
// The dynamics picture PicCmp: a square −20..+20 dB by −20..+20 dB with a grey grid, the 1:1
// diagonal and the transfer curve of the current channel's compressor or limiter in the
// channel's colour. Only the last curve drawn is shown: every call starts with a fresh grid.
// The scale is taken from the picture's own size at every call.

#include "model/program_state.h"
#include "ui/controls.h"

namespace velmark {

struct DynScale {
  double W = 0, H = 0;
  double Kx = 0, Ky = 0;  // units per dB: W / 40, H / 40
  double Xc = 0, Yc = 0;  // the 0 dB point: W / 2, H / 2
};

DynScale DynScaleOf(const ui::PictureBox& picture);

// Clears the picture, black background, pen width 1 grey: nine horizontal lines at
// −19.8, −15, … +20 dB, nine vertical lines at x = Yc − Ky·v for the same values, and the
// diagonal from the top-right corner (W, 0) to (0, W).
void DrawDynamicsGrid(ui::PictureBox& PicCmp);

inline constexpr int kDynCompressorInput = 0, kDynCompressorOutput = 1, kDynLimiter = 2;

// The grid, then (unless DrawSuppressed) for m = 0 or 1 the compressor curve of the current
// channel of CurUnit, for m = 2 its limiter line when it is an output; any other m, an input's
// limiter or an invalid unit or channel draw the grid only.
void DrawDynamicsCurve(ProgramState& state, ui::PictureBox& PicCmp, int m);

}  // namespace velmark

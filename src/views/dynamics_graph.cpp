#include "views/dynamics_graph.h"

#include <array>

#include "eqdyn/dynamics_curve.h"
#include "views/channel_graph.h"

namespace velmark {
namespace {

// Grid levels in dB; the lowest is drawn 0.2 dB inside the edge so that it stays visible.
inline constexpr std::array<double, 9> kGridLevelsDb = {-19.8, -15, -10, -5, 0, 5, 10, 15, 20};

void DrawCompressor(ui::PictureBox& picture, const DynScale& scale,
                    const CompressorSetting& setting) {
  const CompressorCurve curve = CompressorCurveOf(setting);
  // Percent to picture units; the picture is square, so its width serves both axes.
  const double w = scale.W;
  auto px = [w](const CurvePointPct& p) { return p.x / 100.0 * w; };
  auto py = [w](const CurvePointPct& p) { return w - w * p.y / 100.0; };
  for (int i = 1; i < kCompressorPoints; ++i) {
    picture.Line(px(curve[i]), py(curve[i]), px(curve[i - 1]), py(curve[i - 1]));
  }
}

void DrawLimiter(ui::PictureBox& picture, const DynScale& scale, double threshold_db) {
  // The threshold point on the diagonal; 1:1 below it, flat at the threshold above it.
  const double px = scale.Yc + scale.Ky * threshold_db;
  const double py = scale.Yc - scale.Ky * threshold_db;
  picture.Line(px, py, 0.0, scale.W);
  picture.Line(scale.W, py, px, py);
}

}  // namespace

DynScale DynScaleOf(const ui::PictureBox& picture) {
  DynScale s;
  s.W = picture.ScaleWidth();
  s.H = picture.ScaleHeight();
  s.Kx = s.W / 40.0;
  s.Ky = s.H / 40.0;
  s.Xc = s.W / 2.0;
  s.Yc = s.H / 2.0;
  return s;
}

void DrawDynamicsGrid(ui::PictureBox& PicCmp) {
  const DynScale s = DynScaleOf(PicCmp);
  PicCmp.Cls();
  PicCmp.SetBackColor(ui::kBlack);
  PicCmp.SetDrawWidth(kGridPenWidth);
  PicCmp.SetPenColour(kGridColour);
  for (double v : kGridLevelsDb) {
    const double y = s.Yc - s.Ky * v;
    PicCmp.Line(0.0, y, s.W, y);
  }
  // Mirrored on purpose: +20 dB at the left edge, −19.8 dB just inside the right one; on the
  // square picture the lines fall at the same distances as the horizontal ones.
  for (double v : kGridLevelsDb) {
    const double x = s.Yc - s.Ky * v;
    PicCmp.Line(x, 0.0, x, s.H);
  }
  PicCmp.Line(s.W, 0.0, 0.0, s.W);
}

void DrawDynamicsCurve(ProgramState& state, ui::PictureBox& PicCmp, int m) {
  DrawDynamicsGrid(PicCmp);
  const int unit = state.CurUnit;
  const bool drawable = !state.DrawSuppressed && unit >= 0 && unit < kUnitCount &&
                        (m == kDynCompressorInput || m == kDynCompressorOutput || m == kDynLimiter);
  const int ch = drawable ? state.CurChannel[unit] : -1;
  if (ch < 0 || ch >= kChannelCount || (m == kDynLimiter && IsInputChannel(ch))) {
    PicCmp.Flush();
    return;
  }
  const DynScale scale = DynScaleOf(PicCmp);
  const ParamImage& img = state.DeviceImages[unit];
  const DeviceSettings& rec = state.DeviceRecords[unit];
  PicCmp.SetDrawWidth(kCurvePenWidth);
  PicCmp.SetPenColour(ChannelColour[ch]);
  if (m == kDynLimiter) {
    DrawLimiter(PicCmp, scale, LimiterThresholdOf(img, ch, rec.LimBypass[ch] == 1));
  } else {
    DrawCompressor(PicCmp, scale, CompressorSettingOf(img, ch, rec.CompBypass[ch] == 1));
  }
  PicCmp.Flush();
}

}  // namespace velmark

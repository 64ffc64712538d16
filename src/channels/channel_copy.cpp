#include "channels/channel_copy.h"

#include <algorithm>

#include "commands/level_delay.h"
#include "editor/refresh_channel_page.h"
#include "eqdyn/edit_graph.h"
#include "eqdyn/responses.h"
#include "views/channel_graph.h"

namespace velmark {
namespace {

void CopyBytes(ParamImage& img, int from, int to, int count) {
  std::copy_n(img.begin() + from, count, img.begin() + to);
}

// The destination's flag takes the source's, and its bit of the mask byte follows the flag.
void CopyFlag(ParamImage& img, int mask_addr, std::int16_t& to, std::int16_t from, int t) {
  to = from;
  img[mask_addr] = WithMaskBit(img[mask_addr], t, to != 0);
}

// Without drawing: the graph is redrawn once at the end.
template <typename Compute>
void Recompute(Core& core, Compute compute) {
  GraphCanvas canvas = EditGraphCanvas(core.Win());
  FlagGuard no_draw(core.st.DrawSuppressed);
  compute(&canvas);
}

void CopyDynamicsAndEq(Core& core, int s, int t) {
  DeviceSettings& rec = core.Rec();
  ParamImage& img = core.Img();
  if (IsInputChannel(s)) {
    CopyBytes(img, GateAddr[s], GateAddr[t], kGateBytes);
  } else {
    CopyFlag(img, LimBypassMaskAddr, rec.LimBypass[t], rec.LimBypass[s], t);
    CopyBytes(img, LimAddr[s], LimAddr[t], kLimBytes);
  }
  CopyFlag(img, CompBypassMaskAddr, rec.CompBypass[t], rec.CompBypass[s], t);
  CopyBytes(img, CompAddr[s], CompAddr[t], kCompBytes);
  CopyFlag(img, EqBypassMaskAddr, rec.EqBypass[t], rec.EqBypass[s], t);
  CopyBytes(img, EqMaskAddr[s], EqMaskAddr[t], 2);
  for (int i = 0; i <= BandLast[s]; ++i) {
    const int gs = BandOf(s, i), gt = BandOf(t, i);
    CopyBytes(img, EqBandAddr[gs], EqBandAddr[gt], kEqBandBytes);
    rec.EqType[gt] = rec.EqType[gs];
    rec.EqFreq[gt] = rec.EqFreq[gs];
    rec.EqGain[gt] = rec.EqGain[gs];
    rec.EqQ[gt] = rec.EqQ[gs];
    rec.EqBandBypass[gt] = rec.EqBandBypass[gs];
    Recompute(core, [&](GraphCanvas* c) { ComputeBandResponse(core.st, gt, c); });
  }
}

void CopyCrossovers(Core& core, int s, int t) {
  DeviceSettings& rec = core.Rec();
  for (int f = 0; f < 2; ++f) {
    const int xs = XoverIndex(s, f), xt = XoverIndex(t, f);
    rec.XoverFreq[xt] = rec.XoverFreq[xs];
    rec.XoverType[xt] = rec.XoverType[xs];
    CopyBytes(core.Img(), XoverAddr[xs], XoverAddr[xt], kXoverBytes);
    Recompute(core, [&](GraphCanvas* c) { ComputeXoverResponse(core.st, xt, c); });
  }
}

// Delay, gain and polarity go through their builders from the destination's controls, which
// take the source's values first; the builders then derive record, image and display.
void CopyLevelsAndSwitches(Core& core, int s, int t) {
  EditControls& w = core.Win();
  {
    FlagGuard updating(core.st.UpdatingControls);
    w.UpDown2(t).SetValue(w.UpDown2(s).Value());
    w.UpDown1(t).SetValue(w.UpDown1(s).Value());
  }
  SendDelay(core, t);
  {
    FlagGuard updating(core.st.UpdatingControls);
    w.Slider1(t).SetValue(w.Slider1(s).Value());
  }
  SendLevel(core, t);
  core.Rec().Polarity[t] = core.Rec().Polarity[s];
  {
    FlagGuard updating(core.st.UpdatingControls);
    w.Check2(t).SetValue(w.Check2(s).Value());
  }
  SendPolarity(core, t);
  core.Rec().Mute[t] = core.Rec().Mute[s];
  SendMute(core, t);
}

// The destination's page shows the copied values; a page of the same kind redraws its graph.
void ShowCopy(Core& core, int t) {
  const int page = core.st.CurPage[ProgramState::Checked(core.st.CurUnit)];
  if (page == t) RefreshChannelPage(core);
  if (page >= 0 && page < kChannelCount && IsInputChannel(page) == IsInputChannel(t)) {
    GraphCanvas canvas = EditGraphCanvas(core.Win());
    RedrawChannelGraph(core.st, canvas, page);
  }
}

bool CopyChannel(Core& core, int s, int t, bool inputs) {
  const int first = inputs ? 0 : kInputCount;
  if (s == t || s < first || s >= first + kInputCount || t < first || t >= first + kInputCount) {
    return true;
  }
  const FrameData data = {
      static_cast<std::uint8_t>(s), static_cast<std::uint8_t>(t), 0, 0, 0, 0, 0, 0};
  if (core.Send(CmdCopyChannel, data)) return true;
  FlagGuard suppressed(core.st.SendSuppressed);
  CopyDynamicsAndEq(core, s, t);
  if (!inputs) CopyCrossovers(core, s, t);
  CopyLevelsAndSwitches(core, s, t);
  ShowCopy(core, t);
  return false;
}

}  // namespace

bool CopyInputChannel(Core& core, int s, int t) {
  return CopyChannel(core, s, t, true);
}

bool CopyOutputChannel(Core& core, int s, int t) {
  return CopyChannel(core, s, t, false);
}

}  // namespace velmark

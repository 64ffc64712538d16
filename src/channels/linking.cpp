#include "channels/linking.h"

#include <algorithm>

#include "commands/level_delay.h"
#include "eqdyn/edit_graph.h"
#include "eqdyn/eq_band.h"
#include "eqdyn/responses.h"

namespace velmark {
namespace {

enum class Group { Inputs, Outputs, Own };

bool ValidChannel(int ch) {
  return ch >= 0 && ch < kChannelCount;
}

bool Linked(Core& core, int ch) {
  return core.st.LinkFlag[ProgramState::Checked(core.st.CurUnit)][ch] == 1;
}

// The common frame: nothing unless the source is linked; then every other linked channel of
// the source's group in ascending order. A family restricted to one group does nothing from
// the other one.
template <typename Step>
void ForEachLinked(Core& core, int source, Group group, Step step) {
  if (!ValidChannel(source) || !Linked(core, source)) return;
  const bool input = IsInputChannel(source);
  if ((group == Group::Inputs && !input) || (group == Group::Outputs && input)) return;
  const int first = input ? 0 : kInputCount;
  for (int t = first; t < first + kInputCount; ++t) {
    if (t == source || !Linked(core, t)) continue;
    step(t);
  }
}

void CopyBytes(ParamImage& img, int from, int to, int count) {
  std::copy_n(img.begin() + from, count, img.begin() + to);
}

// Band number of a band control element within a channel's page, or -1.
int LinkedBandNumber(int source, int index) {
  const int b = IsInputChannel(source) ? index : index - kOutputBandElement;
  return b >= 0 && b <= BandLast[source] ? b : -1;
}

}  // namespace

void SetLinkFlag(Core& core, int n) {
  if (!ValidChannel(n)) return;
  const int unit = ProgramState::Checked(core.st.CurUnit);
  EditControls& w = core.Win();
  const int value = w.CheckLinkOut(n).Value() != 0 ? 1 : 0;
  auto& flags = core.st.LinkFlag[unit];
  flags[n] = static_cast<std::uint8_t>(value);
  int mask = 0;
  for (int c = 0; c < kChannelCount; ++c) mask += flags[c] << c;
  core.st.LinkMask[unit] = static_cast<std::uint8_t>(mask);
  w.LblLinkOut(n).SetForeColor(value == 1 ? kLinkedColour : kUnlinkedColour);
  // The flag and mask stay as set even when the unit does not take the mask.
  core.Send(CmdLinkMask, {1, 0, 0, 0, 0, 0, 0, core.st.LinkMask[unit]});
}

void LinkNoiseGate(Core& core) {
  const int s = core.Channel();
  ForEachLinked(core, s, Group::Inputs,
                [&](int t) { CopyBytes(core.Img(), GateAddr[s], GateAddr[t], kGateBytes); });
}

void LinkCompressorSwitch(Core& core) {
  const int s = core.Channel();
  ForEachLinked(core, s, Group::Own, [&](int t) {
    DeviceSettings& rec = core.Rec();
    rec.CompBypass[t] = rec.CompBypass[s];
    ParamImage& img = core.Img();
    img[CompBypassMaskAddr] = WithMaskBit(img[CompBypassMaskAddr], t, rec.CompBypass[t] != 0);
  });
}

void LinkCompressorParam(Core& core, int index) {
  const int s = core.Channel();
  if (!ValidChannel(s)) return;
  const int p = IsInputChannel(s) ? index : index - kCompBytes;
  if (p < 0 || p >= kCompBytes) return;  // not a control of this channel's page
  ForEachLinked(core, s, Group::Own,
                [&](int t) { CopyBytes(core.Img(), CompAddr[s] + p, CompAddr[t] + p, 1); });
}

void LinkLimiterSwitch(Core& core) {
  const int s = core.Channel();
  ForEachLinked(core, s, Group::Outputs, [&](int t) {
    DeviceSettings& rec = core.Rec();
    rec.LimBypass[t] = rec.LimBypass[s];
    ParamImage& img = core.Img();
    img[LimBypassMaskAddr] = WithMaskBit(img[LimBypassMaskAddr], t, rec.LimBypass[t] != 0);
  });
}

void LinkLimiterParams(Core& core) {
  const int s = core.Channel();
  ForEachLinked(core, s, Group::Outputs,
                [&](int t) { CopyBytes(core.Img(), LimAddr[s], LimAddr[t], kLimBytes); });
}

void LinkCrossover(Core& core, int k) {
  const int s = core.Channel();
  if (k != 0 && k != 1) return;
  ForEachLinked(core, s, Group::Outputs, [&](int t) {
    const int from = XoverIndex(s, k), to = XoverIndex(t, k);
    DeviceSettings& rec = core.Rec();
    rec.XoverFreq[to] = rec.XoverFreq[from];
    rec.XoverType[to] = rec.XoverType[from];
    CopyBytes(core.Img(), XoverAddr[from], XoverAddr[to], kXoverBytes);
    GraphCanvas canvas = EditGraphCanvas(core.Win());
    core.st.DrawSuppressed = true;
    ComputeXoverResponse(core.st, to, &canvas);
    core.st.DrawSuppressed = false;
  });
}

void LinkDelay(Core& core, int ch) {
  ForEachLinked(core, ch, Group::Own, [&](int t) {
    EditControls& w = core.Win();
    core.st.UpdatingControls = true;
    w.UpDown2(t).SetValue(w.UpDown2(ch).Value());
    w.UpDown1(t).SetValue(w.UpDown1(ch).Value());
    core.st.UpdatingControls = false;
    core.st.SendSuppressed = true;
    SendDelay(core, t);
    core.st.SendSuppressed = false;
  });
}

void LinkGain(Core& core, int ch) {
  ForEachLinked(core, ch, Group::Own, [&](int t) {
    EditControls& w = core.Win();
    core.st.UpdatingControls = true;
    w.Slider1(t).SetValue(w.Slider1(ch).Value());
    core.st.UpdatingControls = false;
    core.st.SendSuppressed = true;
    SendLevel(core, t);
    core.st.SendSuppressed = false;
  });
}

void LinkPolarity(Core& core, int ch) {
  ForEachLinked(core, ch, Group::Own, [&](int t) {
    EditControls& w = core.Win();
    core.Rec().Polarity[t] = core.Rec().Polarity[ch];
    core.st.UpdatingControls = true;
    w.Check2(t).SetValue(w.Check2(ch).Value());
    core.st.UpdatingControls = false;
    core.st.SendSuppressed = true;
    SendPolarity(core, t);
    core.st.SendSuppressed = false;
  });
}

void LinkMute(Core& core, int ch) {
  ForEachLinked(core, ch, Group::Own, [&](int t) {
    core.Rec().Mute[t] = core.Rec().Mute[ch];
    core.st.SendSuppressed = true;
    SendMute(core, t);
    core.st.SendSuppressed = false;
  });
}

void LinkEqBand(Core& core, int index) {
  const int s = core.Channel();
  if (!ValidChannel(s)) return;
  const int b = LinkedBandNumber(s, index);
  if (b < 0) return;
  ForEachLinked(core, s, Group::Own, [&](int t) {
    const int gs = BandOf(s, b), gt = BandOf(t, b);
    DeviceSettings& rec = core.Rec();
    ParamImage& img = core.Img();
    CopyBytes(img, EqBandAddr[gs], EqBandAddr[gt], kEqBandBytes);
    rec.EqType[gt] = rec.EqType[gs];
    rec.EqFreq[gt] = rec.EqFreq[gs];
    rec.EqQ[gt] = rec.EqQ[gs];
    rec.EqGain[gt] = rec.EqGain[gs];
    rec.EqBandBypass[gt] = rec.EqBandBypass[gs];
    WriteWord(img, EqMaskAddr[t], EqBandMask(rec, t));
    GraphCanvas canvas = EditGraphCanvas(core.Win());
    core.st.DrawSuppressed = true;
    ComputeBandResponse(core.st, gt, &canvas);
    core.st.DrawSuppressed = false;
  });
}

void LinkEqBypass(Core& core) {
  const int s = core.Channel();
  ForEachLinked(core, s, Group::Own, [&](int t) {
    DeviceSettings& rec = core.Rec();
    rec.EqBypass[t] = rec.EqBypass[s];
    ParamImage& img = core.Img();
    img[EqBypassMaskAddr] = WithMaskBit(img[EqBypassMaskAddr], t, rec.EqBypass[t] != 0);
    GraphCanvas canvas = EditGraphCanvas(core.Win());
    core.st.DrawSuppressed = true;
    if (rec.EqBypass[t] != 0) {
      ComputeBandResponse(core.st, BandStart[t], &canvas);
    } else {
      for (int k = 0; k <= BandLast[t]; ++k) ComputeBandResponse(core.st, BandOf(t, k), &canvas);
    }
    core.st.DrawSuppressed = false;
  });
}

void LinkEqFlat(Core& core) {
  const int s = core.Channel();
  bool failed = false;
  ForEachLinked(core, s, Group::Own, [&](int t) {
    if (failed) return;  // the first failed band packet ends the whole operation
    DeviceSettings& rec = core.Rec();
    ParamImage& img = core.Img();
    GraphCanvas canvas = EditGraphCanvas(core.Win());
    for (int b = 0; b <= BandLast[t]; ++b) {
      const int gs = BandOf(s, b), gt = BandOf(t, b);
      const int a = EqBandAddr[gt];
      rec.EqGain[gt] = rec.EqGain[gs];
      img[a + 4] = img[EqBandAddr[gs] + 4];
      core.st.DrawSuppressed = true;
      ComputeBandResponse(core.st, gt, &canvas);
      core.st.DrawSuppressed = false;
      const std::uint8_t off = rec.EqBandBypass[gt] != 0 ? 1 : 0;
      failed = core.Send(CmdEqBand, {static_cast<std::uint8_t>(t), static_cast<std::uint8_t>(b),
                                     off, img[a], img[a + 1], img[a + 2], img[a + 3], img[a + 4]});
      if (failed) return;
    }
  });
}

}  // namespace velmark

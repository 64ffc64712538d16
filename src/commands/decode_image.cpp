#include "commands/decode_image.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "channels/names.h"
#include "commands/level_delay.h"
#include "commands/routing.h"
#include "eqdyn/edit_graph.h"
#include "eqdyn/eq_band.h"
#include "eqdyn/responses.h"

namespace velmark {
namespace {

constexpr int kInputBands = 13, kOutputBands = 11;
constexpr int kMaxQCode = static_cast<int>(EqQTable.size()) - 1;
constexpr int kBandPassType = 13, kLastType = 16;  // types 13..16 store Q − 4
constexpr int kMaxSource = 2;

std::uint8_t Bit(std::uint8_t mask, int n) {
  return static_cast<std::uint8_t>((mask >> n) & 1);
}

// 0.1 + 0.05 × code to 15 significant digits, so that code 3 gives exactly 0.25.
double StepQ(int code) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.15g", 0.1 + 0.05 * code);
  return std::strtod(buf, nullptr);
}

// Shape value of a band by type; a Bell code above 100 reads the last entry of the table.
double DecodeQ(int type, int code) {
  if (type == 0) return EqQTable[static_cast<std::size_t>(std::min(code, kMaxQCode))];
  if (type >= kBandPassType && type <= kLastType) return code + 4;
  return StepQ(code);
}

// Switch masks, band-bypass words, bands and crossover filters: record only.
void DecodeRecord(DeviceSettings& rec, const ParamImage& img) {
  for (int n = 0; n < kChannelCount; ++n) {
    rec.Polarity[n] = Bit(img[PolarityMaskAddr], n);
    rec.Mute[n] = Bit(img[MuteMaskAddr], n);
    rec.EqBypass[n] = Bit(img[EqBypassMaskAddr], n);
    rec.CompBypass[n] = Bit(img[CompBypassMaskAddr], n);
    rec.LimBypass[n] = Bit(img[LimBypassMaskAddr], n);
  }
  for (int c = 0; c < kChannelCount; ++c) {
    const int word = ReadWord(img, EqMaskAddr[c]);
    const int bands = IsInputChannel(c) ? kInputBands : kOutputBands;
    for (int i = 0; i < bands; ++i) rec.EqBandBypass[BandOf(c, i)] = (word >> i) & 1;
  }
  for (int b = 0; b < kBandCount; ++b) {
    const int a = EqBandAddr[b];
    rec.EqType[b] = img[a];
    rec.EqFreq[b] = ReadWord(img, a + 1);
    rec.EqQ[b] = DecodeQ(img[a], img[a + 3]);
    // A gain code above 60 computes as +15 dB, the loudest the band's slider holds.
    const int gain_code = std::min<int>(img[a + 4], kEqGainCodeMax);
    rec.EqGain[b] = rec.EqBandBypass[b] != 0 ? 0.0 : gain_code / 2.0 - 15;
  }
  for (int k = 0; k < kXoverCount; ++k) {
    rec.XoverFreq[k] = ReadWord(img, XoverAddr[k]);
    rec.XoverType[k] = img[XoverAddr[k] + 2];
  }
}

template <typename Builder>
void DecodeRouting(Core& core, ui::ControlArray<ui::CheckBox>& checks,
                   ui::ControlArray<ui::UpDown>& levels, const std::array<int, 4>& rows,
                   const std::array<int, 16>& level_addr, Builder builder) {
  const ParamImage& img = core.Img();
  core.st.UpdatingControls = true;
  for (int row = 0; row < 4; ++row) {
    for (int col = 0; col < 4; ++col) checks(4 * row + col).SetValue(Bit(img[rows[row]], col));
  }
  for (int p = 0; p < 16; ++p) levels(p).SetValue(img[level_addr[p]]);
  core.st.UpdatingControls = false;
  for (int p = 0; p < 16; ++p) builder(core, p);
}

void DecodeDelays(Core& core) {
  EditControls& w = core.Win();
  const ParamImage& img = core.Img();
  for (int n = 0; n < kChannelCount; ++n) {
    core.st.UpdatingControls = true;
    w.UpDown2(n).SetValue(ReadWord(img, DelayAddr[n]));
    w.UpDown1(n).SetValue(img[DelayAddr[n] + 2]);
    core.st.UpdatingControls = false;
    SendDelay(core, n);
  }
}

// The option and the sliders are written with UpdatingControls clear, so a window's own
// (guarded) handlers run as well; the builder is then run here in any case, so that the result
// does not depend on whether a handler is wired or whether the value changed. With sends
// suppressed and the link state cleared a second run repeats the same values.
void DecodeDelayUnitAndLevels(Core& core) {
  EditControls& w = core.Win();
  const int unit = core.Rec().DelayUnit == 1 ? 1 : 0;
  w.Option1(unit).SetValue(true);
  SendDelayUnit(core, unit);
  const ParamImage& img = core.Img();
  for (int s = 0; s < kLevelSlots; ++s) {
    w.Slider1(s).SetValue(kLevelWordMax - ReadWord(img, LevelAddr[s]));
    SendLevel(core, s);
  }
}

void DecodeSources(Core& core) {
  EditControls& w = core.Win();
  for (int pair = 0; pair < 2; ++pair) {
    int v = core.Img()[InputSourceAddr(pair)];
    if (v > kMaxSource) v = 0;
    core.st.UpdatingControls = true;
    w.Option2(3 * pair + v).SetValue(true);
    core.st.UpdatingControls = false;
    SendInputSource(core, 3 * pair + v);
  }
}

void DecodeSwitches(Core& core) {
  EditControls& w = core.Win();
  DeviceSettings& rec = core.Rec();
  for (int n = 0; n < kChannelCount; ++n) {
    core.st.UpdatingControls = true;
    w.Check2(n).SetValue(rec.Polarity[n]);
    core.st.UpdatingControls = false;
    SendPolarity(core, n);
  }
  for (int n = 0; n < kChannelCount; ++n) SendMute(core, n);
}

// A type other than 0 shows "Pink Noise", as the builder reads any selection but "White".
void DecodeNoise(Core& core) {
  EditControls& w = core.Win();
  DeviceSettings& rec = core.Rec();
  const ParamImage& img = core.Img();
  for (int pair = 0; pair < 2; ++pair) {
    rec.NoiseType[pair] = img[NoiseTypeAddr(pair)];
    rec.NoiseLevel[pair] = img[NoiseLevelAddr(pair)];
    core.st.UpdatingControls = true;
    w.OptionNoiseLev(2 * pair + (rec.NoiseType[pair] == 0 ? 0 : 1)).SetValue(true);
    w.SliderNoiseLev(pair).SetValue(kNoiseLevelMax - rec.NoiseLevel[pair]);
    core.st.UpdatingControls = false;
    SendNoiseGen(core, pair);
  }
}

// The builders wrote back what the controls could hold; the image keeps its own bytes, except
// the two source bytes, which the decoding rewrites as designed.
void KeepImageBytes(ParamImage& img, const ParamImage& original) {
  const std::uint8_t sources[2] = {img[InputSourceAddr(0)], img[InputSourceAddr(1)]};
  img = original;
  img[InputSourceAddr(0)] = sources[0];
  img[InputSourceAddr(1)] = sources[1];
}

// Every band and filter response of the unit, without drawing curves.
void RecomputeResponses(Core& core) {
  GraphCanvas canvas = EditGraphCanvas(core.Win());
  core.st.DrawSuppressed = true;
  RecomputeAll(core.st, &canvas);
  core.st.DrawSuppressed = false;
}

void ShowLinkState(Core& core, std::uint8_t mask) {
  const int u = core.st.CurUnit;
  EditControls& w = core.Win();
  core.st.LinkMask[u] = mask;
  core.st.UpdatingControls = true;
  for (int n = 0; n < kChannelCount; ++n) {
    core.st.LinkFlag[u][n] = Bit(mask, n);
    w.CheckLinkOut(n).SetValue(core.st.LinkFlag[u][n]);
    w.LblLinkOut(n).SetForeColor(core.st.LinkFlag[u][n] != 0 ? kOrange : kLightGrey);
  }
  core.st.UpdatingControls = false;
}

void DecodeNames(Core& core) {
  const ParamImage& img = core.Img();
  auto& names = core.st.ChannelNames[ProgramState::Checked(core.st.CurUnit)];
  for (int n = 0; n < kChannelCount; ++n) {
    const auto* first = img.data() + NameAddr[n];
    names[n].assign(reinterpret_cast<const char*>(first), kChannelNameLength);
  }
  ApplyNames(core);
}

}  // namespace

void DecodeImage(Core& core) {
  ProgramState& st = core.st;
  const int u = ProgramState::Checked(st.CurUnit);
  EditControls& w = core.Win();
  ParamImage& img = core.Img();
  const ParamImage original = img;

  // Nothing done while decoding may be repeated on linked channels; the flags come back from
  // the mask at the end.
  const std::uint8_t link_mask = st.LinkMask[u];
  st.LinkMask[u] = 0;
  st.LinkFlag[u].fill(0);

  DecodeRecord(core.Rec(), img);
  DecodeRouting(core, w.CheckSRout, w.UpDownSRout, InRouteAddr, InRouteLevelAddr, SendInRouting);
  DecodeRouting(core, w.CheckFRout, w.UpDownFRout, OutRouteAddr, OutRouteLevelAddr, SendOutRouting);
  core.Rec().DelayUnit = img[kDelayUnitAddr];
  DecodeDelays(core);
  DecodeDelayUnitAndLevels(core);
  DecodeSources(core);
  DecodeSwitches(core);
  DecodeNoise(core);
  KeepImageBytes(img, original);

  RecomputeResponses(core);
  ShowLinkState(core, link_mask);
  DecodeNames(core);

  st.SendSuppressed = false;
  core.Send(CmdLinkMask, {1, 0, 0, 0, 0, 0, 0, st.LinkMask[u]});
}

}  // namespace velmark

#include "eqdyn/dynamics.h"

#include <algorithm>

#include "model/number_text.h"

namespace velmark {
namespace {

// Parameter numbers inside the gate, compressor and limiter blocks.
enum GateParam { kGateThreshold = 0, kGateRelease = 1, kGateAttack = 2 };
enum CompParam {
  kCompThreshold = 0,
  kCompRatio = 1,
  kCompKnee = 2,
  kCompRelease = 3,
  kCompAttack = 4,
  kCompMakeUpGain = 5
};
enum LimParam { kLimThreshold = 0, kLimRelease = 1, kLimAttack = 2 };

bool ValidChannel(int ch) {
  return ch >= 0 && ch < kChannelCount;
}

template <typename Table>
std::string StepText(const Table& table, int code) {
  const int last = static_cast<int>(table.size()) - 1;
  return std::string(table[static_cast<std::size_t>(std::clamp(code, 0, last))]);
}

template <typename Table>
double StepValue(const Table& table, int code) {
  const int last = static_cast<int>(table.size()) - 1;
  return table[static_cast<std::size_t>(std::clamp(code, 0, last))];
}

// code / 5 − 10 dBu, worked as (code − 50) / 5 so that each 0.2 dB step is the nearest double
// to its decimal value and shows as such ("0.2", not the 0.1999… that 10.2 − 10 leaves).
double ThresholdDb(int code) {
  return (code - 50) / 5.0;
}

// Position of a slider bounded to 0..max (the control holds it there already) and its code.
int Position(const ui::Slider& slider, int max) {
  return std::clamp(slider.Value(), 0, max);
}

// Sets the value text and moves the knob of one parameter from its slider.
void ShowParameter(ui::TextBox& text, ui::Image& knob, int position, int max,
                   const std::string& shown) {
  text.SetText(shown);
  knob.SetTop(DynKnobTop(position, max));
}

void ShowSection(ui::Frame& frame, ui::CheckBox& box, bool bypassed) {
  frame.SetEnabled(!bypassed);
  box.SetForeColor(bypassed ? kOrange : kLightGrey);
}

FrameData SwitchPacket(int ch, std::uint8_t flag) {
  FrameData d{};
  d[0] = static_cast<std::uint8_t>(ch);
  d[7] = flag;
  return d;
}

}  // namespace

int DynKnobTop(int position, int max) {
  if (max <= 0) return kDynKnobTop;
  return static_cast<int>(
      RoundHalfEven(static_cast<double>(position) / max * kDynKnobSpan + kDynKnobTop));
}

std::string GateText(int parameter, int code, bool decimal_comma) {
  switch (parameter) {
    case kGateThreshold:
      return NumberText(5.0 * code - 80, decimal_comma);
    case kGateRelease:
      return StepText(GateReleaseTimes, code);
    default:
      return StepText(GateAttackTimes, code);
  }
}

std::string CompText(int parameter, int code, bool decimal_comma) {
  switch (parameter) {
    case kCompThreshold:
      return NumberText(ThresholdDb(code), decimal_comma);
    case kCompRatio:
      return std::to_string(code + 2) + ":1";
    case kCompKnee:
      return NumberText(code, decimal_comma);
    case kCompRelease:
      return NumberText(StepValue(CompReleaseTimes, code), decimal_comma);
    case kCompAttack:
      return NumberText(StepValue(CompAttackTimes, code), decimal_comma);
    default:
      // code / 10 − 12 dB, worked as (code − 120) / 10 for the same reason as the threshold.
      return NumberText((code - 120) / 10.0, decimal_comma);
  }
}

std::string LimText(int parameter, int code, bool decimal_comma) {
  switch (parameter) {
    case kLimThreshold:
      return NumberText(ThresholdDb(code), decimal_comma);
    case kLimRelease:
      return StepText(LimReleaseTimes, code);
    default:
      return StepText(LimAttackTimes, code);
  }
}

void SetNoiseGate(Core& core) {
  const int ch = core.Channel();
  if (ch < 0 || !IsInputChannel(ch)) return;  // only the inputs have a gate
  EditControls& w = core.Win();
  ParamImage& img = core.Img();
  const int g = GateAddr[ch];
  const bool bypassed = w.CheckNGByp.Value() != 0;
  img[g] = bypassed ? 1 : 0;
  ShowSection(w.FrameNG, w.CheckNGByp, bypassed);
  for (int p = 0; p < static_cast<int>(kGateSliderMax.size()); ++p) {
    const int n = kGateSliderMax[p];
    const int v = Position(w.SliderNG(p), n);
    ShowParameter(w.NGText(p), w.NGSl(p), v, n, GateText(p, n - v, core.st.DecimalIsComma));
  }
  for (int p = 0; p < static_cast<int>(kGateSliderMax.size()); ++p) {
    const int n = kGateSliderMax[p];
    img[g + 1 + p] = static_cast<std::uint8_t>(n - Position(w.SliderNG(p), n));
  }
  core.Send(CmdNoiseGate,
            {static_cast<std::uint8_t>(ch), 0, 0, 0, img[g], img[g + 1], img[g + 2], img[g + 3]});
}

void SetCompBypass(Core& core, int j) {
  const int ch = core.Channel();
  if (!ValidChannel(ch) || (j != 0 && j != 1)) return;
  EditControls& w = core.Win();
  ParamImage& img = core.Img();
  const bool bypassed = w.CheckCmp(j).Value() != 0;
  img[CompBypassMaskAddr] = WithMaskBit(img[CompBypassMaskAddr], ch, bypassed);
  ShowSection(w.FrameCmp(j), w.CheckCmp(j), bypassed);
  core.Rec().CompBypass[ch] = bypassed ? 1 : 0;
  core.Send(CmdCompressor, SwitchPacket(ch, static_cast<std::uint8_t>(core.Rec().CompBypass[ch])));
}

void SetCompParam(Core& core, int i) {
  const int ch = core.Channel();
  if (!ValidChannel(ch) || i < 0 || i >= kCompElements) return;
  EditControls& w = core.Win();
  ParamImage& img = core.Img();
  const int k = i % kCompBytes;
  const int n = kCompSliderMax[k];
  const int v = Position(w.SliderCmp(i), n);
  ShowParameter(w.CmpText(i), w.CmpSl(i), v, n, CompText(k, n - v, core.st.DecimalIsComma));
  const int c = CompAddr[ch];
  img[c + k] = static_cast<std::uint8_t>(n - v);

  FrameData d{};
  d[0] = static_cast<std::uint8_t>(ch);
  if (k <= kCompKnee) {
    d[1] = kCompThresholdRatioKnee;
    d[5] = img[c + kCompThreshold];
    d[6] = img[c + kCompRatio];
    d[7] = img[c + kCompKnee];
  } else if (k <= kCompAttack) {
    d[1] = kCompReleaseAttack;
    d[6] = img[c + kCompRelease];
    d[7] = img[c + kCompAttack];
  } else {
    d[1] = kCompMakeUp;
    d[7] = img[c + kCompMakeUpGain];
  }
  core.Send(CmdCompressor, d);
}

void SetLimBypass(Core& core) {
  const int ch = core.Channel();
  if (!ValidChannel(ch) || IsInputChannel(ch)) return;  // only the outputs have a limiter
  EditControls& w = core.Win();
  ParamImage& img = core.Img();
  const bool bypassed = w.CheckLimByp.Value() != 0;
  img[LimBypassMaskAddr] = WithMaskBit(img[LimBypassMaskAddr], ch, bypassed);
  ShowSection(w.FrameLim, w.CheckLimByp, bypassed);
  core.Rec().LimBypass[ch] = bypassed ? 1 : 0;
  core.Send(CmdLimiter, SwitchPacket(ch, static_cast<std::uint8_t>(core.Rec().LimBypass[ch])));
}

void SetLimParams(Core& core) {
  const int ch = core.Channel();
  if (!ValidChannel(ch) || IsInputChannel(ch)) return;
  EditControls& w = core.Win();
  ParamImage& img = core.Img();
  const int l = LimAddr[ch];
  for (int p = 0; p < kLimBytes; ++p) {
    const int e = kLimElements[p];
    const int n = kLimSliderMax[p];
    const int v = Position(w.SliderLim(e), n);
    ShowParameter(w.LimText(e), w.LimSl(e), v, n, LimText(p, n - v, core.st.DecimalIsComma));
    img[l + p] = static_cast<std::uint8_t>(n - v);
  }
  core.Send(CmdLimiter,
            {static_cast<std::uint8_t>(ch), kLimParams, 0, 0, 0, img[l], img[l + 1], img[l + 2]});
}

}  // namespace velmark

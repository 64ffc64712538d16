#include "eqdyn/eq_band.h"

#include <algorithm>
#include <cmath>

#include "channels/linking.h"
#include "eqdyn/edit_graph.h"
#include "eqdyn/responses.h"
#include "model/number_text.h"

namespace velmark {
namespace {

inline constexpr int kEqGainZeroPosition = 30;  // Slider2 at 0 dB
inline constexpr int kLastBandElement = 23;
inline constexpr int kKnobTop = 720, kKnobSpan = 1200;  // ImgEQGain track

struct BandRef {
  int ch = 0;
  int k = 0;  // band number within the channel
  int b = 0;  // global band
};

bool Locate(Core& core, int element, BandRef& ref) {
  ref.b = BandOfElement(core, element);
  if (ref.b < 0) return false;
  ref.ch = core.Channel();
  ref.k = ref.b - BandStart[ref.ch];
  return true;
}

bool ValidChannel(int ch) {
  return ch >= 0 && ch < kChannelCount;
}

// A frequency text that is not a number is replaced by the frequency stored in the image.
void RestoreFreqText(Core& core, int element, int b) {
  ui::TextBox& box = core.Win().TxtEqFreq(element);
  const bool comma = core.st.DecimalIsComma;
  if (ParseNumber(box.Text(), comma)) return;
  box.SetText(NumberText(ReadWord(core.Img(), EqBandAddr[b] + 1), comma));
}

void ClampFreqText(Core& core, int element) {
  ui::TextBox& box = core.Win().TxtEqFreq(element);
  const auto value = ParseNumber(box.Text(), core.st.DecimalIsComma);
  if (!value) return;
  if (*value > kEqFreqMax) {
    box.SetText("20000");
  } else if (*value < kEqFreqMin) {
    box.SetText("20");
  }
}

// Cuts the frequency text to its whole part and returns its value.
double WholeFreqText(Core& core, int element, int b) {
  ui::TextBox& box = core.Win().TxtEqFreq(element);
  const bool comma = core.st.DecimalIsComma;
  const auto value = ParseNumber(box.Text(), comma);
  // The text is a number after RestoreFreqText; the image keeps a usable fallback anyway.
  const double hz = std::floor(value.value_or(ReadWord(core.Img(), EqBandAddr[b] + 1)));
  box.SetText(NumberText(hz, comma));
  return hz;
}

// Gain controls for types with a gain, Q controls for types with a Q, frequency always; a
// switched-off band greys everything but its "Byp" label, whose text turns orange.
void EnableBandControls(EditControls& w, int element, int type, bool off) {
  const int t = BoundedEqType(type);
  const bool gain = !off && EqTypeHasGain[t];
  const bool q = !off && EqTypeHasQ[t];
  w.TxtEqGain(element).SetEnabled(gain);
  w.Slider2(element).SetEnabled(gain);
  w.ImgEQGain(element).SetEnabled(gain);
  w.TxtEqQ(element).SetEnabled(q);
  w.UDEqQ(element).SetEnabled(q);
  w.TxtEqFreq(element).SetEnabled(!off);
  w.LblEQType(element).SetEnabled(!off);
  w.Label5(element).SetEnabled(!off);
  w.LblEQsByp(element).SetForeColor(off ? kOrange : kLightGrey);
}

// Slider2 set by the program without its change handling: the caller sends the band once.
void SetGainSliderQuietly(Core& core, int element, int position) {
  FlagGuard quiet(core.st.UpdatingControls);
  core.Win().Slider2(element).SetValue(position);
}

}  // namespace

int BoundedEqType(int type) {
  return std::clamp(type, 0, kEqTypeCount - 1);
}

double EqQValue(int type, int code) {
  const int t = BoundedEqType(type);
  const int c = std::clamp(code, 0, kEqQCodeMax);
  if (t == 0) return EqQTable[c];
  if (t <= 12) return 0.1 + 0.05 * c;
  return c + 4.0;
}

double EqGainOfSlider(int position) {
  return (kEqGainCodeMax - position) / 2.0 - 15.0;
}

int BandElementOf(int channel, int band_number) {
  return IsInputChannel(channel) ? band_number : band_number + kOutputBandElement;
}

int BandOfElement(Core& core, int element) {
  if (element < 0 || element > kLastBandElement) return -1;
  const int ch = core.Channel();
  if (!ValidChannel(ch)) return -1;
  const int k = EditControls::BandNumberOfElement(element);
  return k <= BandLast[ch] ? BandOf(ch, k) : -1;
}

int EqBandMask(const DeviceSettings& rec, int channel) {
  int mask = 0;
  for (int j = 0; j <= BandLast[channel]; ++j) {
    if (rec.EqBandBypass[BandOf(channel, j)] != 0) mask |= 1 << j;
  }
  return mask;
}

bool SendEqBand(Core& core, int element) {
  BandRef r;
  if (!Locate(core, element, r)) return false;
  EditControls& w = core.Win();
  DeviceSettings& rec = core.Rec();
  ParamImage& img = core.Img();
  const bool comma = core.st.DecimalIsComma;
  const int slider = w.Slider2(element).Value();
  const int q_code = std::clamp(w.UDEqQ(element).Value(), 0, kEqQCodeMax);
  // A damaged image may hold any type byte: it is kept, but shown and greyed as a valid type.
  const int type = BoundedEqType(rec.EqType[r.b]);

  RestoreFreqText(core, element, r.b);
  ClampFreqText(core, element);
  const double q = EqQValue(type, q_code);
  w.TxtEqQ(element).SetText(NumberText(q, comma));
  w.LblEQType(element).SetCaption(std::string(EqTypeNames[type]));
  const double gain = EqGainOfSlider(slider);
  w.TxtEqGain(element).SetText(NumberText(gain, comma));
  const double hz = WholeFreqText(core, element, r.b);

  const bool off = rec.EqBandBypass[r.b] != 0;
  rec.EqFreq[r.b] = hz;
  rec.EqGain[r.b] = off ? 0.0 : gain;
  rec.EqQ[r.b] = ParseNumber(w.TxtEqQ(element).Text(), comma).value_or(q);

  PlaceBandCursor(w.Label5(element), ScaleOf(w.Picture1), rec.EqFreq[r.b], slider);
  w.ImgEQGain(element).SetTop(slider * kKnobSpan / kEqGainCodeMax + kKnobTop);

  WriteWord(img, EqMaskAddr[r.ch], EqBandMask(rec, r.ch));
  const int a = EqBandAddr[r.b];
  img[a] = static_cast<std::uint8_t>(rec.EqType[r.b]);
  WriteWord(img, a + 1, static_cast<int>(RoundHalfEven(rec.EqFreq[r.b])));
  img[a + 3] = static_cast<std::uint8_t>(q_code);
  // The gain code stays in the image and the packet while the band is switched off.
  img[a + 4] = static_cast<std::uint8_t>(kEqGainCodeMax - slider);

  EnableBandControls(w, element, type, off);

  return core.Send(CmdEqBand, {static_cast<std::uint8_t>(r.ch), static_cast<std::uint8_t>(r.k),
                               static_cast<std::uint8_t>(off ? 1 : 0), img[a], img[a + 1],
                               img[a + 2], img[a + 3], img[a + 4]});
}

void ToggleBandBypass(Core& core, int element) {
  BandRef r;
  if (!Locate(core, element, r)) return;
  double& flag = core.Rec().EqBandBypass[r.b];
  flag = flag != 0 ? 0.0 : 1.0;
  ShowBandSwitch(core, element);
}

void ShowBandSwitch(Core& core, int element) {
  BandRef r;
  if (!Locate(core, element, r)) return;
  const bool off = core.Rec().EqBandBypass[r.b] != 0;
  core.Win().LblEQsByp(element).SetBackColor(off ? kBandOffColour : ui::kButtonFace);
}

void SetEqBypass(Core& core, int j) {
  const int ch = core.Channel();
  if (!ValidChannel(ch) || (j != 0 && j != 1)) return;
  const bool bypassed = core.Win().CheckEqByp(j).Value() != 0;
  ParamImage& img = core.Img();
  img[EqBypassMaskAddr] = WithMaskBit(img[EqBypassMaskAddr], ch, bypassed);
  core.Rec().EqBypass[ch] = bypassed ? 1 : 0;
  ShowEqBypass(core, j);
  FrameData d{};
  d[0] = static_cast<std::uint8_t>(ch);
  d[7] = static_cast<std::uint8_t>(core.Rec().EqBypass[ch]);
  core.Send(CmdEqBypass, d);
}

void ShowEqBypass(Core& core, int j) {
  const int ch = core.Channel();
  if (!ValidChannel(ch) || (j != 0 && j != 1)) return;
  EditControls& w = core.Win();
  const bool bypassed = core.Rec().EqBypass[ch] != 0;
  w.FrameEq(j).SetEnabled(!bypassed);
  w.LblFlatEQ(j).SetEnabled(!bypassed);
  w.BtnFlatEQ(j).SetEnabled(!bypassed);
  w.CheckEqByp(j).SetForeColor(bypassed ? kOrange : kLightGrey);
  CursorControls cursors = EditCursorControls(w);
  ShowBandCursors(core.st, cursors);
}

void RedrawAfterEqBypass(Core& core) {
  const int ch = core.Channel();
  if (!ValidChannel(ch)) return;
  GraphCanvas canvas = EditGraphCanvas(core.Win());
  if (core.Rec().EqBypass[ch] == 0) {
    for (int k = 0; k <= BandLast[ch]; ++k) ComputeBandResponse(core.st, BandOf(ch, k), &canvas);
  } else {
    // The first band's computation re-sums the channel, which now leaves its bands out.
    ComputeBandResponse(core.st, BandStart[ch], &canvas);
  }
}

void SetEqType(Core& core, int element, int t) {
  BandRef r;
  if (!Locate(core, element, r) || t < 0 || t >= kEqTypeCount) return;
  RestoreFreqText(core, element, r.b);
  DeviceSettings& rec = core.Rec();
  if (t == rec.EqType[r.b]) return;
  rec.EqType[r.b] = static_cast<std::int16_t>(t);
  core.Win().LblEQType(element).SetCaption(std::string(EqTypeNames[t]));
  SetGainSliderQuietly(core, element, kEqGainZeroPosition);
  ClampFreqText(core, element);
  SendEqBand(core, element);
  LinkEqBand(core, element);
  GraphCanvas canvas = EditGraphCanvas(core.Win());
  ComputeBandResponse(core.st, r.b, &canvas);
}

bool ConfirmEqFlat(Core& core) {
  return core.ui.messages.Show(kEqFlatQuestion, kEqFlatTitle, ui::MsgIcon::None,
                               ui::MsgButtons::YesNo) == ui::MsgAnswer::Yes;
}

bool FlattenEq(Core& core, int /*j*/) {
  const int ch = core.Channel();
  if (!ValidChannel(ch)) return false;
  GraphCanvas canvas = EditGraphCanvas(core.Win());
  bool failed = false;
  for (int k = 0; k <= BandLast[ch] && !failed; ++k) {
    const int element = BandElementOf(ch, k);
    SetGainSliderQuietly(core, element, kEqGainZeroPosition);
    failed = SendEqBand(core, element);
    // The failed band is flat in record and image all the same, so its curve follows.
    ComputeBandResponse(core.st, BandOf(ch, k), &canvas);
  }
  if (!failed) LinkEqFlat(core);
  RedrawChannelGraph(core.st, canvas, ch);
  return failed;
}

void EqFlat(Core& core, int j) {
  if (!ValidChannel(core.Channel())) return;
  if (ConfirmEqFlat(core)) FlattenEq(core, j);
}

}  // namespace velmark

// The parameters of one channel, in the order of its pages: name, gain, delay, polarity and
// mute; the noise gate (inputs), compressor, limiter and crossover filters (outputs); the
// equaliser and every band.

#include <algorithm>

#include "channels/names.h"
#include "commands/level_delay.h"
#include "eqdyn/dynamics.h"
#include "eqdyn/eq_band.h"
#include "model/number_text.h"
#include "report/param_builder.h"

namespace velmark::report {
namespace {

constexpr int kLastSlope = static_cast<int>(XoverSlopeNames.size()) - 1;

// A stored code as its control holds it: a damaged byte above the control's range shows as
// the range's end, as on the channel page.
int Code(const ParamImage& img, int addr, int max) {
  return std::min<int>(img[addr], max);
}

void AddStrip(ParamBuilder& b, const Decoded& d, int c) {
  const DeviceSettings& rec = d.rec;
  b.Word("name", "name", NameCaption(d.names[c]));
  b.Number("gain", "gain", NumberText(rec.LevelGain[c], false), "dB");
  const int coarse = static_cast<int>(rec.DelayCoarse[c]);
  const int fine = static_cast<int>(rec.DelayFine[c]);
  b.Number("delay", "delay", DelayText(coarse, fine, rec.DelayUnit, false),
           rec.DelayUnit == 1 ? "m" : "ms");
  b.Switch("polarity", "polarity inverted", rec.Polarity[c] != 0);
  b.Switch("mute", "mute", rec.Mute[c] != 0);
}

void AddGate(ParamBuilder& b, const ParamImage& img, int c) {
  static constexpr const char* kKeys[] = {"threshold", "release", "attack"};
  static constexpr const char* kUnits[] = {"dBu", "ms", "ms"};
  const int g = GateAddr[c];
  b.Switch("gate.bypass", "noise gate bypass", Code(img, g, 1) != 0);
  for (int p = 0; p < static_cast<int>(kGateSliderMax.size()); ++p) {
    const std::string key = kKeys[p];
    b.Number("gate." + key, "noise gate " + key,
             GateText(p, Code(img, g + 1 + p, kGateSliderMax[p]), false), kUnits[p]);
  }
}

void AddCompressor(ParamBuilder& b, const Decoded& d, int c) {
  static constexpr const char* kKeys[] = {"threshold", "ratio",  "knee",
                                          "release",   "attack", "makeup"};
  static constexpr const char* kLabels[] = {"threshold", "ratio",  "knee",
                                            "release",   "attack", "make-up gain"};
  static constexpr const char* kUnits[] = {"dBu", "", "%", "s", "ms", "dBu"};
  const int k = CompAddr[c];
  b.Switch("comp.bypass", "compressor bypass", d.rec.CompBypass[c] != 0);
  for (int p = 0; p < kCompBytes; ++p) {
    b.Number(std::string("comp.") + kKeys[p], std::string("compressor ") + kLabels[p],
             CompText(p, Code(d.img, k + p, kCompSliderMax[p]), false), kUnits[p]);
  }
}

void AddLimiter(ParamBuilder& b, const Decoded& d, int c) {
  static constexpr const char* kKeys[] = {"threshold", "release", "attack"};
  static constexpr const char* kUnits[] = {"dBu", "s", "ms"};
  const int l = LimAddr[c];
  b.Switch("limiter.bypass", "limiter bypass", d.rec.LimBypass[c] != 0);
  for (int p = 0; p < kLimBytes; ++p) {
    const std::string key = kKeys[p];
    b.Number("limiter." + key, "limiter " + key,
             LimText(p, Code(d.img, l + p, kLimSliderMax[p]), false), kUnits[p]);
  }
}

void AddCrossovers(ParamBuilder& b, const Decoded& d, int c) {
  static constexpr const char* kKeys[] = {"highpass", "lowpass"};
  static constexpr const char* kLabels[] = {"high-pass", "low-pass"};
  for (int f = 0; f < 2; ++f) {
    const int k = XoverIndex(c, f);
    const std::string key = kKeys[f], label = kLabels[f];
    const int slope = std::clamp(static_cast<int>(d.rec.XoverType[k]), 0, kLastSlope);
    b.Word(key + ".type", label + " type", XoverSlopeNames[slope]);
    b.Number(key + ".frequency", label + " frequency", NumberText(d.rec.XoverFreq[k], false), "Hz");
  }
}

// A band as its row on the channel page shows it: the stored gain even while the band is
// switched off, the frequency within the box's 20 Hz .. 20 kHz.
void AddBand(ParamBuilder& b, const Decoded& d, int c, int n) {
  const ParamImage& img = d.img;
  const DeviceSettings& rec = d.rec;
  const int g = BandOf(c, n);
  const int a = EqBandAddr[g];
  const int type = BoundedEqType(rec.EqType[g]);
  const std::string key = "eq.band" + std::to_string(n + 1);
  const std::string label = "EQ band " + std::to_string(n + 1);
  b.Word(key + ".type", label + " type", EqTypeNames[type]);
  const int hz = std::clamp(ReadWord(img, a + 1), kEqFreqMin, kEqFreqMax);
  b.Number(key + ".frequency", label + " frequency", NumberText(hz, false), "Hz");
  const int gain_code = Code(img, a + 4, kEqGainCodeMax);
  b.Number(key + ".gain", label + " gain",
           NumberText(EqGainOfSlider(kEqGainCodeMax - gain_code), false), "dB");
  b.Number(key + ".q", label + " Q", NumberText(EqQValue(type, img[a + 3]), false), "");
  b.Switch(key + ".bypass", label + " bypass", rec.EqBandBypass[g] != 0);
}

}  // namespace

void AddChannelParameters(ParamBuilder& b, const Decoded& d, int c) {
  b.Prefix(ChannelKey(c), ChannelLabel(c));
  AddStrip(b, d, c);
  if (IsInputChannel(c)) AddGate(b, d.img, c);
  AddCompressor(b, d, c);
  if (!IsInputChannel(c)) {
    AddLimiter(b, d, c);
    AddCrossovers(b, d, c);
  }
  b.Switch("eq.bypass", "EQ bypass", d.rec.EqBypass[c] != 0);
  for (int n = 0; n <= BandLast[c]; ++n) AddBand(b, d, c, n);
}

}  // namespace velmark::report

#include "editor/refresh_channel_page.h"

#include <algorithm>
#include <string>
#include <vector>

#include "commands/crossover.h"
#include "eqdyn/dynamics.h"
#include "eqdyn/edit_graph.h"
#include "eqdyn/eq_band.h"
#include "views/band_cursors.h"
#include "views/dynamics_graph.h"

namespace velmark {
namespace {

constexpr int kInputCompFirst = 0, kOutputCompFirst = 6;
constexpr int kInputPage = 0, kOutputPage = 1;
constexpr int kInputBandFirst = 0, kOutputBandFirst = 13;
constexpr int kLastSlope = static_cast<int>(XoverSlopeNames.size()) - 1;

// Reads codes from the image for the controls, remembering every byte whose code the control
// cannot hold so that it can be put back once the builders have written the bounded value.
class ImageReader {
 public:
  explicit ImageReader(ParamImage& img) : img_(img) {}

  // Slider position for a code stored as max − position.
  int Reversed(int addr, int max) { return max - Bounded(addr, max); }
  // Code 0..max as it is.
  int Bounded(int addr, int max) {
    const int code = img_[addr];
    if (code <= max) return code;
    kept_.push_back({addr, img_[addr]});
    return max;
  }
  // A switch byte: 0 or 1.
  int Switch(int addr) { return Bounded(addr, 1); }
  // A 16-bit word (high byte first) shown as it is; outside min..max its builder writes the
  // nearest value it can use, so both bytes are put back afterwards.
  int Word(int addr, int min, int max) {
    const int word = ReadWord(img_, addr);
    if (word < min || word > max) {
      kept_.push_back({addr, img_[addr]});
      kept_.push_back({addr + 1, img_[addr + 1]});
    }
    return word;
  }

  // Puts back the bytes the controls could not hold.
  void Restore() {
    for (const auto& [addr, value] : kept_) img_[addr] = value;
  }

 private:
  struct Kept {
    int addr;
    std::uint8_t value;
  };
  ParamImage& img_;
  std::vector<Kept> kept_;
};

void RefreshNoiseGate(Core& core, ImageReader& read, int c) {
  EditControls& w = core.Win();
  const int g = GateAddr[c];
  core.st.UpdatingControls = true;
  w.CheckNGByp.SetValue(read.Switch(g));
  for (int k = 0; k < static_cast<int>(kGateSliderMax.size()); ++k) {
    w.SliderNG(k).SetValue(read.Reversed(g + 1 + k, kGateSliderMax[k]));
  }
  core.st.UpdatingControls = false;
  SetNoiseGate(core);
}

// The compressor of either page: check box `page`, slider elements first..first + 5.
void RefreshCompressor(Core& core, ImageReader& read, int c, int page, int first) {
  EditControls& w = core.Win();
  const int k = CompAddr[c];
  core.st.UpdatingControls = true;
  w.CheckCmp(page).SetValue(core.Rec().CompBypass[c]);
  for (int j = 0; j < kCompBytes; ++j) {
    w.SliderCmp(first + j).SetValue(read.Reversed(k + j, kCompSliderMax[j]));
  }
  core.st.UpdatingControls = false;
  SetCompBypass(core, page);
  for (int j = 0; j < kCompBytes; ++j) SetCompParam(core, first + j);
  DrawDynamicsCurve(core.st, w.PicCmp,
                    page == kInputPage ? kDynCompressorInput : kDynCompressorOutput);
}

void RefreshLimiter(Core& core, ImageReader& read, int c) {
  EditControls& w = core.Win();
  const int l = LimAddr[c];
  core.st.UpdatingControls = true;
  w.CheckLimByp.SetValue(core.Rec().LimBypass[c]);
  for (int j = 0; j < kLimBytes; ++j) {
    w.SliderLim(kLimElements[j]).SetValue(read.Reversed(l + j, kLimSliderMax[j]));
  }
  core.st.UpdatingControls = false;
  SetLimBypass(core);
  SetLimParams(core);
  DrawDynamicsCurve(core.st, w.PicCmp, kDynLimiter);
}

void RefreshCrossovers(Core& core, ImageReader& read, int c) {
  EditControls& w = core.Win();
  const ParamImage& img = core.Img();
  for (int f = 0; f < 2; ++f) {
    const int x = XoverAddr[XoverIndex(c, f)];
    core.st.UpdatingControls = true;
    w.TextHpLpF(f).SetText(std::to_string(ReadWord(img, x)));
    w.ComboHpLpS(f).SetListIndex(read.Bounded(x + 2, kLastSlope));
    core.st.UpdatingControls = false;
    SendCrossover(core, f);
  }
}

// The equaliser of either page: check box `page`, band elements first..first + BandLast.
void RefreshEqualiser(Core& core, ImageReader& read, int c, int page, int first) {
  EditControls& w = core.Win();
  // The band builders write the band-bypass word from the bands the channel has; bits beyond
  // them in a damaged word stay as the unit holds them.
  read.Word(EqMaskAddr[c], 0, (1 << (BandLast[c] + 1)) - 1);
  core.st.UpdatingControls = true;
  w.CheckEqByp(page).SetValue(core.Rec().EqBypass[c]);
  core.st.UpdatingControls = false;
  ShowEqBypass(core, page);
  for (int b = 0; b <= BandLast[c]; ++b) {
    const int g = BandOf(c, b);
    const int a = EqBandAddr[g];
    const int i = first + b;
    core.st.UpdatingControls = true;
    core.Rec().EqType[g] = core.Img()[a];
    w.TxtEqFreq(i).SetText(std::to_string(read.Word(a + 1, kEqFreqMin, kEqFreqMax)));
    w.UDEqQ(i).SetValue(read.Bounded(a + 3, kEqQCodeMax));
    w.Slider2(i).SetValue(read.Reversed(a + 4, kEqGainCodeMax));
    core.st.UpdatingControls = false;
    ShowBandSwitch(core, i);
    SendEqBand(core, i);
  }
}

}  // namespace

void RefreshChannelPage(Core& core) {
  ProgramState& st = core.st;
  if (st.CurUnit < 0 || st.CurUnit >= kUnitCount) return;
  const int c = st.Channel();
  if (c < 0 || c >= kChannelCount) return;
  ImageReader read(core.Img());
  if (IsInputChannel(c)) {
    RefreshNoiseGate(core, read, c);
    RefreshCompressor(core, read, c, kInputPage, kInputCompFirst);
    RefreshEqualiser(core, read, c, kInputPage, kInputBandFirst);
  } else {
    RefreshCompressor(core, read, c, kOutputPage, kOutputCompFirst);
    RefreshLimiter(core, read, c);
    RefreshCrossovers(core, read, c);
    RefreshEqualiser(core, read, c, kOutputPage, kOutputBandFirst);
  }
  read.Restore();
  CursorControls cursors = EditCursorControls(core.Win());
  ShowCursorState(st, cursors);
}

}  // namespace velmark

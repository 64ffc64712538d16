// The two channel layouts: input (noise gate, 13 bands, compressor) and output (11 bands,
// crossover filters, limiter, compressor). Each section has its "Bypass" box above its frame,
// outside it, so that a bypassed (disabled) section can still be switched back on.

#include <algorithm>
#include <array>
#include <vector>

#include "editor/frm_kvr.h"
#include "editor/frm_kvr_layout.h"
#include "eqdyn/dynamics.h"
#include "model/tables.h"
#include "ui/pictures.h"

namespace velmark {
namespace {

using layout::Place;
using layout::SetLabel;

constexpr std::array<const char*, 3> kGateCaptions = {"Thr [dBu]", "Release [ms]", " Attack [ms]"};
constexpr std::array<const char*, 6> kCompCaptions = {
    "Thr [dBu]", "Ratio [In:Out]", " Knee  [%]", "Release [sec]", " Attack [ms]", "Makeup [dBu]"};
constexpr std::array<const char*, 3> kLimCaptions = {"Thr [dBu]", "Release [sec]", " Attack [ms]"};

constexpr int kInputPitch = 450, kOutputPitch = 400;
constexpr int kFrameMargin = 30;
constexpr int kCaptionRows = 3;  // parameter captions are staggered so that long ones fit
constexpr int kMinCaptionWidth = 1000;

struct DynColumn {
  ui::Slider& slider;
  ui::Image& knob;
  ui::TextBox& text;
  ui::Label& label;
  const char* caption;
};

// Columns of one dynamics frame: knob track 480..2500, value text, caption below.
void LayoutDynColumns(ui::Frame& frame, const std::vector<DynColumn>& columns, int pitch) {
  const int width = frame.Width();
  for (int j = 0; j < static_cast<int>(columns.size()); ++j) {
    const DynColumn& col = columns[j];
    const int left = kFrameMargin + pitch * j;
    const int cx = left + pitch / 2;
    layout::PlaceTrack(col.slider, col.knob, &frame, cx, kDynKnobTop, kDynKnobSpan);
    Place(col.text, &frame, left + 10, kDynKnobTop + kDynKnobSpan + layout::kKnobHeight + 50,
          pitch - 20, layout::kTextHeight);
    col.text.SetFont(7, false);
    // The caption may spread over its neighbours' columns (they use other rows) but is cut at
    // the frame's edges, where it keeps to the side of its own column.
    const int half = kCaptionRows * pitch / 2 - 10;
    int label_left = std::max(cx - half, 10);
    int label_right = std::min(cx + half, width - 10);
    // Near an edge the short captions of the same row leave room for a wider box.
    label_left = std::min(label_left, std::max(10, label_right - kMinCaptionWidth));
    label_right = std::max(label_right, std::min(width - 10, label_left + kMinCaptionWidth));
    ui::Alignment align = ui::Alignment::Center;
    if (cx - half < 10) align = ui::Alignment::Left;
    if (cx + half > width - 10) align = ui::Alignment::Right;
    Place(col.label, &frame, label_left, 3060 + 160 * (j % kCaptionRows), label_right - label_left,
          170);
    SetLabel(col.label, col.caption, 6, false, align);
  }
}

void PlaceBypass(ui::CheckBox& box, int frame_left) {
  box.Move(frame_left + kFrameMargin, 0, 1100, 240);
  box.SetCaption("Bypass");
}

}  // namespace

void FrmKVRxxxA::LayoutInputPage() {
  constexpr int kGateLeft = 0, kGateWidth = 2 * kFrameMargin + 3 * kInputPitch;
  Place(FrameNG, &FrameIn0, kGateLeft, layout::kSectionTop, kGateWidth, layout::kSectionHeight);
  FrameNG.SetCaption("Noise Gate");
  CheckNGByp.SetContainer(&FrameIn0);
  PlaceBypass(CheckNGByp, kGateLeft);
  std::vector<DynColumn> gate;
  for (int k = 0; k < 3; ++k) {
    gate.push_back({SliderNG(k), NGSl(k), NGText(k), LblDynParam(k), kGateCaptions[k]});
  }
  LayoutDynColumns(FrameNG, gate, kInputPitch);

  constexpr int kEqLeft = kGateLeft + kGateWidth + 30;
  LayoutEqSection(0, kEqLeft, 0);

  constexpr int kEqWidth = 100 + 13 * layout::kBandPitch;
  constexpr int kCompLeft = kEqLeft + kEqWidth + 30;
  Place(FrameCmp(0), &FrameIn0, kCompLeft, layout::kSectionTop, layout::kLayoutWidth - kCompLeft,
        layout::kSectionHeight);
  FrameCmp(0).SetCaption("RMS Compressor");
  CheckCmp(0).SetContainer(&FrameIn0);
  PlaceBypass(CheckCmp(0), kCompLeft);
  std::vector<DynColumn> comp;
  for (int j = 0; j < kCompBytes; ++j) {
    comp.push_back({SliderCmp(j), CmpSl(j), CmpText(j), LblDynParam(10 + j), kCompCaptions[j]});
  }
  LayoutDynColumns(FrameCmp(0), comp, kInputPitch);
}

void FrmKVRxxxA::LayoutOutputPage() {
  // Output bands stand at 200 + 600 k from the window's left edge.
  constexpr int kEqLeft = 140;
  LayoutEqSection(1, kEqLeft, 13);

  constexpr int kEqWidth = 100 + 11 * layout::kBandPitch;
  constexpr int kHpLpLeft = kEqLeft + kEqWidth + 30, kHpLpWidth = 1480;
  Place(FrameHpLp, &FrameOut, kHpLpLeft, layout::kSectionTop, kHpLpWidth, layout::kSectionHeight);
  FrameHpLp.SetCaption("HP/LP");
  static constexpr std::array<const char*, 2> kFilterCaptions = {"High Pass Filter",
                                                                 "Low Pass Filter"};
  for (int f = 0; f < 2; ++f) {
    const int top = 260 + 1300 * f;
    Place(LblHpLp(f), &FrameHpLp, 60, top, kHpLpWidth - 120, 240);
    SetLabel(LblHpLp(f), kFilterCaptions[f], 7);
    Place(TextHpLpF(f), &FrameHpLp, 60, top + 280, 800, layout::kTextHeight);
    TextHpLpF(f).SetFont(8, false);
    TextHpLpF(f).SetText("1000");
    Place(ComboHpLpS(f), &FrameHpLp, 40, top + 600, kHpLpWidth - 80, 300);
    ComboHpLpS(f).SetFont(7, false);
    ComboHpLpS(f).Clear();
    for (auto name : XoverSlopeNames) ComboHpLpS(f).AddItem(std::string(name));
  }

  constexpr int kLimLeft = kHpLpLeft + kHpLpWidth + 30;
  constexpr int kLimWidth = 2 * kFrameMargin + 3 * kOutputPitch;
  Place(FrameLim, &FrameOut, kLimLeft, layout::kSectionTop, kLimWidth, layout::kSectionHeight);
  FrameLim.SetCaption("Peak Limiter");
  CheckLimByp.SetContainer(&FrameOut);
  PlaceBypass(CheckLimByp, kLimLeft);
  std::vector<DynColumn> lim;
  for (int j = 0; j < kLimBytes; ++j) {
    const int e = kLimElements[j];
    lim.push_back({SliderLim(e), LimSl(e), LimText(e), LblDynParam(30 + e), kLimCaptions[j]});
  }
  LayoutDynColumns(FrameLim, lim, kOutputPitch);

  constexpr int kCompLeft = kLimLeft + kLimWidth + 30;
  Place(FrameCmp(1), &FrameOut, kCompLeft, layout::kSectionTop, 2 * kFrameMargin + 6 * kOutputPitch,
        layout::kSectionHeight);
  FrameCmp(1).SetCaption("RMS Compressor");
  CheckCmp(1).SetContainer(&FrameOut);
  PlaceBypass(CheckCmp(1), kCompLeft);
  std::vector<DynColumn> comp;
  for (int j = 0; j < kCompBytes; ++j) {
    comp.push_back(
        {SliderCmp(6 + j), CmpSl(6 + j), CmpText(6 + j), LblDynParam(16 + j), kCompCaptions[j]});
  }
  LayoutDynColumns(FrameCmp(1), comp, kOutputPitch);
}

// The equaliser of page j (0 input, 1 output) at `left` in its layout, band elements from
// `first`: per band the "Byp" switch, the type label, the gain knob, gain, frequency and Q.
void FrmKVRxxxA::LayoutEqSection(int j, int left, int first) {
  ui::Frame& layout_frame = j == 0 ? FrameIn0 : FrameOut;
  const int bands = j == 0 ? 13 : 11;
  const int width = 100 + bands * layout::kBandPitch;
  Place(FrameEq(j), &layout_frame, left, layout::kSectionTop, width, layout::kSectionHeight);
  FrameEq(j).SetCaption("PEQ");
  CheckEqByp(j).SetContainer(&layout_frame);
  PlaceBypass(CheckEqByp(j), left);
  Place(BtnFlatEQ(j), &layout_frame, left + width - 1300, 0, 300, 240);
  BtnFlatEQ(j).SetPicture(ui::pictures::kEqFlat);
  Place(LblFlatEQ(j), &layout_frame, left + width - 980, 0, 950, 240);
  SetLabel(LblFlatEQ(j), "EQ Flat", 8);

  ui::Frame* eq = &FrameEq(j);
  for (int b = 0; b < bands; ++b) {
    const int i = first + b;
    const int x = 60 + layout::kBandPitch * b;
    Place(LblEQsByp(i), eq, x + 40, 220, 520, 230);
    SetLabel(LblEQsByp(i), "Byp", 7, false, ui::Alignment::Center);
    Place(LblEQType(i), eq, x, 470, 580, 230);
    SetLabel(LblEQType(i), std::string(EqTypeNames[0]), 7, true, ui::Alignment::Center);
    layout::PlaceTrack(Slider2(i), ImgEQGain(i), eq, x + 300, 720, 1200);
    Place(TxtEqGain(i), eq, x + 30, 2230, 540, layout::kTextHeight);
    Place(TxtEqFreq(i), eq, x + 30, 2530, 540, layout::kTextHeight);
    Place(TxtEqQ(i), eq, x + 30, 2830, 380, layout::kTextHeight);
    for (ui::TextBox* text : {&TxtEqGain(i), &TxtEqFreq(i), &TxtEqQ(i)}) text->SetFont(7, false);
    Place(UDEqQ(i), eq, x + 410, 2830, 160, layout::kTextHeight);
  }
  // The type menu pops up under the band that was clicked.
  ShapeEq.SetCaption("Filter Type");
  ShapeEq.SetItems({EqTypeMenuCaptions.begin(), EqTypeMenuCaptions.end()});
  ShapeEq.SetVisible(false);
}

}  // namespace velmark

#include "editor/edit_controls.h"

#include <initializer_list>

namespace velmark {
namespace {

template <typename T>
void AddRange(ui::ControlArray<T>& array, int first, int last) {
  for (int i = first; i <= last; ++i) array.Add(i);
}

template <typename T>
void AddIndexes(ui::ControlArray<T>& array, std::initializer_list<int> indexes) {
  for (int i : indexes) array.Add(i);
}

void SetRanges(ui::ControlArray<ui::Slider>& array, std::initializer_list<int> maxima, int first) {
  int i = first;
  for (int max : maxima) array(i++).SetRange(0, max);
}

// The block diagram of the routing page: 1..4 outputs (100..406), A..D inputs (500..805).
constexpr int kBlockLabels[] = {100, 101, 102, 103, 104, 105, 106, 200, 201, 202, 203, 204, 205,
                                206, 300, 301, 302, 303, 304, 305, 306, 400, 401, 402, 403, 404,
                                405, 406, 500, 501, 502, 503, 504, 505, 600, 601, 602, 603, 604,
                                605, 700, 701, 702, 703, 704, 705, 800, 801, 802, 803, 804, 805};

}  // namespace

EditControls::EditControls() {
  AddRange(ImgNameTab, 0, 9);
  AddRange(LblImgNameTab, 0, 9);
  AddRange(LblNameTab, 0, 9);
  AddRange(FramePage, 0, 2);

  AddRange(Slider1, 0, 9);
  for (auto& [i, s] : Slider1) s.SetRange(0, 300);
  AddRange(GainText, 0, 9);
  AddRange(GainSl, 0, 9);
  AddRange(FrameGain, 0, 7);
  AddRange(UpDown2, 0, 7);
  for (auto& [i, u] : UpDown2) u.SetRange(0, i <= 3 ? 340 : 270);
  AddRange(UpDown1, 0, 7);
  for (auto& [i, u] : UpDown1) u.SetRange(0, 96);
  AddRange(Text2, 0, 7);
  AddRange(FrameDly, 0, 7);
  AddRange(Option1, 0, 1);
  for (auto& [i, o] : Option1) o.SetGroup(Option1Group);
  AddRange(Check2, 0, 7);
  AddRange(LblWinDly, 0, 7);
  AddRange(Shape1, 0, 55);
  AddRange(FrameMeter, 0, 7);

  AddRange(CheckSRout, 0, 15);
  AddRange(UpDownSRout, 0, 15);
  AddRange(TextSRout, 0, 15);
  AddRange(LineOut1, 0, 15);
  AddRange(LineDly, 0, 15);
  AddRange(CheckFRout, 0, 15);
  AddRange(UpDownFRout, 0, 15);
  AddRange(TextFRout, 0, 15);
  AddRange(LineFOut, 0, 15);
  for (auto& [i, u] : UpDownSRout) u.SetRange(0, 30);
  for (auto& [i, u] : UpDownFRout) u.SetRange(0, 30);
  AddRange(ImgMute, 0, 7);
  AddRange(Option2, 0, 5);
  for (auto& [i, o] : Option2) o.SetGroup(Option2Group[i / 3]);
  AddRange(OptionNoiseLev, 0, 3);
  for (auto& [i, o] : OptionNoiseLev) o.SetGroup(OptionNoiseLevGroup[i / 2]);
  AddRange(SliderNoiseLev, 0, 1);
  for (auto& [i, s] : SliderNoiseLev) s.SetRange(0, 40);
  AddRange(TextNoiseLev, 0, 1);
  AddRange(SlNoiseLev, 0, 1);
  AddRange(Label300, 0, 7);
  AddRange(LabelRoutIn, 0, 7);
  AddRange(LabelRoutFin, 0, 3);
  for (int i : kBlockLabels) Label100.Add(i);

  AddRange(SliderNG, 0, 2);
  SetRanges(SliderNG, {6, 12, 28}, 0);
  AddRange(NGText, 0, 2);
  AddRange(NGSl, 0, 2);

  AddRange(FrameCmp, 0, 1);
  AddRange(CheckCmp, 0, 1);
  AddRange(SliderCmp, 0, 11);
  SetRanges(SliderCmp, {150, 30, 100, 29, 29, 240}, 0);
  SetRanges(SliderCmp, {150, 30, 100, 29, 29, 240}, 6);
  AddRange(CmpText, 0, 11);
  AddRange(CmpSl, 0, 11);

  AddIndexes(SliderLim, {1, 4, 5});
  SliderLim(1).SetRange(0, 150);
  SliderLim(4).SetRange(0, 49);
  SliderLim(5).SetRange(0, 40);
  AddIndexes(LimText, {1, 4, 5});
  AddIndexes(LimSl, {1, 4, 5});

  AddRange(TextHpLpF, 0, 1);
  AddRange(ComboHpLpS, 0, 1);

  AddRange(FrameEq, 0, 1);
  AddRange(CheckEqByp, 0, 1);
  AddRange(LblFlatEQ, 0, 1);
  AddRange(BtnFlatEQ, 0, 1);
  AddRange(TxtEqFreq, 0, 23);
  AddRange(TxtEqGain, 0, 23);
  AddRange(TxtEqQ, 0, 23);
  AddRange(UDEqQ, 0, 23);
  for (auto& [i, u] : UDEqQ) u.SetRange(0, 100);
  AddRange(Slider2, 0, 23);
  for (auto& [i, s] : Slider2) s.SetRange(0, 60);
  AddRange(ImgEQGain, 0, 23);
  AddRange(LblEQType, 0, 23);
  AddRange(LblEQsByp, 0, 23);

  AddRange(Label5, 0, 23);
  AddRange(LblFreqGraph, 0, 4);
  AddRange(LblAmpGraph, 0, 6);
  AddRange(LblAmpGraph, 10, 16);
  AddRange(LblCmpScale, 0, 10);

  AddRange(CheckLinkOut, 0, 7);
  AddRange(LblLinkOut, 0, 7);

  AddRange(ImageBtn, 0, 11);
  AddRange(LblBtn, 0, 11);
  AddRange(Image12, 0, 1);
}

}  // namespace velmark

// Every control of the edit window under its name (arrays by index), and the window's colours.

#include "editor/frm_kvr.h"

namespace velmark {
namespace {

// Panels are dark so that the silver and orange captions of the design read well.
constexpr ui::Colour kPanel = ui::MakeColour(44, 46, 50);
constexpr ui::Colour kBlockFace = ui::MakeColour(70, 74, 80);
constexpr ui::Colour kSilver = 12632256;
constexpr ui::Colour kCursorFace = ui::MakeColour(255, 255, 255);
constexpr ui::Colour kRouteLine = ui::MakeColour(0, 255, 0);
constexpr ui::Colour kOutLine = ui::MakeColour(255, 128, 0);

template <typename T>
void AddRange(ui::ControlArray<T>& array, int first, int last) {
  for (int i = first; i <= last; ++i) array.Add(i);
}

}  // namespace

void FrmKVRxxxA::RegisterExtras() {
  AddRange(LblDynParam, 0, 2);
  AddRange(LblDynParam, 10, 21);
  for (int i : {31, 34, 35}) LblDynParam.Add(i);
  AddRange(LblHpLp, 0, 1);
  AddRange(LblMeterScale, 0, 6 * kChannelCount - 1);
  AddRange(FrameMaster, 0, 1);
  AddRange(LblDlyStep, 0, 2 * kChannelCount - 1);
  AddRange(LblPhysOut, 0, 3);
  AddRange(FrameSource, 0, 1);
  AddRange(FrameNoise, 0, 1);
  AddRange(FrameLines, 0, 1);
}

// The name a scenario uses is the member's own name.
#define VELMARK_REGISTER(control) Register(#control, control)

void FrmKVRxxxA::RegisterControls() {
  // Tabs, pages, focus box, tool bar, links.
  VELMARK_REGISTER(FrameBar);
  VELMARK_REGISTER(ImgNameTab);
  VELMARK_REGISTER(LblImgNameTab);
  VELMARK_REGISTER(LblNameTab);
  VELMARK_REGISTER(TabOn);
  VELMARK_REGISTER(TabOff);
  VELMARK_REGISTER(TextFocus);
  VELMARK_REGISTER(ImageBtn);
  VELMARK_REGISTER(LblBtn);
  VELMARK_REGISTER(Image12);
  VELMARK_REGISTER(FrameLinkIn);
  VELMARK_REGISTER(FrameLinkOut);
  VELMARK_REGISTER(CheckLinkOut);
  VELMARK_REGISTER(LblLinkOut);
  VELMARK_REGISTER(FramePage);
  VELMARK_REGISTER(FrameIn0);
  VELMARK_REGISTER(FrameOut);
  VELMARK_REGISTER(FrameCmpView);

  // Channel page: noise gate, compressor, limiter, crossovers, equaliser.
  VELMARK_REGISTER(CheckNGByp);
  VELMARK_REGISTER(FrameNG);
  VELMARK_REGISTER(SliderNG);
  VELMARK_REGISTER(NGSl);
  VELMARK_REGISTER(NGText);
  VELMARK_REGISTER(CheckCmp);
  VELMARK_REGISTER(FrameCmp);
  VELMARK_REGISTER(SliderCmp);
  VELMARK_REGISTER(CmpSl);
  VELMARK_REGISTER(CmpText);
  VELMARK_REGISTER(CheckLimByp);
  VELMARK_REGISTER(FrameLim);
  VELMARK_REGISTER(SliderLim);
  VELMARK_REGISTER(LimSl);
  VELMARK_REGISTER(LimText);
  VELMARK_REGISTER(LblDynParam);
  VELMARK_REGISTER(FrameHpLp);
  VELMARK_REGISTER(LblHpLp);
  VELMARK_REGISTER(TextHpLpF);
  VELMARK_REGISTER(ComboHpLpS);
  VELMARK_REGISTER(CheckEqByp);
  VELMARK_REGISTER(BtnFlatEQ);
  VELMARK_REGISTER(LblFlatEQ);
  VELMARK_REGISTER(FrameEq);
  VELMARK_REGISTER(LblEQsByp);
  VELMARK_REGISTER(LblEQType);
  VELMARK_REGISTER(Slider2);
  VELMARK_REGISTER(ImgEQGain);
  VELMARK_REGISTER(TxtEqGain);
  VELMARK_REGISTER(TxtEqFreq);
  VELMARK_REGISTER(TxtEqQ);
  VELMARK_REGISTER(UDEqQ);
  VELMARK_REGISTER(ShapeEq);

  // Dynamics graph and response graph.
  VELMARK_REGISTER(PicCmp);
  VELMARK_REGISTER(LblCmpScale);
  VELMARK_REGISTER(FrameGraph);
  VELMARK_REGISTER(GraphMenu);
  VELMARK_REGISTER(Picture1);
  VELMARK_REGISTER(Label5);
  VELMARK_REGISTER(LblFreqGraph);
  VELMARK_REGISTER(LblAmpGraph);
  VELMARK_REGISTER(LblFreqGain);
  VELMARK_REGISTER(LblShowCursor);
  VELMARK_REGISTER(ImgViewAll);
  VELMARK_REGISTER(LblViewAll);

  // Gains / delays page.
  VELMARK_REGISTER(LblWinDly);
  VELMARK_REGISTER(FrameGain);
  VELMARK_REGISTER(FrameMaster);
  VELMARK_REGISTER(Slider1);
  VELMARK_REGISTER(GainSl);
  VELMARK_REGISTER(GainText);
  VELMARK_REGISTER(FrameMeter);
  VELMARK_REGISTER(Shape1);
  VELMARK_REGISTER(LblMeterScale);
  VELMARK_REGISTER(FrameDly);
  VELMARK_REGISTER(Text2);
  VELMARK_REGISTER(UpDown2);
  VELMARK_REGISTER(UpDown1);
  VELMARK_REGISTER(Check2);
  VELMARK_REGISTER(FrameDlyUnit);
  VELMARK_REGISTER(Option1);

  // Routing / mute page.
  VELMARK_REGISTER(FrameRoutIn);
  VELMARK_REGISTER(LabelRoutIn);
  VELMARK_REGISTER(CheckSRout);
  VELMARK_REGISTER(TextSRout);
  VELMARK_REGISTER(UpDownSRout);
  VELMARK_REGISTER(FrameRoutOut);
  VELMARK_REGISTER(LabelRoutFin);
  VELMARK_REGISTER(LblPhysOut);
  VELMARK_REGISTER(LblDlyStep);
  VELMARK_REGISTER(CheckFRout);
  VELMARK_REGISTER(TextFRout);
  VELMARK_REGISTER(UpDownFRout);
  VELMARK_REGISTER(FrameBlocks);
  VELMARK_REGISTER(Label300);
  VELMARK_REGISTER(Label100);
  VELMARK_REGISTER(ImgMute);
  VELMARK_REGISTER(ImgMuteON);
  VELMARK_REGISTER(ImgMuteOFF);
  VELMARK_REGISTER(FrameSource);
  VELMARK_REGISTER(Option2);
  VELMARK_REGISTER(FrameNoise);
  VELMARK_REGISTER(OptionNoiseLev);
  VELMARK_REGISTER(SliderNoiseLev);
  VELMARK_REGISTER(SlNoiseLev);
  VELMARK_REGISTER(TextNoiseLev);
  VELMARK_REGISTER(FrameLines);
  VELMARK_REGISTER(LineOut1);
  VELMARK_REGISTER(LineDly);
  VELMARK_REGISTER(LineFOut);

  // Window-wide.
  VELMARK_REGISTER(ProgressBar1);
  VELMARK_REGISTER(Timer1);
}

#undef VELMARK_REGISTER

// Dark panels with silver text; the design's own colours (tabs, switches, lamps) are set by the
// layout and the builders on top of this.
void FrmKVRxxxA::ApplyTheme() {
  for (ui::Control* c : Controls()) {
    switch (c->Kind()) {
      case ui::ControlKind::Label:
      case ui::ControlKind::CheckBox:
      case ui::ControlKind::OptionButton:
      case ui::ControlKind::Frame:
      case ui::ControlKind::Image:
        c->SetBackColor(kPanel);
        c->SetForeColor(kSilver);
        break;
      case ui::ControlKind::Shape:
        static_cast<ui::Shape*>(c)->SetFillColor(kSilver);
        break;
      default:
        break;
    }
  }
  for (auto& [i, label] : Label100) label.SetBackColor(kBlockFace);
  for (auto& [i, label] : LblEQsByp) label.SetBackColor(ui::kButtonFace);
  for (auto& [i, cursor] : Label5) {
    cursor.SetBackColor(kCursorFace);
    cursor.SetForeColor(ui::kBlack);
  }
  LblFreqGain.SetBackColor(ui::kBlack);
  LblFreqGain.SetForeColor(ui::kWhite);
  for (auto& [i, line] : LineOut1) line.SetFillColor(kRouteLine);
  for (auto& [i, line] : LineDly) line.SetFillColor(kRouteLine);
  for (auto& [i, line] : LineFOut) line.SetFillColor(kOutLine);
  Picture1.SetBackColor(ui::kBlack);
  PicCmp.SetBackColor(ui::kBlack);
}

}  // namespace velmark

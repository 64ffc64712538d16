#pragma once
// The controls of a unit's edit window (FrmKVRxxxA), named and indexed as the window's logic
// and the builders address them. This is data only: the builders read and write it, the window
// class registers it and handles its events, the toolkit binding shows it.
//
// Pages: 0..3 input channels, 4..7 output channels (FramePage(0) with FrameIn0 or FrameOut),
// 8 gains/delays (FramePage(1)), 9 routing/mute (FramePage(2)).

#include "ui/control_array.h"
#include "ui/controls.h"

namespace velmark {

struct EditControls {
  EditControls();
  EditControls(const EditControls&) = delete;
  EditControls& operator=(const EditControls&) = delete;

  template <typename T>
  using Array = ui::ControlArray<T>;

  // ---- Tabs (0..9), pages and the stacked channel layouts.
  Array<ui::Image> ImgNameTab;     // 0..9
  Array<ui::Label> LblImgNameTab;  // 0..9: "A".."D", "1".."4", "G/D", "R"
  Array<ui::Label> LblNameTab;     // 0..9: channel names (0..7)
  ui::Image TabOn, TabOff;         // hidden: the two tab pictures
  Array<ui::Frame> FramePage;      // 0 channel page, 1 gains/delays, 2 routing/mute
  ui::Frame FrameIn0, FrameOut, FrameCmpView;
  ui::TextBox TextFocus;  // invisible box that parks the keyboard focus

  // ---- Gains / delays / polarity (page 8).
  Array<ui::Slider> Slider1;        // 0..9, 0..300, 0 = top (loudest)
  Array<ui::TextBox> GainText;      // 0..9
  Array<ui::Image> GainSl;          // 0..9 knob pictures, track top 360..1580
  Array<ui::Frame> FrameGain;       // 0..7 caption = channel name
  Array<ui::UpDown> UpDown2;        // 0..7 coarse delay ms: 0..340 inputs, 0..270 outputs
  Array<ui::UpDown> UpDown1;        // 0..7 fine delay steps 0..96
  Array<ui::TextBox> Text2;         // 0..7 delay as text
  Array<ui::Frame> FrameDly;        // 0..7 "Delay [ ms ]"
  Array<ui::OptionButton> Option1;  // 0 "Time [ms]", 1 "Meter [m]"
  ui::OptionGroup Option1Group;
  Array<ui::CheckBox> Check2;   // 0..7 polarity "180°"
  Array<ui::Label> LblWinDly;   // 0..7 channel names on the gains/delays page
  Array<ui::Shape> Shape1;      // 0..55 meter lamps, 7 per channel (lamp 6 = activity)
  Array<ui::Frame> FrameMeter;  // 0..7 meter ladders
  ui::Label LblViewAll;         // "View All"
  ui::Image ImgViewAll;

  // ---- Routing / mute / sources (page 9). Cells p = 4 × row + column.
  Array<ui::CheckBox> CheckSRout;   // 0..15 input → channel output
  Array<ui::UpDown> UpDownSRout;    // 0..15, 0..30 (dB + 30)
  Array<ui::TextBox> TextSRout;     // 0..15
  Array<ui::Shape> LineOut1;        // 0..15 diagram lines (Shape used as a line)
  Array<ui::Shape> LineDly;         // 0..15
  Array<ui::CheckBox> CheckFRout;   // 0..15 channel output → output
  Array<ui::UpDown> UpDownFRout;    // 0..15
  Array<ui::TextBox> TextFRout;     // 0..15
  Array<ui::Shape> LineFOut;        // 0..15
  Array<ui::Image> ImgMute;         // 0..7 mute buttons
  ui::Image ImgMuteON, ImgMuteOFF;  // hidden: the two mute pictures
  Array<ui::OptionButton> Option2;  // 0..5 input source: 3 × pair + source
  ui::OptionGroup Option2Group[2];
  Array<ui::OptionButton> OptionNoiseLev;  // 0..3 noise type: 2 × pair + type
  ui::OptionGroup OptionNoiseLevGroup[2];
  Array<ui::Slider> SliderNoiseLev;  // 0..1, 0..40 (value = 40 − step)
  Array<ui::TextBox> TextNoiseLev;   // 0..1
  Array<ui::Image> SlNoiseLev;       // 0..1 knobs, track 360..1580
  Array<ui::Label> Label300;         // 0..7 channel names on the routing page
  Array<ui::Label> LabelRoutIn;      // 0..7 labels of the input routing matrix
  Array<ui::Label> LabelRoutFin;     // 0..3 output channel labels of the output matrix
  Array<ui::Label> Label100;         // block diagram labels 100..806 (sparse)

  // ---- Channel page: noise gate (inputs).
  ui::Frame FrameNG;
  ui::CheckBox CheckNGByp;
  Array<ui::Slider> SliderNG;  // 0 threshold 0..6, 1 release 0..12, 2 attack 0..28
  Array<ui::TextBox> NGText;   // 0..2
  Array<ui::Image> NGSl;       // 0..2 knobs, track 480..2500

  // ---- Compressor: elements 0..5 on the input layout, 6..11 on the output layout.
  Array<ui::Frame> FrameCmp;     // 0 input, 1 output
  Array<ui::CheckBox> CheckCmp;  // 0 input, 1 output
  Array<ui::Slider> SliderCmp;   // 0..11: threshold 0..150, ratio 0..30, knee 0..100,
                                 //        release 0..29, attack 0..29, make-up 0..240
  Array<ui::TextBox> CmpText;    // 0..11
  Array<ui::Image> CmpSl;        // 0..11 knobs, track 480..2500

  // ---- Limiter (outputs): elements 1 threshold, 4 release, 5 attack.
  ui::Frame FrameLim;
  ui::CheckBox CheckLimByp;
  Array<ui::Slider> SliderLim;  // 1: 0..150, 4: 0..49, 5: 0..40
  Array<ui::TextBox> LimText;
  Array<ui::Image> LimSl;

  // ---- Crossover filters (outputs): 0 high-pass, 1 low-pass.
  ui::Frame FrameHpLp;
  Array<ui::TextBox> TextHpLpF;    // 0..1 frequency, initial "1000"
  Array<ui::ComboBox> ComboHpLpS;  // 0..1 slope list (13 entries)

  // ---- Dynamics graph.
  ui::PictureBox PicCmp;  // 2880 × 2880

  // ---- Equaliser: band controls 0..12 on an input page, 13..23 on an output page.
  Array<ui::Frame> FrameEq;        // 0 input, 1 output
  Array<ui::CheckBox> CheckEqByp;  // 0 input, 1 output
  Array<ui::Label> LblFlatEQ;      // 0..1 "EQ Flat"
  Array<ui::Image> BtnFlatEQ;      // 0..1
  Array<ui::TextBox> TxtEqFreq;    // 0..23
  Array<ui::TextBox> TxtEqGain;    // 0..23
  Array<ui::TextBox> TxtEqQ;       // 0..23
  Array<ui::UpDown> UDEqQ;         // 0..23, 0..100 (Q code)
  Array<ui::Slider> Slider2;       // 0..23, 0..60 (gain code = 60 − value)
  Array<ui::Image> ImgEQGain;      // 0..23 knobs, track 720..1920
  Array<ui::Label> LblEQType;      // 0..23 type short name; click opens "Filter Type"
  Array<ui::Label> LblEQsByp;      // 0..23 "Byp"
  ui::Menu ShapeEq;                // popup "Filter Type", items ShapeEqFilter 0..16

  // ---- Response graph.
  ui::PictureBox Picture1;        // 12600 × 2880
  Array<ui::Label> Label5;        // 0..23 band cursors, 120 × 120
  Array<ui::Label> LblFreqGraph;  // 0..4 "20Hz" … "20 kHz"
  Array<ui::Label> LblAmpGraph;   // 0..6 and 10..16 "+30" … "-30"
  ui::Label LblShowCursor;        // "Cursor"
  ui::Label LblFreqGain;          // read-out while dragging a band marker
  Array<ui::Label> LblCmpScale;   // axis labels of PicCmp

  // ---- Link check boxes: 0..3 in "  Link Input", 4..7 in "Link Output".
  Array<ui::CheckBox> CheckLinkOut;
  Array<ui::Label> LblLinkOut;  // "  A" … "  4"
  ui::Frame FrameLinkIn, FrameLinkOut;

  // ---- Tool bar.
  Array<ui::Image> ImageBtn;  // 0..11
  Array<ui::Label> LblBtn;    // 0..11 captions
  Array<ui::Image> Image12;   // 0 knob picture, 1 knob with focus (hidden)

  // ---- Misc.
  ui::ProgressBar ProgressBar1;
  ui::Timer Timer1;  // level meters

  // Band control element i → band number within its page (i, or i − 13 on an output page).
  static int BandNumberOfElement(int element) { return element <= 12 ? element : element - 13; }
};

}  // namespace velmark

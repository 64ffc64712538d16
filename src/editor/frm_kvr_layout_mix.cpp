// The gains/delays page (eight channel strips, two master levels, the delay unit) and the
// routing/mute page (two matrices, block diagram with mute buttons, sources, noise generators
// and the routing lines).

#include <array>
#include <string>

#include "editor/frm_kvr.h"
#include "editor/frm_kvr_layout.h"
#include "model/tables.h"
#include "ui/pictures.h"

namespace velmark {
namespace {

using layout::Place;
using layout::SetLabel;

constexpr std::array<const char*, 6> kMeterScale = {"-15 dBu", "   0 dBu", "+ 3 dBu",
                                                    "+ 9 dBu", "+15 dBu",  " Clip"};
constexpr std::array<const char*, 2> kMasterCaptions = {"Master G", "Master V"};
constexpr int kStripPitch = 1480, kStripWidth = 1420;
constexpr int kGainTrackTop = 360, kGainTrackSpan = 1220;  // GainSl and SlNoiseLev

// Block diagram captions by index within a row: outputs 100..106, inputs 500..505.
constexpr std::array<const char*, 7> kOutputBlocks = {"HP/LP", "PEQ",     "Delay", "Phase",
                                                      "Gain",  "Limiter", "Cmp"};
constexpr std::array<const char*, 6> kInputBlocks = {"NG", "Delay", "Phase", "Gain", "PEQ", "Cmp"};

constexpr int kCellPitchX = 1000, kCellPitchY = 540, kCellLeft = 1000, kCellTop = 560;

struct Matrix {
  ui::ControlArray<ui::CheckBox>& check;
  ui::ControlArray<ui::TextBox>& text;
  ui::ControlArray<ui::UpDown>& level;
};

void LayoutMatrix(ui::Frame& frame, Matrix m) {
  for (int p = 0; p < 16; ++p) {
    const int x = kCellLeft + kCellPitchX * (p % 4), y = kCellTop + kCellPitchY * (p / 4);
    Place(m.check(p), &frame, x, y, 220, 280);
    Place(m.text(p), &frame, x + 230, y, 480, 280);
    Place(m.level(p), &frame, x + 720, y, 220, 280);
  }
}

void PlaceHeader(ui::Label& label, ui::Frame& frame, int left, int top) {
  Place(label, &frame, left, top, 900, 260);
  label.SetAlignment(ui::Alignment::Center);
  label.SetFont(8, true);
}

}  // namespace

void FrmKVRxxxA::LayoutGainsPage() {
  ui::Frame* page = &FramePage(1);
  for (int c = 0; c < kChannelCount; ++c) {
    const int x0 = 60 + kStripPitch * c;
    Place(LblWinDly(c), page, x0, 60, kStripWidth, 280);
    SetLabel(LblWinDly(c), "", 9, true, ui::Alignment::Center);

    ui::Frame* gain = &FrameGain(c);
    Place(*gain, page, x0, 380, kStripWidth, 2300);
    layout::PlaceTrack(Slider1(c), GainSl(c), gain, 250, kGainTrackTop, kGainTrackSpan);
    Place(GainText(c), gain, 60, 1920, 820, layout::kTextHeight);

    // The meter ladder: lamp 0 at the bottom, the activity lamp 6 on top.
    ui::Frame* meter = &FrameMeter(c);
    Place(*meter, gain, 500, 200, 880, 1800);
    for (int k = 0; k < kLampsPerChannel; ++k) {
      const int top = 1800 - 140 - 220 * (k + 1);
      Place(Shape1(kLampsPerChannel * c + k), meter, 60, top, 220, 180);
      if (k < static_cast<int>(kMeterScale.size())) {
        ui::Label& scale = LblMeterScale(6 * c + k);
        Place(scale, meter, 300, top, 560, 200);
        SetLabel(scale, kMeterScale[k], 6);
      }
    }

    ui::Frame* delay = &FrameDly(c);
    Place(*delay, page, x0, 2780, kStripWidth, 1100);
    delay->SetCaption("Delay [ ms ]");
    Place(Text2(c), delay, 60, 260, kStripWidth - 120, layout::kTextHeight);
    Place(UpDown2(c), delay, 60, 640, 620, 300);
    Place(UpDown1(c), delay, 740, 640, 620, 300);
    // Which step is which: whole milliseconds on the left, 0.0104 ms steps on the right.
    UpDown2(c).SetToolTip("Coarse: 1 ms steps");
    UpDown1(c).SetToolTip("Fine: 0.0104 ms steps");
    Place(LblDlyStep(2 * c), delay, 60, 940, 620, 150);
    SetLabel(LblDlyStep(2 * c), "1 ms", 6, false, ui::Alignment::Center);
    Place(LblDlyStep(2 * c + 1), delay, 740, 940, 620, 150);
    SetLabel(LblDlyStep(2 * c + 1), "fine", 6, false, ui::Alignment::Center);

    Place(Check2(c), page, x0 + 300, 3980, 900, 260);
    Check2(c).SetCaption("180°");
  }
  for (int m = 0; m < 2; ++m) {
    const int slot = kChannelCount + m;
    ui::Frame* frame = &FrameMaster(m);
    Place(*frame, page, 60 + kStripPitch * kChannelCount + 1600 * m, 380, 1540, 2300);
    frame->SetCaption(kMasterCaptions[m]);
    layout::PlaceTrack(Slider1(slot), GainSl(slot), frame, 250, kGainTrackTop, kGainTrackSpan);
    Place(GainText(slot), frame, 60, 1920, 820, layout::kTextHeight);
  }
  Place(FrameDlyUnit, page, 60 + kStripPitch * kChannelCount, 2780, 3140, 1100);
  static constexpr std::array<const char*, 2> kUnits = {"Time [ms]", "Meter [m]"};
  for (int k = 0; k < 2; ++k) {
    Place(Option1(k), &FrameDlyUnit, 120, 260 + 380 * k, 2900, 300);
    Option1(k).SetCaption(kUnits[k]);
  }
}

void FrmKVRxxxA::LayoutRoutingPage() {
  ui::Frame* page = &FramePage(2);
  Place(FrameRoutIn, page, 60, 60, 5000, 2850);
  FrameRoutIn.SetCaption("Routing: Input to Ch.Output");
  Place(FrameRoutOut, page, 5160, 60, 5000, 2850);
  FrameRoutOut.SetCaption("Routing: Ch.Output to Output");
  for (int k = 0; k < 4; ++k) {
    // Input matrix: columns are the inputs, rows the output channels.
    PlaceHeader(LabelRoutIn(k), FrameRoutIn, kCellLeft + kCellPitchX * k, 260);
    PlaceHeader(LabelRoutIn(kInputCount + k), FrameRoutIn, 60, kCellTop + kCellPitchY * k);
    // Output matrix: columns are the output channels, rows the physical outputs.
    PlaceHeader(LabelRoutFin(k), FrameRoutOut, kCellLeft + kCellPitchX * k, 260);
    PlaceHeader(LblPhysOut(k), FrameRoutOut, 60, kCellTop + kCellPitchY * k);
    LblPhysOut(k).SetCaption("Output" + std::to_string(k + 1));
  }
  LayoutMatrix(FrameRoutIn, {CheckSRout, TextSRout, UpDownSRout});
  LayoutMatrix(FrameRoutOut, {CheckFRout, TextFRout, UpDownFRout});

  static constexpr std::array<const char*, 2> kSourceCaptions = {"Input Source 1 2",
                                                                 "Input Source 3 4"};
  static constexpr std::array<const char*, 2> kNoiseCaptions = {"Noise Generator 1 2",
                                                                "Noise Generator 3 4"};
  for (int pair = 0; pair < 2; ++pair) {
    const int left = 10300 + 2460 * pair;
    Place(FrameSource(pair), page, left, 60, 2360, 1150);
    FrameSource(pair).SetCaption(kSourceCaptions[pair]);
    for (int s = 0; s < 3; ++s) {
      ui::OptionButton& option = Option2(3 * pair + s);
      Place(option, &FrameSource(pair), 100, 240 + 290 * s, 2160, 270);
      option.SetCaption(std::string(InputSourceNames[s]));
    }
    ui::Frame* noise = &FrameNoise(pair);
    Place(*noise, page, left, 1280, 2360, 2300);
    noise->SetCaption(kNoiseCaptions[pair]);
    for (int t = 0; t < 2; ++t) {
      ui::OptionButton& option = OptionNoiseLev(2 * pair + t);
      Place(option, noise, 100, 320 + 360 * t, 1450, 280);
      option.SetCaption(std::string(NoiseTypeNames[t]));
    }
    layout::PlaceTrack(SliderNoiseLev(pair), SlNoiseLev(pair), noise, 1900, kGainTrackTop,
                       kGainTrackSpan);
    Place(TextNoiseLev(pair), noise, 1540, 1920, 720, layout::kTextHeight);

    // Routing lines: one mark per matrix cell, shown while the connection is on.
    ui::Frame* lines = &FrameLines(pair);
    Place(*lines, page, left, 3700, 2360, 2400);
    lines->SetCaption(pair == 0 ? "Input to Ch.Output" : "Ch.Output to Output");
    for (int p = 0; p < 16; ++p) {
      const int cx = 400 + 520 * (p % 4), cy = 500 + 480 * (p / 4);
      if (pair == 0) {
        Place(LineOut1(p), lines, cx - 180, cy - 20, 360, 40);
        Place(LineDly(p), lines, cx - 20, cy - 180, 40, 360);
      } else {
        Place(LineFOut(p), lines, cx - 180, cy - 40, 360, 80);
      }
    }
  }
  LayoutBlockDiagram();
}

// One row per channel, inputs A..D first: its name, its blocks (a click opens the page that
// edits the block) and its mute button.
void FrmKVRxxxA::LayoutBlockDiagram() {
  Place(FrameBlocks, &FramePage(2), 60, 3000, 10100, 3850);
  for (int c = 0; c < kChannelCount; ++c) {
    const int y = 200 + 450 * c;
    Place(Label300(c), &FrameBlocks, 60, y, 900, 300);
    SetLabel(Label300(c), "", 8, true);
    const bool input = IsInputChannel(c);
    const int base = input ? 500 + 100 * c : 100 + 100 * (c - kInputCount);
    const int blocks =
        input ? static_cast<int>(kInputBlocks.size()) : static_cast<int>(kOutputBlocks.size());
    for (int k = 0; k < blocks; ++k) {
      ui::Label& block = Label100(base + k);
      Place(block, &FrameBlocks, 1000 + 1020 * k, y, 960, 300);
      SetLabel(block, input ? kInputBlocks[k] : kOutputBlocks[k], 8, false, ui::Alignment::Center);
    }
    Place(ImgMute(c), &FrameBlocks, 8200, y - 40, 900, 380);
    ImgMute(c).SetPicture(ImgMuteOFF.Picture());
  }
}

}  // namespace velmark

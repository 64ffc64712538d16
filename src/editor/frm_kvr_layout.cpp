// The edit window's top strip (tabs, tool bar, link boxes), its pages and the channel page's
// shared parts: the dynamics graph and the response graph.

#include <algorithm>
#include <array>
#include <string>

#include "editor/frm_kvr.h"
#include "editor/frm_kvr_layout.h"
#include "model/tables.h"
#include "ui/pictures.h"
#include "views/channel_graph.h"

namespace velmark {
namespace {

using layout::Place;
using layout::SetLabel;
namespace pic = ui::pictures;

constexpr std::array<const char*, 10> kTabCaptions = {"A", "B", "C", "D",   "1",
                                                      "2", "3", "4", "G/D", "R"};
constexpr std::array<const char*, 10> kTabTips = {"View Channel Input A",  "View Channel Input B",
                                                  "View Channel Input C",  "View Channel Input D",
                                                  "View Channel Output 1", "View Channel Output 2",
                                                  "View Channel Output 3", "View Channel Output 4",
                                                  "View Gains/Delays",     "View Routing/Mute"};

struct ToolButton {
  const char* caption;
  const char* tip;
  const char* picture;
};
constexpr std::array<ToolButton, 12> kToolButtons = {{
    {"Load", "Load Program from PC", pic::kToolLoad},
    {"Save", "Save Program to PC", pic::kToolSave},
    {"Store", "Store Program to device", pic::kToolStore},
    {"Recall", "Recall Program from device", pic::kToolRecall},
    {"Lock", "Lock Interface", pic::kToolLock},
    {"Password", "Lock Interface with password", pic::kToolPassword},
    {" Version", "Info version", pic::kToolAbout},
    {"User", "Set new Password", pic::kToolUser},
    {"Copy", "Copy output(s) channel", pic::kToolCopy},
    {"Setup", "Output Limiter/Compressor Setup", pic::kToolSetup},
    {"Default", "Set Default Program", pic::kToolDefault},
    {"Copy", "Copy Input(s) channel", pic::kToolCopy},
}};

constexpr std::array<const char*, 8> kLinkCaptions = {"  A", "  B", "  C", "  D",
                                                      "  1", "  2", "  3", "  4"};

constexpr std::array<const char*, 5> kFreqCaptions = {"20Hz", "100Hz", "1 kHz", "10 kHz", "20 kHz"};
constexpr std::array<const char*, 7> kGainCaptions = {"+30", "+20", "+10", " 0",
                                                      "-10", "-20", "-30"};
// Dynamics graph: −20..+20 dB on both axes.
constexpr std::array<const char*, 5> kDynCaptions = {"-20", "-10", " 0", "+10", "+20"};
constexpr int kDynSize = 2880;

constexpr int kTabPitch = 600, kTabWidth = 570;
constexpr int kToolLeft = 6080, kToolPitch = 560;
constexpr int kLinkLeft = 12840, kLinkWidth = 2300, kLinkHeight = 465, kLinkPitch = 560;

}  // namespace

void FrmKVRxxxA::LayoutWindow() {
  Place(FrameBar, nullptr, 0, 0, layout::kPageWidth, layout::kBarHeight);
  FrameBar.SetBorder(false);
  for (auto& [p, page] : FramePage) {
    Place(page, nullptr, 0, layout::kPageTop, layout::kPageWidth, layout::kPageHeight);
    page.SetBorder(false);
  }
  // Hidden picture holders and the invisible focus box.
  TabOn.SetPicture(pic::kTabOn);
  TabOff.SetPicture(pic::kTabOff);
  ImgMuteON.SetPicture(pic::kMuteOn);
  ImgMuteOFF.SetPicture(pic::kMuteOff);
  Image12(0).SetPicture(pic::kKnob);
  Image12(1).SetPicture(pic::kKnobFocus);
  for (ui::Image* hidden : {&TabOn, &TabOff, &ImgMuteON, &ImgMuteOFF, &Image12(0), &Image12(1)}) {
    Place(*hidden, &FrameBar, 0, 0, 0, 0);
    hidden->SetVisible(false);
  }
  Place(TextFocus, &FrameBar, 0, 0, 0, 0);

  LayoutTabsAndTools();
  LayoutChannelPage();
  LayoutGainsPage();
  LayoutRoutingPage();

  // Every knob starts with the plain knob picture.
  for (auto* knobs : {&GainSl, &NGSl, &CmpSl, &LimSl, &SlNoiseLev, &ImgEQGain}) {
    for (auto& [i, knob] : *knobs) knob.SetPicture(Image12(0).Picture());
  }
  Place(ProgressBar1, nullptr, 60, 8560, 15060, 220);
  ProgressBar1.BringToFront();
}

void FrmKVRxxxA::LayoutTabsAndTools() {
  for (int n = 0; n < static_cast<int>(kTabCaptions.size()); ++n) {
    const int x = 60 + kTabPitch * n;
    Place(ImgNameTab(n), &FrameBar, x, 60, kTabWidth, 810);
    ImgNameTab(n).SetPicture(TabOff.Picture());
    Place(LblImgNameTab(n), &FrameBar, x + 30, 150, kTabWidth - 60, 330);
    SetLabel(LblImgNameTab(n), kTabCaptions[n], 11, true, ui::Alignment::Center);
    Place(LblNameTab(n), &FrameBar, x + 30, 520, kTabWidth - 60, 250);
    SetLabel(LblNameTab(n), "", 7, false, ui::Alignment::Center);
    for (ui::Control* c :
         {static_cast<ui::Control*>(&ImgNameTab(n)), static_cast<ui::Control*>(&LblImgNameTab(n)),
          static_cast<ui::Control*>(&LblNameTab(n))}) {
      c->SetToolTip(kTabTips[n]);
    }
    LblImgNameTab(n).BringToFront();
    LblNameTab(n).BringToFront();
  }
  for (int i = 0; i < static_cast<int>(kToolButtons.size()); ++i) {
    const int x = kToolLeft + kToolPitch * i;
    Place(ImageBtn(i), &FrameBar, x + 50, 60, kToolPitch - 100, 480);
    ImageBtn(i).SetPicture(kToolButtons[i].picture);
    ImageBtn(i).SetToolTip(kToolButtons[i].tip);
    Place(LblBtn(i), &FrameBar, x, 570, kToolPitch, 260);
    SetLabel(LblBtn(i), kToolButtons[i].caption, 6, false, ui::Alignment::Center);
  }
  Place(FrameLinkIn, &FrameBar, kLinkLeft, 0, kLinkWidth, kLinkHeight);
  FrameLinkIn.SetCaption("  Link Input");
  Place(FrameLinkOut, &FrameBar, kLinkLeft, kLinkHeight, kLinkWidth, kLinkHeight);
  FrameLinkOut.SetCaption("Link Output");
  // Small captions, so that the boxes below them keep clear of the text.
  FrameLinkIn.SetFont(7, false);
  FrameLinkOut.SetFont(7, false);
  for (int c = 0; c < kChannelCount; ++c) {
    ui::Frame* frame = c < kInputCount ? &FrameLinkIn : &FrameLinkOut;
    const int x = 40 + kLinkPitch * (c % kInputCount);
    Place(CheckLinkOut(c), frame, x, 210, 240, 220);
    Place(LblLinkOut(c), frame, x + 230, 210, kLinkPitch - 260, 220);
    SetLabel(LblLinkOut(c), kLinkCaptions[c], 8);
  }
}

void FrmKVRxxxA::LayoutChannelPage() {
  for (ui::Frame* layout_frame : {&FrameIn0, &FrameOut}) {
    Place(*layout_frame, &FramePage(0), 0, 0, layout::kLayoutWidth, layout::kLayoutHeight);
    layout_frame->SetBorder(false);
  }
  LayoutInputPage();
  LayoutOutputPage();
  LayoutDynamicsView();
  LayoutGraph();
}

void FrmKVRxxxA::LayoutDynamicsView() {
  Place(FrameCmpView, &FramePage(0), layout::kLayoutWidth + 30, 0, kDynSize + 120, 3420);
  FrameCmpView.SetCaption("RMS Compressor");
  Place(PicCmp, &FrameCmpView, 60, 240, kDynSize, kDynSize);
  PicCmp.SetScale(kDynSize, kDynSize);
  for (int k = 0; k < static_cast<int>(kDynCaptions.size()); ++k) {
    // Input level along the bottom edge, under the picture.
    const int cx = 60 + kDynSize * k / 4;
    const int left = std::clamp(cx - 200, 0, kDynSize + 120 - 400);
    Place(LblCmpScale(k), &FrameCmpView, left, 3140, 400, 220);
    SetLabel(LblCmpScale(k), kDynCaptions[k], 7, false, ui::Alignment::Center);
    // Output level inside the picture's left edge, +20 at the top.
    ui::Label& y_label = LblCmpScale(5 + k);
    const int top = std::clamp(kDynSize * k / 4 - 100, 0, kDynSize - 220);
    Place(y_label, &PicCmp, 40, top, 400, 220);
    SetLabel(y_label, kDynCaptions[4 - k], 7);
    y_label.SetBackColor(ui::kBlack);
  }
  Place(LblCmpScale(10), &PicCmp, kDynSize - 480, 40, 440, 220);
  SetLabel(LblCmpScale(10), "dBu", 7, false, ui::Alignment::Right);
  LblCmpScale(10).SetBackColor(ui::kBlack);
}

void FrmKVRxxxA::LayoutGraph() {
  Place(FrameGraph, &FramePage(0), 0, layout::kGraphTop, layout::kGraphWidth, layout::kGraphHeight);
  constexpr int kPicLeft = 480, kPicTop = 240, kPicWidth = 12600, kPicHeight = 2880;
  Place(Picture1, &FrameGraph, kPicLeft, kPicTop, kPicWidth, kPicHeight);
  Picture1.SetScale(kPicWidth, kPicHeight);
  Picture1.SetBackColor(ui::kBlack);
  for (int i = 0; i < static_cast<int>(kFreqCaptions.size()); ++i) {
    Place(LblFreqGraph(i), &FrameGraph, kEditGraphLabels.freq_left[i], kPicTop + kPicHeight + 60,
          600, 220);
    SetLabel(LblFreqGraph(i), kFreqCaptions[i], 7);
  }
  for (int k = 0; k < static_cast<int>(kGainCaptions.size()); ++k) {
    const int top = kEditGraphLabels.gain_top[k];
    Place(LblAmpGraph(k), &FrameGraph, 40, top, 400, 220);
    SetLabel(LblAmpGraph(k), kGainCaptions[k], 7, false, ui::Alignment::Right);
    Place(LblAmpGraph(k + 10), &FrameGraph, kPicLeft + kPicWidth + 40, top, 400, 220);
    SetLabel(LblAmpGraph(k + 10), kGainCaptions[k], 7);
  }
  // Band cursors: "1".."13" on an input page, "1".."11" on an output page.
  for (auto& [i, cursor] : Label5) {
    Place(cursor, &Picture1, 0, 0, 120, 120);
    SetLabel(cursor, std::to_string(EditControls::BandNumberOfElement(i) + 1), 5, false,
             ui::Alignment::Center);
    cursor.SetVisible(false);
  }
  Place(LblFreqGain, &Picture1, 120, 60, 3600, 240);
  SetLabel(LblFreqGain, "", 8);
  LblFreqGain.SetVisible(false);

  // Right of the graph: the cursor switch and the response overview.
  constexpr int kSideLeft = layout::kGraphWidth + 40, kSideWidth = 1540;
  Place(LblShowCursor, &FramePage(0), kSideLeft, layout::kGraphTop + 60, kSideWidth, 300);
  SetLabel(LblShowCursor, "Cursor", 9, true, ui::Alignment::Center);
  Place(ImgViewAll, &FramePage(0), kSideLeft + 320, layout::kGraphTop + 600, 900, 700);
  ImgViewAll.SetPicture(pic::kToolView);
  Place(LblViewAll, &FramePage(0), kSideLeft, layout::kGraphTop + 1340, kSideWidth, 280);
  SetLabel(LblViewAll, "View All", 8, false, ui::Alignment::Center);
}

}  // namespace velmark

#include "views/frm_view_graph.h"

#include <algorithm>
#include <cmath>

#include "channels/names.h"
#include "model/number_text.h"

namespace velmark {
namespace {

constexpr int kPicLeft = 480, kPicTop = 240, kPicWidth = 12600, kPicHeight = 5760;
// Frequency captions need room for "10 kHz" on one line; gain captions sit beside the picture.
constexpr int kFreqLabelWidth = 900, kAxisLabelWidth = 400, kAxisLabelHeight = 220;
constexpr int kColumnWidth = 1590, kChoiceWidth = 1470, kChoiceHeight = 285;
constexpr int kCheckTop = kPicTop + kPicHeight + 420;
constexpr int kOptionTop = kCheckTop + 420, kOptionStep = 300;
constexpr double kLowHz = 20, kDecades = 3, kDbRange = 60;

// Never undefined, unlike std::clamp, whatever the bounds.
double Bound(double v, double lo, double hi) {
  return std::min(std::max(v, lo), hi);
}

double RoundTenth(double v) {
  return RoundHalfEven(v * 10) / 10;
}

void SetAxisLabel(ui::Label& label, int left, int top, const char* caption, ui::Alignment align,
                  int width = kAxisLabelWidth) {
  label.Move(left, top, width, kAxisLabelHeight);
  label.SetCaption(caption);
  label.SetFont(7, false);
  label.SetAlignment(align);
}

// Black on the light channel colours, white on the dark ones (the blues), so every name reads.
ui::Colour TextColourOn(ui::Colour back) {
  const int r = back & 0xFF, g = (back >> 8) & 0xFF, b = (back >> 16) & 0xFF;
  return 299 * r + 587 * g + 114 * b < 128000 ? ui::kWhite : ui::kBlack;
}

}  // namespace

Curve OverviewCurve(const UnitResponses& responses, int ch, int added_input) {
  Curve v = responses.ChannelResponse[ch];
  if (ch < kInputCount || added_input < 0 || added_input >= kInputCount) return v;
  const Curve& input = responses.ChannelResponse[added_input];
  for (int p = 0; p < kGridPoints; ++p) v[p] += input[p];
  return v;
}

std::string OverviewReadout(double x, double y, double width, double height, bool decimal_comma) {
  if (!(width > 0) || !(height > 0)) return {};
  y = Bound(y, 0, height);
  x = Bound(x, 0, width);
  const double gain = RoundTenth((height / 2 - y) / (height / kDbRange));
  const double freq = RoundTenth(kLowHz * std::pow(10.0, x / (width / kDecades)));
  return NumberText(gain, decimal_comma) + "dB; " + NumberText(freq, decimal_comma) + "Hz";
}

FrmViewGraph::FrmViewGraph(Core& core) : Window(core.ui, "FrmViewGraph"), core_(core) {
  SetCaption(kViewGraphTitle);
  LayOut();
  WireEvents();
}

void FrmViewGraph::LayOut() {
  SetClientSize(kPicLeft + kPicWidth + 40 + kAxisLabelWidth + 120,
                kOptionTop + kOptionsPerOutput * kOptionStep + 120);
  LayOutGraph();
  LayOutChoices();
  Register("Picture1", Picture1);
  Register("LblFreqGain", LblFreqGain);
  Register("LblFreqGraph", LblFreqGraph);
  Register("LblAmpGraph", LblAmpGraph);
  Register("CheckView", CheckView);
  Register("Option1", Option1);
}

void FrmViewGraph::LayOutGraph() {
  Picture1.Move(kPicLeft, kPicTop, kPicWidth, kPicHeight);
  Picture1.SetScale(kPicWidth, kPicHeight);
  Picture1.SetBackColor(ui::kBlack);
  LblFreqGain.SetContainer(&Picture1);
  LblFreqGain.Move(120, 60, 3600, 240);
  LblFreqGain.SetFont(8, false);
  LblFreqGain.SetBackColor(ui::kBlack);
  LblFreqGain.SetForeColor(ui::kWhite);
  LblFreqGain.SetVisible(false);
  const GraphLabelLayout& at = kOverviewGraphLabels;
  for (int i = 0; i < static_cast<int>(kGraphFreqCaptions.size()); ++i) {
    SetAxisLabel(LblFreqGraph.Add(i), at.freq_left[i], kPicTop + kPicHeight + 60,
                 kGraphFreqCaptions[i], ui::Alignment::Left, kFreqLabelWidth);
  }
  for (int k = 0; k < static_cast<int>(kGraphGainCaptions.size()); ++k) {
    SetAxisLabel(LblAmpGraph.Add(k), 40, at.gain_top[k], kGraphGainCaptions[k],
                 ui::Alignment::Right);
    SetAxisLabel(LblAmpGraph.Add(k + 10), kPicLeft + kPicWidth + 40, at.gain_top[k],
                 kGraphGainCaptions[k], ui::Alignment::Left);
  }
}

// One column per channel: its check box, and under each output its five options.
void FrmViewGraph::LayOutChoices() {
  for (int ch = 0; ch < kChannelCount; ++ch) {
    ui::CheckBox& box = CheckView.Add(ch);
    box.Move(kPicLeft + ch * kColumnWidth, kCheckTop, kChoiceWidth, kChoiceHeight);
    box.SetBackColor(ChannelColour[ch]);
    box.SetForeColor(TextColourOn(ChannelColour[ch]));
  }
  for (int o = 0; o < kOutputCount; ++o) {
    for (int k = 0; k < kOptionsPerOutput; ++k) {
      ui::OptionButton& option = Option1.Add(OptionElement(o, k));
      option.Move(kPicLeft + (kInputCount + o) * kColumnWidth, kOptionTop + k * kOptionStep,
                  kChoiceWidth, kChoiceHeight);
      option.SetGroup(groups_[o]);
    }
    Option1(OptionElement(o, 0)).SetCaption(kNoInputCaption);
  }
}

void FrmViewGraph::WireEvents() {
  for (auto& [i, box] : CheckView) box.OnClick = [this, i = i] { CheckView_Click(i); };
  for (auto& [i, option] : Option1) option.OnClick = [this] { Option1_Click(); };
  Picture1.OnMouseDown = [this](int, int, double x, double y) {
    LblFreqGain.SetVisible(true);
    LblFreqGain.BringToFront();
    ShowReadout(x, y);
    dragging_ = true;
    Picture1.SetPointer(ui::MousePointer::Cross);
  };
  Picture1.OnMouseMove = [this](int, int, double x, double y) {
    if (dragging_) ShowReadout(x, y);
  };
  Picture1.OnMouseUp = [this](int, int, double, double) {
    dragging_ = false;
    LblFreqGain.SetVisible(false);
    Picture1.SetPointer(ui::MousePointer::Default);
  };
}

// Every load starts afresh: all channels shown, no input added, no read-out.
void FrmViewGraph::Form_Load() {
  ProgramState& st = core_.st;
  unit_ = st.CurUnit;
  dragging_ = false;
  Picture1.SetBackColor(ui::kBlack);
  Picture1.SetPointer(ui::MousePointer::Default);
  LblFreqGain.SetVisible(false);
  {
    FlagGuard updating(st.UpdatingControls);
    FillCaptions();
    for (auto& [i, box] : CheckView) box.SetValue(1);
    for (auto& [i, option] : Option1) option.SetEnabled(true);
    for (int o = 0; o < kOutputCount; ++o) Option1(OptionElement(o, 0)).SetValue(true);
  }
  Redraw();
}

void FrmViewGraph::FillCaptions() {
  const bool known = unit_ >= 0 && unit_ < kUnitCount;
  for (int ch = 0; ch < kChannelCount; ++ch) {
    CheckView(ch).SetCaption(known ? NameCaption(core_.st.ChannelNames[unit_][ch]) : "");
  }
  for (int o = 0; o < kOutputCount; ++o) {
    for (int j = 0; j < kInputCount; ++j) {
      Option1(OptionElement(o, 1 + j)).SetCaption("+ " + CheckView(j).Caption());
    }
  }
}

void FrmViewGraph::CheckView_Click(int i) {
  if (core_.st.UpdatingControls) return;
  if (i >= kInputCount) {
    const bool on = CheckView(i).Value() == 1;
    for (int k = 0; k < kOptionsPerOutput; ++k) {
      Option1(OptionElement(i - kInputCount, k)).SetEnabled(on);
    }
  }
  Redraw();
}

void FrmViewGraph::Option1_Click() {
  if (core_.st.UpdatingControls) return;
  Redraw();
}

int FrmViewGraph::AddedInput(int output) const {
  if (output < 0 || output >= kOutputCount) return kNoAddedInput;
  for (int j = 0; j < kInputCount; ++j) {
    if (Option1(OptionElement(output, 1 + j)).Value()) return j;
  }
  return kNoAddedInput;
}

// The axis captions are placed by PlaceGraph, which follows the window's size; the grid
// drawing is handed no labels to move back to their design places.
GraphCanvas FrmViewGraph::Canvas() {
  GraphCanvas canvas;
  canvas.Picture1 = &Picture1;
  canvas.Layout = &kOverviewGraphLabels;
  return canvas;
}

// The picture keeps its scale of 12600 × 5760 units whatever its size, so the grid, the curves
// and the read-out only stretch; the captions move with the lines they name.
void FrmViewGraph::PlaceGraph(int width, int height) {
  Picture1.Move(kPicLeft, kPicTop, width, height);
  const GraphLabelLayout& at = kOverviewGraphLabels;
  const double sx = static_cast<double>(width) / kPicWidth;
  const double sy = static_cast<double>(height) / kPicHeight;
  for (auto& [i, label] : LblFreqGraph) {
    const int design = at.freq_left[static_cast<std::size_t>(i)];
    label.Move(static_cast<int>(kPicLeft + (design - kPicLeft) * sx), kPicTop + height + 60,
               label.Width(), label.Height());
  }
  for (auto& [k, label] : LblAmpGraph) {
    const int design = at.gain_top[static_cast<std::size_t>(k % 10)];
    const int left = k < 10 ? label.Left() : kPicLeft + width + 40;
    label.Move(left, static_cast<int>(kPicTop + (design - kPicTop) * sy), label.Width(),
               label.Height());
  }
  const int check_top = kPicTop + height + (kCheckTop - kPicTop - kPicHeight);
  for (auto& [ch, box] : CheckView) box.SetTop(check_top);
  for (auto& [e, option] : Option1) {
    option.SetTop(check_top + (kOptionTop - kCheckTop) + (e % kOptionsPerOutput) * kOptionStep);
  }
}

void FrmViewGraph::Form_Resize() {
  if (State() == ui::WindowState::Minimized) return;
  const int below = kOptionTop - kPicTop - kPicHeight + kOptionsPerOutput * kOptionStep + 120;
  const int width = std::max(kPicWidth / 2, ClientWidth() - kPicLeft - 160 - kAxisLabelWidth);
  const int height = std::max(kPicHeight / 2, ClientHeight() - kPicTop - below);
  PlaceGraph(width, height);
  Redraw();
}

void FrmViewGraph::Redraw() {
  Picture1.Cls();
  GraphCanvas canvas = Canvas();
  const GraphScale scale = DrawEqGrid(canvas);
  if (unit_ >= 0 && unit_ < kUnitCount) {
    const UnitResponses& responses = core_.st.Responses(unit_);
    for (int ch = 0; ch < kChannelCount; ++ch) {
      if (CheckView(ch).Value() != 1) continue;
      const int added = ch < kInputCount ? kNoAddedInput : AddedInput(ch - kInputCount);
      DrawResponseCurve(Picture1, scale, OverviewCurve(responses, ch, added), ChannelColour[ch]);
    }
  }
  Picture1.Flush();
}

void FrmViewGraph::ShowReadout(double x, double y) {
  LblFreqGain.SetCaption(OverviewReadout(x, y, Picture1.ScaleWidth(), Picture1.ScaleHeight(),
                                         core_.st.DecimalIsComma));
}

}  // namespace velmark

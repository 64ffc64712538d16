#pragma once
// "View All outputs Graph": the stored responses of all eight channels of CurUnit on one taller
// graph, each in its channel colour. Any channel can be hidden, and each output can have the
// response of one input added to its own, which shows the whole path from that input through
// the output. Holding a mouse button on the graph reads out the frequency and gain under the
// pointer. Nothing is recomputed here: the window only reads ChannelResponse.

#include <string>

#include "commands/core.h"
#include "model/responses.h"
#include "model/tables.h"
#include "ui/control_array.h"
#include "ui/controls.h"
#include "ui/window.h"
#include "views/channel_graph.h"

namespace velmark {

inline constexpr const char* kViewGraphTitle = "View All outputs Graph";
inline constexpr const char* kNoInputCaption = "No Input";
inline constexpr int kOptionsPerOutput = 5;  // "No Input", then "+ " and the name of input A..D
inline constexpr int kNoAddedInput = -1;
inline constexpr int kOutputCount = kChannelCount - kInputCount;

// Option1 element of output o (0..3): k = 0 "No Input", k = 1 + j adds input j.
constexpr int OptionElement(int output, int k) {
  return kOptionsPerOutput * output + k;
}

// The curve the overview draws for channel ch: its own response, plus that of input
// `added_input` (0..3) when one is given. Inputs never get one added.
Curve OverviewCurve(const UnitResponses& responses, int ch, int added_input);

// The read-out for a pointer at (x, y) on a W × H picture, clamped to the picture: the gain
// (0 dB at H / 2, H / 60 units per dB) and the frequency (20 Hz .. 20 kHz over W, 3 decades),
// each rounded to one decimal, as "-3.5dB; 1000Hz". Empty for a picture without a size.
std::string OverviewReadout(double x, double y, double width, double height, bool decimal_comma);

class FrmViewGraph : public ui::Window {
 public:
  explicit FrmViewGraph(Core& core);

  ui::PictureBox Picture1;                     // the graph, design size 12600 × 5760
  ui::ControlArray<ui::CheckBox> CheckView;    // 0..7: the channel is drawn
  ui::ControlArray<ui::OptionButton> Option1;  // 0..19: five per output
  ui::Label LblFreqGain;                       // the read-out while a button is held
  ui::ControlArray<ui::Label> LblFreqGraph;    // 0..4 "20Hz" … "20 kHz"
  ui::ControlArray<ui::Label> LblAmpGraph;     // 0..6 and 10..16 "+30" … "-30"

  // The input (0..3) whose response is added to output o (0..3), or kNoAddedInput.
  int AddedInput(int output) const;
  // Clears the picture and draws the grid and every checked channel.
  void Redraw();

 protected:
  void Form_Load() override;
  void Form_Resize() override;

 private:
  void LayOut();
  // The graph at `width` × `height` twips, with its axis captions and the choices below it.
  void PlaceGraph(int width, int height);
  void LayOutGraph();
  void LayOutChoices();
  void WireEvents();
  void FillCaptions();
  void CheckView_Click(int i);
  void Option1_Click();
  void ShowReadout(double x, double y);
  GraphCanvas Canvas();

  Core& core_;
  int unit_ = 0;           // the unit shown, CurUnit when the window loaded
  bool dragging_ = false;  // a mouse button is down on the graph
  ui::OptionGroup groups_[4];
};

}  // namespace velmark

// The drawn knobs of the edit window: where a drag leaves the value, the second run of the
// command, double clicks, a failed packet during a drag, and the noise gate kept on page changes.

#include <gtest/gtest.h>

#include <vector>

#include "edit_window_fixture.h"
#include "views/dynamics_graph.h"

namespace velmark::testing {
namespace {

using Knobs = ui::ControlArray<ui::Image> EditControls::*;
using Sliders = ui::ControlArray<ui::Slider> EditControls::*;
using Texts = ui::ControlArray<ui::TextBox> EditControls::*;
using E = EditControls;
constexpr int kGains = 8, kRouting = 9, kNoCurve = -1;

class SliderHandlersTest : public EditWindowTest {
 protected:
  void SetUp() override { Open(0); }
  FrmKVRxxxA& Page(int tab) {
    windows.Window(0).SetPageTab(tab);
    port.calls.clear();
    return windows.Window(0);
  }
};

// Grabbed 100 units below its top and moved so that the top would reach `top`.
void DragTo(ui::Image& knob, int top) {
  const double y = 100 + (top - knob.Top());
  knob.OnMouseDown(ui::kLeftButton, 0, 20, 100);
  knob.OnMouseMove(ui::kLeftButton, 0, 20, y);
  knob.OnMouseUp(ui::kLeftButton, 0, 20, y);
}

// Another value than `value`, without the change handling, so that the drag changes it.
void SetOtherValueQuietly(ProgramState& st, ui::Slider& slider, int value) {
  FlagGuard quiet(st.UpdatingControls);
  slider.SetValue(value == slider.Max() ? 0 : slider.Max());
}

TEST_F(SliderHandlersTest, KnobDragPicksTheFloorOfItsPositionAndSendsTwice) {
  struct Case {
    int tab;
    Knobs knobs;
    Sliders sliders;
    Texts texts;
    int i, top, value;
    const char* text;
    int curve;  // the transfer curve the drag redraws
  } const cases[] = {
      {kGains, &E::GainSl, &E::Slider1, &E::GainText, 0, 360, 0, "0", kNoCurve},
      {kGains, &E::GainSl, &E::Slider1, &E::GainText, 8, -400, 0, "12", kNoCurve},
      {kGains, &E::GainSl, &E::Slider1, &E::GainText, 5, 1580, 300, "-30", kNoCurve},
      {kGains, &E::GainSl, &E::Slider1, &E::GainText, 9, 4000, 300, "-18", kNoCurve},
      // Value 1 of the gain begins at 364.07, value 16 at 425.07.
      {kGains, &E::GainSl, &E::Slider1, &E::GainText, 2, 364, 0, "0", kNoCurve},
      {kGains, &E::GainSl, &E::Slider1, &E::GainText, 2, 425, 15, "-1.5", kNoCurve},
      {kGains, &E::GainSl, &E::Slider1, &E::GainText, 2, 426, 16, "-1.6", kNoCurve},
      {0, &E::NGSl, &E::SliderNG, &E::NGText, 0, 816, 0, "-50", kNoCurve},
      {0, &E::NGSl, &E::SliderNG, &E::NGText, 0, 817, 1, "-55", kNoCurve},
      {1, &E::CmpSl, &E::SliderCmp, &E::CmpText, 1, 548, 1, "31:1", kDynCompressorInput},
      {4, &E::CmpSl, &E::SliderCmp, &E::CmpText, 11, 2600, 240, "-12", kDynCompressorOutput},
      {5, &E::LimSl, &E::SliderLim, &E::LimText, 5, 530, 0, "900", kDynLimiter},
      {kRouting, &E::SlNoiseLev, &E::SliderNoiseLev, &E::TextNoiseLev, 1, 391, 1, "-1", kNoCurve},
      {0, &E::ImgEQGain, &E::Slider2, &E::TxtEqGain, 3, 739, 0, "15", kNoCurve},
      {0, &E::ImgEQGain, &E::Slider2, &E::TxtEqGain, 3, 740, 1, "14.5", kNoCurve},
      {6, &E::ImgEQGain, &E::Slider2, &E::TxtEqGain, 20, 9999, 60, "-15", kNoCurve},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("tab " + std::to_string(c.tab) + " element " + std::to_string(c.i) + " top " +
                 std::to_string(c.top));
    FrmKVRxxxA& w = Page(c.tab);
    SetOtherValueQuietly(st, (w.*c.sliders)(c.i), c.value);
    DragTo((w.*c.knobs)(c.i), c.top);
    EXPECT_EQ((w.*c.sliders)(c.i).Value(), c.value);
    EXPECT_EQ((w.*c.texts)(c.i).Text(), c.text);
    // Once from the slider's change handling, once from the knob's own second run.
    ASSERT_EQ(port.calls.size(), 2u);
    EXPECT_EQ(port.calls[0].frame, port.calls[1].frame);
    if (c.curve == kNoCurve) continue;
    const std::vector<ui::DrawnLine> drawn = w.PicCmp.DisplayList();
    DrawDynamicsCurve(st, w.PicCmp, c.curve);
    EXPECT_EQ(drawn, w.PicCmp.DisplayList());
  }
}

TEST_F(SliderHandlersTest, DoubleClickSetsZeroDbAndSends) {
  struct Case {
    int tab;
    Knobs knobs;
    Sliders sliders;
    int i, value;
    std::uint8_t command;
  } const cases[] = {
      {kGains, &E::GainSl, &E::Slider1, 2, 0, CmdGain},
      {kGains, &E::GainSl, &E::Slider1, 8, 120, CmdAuxGain},  // 0 dB of −18..+12
      {3, &E::ImgEQGain, &E::Slider2, 4, 30, CmdEqBand},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("element " + std::to_string(c.i));
    FrmKVRxxxA& w = Page(c.tab);
    SetOtherValueQuietly(st, (w.*c.sliders)(c.i), c.value);
    (w.*c.knobs)(c.i).UserDblClick();
    EXPECT_EQ((w.*c.sliders)(c.i).Value(), c.value);
    EXPECT_EQ(CountSent(c.command), 2);
  }
}

TEST_F(SliderHandlersTest, AFailedPacketEndsTheDragWithoutItsSecondRun) {
  ui::Image& knob = Page(kGains).GainSl(0);
  port.responder = [](Frame&) { return SerialStatus::Timeout; };
  hp.messages.Queue(ui::MsgAnswer::Ok);
  knob.OnMouseDown(ui::kLeftButton, 0, 20, 100);
  knob.OnMouseMove(ui::kLeftButton, 0, 20, 400);
  EXPECT_EQ(port.calls.size(), 1u);
  EXPECT_EQ(hp.messages.Shown().size(), 1u);
  // The message took the mouse-up; a later move without the button drags nothing.
  EXPECT_FALSE(st.Dragging);
  knob.OnMouseMove(ui::kNoButton, 0, 20, 900);
  EXPECT_EQ(port.calls.size(), 1u);
}

// The page refresh sets the gate sliders one by one with UpdatingControls held; a gate built
// from partly filled sliders would overwrite the shown input's release and attack.
TEST_F(SliderHandlersTest, ShowingInputPagesKeepsTheirNoiseGates) {
  ParamImage& img = st.DeviceImages[0];
  const std::vector<std::uint8_t> a = {6, 12, 28}, b = {1, 3, 4};
  std::copy(a.begin(), a.end(), img.begin() + GateAddr[0] + 1);
  std::copy(b.begin(), b.end(), img.begin() + GateAddr[1] + 1);
  for (int tab : {0, 1, 0}) Page(tab);
  EXPECT_EQ(std::vector<std::uint8_t>(img.begin() + GateAddr[0] + 1, img.begin() + GateAddr[0] + 4),
            a);
  EXPECT_EQ(std::vector<std::uint8_t>(img.begin() + GateAddr[1] + 1, img.begin() + GateAddr[1] + 4),
            b);
}

}  // namespace
}  // namespace velmark::testing

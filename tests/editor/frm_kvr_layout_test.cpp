// What the binding shows of the edit window: names, containers, geometry and fixed texts.

#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "edit_window_fixture.h"

namespace velmark::testing {
namespace {

class FrmKVRLayoutTest : public EditWindowTest {
 protected:
  FrmKVRxxxA& W() { return windows.Window(0); }
};

TEST_F(FrmKVRLayoutTest, ScenariosFindControlsByNameAndIndex) {
  FrmKVRxxxA& w = W();
  const std::pair<const char*, ui::Control*> named[] = {
      {"FrameIn0", &w.FrameIn0},
      {"FrameCmpView", &w.FrameCmpView},
      {"TextFocus", &w.TextFocus},
      {"CheckNGByp", &w.CheckNGByp},
      {"Picture1", &w.Picture1},
      {"PicCmp", &w.PicCmp},
      {"ShapeEq", &w.ShapeEq},
      {"Timer1", &w.Timer1},
      {"LblShowCursor", &w.LblShowCursor},
      {"ImgMuteON", &w.ImgMuteON},
      {"ProgressBar1", &w.ProgressBar1},
      {"FrameLinkOut", &w.FrameLinkOut},
  };
  for (const auto& [name, control] : named) EXPECT_EQ(w.Find(name), control) << name;
  struct Indexed {
    const char* name;
    int index;
    ui::Control* control;
  };
  const Indexed indexed[] = {
      {"Slider1", 3, &w.Slider1(3)},           {"Slider1", 9, &w.Slider1(9)},
      {"Shape1", 55, &w.Shape1(55)},           {"Label100", 805, &w.Label100(805)},
      {"TxtEqFreq", 23, &w.TxtEqFreq(23)},     {"SliderLim", 4, &w.SliderLim(4)},
      {"CheckFRout", 15, &w.CheckFRout(15)},   {"LblAmpGraph", 16, &w.LblAmpGraph(16)},
      {"ImageBtn", 11, &w.ImageBtn(11)},       {"Option2", 5, &w.Option2(5)},
      {"LblCmpScale", 10, &w.LblCmpScale(10)}, {"FramePage", 2, &w.FramePage(2)},
  };
  for (const Indexed& c : indexed) EXPECT_EQ(w.Find(c.name, c.index), c.control) << c.name;
  EXPECT_EQ(w.Slider1(3).Address(), "FrmKVRxxxA.Slider1(3)");
}

TEST_F(FrmKVRLayoutTest, EveryControlIsRegisteredOnce) {
  std::set<std::pair<std::string, int>> seen;
  std::set<const ui::Control*> controls;
  for (const ui::Control* c : W().Controls()) {
    EXPECT_FALSE(c->Name().empty());
    EXPECT_TRUE(seen.insert({c->Name(), c->Index()}).second) << c->Address();
    EXPECT_TRUE(controls.insert(c).second) << c->Address();
  }
}

// Each control lies inside its container (or the client area), so nothing is cut off.
TEST_F(FrmKVRLayoutTest, ControlsFitInsideTheirContainers) {
  FrmKVRxxxA& w = W();
  for (const ui::Control* c : w.Controls()) {
    if (c->Width() == 0 && c->Height() == 0) continue;  // hidden holders, focus box, timer
    const int width = c->Container() ? c->Container()->Width() : w.ClientWidth();
    const int height = c->Container() ? c->Container()->Height() : w.ClientHeight();
    EXPECT_GE(c->Left(), 0) << c->Address();
    EXPECT_GE(c->Top(), 0) << c->Address();
    EXPECT_LE(c->Left() + c->Width(), width) << c->Address();
    EXPECT_LE(c->Top() + c->Height(), height) << c->Address();
  }
}

TEST_F(FrmKVRLayoutTest, ContainersFollowTheLayouts) {
  FrmKVRxxxA& w = W();
  EXPECT_EQ(w.FrameIn0.Container(), &w.FramePage(0));
  EXPECT_EQ(w.FrameOut.Container(), &w.FramePage(0));
  EXPECT_EQ(w.FrameCmpView.Container(), &w.FramePage(0));
  EXPECT_EQ(w.FrameNG.Container(), &w.FrameIn0);
  EXPECT_EQ(w.FrameLim.Container(), &w.FrameOut);
  EXPECT_EQ(w.FrameHpLp.Container(), &w.FrameOut);
  EXPECT_EQ(w.FrameEq(0).Container(), &w.FrameIn0);
  EXPECT_EQ(w.FrameEq(1).Container(), &w.FrameOut);
  EXPECT_EQ(w.Slider2(5).Container(), &w.FrameEq(0));
  EXPECT_EQ(w.Slider2(20).Container(), &w.FrameEq(1));
  EXPECT_EQ(w.PicCmp.Container(), &w.FrameCmpView);
  EXPECT_EQ(w.Label5(3).Container(), &w.Picture1);
  EXPECT_EQ(w.Shape1(7 * 5 + 2).Container(), &w.FrameMeter(5));
  EXPECT_EQ(w.CheckSRout(6).Container(), &w.FrameRoutIn);
  EXPECT_EQ(w.Label100(304).Container(), &w.FrameBlocks);
  // A bypassed (disabled) section must stay switchable: its box is not inside its frame.
  EXPECT_EQ(w.CheckNGByp.Container(), &w.FrameIn0);
  EXPECT_EQ(w.CheckCmp(1).Container(), &w.FrameOut);
  EXPECT_EQ(w.CheckEqByp(0).Container(), &w.FrameIn0);
  // Link boxes and tool buttons stay outside the pages that the lock disables.
  EXPECT_EQ(w.CheckLinkOut(0).Container(), &w.FrameLinkIn);
  EXPECT_EQ(w.ImageBtn(0).Container(), &w.FrameBar);
}

TEST_F(FrmKVRLayoutTest, KnobsStartAtTheTopOfTheirTracks) {
  FrmKVRxxxA& w = W();
  EXPECT_EQ(w.GainSl(0).Top(), 360);
  EXPECT_EQ(w.SlNoiseLev(1).Top(), 360);
  EXPECT_EQ(w.NGSl(2).Top(), 480);
  EXPECT_EQ(w.CmpSl(11).Top(), 480);
  EXPECT_EQ(w.LimSl(5).Top(), 480);
  EXPECT_EQ(w.ImgEQGain(13).Top(), 720);
  EXPECT_EQ(w.GainSl(4).Picture(), "knob");
  EXPECT_GT(w.GainSl(4).ZOrder(), w.Slider1(4).ZOrder());
}

TEST_F(FrmKVRLayoutTest, OutputBandsStandWhereTheTypeMenuPopsUp) {
  FrmKVRxxxA& w = W();
  for (int k = 0; k < 11; ++k) {
    const ui::Label& type = w.LblEQType(13 + k);
    const int window_left = type.Left() + w.FrameEq(1).Left() + w.FrameOut.Left();
    EXPECT_LE(window_left, 600 * k + 200);
    EXPECT_GT(window_left + type.Width(), 600 * k + 200);
  }
}

// Texts whose element is computed from its index (tables walked by channel, column or band).
TEST_F(FrmKVRLayoutTest, IndexedTextsLandOnTheirElements) {
  FrmKVRxxxA& w = W();
  EXPECT_EQ(w.ImgNameTab(7).ToolTip(), "View Channel Output 4");
  EXPECT_EQ(w.LblImgNameTab(8).Caption(), "G/D");
  EXPECT_EQ(w.LblBtn(6).Caption(), " Version");
  EXPECT_EQ(w.ImageBtn(11).ToolTip(), "Copy Input(s) channel");
  EXPECT_EQ(w.LblLinkOut(7).Caption(), "  4");
  EXPECT_EQ(w.Option2(5).Caption(), "Noise Generator");
  EXPECT_EQ(w.OptionNoiseLev(3).Caption(), "Pink Noise");
  EXPECT_EQ(w.LblDynParam(17).Caption(), "Ratio [In:Out]");  // output compressor element 7
  EXPECT_EQ(w.LblDynParam(34).Caption(), "Release [sec]");   // limiter element 4
  EXPECT_EQ(w.LblMeterScale(6 * 7 + 5).Caption(), " Clip");
  EXPECT_EQ(w.LblCmpScale(4).Caption(), "+20");  // right end of the input axis
  EXPECT_EQ(w.LblCmpScale(5).Caption(), "+20");  // top of the output axis
  EXPECT_EQ(w.LblCmpScale(5).Top(), 0);
  EXPECT_EQ(w.Label5(12).Caption(), "13");
  EXPECT_EQ(w.Label5(23).Caption(), "11");
  EXPECT_EQ(w.ComboHpLpS(1).ListCount(), 13);
  EXPECT_EQ(w.ShapeEq.ItemCount(), 17);
  EXPECT_EQ(w.Picture1.ScaleWidth(), 12600);
  EXPECT_EQ(w.Picture1.ScaleHeight(), 2880);
  EXPECT_EQ(w.PicCmp.ScaleWidth(), 2880);
}

}  // namespace
}  // namespace velmark::testing

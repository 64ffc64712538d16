// The click-type controls of the edit window's pages: each switch's packet and image byte, the
// UpdatingControls guard, the linked repetitions, "EQ Flat" and the "Filter Type" menu.

#include "editor/switch_handlers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

#include "edit_window_fixture.h"
#include "eqdyn/dynamics_curve.h"

namespace velmark::testing {
namespace {

Frame F(std::uint8_t command, FrameData d) {
  return BuildFrame(0, command, d);
}

class SwitchTest : public EditWindowTest {
 protected:
  SwitchTest() : w(Open(0)) { port.calls.clear(); }

  std::vector<Frame> Sent() const {
    std::vector<Frame> frames;
    for (const TransactCall& c : port.calls) frames.push_back(c.frame);
    return frames;
  }
  void ShowPage(int n) {
    w.ImgNameTab(n).UserClick();
    port.calls.clear();
  }
  ParamImage& Img() { return st.DeviceImages[0]; }
  DeviceSettings& Rec() { return st.DeviceRecords[0]; }

  FrmKVRxxxA& w;
};

struct SwitchCase {
  const char* name;
  int page;
  std::function<void()> click;
  std::optional<Frame> frame;     // the one packet, or none
  std::function<int()> observed;  // the image byte or flag the switch changes
  int expected;
  bool guarded;
};

// Every switch once, from the factory configuration; each case observes its own byte or bit.
std::vector<SwitchCase> SwitchCases(FrmKVRxxxA& w, ParamImage& img, ProgramState& st) {
  auto bit = [&img](int addr, int ch) {
    return [&img, addr, ch] { return MaskBit(img[addr], ch); };
  };
  auto byte = [&img](int addr) { return [&img, addr] { return int{img[addr]}; }; };
  return {
      {"noise gate bypass off", 0, [&] { w.CheckNGByp.UserClick(); },
       F(CmdNoiseGate, {0, 0, 0, 0, 0, 0, 2, 2}), byte(GateAddr[0]), 0, true},
      {"input compressor on", 0, [&] { w.CheckCmp(0).UserClick(); },
       F(CmdCompressor, {0, 0, 0, 0, 0, 0, 0, 0}), bit(CompBypassMaskAddr, 0), 0, true},
      {"output compressor on", 4, [&] { w.CheckCmp(1).UserClick(); },
       F(CmdCompressor, {4, 0, 0, 0, 0, 0, 0, 0}), bit(CompBypassMaskAddr, 4), 0, true},
      {"limiter on", 4, [&] { w.CheckLimByp.UserClick(); }, F(CmdLimiter, {4, 0, 0, 0, 0, 0, 0, 0}),
       bit(LimBypassMaskAddr, 4), 0, true},
      {"input EQ bypass", 0, [&] { w.CheckEqByp(0).UserClick(); },
       F(CmdEqBypass, {0, 0, 0, 0, 0, 0, 0, 1}), bit(EqBypassMaskAddr, 0), 1, true},
      {"output EQ bypass", 5, [&] { w.CheckEqByp(1).UserClick(); },
       F(CmdEqBypass, {5, 0, 0, 0, 0, 0, 0, 1}), bit(EqBypassMaskAddr, 5), 1, true},
      // Band 3 of input B (input A's equaliser is bypassed by now): Bell, 80 Hz, Q code 31,
      // 0 dB, now switched off.
      {"band switch", 1, [&] { w.LblEQsByp(3).UserClick(); },
       F(CmdEqBand, {1, 3, 1, 0, 0x00, 0x50, 31, 30}),
       [&img] { return ReadWord(img, EqMaskAddr[1]); }, 0x0008, false},
      {"cursor", 0, [&] { w.LblShowCursor.UserClick(); }, std::nullopt, byte(kShowCursorAddr + 0),
       1, false},
      {"polarity", 8, [&] { w.Check2(3).UserClick(); }, F(CmdPolarity, {3, 0, 0, 0, 0, 0, 0, 1}),
       bit(PolarityMaskAddr, 3), 1, true},
      {"delay unit", 8, [&] { w.Option1(1).UserClick(); },
       F(CmdSystemSetting, {1, 0, 0, 0, 0, 0, 0, 1}), byte(kDelayUnitAddr), 1, true},
      {"mute", 9, [&] { w.ImgMute(2).UserClick(); }, F(CmdMute, {2, 0, 0, 0, 0, 0, 0, 1}),
       bit(MuteMaskAddr, 2), 1, true},
      {"input source", 9, [&] { w.Option2(4).UserClick(); },
       F(CmdInputSource, {1, 0, 0, 0, 0, 0, 0, 1}), byte(InputSourceAddr(1)), 1, true},
      {"noise type", 9, [&] { w.OptionNoiseLev(3).UserClick(); },
       F(CmdNoiseGenerator, {1, 0, 0, 0, 0, 0, 1, 0}), byte(NoiseTypeAddr(1)), 1, true},
      // Out1 is fed by input A; input B joins it.
      {"input routing", 9, [&] { w.CheckSRout(1).UserClick(); },
       F(CmdInputRouting, {4, 1, 0xFF, 0x03, 30, 30, 30, 30}), byte(InRouteAddr[0]), 3, true},
      // Output2 is fed by Out2; Out1 joins it.
      {"output routing", 9, [&] { w.CheckFRout(4).UserClick(); },
       F(CmdOutputRouting, {5, 0, 0xFF, 0x03, 30, 30, 30, 30}), byte(OutRouteAddr[1]), 3, true},
      {"link", 9, [&] { w.CheckLinkOut(5).UserClick(); },
       F(CmdLinkMask, {1, 0, 0, 0, 0, 0, 0, 0x20}), [&st] { return int{st.LinkMask[0]}; }, 0x20,
       true},
  };
}

TEST_F(SwitchTest, EachSwitchSendsItsPacketAndChangesItsByte) {
  for (const SwitchCase& c : SwitchCases(w, Img(), st)) {
    SCOPED_TRACE(c.name);
    ShowPage(c.page);
    c.click();
    std::vector<Frame> expected;
    if (c.frame) expected.push_back(*c.frame);
    EXPECT_EQ(Sent(), expected);
    EXPECT_EQ(c.observed(), c.expected);
  }
  EXPECT_FALSE(st.UpdatingControls);
}

// Page refresh, linking and copying set these controls with UpdatingControls held: the guarded
// handlers must stay out, the labels only a person clicks must not.
TEST_F(SwitchTest, GuardedSwitchesDoNothingWhileTheProgramFillsControls) {
  for (const SwitchCase& c : SwitchCases(w, Img(), st)) {
    SCOPED_TRACE(c.name);
    ShowPage(c.page);
    const int before = c.observed();
    {
      FlagGuard filling(st.UpdatingControls);
      c.click();
    }
    if (c.guarded) {
      EXPECT_TRUE(Sent().empty());
      EXPECT_EQ(c.observed(), before);
    } else {
      EXPECT_EQ(c.observed(), c.expected);
    }
  }
}

TEST_F(SwitchTest, OutputCompressorOnRedrawsItsCurveAndRepeatsOnLinkedOutputs) {
  for (int ch : {4, 5, 7}) st.LinkFlag[0][ch] = 1;
  ShowPage(5);
  w.PicCmp.Cls();
  w.CheckCmp(1).UserClick();
  EXPECT_EQ(Sent(), std::vector<Frame>{F(CmdCompressor, {5, 0, 0, 0, 0, 0, 0, 0})});
  EXPECT_EQ(Img()[CompBypassMaskAddr], 0x4F);  // outputs 1, 2, 4 on; 3 and the inputs bypassed
  EXPECT_EQ(Rec().CompBypass[4], 0);
  EXPECT_EQ(Rec().CompBypass[6], 1);
  EXPECT_EQ(Rec().CompBypass[7], 0);
  const auto& lines = w.PicCmp.DisplayList();
  const auto curve = std::count_if(lines.begin(), lines.end(), [](const ui::DrawnLine& l) {
    return l.colour == ChannelColour[5] && l.width == 2;
  });
  EXPECT_EQ(curve, kCompressorPoints - 1);
}

TEST_F(SwitchTest, MuteOfAMutedOutputUnmutesItAndItsLinkedOutputsLocally) {
  for (int ch : {0, 4, 6}) st.LinkFlag[0][ch] = 1;
  ShowPage(9);
  ASSERT_EQ(Img()[MuteMaskAddr], 0xF0);
  w.ImgMute(6).UserClick();
  EXPECT_EQ(Sent(), std::vector<Frame>{F(CmdMute, {6, 0, 0, 0, 0, 0, 0, 0})});
  EXPECT_EQ(Img()[MuteMaskAddr], 0xA0);
  const std::array<int, 8> mute = {0, 0, 0, 0, 0, 1, 0, 1};
  for (int ch = 0; ch < kChannelCount; ++ch) {
    EXPECT_EQ(Rec().Mute[ch], mute[ch]) << ch;
    EXPECT_EQ(w.ImgMute(ch).Picture(), mute[ch] ? w.ImgMuteON.Picture() : w.ImgMuteOFF.Picture())
        << ch;
  }
}

// The question first; the bands go out under busy pointers on the clicked control, this window
// and the main window, which all get their pointers back afterwards.
TEST_F(SwitchTest, EqFlatSendsEveryBandOfTheChannelAfterYes) {
  struct Case {
    int page;
    bool label;  // LblFlatEQ rather than BtnFlatEQ
    ui::MsgAnswer answer;
    int bands;
  };
  const Case cases[] = {{0, false, ui::MsgAnswer::Yes, 13},
                        {4, true, ui::MsgAnswer::Yes, 11},
                        {4, false, ui::MsgAnswer::No, 0}};
  ui::MousePointer main = ui::MousePointer::Default;
  w.OnMainPointer = [&main](ui::MousePointer p) { main = p; };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.page);
    ShowPage(c.page);
    const int j = c.page < 4 ? 0 : 1;
    ui::Control& clicked = c.label ? static_cast<ui::Control&>(w.LblFlatEQ(j)) : w.BtnFlatEQ(j);
    clicked.SetPointer(ui::MousePointer::Custom);
    bool busy = true;
    port.responder = [&](Frame&) {
      busy = busy && clicked.Pointer() == ui::MousePointer::Busy &&
             w.Pointer() == ui::MousePointer::Busy && main == ui::MousePointer::Busy;
      return SerialStatus::Ok;
    };
    hp.messages.Queue(c.answer);
    c.label ? w.LblFlatEQ(j).UserClick() : w.BtnFlatEQ(j).UserClick();
    EXPECT_EQ(hp.messages.Shown().back().text, "               Are you sure ? ");
    EXPECT_EQ(hp.messages.Shown().back().title, "EQ Flat");
    const auto sent = Sent();
    ASSERT_EQ(static_cast<int>(sent.size()), c.bands);
    for (int k = 0; k < c.bands; ++k) {
      EXPECT_TRUE(sent[k][3] == CmdEqBand && sent[k][4] == c.page && sent[k][5] == k &&
                  sent[k][11] == 30)
          << k;
    }
    EXPECT_TRUE(busy);
    EXPECT_EQ(clicked.Pointer(), ui::MousePointer::Custom);
    EXPECT_EQ(w.Pointer(), ui::MousePointer::Default);
    EXPECT_EQ(main, ui::MousePointer::Default);
  }
}

TEST(EqTypeMenuPoint, BelowTheBandsColumn) {
  struct Case {
    int element;
    std::optional<MenuPoint> at;
  };
  const Case cases[] = {
      {0, MenuPoint{2400, 1200}}, {1, MenuPoint{3000, 1200}}, {12, MenuPoint{9600, 1200}},
      {13, MenuPoint{200, 1200}}, {14, MenuPoint{800, 1200}}, {23, MenuPoint{6200, 1200}},
      {-1, std::nullopt},         {24, std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(EqTypeMenuPoint(c.element), c.at) << c.element;
}

std::vector<int> CheckedEntries(const ui::Menu& menu) {
  std::vector<int> checked;
  for (int t = 0; t < menu.ItemCount(); ++t) {
    if (menu.ItemAt(t).checked) checked.push_back(t);
  }
  return checked;
}

TEST_F(SwitchTest, FilterTypeMenuChecksTheBandsTypeAndSetsTheChosenOne) {
  struct Case {
    int page, element;
    int current;  // factory type of the band
    int chosen;
    Frame frame;  // the band with its new type; gain reset to 0 dB
  };
  const Case cases[] = {
      {0, 0, 6, 13, F(CmdEqBand, {0, 0, 0, 13, 0x00, 0x64, 46, 30})},   // LoShQ 100 Hz → BP
      {4, 15, 0, 16, F(CmdEqBand, {4, 2, 0, 16, 0x00, 0x50, 31, 30})},  // Bell 80 Hz → AP-2
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.element);
    ShowPage(c.page);
    w.LblEQType(c.element).UserClick();
    EXPECT_EQ(hp.desktop.PoppedMenu(), &w.ShapeEq);
    EXPECT_EQ(w.ShapeEq.ItemCount(), 17);
    EXPECT_EQ(CheckedEntries(w.ShapeEq), std::vector<int>{c.current});
    EXPECT_EQ(w.MenuBand, c.element);
    w.ShapeEq.UserChoose(c.current);
    EXPECT_TRUE(Sent().empty());
    w.ShapeEq.UserChoose(c.chosen);
    EXPECT_EQ(Sent(), std::vector<Frame>{c.frame});
    EXPECT_EQ(Rec().EqType[BandStart[c.page] + EditControls::BandNumberOfElement(c.element)],
              c.chosen);
  }
}
}  // namespace
}  // namespace velmark::testing

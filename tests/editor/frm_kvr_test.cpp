// The edit window's life: opening, the tabs and pages, the block diagram jumps, activation,
// resizing and closing.

#include <gtest/gtest.h>

#include "edit_window_fixture.h"

namespace velmark::testing {
namespace {

constexpr ui::Colour kSilver = 12632256, kOrange = 33023;

class FrmKVRTest : public EditWindowTest {};

void ExpectSelectedTab(FrmKVRxxxA& w, int n) {
  for (int i = 0; i < 10; ++i) {
    SCOPED_TRACE("tab " + std::to_string(i));
    const bool on = i == n;
    EXPECT_EQ(w.ImgNameTab(i).Picture(), on ? "tab-on" : "tab-off");
    EXPECT_EQ(w.LblImgNameTab(i).ForeColor(), on ? kOrange : kSilver);
    EXPECT_EQ(w.LblNameTab(i).ForeColor(), on ? kOrange : kSilver);
  }
}

// The page whose frame is in front of the other two.
int FrontPage(FrmKVRxxxA& w) {
  int front = 0;
  for (int p = 1; p < 3; ++p) {
    if (w.FramePage(p).ZOrder() > w.FramePage(front).ZOrder()) front = p;
  }
  return front;
}

TEST_F(FrmKVRTest, OpeningShowsTheRoutingPageWithItsTabSelected) {
  ASSERT_EQ(st.CurPage[1], kNoPage);
  FrmKVRxxxA& w = Open(1);
  EXPECT_EQ(st.CurPage[1], 9);
  ExpectSelectedTab(w, 9);
  EXPECT_EQ(FrontPage(w), 2);
  EXPECT_EQ(st.CurUnit, 1);
  EXPECT_EQ(st.WindowHandle[1], w.WindowKey());
  EXPECT_NE(w.WindowKey(), kNoWindow);
  EXPECT_TRUE(st.ReportLinkErrors);
  EXPECT_TRUE(st.LinkIdle);
  EXPECT_TRUE(st.ConfigRead[1]);
  EXPECT_FALSE(st.SendSuppressed);
  EXPECT_TRUE(w.FocusParked);
  EXPECT_FALSE(w.ShapeEq.Visible());
  EXPECT_FALSE(w.LblFreqGain.Visible());
  EXPECT_FALSE(w.ProgressBar1.Visible());
  EXPECT_EQ(w.Timer1.Interval(), 2000);
  EXPECT_TRUE(hp.clock.IsScheduled(w.Timer1));
  EXPECT_EQ(w.ClientWidth(), 15180);
  EXPECT_EQ(w.ClientHeight(), 8835);
  EXPECT_TRUE(w.IsMdiChild());
  // Decoding sends nothing but the unit's link mask.
  ASSERT_EQ(port.calls.size(), 1u);
  EXPECT_EQ(port.calls[0].frame[3], CmdLinkMask);
}

TEST_F(FrmKVRTest, CaptionNamesTheBusAndTheLoadedProgram) {
  struct Case {
    int connection;
    int unit, id;
    std::string caption;
  };
  const Case cases[] = {
      {kUsb, 0, 0, "USB  VELMARK  - program loaded: Program Empty   "},
      {kRs485, 1, 7, "ID:07  VELMARK  - program loaded: Program Empty   "},
      {kRs485, 2, 12, "ID:12  VELMARK  - program loaded: Program Empty   "},
  };
  for (const Case& c : cases) {
    st.ConnectionType = c.connection;
    st.DeviceTable[c.unit].Id = c.id;
    EXPECT_EQ(Open(c.unit).Caption(), c.caption);
  }
}

TEST_F(FrmKVRTest, SelectingTheTabOfTheShownPageDoesNothing) {
  FrmKVRxxxA& w = Open(0);
  w.ImgNameTab(2).UserClick();
  ASSERT_EQ(st.CurPage[0], 2);
  const auto lines = w.Picture1.DisplayList();
  ASSERT_FALSE(lines.empty());
  w.TxtEqFreq(0).SetText("999");  // a refresh would rewrite it from the image
  CountingView graph;
  w.Picture1.SetView(&graph);
  w.LblImgNameTab(2).UserClick();
  w.SetPageTab(2);
  EXPECT_EQ(w.TxtEqFreq(0).Text(), "999");
  EXPECT_EQ(w.Picture1.DisplayList(), lines);
  EXPECT_EQ(graph.refreshes, 0);
  w.Picture1.SetView(nullptr);
}

TEST_F(FrmKVRTest, ChannelPagesShowTheirLayoutAndRefreshFromTheImage) {
  FrmKVRxxxA& w = Open(0);
  st.DeviceImages[0][XoverAddr[XoverIndex(6, 1)] + 2] = 7;  // output 3 low-pass "-24dB/oct Lz"
  for (int n : {0, 3, 4, 6, 1, 7}) {
    SCOPED_TRACE("page " + std::to_string(n));
    w.ImgNameTab(n).UserClick();
    const bool input = n < 4;
    EXPECT_EQ(st.CurChannel[0], n);
    EXPECT_EQ(st.CurPage[0], n);
    EXPECT_EQ(FrontPage(w), 0);
    EXPECT_EQ(w.FrameIn0.Visible(), input);
    EXPECT_EQ(w.FrameOut.Visible(), !input);
    EXPECT_TRUE(w.FrameCmpView.Visible());
    ui::Frame& layout = input ? w.FrameIn0 : w.FrameOut;
    EXPECT_GT(w.FrameCmpView.ZOrder(), layout.ZOrder());
    ExpectSelectedTab(w, n);
    // The first band's frequency comes from the image of this channel.
    const int element = input ? 0 : 13;
    EXPECT_EQ(w.TxtEqFreq(element).Text(),
              std::to_string(ReadWord(st.DeviceImages[0], EqBandAddr[BandStart[n]] + 1)));
  }
  w.ImgNameTab(6).UserClick();
  EXPECT_EQ(w.ComboHpLpS(1).ListIndex(), 7);
  w.ImgNameTab(2).UserClick();
  EXPECT_EQ(w.FrameCmpView.Caption(), "RMS Compressor");
  // Refreshing sent nothing beyond the link mask of the opening.
  EXPECT_EQ(port.calls.size(), 1u);
}

TEST_F(FrmKVRTest, GainsAndRoutingPagesComeToTheFront) {
  FrmKVRxxxA& w = Open(0);
  w.ImgNameTab(4).UserClick();
  w.LblImgNameTab(8).UserClick();
  EXPECT_EQ(st.CurPage[0], 8);
  EXPECT_EQ(FrontPage(w), 1);
  EXPECT_EQ(st.CurChannel[0], 4);  // the channel page keeps its channel
  w.ImgNameTab(9).UserClick();
  EXPECT_EQ(st.CurPage[0], 9);
  EXPECT_EQ(FrontPage(w), 2);
  ExpectSelectedTab(w, 9);
}

TEST_F(FrmKVRTest, SwitchingPagesParksTheFocusOnlyWhenItIsElsewhere) {
  FrmKVRxxxA& w = Open(0);
  w.GainText(3).SetFocus();
  EXPECT_FALSE(w.FocusParked);
  w.ImgNameTab(8).UserClick();
  EXPECT_EQ(w.FocusedControl(), &w.TextFocus);
  EXPECT_TRUE(w.FocusParked);
}

TEST_F(FrmKVRTest, BlockDiagramLabelsJumpToThePageThatEditsTheBlock) {
  struct Case {
    int label, page;
  };
  const Case cases[] = {{100, 4}, {101, 4}, {105, 4}, {106, 4}, {102, 8}, {104, 8},
                        {200, 5}, {206, 5}, {203, 8}, {301, 6}, {302, 8}, {405, 7},
                        {404, 8}, {500, 0}, {504, 0}, {505, 0}, {501, 8}, {503, 8},
                        {604, 1}, {602, 8}, {705, 2}, {701, 8}, {800, 3}, {803, 8}};
  FrmKVRxxxA& w = Open(0);
  for (const Case& c : cases) {
    SCOPED_TRACE("Label100(" + std::to_string(c.label) + ")");
    EXPECT_EQ(BlockLabelPage(c.label), c.page);
    w.Label100(c.label).UserClick();
    EXPECT_EQ(st.CurPage[0], c.page);
  }
  for (int none : {-1, 0, 99, 107, 506, 606, 900, 1000}) EXPECT_EQ(BlockLabelPage(none), -1);
}

TEST_F(FrmKVRTest, ActivationMakesTheWindowsUnitCurrent) {
  FrmKVRxxxA& w1 = Open(1);
  FrmKVRxxxA& w2 = Open(2);
  EXPECT_EQ(st.CurUnit, 2);
  w1.Activate();
  EXPECT_EQ(st.CurUnit, 1);
  w2.UserResize(15180, 8835);
  EXPECT_EQ(st.CurUnit, 2);
  // A tab click on a window that is not the current one works on its own unit.
  w1.ImgNameTab(5).UserClick();
  EXPECT_EQ(st.CurUnit, 1);
  EXPECT_EQ(st.CurPage[1], 5);
  EXPECT_EQ(st.CurPage[2], 9);
}

TEST_F(FrmKVRTest, ResizingRestoresTheSizeOnlyWhenBothDimensionsDiffer) {
  struct Case {
    int width, height;
    int want_width, want_height;
  };
  const Case cases[] = {{9000, 6000, 15180, 8835},
                        {15180, 6000, 15180, 6000},
                        {9000, 8835, 9000, 8835},
                        {20000, 9000, 15180, 8835}};
  FrmKVRxxxA& w = Open(0);
  for (const Case& c : cases) {
    w.UserResize(c.width, c.height);
    EXPECT_EQ(w.ClientWidth(), c.want_width);
    EXPECT_EQ(w.ClientHeight(), c.want_height);
  }
  w.SetState(ui::WindowState::Minimized);
  w.UserResize(300, 200);
  EXPECT_EQ(w.ClientWidth(), 300);
}

TEST_F(FrmKVRTest, ClosingAsksAndNoKeepsTheWindow) {
  FrmKVRxxxA& w = Open(1);
  ASSERT_EQ(st.OpenWindowCount, 0);
  hp.messages.Queue(ui::MsgAnswer::No);
  EXPECT_FALSE(w.UserClose());
  ASSERT_EQ(hp.messages.Shown().size(), 1u);
  const ui::ShownMessage& asked = hp.messages.Shown()[0];
  EXPECT_EQ(asked.text, "               Are you sure ? ");
  EXPECT_EQ(asked.title, "Close edit window");
  EXPECT_EQ(asked.buttons, ui::MsgButtons::YesNo);
  EXPECT_TRUE(w.Loaded());
  EXPECT_EQ(st.OpenWindowCount, 0);
  EXPECT_TRUE(st.DeviceTable[1].WindowOpen);

  hp.messages.Queue(ui::MsgAnswer::Yes);
  EXPECT_TRUE(w.UserClose());
  EXPECT_FALSE(w.Loaded());
  EXPECT_EQ(st.OpenWindowCount, -1);
  EXPECT_FALSE(st.DeviceTable[1].WindowOpen);
  EXPECT_EQ(st.WindowHandle[1], kNoWindow);
  EXPECT_FALSE(hp.clock.IsScheduled(w.Timer1));
}

TEST_F(FrmKVRTest, AWindowOfAUnitThatNeedsReconnectingClosesWithoutAsking) {
  FrmKVRxxxA& w = Open(1);
  st.NeedsConnect[1] = true;
  EXPECT_TRUE(w.Unload());
  EXPECT_TRUE(hp.messages.Shown().empty());
  EXPECT_EQ(st.OpenWindowCount, -1);
  EXPECT_FALSE(st.DeviceTable[1].WindowOpen);
  EXPECT_EQ(st.WindowHandle[1], kNoWindow);
}

TEST_F(FrmKVRTest, AReopenedWindowStartsOnTheRoutingPageAgain) {
  FrmKVRxxxA& w = Open(1);
  w.ImgNameTab(3).UserClick();
  hp.messages.Queue(ui::MsgAnswer::Yes);
  ASSERT_TRUE(w.UserClose());
  FrmKVRxxxA& again = Open(1);
  EXPECT_EQ(&again, &w);
  EXPECT_EQ(st.CurPage[1], 9);
  ExpectSelectedTab(w, 9);
  EXPECT_EQ(st.OpenWindowCount, 0);
}

}  // namespace
}  // namespace velmark::testing

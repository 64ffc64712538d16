// The tool bar: UiBusy around every action whatever its outcome, the buttons without an
// action, and the routing page rebuilt after "Set Default".

#include "editor/tool_bar.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "commands/defaults_ops.h"
#include "edit_window_fixture.h"

namespace velmark::testing {
namespace {

constexpr ui::Colour kSilver = 12632256, kOrange = 33023;

class ToolBarTest : public EditWindowTest {
 protected:
  ToolBarTest() : w(Open(0)) { port.calls.clear(); }
  FrmKVRxxxA& w;
};

// The buttons whose windows are not plugged in yet, and "Setup": nothing sent, and the meters
// poll again right afterwards.
TEST_F(ToolBarTest, ButtonsWithoutAnActionSendNothingAndLeaveTheMetersRunning) {
  hp.clock.Advance(kMeterFirstPollMs);
  for (int i : {0, 1, 2, 3, 5, 7, 8, kSetupButton, 11}) {
    SCOPED_TRACE(i);
    port.calls.clear();
    w.ImageBtn(i).UserClick();
    EXPECT_TRUE(port.calls.empty());
    hp.clock.Advance(80);
    EXPECT_EQ(CountSent(CmdStatusPoll), 1);
  }
}

TEST_F(ToolBarTest, VersionRunsWithUiBusyHeldAndReleasesItWhenItThrows) {
  std::vector<bool> busy;
  w.OnShowVersion = [&] { busy.push_back(st.UiBusy); };
  w.ImageBtn(kVersionButton).UserClick();
  EXPECT_EQ(busy, std::vector<bool>{true});
  EXPECT_FALSE(st.UiBusy);
  w.OnShowVersion = [] { throw std::runtime_error("version window failed"); };
  EXPECT_THROW(w.ImageBtn(kVersionButton).UserClick(), std::runtime_error);
  EXPECT_FALSE(st.UiBusy);
}

// Answered No, refused by the unit, or taken from any page: UiBusy is held while packets go out
// and false afterwards. Only a taken default rebuilds the routing page, even the one on show
// (its tab colour, spoiled here, is set again).
TEST_F(ToolBarTest, DefaultRebuildsTheRoutingPageOnlyWhenTaken) {
  struct Case {
    int page;
    ui::MsgAnswer answer;
    bool refused;
  };
  const Case cases[] = {{4, ui::MsgAnswer::No, false},  {4, ui::MsgAnswer::Yes, true},
                        {0, ui::MsgAnswer::Yes, false}, {5, ui::MsgAnswer::Yes, false},
                        {8, ui::MsgAnswer::Yes, false}, {9, ui::MsgAnswer::Yes, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.page);
    w.ImgNameTab(c.page).UserClick();
    w.LblImgNameTab(9).SetForeColor(kSilver);
    port.calls.clear();
    bool busy = true;
    port.responder = [&](Frame& f) {
      busy = busy && st.UiBusy;
      return c.refused && f[3] == CmdSetDefault ? SerialStatus::Timeout : SerialStatus::Ok;
    };
    hp.messages.Queue(c.answer);
    if (c.refused) hp.messages.Queue(ui::MsgAnswer::Ok);  // "Communication problem"
    w.ImageBtn(kDefaultButton).UserClick();
    const bool taken = c.answer == ui::MsgAnswer::Yes && !c.refused;
    EXPECT_EQ(CountSent(CmdSetDefault), c.answer == ui::MsgAnswer::Yes ? 1 : 0);
    EXPECT_TRUE(busy);
    EXPECT_FALSE(st.UiBusy);
    EXPECT_EQ(st.CurPage[0], taken ? 9 : c.page);
    EXPECT_EQ(w.LblImgNameTab(9).ForeColor(), taken ? kOrange : kSilver);
    if (taken) {
      EXPECT_GT(w.FramePage(2).ZOrder(), w.FramePage(c.page < 8 ? 0 : 1).ZOrder());
    }
    st.NeedsConnect[0] = false;  // the refused case marked the unit for reconnecting
  }
}

}  // namespace
}  // namespace velmark::testing

// The level meters: when the window polls, what the status bytes light, and that lamps are
// only written when they change.

#include <gtest/gtest.h>

#include <functional>

#include "edit_window_fixture.h"
#include "editor/level_meters.h"

namespace velmark::testing {
namespace {

constexpr ui::Colour G = kLampGreen, O = kLampOrange, R = kLampRed, Y = kLampYellow, S = kLampOff;

class LevelMetersTest : public EditWindowTest {
 protected:
  std::array<ui::Colour, 7> Ladder(FrmKVRxxxA& w, int c) {
    std::array<ui::Colour, 7> out{};
    for (int k = 0; k < 7; ++k) out[k] = w.Shape1(7 * c + k).FillColor();
    return out;
  }
};

TEST_F(LevelMetersTest, FirstPollAfterTwoSecondsThenEvery80ms) {
  Open(0);
  hp.clock.Advance(1999);
  EXPECT_EQ(CountSent(CmdStatusPoll), 0);
  hp.clock.Advance(1);
  EXPECT_EQ(CountSent(CmdStatusPoll), 1);
  EXPECT_EQ(CountSent(CmdStatusDone), 1);
  hp.clock.Advance(79);
  EXPECT_EQ(CountSent(CmdStatusPoll), 1);
  hp.clock.Advance(1);
  EXPECT_EQ(CountSent(CmdStatusPoll), 2);
  hp.clock.Advance(800);
  EXPECT_EQ(CountSent(CmdStatusPoll), 12);
  EXPECT_EQ(CountSent(CmdStatusDone), 12);
  // Poll and done carry no data.
  for (const TransactCall& c : port.calls) {
    if (c.frame[3] != CmdStatusPoll && c.frame[3] != CmdStatusDone) continue;
    for (int i = 4; i < 12; ++i) EXPECT_EQ(c.frame[i], 0);
  }
}

TEST_F(LevelMetersTest, QuietWhileBusyOrOffLine) {
  struct Case {
    const char* what;
    std::function<void()> set;
    bool keeps_interval;  // the tick still switches to 80 ms
  };
  const Case cases[] = {
      {"UiBusy", [this] { st.UiBusy = true; }, true},
      {"link busy", [this] { st.LinkIdle = false; }, true},
      {"off-line", [this] { st.NeedsConnect[0] = true; }, true},
      {"window closed", [this] { st.DeviceTable[0].WindowOpen = false; }, true},
      {"other unit current", [this] { st.CurUnit = 1; }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FrmKVRxxxA& w = Open(0);
    port.calls.clear();
    c.set();
    hp.clock.Advance(2000 + 80 * 5);
    EXPECT_EQ(CountSent(CmdStatusPoll), 0);
    EXPECT_EQ(w.Timer1.Interval(), c.keeps_interval ? 80 : 2000);
    // Back to normal, the next tick polls.
    st.UiBusy = false;
    st.LinkIdle = true;
    st.NeedsConnect[0] = false;
    st.DeviceTable[0].WindowOpen = true;
    st.CurUnit = 0;
    hp.clock.Advance(2000);
    EXPECT_GT(CountSent(CmdStatusPoll), 0);
    hp.messages.Queue(ui::MsgAnswer::Yes);
    ASSERT_TRUE(w.UserClose());
    st.OpenWindowCount = -1;
  }
}

TEST_F(LevelMetersTest, StatusBytesLightTheLadder) {
  struct Case {
    std::uint8_t status;
    bool muted;
    std::array<ui::Colour, 7> lamps;
  };
  const Case cases[] = {
      {0x7C, false, {G, G, G, G, O, S, S}},  // level 5
      {0x7E, false, {G, G, G, G, O, R, S}},  // level 5 and clip
      {0x78, false, {G, G, G, G, S, S, S}},  // level 4: the orange lamp stays dark
      {0x71, false, {G, G, G, S, S, S, Y}},  // level 3 and dynamics active
      {0x40, false, {G, S, S, S, S, S, S}},  // level 1
      {0x00, false, {S, S, S, S, S, S, S}},
      {0x7F, true, {S, S, S, S, S, R, Y}},  // muted: level 0, clip and indicator still shown
      {0x7C, true, {S, S, S, S, S, S, S}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "status " << int(c.status) << (c.muted ? " muted" : ""));
    FrmKVRxxxA& w = Open(0);
    st.DeviceRecords[0].Mute[5] = c.muted ? 1 : 0;
    status.fill(0);
    status[5] = c.status;
    hp.clock.Advance(2000);
    EXPECT_EQ(Ladder(w, 5), c.lamps);
    EXPECT_EQ(Ladder(w, 4), (std::array<ui::Colour, 7>{S, S, S, S, S, S, S}));
    hp.messages.Queue(ui::MsgAnswer::Yes);
    ASSERT_TRUE(w.UserClose());
    st.OpenWindowCount = -1;
  }
}

TEST_F(LevelMetersTest, AnUnknownLevelPatternKeepsTheLastLevel) {
  FrmKVRxxxA& w = Open(0);
  status[2] = 0x70;  // level 3
  hp.clock.Advance(2000);
  EXPECT_EQ(w.Meters.MeterLevel[2], 3);
  status[2] = 0x44 | 0x02;  // not a level pattern, clip set
  hp.clock.Advance(80);
  EXPECT_EQ(w.Meters.MeterLevel[2], 3);
  EXPECT_TRUE(w.Meters.MeterClip[2]);
  EXPECT_EQ(Ladder(w, 2), (std::array<ui::Colour, 7>{G, G, G, S, S, R, S}));
}

TEST_F(LevelMetersTest, LampsAreOnlyWrittenWhenTheyChange) {
  FrmKVRxxxA& w = Open(0);
  CountingView lamp;
  w.Shape1(7 * 3).SetView(&lamp);
  status[3] = 0x60;
  hp.clock.Advance(2000);
  EXPECT_EQ(lamp.refreshes, 1);
  hp.clock.Advance(80 * 10);  // same level: nothing written
  EXPECT_EQ(lamp.refreshes, 1);
  status[3] = 0x00;
  hp.clock.Advance(80);
  EXPECT_EQ(lamp.refreshes, 2);
  w.Shape1(7 * 3).SetView(nullptr);
}

TEST_F(LevelMetersTest, AFailedPollEndsTheTickWithoutRescheduling) {
  FrmKVRxxxA& w = Open(0);
  fail_polls = true;
  hp.messages.Queue(ui::MsgAnswer::Ok);  // the link failure message
  hp.clock.Advance(2000);
  EXPECT_EQ(CountSent(CmdStatusPoll), 1);
  EXPECT_EQ(CountSent(CmdStatusDone), 0);
  EXPECT_EQ(w.Timer1.Interval(), 2000);
  EXPECT_TRUE(st.NeedsConnect[0]);
  // Marked off-line, the following ticks stay quiet.
  hp.clock.Advance(4000);
  EXPECT_EQ(CountSent(CmdStatusPoll), 1);
}

TEST(MeterStatus, LevelPatterns) {
  const std::pair<int, int> cases[] = {{0x00, 0}, {0x40, 1}, {0x60, 2}, {0x70, 3},  {0x78, 4},
                                       {0x7C, 5}, {0x7F, 5}, {0x83, 0}, {0x20, -1}, {0x74, -1}};
  for (auto [s, level] : cases) {
    EXPECT_EQ(MeterLevelOfStatus(static_cast<std::uint8_t>(s)), level) << s;
  }
}

TEST(MeterLadder, ALevelOutsideTheLadderChangesNothing) {
  EditControls w;
  LevelMeters m;
  m.MeterLevel[0] = 6;
  UpdateMeterLadder(m, w, 0);
  EXPECT_EQ(w.Shape1(4).FillColor(), kLampOrange);
  EXPECT_EQ(w.Shape1(5).FillColor(), kLampRed);
  m.MeterLevel[0] = 7;
  m.MeterClip[0] = false;
  UpdateMeterLadder(m, w, 0);
  EXPECT_EQ(w.Shape1(5).FillColor(), kLampRed);
}

}  // namespace
}  // namespace velmark::testing

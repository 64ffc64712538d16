#include "link/rx_tx.h"

#include <gtest/gtest.h>

#include "support/scripted_port.h"
#include "ui/headless.h"

namespace velmark {
namespace {

using testing::ScriptedPort;

struct RecordingObserver : LinkObserver {
  std::vector<std::pair<int, std::string>> rows;
  std::vector<int> unloaded;
  void WriteDeviceRow(int unit, const std::string& text) override { rows.emplace_back(unit, text); }
  void UnloadEditWindow(int unit) override { unloaded.push_back(unit); }
};

class RxTxTest : public ::testing::Test {
 protected:
  RxTxTest() : rxtx(state, port, messages) {
    rxtx.SetObserver(&observer);
    state.LinkStarted = true;
    state.ComPort = 3;
    state.DeviceTable[0] = {true, false, 0, true};
    state.DeviceTable[1] = {true, false, 7, true};
  }
  ProgramState state;
  ScriptedPort port;
  ui::ScriptedMessageBox messages;
  RecordingObserver observer;
  RxTx rxtx;
};

TEST_F(RxTxTest, SendsNothingAndReportsSuccessWhenTheFlagsSaySo) {
  struct Case {
    const char* what;
    void (*arrange)(ProgramState&);
  };
  const Case cases[] = {
      {"demo mode", [](ProgramState& s) { s.DemoMode = true; }},
      {"link not started", [](ProgramState& s) { s.LinkStarted = false; }},
      {"send suppressed", [](ProgramState& s) { s.SendSuppressed = true; }},
      {"unit off-line", [](ProgramState& s) { s.DeviceTable[0].Online = false; }},
  };
  for (const Case& c : cases) {
    ProgramState fresh;
    fresh.LinkStarted = true;
    fresh.DeviceTable[0] = {true, false, 0, true};
    c.arrange(fresh);
    ScriptedPort p;
    p.responder = ScriptedPort::Answer({1, 2, 3, 4, 5, 6, 7, 8});
    ui::ScriptedMessageBox m;
    RxTx engine(fresh, p, m);
    engine.RxBuffer[4] = 99;
    EXPECT_FALSE(engine.TransmitPacket(0, CmdGain, 3)) << c.what;
    EXPECT_FALSE(engine.ReadBlock(0, CmdReadBlock, 0, 64, 800)) << c.what;
    EXPECT_TRUE(p.calls.empty()) << c.what;
    EXPECT_TRUE(p.opened.empty()) << c.what;
    EXPECT_EQ(engine.RxBuffer[4], 99) << c.what << ": RxBuffer must keep its content";
  }
}

TEST_F(RxTxTest, SuccessfulExchangeCopiesTheReplyAndUsesTheCommandsTimeout) {
  port.responder = ScriptedPort::Answer({1, 2, 3, 4, 5, 6, 7, 8});
  EXPECT_FALSE(rxtx.TransmitPacket(1, CmdReadVersion));
  ASSERT_EQ(port.opened, std::vector<std::string>{"COM3"});
  ASSERT_EQ(port.calls.size(), 1u);
  EXPECT_EQ(port.calls[0].frame[2], 7);  // the unit's ID, not its index
  EXPECT_EQ(port.calls[0].timeout_ms, 10000);
  EXPECT_EQ(port.calls[0].count, 1);
  EXPECT_TRUE(port.calls[0].wait_reply);
  EXPECT_FALSE(port.calls[0].before_block_read);
  for (int i = 4; i <= 11; ++i) EXPECT_EQ(rxtx.Reply(i), i - 3);
  EXPECT_TRUE(state.LinkIdle);
}

TEST_F(RxTxTest, ReleaseGoesToAddressZeroAndNeverFails) {
  port.responder = [](Frame&) { return SerialStatus::Timeout; };
  state.ReportLinkErrors = true;
  EXPECT_FALSE(rxtx.TransmitPacket(1, CmdRelease));
  ASSERT_EQ(port.calls.size(), 1u);
  EXPECT_EQ(port.calls[0].frame[2], 0);
  EXPECT_EQ(port.calls[0].timeout_ms, 300);
  EXPECT_EQ(port.calls[0].count, 0);
  EXPECT_TRUE(messages.Shown().empty());
}

TEST_F(RxTxTest, SilentFailureBeforeTheFirstEditWindowStillReportsFailed) {
  port.responder = ScriptedPort::Answer({9, 9, 9, 9, 9, 9, 9, 9});
  ASSERT_FALSE(rxtx.TransmitPacket(0, CmdPoll));
  port.responder = [](Frame&) { return SerialStatus::Timeout; };
  EXPECT_TRUE(rxtx.TransmitPacket(0, CmdReadMemory, 0, 0, 8));
  EXPECT_TRUE(messages.Shown().empty());
  EXPECT_TRUE(observer.rows.empty());
  EXPECT_TRUE(state.DeviceTable[0].Online);
  EXPECT_FALSE(state.NeedsConnect[0] && state.ConfigRead[0]);
  EXPECT_TRUE(state.LinkIdle);
}

TEST_F(RxTxTest, ReportedFailureWarnsMarksTheRowOfflineAndClosesTheWindow) {
  struct Case {
    int connection;
    int unit;
    const char* row;
  };
  const Case cases[] = {
      {kUsb, 0, "USB -  VELMARK  - Off-line"},
      {kRs485, 1, "ID:07 -  VELMARK  - Off-line"},
  };
  for (const Case& c : cases) {
    messages = ui::ScriptedMessageBox();
    observer = RecordingObserver();
    messages.Queue(ui::MsgAnswer::Ok);
    state.ConnectionType = c.connection;
    state.ReportLinkErrors = true;
    state.ConfigRead[c.unit] = true;
    state.NeedsConnect[c.unit] = false;
    state.DeviceTable[c.unit].WindowOpen = true;
    port.responder = [](Frame&) { return SerialStatus::Timeout; };
    EXPECT_TRUE(rxtx.TransmitPacket(c.unit, CmdMute, 1, 0, 0, 0, 0, 0, 0, 1));
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].text,
              " The system will be close the communication with this device");
    EXPECT_EQ(messages.Shown()[0].title, "Communication problem");
    EXPECT_EQ(messages.Shown()[0].icon, ui::MsgIcon::Exclamation);
    ASSERT_EQ(observer.rows.size(), 1u);
    EXPECT_EQ(observer.rows[0], std::make_pair(c.unit, std::string(c.row)));
    EXPECT_EQ(observer.unloaded, std::vector<int>{c.unit});
    EXPECT_FALSE(state.ConfigRead[c.unit]);
    EXPECT_TRUE(state.NeedsConnect[c.unit]);
    EXPECT_TRUE(state.LinkIdle);
  }
}

TEST_F(RxTxTest, RunTimeErrorInsideTheExchangeIsAFailedExchange) {
  port.throw_in_transact = true;
  state.ReportLinkErrors = true;
  messages.Queue(ui::MsgAnswer::Ok);
  EXPECT_TRUE(rxtx.TransmitPacket(0, CmdGain));
  EXPECT_EQ(messages.Shown().size(), 1u);
  EXPECT_TRUE(state.LinkIdle);
  EXPECT_FALSE(rxtx.PingUnit(0));
}

TEST_F(RxTxTest, PortThatCannotOpenFailsWithoutAMessage) {
  port.open_result = SerialStatus::Permission;
  state.ReportLinkErrors = true;
  EXPECT_TRUE(rxtx.TransmitPacket(0, CmdGain));
  EXPECT_TRUE(rxtx.ReadBlock(0, CmdReadBlock, 0, 0, 48));
  EXPECT_FALSE(rxtx.PingUnit(0));
  EXPECT_TRUE(messages.Shown().empty());
  EXPECT_TRUE(port.calls.empty());
  EXPECT_TRUE(state.DeviceTable[0].Online);
}

TEST_F(RxTxTest, PingNeedsByteElevenToBeFive) {
  for (int byte11 : {5, 4, 0, 255}) {
    port.responder = ScriptedPort::Answer({0, 0, 0, 0, 0, 0, 0, static_cast<std::uint8_t>(byte11)});
    EXPECT_EQ(rxtx.PingUnit(17), byte11 == 5) << byte11;
    EXPECT_EQ(port.calls.back().frame, BuildFrame(17, CmdPing, {}));
    EXPECT_EQ(port.calls.back().timeout_ms, 200);
    EXPECT_EQ(port.calls.back().count, 0);
  }
  port.responder = [](Frame&) { return SerialStatus::Timeout; };
  EXPECT_FALSE(rxtx.PingUnit(3));
}

TEST_F(RxTxTest, ReadBlockSendsTheFrameThenReadsExactlyCountBytes) {
  std::vector<std::uint8_t> block(801);
  for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<std::uint8_t>(i * 7);
  port.blocks.push_back(block);
  EXPECT_FALSE(rxtx.ReadBlock(1, CmdReadBlock, 0, 1792 + 800 * 5, 801));
  ASSERT_EQ(port.calls.size(), 1u);
  const Frame expected = {0xF0, 0x05, 7, 0x19, 0, 0x16, 0xA0, 0x03, 0x21, 0, 0, 0, 0xF7};
  EXPECT_EQ(port.calls[0].frame, expected);
  EXPECT_TRUE(port.calls[0].before_block_read);
  EXPECT_EQ(port.calls[0].timeout_ms, 100);
  EXPECT_TRUE(std::equal(block.begin(), block.end(), rxtx.RxBuffer.begin()));

  EXPECT_TRUE(rxtx.ReadBlock(1, CmdReadBlock, 0, 0, 802));
  EXPECT_TRUE(rxtx.ReadBlock(1, CmdReadBlock, 0, 0, 0));
  EXPECT_EQ(port.calls.size(), 1u) << "an impossible count sends nothing";

  // A block that does not arrive fails silently, even with errors reported.
  state.ReportLinkErrors = true;
  EXPECT_TRUE(rxtx.ReadBlock(1, CmdReadBlock, 0, 0, 48));
  EXPECT_TRUE(messages.Shown().empty());
  EXPECT_TRUE(state.DeviceTable[1].Online);
  EXPECT_TRUE(state.LinkIdle);
}

TEST(SplitAddress, BigEndianBytesOfTheRoundedValue) {
  struct Case {
    double value;
    std::array<std::uint8_t, 4> bytes;
  };
  const Case cases[] = {
      {0, {0, 0, 0, 0}},           {300, {0, 0, 0x01, 0x2C}},
      {20000, {0, 0, 0x4E, 0x20}}, {65535, {0, 0, 0xFF, 0xFF}},
      {2.5, {0, 0, 0, 2}},         {3.5, {0, 0, 0, 4}},
      {340.6, {0, 0, 0x01, 0x55}}, {70000, {0, 0x01, 0x11, 0x70}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitAddress(c.value), c.bytes) << c.value;
}

TEST(QToIndex, WalksTheBellTableAndRoundsTheSteps) {
  struct Case {
    double q;
    int mode;
    int index;
  };
  const Case cases[] = {
      {0.1, 1, 0},   {0.2, 1, 2},  {5.1, 1, 100}, {9.0, 1, 100}, {0.175, 1, 1}, {-3, 1, 0},
      {0.125, 1, 0}, {4, 2, 0},    {104, 2, 100}, {20, 2, 16},   {4.5, 2, 0},   {5.5, 2, 2},
      {1.0, 0, 16},  {0.1, 0, 0},  {0.4, 0, 0},   {128, 0, 100}, {500, 0, 100}, {0.41, 0, 0},
      {0.435, 0, 1}, {0.44, 0, 2}, {12.3, 0, 59}, {2.45, 0, 32}, {99, 0, 95},   {105, 0, 96},
  };
  for (const Case& c : cases)
    EXPECT_EQ(QToIndex(c.q, c.mode), c.index) << c.q << " mode " << c.mode;
}

TEST(TwoDigitText, LeadingZeroBelowTen) {
  EXPECT_EQ(TwoDigitText(0), "00");
  EXPECT_EQ(TwoDigitText(7), "07");
  EXPECT_EQ(TwoDigitText(17), "17");
}

}  // namespace
}  // namespace velmark

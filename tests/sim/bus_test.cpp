// Addressing on the two kinds of line, the in-process port, and the faults tests switch on.

#include <gtest/gtest.h>

#include <vector>

#include "sim/sim_line.h"
#include "sim_test_util.h"

namespace velmark {
namespace {

using simtest::Ask;
using simtest::Data;

const FrameData kMuteA = Data({0, 0, 0, 0, 0, 0, 0, 1});

SimBus TwoUnits() {
  const int ids[] = {3, 17};
  return SimBus::Rs485(ids);
}

TEST(Rs485, EachUnitAnswersOnlyItsOwnId) {
  SimBus bus = TwoUnits();
  for (int id = 0; id <= 40; ++id) {
    const bool present = id == 3 || id == 17;
    const std::optional<FrameData> reply = Ask(bus, id, CmdPing, Data({}));
    EXPECT_EQ(reply.has_value(), present) << "id " << id;
  }
  Ask(bus, 17, CmdMute, kMuteA);
  EXPECT_EQ(bus.Find(17)->Memory().Param(MuteMaskAddr), 0xF1);
  EXPECT_EQ(bus.Find(3)->Memory().Param(MuteMaskAddr), 0xF0);
}

TEST(Rs485, AddressZeroIsActedOnByAllAndAnsweredByNone) {
  SimBus bus = TwoUnits();
  const Delivery d = bus.Deliver(BuildFrame(0, CmdMute, kMuteA));
  EXPECT_FALSE(d.reply.has_value());
  EXPECT_TRUE(d.acted);
  EXPECT_EQ(bus.Find(3)->Memory().Param(MuteMaskAddr), 0xF1);
  EXPECT_EQ(bus.Find(17)->Memory().Param(MuteMaskAddr), 0xF1);
}

TEST(Rs485, InvalidAndRepeatedIdsAreLeftOut) {
  const int ids[] = {0, 3, 3, 33, 32};
  SimBus bus = SimBus::Rs485(ids);
  ASSERT_EQ(bus.Units().size(), 2u);
  EXPECT_EQ(bus.Units()[0].Id(), 3);
  EXPECT_EQ(bus.Units()[1].Id(), 32);
}

TEST(Usb, TheUnitAnswersAddressZeroOnly) {
  SimBus bus = SimBus::Usb();
  EXPECT_EQ(Ask(bus, 0, CmdPing, Data({}))->at(7), 5);
  EXPECT_FALSE(Ask(bus, 3, CmdPing, Data({})).has_value());
  EXPECT_FALSE(Ask(bus, 3, CmdMute, kMuteA).has_value());
  EXPECT_EQ(bus.Units()[0].Memory().Param(MuteMaskAddr), 0xF0);
}

TEST(Bus, MalformedFramesAreIgnored) {
  SimBus bus = SimBus::Usb();
  for (int byte : {0, 1, 12}) {
    Frame frame = BuildFrame(0, CmdMute, kMuteA);
    frame[byte] ^= 0x40;
    const Delivery d = bus.Deliver(frame);
    EXPECT_FALSE(d.reply.has_value()) << "byte " << byte;
    EXPECT_FALSE(d.acted);
  }
  EXPECT_EQ(bus.Units()[0].Memory().Param(MuteMaskAddr), 0xF0);
}

TEST(UnitFaults, StopAnsweringNowAfterNAndMuteOneCommand) {
  SimBus bus = SimBus::Usb();
  SimUnit& unit = bus.Units()[0];
  unit.StopAnsweringAfter(2);
  EXPECT_TRUE(Ask(bus, 0, CmdPing, Data({})).has_value());
  EXPECT_TRUE(Ask(bus, 0, CmdPing, Data({})).has_value());
  EXPECT_FALSE(Ask(bus, 0, CmdMute, kMuteA).has_value());
  EXPECT_EQ(unit.Memory().Param(MuteMaskAddr), 0xF0) << "a stalled unit does not act";
  unit.ResumeAnswering();
  EXPECT_TRUE(Ask(bus, 0, CmdPing, Data({})).has_value());
  unit.StopAnswering();
  EXPECT_FALSE(Ask(bus, 0, CmdPing, Data({})).has_value());
  unit.ResumeAnswering();

  unit.MuteCommand(CmdMute);
  EXPECT_FALSE(Ask(bus, 0, CmdMute, kMuteA).has_value());
  EXPECT_EQ(unit.Memory().Param(MuteMaskAddr), 0xF0);
  EXPECT_TRUE(Ask(bus, 0, CmdPolarity, kMuteA).has_value());
  unit.MuteCommand(CmdMute, false);
  EXPECT_TRUE(Ask(bus, 0, CmdMute, kMuteA).has_value());
  EXPECT_EQ(unit.RequestsHeard(), 8);
}

TEST(LineFaults, TheSameSeedGivesTheSameFaults) {
  auto outcomes = [](std::uint64_t seed) {
    SimBus bus = SimBus::Usb();
    bus.SetFaults({0.3, 0.3, std::nullopt, seed});
    std::vector<int> seen;
    for (int i = 0; i < 200; ++i) {
      const Delivery d = bus.Deliver(BuildFrame(0, CmdPing, Data({})));
      seen.push_back(d.dropped ? -2 : d.garbled_at);
    }
    return seen;
  };
  EXPECT_EQ(outcomes(9), outcomes(9));
  EXPECT_NE(outcomes(9), outcomes(10));
}

TEST(SimLineAsPort, OpensLikeARealPort) {
  SimLine line(SimBus::Usb());
  Frame frame = BuildFrame(0, CmdPing, Data({}));
  EXPECT_FALSE(line.IsOpen());
  EXPECT_EQ(line.Transact(frame, 200, true, false, 0), SerialStatus::Closed);
  EXPECT_EQ(line.Open("ttyS0", 9600), SerialStatus::NotFound);
  line.SetOpenFailure(SerialStatus::Permission);
  EXPECT_EQ(line.Open("COM3", 9600), SerialStatus::Permission);
  EXPECT_FALSE(line.IsOpen());
  EXPECT_FALSE(line.LastErrorText().empty());
  line.SetOpenFailure(SerialStatus::Ok);
  EXPECT_EQ(line.Open("COM3", 9600), SerialStatus::Ok);
  EXPECT_TRUE(line.IsOpen());
  EXPECT_EQ(line.Transact(frame, 200, true, false, 0), SerialStatus::Ok);
  EXPECT_EQ(frame[11], 5);
  line.HangUp();
  EXPECT_EQ(line.Transact(frame, 200, true, false, 0), SerialStatus::Closed);
  EXPECT_EQ(line.Open("COM3", 9600), SerialStatus::Ok);
  EXPECT_EQ(line.Close(), SerialStatus::Ok);
  EXPECT_FALSE(line.IsOpen());
}

TEST(SimLineAsPort, TimeoutWhenNobodyAnswersAndTheRequestKeptUnchanged) {
  const int ids[] = {3};
  SimLine line(SimBus::Rs485(ids));
  ASSERT_EQ(line.Open("COM1", 9600), SerialStatus::Ok);
  const Frame request = BuildFrame(5, CmdPing, Data({}));
  Frame frame = request;
  EXPECT_EQ(line.Transact(frame, 200, true, false, 0), SerialStatus::Timeout);
  EXPECT_EQ(frame, request);
  // Not waiting for a reply is Ok even when nobody answers (the release command).
  frame = BuildFrame(0, CmdRelease, Data({}));
  EXPECT_EQ(line.Transact(frame, 300, false, false, 0), SerialStatus::Ok);
  ASSERT_EQ(line.Sent().size(), 2u);
  EXPECT_EQ(line.Sent()[0], request);
}

TEST(SimLineAsPort, ThousandsOfTransactionsAreQuick) {
  SimLine line(SimBus::Usb());
  ASSERT_EQ(line.Open("COM1", 9600), SerialStatus::Ok);
  for (int i = 0; i < 20000; ++i) {
    Frame frame = BuildFrame(0, CmdGain, Data({i % 8, 0, 0, 0, 0, 0, 1, i & 0xFF}));
    ASSERT_EQ(line.Transact(frame, 3000, true, false, 1), SerialStatus::Ok);
  }
  EXPECT_EQ(line.Unit(0)->Memory().ParamWord(LevelAddr[7]), 256 + (19999 & 0xFF));
}

}  // namespace
}  // namespace velmark

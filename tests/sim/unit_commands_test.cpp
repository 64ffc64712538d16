// Each parameter command's effect on the unit's memory, byte for byte, and its reply. Every case
// starts from a fresh unit; the memory after the command must equal the fresh memory with
// exactly the listed bytes changed.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/sim_bus.h"
#include "sim_test_util.h"

namespace velmark {
namespace {

using simtest::Data;
using simtest::P;

struct Write {
  int addr;  // unit memory address
  std::vector<int> bytes;
};

struct CommandCase {
  std::string name;
  std::uint8_t cmd;
  FrameData data;
  std::vector<Write> writes;  // empty: the memory must not change
};

// Fresh-unit values the cases rely on: mute mask 0xF0, compressor mask 0xFF, limiter mask 0xF0.
const std::vector<CommandCase>& Cases() {
  static const std::vector<CommandCase> cases = {
      {"gain input A", CmdGain, Data({0, 0, 0, 0, 0, 0, 0x00, 0x57}), {{P(0), {0x00, 0x57}}}},
      {"gain output 4", CmdGain, Data({7, 0, 0, 0, 0, 0, 0x01, 0x00}), {{P(624), {0x01, 0x00}}}},
      {"gain channel 8 ignored", CmdGain, Data({8, 0, 0, 0, 0, 0, 0, 0}), {}},
      {"master G", CmdAuxGain, Data({0, 0, 0, 0, 0, 0, 0x01, 0x2C}), {{P(784), {0x01, 0x2C}}}},
      {"master V", CmdAuxGain, Data({4, 0, 0, 0, 0, 0, 0, 0}), {{P(786), {0, 0}}}},
      {"aux slot 2 ignored", CmdAuxGain, Data({2, 0, 0, 0, 0, 0, 0, 0}), {}},
      {"delay output 4",
       CmdDelay,
       Data({7, 0, 0, 0, 0, 0x01, 0x54, 0x60}),
       {{P(621), {0x01, 0x54, 0x60}}}},
      {"delay input B", CmdDelay, Data({1, 0, 0, 0, 0, 0, 12, 50}), {{P(90), {0, 12, 50}}}},
      {"polarity channel 5 on", CmdPolarity, Data({5, 0, 0, 0, 0, 0, 0, 1}), {{P(792), {0x20}}}},
      {"polarity channel 9 ignored", CmdPolarity, Data({9, 0, 0, 0, 0, 0, 0, 1}), {}},
      {"mute input A", CmdMute, Data({0, 0, 0, 0, 0, 0, 0, 1}), {{P(793), {0xF1}}}},
      {"unmute output 1", CmdMute, Data({4, 0, 0, 0, 0, 0, 0, 0}), {{P(793), {0xE0}}}},
      {"low-pass of output 2",
       CmdCrossover,
       Data({5, 1, 0, 0, 0, 0x09, 0xC4, 6}),
       {{P(462), {0x09, 0xC4, 6}}}},
      {"high-pass of output 4",
       CmdCrossover,
       Data({7, 0, 0, 0, 0, 0x4E, 0x20, 12}),
       {{P(635), {0x4E, 0x20, 12}}}},
      {"crossover of an input ignored", CmdCrossover, Data({3, 0, 0, 0, 0, 1, 2, 3}), {}},
      {"crossover filter 2 ignored", CmdCrossover, Data({4, 2, 0, 0, 0, 1, 2, 3}), {}},
      {"input band 12 switched off",
       CmdEqBand,
       Data({0, 12, 1, 3, 0x27, 0x10, 46, 40}),
       {{P(75), {3, 0x27, 0x10, 46, 40}}, {P(80), {0x10, 0x00}}}},
      {"input D band 0 on",
       CmdEqBand,
       Data({3, 0, 0, 0, 0x00, 0x64, 16, 30}),
       {{P(279), {0, 0x00, 0x64, 16, 30}}}},
      {"output 1 band 10 off",
       CmdEqBand,
       Data({4, 10, 1, 0, 0x3E, 0x80, 31, 20}),
       {{P(427), {0, 0x3E, 0x80, 31, 20}}, {P(432), {0x04, 0x00}}}},
      {"output 4 band 7",
       CmdEqBand,
       Data({7, 7, 0, 13, 0x07, 0xD0, 2, 50}),
       {{P(676), {13, 0x07, 0xD0, 2, 50}}}},
      {"output band 11 ignored", CmdEqBand, Data({4, 11, 1, 1, 1, 1, 1, 1}), {}},
      {"input band 13 ignored", CmdEqBand, Data({2, 13, 0, 1, 1, 1, 1, 1}), {}},
      {"EQ bypass input C", CmdEqBypass, Data({2, 0, 0, 0, 0, 0, 0, 1}), {{P(794), {0x04}}}},
      {"compressor output 2 on", CmdCompressor, Data({5, 0, 0, 0, 0, 0, 0, 0}), {{P(795), {0xDF}}}},
      {"compressor output 2 threshold, ratio, knee",
       CmdCompressor,
       Data({5, 1, 0, 0, 0, 50, 7, 40}),
       {{P(450), {50, 7, 40}}}},
      {"compressor input A release, attack",
       CmdCompressor,
       Data({0, 2, 0, 0, 0, 0, 20, 9}),
       {{P(12), {20, 9}}}},
      {"compressor input D make-up",
       CmdCompressor,
       Data({3, 3, 0, 0, 0, 0, 0, 200}),
       {{P(278), {200}}}},
      {"compressor selector 4 ignored", CmdCompressor, Data({3, 4, 0, 0, 0, 1, 2, 3}), {}},
      {"limiter output 3 on", CmdLimiter, Data({6, 0, 0, 0, 0, 0, 0, 0}), {{P(796), {0xB0}}}},
      {"limiter output 4 parameters",
       CmdLimiter,
       Data({7, 0xFF, 0, 0, 0, 75, 20, 30}),
       {{P(632), {75, 20, 30}}}},
      {"limiter of an input ignored", CmdLimiter, Data({1, 0xFF, 0, 0, 0, 75, 20, 30}), {}},
      {"limiter selector 5 ignored", CmdLimiter, Data({4, 5, 0, 0, 0, 75, 20, 30}), {}},
      {"noise gate input B",
       CmdNoiseGate,
       Data({1, 0, 0, 0, 0, 6, 12, 28}),
       {{P(93), {0, 6, 12, 28}}}},
      {"noise gate of an output ignored", CmdNoiseGate, Data({4, 0, 0, 0, 0, 6, 12, 28}), {}},
      {"input routing Out2 fed by B and C",
       CmdInputRouting,
       Data({5, 2, 0xFF, 0x06, 30, 25, 20, 30}),
       {{P(440), {0x06, 30, 25, 20, 30}}}},
      {"input routing row 3 ignored", CmdInputRouting, Data({3, 0, 0xFF, 1, 1, 1, 1, 1}), {}},
      {"input routing column 4 ignored", CmdInputRouting, Data({4, 4, 0xFF, 1, 1, 1, 1, 1}), {}},
      {"output routing Output4",
       CmdOutputRouting,
       Data({7, 0, 0xFF, 0x09, 30, 0, 0, 10}),
       {{P(752), {0x09, 30, 0, 0, 10}}}},
      {"channel name output 3",
       CmdChannelName,
       Data({6, 0, ' ', ' ', 'S', 'u', 'b', ' '}),
       {{P(610), {' ', ' ', 'S', 'u', 'b', ' '}}}},
      {"channel name 8 ignored", CmdChannelName, Data({8, 0, 'x', 'x', 'x', 'x', 'x', 'x'}), {}},
      {"input source C/D digital", CmdInputSource, Data({1, 0, 0, 0, 0, 0, 0, 1}), {{17, {1}}}},
      {"input source pair 2 ignored", CmdInputSource, Data({2, 0, 0, 0, 0, 0, 0, 1}), {}},
      {"noise generator C/D", CmdNoiseGenerator, Data({1, 0, 0, 0, 0, 0, 1, 28}), {{34, {1, 28}}}},
      {"delay unit metres", CmdSystemSetting, Data({1, 0, 0, 0, 0, 0, 0, 1}), {{18, {1}}}},
      {"panel lock", CmdSystemSetting, Data({3, 0, 0, 0, 0, 0, 0, 1}), {{23, {1}}}},
      {"password lock", CmdSystemSetting, Data({4, 0, 0, 0, 0, 0, 0, 1}), {{22, {1}}}},
      {"system selector 2 ignored", CmdSystemSetting, Data({2, 0, 0, 0, 0, 0, 0, 1}), {}},
      {"write program name",
       CmdWriteMemory,
       Data({0x03, 0x40, 4, 0, 'A', 'B', 'C', ' '}),
       {{832, {'A', 'B', 'C', ' '}}}},
      {"write program number", CmdWriteMemory, Data({0x03, 0x5F, 1, 0, 2, 9, 9, 9}), {{863, {2}}}},
      {"write password code", CmdWriteMemory, Data({0, 27, 1, 0, 36, 0, 0, 0}), {{27, {36}}}},
      {"write across 863 refused", CmdWriteMemory, Data({0x03, 0x5E, 4, 0, 1, 2, 3, 4}), {}},
      {"write into a program memory refused",
       CmdWriteMemory,
       Data({0x07, 0x00, 1, 0, 1, 0, 0, 0}),
       {}},
      {"write of 0 bytes ignored", CmdWriteMemory, Data({0, 40, 0, 0, 1, 2, 3, 4}), {}},
      {"write of 5 bytes ignored", CmdWriteMemory, Data({0, 40, 5, 0, 1, 2, 3, 4}), {}},
      {"poll changes nothing", CmdPoll, Data({}), {}},
      {"status done changes nothing", CmdStatusDone, Data({}), {}},
      {"apply image changes nothing", CmdApplyImage, Data({}), {}},
      {"unknown code changes nothing", 0x0F, Data({1, 2, 3, 4, 5, 6, 7, 8}), {}},
  };
  return cases;
}

class CommandEffect : public testing::TestWithParam<CommandCase> {};

TEST_P(CommandEffect, ChangesExactlyTheListedBytesAndEchoes) {
  const CommandCase& c = GetParam();
  SimBus bus = SimBus::Usb();
  std::vector<std::uint8_t> expected = simtest::Snapshot(bus.Units()[0]);
  for (const Write& w : c.writes) {
    for (std::size_t i = 0; i < w.bytes.size(); ++i) {
      expected[w.addr + i] = static_cast<std::uint8_t>(w.bytes[i]);
    }
  }
  const std::optional<FrameData> reply = simtest::Ask(bus, 0, c.cmd, c.data);
  ASSERT_TRUE(reply.has_value());
  EXPECT_EQ(*reply, c.data);
  const std::vector<std::uint8_t> after = simtest::Snapshot(bus.Units()[0]);
  for (std::size_t a = 0; a < after.size(); ++a) {
    ASSERT_EQ(after[a], expected[a]) << "unit address " << a;
  }
}

INSTANTIATE_TEST_SUITE_P(Sim, CommandEffect, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<CommandCase>& info) {
                           std::string name;
                           for (char ch : info.param.name) name += std::isalnum(ch) ? ch : '_';
                           return name;
                         });

TEST(CommandReplies, FrameCarriesTheUnitIdAndTheCommand) {
  const int ids[] = {17};
  SimBus bus = SimBus::Rs485(ids);
  const Delivery d = bus.Deliver(BuildFrame(17, CmdMute, Data({2, 0, 0, 0, 0, 0, 0, 1})));
  ASSERT_TRUE(d.reply.has_value());
  const Frame expected = {0xF0, 0x05, 17, 0x09, 2, 0, 0, 0, 0, 0, 0, 1, 0xF7};
  EXPECT_EQ(*d.reply, expected);
}

TEST(CommandReplies, PingVersionLinkMaskAndMemoryRead) {
  SimBus bus = SimBus::Usb();
  EXPECT_EQ(simtest::Ask(bus, 0, CmdPing, Data({}))->at(7), 5);
  bus.Units()[0].SetVersion({4, 0, 17});
  EXPECT_EQ(*simtest::Ask(bus, 0, CmdReadVersion, Data({})), Data({4, 0, 17}));

  EXPECT_EQ(simtest::Ask(bus, 0, CmdLinkMask, Data({1, 0, 0, 0, 0, 0, 0, 0x21}))->at(7), 0x21);
  EXPECT_EQ(bus.Units()[0].Memory().LinkMask(), 0x21);
  EXPECT_EQ(simtest::Ask(bus, 0, CmdLinkMask, Data({}))->at(7), 0x21);

  EXPECT_EQ(*simtest::Ask(bus, 0, CmdReadMemory, Data({0, 0, 8})),
            Data({' ', 'V', 'E', 'L', 'M', 'A', 'R', 'K'}));
  EXPECT_EQ(*simtest::Ask(bus, 0, CmdReadMemory, Data({0, 8, 8})),
            Data({' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '}));
  // The program name of the default configuration: "Default" at 832.
  EXPECT_EQ(*simtest::Ask(bus, 0, CmdReadMemory, Data({0x03, 0x40, 8})),
            Data({'D', 'e', 'f', 'a', 'u', 'l', 't', ' '}));
  // Fewer bytes than 8 when asked so; nothing past the end of memory.
  EXPECT_EQ(*simtest::Ask(bus, 0, CmdReadMemory, Data({0, 0, 3})), Data({' ', 'V', 'E'}));
  EXPECT_EQ(*simtest::Ask(bus, 0, CmdReadMemory, Data({0xFF, 0xFC, 8})), Data({}));
}

TEST(CommandReplies, ReleaseIsNeverAnswered) {
  SimBus bus = SimBus::Usb();
  const Delivery d = bus.Deliver(BuildFrame(0, CmdRelease, Data({})));
  EXPECT_FALSE(d.reply.has_value());
  EXPECT_TRUE(d.acted);
}

TEST(CommandTable, EveryProgramCommandHasAHandler) {
  for (std::uint8_t code : {CmdPoll,
                            CmdGain,
                            CmdDelay,
                            CmdPolarity,
                            CmdCrossover,
                            CmdEqBand,
                            CmdEqBypass,
                            CmdLimiter,
                            CmdInputRouting,
                            CmdMute,
                            CmdCompressor,
                            CmdStatusPoll,
                            CmdStatusDone,
                            CmdChannelName,
                            CmdApplyImage,
                            CmdReadMemory,
                            CmdWriteMemory,
                            CmdReadBlock,
                            CmdNoiseGate,
                            CmdInputSource,
                            CmdNoiseGenerator,
                            CmdSystemSetting,
                            CmdReadProgramStates,
                            CmdCopyChannel,
                            CmdReadVersion,
                            CmdSetDefault,
                            CmdLinkMask,
                            CmdStoreProgram,
                            CmdAuxGain,
                            CmdOutputRouting,
                            CmdRecallProgram,
                            CmdPing,
                            CmdRelease}) {
    EXPECT_NE(FindHandler(code), nullptr) << "code " << int{code};
  }
  EXPECT_EQ(FindHandler(0x0F), nullptr);
  EXPECT_EQ(FindHandler(0xFF), nullptr);
}

}  // namespace
}  // namespace velmark

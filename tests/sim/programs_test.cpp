// Memory blocks as the program reads them, program store and recall, channel copy and defaults.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "model/defaults.h"
#include "sim/sim_line.h"
#include "sim/sim_random.h"
#include "sim_test_util.h"

namespace velmark {
namespace {

using simtest::Data;
using simtest::P;

class UnitOnLine : public testing::Test {
 protected:
  UnitOnLine() : line_(SimBus::Usb()) { EXPECT_EQ(line_.Open("COM3", 9600), SerialStatus::Ok); }

  FrameData Send(std::uint8_t cmd, const FrameData& d) {
    Frame frame = BuildFrame(0, cmd, d);
    EXPECT_EQ(line_.Transact(frame, 3000, true, false, 1), SerialStatus::Ok);
    return simtest::ReplyData(frame);
  }

  // The block read as the program does it: the frame, then exactly `count` bytes.
  std::vector<std::uint8_t> ReadBlock(int start, int count) {
    Frame frame =
        BuildFrame(0, CmdReadBlock, Data({0, start >> 8, start & 0xFF, count >> 8, count & 0xFF}));
    EXPECT_EQ(line_.Transact(frame, 100, true, true, 0), SerialStatus::Ok);
    std::vector<std::uint8_t> block(count);
    EXPECT_EQ(line_.ReadData(block, 5000, 0), SerialStatus::Ok);
    std::uint8_t extra = 0;
    EXPECT_EQ(line_.ReadData({&extra, 1}, 5000, 0), SerialStatus::Timeout) << "bytes left over";
    return block;
  }

  void WriteName(const std::string& name16) {
    for (int f = 0; f < 16; f += 4) {
      const int a = 832 + f;
      Send(CmdWriteMemory,
           Data({a >> 8, a & 0xFF, 4, 0, name16[f], name16[f + 1], name16[f + 2], name16[f + 3]}));
    }
  }

  UnitMemory& Memory() { return line_.Unit(0)->Memory(); }

  SimLine line_;
};

std::string Text(const std::vector<std::uint8_t>& bytes) {
  return {bytes.begin(), bytes.end()};
}

TEST_F(UnitOnLine, BlocksTheProgramReads) {
  const std::vector<std::uint8_t> system = ReadBlock(0, 48);
  EXPECT_EQ(Text({system.begin(), system.begin() + 16}), " VELMARK        ");
  EXPECT_EQ(system[24], 1);  // password "000000": character code 1 each

  const std::vector<std::uint8_t> params = ReadBlock(64, 800);
  EXPECT_TRUE(std::equal(params.begin(), params.end(), DefaultImage.begin()));

  EXPECT_EQ(Text(ReadBlock(832, 16)), "Default         ");
}

TEST_F(UnitOnLine, StoreStatesRecallRoundTrip) {
  // Store "ABC" as memory 3 (k = 2) the way the program does.
  Send(CmdGain, Data({1, 0, 0, 0, 0, 0, 0x00, 0xC8}));
  WriteName("ABC             ");
  Send(CmdWriteMemory, Data({0x03, 0x5F, 1, 0, 2}));
  Send(CmdStoreProgram, Data({2}));
  const ParamBytes stored = Memory().Params();

  EXPECT_EQ(Send(CmdReadProgramStates, Data({0})), Data({255, 255, 2, 255, 255, 255, 255, 255}));
  EXPECT_EQ(Send(CmdReadProgramStates, Data({24})), Data({255, 255, 255, 255, 255, 255, 255, 255}));
  EXPECT_EQ(Text(ReadBlock(1792 + 800 * 2, 16)), "ABC             ");

  // Change the configuration, then recall memory 3.
  Send(CmdSetDefault, Data({}));
  Send(CmdMute, Data({0, 0, 0, 0, 0, 0, 0, 1}));
  EXPECT_NE(Memory().Params(), stored);
  EXPECT_EQ(Send(CmdRecallProgram, Data({2}))[0], 2);
  const std::vector<std::uint8_t> params = ReadBlock(64, 800);
  EXPECT_TRUE(std::equal(params.begin(), params.end(), stored.begin()));
  EXPECT_EQ(params[799], 2);
  EXPECT_EQ(Text(ReadBlock(832, 16)), "ABC             ");
}

TEST_F(UnitOnLine, EveryMemoryHoldsItsOwnProgram) {
  for (int k = 0; k < kProgramCount; ++k) {
    std::string name = "Prog " + std::to_string(k);
    name.resize(16, ' ');
    WriteName(name);
    Send(CmdGain, Data({0, 0, 0, 0, 0, 0, 0, k}));
    Send(CmdStoreProgram, Data({k}));
  }
  for (int k = kProgramCount - 1; k >= 0; --k) {
    std::string name = "Prog " + std::to_string(k);
    name.resize(16, ' ');
    EXPECT_EQ(Text(ReadBlock(1792 + 800 * k, 16)), name);
    EXPECT_EQ(Send(CmdReadProgramStates, Data({k / 8 * 8}))[k % 8], k);
    Send(CmdRecallProgram, Data({k}));
    EXPECT_EQ(Memory().Param(1), k);
    EXPECT_EQ(Memory().Param(799), k);
  }
}

TEST_F(UnitOnLine, RecallOfAnEmptyMemoryIsRefusedAndChangesNothing) {
  const ParamBytes before = Memory().Params();
  for (int k : {0, 31, 32, 200, 255}) {
    EXPECT_EQ(Send(CmdRecallProgram, Data({k}))[0], 255) << k;
    EXPECT_EQ(Memory().Params(), before);
  }
  Send(CmdStoreProgram, Data({40}));  // no such memory
  EXPECT_EQ(Send(CmdReadProgramStates, Data({0})), Data({255, 255, 255, 255, 255, 255, 255, 255}));
}

TEST_F(UnitOnLine, BadBlockReadsGiveTheFrameAlone) {
  for (const auto& [start, count] : std::vector<std::pair<int, int>>{
           {0, 0}, {0, 802}, {27392 - 10, 16}, {0xFFFF, 1}, {64, 0xFFFF}}) {
    Frame frame =
        BuildFrame(0, CmdReadBlock, Data({0, start >> 8, start & 0xFF, count >> 8, count & 0xFF}));
    EXPECT_EQ(line_.Transact(frame, 100, true, true, 0), SerialStatus::Ok);
    std::uint8_t byte = 0;
    EXPECT_EQ(line_.ReadData({&byte, 1}, 5000, 0), SerialStatus::Timeout) << start << "/" << count;
  }
  EXPECT_EQ(ReadBlock(27392 - 16, 16).size(), 16u);  // the last bytes of memory are readable
  EXPECT_EQ(ReadBlock(0, 801).size(), 801u);
}

TEST_F(UnitOnLine, SetDefaultKeepsTheSystemPage) {
  Send(CmdSystemSetting, Data({1, 0, 0, 0, 0, 0, 0, 1}));
  Send(CmdSystemSetting, Data({3, 0, 0, 0, 0, 0, 0, 1}));
  Send(CmdSystemSetting, Data({4, 0, 0, 0, 0, 0, 0, 1}));
  Send(CmdInputSource, Data({0, 0, 0, 0, 0, 0, 0, 2}));
  Send(CmdNoiseGenerator, Data({1, 0, 0, 0, 0, 0, 1, 33}));
  Send(CmdWriteMemory, Data({0, 24, 4, 0, 11, 12, 13, 14}));
  Send(CmdGain, Data({2, 0, 0, 0, 0, 0, 0, 5}));
  Send(CmdStoreProgram, Data({7}));
  Send(CmdLinkMask, Data({1, 0, 0, 0, 0, 0, 0, 0x0F}));
  const std::vector<std::uint8_t> system_before = ReadBlock(0, 64);

  Send(CmdSetDefault, Data({}));

  EXPECT_EQ(ReadBlock(0, 64), system_before);
  const std::vector<std::uint8_t> params = ReadBlock(64, 800);
  EXPECT_TRUE(std::equal(params.begin(), params.end(), DefaultImage.begin()));
  EXPECT_EQ(Memory().ProgramState(7), 7);
  EXPECT_EQ(Memory().LinkMask(), 0x0F);
}

// The copy, stated as block offsets: an input carries its bytes 0..81 (all but the name), an
// output its bytes 5..81 (all but routing and name); the bits of channel t in the polarity,
// mute, EQ, compressor and (outputs only) limiter bytes follow channel s.
struct CopyCase {
  int s, t;
};

class ChannelCopy : public testing::TestWithParam<CopyCase> {};

TEST_P(ChannelCopy, CarriesExactlyTheProcessingSettings) {
  const auto [s, t] = GetParam();
  SimBus bus = SimBus::Usb();
  UnitMemory& m = bus.Units()[0].Memory();
  SimRandom random(s * 10 + t);
  for (int a = 0; a < 800; ++a) m.Param(a) = static_cast<std::uint8_t>(random.Next());
  const ParamBytes before = m.Params();

  ASSERT_TRUE(simtest::Ask(bus, 0, CmdCopyChannel, Data({s, t})).has_value());

  const bool input = s < 4;
  const int first = input ? 0 : 5, end = 82;
  ParamBytes expected = before;
  for (int off = first; off < end; ++off) expected[88 * t + off] = before[88 * s + off];
  for (int mask = 792; mask <= (input ? 795 : 796); ++mask) {
    const bool on = (before[mask] >> s) & 1;
    expected[mask] = static_cast<std::uint8_t>((before[mask] & ~(1 << t)) | (on << t));
  }
  const ParamBytes after = m.Params();
  for (int a = 0; a < 800; ++a) EXPECT_EQ(after[a], expected[a]) << "image address " << a;
}

INSTANTIATE_TEST_SUITE_P(Sim, ChannelCopy,
                         testing::Values(CopyCase{0, 2}, CopyCase{3, 1}, CopyCase{5, 7},
                                         CopyCase{7, 4}));

TEST(ChannelCopyRefused, MixedOrEqualChannelsChangeNothing) {
  for (const auto& [s, t] :
       std::vector<std::pair<int, int>>{{0, 4}, {6, 1}, {2, 2}, {8, 0}, {1, 9}}) {
    SimBus bus = SimBus::Usb();
    bus.Units()[0].Memory().Param(5) = 0;  // make input A differ from B
    const std::vector<std::uint8_t> before = simtest::Snapshot(bus.Units()[0]);
    ASSERT_TRUE(simtest::Ask(bus, 0, CmdCopyChannel, Data({s, t})).has_value());
    EXPECT_EQ(simtest::Snapshot(bus.Units()[0]), before) << s << "->" << t;
  }
}

}  // namespace
}  // namespace velmark

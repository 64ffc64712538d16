// Block reads against units that answer in different ways: their reply frame and then the
// block, or the block alone; at latencies on both sides of the 100 ms the frame was once given;
// and answers that are a byte off. The bytes read are the unit's bytes, or the read fails.

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <tuple>

#include "link/block_reply.h"
#include "link/posix_serial_port.h"
#include "link/rx_tx.h"
#include "pty_unit.h"
#include "ui/headless.h"

namespace velmark {
namespace {

using namespace std::chrono_literals;
using testing::PtyUnit;

enum class Style { Framed, Bare };

// The unit's memory: no two neighbouring bytes alike, and nothing that starts like a frame.
std::vector<std::uint8_t> Memory(int start, int count) {
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>((start + i) * 31 + 7);
  return bytes;
}

int Word(const Frame& f, int at) {
  return f[at] * 256 + f[at + 1];
}

// What a unit of this style sends for a block request; `mangle` may spoil it.
using Mangle = std::function<void(std::vector<std::uint8_t>&)>;
std::vector<std::uint8_t> Answer(Style style, const Frame& request, const Mangle& mangle = {}) {
  std::vector<std::uint8_t> wire;
  if (style == Style::Framed) wire.assign(request.begin(), request.end());
  const auto block = Memory(Word(request, 5), Word(request, 7));
  wire.insert(wire.end(), block.begin(), block.end());
  if (mangle) mangle(wire);
  return wire;
}

// The program's side: the transaction engine over the real port, unit 0 on-line with ID 0.
struct Program {
  explicit Program(const PtyUnit& unit)
      : port(unit.data_folder(), {machine.path() / "dev", machine.path() / "sys"}),
        link(st, port, hp.messages) {
    st.LinkStarted = true;
    st.ComPort = 3;
    st.DeviceTable[0] = DeviceEntry{true, true, 0, false};
  }
  testing::TempDir machine;
  ProgramState st;
  ui::HeadlessPlatform hp;
  PosixSerialPort port;
  RxTx link;
};

class BlockReadMatrix : public ::testing::TestWithParam<std::tuple<Style, int, int>> {};

TEST_P(BlockReadMatrix, GivesTheUnitsBytesWhateverTheStyleAndLatency) {
  const auto [style, latency_ms, count] = GetParam();
  PtyUnit unit;
  ASSERT_TRUE(unit.ok());
  unit.Serve([style, latency = latency_ms](int, const Frame& request, PtyUnit& u) {
    std::this_thread::sleep_for(std::chrono::milliseconds(latency));
    u.Write(Answer(style, request));
  });
  Program p(unit);
  p.link.RxBuffer.fill(0xEE);
  const int start = 64;
  ASSERT_FALSE(p.link.ReadBlock(0, CmdReadBlock, 0, start, count)) << p.port.LastErrorText();
  const auto expected = Memory(start, count);
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), p.link.RxBuffer.begin()));
  EXPECT_EQ(p.link.RxBuffer[static_cast<std::size_t>(count)], 0xEE) << "nothing past the block";
  // Nothing of the first answer is left over for the next one.
  ASSERT_FALSE(p.link.ReadBlock(0, CmdReadBlock, 0, 1792, 16)) << p.port.LastErrorText();
  const auto name = Memory(1792, 16);
  EXPECT_TRUE(std::equal(name.begin(), name.end(), p.link.RxBuffer.begin()));
}

INSTANTIATE_TEST_SUITE_P(StylesLatenciesSizes, BlockReadMatrix,
                         ::testing::Combine(::testing::Values(Style::Framed, Style::Bare),
                                            ::testing::Values(0, 50, 90, 110, 200, 400),
                                            ::testing::Values(16, 48, 800)));

struct Spoilt {
  const char* what;
  Style style;
  Mangle mangle;
  SerialStatus expected;
};

std::vector<Spoilt> SpoiltAnswers() {
  const auto stray = [](std::vector<std::uint8_t>& w) { w.insert(w.begin(), 0x00); };
  const auto short_by_one = [](std::vector<std::uint8_t>& w) { w.pop_back(); };
  const auto long_by_one = [](std::vector<std::uint8_t>& w) { w.push_back(0x5A); };
  const auto frame_only = [](std::vector<std::uint8_t>& w) { w.resize(kFrameSize); };
  // A bare block whose first 13 bytes have a frame's F0 05 ... F7: it cannot be told from a
  // framed answer 13 bytes short, and is refused rather than taken apart wrongly.
  const auto looks_framed = [](std::vector<std::uint8_t>& w) {
    w[0] = kFrameStart, w[1] = kFrameFixed, w[12] = kFrameEnd;
  };
  return {
      {"stray byte before the frame", Style::Framed, stray, SerialStatus::BadReply},
      {"stray byte before the bare block", Style::Bare, stray, SerialStatus::BadReply},
      {"framed, one byte short", Style::Framed, short_by_one, SerialStatus::Timeout},
      {"bare, one byte short", Style::Bare, short_by_one, SerialStatus::Timeout},
      {"framed, one byte long", Style::Framed, long_by_one, SerialStatus::BadReply},
      {"bare, one byte long", Style::Bare, long_by_one, SerialStatus::BadReply},
      {"the reply frame alone", Style::Framed, frame_only, SerialStatus::Timeout},
      {"bare block that looks framed", Style::Bare, looks_framed, SerialStatus::Timeout},
  };
}

TEST(BlockRead, AnAnswerAByteOffFailsAndTheNextExchangeIsClean) {
  for (const Spoilt& c : SpoiltAnswers()) {
    SCOPED_TRACE(c.what);
    PtyUnit unit;
    ASSERT_TRUE(unit.ok());
    unit.Serve([&c](int, const Frame& request, PtyUnit& u) {
      if (request[3] == CmdReadBlock) {
        u.Write(Answer(c.style, request, c.mangle));
      } else {
        u.Write(testing::Bytes(testing::PingReply()));
      }
    });
    Program p(unit);
    ASSERT_EQ(p.port.Open("COM3", 9600), SerialStatus::Ok) << p.port.LastErrorText();
    Frame request = BuildFrame(0, CmdReadBlock, {0, 0, 64, 0, 48, 0, 0, 0});
    ASSERT_EQ(p.port.Transact(request, 100, true, true, 0), SerialStatus::Ok);
    std::vector<std::uint8_t> block(48, 0xEE);
    EXPECT_EQ(p.port.ReadData(block, 300, 0), c.expected) << p.port.LastErrorText();
    EXPECT_EQ(block, std::vector<std::uint8_t>(48, 0xEE)) << "a failed read leaves the array";
    EXPECT_TRUE(p.link.PingUnit(0)) << "the next answer is not mixed with the spoilt one";
  }
}

TEST(BlockRead, AFramedAnswerMayPauseBetweenFrameAndBlock) {
  PtyUnit unit;
  ASSERT_TRUE(unit.ok());
  unit.Serve([](int, const Frame& request, PtyUnit& u) {
    const auto wire = Answer(Style::Framed, request);
    u.Write({wire.begin(), wire.begin() + kFrameSize});
    std::this_thread::sleep_for(150ms);  // the unit fetches the block from its memory
    u.Write({wire.begin() + kFrameSize, wire.end()});
  });
  Program p(unit);
  ASSERT_FALSE(p.link.ReadBlock(0, CmdReadBlock, 0, 832, 16)) << p.port.LastErrorText();
  const auto expected = Memory(832, 16);
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), p.link.RxBuffer.begin()));
}

TEST(BlockReply, JudgesTheShapeAsTheBytesArrive) {
  const Frame frame = BuildFrame(3, CmdReadBlock, {0, 0, 64, 0, 4, 0, 0, 0});
  const std::vector<std::uint8_t> framed_head(frame.begin(), frame.end());
  struct Case {
    const char* what;
    std::vector<std::uint8_t> bytes;
    BlockVerdict verdict;
    std::vector<std::uint8_t> block;
  };
  auto cat = [](std::vector<std::uint8_t> a, const std::vector<std::uint8_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
  };
  const std::vector<std::uint8_t> body{1, 2, 3, 4};
  const std::vector<Case> cases = {
      {"bare block", body, BlockVerdict::Complete, body},
      {"frame then block", cat(framed_head, body), BlockVerdict::Complete, body},
      {"frame, block on its way", cat(framed_head, {1, 2}), BlockVerdict::NeedMore, {}},
      {"frame start alone", {0xF0, 0x05}, BlockVerdict::NeedMore, {}},
      {"bare block, a byte too many", {1, 2, 3, 4, 5}, BlockVerdict::Failed, {}},
      {"framed, a byte too many", cat(cat(framed_head, body), {9}), BlockVerdict::Failed, {}},
      {"F0 but not a frame", {0xF0, 1, 2, 3}, BlockVerdict::Complete, {0xF0, 1, 2, 3}},
  };
  for (const Case& c : cases) {
    BlockReply reply(4);
    reply.Take(c.bytes);
    EXPECT_EQ(reply.Verdict(), c.verdict) << c.what;
    const auto got = reply.Block();
    EXPECT_EQ(std::vector<std::uint8_t>(got.begin(), got.end()), c.block) << c.what;
  }
}

}  // namespace
}  // namespace velmark

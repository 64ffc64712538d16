// Block reads over the in-process line, as the transaction engine makes them: the unit's own
// bytes whether it answers framed or bare, and a failed read, never a shifted block, when the
// answer has a byte too many or too few.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "link/rx_tx.h"
#include "sim/sim_line.h"
#include "sim_test_util.h"
#include "ui/headless.h"

namespace velmark {
namespace {

using simtest::Data;
using Bytes = std::vector<std::uint8_t>;

constexpr BlockReplyStyle kStyles[] = {BlockReplyStyle::Framed, BlockReplyStyle::Bare};

const char* Name(BlockReplyStyle style) {
  return style == BlockReplyStyle::Bare ? "bare" : "framed";
}

// No two bytes within a frame's length of each other are alike, so a block taken from the wrong
// offset cannot pass for the right one.
SimBus PatternedUnit(BlockReplyStyle style) {
  SimBus bus = SimBus::Usb();
  bus.SetBlockReply(style);
  auto bytes = bus.Units()[0].Memory().MutableBytes();
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
  }
  return bus;
}

Frame BlockRequest(int start, int count) {
  return BuildFrame(0, CmdReadBlock, Data({0, start >> 8, start & 0xFF, count >> 8, count & 0xFF}));
}

// The engine on a simulated line, with the USB unit found.
struct Engine {
  explicit Engine(SimBus bus) : line(std::move(bus)), link(state, line, platform.messages) {
    state.LinkStarted = true;
    state.ComPort = 1;
    state.DeviceTable[0] = DeviceEntry{true, false, 0, true};
  }
  // The block the engine read, or nothing when the read failed. The receive buffer is filled
  // first so that a failed read that still wrote into it shows.
  std::optional<Bytes> Read(int start, int count) {
    link.RxBuffer.fill(0xAA);
    const auto end = link.RxBuffer.begin() + count;
    if (link.ReadBlock(0, CmdReadBlock, 0, start, count)) {
      EXPECT_TRUE(std::all_of(link.RxBuffer.begin(), end, [](auto b) { return b == 0xAA; }));
      return std::nullopt;
    }
    return Bytes(link.RxBuffer.begin(), end);
  }
  Bytes Memory(int start, int count) {
    const auto bytes = line.Unit(0)->Memory().Bytes().subspan(start, count);
    return {bytes.begin(), bytes.end()};
  }

  ui::HeadlessPlatform platform;
  ProgramState state;
  SimLine line;
  RxTx link;
};

TEST(BlockRead, TheEngineGetsTheUnitsOwnBytesFramedOrBare) {
  const struct {
    int start, count;
  } blocks[] = {{0, 16},
                {40, 48},
                {64, 800},
                {100, 801},
                {850, 48},
                {ProgramMemoryAddr(31), 800},
                {kUnitMemorySize - 16, 16}};
  for (BlockReplyStyle style : kStyles) {
    Engine engine(PatternedUnit(style));
    for (const auto& b : blocks) {
      SCOPED_TRACE(std::string(Name(style)) + " block of " + std::to_string(b.count) + " at " +
                   std::to_string(b.start));
      EXPECT_EQ(engine.Read(b.start, b.count), engine.Memory(b.start, b.count));
      EXPECT_EQ(engine.line.Sent().back(), BlockRequest(b.start, b.count));
    }
  }
}

TEST(BlockRead, AnAnswerThatDoesNotFitFailsTheRead) {
  const std::function<void(Bytes&)> stray_in_front = [](Bytes& w) { w.insert(w.begin(), 0x00); };
  const std::function<void(Bytes&)> one_short = [](Bytes& w) { w.pop_back(); };
  const std::function<void(Bytes&)> one_long = [](Bytes& w) { w.push_back(0x00); };
  const std::function<void(Bytes&)> frame_only = [](Bytes& w) { w.resize(13); };
  const std::function<void(Bytes&)> nothing = [](Bytes& w) { w.clear(); };
  const struct {
    const char* what;
    BlockReplyStyle style;
    const std::function<void(Bytes&)>& mangle;
    const char* error;
  } cases[] = {
      {"stray byte in front", BlockReplyStyle::Framed, stray_in_front, "62 bytes for 48"},
      {"stray byte in front", BlockReplyStyle::Bare, stray_in_front, "49 bytes for 48"},
      {"one short", BlockReplyStyle::Framed, one_short, "47 came after a reply frame"},
      {"one short", BlockReplyStyle::Bare, one_short, "block of 48 bytes: 47 came"},
      {"one long", BlockReplyStyle::Framed, one_long, "62 bytes for 48"},
      {"one long", BlockReplyStyle::Bare, one_long, "49 bytes for 48"},
      {"the frame alone", BlockReplyStyle::Framed, frame_only, "nothing came after a reply frame"},
      {"no answer", BlockReplyStyle::Bare, nothing, "block of 48 bytes: nothing came"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.what) + ", " + Name(c.style));
    Engine engine(PatternedUnit(c.style));
    engine.line.SetBlockMangler(c.mangle);
    EXPECT_EQ(engine.Read(64, 48), std::nullopt);
    EXPECT_NE(engine.line.LastErrorText().find(c.error), std::string::npos)
        << engine.line.LastErrorText();
    engine.line.SetBlockMangler(nullptr);
    EXPECT_EQ(engine.Read(64, 48), engine.Memory(64, 48)) << "the next read is whole again";
  }
}

TEST(BlockRead, TheRequestGoesOutAloneAndItsAnswerWaitsForOneReadData) {
  for (BlockReplyStyle style : kStyles) {
    SCOPED_TRACE(Name(style));
    SimLine line(PatternedUnit(style));
    ASSERT_EQ(line.Open("COM1", 9600), SerialStatus::Ok);
    Frame frame = BlockRequest(64, 16);
    ASSERT_EQ(line.Transact(frame, 100, true, true, 0), SerialStatus::Ok);
    EXPECT_EQ(frame, BlockRequest(64, 16));
    Bytes block(16);
    EXPECT_EQ(line.ReadData(block, 5000, 0), SerialStatus::Ok);
    EXPECT_EQ(line.ReadData(block, 5000, 0), SerialStatus::Timeout) << "the answer is used up";
    // An answer nobody read is dropped by the next request.
    line.Transact(frame, 100, true, true, 0);
    Frame ping = BuildFrame(0, CmdPing, Data({}));
    ASSERT_EQ(line.Transact(ping, 200, true, false, 0), SerialStatus::Ok);
    EXPECT_EQ(line.ReadData(block, 5000, 0), SerialStatus::Timeout);

    // A block the unit cannot serve gets the frame alone, or with bare blocks no answer.
    const Delivery unserved = line.Bus().Deliver(BlockRequest(kUnitMemorySize - 8, 16));
    EXPECT_EQ(unserved.WireBytes().size(), style == BlockReplyStyle::Bare ? 0u : 13u);
    // Garbling changes exactly one of the bytes that go on the line.
    line.Bus().SetFaults(LineFaults{0.0, 1.0, std::nullopt, 5});
    const std::size_t head = style == BlockReplyStyle::Bare ? 0 : 13;
    for (int i = 0; i < 20; ++i) {
      const Delivery garbled = line.Bus().Deliver(BlockRequest(64 + i, 16));
      const Bytes got = garbled.WireBytes();
      ASSERT_EQ(got.size(), head + 16);
      const auto memory = line.Unit(0)->Memory().Bytes().subspan(64 + i, 16);
      for (std::size_t k = 0; k < 16; ++k) {
        EXPECT_EQ(got[head + k] != memory[k], static_cast<int>(head + k) == garbled.garbled_at);
      }
    }
  }
}

}  // namespace
}  // namespace velmark

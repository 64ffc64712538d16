// The serial line vanishing under the program: the adapter pulled (velmark-sim hangs up its
// pseudo-terminal, or ends) in the middle of a full read, an edit and a preset load, and the
// line back later on the same port name. No hang past the time-outs, exactly one message, and a
// double click in the device list reconnects — with no restart — and reads the unit again.

#include <gtest/gtest.h>

#include "app/frm_search_net.h"
#include "faults/fault_rig.h"
#include "link/rx_tx.h"

namespace velmark::faults {
namespace {

enum class Pull {
  HangUp,      // the simulator hangs up and serves again at once on a new pseudo-terminal
  Unplug,      // the simulator ends during the exchange; a new one starts on the same link later
  SilentSwap,  // the line goes silent (time-out), then the adapter is swapped while idle
  SwapFirst    // the adapter swapped after the connection, before the unit is opened
};

struct Case {
  const char* what;
  Op op;
  Pull pull;
  std::size_t at;   // the operation's exchange (0-based) that meets the pulled line
  bool block_data;  // Unplug: during the block's data rather than before the request
  bool pacing;
  const char* told;  // the one message, or none when the operation goes through
};

class LineVanish : public testing::TestWithParam<Case> {};

// A fault-free run of the preparation: where the operation's exchanges begin.
std::size_t ExchangesBefore(const fs::path& folder, Op op) {
  SimProcess sim(folder, {"--no-pacing"});
  Session dry(folder);
  std::string why;
  EXPECT_TRUE(dry.Prepare(op, why)) << why;
  const std::size_t before = dry.FramesSent();
  sim.Stop();
  fs::remove(folder / "unit.state");
  return before;
}

std::vector<std::string> SimArgs(const Case& c, std::size_t before) {
  std::vector<std::string> args = {c.pacing ? "--latency-ms=2" : "--no-pacing"};
  const std::string n = std::to_string(before + c.at);
  if (c.pull == Pull::HangUp) args.insert(args.end(), {"--hangup-after", n});
  if (c.pull == Pull::SilentSwap) args.insert(args.end(), {"--stall-after", n});
  return args;
}

TEST_P(LineVanish, OneMessageNoHangAndADoubleClickReconnects) {
  const Case& c = GetParam();
  if (!fs::exists(SimBinary())) GTEST_SKIP() << "velmark-sim is not built at " << SimBinary();
  ScratchFolder folder;
  const std::size_t before = ExchangesBefore(folder.Path(), c.op);
  auto sim = std::make_unique<SimProcess>(folder.Path(), SimArgs(c, before));
  ASSERT_TRUE(sim->Ready());
  Session s(folder.Path());
  std::string why;
  ASSERT_TRUE(s.Prepare(c.op, why)) << why;
  ASSERT_EQ(s.FramesSent(), before);
  const auto restart = [&] {
    sim->Stop();
    sim = std::make_unique<SimProcess>(folder.Path(), std::vector<std::string>{"--no-pacing"});
    ASSERT_TRUE(sim->Ready());
  };
  if (c.pull == Pull::SwapFirst) restart();

  std::size_t transacts = 0;
  bool pulled = false;
  if (c.pull == Pull::Unplug) {
    // Exchange `at` of the operation is its Transact number at + 1, a block's data comes after.
    s.BeforeIo = [&](bool block_data) {
      if (!block_data) ++transacts;
      if (pulled || transacts != c.at + 1 || block_data != c.block_data) return;
      pulled = true;
      if (block_data) {
        sim->Pull();  // it ends while the block is on its way
      } else {
        sim->Stop();
      }
    };
  }
  const std::size_t sent = s.FramesSent();
  const auto start = std::chrono::steady_clock::now();
  s.Run(c.op);
  const double elapsed = MsSince(start);
  s.BeforeIo = nullptr;
  EXPECT_EQ(pulled, c.pull == Pull::Unplug);
  const std::vector<Frame> frames = s.FramesSince(sent);
  EXPECT_LE(elapsed, TimeBoundMs(frames, 2)) << "exchanges: " << frames.size();
  if (c.told == nullptr) {
    EXPECT_TRUE(s.MessagesSince(0).empty());
    EXPECT_TRUE(s.WindowOpen());
  } else {
    EXPECT_EQ(s.MessagesSince(0), std::vector<std::string>{c.told});
    EXPECT_TRUE(s.P().State().NeedsConnect[0]);
    EXPECT_NE(s.Row0().find("Off-line"), std::string::npos) << s.Row0();
    EXPECT_FALSE(s.WindowOpen());
    // The line back: the hung-up simulator serves anew by itself; otherwise a new one on the
    // unit's saved memory, on the same link.
    if (c.pull == Pull::HangUp) {
      ASSERT_TRUE(sim->WaitServing());
    } else {
      restart();
    }
    s.DoubleClickRow0();
    EXPECT_TRUE(s.WindowOpen());
    EXPECT_EQ(s.MessagesSince(0).size(), 1u)
        << "the reconnection showed " << s.MessagesSince(0).back();
  }
  ASSERT_TRUE(sim->Stop());
  const UnitSnapshot unit = ReadUnitState(folder.Path() / "unit.state");
  EXPECT_EQ(ImageDifference(s.P().State().DeviceImages[0], unit), "");
}

// clang-format off
const Case kCases[] = {
    {"ReadHangsUp",          Op::Read,       Pull::HangUp,     4,   false, false, kReadIncompleteText},
    {"ReadUnpluggedInBlock", Op::Read,       Pull::Unplug,     1,   true,  true,  kReadIncompleteText},
    {"EditHangsUp",          Op::Edit,       Pull::HangUp,     0,   false, false, kLinkFailureText},
    {"EditUnplugged",        Op::Edit,       Pull::Unplug,     0,   false, false, kLinkFailureText},
    {"PresetHangsUp",        Op::PresetLoad, Pull::HangUp,     100, false, false, kLinkFailureText},
    {"PresetUnplugged",      Op::PresetLoad, Pull::Unplug,     100, false, true,  kLinkFailureText},
    {"EditSilentThenSwapped", Op::Edit,      Pull::SilentSwap, 0,   false, false, kLinkFailureText},
    {"SwappedBeforeOpening", Op::Read,       Pull::SwapFirst,  0,   false, false, nullptr},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Cases, LineVanish, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.what); });

}  // namespace
}  // namespace velmark::faults

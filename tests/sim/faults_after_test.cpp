// --faults-after: the first N requests are carried faithfully, and only then may a request be
// lost or a reply garbled, so that a fault can be aimed at one operation.

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "sim/sim_bus.h"
#include "sim/sim_options.h"

namespace velmark {
namespace {

TEST(FaultsAfter, DropsAndGarblingStartAfterTheGivenRequests) {
  const std::vector<std::string_view> args = {"--drop", "1", "--faults-after", "3"};
  const ParsedOptions parsed = ParseSimOptions(args);
  ASSERT_TRUE(parsed.options) << parsed.error;
  SimBus bus = BuildBus(*parsed.options);
  const Frame ping = BuildFrame(0, CmdPing, FrameData{});
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(bus.Deliver(ping).reply) << i;
  EXPECT_TRUE(bus.Deliver(ping).dropped);

  SimBus garbled = SimBus::Usb();
  garbled.SetFaults(LineFaults{0.0, 1.0, std::nullopt, 1, 2});
  EXPECT_EQ(garbled.Deliver(ping).garbled_at, -1);
  EXPECT_EQ(garbled.Deliver(ping).garbled_at, -1);
  EXPECT_GE(garbled.Deliver(ping).garbled_at, 0);
}

TEST(FaultsAfter, ANegativeCountIsRefused) {
  const std::vector<std::string_view> args = {"--faults-after", "-1"};
  EXPECT_FALSE(ParseSimOptions(args).options);
}

}  // namespace
}  // namespace velmark

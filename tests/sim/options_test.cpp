#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/sim_options.h"

namespace velmark {
namespace {

ParsedOptions Parse(std::vector<std::string_view> args) {
  return ParseSimOptions(args);
}

TEST(SimOptionsParse, DefaultsAreAPacedUsbUnit) {
  const ParsedOptions p = Parse({});
  ASSERT_TRUE(p.options.has_value());
  EXPECT_EQ(p.options->mode, BusMode::Usb);
  EXPECT_TRUE(p.options->pacing);
  EXPECT_EQ(p.options->baud, 9600);
  EXPECT_EQ(p.options->latency_ms, 2);
  EXPECT_EQ(p.options->drop, 0.0);
  EXPECT_EQ(p.options->block_reply, BlockReplyStyle::Framed);
}

TEST(SimOptionsParse, EveryOption) {
  const ParsedOptions p = Parse({"--rs485",
                                 "--ids",
                                 "3,17",
                                 "--link",
                                 "./COM3",
                                 "--state=units.state",
                                 "--log",
                                 "t.log",
                                 "--baud",
                                 "19200",
                                 "--latency-ms",
                                 "0",
                                 "--no-pacing",
                                 "--seed",
                                 "99",
                                 "--drop",
                                 "0.25",
                                 "--garble=0.5",
                                 "--mute-cmd",
                                 "0x12",
                                 "--stall-after",
                                 "10",
                                 "--hangup-after",
                                 "3",
                                 "--input-levels",
                                 "0,-3.5,-10,6",
                                 "--block-reply",
                                 "bare"});
  ASSERT_TRUE(p.options.has_value()) << p.error;
  const SimOptions& o = *p.options;
  EXPECT_EQ(o.mode, BusMode::Rs485);
  EXPECT_EQ(o.ids, (std::vector<int>{3, 17}));
  EXPECT_EQ(o.link, "./COM3");
  EXPECT_EQ(o.state_file, "units.state");
  EXPECT_EQ(o.log_file, "t.log");
  EXPECT_EQ(o.baud, 19200);
  EXPECT_EQ(o.latency_ms, 0);
  EXPECT_FALSE(o.pacing);
  EXPECT_EQ(o.seed, 99u);
  EXPECT_EQ(o.drop, 0.25);
  EXPECT_EQ(o.garble, 0.5);
  EXPECT_EQ(o.mute_cmd, std::optional<std::uint8_t>(0x12));
  EXPECT_EQ(o.stall_after, std::optional<long>(10));
  EXPECT_EQ(o.hangup_after, std::optional<long>(3));
  ASSERT_TRUE(o.input_levels.has_value());
  EXPECT_EQ((*o.input_levels)[1], -3.5);
  EXPECT_EQ(o.block_reply, BlockReplyStyle::Bare);

  const SimBus bus = BuildBus(o);
  ASSERT_EQ(bus.Units().size(), 2u);
  EXPECT_EQ(bus.Faults().drop, 0.25);
  EXPECT_EQ(bus.Units()[1].Id(), 17);
  EXPECT_EQ(bus.BlockReplies(), BlockReplyStyle::Bare);
  EXPECT_EQ(Parse({"--block-reply=framed"}).options->block_reply, BlockReplyStyle::Framed);
}

TEST(SimOptionsParse, Rs485WithoutIdsIsUnitOne) {
  EXPECT_EQ(Parse({"--rs485"}).options->ids, std::vector<int>{1});
}

TEST(SimOptionsParse, MistakesAreExplained) {
  const std::vector<std::vector<std::string_view>> wrong = {{"--bogus"},
                                                            {"--link"},
                                                            {"--ids", "3"},
                                                            {"--rs485", "--ids", "0"},
                                                            {"--rs485", "--ids", "3,3"},
                                                            {"--rs485", "--ids", "3,,4"},
                                                            {"--baud", "fast"},
                                                            {"--baud", "0"},
                                                            {"--drop", "1.5"},
                                                            {"--garble", "-0.1"},
                                                            {"--mute-cmd", "256"},
                                                            {"--mute-cmd", "0xZZ"},
                                                            {"--stall-after", "-1"},
                                                            {"--input-levels", "1,2,3"},
                                                            {"--no-pacing=1"},
                                                            {"--latency-ms", "5000"},
                                                            {"--seed", "x"},
                                                            {"--block-reply", "raw"},
                                                            {"--block-reply", "Bare"},
                                                            {"--block-reply"}};
  for (const auto& args : wrong) {
    const ParsedOptions p = Parse(args);
    EXPECT_FALSE(p.options.has_value()) << args[0];
    EXPECT_FALSE(p.error.empty());
  }
}

TEST(SimOptionsParse, ServingLine) {
  SimOptions usb;
  usb.link = "./COM3";
  EXPECT_EQ(ServingLine(usb, "/dev/pts/5"),
            "velmark-sim: serving USB unit on /dev/pts/5 (link ./COM3)");
  SimOptions bus;
  bus.mode = BusMode::Rs485;
  bus.ids = {3, 17};
  EXPECT_EQ(ServingLine(bus, "/dev/pts/9"),
            "velmark-sim: serving RS-485 units 3, 17 on /dev/pts/9");
  usb.block_reply = BlockReplyStyle::Bare;
  EXPECT_EQ(
      ServingLine(usb, "/dev/pts/5"),
      "velmark-sim: serving USB unit (block reads answered bare) on /dev/pts/5 (link ./COM3)");
}

}  // namespace
}  // namespace velmark

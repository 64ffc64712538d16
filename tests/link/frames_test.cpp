#include "link/frames.h"

#include <gtest/gtest.h>

namespace velmark {
namespace {

TEST(Frames, BuildFrameLaysOutHeaderAddressCommandDataAndEnd) {
  const Frame f = BuildFrame(7, CmdCrossover, {5, 1, 0, 0, 0, 0x09, 0xC4, 6});
  const Frame expected = {0xF0, 0x05, 7, 0x04, 5, 1, 0, 0, 0, 0x09, 0xC4, 6, 0xF7};
  EXPECT_EQ(f, expected);
}

TEST(Frames, ReleaseAlwaysGoesToAddressZero) {
  for (int id : {0, 1, 17, 32, 255}) {
    EXPECT_EQ(BuildFrame(static_cast<std::uint8_t>(id), CmdRelease, {})[2], 0) << id;
    EXPECT_EQ(BuildFrame(static_cast<std::uint8_t>(id), CmdPing, {})[2], id) << id;
  }
}

TEST(Frames, TimeoutClassOfEveryCommandCode) {
  struct Case {
    std::uint8_t code;
    int ms;
    int count;
  };
  const Case cases[] = {
      {0x06, 10000, 1}, {0x0F, 10000, 1}, {0x14, 10000, 1}, {0x16, 10000, 1}, {0x17, 10000, 1},
      {0x18, 10000, 1}, {0x19, 10000, 1}, {0x1E, 10000, 1}, {0x1F, 10000, 1}, {0x21, 10000, 1},
      {0x22, 10000, 1}, {0x23, 10000, 1}, {0x24, 10000, 1}, {0x25, 10000, 1}, {0x41, 10000, 1},
      {0x00, 5000, 1},  {0x50, 5000, 1},  {0x12, 2000, 2},  {0x13, 2000, 2},  {0x27, 2000, 2},
      {0x8F, 300, 0},   {0x01, 3000, 1},  {0x05, 3000, 1},  {0x26, 3000, 1},  {0x2B, 3000, 1},
      {0x29, 3000, 1},  {0xFF, 3000, 1},
  };
  for (const Case& c : cases) {
    const Timeout t = CommandTimeout(c.code);
    EXPECT_EQ(t.ms, c.ms) << std::hex << int(c.code);
    EXPECT_EQ(t.count, c.count) << std::hex << int(c.code);
  }
}

}  // namespace
}  // namespace velmark

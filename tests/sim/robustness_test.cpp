// Random garbage on the line never crashes a unit and never writes where no command may write.
// (Run under AddressSanitizer, any access outside the unit's memory fails the test as well.)

#include <gtest/gtest.h>

#include <algorithm>

#include "sim/sim_random.h"
#include "sim_test_util.h"

namespace velmark {
namespace {

// Memory between the parameters and the first program memory is never written; a program
// memory holds something only once a store has marked it in use; state bytes are k or empty.
void ExpectInvariants(const SimUnit& unit) {
  const auto bytes = unit.Memory().Bytes();
  EXPECT_TRUE(std::all_of(bytes.begin() + 864, bytes.begin() + 1792,
                          [](std::uint8_t b) { return b == 0; }));
  for (int k = 0; k < kProgramCount; ++k) {
    const std::uint8_t state = unit.Memory().ProgramState(k);
    EXPECT_TRUE(state == k || state == kEmptyProgramState) << "program " << k;
    if (state == kEmptyProgramState) {
      const auto first = bytes.begin() + ProgramMemoryAddr(k);
      EXPECT_TRUE(
          std::all_of(first, first + kProgramMemorySize, [](std::uint8_t b) { return b == 0; }))
          << "program " << k;
    }
  }
}

Frame RandomFrame(SimRandom& random, bool well_formed) {
  Frame frame{};
  for (std::uint8_t& b : frame) b = static_cast<std::uint8_t>(random.Next());
  if (!well_formed) return frame;
  frame[0] = kFrameStart;
  frame[1] = kFrameFixed;
  frame[12] = kFrameEnd;
  frame[2] = static_cast<std::uint8_t>(random.Below(4));  // mostly a present unit, or broadcast
  // Most requests carry a known command so that the handlers see hostile data bytes.
  const auto table = CommandTable();
  if (random.Below(8) != 0) frame[3] = table[random.Below(table.size())].code;
  // Small numbers in d0/d1 hit the edges of the channel, band and selector checks.
  if (random.Below(2) == 0) frame[4] = static_cast<std::uint8_t>(random.Below(10));
  if (random.Below(2) == 0) frame[5] = static_cast<std::uint8_t>(random.Below(16));
  return frame;
}

TEST(Garbage, ThousandsOfRandomFramesNeverBreakAUnit) {
  const int ids[] = {1, 2, 3};
  SimBus bus = SimBus::Rs485(ids, 77);
  SimRandom random(2024);
  for (int i = 0; i < 20000; ++i) {
    const Frame frame = RandomFrame(random, random.Below(10) != 0);
    const Delivery d = bus.Deliver(frame);
    if (d.reply) {
      EXPECT_EQ((*d.reply)[2], frame[2]);
      EXPECT_EQ((*d.reply)[3], frame[3]);
    }
    if (frame[3] == CmdReadBlock && d.reply && !d.block.empty()) {
      EXPECT_EQ(static_cast<int>(d.block.size()), frame[7] * 256 + frame[8]);
    } else {
      EXPECT_TRUE(d.block.empty());
    }
  }
  for (const SimUnit& unit : bus.Units()) ExpectInvariants(unit);
}

TEST(Garbage, EveryCommandWithEveryFirstDataByte) {
  SimBus bus = SimBus::Usb();
  for (const CommandEntry& entry : CommandTable()) {
    for (int d0 = 0; d0 < 256; ++d0) {
      for (int d1 : {0, 1, 2, 3, 4, 12, 13, 255}) {
        bus.Deliver(
            BuildFrame(0, entry.code, simtest::Data({d0, d1, 1, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF})));
      }
    }
  }
  ExpectInvariants(bus.Units()[0]);
}

}  // namespace
}  // namespace velmark

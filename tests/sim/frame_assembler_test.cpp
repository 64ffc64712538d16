#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/frame_assembler.h"
#include "sim_test_util.h"

namespace velmark {
namespace {

std::vector<std::uint8_t> Bytes(const Frame& f) {
  return {f.begin(), f.end()};
}

const Frame kPing = BuildFrame(0, CmdPing, {});
// A valid frame whose data hold start bytes (mute mask 0xF0).
const Frame kWithStarts = BuildFrame(0, CmdWriteMemory, simtest::Data({3, 0x19, 1, 0, 0xF0}));

struct StreamCase {
  std::string name;
  std::vector<std::uint8_t> stream;
  std::vector<Frame> frames;
};

std::vector<std::uint8_t> Join(std::initializer_list<std::vector<std::uint8_t>> parts) {
  std::vector<std::uint8_t> all;
  for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

class Assembly : public testing::TestWithParam<StreamCase> {};

TEST_P(Assembly, CutsTheStreamIntoRequests) {
  FrameAssembler assembler;
  std::vector<Frame> got;
  for (std::uint8_t b : GetParam().stream) {
    if (auto frame = assembler.Push(b)) got.push_back(*frame);
  }
  EXPECT_EQ(got, GetParam().frames);
}

INSTANTIATE_TEST_SUITE_P(
    Sim, Assembly,
    testing::Values(
        StreamCase{"two_frames_back_to_back",
                   Join({Bytes(kPing), Bytes(kWithStarts)}),
                   {kPing, kWithStarts}},
        StreamCase{"noise_before_a_frame", Join({{0x00, 0x13, 0xF7}, Bytes(kPing)}), {kPing}},
        StreamCase{"twelve_bytes_are_not_a_frame", {kPing.begin(), kPing.end() - 1}, {}},
        // A frame cut short by the far end, then a whole one: found again from its start byte.
        StreamCase{"cut_frame_then_a_frame",
                   Join({{kPing.begin(), kPing.begin() + 7}, Bytes(kWithStarts)}),
                   {kWithStarts}},
        StreamCase{"false_start_byte", Join({{0xF0, 0x01}, Bytes(kPing)}), {kPing}},
        StreamCase{"wrong_end_byte_dropped",
                   Join({{0xF0, 0x05, 0, 0x50, 0, 0, 0, 0, 0, 0, 0, 0, 0x00}, Bytes(kPing)}),
                   {kPing}}),
    [](const testing::TestParamInfo<StreamCase>& info) { return info.param.name; });

TEST(Assembly, ResetForgetsAPartialFrame) {
  FrameAssembler assembler;
  for (int i = 0; i < 5; ++i) assembler.Push(kPing[i]);
  EXPECT_EQ(assembler.Pending(), 5);
  assembler.Reset();
  std::optional<Frame> got;
  for (std::uint8_t b : kPing) got = assembler.Push(b);
  EXPECT_EQ(got, kPing);
}

}  // namespace
}  // namespace velmark

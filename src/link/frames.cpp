#include "link/frames.h"

#include <algorithm>

namespace velmark {
namespace {

constexpr std::array<std::uint8_t, 15> kLongClass = {0x06, 0x0F, 0x14, 0x16, 0x17, 0x18, 0x19, 0x1E,
                                                     0x1F, 0x21, 0x22, 0x23, 0x24, 0x25, 0x41};
constexpr std::array<std::uint8_t, 2> kMediumClass = {0x00, 0x50};
constexpr std::array<std::uint8_t, 3> kPollClass = {0x12, 0x13, 0x27};

template <std::size_t N>
bool In(const std::array<std::uint8_t, N>& set, std::uint8_t code) {
  return std::find(set.begin(), set.end(), code) != set.end();
}

}  // namespace

Frame BuildFrame(std::uint8_t address, std::uint8_t command, const FrameData& data) {
  Frame frame{};
  frame[0] = kFrameStart;
  frame[1] = kFrameFixed;
  frame[2] = command == CmdRelease ? std::uint8_t{0} : address;
  frame[3] = command;
  std::copy(data.begin(), data.end(), frame.begin() + 4);
  frame[12] = kFrameEnd;
  return frame;
}

Timeout CommandTimeout(std::uint8_t command) {
  if (In(kLongClass, command)) return {10000, 1};
  if (In(kMediumClass, command)) return {5000, 1};
  if (In(kPollClass, command)) return {2000, 2};
  if (command == CmdRelease) return {300, 0};
  return {3000, 1};
}

}  // namespace velmark

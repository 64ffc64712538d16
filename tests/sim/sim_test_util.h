#pragma once
// Helpers shared by the simulator tests.

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "link/frames.h"
#include "sim/sim_bus.h"

namespace velmark::simtest {

inline FrameData Data(std::initializer_list<int> bytes) {
  FrameData d{};
  int i = 0;
  for (int b : bytes) d[i++] = static_cast<std::uint8_t>(b);
  return d;
}

// Unit memory address of image address a.
constexpr int P(int image_addr) {
  return 64 + image_addr;
}

inline FrameData ReplyData(const Frame& reply) {
  FrameData d{};
  for (int i = 0; i < 8; ++i) d[i] = reply[4 + i];
  return d;
}

// Sends one request to the bus; the reply's data bytes, or nothing when nobody answered.
inline std::optional<FrameData> Ask(SimBus& bus, int address, std::uint8_t cmd,
                                    const FrameData& d) {
  const Delivery delivery = bus.Deliver(BuildFrame(static_cast<std::uint8_t>(address), cmd, d));
  if (!delivery.reply) return std::nullopt;
  return ReplyData(*delivery.reply);
}

inline std::vector<std::uint8_t> Snapshot(const SimUnit& unit) {
  const auto bytes = unit.Memory().Bytes();
  return {bytes.begin(), bytes.end()};
}

}  // namespace velmark::simtest

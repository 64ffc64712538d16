#include "sim/sim_bus.h"

#include <algorithm>

namespace velmark {
namespace {

constexpr std::uint8_t kBroadcast = 0;

}  // namespace

bool IsWellFormed(const Frame& frame) {
  return frame[0] == kFrameStart && frame[1] == kFrameFixed && frame[12] == kFrameEnd;
}

SimBus SimBus::Usb(std::uint64_t seed) {
  SimBus bus(BusMode::Usb, seed);
  bus.units_.emplace_back(0, seed);
  return bus;
}

SimBus SimBus::Rs485(std::span<const int> ids, std::uint64_t seed) {
  SimBus bus(BusMode::Rs485, seed);
  for (int id : ids) {
    if (id >= 1 && id <= kMaxBusId && bus.Find(id) == nullptr) {
      bus.units_.emplace_back(static_cast<std::uint8_t>(id), seed);
    }
  }
  return bus;
}

SimUnit* SimBus::Find(int id) {
  const auto it =
      std::find_if(units_.begin(), units_.end(), [id](const SimUnit& u) { return u.Id() == id; });
  return it != units_.end() ? &*it : nullptr;
}

void SimBus::SetFaults(const LineFaults& faults) {
  faults_ = faults;
  random_ = SimRandom(faults.seed);
}

Delivery SimBus::Deliver(const Frame& request) {
  Delivery delivery;
  ++requests_;
  if (faults_.stall_after && requests_ > *faults_.stall_after) {
    delivery.stalled = true;
    return delivery;
  }
  if (random_.Chance(faults_.drop)) {
    delivery.dropped = true;
    return delivery;
  }
  if (!IsWellFormed(request)) return delivery;

  const std::uint8_t address = request[2];
  const bool broadcast = mode_ == BusMode::Rs485 && address == kBroadcast;
  for (SimUnit& unit : units_) {
    if (!broadcast && unit.Id() != address) continue;
    std::optional<Answer> answer = unit.Handle(request);
    delivery.acted = delivery.acted || answer.has_value();
    if (answer && !answer->silent && !broadcast) {
      delivery.reply = BuildFrame(unit.Id(), request[3], answer->data);
      delivery.block = std::move(answer->block);
    }
  }
  if (delivery.reply && random_.Chance(faults_.garble)) Garble(delivery);
  return delivery;
}

// One byte of the reply frame or its block is flipped to another value.
void SimBus::Garble(Delivery& delivery) {
  const std::uint64_t size = kFrameSize + delivery.block.size();
  const int at = static_cast<int>(random_.Below(size));
  const auto flip = static_cast<std::uint8_t>(1 + random_.Below(255));
  std::uint8_t& byte = at < kFrameSize ? (*delivery.reply)[at] : delivery.block[at - kFrameSize];
  byte = static_cast<std::uint8_t>(byte ^ flip);
  delivery.garbled_at = at;
}

}  // namespace velmark

#include "sim/sim_bus.h"

#include <algorithm>

namespace velmark {
namespace {

constexpr std::uint8_t kBroadcast = 0;

}  // namespace

std::vector<std::uint8_t> Delivery::WireBytes() const {
  std::vector<std::uint8_t> bytes;
  if (!reply) return bytes;
  if (!bare) bytes.assign(reply->begin(), reply->end());
  bytes.insert(bytes.end(), block.begin(), block.end());
  return bytes;
}

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
  // Before faults_after nothing is drawn, so the faults that follow depend only on the seed.
  const bool faulty = requests_ > faults_.faults_after;
  if (faulty && random_.Chance(faults_.drop)) {
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
  if (delivery.reply && request[3] == CmdReadBlock && block_reply_ == BlockReplyStyle::Bare) {
    // Without a frame there is nothing to say that a block cannot be served: no answer.
    delivery.bare = true;
    if (delivery.block.empty()) delivery.reply.reset();
  }
  if (faulty && delivery.reply && random_.Chance(faults_.garble)) Garble(delivery);
  return delivery;
}

// One byte that goes on the line (the reply frame unless the block goes bare, then the block)
// is flipped to another value.
void SimBus::Garble(Delivery& delivery) {
  const int frame = delivery.bare ? 0 : kFrameSize;
  const std::uint64_t size = static_cast<std::uint64_t>(frame) + delivery.block.size();
  const int at = static_cast<int>(random_.Below(size));
  const auto flip = static_cast<std::uint8_t>(1 + random_.Below(255));
  std::uint8_t& byte = at < frame ? (*delivery.reply)[at] : delivery.block[at - frame];
  byte = static_cast<std::uint8_t>(byte ^ flip);
  delivery.garbled_at = at;
}

}  // namespace velmark

#include "sim/sim_line.h"

#include <algorithm>
#include <utility>

#include "link/port_naming.h"

namespace velmark {

SimLine::SimLine(SimBus bus) : bus_(std::move(bus)) {}

void SimLine::HangUp() {
  open_ = false;
  waiting_.clear();
}

SerialStatus SimLine::Init(int /*frame_size*/, int /*max_units*/) {
  return SerialStatus::Ok;
}

SerialStatus SimLine::Open(const std::string& port_name, int /*baud*/) {
  Close();
  port_name_ = port_name;
  if (!ParseComName(port_name)) return Fail(SerialStatus::NotFound, "no such port");
  if (open_failure_ != SerialStatus::Ok) {
    return Fail(open_failure_, SerialStatusText(open_failure_));
  }
  open_ = true;
  return SerialStatus::Ok;
}

SerialStatus SimLine::Transact(Frame& frame, int timeout_ms, bool wait_reply,
                               bool /*before_block_read*/, int /*count*/) {
  if (!open_) return Fail(SerialStatus::Closed, "port not open");
  waiting_.clear();
  sent_.push_back(frame);
  Delivery delivery = bus_.Deliver(frame);
  if (!wait_reply) return SerialStatus::Ok;
  if (!delivery.reply) {
    return Fail(SerialStatus::Timeout, "no reply within " + std::to_string(timeout_ms) + " ms");
  }
  frame = *delivery.reply;
  waiting_ = std::move(delivery.block);
  return SerialStatus::Ok;
}

SerialStatus SimLine::Close() {
  open_ = false;
  waiting_.clear();
  return SerialStatus::Ok;
}

SerialStatus SimLine::ReadData(std::span<std::uint8_t> block, int timeout_ms, int /*flags*/) {
  if (!open_) return Fail(SerialStatus::Closed, "port not open");
  if (block.empty()) return Fail(SerialStatus::BadArgument, "empty block");
  if (waiting_.size() < block.size()) {
    const std::size_t had = waiting_.size();
    waiting_.clear();
    return Fail(SerialStatus::Timeout, "no complete block within " + std::to_string(timeout_ms) +
                                           " ms (" + std::to_string(had) + " of " +
                                           std::to_string(block.size()) + " bytes)");
  }
  std::copy_n(waiting_.begin(), block.size(), block.begin());
  waiting_.erase(waiting_.begin(), waiting_.begin() + static_cast<std::ptrdiff_t>(block.size()));
  return SerialStatus::Ok;
}

SerialStatus SimLine::Fail(SerialStatus status, std::string why) {
  last_error_ = port_name_ + " (simulated): " + std::move(why);
  return status;
}

}  // namespace velmark

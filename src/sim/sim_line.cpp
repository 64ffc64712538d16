#include "sim/sim_line.h"

#include <algorithm>
#include <utility>

#include "link/block_reply.h"
#include "link/port_naming.h"

namespace velmark {
namespace {

constexpr std::size_t kFrameBytes = kFrameSize;

}  // namespace

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
                               bool before_block_read, int /*count*/) {
  if (!open_) return Fail(SerialStatus::Closed, "port not open");
  waiting_.clear();
  sent_.push_back(frame);
  const Delivery delivery = bus_.Deliver(frame);
  std::vector<std::uint8_t> wire = delivery.WireBytes();
  if (before_block_read) {
    if (mangler_) mangler_(wire);
    waiting_ = std::move(wire);
    return SerialStatus::Ok;
  }
  if (!wait_reply) return SerialStatus::Ok;
  if (wire.size() < kFrameBytes) {
    return Fail(SerialStatus::Timeout, "no reply within " + std::to_string(timeout_ms) + " ms");
  }
  // The first 13 bytes are the reply; whatever follows (a block) waits as on a real line.
  std::copy_n(wire.begin(), kFrameBytes, frame.begin());
  waiting_.assign(wire.begin() + kFrameSize, wire.end());
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
  BlockReply reply(block.size());
  reply.Take(waiting_);
  waiting_.clear();
  const std::string wanted = "block of " + std::to_string(block.size()) + " bytes";
  switch (reply.Verdict()) {
    case BlockVerdict::Complete: {
      const std::span<const std::uint8_t> got = reply.Block();
      std::copy(got.begin(), got.end(), block.begin());
      return SerialStatus::Ok;
    }
    case BlockVerdict::NeedMore: {
      const std::size_t frame = reply.Framed() && reply.Received() >= kFrameBytes ? kFrameBytes : 0;
      const std::size_t came = reply.Received() - frame;
      return Fail(SerialStatus::Timeout, wanted + ": " +
                                             (came == 0 ? "nothing" : std::to_string(came)) +
                                             " came" + (frame > 0 ? " after a reply frame" : "") +
                                             " within " + std::to_string(timeout_ms) + " ms");
    }
    case BlockVerdict::Failed:
      break;
  }
  return Fail(SerialStatus::BadReply,
              "a block that does not fit the request: " + std::to_string(reply.Received()) +
                  " bytes for " + std::to_string(block.size()));
}

SerialStatus SimLine::Fail(SerialStatus status, std::string why) {
  last_error_ = port_name_ + " (simulated): " + std::move(why);
  return status;
}

}  // namespace velmark

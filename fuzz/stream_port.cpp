#include "stream_port.h"

#include <algorithm>

#include "link/block_reply.h"
#include "link/frames.h"

namespace velmark::fuzz {

SerialStatus StreamPort::Open(const std::string& port_name, int baud) {
  FUZZ_CHECK(port_name.rfind("COM", 0) == 0 && baud == 9600);
  open_ = in_.Byte() % 16 != 0;  // now and then the adapter is missing
  return open_ ? SerialStatus::Ok : SerialStatus::NotFound;
}

SerialStatus StreamPort::Close() {
  open_ = false;
  block_pending_ = false;
  return SerialStatus::Ok;
}

std::vector<std::uint8_t> StreamPort::NextAnswer() {
  const std::size_t length = in_.Byte() | (static_cast<std::size_t>(in_.Byte() & 3) << 8);
  const auto bytes = in_.Bytes(length);
  return {bytes.begin(), bytes.end()};
}

SerialStatus StreamPort::Transact(Frame& frame, int timeout_ms, bool wait_reply,
                                  bool before_block_read, int count) {
  FUZZ_CHECK(open_);
  // Whatever the program received before, it never sends a unit anything but a whole frame.
  FUZZ_CHECK(frame[0] == kFrameStart && frame[1] == kFrameFixed && frame[12] == kFrameEnd);
  FUZZ_CHECK(timeout_ms > 0 && count >= 0);
  sent.push_back(frame);
  last_reply.reset();
  block_pending_ = false;
  std::vector<std::uint8_t> answer = NextAnswer();
  if (in_.Byte() % 32 == 0) {
    Close();  // the adapter was unplugged
    return SerialStatus::Closed;
  }
  if (!wait_reply) return SerialStatus::Ok;
  if (before_block_read) {
    waiting_ = std::move(answer);
    block_pending_ = true;
    return SerialStatus::Ok;
  }
  if (answer.size() < frame.size()) return SerialStatus::Timeout;
  std::copy_n(answer.begin(), frame.size(), frame.begin());
  last_reply = frame;
  return SerialStatus::Ok;
}

SerialStatus StreamPort::ReadData(std::span<std::uint8_t> block, int timeout_ms, int) {
  FUZZ_CHECK(timeout_ms > 0);
  last_block.clear();
  if (!open_) return SerialStatus::Closed;
  if (!block_pending_) return SerialStatus::Timeout;  // nothing was asked for
  block_pending_ = false;
  BlockReply reply(block.size());
  std::size_t at = 0;
  while (at < waiting_.size() && reply.Verdict() != BlockVerdict::Failed) {
    const std::size_t chunk = std::min<std::size_t>(1 + in_.Byte() % 64, waiting_.size() - at);
    reply.Take(std::span<const std::uint8_t>(waiting_).subspan(at, chunk));
    at += chunk;
  }
  if (reply.Verdict() == BlockVerdict::Failed) return SerialStatus::BadReply;
  if (reply.Verdict() != BlockVerdict::Complete) return SerialStatus::Timeout;
  const auto bytes = reply.Block();
  // A judged block is always the requested bytes at the end of the answer, never shifted.
  FUZZ_CHECK(bytes.size() == block.size());
  FUZZ_CHECK(
      std::equal(bytes.begin(), bytes.end(), waiting_.end() - static_cast<long>(bytes.size())));
  std::copy(bytes.begin(), bytes.end(), block.begin());
  last_block.assign(bytes.begin(), bytes.end());
  return SerialStatus::Ok;
}

}  // namespace velmark::fuzz

#pragma once
// A serial port whose far end sends whatever the fuzz input says. For every request it takes
// the answer's length (two bytes, 0..1023) and that many bytes from the input, then a fate byte:
// the device may go away instead of answering. A reply frame is the first 13 bytes of the
// answer (fewer: a time-out); the answer to a block read goes to the serial port's own judge
// (BlockReply) in chunks whose sizes the input also picks, as a tty hands over what has arrived.
// Every call returns at once: a time-out costs nothing.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "link/serial_port.h"

namespace velmark::fuzz {

class StreamPort final : public SerialPort {
 public:
  explicit StreamPort(FuzzInput& in) : in_(in) {}

  SerialStatus Init(int, int) override { return SerialStatus::Ok; }
  SerialStatus Open(const std::string& port_name, int baud) override;
  SerialStatus Transact(Frame& frame, int timeout_ms, bool wait_reply, bool before_block_read,
                        int count) override;
  SerialStatus Close() override;
  bool IsOpen() const override { return open_; }
  SerialStatus ReadData(std::span<std::uint8_t> block, int timeout_ms, int flags) override;
  std::string LastErrorText() const override { return "fuzz"; }

  // What the last successful call handed back: a reply frame, or a block.
  std::optional<Frame> last_reply;
  std::vector<std::uint8_t> last_block;
  std::vector<Frame> sent;

 private:
  std::vector<std::uint8_t> NextAnswer();

  FuzzInput& in_;
  bool open_ = false;
  bool block_pending_ = false;
  std::vector<std::uint8_t> waiting_;  // the answer to the last block-read request
};

}  // namespace velmark::fuzz

#pragma once
// Wraps a port and keeps every request frame that went out, in order; the scenario runner and
// the tests check the frames at exactly this boundary.

#include <vector>

#include "link/serial_port.h"

namespace velmark {

class RecordingSerialPort : public SerialPort {
 public:
  explicit RecordingSerialPort(SerialPort& inner) : inner_(inner) {}

  SerialStatus Init(int frame_size, int max_units) override {
    return inner_.Init(frame_size, max_units);
  }
  SerialStatus Open(const std::string& port_name, int baud) override {
    return inner_.Open(port_name, baud);
  }
  SerialStatus Transact(Frame& frame, int timeout_ms, bool wait_reply, bool before_block_read,
                        int count) override {
    if (recording_) sent_.push_back(frame);
    return inner_.Transact(frame, timeout_ms, wait_reply, before_block_read, count);
  }
  SerialStatus Close() override { return inner_.Close(); }
  bool IsOpen() const override { return inner_.IsOpen(); }
  SerialStatus ReadData(std::span<std::uint8_t> block, int timeout_ms, int flags) override {
    return inner_.ReadData(block, timeout_ms, flags);
  }
  std::string LastErrorText() const override { return inner_.LastErrorText(); }

  // Off, nothing is kept: the meters alone send some 90 000 frames an hour.
  void SetRecording(bool on) { recording_ = on; }
  const std::vector<Frame>& Sent() const { return sent_; }
  // The frames sent since the previous call.
  std::vector<Frame> TakeSent() {
    std::vector<Frame> out(sent_.begin() + static_cast<std::ptrdiff_t>(taken_), sent_.end());
    taken_ = sent_.size();
    return out;
  }

 private:
  SerialPort& inner_;
  std::vector<Frame> sent_;
  std::size_t taken_ = 0;
  bool recording_ = true;
};

}  // namespace velmark

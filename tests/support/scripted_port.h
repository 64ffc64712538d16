#pragma once
// A serial port for tests: records every call and answers from a script (or from a function).

#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "link/serial_port.h"

namespace velmark::testing {

struct TransactCall {
  Frame frame;
  int timeout_ms;
  bool wait_reply;
  bool before_block_read;
  int count;
};

class ScriptedPort : public SerialPort {
 public:
  // Answer for the next Transact: a reply frame, or a status (Timeout, Closed ...).
  std::function<SerialStatus(Frame&)> responder;
  std::deque<std::vector<std::uint8_t>> blocks;  // served to ReadData in order
  SerialStatus open_result = SerialStatus::Ok;
  bool open = false;
  bool throw_in_transact = false;
  std::vector<TransactCall> calls;
  std::vector<std::string> opened;

  SerialStatus Init(int, int) override { return SerialStatus::Ok; }
  SerialStatus Open(const std::string& name, int) override {
    opened.push_back(name);
    open = open_result == SerialStatus::Ok;
    return open_result;
  }
  SerialStatus Transact(Frame& frame, int timeout_ms, bool wait_reply, bool before_block_read,
                        int count) override {
    calls.push_back({frame, timeout_ms, wait_reply, before_block_read, count});
    if (throw_in_transact) throw std::runtime_error("port driver fault");
    if (before_block_read) return SerialStatus::Ok;
    return responder ? responder(frame) : SerialStatus::Timeout;
  }
  SerialStatus Close() override {
    open = false;
    return SerialStatus::Ok;
  }
  bool IsOpen() const override { return open; }
  SerialStatus ReadData(std::span<std::uint8_t> block, int, int) override {
    if (blocks.empty() || blocks.front().size() < block.size()) return SerialStatus::Timeout;
    std::copy_n(blocks.front().begin(), block.size(), block.begin());
    blocks.pop_front();
    return SerialStatus::Ok;
  }
  std::string LastErrorText() const override { return "scripted"; }

  // A responder that answers every request with r4..r11 = the given bytes.
  static std::function<SerialStatus(Frame&)> Answer(std::array<std::uint8_t, 8> r) {
    return [r](Frame& f) {
      std::copy(r.begin(), r.end(), f.begin() + 4);
      return SerialStatus::Ok;
    };
  }
};

}  // namespace velmark::testing

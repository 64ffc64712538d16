#pragma once
// A serial port that talks to simulated units directly, in process: no pseudo-terminal, no
// sleeping, the same answers every run. It behaves like a real port towards its caller: it must
// be opened ("COM<n>") before it carries anything, a request nobody answers gives Timeout, and
// the whole answer to a block read (reply frame and block, or the block alone) waits for the
// following ReadData, which judges it as the serial port does.
//
// Tests reach the units through Bus() (their memories, their faults, the block-reply style),
// see every request that went out in Sent(), and can change the bytes a block read brings back
// with SetBlockMangler().

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "link/serial_port.h"
#include "sim/sim_bus.h"

namespace velmark {

class SimLine final : public SerialPort {
 public:
  explicit SimLine(SimBus bus);

  SimBus& Bus() { return bus_; }
  const SimBus& Bus() const { return bus_; }
  // The unit with this ID, or nullptr.
  SimUnit* Unit(int id) { return bus_.Find(id); }

  // Makes every following Open fail with `status` (NotFound, Permission, Busy ...); Ok lets
  // Open succeed again.
  void SetOpenFailure(SerialStatus status) { open_failure_ = status; }
  // The device goes away: the port closes, calls report Closed until it is opened again.
  void HangUp();

  // Called with the bytes the line carries back for every following block read (empty when
  // nobody answered), before ReadData sees them: to put bytes in front, take some away, add
  // some. An empty function leaves the bytes alone.
  using BlockMangler = std::function<void(std::vector<std::uint8_t>& wire)>;
  void SetBlockMangler(BlockMangler mangler) { mangler_ = std::move(mangler); }

  // Every request Transact sent, in order (also those nobody answered).
  const std::vector<Frame>& Sent() const { return sent_; }
  void ClearSent() { sent_.clear(); }

  SerialStatus Init(int frame_size, int max_units) override;
  // "COM<n>" opens (any baud rate); anything else is NotFound. Opening an open port reopens it.
  SerialStatus Open(const std::string& port_name, int baud) override;
  // On Ok the frame holds the reply. `wait_reply` false gives Ok as soon as the request is out.
  // With `before_block_read` only the request goes out: Ok at once, the frame unchanged, and
  // everything the unit sends back waits for ReadData. Each call drops bytes still waiting from
  // before.
  SerialStatus Transact(Frame& frame, int timeout_ms, bool wait_reply, bool before_block_read,
                        int count) override;
  SerialStatus Close() override;
  bool IsOpen() const override { return open_; }
  // Takes what waits after a block-read request: exactly a reply frame and block.size() bytes,
  // or exactly block.size() bytes. Anything else is Timeout with the block untouched, never a
  // block shifted by some bytes. The waiting bytes are used up either way.
  SerialStatus ReadData(std::span<std::uint8_t> block, int timeout_ms, int flags) override;
  std::string LastErrorText() const override { return last_error_; }

 private:
  SerialStatus Fail(SerialStatus status, std::string why);

  SimBus bus_;
  bool open_ = false;
  SerialStatus open_failure_ = SerialStatus::Ok;
  std::string port_name_;
  std::vector<std::uint8_t> waiting_;
  BlockMangler mangler_;
  std::vector<Frame> sent_;
  std::string last_error_;
};

}  // namespace velmark

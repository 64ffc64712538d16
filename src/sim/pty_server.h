#pragma once
// Serves a simulated bus over a pseudo-terminal, so that the program reaches it exactly as it
// reaches a unit on a serial port.
//
// The simulator holds the master side; the program opens the slave (directly, or through a
// link such as COM3). Requests are cut from the byte stream by FrameAssembler. With pacing on,
// every byte in both directions takes its wire time at the chosen baud rate and a unit takes a
// small processing delay before it answers, so a ping round trip at 9600 baud lasts about
// 26 × 1.04 ms + the delay, as on the real line.
//
// While nobody holds the slave open the master reports a hang-up (EIO, POLLHUP); the server
// then waits in short sleeps and keeps serving when the program opens the port again.

#include <atomic>
#include <chrono>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "sim/sim_bus.h"
#include "sim/traffic_log.h"
#include "sim/wire_timing.h"

namespace velmark {

struct ServeConfig {
  bool pacing = true;
  int baud = 9600;
  std::chrono::milliseconds latency{2};  // from the last request byte to the first reply byte
  std::optional<long> hangup_after;      // requests served before the line is hung up, once
  TrafficLog* log = nullptr;
  // Called after a unit stored a program (to save the state).
  std::function<void()> after_store;
  // Called after a hang-up, once serving goes on on a fresh pseudo-terminal at this path.
  std::function<void(const std::string& slave_path)> after_hangup;
};

class PtyServer {
 public:
  PtyServer() = default;
  ~PtyServer();
  PtyServer(const PtyServer&) = delete;
  PtyServer& operator=(const PtyServer&) = delete;

  // Opens a pseudo-terminal pair in raw mode. Nothing on success, else the reason.
  std::optional<std::string> Open();
  // The device path the program opens, e.g. /dev/pts/5.
  const std::string& SlavePath() const { return slave_path_; }

  // Serves until `stop` turns true; returns within about 50 ms of that.
  void Serve(SimBus& bus, const ServeConfig& config, const std::atomic<bool>& stop);

 private:
  void Close();
  void Answer(SimBus& bus, const Frame& request, SteadyTime arrived, const ServeConfig& config,
              const std::atomic<bool>& stop);
  // Writes the bytes, one wire time apart when `per_byte` is not zero; false when the far end
  // went away or `stop` turned true.
  bool Send(std::span<const std::uint8_t> bytes, std::chrono::nanoseconds per_byte,
            const std::atomic<bool>& stop);
  bool HangUpAndReopen(const ServeConfig& config);

  int master_ = -1;
  std::string slave_path_;
};

}  // namespace velmark

#pragma once
// The far end of a serial line for the port tests: the master of a pseudo-terminal pair,
// answering requests from a script on its own thread.

#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "link/frames.h"
#include "link/temp_dir.h"

namespace velmark::testing {

// The far end of the line: the master of a pseudo-terminal pair, answering requests from a
// script on its own thread. The port under test reaches the slave through COM3 in the data
// folder, as a simulated unit would be reached.
class PtyUnit {
 public:
  // Called for each 13-byte request the port sends; writes the unit's answer (or doesn't).
  using Script = std::function<void(int index, const Frame& request, PtyUnit& unit)>;

  PtyUnit() {
    if (::openpty(&master_, &slave_, nullptr, nullptr, nullptr) != 0) {
      return;
    }
    termios tio{};
    ::tcgetattr(slave_, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(slave_, TCSANOW, &tio);
    slave_path_ = ::ttyname(slave_);
    data_.Link("COM3", slave_path_);
  }
  ~PtyUnit() {
    Stop();
    CloseMaster();
    CloseSlave();
  }
  PtyUnit(const PtyUnit&) = delete;
  PtyUnit& operator=(const PtyUnit&) = delete;

  bool ok() const { return master_ >= 0 && !slave_path_.empty(); }
  const std::filesystem::path& data_folder() const { return data_.path(); }
  const std::string& slave_path() const { return slave_path_; }
  int slave() const { return slave_; }
  const std::vector<Frame>& requests() const { return requests_; }  // after Stop()

  void Serve(Script script) {
    responder_ = std::thread([this, script = std::move(script)] { Run(script); });
  }
  void Stop() {
    stop_ = true;
    if (responder_.joinable()) {
      responder_.join();
    }
  }
  void Write(const std::vector<std::uint8_t>& bytes) const {
    ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }
  void CloseMaster() {
    if (master_ >= 0) {
      ::close(master_);
      master_ = -1;
    }
  }
  void CloseSlave() {
    if (slave_ >= 0) {
      ::close(slave_);
      slave_ = -1;
    }
  }

 private:
  void Run(const Script& script) {
    Frame request{};
    std::size_t have = 0;
    while (!stop_ && master_ >= 0) {
      pollfd entry{master_, POLLIN, 0};
      if (::poll(&entry, 1, 10) <= 0 || (entry.revents & POLLIN) == 0) {
        continue;
      }
      const ssize_t got = ::read(master_, request.data() + have, request.size() - have);
      if (got <= 0) {
        return;
      }
      have += static_cast<std::size_t>(got);
      if (have == request.size()) {
        requests_.push_back(request);
        script(static_cast<int>(requests_.size()) - 1, request, *this);
        have = 0;
      }
    }
  }

  TempDir data_;
  int master_ = -1;
  int slave_ = -1;  // kept open so the pair lives while the port closes and reopens
  std::string slave_path_;
  std::thread responder_;
  std::atomic<bool> stop_{false};
  std::vector<Frame> requests_;
};

inline Frame PingRequest() {
  return BuildFrame(0, CmdPing, {});
}

// The unit's answer to a ping: byte 11 = 5 when present.
inline Frame PingReply(std::uint8_t marker = 0) {
  return BuildFrame(0, CmdPing, {marker, 0, 0, 0, 0, 0, 0, 5});
}

inline std::vector<std::uint8_t> Bytes(const Frame& frame) {
  return {frame.begin(), frame.end()};
}

inline std::chrono::milliseconds Since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                               start);
}

}  // namespace velmark::testing

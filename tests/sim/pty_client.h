#pragma once
// A bare client for the simulator's pseudo-terminal: raw reads and writes with a deadline, so
// the tests see exactly the bytes on the line (a block read's reply frame and block included).

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "link/serial_port.h"

namespace velmark::simtest {

class RawClient {
 public:
  explicit RawClient(const std::string& path) {
    fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) return;
    termios tio{};
    ::tcgetattr(fd_, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(fd_, TCSANOW, &tio);
  }
  ~RawClient() {
    if (fd_ >= 0) ::close(fd_);
  }
  RawClient(const RawClient&) = delete;
  RawClient& operator=(const RawClient&) = delete;

  bool IsOpen() const { return fd_ >= 0; }

  bool Write(const std::vector<std::uint8_t>& bytes) {
    return ::write(fd_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  }
  bool Write(const Frame& frame) {
    return Write(std::vector<std::uint8_t>(frame.begin(), frame.end()));
  }

  // Reads until `count` bytes came or the time is up; `hung_up` tells whether the far end went.
  std::vector<std::uint8_t> Read(std::size_t count, int timeout_ms) {
    std::vector<std::uint8_t> got;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    while (got.size() < count) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                            deadline - std::chrono::steady_clock::now())
                            .count();
      if (left <= 0) break;
      pollfd p{fd_, POLLIN, 0};
      if (::poll(&p, 1, static_cast<int>(left)) <= 0) continue;
      std::uint8_t buffer[1024];
      const ssize_t n = ::read(fd_, buffer, std::min(sizeof buffer, count - got.size()));
      if (n <= 0) {
        hung_up = true;
        break;
      }
      got.insert(got.end(), buffer, buffer + n);
    }
    return got;
  }

  // Sends a request and reads `count` bytes back (13 for a reply frame).
  std::vector<std::uint8_t> Exchange(const Frame& request, std::size_t count = 13,
                                     int timeout_ms = 500) {
    Write(request);
    return Read(count, timeout_ms);
  }

  bool hung_up = false;

 private:
  int fd_ = -1;
};

}  // namespace velmark::simtest

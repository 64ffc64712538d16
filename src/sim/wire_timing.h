#pragma once
// Timing of a serial line at a given baud rate, 8N1: each byte takes ten bit times on the wire
// (start bit, 8 data bits, stop bit), 1.04 ms at 9600 baud.
//
// Bytes written into a pseudo-terminal arrive at once; WireClock gives each byte the time it
// would have finished arriving on a real line, so the simulator answers no earlier than a unit
// could.

#include <chrono>

namespace velmark {

using SteadyTime = std::chrono::steady_clock::time_point;

constexpr std::chrono::nanoseconds ByteTime(int baud) {
  return std::chrono::nanoseconds(10'000'000'000LL / (baud > 0 ? baud : 1));
}

class WireClock {
 public:
  explicit WireClock(std::chrono::nanoseconds byte_time) : byte_time_(byte_time) {}

  // A byte read at `read_at` has finished arriving one byte time after it started, and it
  // could not start before the byte ahead of it had arrived.
  SteadyTime Arrival(SteadyTime read_at) {
    const SteadyTime start = last_ > read_at ? last_ : read_at;
    last_ = start + byte_time_;
    return last_;
  }
  // The line went quiet (the far end closed): the next byte starts afresh.
  void Reset() { last_ = SteadyTime{}; }

  std::chrono::nanoseconds PerByte() const { return byte_time_; }

 private:
  std::chrono::nanoseconds byte_time_;
  SteadyTime last_{};
};

}  // namespace velmark

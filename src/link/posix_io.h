#pragma once
// Byte transfer on a non-blocking tty against a steady_clock deadline, and the one table that
// turns an errno into a SerialStatus.
//
// Every wait goes through poll() with the time left until the deadline, so no call ever blocks
// past it. A hang-up (POLLHUP/POLLERR, read() giving 0 on a readable descriptor, EIO) is
// reported as Closed: an unplugged USB adapter or the closed far end of a pseudo-terminal.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "link/serial_port.h"

namespace velmark {

using Deadline = std::chrono::steady_clock::time_point;

// Called between short slices of a long wait, so that the program can keep painting while a
// unit takes its time (up to 10 s). Null: wait in one piece.
using WaitHook = std::function<void()>;
inline constexpr std::chrono::milliseconds kWaitSlice{20};
// A wait shorter than this never calls the hook: an ordinary answer comes within about 30 ms,
// and a paint that happened to run while it arrived would hold up the next request.
inline constexpr std::chrono::milliseconds kPaintAfter{100};

// Where an errno came from: opening and setting up the device, or moving bytes over it.
// EIO while opening is an error of the device; EIO during a transfer means it went away.
enum class IoPhase { Open, Transfer };

SerialStatus StatusFromErrno(int err, IoPhase phase);

// The errno in words a user can act on: "permission denied (join the dialout group)".
std::string ErrnoText(int err);

struct IoResult {
  SerialStatus status = SerialStatus::Ok;
  std::size_t done = 0;  // bytes moved (or dropped) before the result
  int err = 0;           // the errno behind a failure, 0 when there was none (time-out, hang-up)
};

// Writes all bytes, waiting for room with poll() when the tty's output queue is full.
IoResult WriteAll(int fd, std::span<const std::uint8_t> bytes, Deadline deadline);

// Reads exactly bytes.size() bytes and not one more: what follows stays queued.
IoResult ReadExact(int fd, std::span<std::uint8_t> bytes, Deadline deadline,
                   const WaitHook* hook = nullptr);

// Reads what is queued, at least one byte and at most bytes.size(), waiting for the first one
// until the deadline. `done` says how many came.
IoResult ReadSome(int fd, std::span<std::uint8_t> bytes, Deadline deadline);

// Drops everything queued for input: the kernel's queue (tcflush) and whatever is readable
// right now, so that a reply arriving late for an earlier request is never taken for the next.
// A line that keeps talking until the deadline gives Timeout.
IoResult DiscardInput(int fd, Deadline deadline);

}  // namespace velmark

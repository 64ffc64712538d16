#pragma once
// The serial port component: everything the program says to a unit goes through one of these.
// The call shapes follow the component the program was designed around (Init, Open, Transact,
// Close, IsOpen, ReadData); the results are values, never exceptions.

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace velmark {

inline constexpr int kFrameSize = 13;
using Frame = std::array<std::uint8_t, kFrameSize>;

// Result of a port call. Ok is the component's "0"; everything else is a failed call.
enum class SerialStatus {
  Ok = 0,
  Timeout,      // no complete reply within the time-out
  Closed,       // the port is not open, or the device went away during the call
  NotFound,     // no device behind the port name
  Permission,   // the device exists but may not be opened (not in the dialout group)
  Busy,         // another program holds the device
  Io,           // any other operating-system error
  BadArgument,  // a request the component cannot carry out (wrong block size, bad name)
  BadReply,     // bytes came, but not in the shape of an answer (a block too long or shifted)
};

const char* SerialStatusText(SerialStatus status);

class SerialPort {
 public:
  virtual ~SerialPort() = default;

  // Prepares the instance; the program passes 13 and 32 (frame size, largest bus id).
  virtual SerialStatus Init(int frame_size, int max_units) = 0;
  // Opens "COM<n>" at the given baud rate, 8 data bits, no parity, 1 stop bit.
  virtual SerialStatus Open(const std::string& port_name, int baud) = 0;
  // Sends the 13-byte request and, on Ok, replaces it with the 13-byte reply.
  // `before_block_read` marks the request of a block read: it is sent, and everything the unit
  // answers (its reply frame and the block, or the block alone) is left for ReadData. `count`
  // is the count argument of the command's time-out class (0 = no reply is awaited beyond the
  // time-out, see the transaction engine).
  virtual SerialStatus Transact(Frame& frame, int timeout_ms, bool wait_reply,
                                bool before_block_read, int count) = 0;
  virtual SerialStatus Close() = 0;
  virtual bool IsOpen() const = 0;
  // Fills `block` completely within the time-out, or fails. After a block-read request the
  // answer must be exactly the block, with or without the unit's reply frame in front;
  // anything else fails (see BlockReply) and leaves `block` untouched.
  virtual SerialStatus ReadData(std::span<std::uint8_t> block, int timeout_ms, int flags) = 0;

  // Why the last failed call failed, in words a user can act on ("permission denied: ...").
  virtual std::string LastErrorText() const = 0;
};

}  // namespace velmark

#pragma once
// The serial port on Linux: a tty opened raw at the requested baud rate, 8 data bits, no
// parity, 1 stop bit, no flow control, held exclusively while open.
//
// Transact always sends the 13-byte request and then waits for exactly 13 reply bytes until
// the time-out (measured on steady_clock); the count argument does not change that. Before
// sending it drops all queued input, so a reply that arrived late for an earlier request is
// never taken for the current one. A block-read request is only sent: ReadData then takes the
// whole answer, the unit's reply frame and the block or the block alone, at whatever latency
// within its own time-out, and refuses an answer of any other shape (BlockReply). When the device
// goes away (an unplugged adapter, the far end of a pseudo-terminal closed) the call returns Closed
// within its time-out and the port closes itself, so that IsOpen turns false and the next
// transaction opens the port again.

#include <chrono>
#include <filesystem>
#include <string>

#include "link/port_naming.h"
#include "link/posix_io.h"
#include "link/serial_port.h"

namespace velmark {

class PosixSerialPort final : public SerialPort {
 public:
  // `data_folder` may hold COM<n> links that override the machine's port order.
  explicit PosixSerialPort(std::filesystem::path data_folder, DeviceRoots roots = {});
  ~PosixSerialPort() override;
  PosixSerialPort(const PosixSerialPort&) = delete;
  PosixSerialPort& operator=(const PosixSerialPort&) = delete;

  // Nothing to prepare on Linux: always Ok, whatever the arguments.
  SerialStatus Init(int frame_size, int max_units) override;
  // Closes a port that is already open first, then opens and sets up the new one.
  SerialStatus Open(const std::string& port_name, int baud) override;
  // `wait_reply` false or `before_block_read` true: Ok as soon as the request is written
  // (the frame is left as it was). Otherwise the frame holds the reply on Ok.
  SerialStatus Transact(Frame& frame, int timeout_ms, bool wait_reply, bool before_block_read,
                        int count) override;
  // Idempotent; always Ok.
  SerialStatus Close() override;
  bool IsOpen() const override { return fd_ >= 0; }
  // After a block-read request: the answer judged as a whole, BadReply when it has the wrong
  // shape (what was still arriving is drained first). Otherwise exactly block.size() bytes;
  // bytes after them stay queued. On failure the block is left untouched. `flags` is unused.
  SerialStatus ReadData(std::span<std::uint8_t> block, int timeout_ms, int flags) override;
  // "COM3 → /dev/ttyUSB0: permission denied (join the dialout group)"; kept until the next
  // failure, empty before the first.
  std::string LastErrorText() const override { return last_error_; }

  // The device opened for the current port, empty while closed.
  const std::string& DevicePath() const { return device_path_; }
  // Called every few milliseconds while a call waits for the unit (see WaitHook).
  void SetWaitHook(WaitHook hook) { wait_hook_ = std::move(hook); }

 private:
  SerialStatus Fail(SerialStatus status, const std::string& why);
  SerialStatus FailIo(const IoResult& result, const char* what, std::size_t wanted, int timeout_ms);
  SerialStatus ReadBlockAnswer(std::span<std::uint8_t> block, int timeout_ms);
  // Drops what keeps arriving until the line has been quiet for a moment (or the deadline).
  void DrainUntilQuiet(std::chrono::steady_clock::time_point deadline);
  // Calls the wait hook when the bytes still to come take long enough on the wire for a paint.
  void MaybePaint(std::size_t bytes_to_come);
  void Paint();
  WaitHook TimedHook();

  std::filesystem::path data_folder_;
  DeviceRoots roots_;
  int fd_ = -1;
  std::string port_name_;
  std::string device_path_;
  std::string last_error_;
  WaitHook wait_hook_;
  std::chrono::nanoseconds byte_time_{1'041'667};  // 10 bit times at the opened baud rate
  std::chrono::steady_clock::time_point last_paint_{};
  // Until a paint has been timed, one is taken to last this long.
  std::chrono::steady_clock::duration last_paint_cost_ = std::chrono::milliseconds(25);
  bool block_request_sent_ = false;  // the last request was a block read: ReadData takes it all
};

}  // namespace velmark

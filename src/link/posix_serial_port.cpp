#include "link/posix_serial_port.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <optional>
#include <utility>
#include <vector>

#include "link/block_reply.h"

namespace velmark {
namespace {

struct BaudRate {
  int baud;
  speed_t speed;
};

constexpr std::array kBaudRates{
    BaudRate{1200, B1200},   BaudRate{2400, B2400},     BaudRate{4800, B4800},
    BaudRate{9600, B9600},   BaudRate{19200, B19200},   BaudRate{38400, B38400},
    BaudRate{57600, B57600}, BaudRate{115200, B115200},
};

std::optional<speed_t> SpeedFor(int baud) {
  for (const BaudRate& rate : kBaudRates) {
    if (rate.baud == baud) {
      return rate.speed;
    }
  }
  return std::nullopt;
}

// Exclusive use: flock() keeps out every other instance (also one run by root, which TIOCEXCL
// lets through); TIOCEXCL keeps out other programs that open the tty without locking it.
// Then raw 8N1 without flow control; VMIN = VTIME = 0 because all waiting is done by poll().
// Returns 0, or the errno of the step that failed.
int SetUp(int fd, speed_t speed) {
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    return errno;
  }
  termios tio{};
  if (::tcgetattr(fd, &tio) != 0) {
    return errno;  // ENOTTY: the name leads to something that is not a tty
  }
  if (::ioctl(fd, TIOCEXCL) != 0) {
    return errno;
  }
  ::cfmakeraw(&tio);
  tio.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS);
  tio.c_cflag |= CS8 | CLOCAL | CREAD;
  tio.c_iflag &= ~(IXON | IXOFF | IXANY);
  tio.c_cc[VMIN] = 0;
  tio.c_cc[VTIME] = 0;
  if (::cfsetispeed(&tio, speed) != 0 || ::cfsetospeed(&tio, speed) != 0 ||
      ::tcsetattr(fd, TCSANOW, &tio) != 0 || ::tcflush(fd, TCIOFLUSH) != 0) {
    return errno;
  }
  return 0;
}

// A data-folder link shows where it leads: "/data/COM3 → /dev/pts/7".
std::string DescribePath(const std::string& path) {
  std::error_code ec;
  const std::filesystem::path target = std::filesystem::read_symlink(path, ec);
  return ec ? path : path + " → " + target.string();
}

using std::chrono::steady_clock;

// A unit sends a block without pauses, so a byte too many has arrived one byte time after the
// last expected one; the line staying quiet for one and a half byte times (at least 1 ms)
// after a complete block tells that none followed.
constexpr std::chrono::milliseconds kQuietAtLeast{1};

std::chrono::nanoseconds QuietTime(std::chrono::nanoseconds byte_time) {
  return std::max<std::chrono::nanoseconds>(kQuietAtLeast, byte_time * 3 / 2);
}
// The wait hook paints. It is called while an answer is still on its way, and only when the
// rest of the answer takes at least twice as long on the wire as the last paint took (and at
// least this long), so the paint is over before the answer is and never delays the next
// request; at most once in kPaintEvery.
constexpr std::chrono::milliseconds kPaintWindowAtLeast{10};
constexpr std::chrono::milliseconds kPaintEvery{50};

std::string BytesText(std::size_t n) {
  return std::to_string(n) + (n == 1 ? " byte" : " bytes");
}

}  // namespace

PosixSerialPort::PosixSerialPort(std::filesystem::path data_folder, DeviceRoots roots)
    : data_folder_(std::move(data_folder)), roots_(std::move(roots)) {}

PosixSerialPort::~PosixSerialPort() {
  Close();
}

SerialStatus PosixSerialPort::Init(int /*frame_size*/, int /*max_units*/) {
  return SerialStatus::Ok;
}

SerialStatus PosixSerialPort::Open(const std::string& port_name, int baud) {
  Close();
  port_name_ = port_name;
  const std::optional<speed_t> speed = SpeedFor(baud);
  if (!speed) {
    return Fail(SerialStatus::BadArgument, "unsupported baud rate " + std::to_string(baud));
  }
  if (!ParseComName(port_name)) {
    return Fail(SerialStatus::BadArgument, "not a port name (COM1, COM2, ...)");
  }
  const std::optional<std::string> path = ResolvePortName(port_name, data_folder_, roots_);
  if (!path) {
    const std::size_t count = MachinePorts(roots_).size();
    return Fail(SerialStatus::NotFound,
                "no such port (this machine has " + std::to_string(count) + " serial ports)");
  }
  device_path_ = *path;
  byte_time_ = std::chrono::nanoseconds(10'000'000'000LL / baud);
  const int fd = ::open(path->c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  const int err = fd < 0 ? errno : SetUp(fd, *speed);
  if (err != 0) {
    if (fd >= 0) {
      ::close(fd);
    }
    const SerialStatus status = Fail(StatusFromErrno(err, IoPhase::Open), ErrnoText(err));
    device_path_.clear();
    return status;
  }
  fd_ = fd;
  return SerialStatus::Ok;
}

SerialStatus PosixSerialPort::Transact(Frame& frame, int timeout_ms, bool wait_reply,
                                       bool before_block_read, int /*count*/) {
  if (!IsOpen()) {
    return Fail(SerialStatus::Closed, "port not open");
  }
  if (timeout_ms < 0) {
    return Fail(SerialStatus::BadArgument, "negative time-out");
  }
  const Deadline deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  if (const IoResult stale = DiscardInput(fd_, deadline); stale.status != SerialStatus::Ok) {
    return FailIo(stale, "quiet line", 0, timeout_ms);  // the line kept sending
  }
  block_request_sent_ = false;
  if (const IoResult sent = WriteAll(fd_, frame, deadline); sent.status != SerialStatus::Ok) {
    return FailIo(sent, "request sent", frame.size(), timeout_ms);
  }
  // Whatever a unit answers a block read with, frame or not, is ReadData's to take apart.
  block_request_sent_ = before_block_read;
  if (!wait_reply || before_block_read) {
    return SerialStatus::Ok;
  }
  // The request and the reply still have to cross the line: time for a short paint.
  MaybePaint(2 * frame.size());
  Frame reply{};
  const WaitHook paint = TimedHook();
  if (const IoResult got = ReadExact(fd_, reply, deadline, &paint);
      got.status != SerialStatus::Ok) {
    return FailIo(got, "reply", reply.size(), timeout_ms);
  }
  frame = reply;
  return SerialStatus::Ok;
}

SerialStatus PosixSerialPort::ReadData(std::span<std::uint8_t> block, int timeout_ms,
                                       int /*flags*/) {
  if (!IsOpen()) {
    return Fail(SerialStatus::Closed, "port not open");
  }
  if (block.empty() || timeout_ms < 0) {
    return Fail(SerialStatus::BadArgument, "empty block or negative time-out");
  }
  if (std::exchange(block_request_sent_, false)) return ReadBlockAnswer(block, timeout_ms);
  const Deadline deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  std::vector<std::uint8_t> buffer(block.size());
  const WaitHook paint = TimedHook();
  if (const IoResult got = ReadExact(fd_, buffer, deadline, &paint);
      got.status != SerialStatus::Ok) {
    return FailIo(got, "block", buffer.size(), timeout_ms);
  }
  std::copy(buffer.begin(), buffer.end(), block.begin());
  return SerialStatus::Ok;
}

SerialStatus PosixSerialPort::ReadBlockAnswer(std::span<std::uint8_t> block, int timeout_ms) {
  const auto begun = steady_clock::now();
  const Deadline deadline = begun + std::chrono::milliseconds(timeout_ms);
  const auto quiet = QuietTime(byte_time_);
  BlockReply answer(block.size());
  std::array<std::uint8_t, 256> chunk{};
  for (;;) {
    const BlockVerdict verdict = answer.Verdict();
    if (verdict == BlockVerdict::Failed) {
      DrainUntilQuiet(deadline);
      return Fail(SerialStatus::BadReply,
                  "an answer that does not fit the request: " + BytesText(answer.Received()) +
                      " for a block of " + BytesText(block.size()));
    }
    MaybePaint(answer.Remaining() + (answer.Received() == 0 ? kFrameSize : 0));
    // A complete answer only needs to stay complete for a moment; otherwise wait in slices,
    // so that the hook gets its turns during a long block.
    const auto now = steady_clock::now();
    const Deadline until =
        verdict == BlockVerdict::Complete
            ? std::min(deadline, now + std::chrono::ceil<std::chrono::microseconds>(quiet))
            : std::min(deadline, now + kWaitSlice);
    const IoResult got = ReadSome(fd_, chunk, until);
    if (got.status == SerialStatus::Ok) {
      answer.Take(std::span<const std::uint8_t>(chunk).first(got.done));
      continue;
    }
    if (got.status != SerialStatus::Timeout) return FailIo(got, "block", block.size(), timeout_ms);
    if (verdict == BlockVerdict::Complete) {
      const auto bytes = answer.Block();
      std::copy(bytes.begin(), bytes.end(), block.begin());
      return SerialStatus::Ok;
    }
    if (steady_clock::now() >= deadline) {
      IoResult short_by{SerialStatus::Timeout, answer.Received(), 0};
      return FailIo(short_by, answer.Framed() ? "reply frame and block" : "block",
                    block.size() + (answer.Framed() ? kFrameSize : 0), timeout_ms);
    }
  }
}

void PosixSerialPort::DrainUntilQuiet(Deadline deadline) {
  const auto quiet = QuietTime(byte_time_);
  std::array<std::uint8_t, 256> chunk{};
  for (;;) {
    const Deadline until = std::min(
        deadline, steady_clock::now() + std::chrono::ceil<std::chrono::microseconds>(quiet));
    if (ReadSome(fd_, chunk, until).status != SerialStatus::Ok) return;
  }
}

void PosixSerialPort::MaybePaint(std::size_t bytes_to_come) {
  if (!wait_hook_) return;
  const auto now = steady_clock::now();
  if (now - last_paint_ < kPaintEvery) return;
  const auto window = byte_time_ * static_cast<long>(bytes_to_come);
  if (window < kPaintWindowAtLeast || window < 2 * last_paint_cost_) return;
  Paint();
}

void PosixSerialPort::Paint() {
  const auto start = steady_clock::now();
  wait_hook_();
  last_paint_ = steady_clock::now();
  last_paint_cost_ = last_paint_ - start;
}

// For the silent stretches of a long wait (a slow unit, a time-out): paint, and learn its cost.
WaitHook PosixSerialPort::TimedHook() {
  if (!wait_hook_) return {};
  return [this] { Paint(); };
}

SerialStatus PosixSerialPort::Close() {
  if (fd_ >= 0) {
    // The exclusive flag outlives this descriptor while anyone else keeps the tty open.
    static_cast<void>(::ioctl(fd_, TIOCNXCL));
    static_cast<void>(::close(fd_));  // also releases the flock
    fd_ = -1;
  }
  block_request_sent_ = false;
  device_path_.clear();
  return SerialStatus::Ok;
}

SerialStatus PosixSerialPort::Fail(SerialStatus status, const std::string& why) {
  last_error_ = port_name_;
  if (!device_path_.empty()) {
    last_error_ += " → " + DescribePath(device_path_);
  }
  last_error_ += ": " + why;
  return status;
}

SerialStatus PosixSerialPort::FailIo(const IoResult& result, const char* what, std::size_t wanted,
                                     int timeout_ms) {
  std::string why;
  if (result.status == SerialStatus::Timeout) {
    why = std::string("no ") + (wanted > 0 ? "complete " : "") + what + " within " +
          std::to_string(timeout_ms) + " ms";
    if (wanted > 0) {
      why += " (" + std::to_string(result.done) + " of " + std::to_string(wanted) + " bytes)";
    }
  } else if (result.err != 0) {
    why = ErrnoText(result.err);
  } else {
    why = "the device went away (hang-up)";
  }
  const SerialStatus status = Fail(result.status, why);
  if (status == SerialStatus::Closed) {
    Close();  // a vanished device is reopened by the next transaction, not kept as a dead fd
  }
  return status;
}

}  // namespace velmark

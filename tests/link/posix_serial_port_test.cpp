#include "link/posix_serial_port.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <thread>
#include <vector>

#include "link/frames.h"
#include "link/temp_dir.h"

namespace velmark {
namespace {

using namespace std::chrono_literals;
using std::chrono::milliseconds;
using std::chrono::steady_clock;
using testing::TempDir;

// How late a time-out may return: scheduling slack on a loaded machine, not a benchmark.
constexpr auto kLateSlack = 150ms;
constexpr int kBaud = 9600;
constexpr int kShortTimeoutMs = 100;

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

Frame PingRequest() {
  return BuildFrame(0, CmdPing, {});
}

// The unit's answer to a ping: byte 11 = 5 when present.
Frame PingReply(std::uint8_t marker = 0) {
  return BuildFrame(0, CmdPing, {marker, 0, 0, 0, 0, 0, 0, 5});
}

std::vector<std::uint8_t> Bytes(const Frame& frame) {
  return {frame.begin(), frame.end()};
}

milliseconds Since(steady_clock::time_point start) {
  return std::chrono::duration_cast<milliseconds>(steady_clock::now() - start);
}

class PosixSerialPortTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(unit_.ok()) << "no pseudo-terminal available"; }

  PosixSerialPort MakePort() const { return PosixSerialPort(unit_.data_folder(), roots_); }

  TempDir machine_;  // an empty device tree: only the data folder's COM3 exists
  DeviceRoots roots_{machine_.path() / "dev", machine_.path() / "sys"};
  PtyUnit unit_;
};

TEST_F(PosixSerialPortTest, RoundTripOnRaw9600EightNOne) {
  unit_.Serve([](int, const Frame&, PtyUnit& unit) { unit.Write(Bytes(PingReply())); });
  // Start from a cooked, flow-controlled 38400 7E2 line, so that every setting is the port's.
  termios cooked{};
  ASSERT_EQ(::tcgetattr(unit_.slave(), &cooked), 0);
  cooked.c_iflag |= IXON | IXOFF | ICRNL;
  cooked.c_oflag |= OPOST;
  cooked.c_lflag |= ICANON | ECHO | ISIG;
  cooked.c_cflag = (cooked.c_cflag & ~CSIZE) | CS7 | PARENB | CSTOPB | CRTSCTS;
  cooked.c_cc[VMIN] = 1;
  ASSERT_EQ(::cfsetspeed(&cooked, B38400), 0);
  ASSERT_EQ(::tcsetattr(unit_.slave(), TCSANOW, &cooked), 0);

  PosixSerialPort port = MakePort();
  EXPECT_EQ(port.Init(kFrameSize, 32), SerialStatus::Ok);
  ASSERT_EQ(port.Open("COM3", kBaud), SerialStatus::Ok) << port.LastErrorText();
  EXPECT_TRUE(port.IsOpen());
  EXPECT_EQ(std::filesystem::canonical(port.DevicePath()), unit_.slave_path());

  termios tio{};
  ASSERT_EQ(::tcgetattr(unit_.slave(), &tio), 0);
  EXPECT_EQ(::cfgetospeed(&tio), B9600);
  EXPECT_EQ(::cfgetispeed(&tio), B9600);
  EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  EXPECT_EQ(tio.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
  EXPECT_EQ(tio.c_cflag & (CLOCAL | CREAD), static_cast<tcflag_t>(CLOCAL | CREAD));
  EXPECT_EQ(tio.c_iflag & (IXON | IXOFF | IXANY | ICRNL), 0u);
  EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG), 0u);
  EXPECT_EQ(tio.c_oflag & OPOST, 0u);
  EXPECT_EQ(tio.c_cc[VMIN], 0);
  EXPECT_EQ(tio.c_cc[VTIME], 0);

  Frame frame = PingRequest();
  ASSERT_EQ(port.Transact(frame, 200, true, false, 0), SerialStatus::Ok) << port.LastErrorText();
  EXPECT_EQ(frame, PingReply());
  unit_.Stop();
  ASSERT_EQ(unit_.requests().size(), 1u);
  EXPECT_EQ(unit_.requests()[0], PingRequest());
}

TEST_F(PosixSerialPortTest, MissingOrShortReplyTimesOutOnTime) {
  struct Case {
    std::size_t reply_bytes;
    const char* detail;
  };
  for (const Case c : {Case{0, "0 of 13 bytes"}, Case{5, "5 of 13 bytes"}}) {
    PtyUnit unit;
    ASSERT_TRUE(unit.ok());
    unit.Serve([&](int, const Frame&, PtyUnit& u) {
      const Frame reply = PingReply();
      u.Write({reply.begin(), reply.begin() + static_cast<std::ptrdiff_t>(c.reply_bytes)});
    });
    PosixSerialPort port(unit.data_folder(), roots_);
    ASSERT_EQ(port.Open("COM3", kBaud), SerialStatus::Ok) << port.LastErrorText();
    Frame frame = PingRequest();
    const auto start = steady_clock::now();
    EXPECT_EQ(port.Transact(frame, kShortTimeoutMs, true, false, 0), SerialStatus::Timeout);
    const milliseconds took = Since(start);
    EXPECT_GE(took, milliseconds(kShortTimeoutMs)) << c.detail;
    EXPECT_LE(took, milliseconds(kShortTimeoutMs) + kLateSlack) << c.detail;
    EXPECT_EQ(frame, PingRequest()) << "a failed call leaves the request in place";
    EXPECT_NE(port.LastErrorText().find(c.detail), std::string::npos) << port.LastErrorText();
    EXPECT_TRUE(port.IsOpen()) << "a time-out keeps the port";
  }
}

TEST_F(PosixSerialPortTest, StaleInputIsDroppedBeforeTheRequest) {
  unit_.Serve([](int, const Frame&, PtyUnit& unit) { unit.Write(Bytes(PingReply(1))); });
  PosixSerialPort port = MakePort();
  ASSERT_EQ(port.Open("COM3", kBaud), SerialStatus::Ok) << port.LastErrorText();
  unit_.Write({0x55, kFrameStart, 0x00});  // noise and the start of some earlier frame
  Frame frame = PingRequest();
  ASSERT_EQ(port.Transact(frame, 200, true, false, 0), SerialStatus::Ok) << port.LastErrorText();
  EXPECT_EQ(frame, PingReply(1));
}

TEST_F(PosixSerialPortTest, LateReplyToATimedOutRequestIsNotTakenForTheNext) {
  // Shared with the responder, which may still be inside set_value() when the wait returns.
  auto late_reply_sent = std::make_shared<std::promise<void>>();
  std::future<void> late_reply_written = late_reply_sent->get_future();
  unit_.Serve([late_reply_sent](int index, const Frame&, PtyUnit& unit) {
    if (index == 0) {
      std::this_thread::sleep_for(milliseconds(kShortTimeoutMs) + 30ms);
      unit.Write(Bytes(PingReply(1)));
      late_reply_sent->set_value();
    } else {
      unit.Write(Bytes(PingReply(2)));
    }
  });
  PosixSerialPort port = MakePort();
  ASSERT_EQ(port.Open("COM3", kBaud), SerialStatus::Ok) << port.LastErrorText();
  Frame first = PingRequest();
  EXPECT_EQ(port.Transact(first, kShortTimeoutMs, true, false, 0), SerialStatus::Timeout);
  late_reply_written.wait();
  Frame second = PingRequest();
  ASSERT_EQ(port.Transact(second, 200, true, false, 0), SerialStatus::Ok);
  EXPECT_EQ(second, PingReply(2));
}

TEST_F(PosixSerialPortTest, BlockReadLeavesTheBytesAfterTheBlockQueued) {
  std::vector<std::uint8_t> block(800);
  for (std::size_t i = 0; i < block.size(); ++i) {
    block[i] = static_cast<std::uint8_t>(i * 7 + 3);
  }
  const std::vector<std::uint8_t> tail{0xA1, 0xA2, 0xA3};
  // The unit answers with its reply frame, then the block.
  unit_.Serve([block, tail](int, const Frame& request, PtyUnit& unit) {
    unit.Write({request.begin(), request.end()});
    unit.Write(block);
    unit.Write(tail);
  });
  PosixSerialPort port = MakePort();
  ASSERT_EQ(port.Open("COM3", kBaud), SerialStatus::Ok) << port.LastErrorText();
  const Frame request = BuildFrame(0, CmdReadBlock, {0, 0, 64, 3, 32, 0, 0, 0});
  Frame frame = request;
  ASSERT_EQ(port.Transact(frame, kBlockFrameTimeout.ms, true, true, 0), SerialStatus::Ok);
  EXPECT_EQ(frame, request) << "the reply frame is taken; the block stays queued";

  std::vector<std::uint8_t> got(800);
  ASSERT_EQ(port.ReadData(got, kBlockDataTimeoutMs, 0), SerialStatus::Ok) << port.LastErrorText();
  EXPECT_EQ(got, block);
  std::vector<std::uint8_t> rest(tail.size());
  ASSERT_EQ(port.ReadData(rest, kShortTimeoutMs, 0), SerialStatus::Ok) << port.LastErrorText();
  EXPECT_EQ(rest, tail);
}

TEST_F(PosixSerialPortTest, ShortBlockTimesOutAndLeavesTheArrayUntouched) {
  unit_.Serve([](int, const Frame& request, PtyUnit& unit) {
    unit.Write({request.begin(), request.end()});
    unit.Write(std::vector<std::uint8_t>(300, 0x11));
  });
  PosixSerialPort port = MakePort();
  ASSERT_EQ(port.Open("COM3", kBaud), SerialStatus::Ok) << port.LastErrorText();
  Frame frame = BuildFrame(0, CmdReadBlock, {0, 0, 64, 3, 32, 0, 0, 0});
  ASSERT_EQ(port.Transact(frame, kBlockFrameTimeout.ms, true, true, 0), SerialStatus::Ok);
  std::vector<std::uint8_t> got(800, 0xEE);
  const auto start = steady_clock::now();
  EXPECT_EQ(port.ReadData(got, kShortTimeoutMs, 0), SerialStatus::Timeout);
  EXPECT_LE(Since(start), milliseconds(kShortTimeoutMs) + kLateSlack);
  EXPECT_EQ(got, std::vector<std::uint8_t>(800, 0xEE));
  EXPECT_NE(port.LastErrorText().find("300 of 800"), std::string::npos) << port.LastErrorText();
}

TEST_F(PosixSerialPortTest, FarEndClosingMidTransactionEndsTheCallAndThePort) {
  for (const std::size_t sent_before_close : {std::size_t{0}, std::size_t{6}}) {
    PtyUnit unit;
    ASSERT_TRUE(unit.ok());
    unit.Serve([&](int, const Frame&, PtyUnit& u) {
      const Frame reply = PingReply();
      u.Write({reply.begin(), reply.begin() + static_cast<std::ptrdiff_t>(sent_before_close)});
      u.CloseMaster();
    });
    PosixSerialPort port(unit.data_folder(), roots_);
    ASSERT_EQ(port.Open("COM3", kBaud), SerialStatus::Ok) << port.LastErrorText();
    Frame frame = PingRequest();
    const auto start = steady_clock::now();
    EXPECT_EQ(port.Transact(frame, 300, true, false, 0), SerialStatus::Closed)
        << port.LastErrorText();
    EXPECT_LE(Since(start), 300ms + kLateSlack);
    EXPECT_FALSE(port.IsOpen()) << "a vanished device closes the port";
    EXPECT_EQ(port.Transact(frame, 300, true, false, 0), SerialStatus::Closed);

    unit.Stop();
    unit.CloseSlave();  // the pseudo-terminal is gone now
    const SerialStatus reopened = port.Open("COM3", kBaud);
    EXPECT_NE(reopened, SerialStatus::Ok);
    EXPECT_FALSE(port.IsOpen());
    EXPECT_NE(port.LastErrorText().find(unit.slave_path()), std::string::npos)
        << port.LastErrorText();
  }
}

TEST_F(PosixSerialPortTest, SecondInstanceOnTheSamePortIsBusy) {
  PosixSerialPort first = MakePort();
  PosixSerialPort second = MakePort();
  ASSERT_EQ(first.Open("COM3", kBaud), SerialStatus::Ok) << first.LastErrorText();
  EXPECT_EQ(second.Open("COM3", kBaud), SerialStatus::Busy);
  EXPECT_NE(second.LastErrorText().find("another program"), std::string::npos)
      << second.LastErrorText();
  EXPECT_FALSE(second.IsOpen());

  // Opening again on the holding instance closes its own port first: no Busy from itself.
  EXPECT_EQ(first.Open("COM3", kBaud), SerialStatus::Ok) << first.LastErrorText();
  EXPECT_EQ(first.Close(), SerialStatus::Ok);
  EXPECT_EQ(first.Close(), SerialStatus::Ok);
  EXPECT_EQ(second.Open("COM3", kBaud), SerialStatus::Ok) << second.LastErrorText();
}

TEST_F(PosixSerialPortTest, OpenFailuresAreReportedAsValues) {
  TempDir data;
  data.Link("COM4", data.Touch("plain-file"));
  data.Link("COM5", data.path() / "no-such-device");
  PosixSerialPort port(data.path(), roots_);
  struct Case {
    const char* name;
    int baud;
    SerialStatus status;
    const char* text;
  };
  const Case cases[] = {
      {"COM4", kBaud, SerialStatus::NotFound, "COM4 → "},
      {"COM4", kBaud, SerialStatus::NotFound, "not a serial port"},
      {"COM5", kBaud, SerialStatus::NotFound, "no such file"},
      {"COM6", kBaud, SerialStatus::NotFound, "0 serial ports"},
      {"COM0", kBaud, SerialStatus::BadArgument, "not a port name"},
      {"COM4", 9601, SerialStatus::BadArgument, "baud rate"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(port.Open(c.name, c.baud), c.status) << c.name;
    EXPECT_FALSE(port.IsOpen());
    EXPECT_TRUE(port.DevicePath().empty());
    EXPECT_NE(port.LastErrorText().find(c.text), std::string::npos) << port.LastErrorText();
  }
  Frame frame = PingRequest();
  std::vector<std::uint8_t> block(4);
  EXPECT_EQ(port.Transact(frame, kShortTimeoutMs, true, false, 0), SerialStatus::Closed);
  EXPECT_EQ(port.ReadData(block, kShortTimeoutMs, 0), SerialStatus::Closed);
}

TEST_F(PosixSerialPortTest, DeviceWithoutPermissionIsPermission) {
  if (::geteuid() == 0) {
    GTEST_SKIP() << "root opens a mode-000 device anyway; the errno table test covers EACCES";
  }
  TempDir data;
  const std::filesystem::path locked = data.Touch("locked-device");
  ASSERT_EQ(::chmod(locked.c_str(), 0), 0);
  data.Link("COM7", locked);
  PosixSerialPort port(data.path(), roots_);
  EXPECT_EQ(port.Open("COM7", kBaud), SerialStatus::Permission);
  EXPECT_NE(port.LastErrorText().find("dialout"), std::string::npos) << port.LastErrorText();
}

}  // namespace
}  // namespace velmark

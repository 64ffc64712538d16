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
#include "pty_unit.h"

namespace velmark {
namespace {

using namespace std::chrono_literals;
using std::chrono::milliseconds;
using std::chrono::steady_clock;
using testing::Bytes;
using testing::PingReply;
using testing::PingRequest;
using testing::PtyUnit;
using testing::Since;
using testing::TempDir;

// How late a time-out may return: scheduling slack on a loaded machine, not a benchmark.
constexpr auto kLateSlack = 150ms;
constexpr int kBaud = 9600;
constexpr int kShortTimeoutMs = 100;

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

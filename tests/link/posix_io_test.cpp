#include "link/posix_io.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>
#include <vector>

namespace velmark {
namespace {

using namespace std::chrono_literals;
using std::chrono::steady_clock;

constexpr auto kWait = 50ms;
constexpr auto kLateSlack = 150ms;

// A non-blocking pipe stands in for a tty where only poll/read/write matter: it shows a
// hang-up without data (POLLHUP alone) and a full output queue, which a pty rarely does.
class PipeIo : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(::pipe2(fds_, O_NONBLOCK | O_CLOEXEC), 0); }
  void TearDown() override {
    CloseWriter();
    ::close(fds_[0]);
  }
  void CloseWriter() {
    if (fds_[1] >= 0) {
      ::close(fds_[1]);
      fds_[1] = -1;
    }
  }
  int reader() const { return fds_[0]; }
  int writer() const { return fds_[1]; }

  int fds_[2] = {-1, -1};
};

TEST_F(PipeIo, ReadTakesQueuedDataThenReportsTheHangUpAtOnce) {
  const std::vector<std::uint8_t> sent{1, 2, 3, 4, 5, 6};
  ASSERT_EQ(::write(writer(), sent.data(), sent.size()), 6);
  CloseWriter();

  std::vector<std::uint8_t> got(4);
  IoResult result = ReadExact(reader(), got, steady_clock::now() + 1s);
  EXPECT_EQ(result.status, SerialStatus::Ok);
  EXPECT_EQ(got, (std::vector<std::uint8_t>{1, 2, 3, 4}));

  const auto start = steady_clock::now();
  result = ReadExact(reader(), got, start + 1s);
  EXPECT_EQ(result.status, SerialStatus::Closed);
  EXPECT_EQ(result.done, 2u) << "the two bytes after the first read were still queued";
  EXPECT_LT(steady_clock::now() - start, kWait) << "a hang-up must not wait for the deadline";
}

TEST_F(PipeIo, SilentLineTimesOutAtTheDeadline) {
  std::vector<std::uint8_t> got(13);
  const auto start = steady_clock::now();
  const IoResult result = ReadExact(reader(), got, start + kWait);
  EXPECT_EQ(result.status, SerialStatus::Timeout);
  EXPECT_EQ(result.done, 0u);
  EXPECT_GE(steady_clock::now() - start, kWait);
  EXPECT_LE(steady_clock::now() - start, kWait + kLateSlack);
}

TEST_F(PipeIo, FullOutputQueueTimesOutInsteadOfBlocking) {
  const std::vector<std::uint8_t> chunk(4096, 0x5A);
  while (::write(writer(), chunk.data(), chunk.size()) > 0) {
  }
  ASSERT_EQ(errno, EAGAIN);
  const std::vector<std::uint8_t> frame(13, 0xF0);
  const auto start = steady_clock::now();
  const IoResult result = WriteAll(writer(), frame, start + kWait);
  EXPECT_EQ(result.status, SerialStatus::Timeout);
  EXPECT_LE(steady_clock::now() - start, kWait + kLateSlack);
}

TEST_F(PipeIo, LargeWriteGoesOutInPiecesAsTheReaderDrains) {
  std::vector<std::uint8_t> sent(200000);
  for (std::size_t i = 0; i < sent.size(); ++i) {
    sent[i] = static_cast<std::uint8_t>(i % 251);
  }
  std::vector<std::uint8_t> got(sent.size());
  IoResult read_result;
  std::thread drain([&] { read_result = ReadExact(reader(), got, steady_clock::now() + 5s); });
  const IoResult write_result = WriteAll(writer(), sent, steady_clock::now() + 5s);
  drain.join();
  EXPECT_EQ(write_result.status, SerialStatus::Ok);
  EXPECT_EQ(write_result.done, sent.size());
  EXPECT_EQ(read_result.status, SerialStatus::Ok);
  EXPECT_EQ(got, sent);
}

TEST(PosixErrnoTable, MapsEachErrnoByPhase) {
  struct Case {
    int err;
    SerialStatus on_open;
    SerialStatus on_transfer;
  };
  const Case cases[] = {
      {ENOENT, SerialStatus::NotFound, SerialStatus::Closed},
      {ENODEV, SerialStatus::NotFound, SerialStatus::Closed},
      {ENXIO, SerialStatus::NotFound, SerialStatus::Closed},
      {EACCES, SerialStatus::Permission, SerialStatus::Permission},
      {EPERM, SerialStatus::Permission, SerialStatus::Permission},
      {EBUSY, SerialStatus::Busy, SerialStatus::Busy},
      {EWOULDBLOCK, SerialStatus::Busy, SerialStatus::Busy},
      {EIO, SerialStatus::Io, SerialStatus::Closed},
      {EPIPE, SerialStatus::Closed, SerialStatus::Closed},
      {ENOTTY, SerialStatus::NotFound, SerialStatus::BadArgument},
      {EINVAL, SerialStatus::BadArgument, SerialStatus::BadArgument},
      {EMFILE, SerialStatus::Io, SerialStatus::Io},  // not in the table: any other error
  };
  for (const Case& c : cases) {
    EXPECT_EQ(StatusFromErrno(c.err, IoPhase::Open), c.on_open) << c.err;
    EXPECT_EQ(StatusFromErrno(c.err, IoPhase::Transfer), c.on_transfer) << c.err;
  }
  EXPECT_EQ(ErrnoText(EACCES), "permission denied (join the dialout group)");
  EXPECT_EQ(ErrnoText(ENOENT), "no such file or directory");
}

}  // namespace
}  // namespace velmark

// The serial port's read paths without a tty: the judge of a block-read answer (BlockReply) fed
// the input in chunks of any size, as arriving bytes are handed over, and the byte transfer
// (ReadExact, ReadSome) over a non-blocking socket pair that holds the input, with deadlines
// that have already passed, so nothing waits. PosixSerialPort itself over a pseudo-terminal
// waits real milliseconds for quiet lines and time-outs, which would cost most of each run.

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz_input.h"
#include "link/block_reply.h"
#include "link/frames.h"
#include "link/posix_io.h"

namespace {

using namespace velmark;

bool LooksFramed(std::span<const std::uint8_t> b) {
  return b.size() >= 13 && b[0] == kFrameStart && b[1] == kFrameFixed && b[12] == kFrameEnd;
}

// The verdict after every chunk agrees with the whole answer seen so far: once failed it stays
// failed, and a complete answer is exactly the block, bare or behind a frame.
void JudgeInChunks(fuzz::FuzzInput& in) {
  const std::size_t count = 1 + (in.Byte() | (in.Byte() << 8)) % 801;
  BlockReply reply(count);
  std::vector<std::uint8_t> seen;
  bool failed = false;
  while (!in.Empty()) {
    const auto chunk = in.Bytes(1 + in.Byte() % 97);
    reply.Take(chunk);
    seen.insert(seen.end(), chunk.begin(), chunk.end());
    const BlockVerdict verdict = reply.Verdict();
    FUZZ_CHECK(reply.Received() == seen.size());
    FUZZ_CHECK(!failed || verdict == BlockVerdict::Failed);
    failed = verdict == BlockVerdict::Failed;
    FUZZ_CHECK((verdict == BlockVerdict::NeedMore) == (reply.Remaining() > 0));
    if (verdict != BlockVerdict::Complete) {
      FUZZ_CHECK(reply.Block().empty());
      continue;
    }
    const bool framed = reply.Framed();
    FUZZ_CHECK(seen.size() == count + (framed ? 13 : 0));
    FUZZ_CHECK(!framed || LooksFramed(seen));
    const auto block = reply.Block();
    FUZZ_CHECK(block.size() == count);
    FUZZ_CHECK(std::equal(block.begin(), block.end(), seen.end() - static_cast<long>(count)));
  }
}

// Exactly what was written comes back, in the sizes asked for, and a closed far end is Closed.
void TransferOverSocket(std::span<const std::uint8_t> bytes, std::uint8_t shape) {
  int fds[2];
  if (socketpair(AF_UNIX, SOCK_STREAM, 0, fds) != 0) return;
  fcntl(fds[0], F_SETFL, O_NONBLOCK);
  const std::size_t n = std::min<std::size_t>(bytes.size(), 4096);
  const bool written = ::write(fds[1], bytes.data(), n) == static_cast<ssize_t>(n);
  if (shape & 1) ::close(fds[1]);
  const Deadline now = std::chrono::steady_clock::now();
  std::vector<std::uint8_t> back;
  std::array<std::uint8_t, 256> buffer{};
  const std::size_t piece = 1 + shape % 29;
  for (;;) {
    const auto want = std::span<std::uint8_t>(buffer).first(piece);
    const IoResult got = (shape & 2) ? ReadExact(fds[0], want, now) : ReadSome(fds[0], want, now);
    FUZZ_CHECK(got.done <= piece);
    back.insert(back.end(), buffer.begin(), buffer.begin() + static_cast<long>(got.done));
    if (got.status != SerialStatus::Ok) {
      FUZZ_CHECK(got.status == ((shape & 1) ? SerialStatus::Closed : SerialStatus::Timeout));
      break;
    }
    FUZZ_CHECK((shape & 2) == 0 || got.done == piece);
  }
  if (written) {
    FUZZ_CHECK(back.size() == n);
    FUZZ_CHECK(std::equal(back.begin(), back.end(), bytes.begin()));
  }
  ::close(fds[0]);
  if (!(shape & 1)) ::close(fds[1]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput judge(data, size);
  JudgeInChunks(judge);
  fuzz::FuzzInput raw(data, size);
  const std::uint8_t shape = raw.Byte();
  TransferOverSocket(raw.Rest(), shape);
  return 0;
}

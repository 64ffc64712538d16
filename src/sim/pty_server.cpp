#include "sim/pty_server.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <climits>
#include <cstring>
#include <thread>
#include <vector>

#include "sim/frame_assembler.h"

namespace velmark {
namespace {

using namespace std::chrono_literals;

constexpr int kPollMs = 50;        // how often the stop flag is looked at while idle
constexpr auto kIdleSleep = 10ms;  // while nobody holds the slave open
constexpr auto kWriteWait = 200ms;
constexpr auto kHangupGrace = 100ms;  // for the program to read the last answer  // longest wait
                                      // for room in the pseudo-terminal's queue
constexpr std::size_t kChunk = 256;

bool WaitWritable(int fd) {
  pollfd p{fd, POLLOUT, 0};
  const int n = ::poll(&p, 1, static_cast<int>(kWriteWait.count()));
  return n > 0 && (p.revents & POLLOUT) != 0;
}

// Writes all bytes; false when the far end went away or the queue stayed full.
bool WriteAll(int fd, std::span<const std::uint8_t> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else if (n < 0 && errno == EAGAIN) {
      if (!WaitWritable(fd)) return false;
    } else {
      return false;  // EIO: nobody holds the slave open any more
    }
  }
  return true;
}

}  // namespace

PtyServer::~PtyServer() {
  Close();
}

std::optional<std::string> PtyServer::Open() {
  Close();
  termios raw{};
  ::cfmakeraw(&raw);
  raw.c_cflag |= CLOCAL | CREAD;
  ::cfsetispeed(&raw, B9600);
  ::cfsetospeed(&raw, B9600);
  int master = -1, slave = -1;
  std::array<char, PATH_MAX> name{};
  if (::openpty(&master, &slave, name.data(), &raw, nullptr) != 0) {
    return std::string("cannot open a pseudo-terminal: ") + std::strerror(errno);
  }
  // The slave is the program's; holding it here would hide its closing and reopening.
  ::close(slave);
  ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
  ::fcntl(master, F_SETFD, FD_CLOEXEC);
  master_ = master;
  slave_path_ = name.data();
  return std::nullopt;
}

void PtyServer::Close() {
  if (master_ >= 0) ::close(master_);
  master_ = -1;
}

void PtyServer::Serve(SimBus& bus, const ServeConfig& config, const std::atomic<bool>& stop) {
  FrameAssembler assembler;
  WireClock clock(config.pacing ? ByteTime(config.baud) : 0ns);
  std::array<std::uint8_t, kChunk> chunk{};
  long served = 0;
  bool hung_up = false;
  while (!stop && master_ >= 0) {
    pollfd p{master_, POLLIN, 0};
    const int ready = ::poll(&p, 1, kPollMs);
    if (ready == 0 || (ready < 0 && errno == EINTR)) continue;
    const ssize_t got =
        (p.revents & POLLIN) != 0 ? ::read(master_, chunk.data(), chunk.size()) : -1;
    if (got <= 0) {
      if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
      // Nobody holds the slave open: whatever was half received is gone with the caller.
      assembler.Reset();
      clock.Reset();
      std::this_thread::sleep_for(kIdleSleep);
      continue;
    }
    const SteadyTime read_at = std::chrono::steady_clock::now();
    const std::size_t skipped_before = assembler.Skipped();
    for (ssize_t i = 0; i < got && !stop; ++i) {
      const SteadyTime arrived = clock.Arrival(read_at);
      const std::optional<Frame> request = assembler.Push(chunk[i]);
      if (!request) continue;
      Answer(bus, *request, arrived, config, stop);
      if (config.hangup_after && !hung_up && ++served >= *config.hangup_after) {
        hung_up = true;
        if (!HangUpAndReopen(config)) return;
        assembler.Reset();
        clock.Reset();
        break;
      }
    }
    if (config.log != nullptr && assembler.Skipped() != skipped_before) {
      config.log->Note("skipped " + std::to_string(assembler.Skipped() - skipped_before) +
                       " bytes looking for a frame start");
    }
  }
}

void PtyServer::Answer(SimBus& bus, const Frame& request, SteadyTime arrived,
                       const ServeConfig& config, const std::atomic<bool>& stop) {
  TrafficLog* log = config.log;
  if (log != nullptr) log->Request(request);
  if (config.pacing) std::this_thread::sleep_until(arrived + config.latency);
  const Delivery delivery = bus.Deliver(request);
  if (log != nullptr) {
    if (delivery.stalled) log->Note("line stalled: request not answered (fault)");
    if (delivery.dropped) log->Note("request dropped (fault)");
    if (delivery.garbled_at >= 0) {
      log->Note("reply byte " + std::to_string(delivery.garbled_at) + " garbled (fault)");
    }
  }
  if (delivery.acted && request[3] == CmdStoreProgram && config.after_store) config.after_store();
  if (!delivery.reply) {
    if (delivery.bare && log != nullptr)
      log->Note("block read not served: no answer (bare blocks)");
    return;
  }
  if (log != nullptr) {
    // The log shows what goes on the line: a bare block has no reply frame in front.
    if (delivery.bare) {
      log->Note("block sent without its reply frame (bare blocks)");
    } else {
      log->Reply(*delivery.reply);
    }
    if (!delivery.block.empty()) log->Block(delivery.block);
  }
  const std::vector<std::uint8_t> bytes = delivery.WireBytes();
  const auto per_byte = config.pacing ? ByteTime(config.baud) : 0ns;
  if (!Send(bytes, per_byte, stop) && log != nullptr) log->Note("reply not delivered");
}

bool PtyServer::Send(std::span<const std::uint8_t> bytes, std::chrono::nanoseconds per_byte,
                     const std::atomic<bool>& stop) {
  if (per_byte == 0ns) return WriteAll(master_, bytes);
  // Byte i has finished arriving at the far end i + 1 byte times after the first one started.
  const SteadyTime start = std::chrono::steady_clock::now();
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (stop) return false;
    std::this_thread::sleep_until(start + per_byte * static_cast<long>(i + 1));
    if (!WriteAll(master_, bytes.subspan(i, 1))) return false;
  }
  return true;
}

// Closing the master is what an unplugged adapter looks like to the program. Serving goes on
// on a new pseudo-terminal, as after plugging the adapter in again. Closing flushes what the
// program has not read yet, so the last answer first gets time to be taken.
bool PtyServer::HangUpAndReopen(const ServeConfig& config) {
  std::this_thread::sleep_for(kHangupGrace);
  if (config.log != nullptr) config.log->Note("line hung up (fault)");
  Close();
  if (const std::optional<std::string> error = Open()) {
    if (config.log != nullptr) config.log->Note(*error);
    return false;
  }
  if (config.after_hangup) config.after_hangup(slave_path_);
  return true;
}

}  // namespace velmark

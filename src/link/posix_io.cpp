#include "link/posix_io.h"
#include <algorithm>

#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cctype>
#include <cerrno>
#include <cstring>

namespace velmark {
namespace {

using std::chrono::steady_clock;

struct ErrnoRule {
  int err;
  SerialStatus on_open;
  SerialStatus on_transfer;
  const char* words;  // replaces strerror's text when set
};

// The one place an errno becomes a status. EAGAIN (== EWOULDBLOCK on Linux) only reaches this
// table from flock() on a port another instance holds; the transfer loops wait on it instead.
constexpr std::array kErrnoRules{
    ErrnoRule{ENOENT, SerialStatus::NotFound, SerialStatus::Closed, nullptr},
    ErrnoRule{ENODEV, SerialStatus::NotFound, SerialStatus::Closed, nullptr},
    ErrnoRule{ENXIO, SerialStatus::NotFound, SerialStatus::Closed, nullptr},
    ErrnoRule{ENOTDIR, SerialStatus::NotFound, SerialStatus::NotFound, nullptr},
    ErrnoRule{ELOOP, SerialStatus::NotFound, SerialStatus::NotFound, nullptr},
    ErrnoRule{ENOTTY, SerialStatus::NotFound, SerialStatus::BadArgument, "not a serial port"},
    ErrnoRule{EACCES, SerialStatus::Permission, SerialStatus::Permission,
              "permission denied (join the dialout group)"},
    ErrnoRule{EPERM, SerialStatus::Permission, SerialStatus::Permission,
              "operation not permitted (join the dialout group)"},
    ErrnoRule{EROFS, SerialStatus::Permission, SerialStatus::Permission, nullptr},
    ErrnoRule{EBUSY, SerialStatus::Busy, SerialStatus::Busy,
              "busy (another program holds the port)"},
    ErrnoRule{EWOULDBLOCK, SerialStatus::Busy, SerialStatus::Busy,
              "in use (another program holds the port)"},
    ErrnoRule{EIO, SerialStatus::Io, SerialStatus::Closed, nullptr},
    ErrnoRule{EPIPE, SerialStatus::Closed, SerialStatus::Closed, nullptr},
    ErrnoRule{EBADF, SerialStatus::Closed, SerialStatus::Closed, nullptr},
    ErrnoRule{EINVAL, SerialStatus::BadArgument, SerialStatus::BadArgument,
              "setting not supported by the device"},
};

const ErrnoRule* FindRule(int err) {
  for (const ErrnoRule& rule : kErrnoRules) {
    if (rule.err == err) {
      return &rule;
    }
  }
  return nullptr;
}

IoResult Failed(SerialStatus status, std::size_t done, int err = 0) {
  return IoResult{status, done, err};
}

// The time left until the deadline for ppoll(), to the microsecond: a wait of 1.5 ms is not
// stretched to 2 ms as poll()'s whole milliseconds would.
timespec TimeLeft(Deadline deadline) {
  const auto left = deadline - steady_clock::now();
  if (left <= steady_clock::duration::zero()) return timespec{0, 0};
  const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
  return timespec{static_cast<time_t>(ns / 1'000'000'000), static_cast<long>(ns % 1'000'000'000)};
}

// Waits until `events` are possible on fd. Ok, Timeout, Closed (hang-up) or an errno status.
IoResult WaitFor(int fd, short events, Deadline deadline, const WaitHook* hook = nullptr) {
  const bool sliced = hook != nullptr && *hook;
  const Deadline begun = steady_clock::now();
  for (;;) {
    pollfd entry{fd, events, 0};
    const Deadline until = sliced ? std::min(deadline, steady_clock::now() + kWaitSlice) : deadline;
    const timespec left = TimeLeft(until);
    const int ready = ::ppoll(&entry, 1, &left, nullptr);
    if (ready < 0) {
      if (errno == EINTR) {
        continue;
      }
      return Failed(StatusFromErrno(errno, IoPhase::Transfer), 0, errno);
    }
    if (ready > 0 && (entry.revents & events) != 0) {
      return {};  // data (or room) first, even when a hang-up is pending behind it
    }
    if (ready > 0 && (entry.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
      return Failed(SerialStatus::Closed, 0);
    }
    if (steady_clock::now() >= deadline) {
      return Failed(SerialStatus::Timeout, 0);
    }
    if (sliced && steady_clock::now() - begun >= kPaintAfter) (*hook)();
  }
}

}  // namespace

SerialStatus StatusFromErrno(int err, IoPhase phase) {
  const ErrnoRule* rule = FindRule(err);
  if (rule == nullptr) {
    return SerialStatus::Io;
  }
  return phase == IoPhase::Open ? rule->on_open : rule->on_transfer;
}

std::string ErrnoText(int err) {
  const ErrnoRule* rule = FindRule(err);
  std::string text = rule != nullptr && rule->words != nullptr ? rule->words : std::strerror(err);
  if (!text.empty()) {
    text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
  }
  return text;
}

IoResult WriteAll(int fd, std::span<const std::uint8_t> bytes, Deadline deadline) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (written > 0) {
      done += static_cast<std::size_t>(written);
      continue;
    }
    if (written < 0 && errno == EINTR) {
      continue;
    }
    if (written == 0 || errno == EAGAIN) {
      // Output queue full: wait for room, but never past the deadline.
      if (IoResult room = WaitFor(fd, POLLOUT, deadline); room.status != SerialStatus::Ok) {
        room.done = done;
        return room;
      }
      continue;
    }
    // A tty raises no SIGPIPE; EPIPE and EIO from a vanished device both map to Closed.
    return Failed(StatusFromErrno(errno, IoPhase::Transfer), done, errno);
  }
  return {SerialStatus::Ok, done, 0};
}

IoResult ReadExact(int fd, std::span<std::uint8_t> bytes, Deadline deadline, const WaitHook* hook) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    if (IoResult ready = WaitFor(fd, POLLIN, deadline, hook); ready.status != SerialStatus::Ok) {
      ready.done = done;
      return ready;
    }
    const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
    if (got > 0) {
      done += static_cast<std::size_t>(got);
    } else if (got == 0) {
      // With VMIN = VTIME = 0 an empty queue also reads 0, but poll said readable: hang-up.
      return Failed(SerialStatus::Closed, done);
    } else if (errno != EINTR && errno != EAGAIN) {
      return Failed(StatusFromErrno(errno, IoPhase::Transfer), done, errno);
    }
  }
  return {SerialStatus::Ok, done, 0};
}

IoResult ReadSome(int fd, std::span<std::uint8_t> bytes, Deadline deadline) {
  for (;;) {
    if (IoResult ready = WaitFor(fd, POLLIN, deadline); ready.status != SerialStatus::Ok) {
      return ready;
    }
    const ssize_t got = ::read(fd, bytes.data(), bytes.size());
    if (got > 0) return {SerialStatus::Ok, static_cast<std::size_t>(got), 0};
    if (got == 0) return Failed(SerialStatus::Closed, 0);
    if (errno != EINTR && errno != EAGAIN) {
      return Failed(StatusFromErrno(errno, IoPhase::Transfer), 0, errno);
    }
  }
}

IoResult DiscardInput(int fd, Deadline deadline) {
  if (::tcflush(fd, TCIFLUSH) != 0) {
    return Failed(StatusFromErrno(errno, IoPhase::Transfer), 0, errno);
  }
  std::array<std::uint8_t, 64> scratch{};
  std::size_t dropped = 0;
  for (;;) {
    pollfd entry{fd, POLLIN, 0};
    const int ready = ::poll(&entry, 1, 0);
    if (ready < 0 && errno == EINTR) {
      continue;
    }
    if (ready < 0) {
      return Failed(StatusFromErrno(errno, IoPhase::Transfer), dropped, errno);
    }
    if (ready == 0) {
      return {SerialStatus::Ok, dropped, 0};
    }
    if ((entry.revents & POLLIN) == 0) {
      return Failed(SerialStatus::Closed, dropped);  // POLLHUP, POLLERR or POLLNVAL alone
    }
    const ssize_t got = ::read(fd, scratch.data(), scratch.size());
    if (got == 0) {
      return Failed(SerialStatus::Closed, dropped);
    }
    if (got < 0 && errno == EAGAIN) {
      return {SerialStatus::Ok, dropped, 0};
    }
    if (got < 0 && errno != EINTR) {
      return Failed(StatusFromErrno(errno, IoPhase::Transfer), dropped, errno);
    }
    dropped += got > 0 ? static_cast<std::size_t>(got) : 0;
    if (steady_clock::now() >= deadline) {
      return Failed(SerialStatus::Timeout, dropped);
    }
  }
}

}  // namespace velmark

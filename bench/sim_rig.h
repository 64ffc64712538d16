#pragma once
// What the benchmarks against velmark-sim share: the simulator started on a pseudo-terminal
// linked as COM1 in a fresh folder, a port that counts the bytes crossing the line, and the
// transaction engine over it. velmark-sim is taken from beside the benchmark
// (<build>/apps/velmark-sim) or from VELMARK_SIM_BINARY.

#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "link/posix_serial_port.h"
#include "link/rx_tx.h"
#include "ui/headless.h"

namespace velmark::bench {

namespace fs = std::filesystem;

// One byte on the wire at 9600 baud, 8N1: ten bit times.
inline constexpr double kByteMs = 10'000.0 / 9600.0;

inline fs::path SimBinary() {
  if (const char* given = std::getenv("VELMARK_SIM_BINARY")) return given;
  return fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "apps" / "velmark-sim";
}

// velmark-sim serving on a pseudo-terminal linked as <folder>/COM1 while this lives.
class Sim {
 public:
  explicit Sim(std::vector<std::string> args) {
    char pattern[] = "/tmp/velmark-bench-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) return;
    folder_ = pattern;
    const std::string binary = SimBinary().string();
    args.insert(args.begin(), {binary, "--link", (folder_ / "COM1").string()});
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_ = ::fork();
    if (pid_ == 0) {
      std::freopen("/dev/null", "w", stdout);
      ::execv(binary.c_str(), argv.data());
      ::_exit(127);
    }
    for (int i = 0; i < 300 && !Ready(); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  ~Sim() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
    }
    std::error_code ec;
    if (!folder_.empty()) fs::remove_all(folder_, ec);
  }
  Sim(const Sim&) = delete;
  Sim& operator=(const Sim&) = delete;
  bool Ready() const { return !folder_.empty() && fs::is_symlink(folder_ / "COM1"); }
  const fs::path& Folder() const { return folder_; }

 private:
  fs::path folder_;
  pid_t pid_ = -1;
};

// Counts the bytes that cross the line: requests, reply frames and blocks.
class CountingPort final : public SerialPort {
 public:
  explicit CountingPort(SerialPort& inner) : inner_(inner) {}
  long bytes = 0;
  int answered = 0;
  int blocks = 0;
  SerialStatus Init(int a, int b) override { return inner_.Init(a, b); }
  SerialStatus Open(const std::string& n, int baud) override { return inner_.Open(n, baud); }
  SerialStatus Transact(Frame& f, int t, bool w, bool b, int c) override {
    const auto s = inner_.Transact(f, t, w, b, c);
    bytes += kFrameSize;
    if (s == SerialStatus::Ok) bytes += kFrameSize, ++answered;
    return s;
  }
  SerialStatus Close() override { return inner_.Close(); }
  bool IsOpen() const override { return inner_.IsOpen(); }
  SerialStatus ReadData(std::span<std::uint8_t> block, int t, int f) override {
    const auto s = inner_.ReadData(block, t, f);
    if (s == SerialStatus::Ok) bytes += static_cast<long>(block.size()), ++blocks;
    return s;
  }
  std::string LastErrorText() const override { return inner_.LastErrorText(); }

 private:
  SerialPort& inner_;
};

// The engine over the real port to the simulator, counting what crosses the line.
struct Line {
  explicit Line(const fs::path& folder) : posix(folder), port(posix), link(st, port, hp.messages) {
    st.ComPort = 1;
    st.LinkStarted = true;
  }
  ProgramState st;
  ui::HeadlessPlatform hp;
  PosixSerialPort posix;
  CountingPort port;
  RxTx link;
};

inline double MsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

}  // namespace velmark::bench

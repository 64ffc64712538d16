// How close a program store comes to what the wire itself takes, against velmark-sim on a
// pseudo-terminal at 9600 baud (10 bit times a byte, 1.04 ms) with its 2 ms processing delay.
//
//   store_overhead: the time of StoreProgram (six exchanges, then Eeprom.txt written and
//                   synced) divided by the wire time of its 13-byte frames both ways plus the
//                   delay of each answer; 1.05 means 5 % program overhead.
//
// velmark-sim is taken from beside the benchmark (<build>/apps/velmark-sim) or from
// VELMARK_SIM_BINARY.

#include <benchmark/benchmark.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "link/posix_serial_port.h"
#include "link/rx_tx.h"
#include "model/defaults.h"
#include "programs/unit_programs.h"
#include "ui/headless.h"

namespace {

namespace fs = std::filesystem;
using velmark::kFrameSize;

constexpr double kByteMs = 10'000.0 / 9600.0;
constexpr double kLatencyMs = 2.0;  // velmark-sim's default processing delay

fs::path SimBinary() {
  if (const char* given = std::getenv("VELMARK_SIM_BINARY")) return given;
  return fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "apps" / "velmark-sim";
}

// velmark-sim serving on a pseudo-terminal linked as <folder>/COM1 while this lives.
class Sim {
 public:
  explicit Sim(std::vector<std::string> args) {
    char pattern[] = "/tmp/velmark-bench-XXXXXX";
    folder_ = ::mkdtemp(pattern);
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
    for (int i = 0; i < 300 && !fs::is_symlink(folder_ / "COM1"); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  ~Sim() {
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
    fs::remove_all(folder_);
  }
  bool Ready() const { return fs::is_symlink(folder_ / "COM1"); }
  const fs::path& Folder() const { return folder_; }

 private:
  fs::path folder_;
  pid_t pid_ = -1;
};

// Counts the bytes that cross the line: requests, reply frames and blocks.
class CountingPort final : public velmark::SerialPort {
 public:
  explicit CountingPort(velmark::SerialPort& inner) : inner_(inner) {}
  long bytes = 0;
  int answered = 0;
  int blocks = 0;
  velmark::SerialStatus Init(int a, int b) override { return inner_.Init(a, b); }
  velmark::SerialStatus Open(const std::string& n, int baud) override {
    return inner_.Open(n, baud);
  }
  velmark::SerialStatus Transact(velmark::Frame& f, int t, bool w, bool b, int c) override {
    const auto s = inner_.Transact(f, t, w, b, c);
    bytes += kFrameSize;
    if (s == velmark::SerialStatus::Ok) bytes += kFrameSize, ++answered;
    return s;
  }
  velmark::SerialStatus Close() override { return inner_.Close(); }
  bool IsOpen() const override { return inner_.IsOpen(); }
  velmark::SerialStatus ReadData(std::span<std::uint8_t> block, int t, int f) override {
    const auto s = inner_.ReadData(block, t, f);
    if (s == velmark::SerialStatus::Ok) bytes += static_cast<long>(block.size()), ++blocks;
    return s;
  }
  std::string LastErrorText() const override { return inner_.LastErrorText(); }

 private:
  velmark::SerialPort& inner_;
};

struct Line {
  explicit Line(const fs::path& folder) : posix(folder), port(posix), link(st, port, hp.messages) {
    st.ComPort = 1;
    st.LinkStarted = true;
  }
  velmark::ProgramState st;
  velmark::ui::HeadlessPlatform hp;
  velmark::PosixSerialPort posix;
  CountingPort port;
  velmark::RxTx link;
};

double MsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

void BM_StoreProgram(benchmark::State& state) {
  Sim sim({"--usb"});
  if (!sim.Ready()) return state.SkipWithError("velmark-sim did not start");
  double measured = 0, wire = 0;
  int k = 0;
  for (auto _ : state) {
    Line line(sim.Folder());
    line.st.DeviceTable[0] = velmark::DeviceEntry{true, false, 0, true};
    line.st.DataFolder = sim.Folder().string();
    std::copy(velmark::DefaultImage.begin(), velmark::DefaultImage.end(),
              line.st.DeviceImages[0].begin());
    if (!line.link.PingUnit(0)) return state.SkipWithError("the unit did not answer");
    line.port.bytes = 0;
    line.port.answered = 0;
    velmark::ProgramProgress quiet;
    const auto start = std::chrono::steady_clock::now();
    const velmark::StoreOutcome out =
        velmark::StoreProgram(line.st, line.link, k++ % velmark::kProgramCount, "Bench", quiet);
    measured += MsSince(start);
    if (!out.Stored() || !out.dump_error.empty()) return state.SkipWithError("the store failed");
    wire += static_cast<double>(line.port.bytes) * kByteMs + line.port.answered * kLatencyMs;
  }
  state.counters["store_ms"] = measured / static_cast<double>(state.iterations());
  state.counters["wire_ms"] = wire / static_cast<double>(state.iterations());
  state.counters["store_overhead"] = measured / wire;
}

}  // namespace

BENCHMARK(BM_StoreProgram)->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();

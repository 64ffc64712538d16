// How close reading a unit and searching the line come to what the wire itself takes, against
// velmark-sim on a pseudo-terminal at 9600 baud (10 bit times a byte, 1.04 ms) with its 2 ms
// processing delay.
//
//   read_overhead: the time to read a unit's whole configuration divided by the wire time of
//                  every byte exchanged (13-byte frames both ways, the blocks) plus the delay
//                  of each answer; 1.10 means 10 % program overhead.
//   search_ratio:  an RS-485 search of IDs 1..32 with units 3 and 17 present, divided by what
//                  its time-outs and pauses imply (30 × (200 + 150) ms plus two answered
//                  presence tests).
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

#include "link/discovery.h"
#include "link/posix_serial_port.h"
#include "link/rx_tx.h"
#include "link/unit_reader.h"
#include "ui/headless.h"

#include "sim_rig.h"

namespace {

using velmark::bench::CountingPort;
using velmark::bench::kByteMs;
using velmark::bench::Line;
using velmark::bench::MsSince;
using velmark::bench::Sim;

namespace fs = std::filesystem;
using velmark::kFrameSize;

constexpr double kLatencyMs = 2.0;  // velmark-sim's default processing delay

class RealClock final : public velmark::ui::Clock {
 public:
  std::int64_t NowMs() const override { return 0; }
  void Sleep(int ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
};

// Arguments: the unit's latency in ms, and 1 for a unit that sends blocks without their frame.
void BM_ReadWholeUnit(benchmark::State& state) {
  const auto latency = static_cast<double>(state.range(0));
  const bool bare = state.range(1) != 0;
  std::vector<std::string> args{"--usb", "--latency-ms", std::to_string(state.range(0))};
  if (bare) args.insert(args.end(), {"--block-reply", "bare"});
  Sim sim(args);
  if (!sim.Ready()) return state.SkipWithError("velmark-sim did not start");
  double measured = 0, wire = 0;
  for (auto _ : state) {
    Line line(sim.Folder());
    line.st.DeviceTable[0] = velmark::DeviceEntry{true, false, 0, true};
    velmark::ReadProgress quiet;
    if (!line.link.PingUnit(0)) return state.SkipWithError("the unit did not answer");
    line.port.bytes = 0;
    line.port.answered = 0;
    line.port.blocks = 0;
    const auto start = std::chrono::steady_clock::now();
    const bool complete = velmark::ReadUnitConfig(line.st, line.link, 0, quiet);
    measured += MsSince(start);
    if (!complete) return state.SkipWithError("the read stopped before the end");
    // A bare unit sends no reply frame before its blocks: 13 bytes less for each.
    const long bytes = line.port.bytes - (bare ? kFrameSize * line.port.blocks : 0);
    wire += static_cast<double>(bytes) * kByteMs + line.port.answered * latency;
    state.counters["bytes"] = static_cast<double>(line.port.bytes);
  }
  state.counters["read_ms"] = measured / static_cast<double>(state.iterations());
  state.counters["wire_ms"] = wire / static_cast<double>(state.iterations());
  state.counters["read_overhead"] = measured / wire;
}

void BM_Rs485Search(benchmark::State& state) {
  Sim sim({"--rs485", "--ids", "3,17"});
  if (!sim.Ready()) return state.SkipWithError("velmark-sim did not start");
  RealClock clock;
  velmark::ReadProgress quiet;
  double measured = 0;
  // Two presence tests answered, 30 that wait out their time-out and the pause after them.
  const double implied = 30 * (200.0 + velmark::kSearchPauseMs) + 2 * (26 * kByteMs + kLatencyMs);
  for (auto _ : state) {
    Line line(sim.Folder());
    line.st.ConnectionType = velmark::kRs485;
    line.st.SeveralDevices = true;
    velmark::ResetDeviceTable(line.st);
    const auto start = std::chrono::steady_clock::now();
    velmark::SearchUnits(line.st, line.link, clock, quiet);
    measured += MsSince(start);
    if (line.st.LastDeviceIndex != 1) return state.SkipWithError("the two units were not found");
  }
  state.counters["search_ms"] = measured / static_cast<double>(state.iterations());
  state.counters["implied_ms"] = implied;
  state.counters["search_ratio"] = measured / static_cast<double>(state.iterations()) / implied;
}

}  // namespace

BENCHMARK(BM_ReadWholeUnit)
    ->ArgsProduct({{0, 2, 50}, {0, 1}})
    ->ArgNames({"latency_ms", "bare"})
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Rs485Search)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();

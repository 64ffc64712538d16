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
